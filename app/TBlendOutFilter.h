#pragma once
#include <cstdint>
#include <memory>

#include "app/TRenderFilter.h"
#include "framework/TCRGBA.h"

// Fades from the scene to a colour over Length milliseconds from startms.
class TBlendOutFilter : public TRenderFilter {
public:
    static std::shared_ptr<TBlendOutFilter> Create(int32_t startms, int32_t length, const vesko::TCRGBA& color);
    void generate(int32_t startms, int32_t length, const vesko::TCRGBA& color);
    void Draw() override;
    int32_t IsValid() override;

    int32_t startms = 0;
    int32_t Length = 0;
    vesko::TCRGBA color;

protected:
    // Share of the fade done at the clock value now (0 … 1; a length of 0 counts as done).
    float Progress(int32_t now) const;
    // The whole back buffer in the filter's colour at the given alpha.
    void DrawCover(float alpha) const;
};

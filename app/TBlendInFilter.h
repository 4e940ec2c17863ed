#pragma once
#include <memory>

#include "app/TBlendOutFilter.h"

// Fades from a colour to the scene; drawn from the first frame on (no start check).
class TBlendInFilter : public TBlendOutFilter {
public:
    static std::shared_ptr<TBlendInFilter> Create(int32_t startms, int32_t length, const vesko::TCRGBA& color);
    void Draw() override;
};

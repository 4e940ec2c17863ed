#pragma once
#include <string>
#include <vector>

#include "tools/TCanvas.h"
#include "tools/TTextRenderer.h"

// One overview picture of all generated art, each with its file name under it, on a neutral
// grey. Small pictures appear at their real size and doubled, large ones reduced.
class TContactSheet {
public:
    struct TEntry {
        std::string name;
        const TCanvas* picture;
    };
    // A strip of equal frames laid out in rows, each frame (doubled when small) over its number,
    // on a checker that shows where the frame is transparent.
    static TCanvas FrameGrid(const TCanvas& strip, int32_t frames, const TTextRenderer& text);
    static TCanvas Compose(const std::vector<TEntry>& entries, const TTextRenderer& text, const std::string& title);
};

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
    static TCanvas Compose(const std::vector<TEntry>& entries, const TTextRenderer& text, const std::string& title);
};

#pragma once
#include <memory>
#include <string>
#include <vector>

#include "tools/TArtPicture.h"
#include "tools/TTextRenderer.h"

// Every interface picture the game loads from data/gfx/gui, gathered from the picture
// families, in a fixed order.
class TArtCatalogue {
public:
    // fontPath: the font the pictures' lettering is set in (the game's own font.ttf).
    explicit TArtCatalogue(const std::string& fontPath);

    const std::vector<TArtPicture>& Pictures() const { return pictures; }
    const TTextRenderer& Text() const { return *text; }

private:
    std::unique_ptr<TTextRenderer> text;
    std::vector<TArtPicture> pictures;
};

#pragma once
#include <vector>

#include "tools/TArtPicture.h"
#include "tools/TTextRenderer.h"

// The large pictures: the loading-screen title (an isometric town at dusk under the game's
// name) and the tutorial panel.
class TTitleArt {
public:
    static constexpr int32_t LogoWidth = 1024;
    static constexpr int32_t LogoHeight = 768;
    static constexpr int32_t TutorialWidth = 400;
    static constexpr int32_t TutorialHeight = 300;

    static void AddTo(std::vector<TArtPicture>& pictures, const TTextRenderer& text);
    static TCanvas StartLogo(const TTextRenderer& text);
    static TCanvas Tutorial(const TTextRenderer& text);
};

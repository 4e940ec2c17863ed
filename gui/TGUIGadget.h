#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "framework/TCRGBA.h"

class TGUI;
class TImage;
class TImageFont;

// How every gadget shows its tooltip.
struct TGUITooltipStyle {
    std::shared_ptr<TImage> image;
    float alpha = 1.0f;
    vesko::TCRGBA textColor;
    std::shared_ptr<TImageFont> font;
    int32_t borderWidth = 0;
    int32_t animSpeed = 0;
    int32_t enabled = 0;
    int32_t animEnabled = 0;
    int32_t waitTime = 0;
    int32_t showHover = 0;
};

// The game's button wrapper. So far it holds the module-wide state every gadget shares:
// the GUI in use, the screen size and the tooltip style.
class TGUIGadget {
public:
    using TTooltipStyle = TGUITooltipStyle;

    static void Init(const std::shared_ptr<TGUI>& gui);
    static const std::shared_ptr<TGUI>& GUI() { return gui; }
    static const TTooltipStyle& TooltipStyle() { return tooltip; }

    static void setShowHover(int32_t on) { tooltip.showHover = on; }
    static void setToolTipAlpha(float alpha) { tooltip.alpha = alpha; }
    static void setToolTipTextColor(int32_t r, int32_t g, int32_t b) { tooltip.textColor.SetColor(r, g, b); }
    static void SetToolTipFont(const std::shared_ptr<TImageFont>& font) { tooltip.font = font; }
    static void SetToolTipBorderWidth(int32_t width) { tooltip.borderWidth = width; }
    static void SetToolTipAnimSpeed(int32_t speed) { tooltip.animSpeed = speed; }
    static void SetToolTipEnable(int32_t on) { tooltip.enabled = on; }
    static void SetToolTipAnimEnable(int32_t on) { tooltip.animEnabled = on; }
    static void SetToolTipWaitTime(int32_t ms) { tooltip.waitTime = ms; }
    // Loads the tooltip background; a missing file leaves it null.
    static void LoadToopTipImg(const std::string& path);

private:
    static inline std::shared_ptr<TGUI> gui;
    static inline int32_t screenWidth = 0, screenHeight = 0;
    static inline TTooltipStyle tooltip;
};

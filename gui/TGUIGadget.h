#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/TCRGBA.h"
#include "framework/TTGUIGadget.h"
#include "platform/TCallback.h"

class TGUI;
class TGadgetAnimator;
class TEscapingGadget;
class TImage;
class TImageFont;
class TImageRect;

namespace vesko {
class TCGroup;
class TCPicture;
}  // namespace vesko

// How every gadget shows its tooltip.
struct TGUITooltipStyle {
    std::shared_ptr<TImageRect> image;
    float alpha = 1.0f;
    vesko::TCRGBA textColor;
    std::shared_ptr<TImageFont> font;
    int32_t borderWidth = 4;
    int32_t animSpeed = 1000;
    int32_t enabled = 1;
    int32_t animEnabled = 1;
    int32_t waitTime = 1000;
    int32_t showHover = 0;
};

// The game's button: a touch gadget with an icon, tooltip lines, the functions it calls when
// it fires, a keyboard shortcut, press-and-hold repetition, keeping on screen and small
// spiral animations. Every gadget is kept in one list in creation order and updated from it.
class TGUIGadget : public std::enable_shared_from_this<TGUIGadget> {
public:
    using TTooltipStyle = TGUITooltipStyle;
    using TFunc = void (*)(TGUIGadget& gadget);
    using TGameFunc = int32_t (*)(void* context);
    // The snapshot's key hits, index = key code − 1; empty while shortcuts are off.
    using TKeyHits = std::span<const uint8_t>;

    // The line separator of tooltip texts: a backslash and an n.
    static inline const std::string nextLine = "\\n";
    static constexpr int32_t tooltipOffsetY = 20;
    // Hover colours of the normal and the active state.
    static constexpr double hoverColor[2] = {255.0, 180.0};

    // Told each time any gadget fires (the shell plays the interface's click).
    static inline TCallback<void()> fired;

    static void Init(const std::shared_ptr<TGUI>& gui);
    // The screen the gadgets are kept on took a new size.
    static void SetScreenSize(int32_t width, int32_t height) {
        screenWidth = width;
        screenHeight = height;
    }
    static const std::shared_ptr<TGUI>& GUI() { return gui; }
    static const TTooltipStyle& TooltipStyle() { return tipStyle; }
    // Null when the touch gadget is null; else a new gadget appended to the list.
    static std::shared_ptr<TGUIGadget> Create(const std::shared_ptr<vesko::TTGUIGadget>& touchGadget,
                                              const std::string& tooltipText, std::vector<float> iconPosition = {});
    // Every gadget in creation order, then the finished escaping copies are dropped.
    static void updateAll(TKeyHits keyHits);
    // Escaping copies, hover colours and the tooltip of the gadget under tooltipPos (or the
    // alternate lines when no gadget there has a tooltip).
    static void drawAll(const std::vector<int32_t>& tooltipPos, const std::vector<std::string>& lines,
                        const std::string& id);
    static void drawtooltip(const std::vector<std::string>& lines, int32_t x, int32_t y, int32_t immediate,
                            const std::string& id);
    // Forgets every gadget and escaping copy (the end of a game, tests).
    static void Clear();
    static const std::vector<std::shared_ptr<TGUIGadget>>& All() { return gadgets; }
    // The gadget whose current touch object is the given one; null when none.
    static std::shared_ptr<TGUIGadget> FindByTouchObject(const vesko::TTouchObject* object);

    static void setShowHover(int32_t on) { tipStyle.showHover = on; }
    static void setToolTipAlpha(float alpha) { tipStyle.alpha = alpha; }
    static void setToolTipTextColor(int32_t r, int32_t g, int32_t b) { tipStyle.textColor.SetColor(r, g, b); }
    static void SetToolTipFont(const std::shared_ptr<TImageFont>& font) { tipStyle.font = font; }
    static void SetToolTipBorderWidth(int32_t width) { tipStyle.borderWidth = width; }
    static void SetToolTipAnimSpeed(int32_t speed) { tipStyle.animSpeed = speed; }
    static void SetToolTipEnable(int32_t on) { tipStyle.enabled = on; }
    static void SetToolTipAnimEnable(int32_t on) { tipStyle.animEnabled = on; }
    static void SetToolTipWaitTime(int32_t ms) { tipStyle.waitTime = ms; }
    // Loads the tooltip background; a missing file leaves it null (the text still shows).
    static void LoadToopTipImg(const std::string& path);

    // The event function of the main buttons of ring menus: one unfolded row at a time.
    static int32_t RingEventAction(vesko::TTGUIGadget& gadget);

    void SetTooltip(const std::string& text);
    void setFunc(TFunc f) { func = f; }
    void setGameFunc(TGameFunc f, void* context) {
        gameFunc = f;
        gameObj = context;
    }
    void callFunc();
    void callGameFunc();
    void setKeyAction(int32_t keyCode, int32_t alsoWhenHidden) {
        actionKeyId = keyCode;
        alsoDoActionIfHided = alsoWhenHidden;
    }
    void setMultipleCallsState(int32_t on) { enableMultipleCalls = on; }
    int32_t getMultipleCallsState() const { return enableMultipleCalls; }
    void SetAutoCorrectPositionEnable(int32_t on) { bCorrectPosition = on ? 1 : 0; }
    int32_t isAutoCorrectPositionEnabled() const { return bCorrectPosition; }

    void Update(TKeyHits keyHits);
    void updateHover(const vesko::TTouchObject* underPointer);
    // A non-empty tooltip replaces the lines; a null image changes nothing else.
    void setIcon(const std::shared_ptr<TImage>& image, const std::string& tooltipText = "");
    // Leaves the list and the touch GUI, with the gadgets of its children.
    void remove();
    void addAnimator(int32_t durationMs, float angle, float strength);
    // Leaves a copy that leaps up and fades.
    void addAsEscapingGadget();
    int32_t isShowed() const { return gadget && gadget->isShowed(); }

    std::shared_ptr<vesko::TTGUIGadget> gadget;
    std::vector<std::string> tooltip;
    std::shared_ptr<TImage> icon;
    TFunc func = nullptr;
    TGameFunc gameFunc = nullptr;
    void* gameObj = nullptr;
    std::vector<float> _icoPosition{0, 0};
    uint8_t hit = 0;
    std::shared_ptr<void> container;
    uint8_t bCorrectPosition = 1;
    std::vector<std::shared_ptr<TGadgetAnimator>> gadgetAnimatorList;
    int32_t enableMultipleCalls = 0;
    int32_t callStart = 0, callSpeedLevel = 0;
    int32_t actionKeyId = 0, alsoDoActionIfHided = 0;

private:
    void _updateRepetition();
    void _keepOnScreen();
    void _runAnimators();
    // The icon pictures added to the state contents, so a new icon replaces them.
    std::shared_ptr<vesko::TCPicture> _iconPics[2];

    static inline std::shared_ptr<TGUI> gui;
    static inline int32_t screenWidth = 0, screenHeight = 0;
    static inline TTooltipStyle tipStyle;
    static inline std::vector<std::shared_ptr<TGUIGadget>> gadgets;
    static inline std::vector<std::shared_ptr<TEscapingGadget>> escaping;
    // The tooltip being shown: its id, when it shows, how far it is revealed.
    static inline std::string tooltipId;
    static inline int32_t tooltipShowMs = 0;
    static inline float tooltipProgress = 0;
};

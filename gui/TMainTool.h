#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gui/TGUIElement.h"
#include "world/TAdvisor.h"

class TGUI;
class TLayer;
class TTextFieldTool;

namespace vesko {
class TCGroup;
class TCPicture;
class TCAnimation;
class TCRGBA;
}  // namespace vesko

// The status panel of a game: a move button with three bars beside it — city and mayor (touch
// it to rename the city), money and date with a clock of the day, inhabitants with their
// satisfaction, the advice of what holds the city back most (touch it to see the place) — and
// five game-speed buttons that work as a radio group.
class TMainTool : public TGUIElement {
public:
    // Game speed of the buttons Pause, Langsam, Normal, Schnell, Sehr schnell.
    static constexpr std::array<float, 5> gameSpeeds{0.0f, 0.5f, 1.0f, 2.0f, 4.0f};
    static constexpr int32_t defaultSpeedButton = 2;
    // Longer names are cut, as the text field cuts them: the 8-bit files keep a name of one line.
    static constexpr size_t maxCityNameLength = 64;

    static std::shared_ptr<TMainTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const std::shared_ptr<TLayer>& layer,
                                             const std::shared_ptr<TTextFieldTool>& tft);
    void Update() { updateTool(); }
    // Reads names, money, date, inhabitants and satisfaction from the world into the bars.
    void updateTool();
    // Leaves a running rename without a callback into this panel, then removes the panel.
    void Destroy() override;

    // Each rebuilds its bar only when a text changed; the clock needle turns every frame. Texts
    // too wide for their bar take a smaller font, and are cut with "…" when even that is too
    // wide. The money stands in the GUI's red while the city is in debt.
    void setLayerNameText(const std::string& city, const std::string& mayor);
    void setLayerMoneyText(const std::string& money, const std::string& date, float dayPart, bool inDebt = false);
    void setLayerHabitantsText(int32_t count, float satisfaction);
    // The advice over one or two lines (broken between words), with the pin at the bar's right
    // end when it names a place.
    void setAdviceText(const TAdvice& advice);
    // Centres the map on the place of the advice shown, when it names one.
    void onCmdAdvice();
    std::string GetMoney() const;
    std::string GetDate() const;

    // Selects button index mod 5 alone and passes its speed to the world.
    void selectSpeedButton(int32_t index);
    // The first selected speed button, −1 when none is.
    int32_t getSelectedSpeedButton() const;
    // The selected button's speed to the world (0 when none is selected).
    void speedEvent();

    std::string getCityName() const;
    // Keeps the printable ISO-8859-1 characters without spaces at either end, at most
    // maxCityNameLength of them; a name left empty is refused (0) and the old name stays.
    int32_t setCityName(const std::string& name);
    // Opens the text field with the city name.
    void onCmdName();
    void onCmdMoney() {}
    // Opens or closes the statistics.
    void onCmdHabitants() {
        if (statisticsTool) statisticsTool->changeState();
    }

    static int32_t _onCmdName(void* context);
    static int32_t _onCmdMoney(void* context);
    static int32_t _onCmdHabitants(void* context);
    static int32_t _onCmdAdvice(void* context);
    static int32_t _SpeedEvent(void* context);
    static int32_t _setCityName(void* context, const std::string& name);
    // Radio behaviour: a hit selects this button and clears the siblings of the same kind.
    static int32_t _cmdSpeedAction(vesko::TTGUIGadget& gadget);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TTextFieldTool> tft;
    // The panel the inhabitants bar opens; null without one.
    TGUIElement* statisticsTool = nullptr;
    std::shared_ptr<TGUIGadget> cmdMove, cmdName, cmdMFT, cmdMoney, cmdHabitants, cmdSpeedPause, cmdSpeedSlow,
        cmdSpeedDefault, cmdSpeedFast, cmdSpeedHyper, cmdAdvice;
    int32_t layerWidth = 0, layerHeight = 0;
    std::shared_ptr<vesko::TCGroup> layerName, layerMoney, layerHabitants, layerAdvice;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const std::shared_ptr<TLayer>& layer,
                  const std::shared_ptr<TTextFieldTool>& tft);
    // A bar at the given row beside the move button, its layer group drawn in both states.
    std::shared_ptr<TGUIGadget> _addBar(int32_t row, const std::string& tooltip, TGUIGadget::TGameFunc action,
                                        std::shared_ptr<vesko::TCGroup>& group);
    std::array<TGUIGadget*, 5> _speedButtons() const;
    // How wide a text on a bar may be: the bar within its padding, less the clock or smiley
    // when there is one at its right end.
    float _textRoom(int32_t pictureAtRight) const;
    // Two lines left on a bar, in the default font or, when one of them is too wide for it, the
    // small one (cut with "…" when even that is too wide); the upper one in the given colour,
    // the default text colour when none is given.
    void _addTwoLines(vesko::TCGroup& group, const std::string& upper, const std::string& lower,
                      const vesko::TCRGBA* upperColour = nullptr);

    // What the bars show now, so that they are rebuilt only on a change.
    std::string _shownCity, _shownMayor, _shownMoney, _shownDate;
    int32_t _shownCount = -1, _shownPercent = -1;
    bool _namesShown = false, _moneyShown = false, _shownInDebt = false, _adviceShown = false;
    TAdvice _shownAdvice;
    // The clock and the smiley keep their place at the right end of their bars.
    std::shared_ptr<vesko::TCGroup> _clock, _smileySlot, _pinSlot;
    std::shared_ptr<vesko::TCPicture> _clockFace, _clockNeedle;
    std::shared_ptr<vesko::TCAnimation> _smiley;
};

#include "gui/TTitleTool.h"

#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TTouchObject.h"
#include "gui/TGUI.h"
#include "gui/TLoadTool.h"
#include "gui/TSettingsTool.h"
#include "gui/TTextFieldTool.h"
#include "platform/TCatalogue.h"
#include "platform/TImageFont.h"

namespace {
constexpr float buttonRadius = 20.0f;
constexpr float smallButtonRadius = 12.0f;
constexpr float gap = 6.0f;
constexpr float textPadding = 10.0f;
}  // namespace

std::shared_ptr<TTitleTool> TTitleTool::Create(const std::shared_ptr<TGUI>& gui, TInputSnapshot* event,
                                               const TTitleCommands& commands, const TNewGame& defaults) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TTitleTool>();
    t->generate(gui, event, commands, defaults);
    return t;
}

void TTitleTool::generate(const std::shared_ptr<TGUI>& g, TInputSnapshot* event, const TTitleCommands& c,
                          const TNewGame& defaults) {
    gui = g;
    commands = c;
    barWidth = 12 * buttonRadius;
    barHeight = 2.2f * buttonRadius;
    // "Neues Spiel" carries the column; the others hang above and below it.
    bars[barNewGame] = gui->AddBarButton(0, 0, nullptr, gui->button_BarImg, barWidth, barHeight);
    for (size_t i = 0; i < barCount; ++i) {
        const float y = float(int32_t(i) - int32_t(barNewGame)) * (barHeight + gap);
        if (i != barNewGame)
            bars[i] = gui->AddBarButton(0, y, bars[barNewGame].get(), gui->button_BarImg, barWidth, barHeight);
        _texts[i] = vesko::TCGroup::Create();
        for (int32_t s = 0; s < 2; ++s) {
            if (auto state = TGUI::StateGroup(*bars[i], s)) state->addContent(_texts[i]);
        }
    }
    _mainGadget = bars[barNewGame];
    bars[barContinue]->setGameFunc(commands.continueGame, commands.context);
    bars[barQuit]->setGameFunc(commands.quit, commands.context);

    textFieldTool = TTextFieldTool::Create(gui, buttonRadius, smallButtonRadius, event);
    newGameTool = TNewGameTool::Create(gui, buttonRadius, textFieldTool.get(), commands.startGame, commands.context,
                                       commands.moneyText, defaults);
    bars[barNewGame]->setGameFunc(_showTool, newGameTool.get());
    TGameCommands load;
    load.game = commands.context;
    load.loadGame = commands.loadGame;
    load.showMessage = commands.showMessage;
    load.moneyText = commands.moneyText;
    load.dateText = commands.dateText;
    loadTool = TLoadTool::Create(gui, buttonRadius, load);
    bars[barLoad]->setGameFunc(_showTool, loadTool.get());
    settingsTool = TSettingsTool::Create(gui, buttonRadius, commands.settings);
    bars[barSettings]->setGameFunc(_showTool, settingsTool.get());
    UpdateTexts();
    Layout();
}

void TTitleTool::_setText(size_t bar, const std::string& text, const std::string& second) {
    const auto& big = gui->bigFont ? gui->bigFont : gui->DefaultFont;
    const auto& small = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    const float left = -0.5f * barWidth + textPadding, room = barWidth - 2 * textPadding;
    _texts[bar]->Clear();
    const float height = TGUI::FontHeight(big) + (second.empty() ? 0.0f : TGUI::FontHeight(small));
    const float top = -0.5f * height;
    _texts[bar]->addContent(
        TGUI::PlacedText(TGUI::FitText(text, big.get(), room), big, gui->textCol_default, left, top));
    if (!second.empty()) {
        _texts[bar]->addContent(TGUI::PlacedText(TGUI::FitText(second, small.get(), room), small, gui->textCol_default,
                                                 left, top + TGUI::FontHeight(big)));
    }
}

void TTitleTool::UpdateTexts() {
    _setText(barNewGame, Tr("Neues Spiel"));
    _setText(barLoad, Tr("Laden"));
    _setText(barSettings, Tr("Einstellungen"));
    _setText(barQuit, Tr("Beenden"));
    SetContinue(_continueWhat);
    newGameTool->UpdateTexts();
}

void TTitleTool::SetContinue(const std::string& what) {
    _continueWhat = what;
    _setText(barContinue, Tr("Weiterspielen"), what);
    if (what.empty()) {
        bars[barContinue]->gadget->HIDE();
    } else {
        bars[barContinue]->gadget->SHOW();
    }
}

void TTitleTool::Layout() {
    const float x = 24.0f + 0.5f * barWidth;
    const float y = 0.55f * float(gui->ymax) - (barHeight + gap);
    SetPosition(x, y);
    KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

void TTitleTool::Update(TTouchPoints touchPoints, const std::vector<int32_t>& tooltipPos,
                        TGUIGadget::TKeyHits keyHits) {
    gui->drawAll(tooltipPos, {}, "");
    textFieldTool->Update();
    settingsTool->Update();
    vesko::TTouchObject::Update(touchPoints, 1.0f);
    gui->updateAll(textFieldTool->haveToGrabKeys() ? TGUIGadget::TKeyHits{} : keyHits);
    const float w = float(gui->xmax), h = float(gui->ymax);
    for (TGUIElement* panel : _panels()) {
        if (panel->isVisible() && !panel->_mainGadget->gadget->down) panel->KeepOnScreen(w, h);
    }
}

std::vector<TGUIElement*> TTitleTool::_panels() const {
    return {textFieldTool.get(), settingsTool.get(), newGameTool.get(), loadTool.get()};
}

bool TTitleTool::PanelOpen() const {
    for (const TGUIElement* panel : _panels()) {
        if (panel->isVisible()) return true;
    }
    return false;
}

bool TTitleTool::CloseOpenPanel() {
    if (textFieldTool->isVisible()) {
        textFieldTool->onCmdCancel();
        return true;
    }
    for (TGUIElement* panel : _panels()) {
        if (panel->isVisible()) {
            panel->hideTool();
            return true;
        }
    }
    return false;
}

void TTitleTool::Destroy() {
    for (TGUIElement* panel : _panels()) {
        if (panel) panel->Destroy();
    }
    TGUIElement::Destroy();
}

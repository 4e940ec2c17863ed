#include "gui/TTaxTool.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "gui/TChangeTaxContainer.h"
#include "gui/TGUI.h"
#include "gui/TTextFieldTool.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TNumberText.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

namespace {
TTaxTool* AsTool(void* context) { return static_cast<TTaxTool*>(context); }

constexpr float gap = 4.0f;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void Show(const std::shared_ptr<TGUIGadget>& g, bool on) {
    if (on) {
        g->gadget->SHOW();
    } else {
        g->gadget->HIDE();
    }
}

// Whether s is one decimal number: sign, digits with an optional fraction, optional exponent.
bool IsNumber(std::string_view s) {
    size_t i = 0, digits = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= s.size() || !IsDigit(s[i])) return false;
        while (i < s.size() && IsDigit(s[i])) ++i;
    }
    return i == s.size();
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}
}  // namespace

std::shared_ptr<TTaxTool> TTaxTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                           const std::shared_ptr<TLayer>& layer,
                                           const std::shared_ptr<TTextFieldTool>& tft, const TGameCommands& game) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TTaxTool>();
    t->game = game;
    t->generate(gui, buttonRadius, layer, tft);
    return t;
}

void TTaxTool::generate(const std::shared_ptr<TGUI>& g, float r, const std::shared_ptr<TLayer>& l,
                        const std::shared_ptr<TTextFieldTool>& t) {
    gui = g;
    buttonRadius = r;
    layer = l;
    tft = t;
    panelWidth = 8 * r;
    panelHeight = 2 * r;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    const float panelX = r + gap + 0.5f * panelWidth;
    panelGadget = gui->AddBarButton(panelX, 0, cmdMove.get(), gui->button_BarImg, panelWidth, panelHeight);
    auto draw = vesko::TCFunc::Load(_drawPanel);
    // A plain pointer back to the tool, which outlives its gadgets.
    draw->container = std::shared_ptr<void>(std::shared_ptr<void>(), this);
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = TGUI::StateGroup(*panelGadget, s)) group->addContent(draw);
    }
    cmdOk = gui->AddRoundButton(panelX + 0.5f * panelWidth + gap + r, 0, r, cmdMove.get());
    cmdOk->setIcon(gui->buttonOkImg, Tr("Ok"));
    cmdOk->setGameFunc(_onCmdOk, this);

    struct TButton {
        std::shared_ptr<TGUIGadget>* gadget;
        std::shared_ptr<TImage> TGUI::*icon;
        const char* tooltip;
        TGUIGadget::TGameFunc action;
    };
    // A row under the panel: level down, rate down, typing, rate up, level up.
    const TButton row[] = {
        {&cmdLvlDown, &TGUI::buttonLeftImg, TrNoop("Level -"), _cmdLevelDown},
        {&cmdDown, &TGUI::buttonTaxesDown, TrNoop("Verkleinern"), _onCmdTaxesDown},
        {&cmdEdit, &TGUI::buttonKeyboardImg, TrNoop("Bearbeiten"), _onCmdEdit},
        {&cmdUp, &TGUI::buttonTaxesUp, TrNoop("Vergrößern"), _onCmdTaxesUp},
        {&cmdLvlUp, &TGUI::buttonRightImg, TrNoop("Level +"), _cmdLevelUp},
    };
    const float rowY = 0.5f * panelHeight + gap + r;
    for (size_t i = 0; i < std::size(row); ++i) {
        auto b = gui->AddRoundButton(panelX + 2 * r * (float(i) - 2), rowY, r, cmdMove.get());
        b->setIcon((*gui).*row[i].icon, Tr(row[i].tooltip));
        b->setGameFunc(row[i].action, this);
        *row[i].gadget = b;
    }
    // Waits hidden in the middle of the screen until it is opened.
    SetPosition(0.5f * float(gui->xmax - int32_t(panelWidth)), 0.5f * float(gui->ymax));
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TTaxTool::Update() {
    if (!isVisible()) return;
    _updateTaxButtons();
}

void TTaxTool::SHOW() {
    TGUIElement::SHOW();
    _updateLevelButtons();
    _updateTaxButtons();
    KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

bool TTaxTool::_isEditing() const {
    return _editing && tft && tft->gameFunc.function == _onEditCallback && tft->gameFunc.context == _editing.get();
}

void TTaxTool::hideTool() {
    if (_isEditing()) tft->onCmdCancel();
    _editing.reset();
    HIDE();
}

void TTaxTool::Destroy() {
    // The text field may outlive this panel: an edit still open must not call back into it.
    if (_isEditing()) {
        tft->gameFunc = {};
        tft->editFunc = {};
    }
    TGUIElement::Destroy();
}

// --- rates ---------------------------------------------------------------------------------

float TTaxTool::getTaxes(int32_t level) const {
    return layer && layer->habitantPool ? layer->habitantPool->getTaxes(level) : 0.0f;
}

void TTaxTool::setTaxes(int32_t level, float rate) {
    if (!layer || !layer->habitantPool || std::isnan(rate)) return;
    const float kept = std::clamp(rate, 0.0f, float(maxPercent) / 100.0f);
    layer->Record("tax " + std::to_string(level) + " " + TLayer::ScriptNumber(kept));
    layer->habitantPool->setTaxes(level, kept);
}

int32_t TTaxTool::_getPercent(int32_t level) const {
    const float p = std::round(getTaxes(level) * 100.0f);
    // Float steps of 1/100 are not exact (0.53 × 100 is 52.99…), so the percent is rounded.
    return std::isfinite(p) ? int32_t(std::clamp(p, -1e6f, 1e6f)) : 0;
}

void TTaxTool::_stepTaxes(int32_t points) {
    const int32_t p = std::clamp(_getPercent(currentLevel + 1) + points, 0, maxPercent);
    setTaxes(currentLevel + 1, float(p) / 100.0f);
    _updateTaxButtons();
}

void TTaxTool::onCmdTaxesUp() { _stepTaxes(1); }

void TTaxTool::onCmdTaxesDown() { _stepTaxes(-1); }

void TTaxTool::_updateTaxButtons() {
    if (!isVisible()) return;
    const int32_t p = _getPercent(currentLevel + 1);
    Show(cmdDown, p > 0);
    Show(cmdUp, p < maxPercent);
}

// --- levels --------------------------------------------------------------------------------

void TTaxTool::cmdLevelUp() {
    currentLevel = (currentLevel + 1) % _getMaxLevel();
    _updateLevelButtons();
    _updateTaxButtons();
}

void TTaxTool::cmdLevelDown() {
    currentLevel = (currentLevel + _getMaxLevel() - 1) % _getMaxLevel();
    _updateLevelButtons();
    _updateTaxButtons();
}

void TTaxTool::_updateLevelButtons() {
    if (!isVisible()) return;
    Show(cmdLvlUp, currentLevel < _getMaxLevel() - 1);
    Show(cmdLvlDown, currentLevel > 0);
}

// --- typing --------------------------------------------------------------------------------

void TTaxTool::onCmdEdit() {
    if (!tft) return;
    auto container = std::make_shared<TChangeTaxContainer>();
    container->taxTool = this;
    container->techlevel = currentLevel + 1;
    // Started before the container is kept: starting cancels an earlier edit, which may be ours.
    tft->startTool(std::to_string(_getPercent(currentLevel + 1)) + "%", Tr("Steuern verändern"), "", "",
                   _onEditCallback, container.get(), nullptr, nullptr, 0, 1.0f);
    tft->setEditFunc(txtEditFunc, container.get());
    // The cursor goes before the "%" at once, so the first Backspace takes a digit.
    tft->_trimText();
    _editing = container;
}

bool TTaxTool::_parsePercent(const std::string& text, int32_t& percent, bool* above) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.back() == '%') s = Trim(s.substr(0, s.size() - 1));
    if (!IsNumber(s)) return false;
    // Never NaN or infinite: beyond the double range the reader gives the largest double.
    const double value = TNumberText::ToDouble(s);
    percent = int32_t(std::clamp(value, 0.0, double(maxPercent)));
    if (above) *above = value > double(maxPercent);
    return true;
}

int32_t TTaxTool::onEditCallback(const std::string& text, int32_t techlevel) {
    std::string_view s = Trim(text);
    if (s == "%" || s.empty()) {
        // An emptied field changes nothing, as if it had been cancelled.
        game.message(Tr("Steuersatz bleibt bei %1 %", _getPercent(techlevel)));
        return 1;
    }
    int32_t percent = 0;
    bool above = false;
    if (!_parsePercent(text, percent, &above)) return 0;
    setTaxes(techlevel, float(percent) / 100.0f);
    if (above) game.message(Tr("Steuersatz auf %1 % begrenzt", maxPercent));
    _updateTaxButtons();
    return 1;
}

int32_t TTaxTool::txtEditFunc(void*, std::string& text, int32_t& cursor) {
    // Only digits stay, so a typed minus sign or letter is dropped, and the cursor keeps its
    // place among them.
    std::string digits;
    size_t beforeCursor = 0;
    int32_t i = 0;
    for (uint32_t cp : TCharset::Decode(text)) {
        if (cp >= '0' && cp <= '9' && digits.size() < maxTypedDigits) {
            digits.push_back(char(cp));
            if (i < cursor) ++beforeCursor;
        }
        ++i;
    }
    // No leading zeros: "0" then "7" is 7, not 70 or "07"; a lone 0 stays.
    const size_t zeros = std::min(digits.find_first_not_of('0'), digits.empty() ? 0 : digits.size() - 1);
    digits.erase(0, zeros);
    beforeCursor -= std::min(beforeCursor, zeros);
    text = digits + "%";
    // No cursor placed yet stays so.
    if (cursor >= 0) cursor = int32_t(beforeCursor);
    return 1;
}

// --- drawing -------------------------------------------------------------------------------

void TTaxTool::drawPanel(float x, float y) {
    SetColor(255, 255, 255);
    SetTransform(0, 1, 1);
    const auto& picture = gui->techlevelImg[size_t(std::clamp(currentLevel, 0, _getMaxLevel() - 1))];
    if (picture) {
        DrawImage(picture, float(int32_t(x - 0.5f * panelWidth + 0.5f * buttonRadius)),
                  float(int32_t(y - 0.5f * float(picture->height))));
    }
    const auto& font = gui->bigFont;
    if (!font) return;
    SetImageFont(font);
    gui->textCol_default.Use(1, 0);
    const std::string text = std::to_string(_getPercent(currentLevel + 1)) + "%";
    DrawText(text, x + 0.5f * panelWidth - 0.5f * buttonRadius - font->TextWidth(text),
             y - 0.5f * float(font->Height()));
}

// --- callbacks -----------------------------------------------------------------------------

int32_t TTaxTool::_onCmdOk(void* context) {
    if (auto* t = AsTool(context)) t->onCmdOk();
    return 0;
}

int32_t TTaxTool::_cmdLevelUp(void* context) {
    if (auto* t = AsTool(context)) t->cmdLevelUp();
    return 0;
}

int32_t TTaxTool::_cmdLevelDown(void* context) {
    if (auto* t = AsTool(context)) t->cmdLevelDown();
    return 0;
}

int32_t TTaxTool::_onCmdEdit(void* context) {
    if (auto* t = AsTool(context)) t->onCmdEdit();
    return 0;
}

int32_t TTaxTool::_onCmdTaxesUp(void* context) {
    if (auto* t = AsTool(context)) t->onCmdTaxesUp();
    return 0;
}

int32_t TTaxTool::_onCmdTaxesDown(void* context) {
    if (auto* t = AsTool(context)) t->onCmdTaxesDown();
    return 0;
}

int32_t TTaxTool::_onEditCallback(void* context, const std::string& text) {
    auto* c = static_cast<TChangeTaxContainer*>(context);
    return c && c->taxTool ? c->taxTool->onEditCallback(text, c->techlevel) : 0;
}

std::shared_ptr<void> TTaxTool::_drawPanel(vesko::TCFunc& content, float x, float y) {
    if (auto* t = static_cast<TTaxTool*>(content.container.get())) t->drawPanel(x, y);
    return nullptr;
}

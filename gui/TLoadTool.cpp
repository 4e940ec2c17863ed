#include "gui/TLoadTool.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "platform/TCharset.h"
#include "platform/TImageFont.h"

namespace {
TLoadTool* AsTool(void* context) { return static_cast<TLoadTool*>(context); }

constexpr float gap = 4.0f;
constexpr float textPadding = 8.0f;
const std::string cut = "...";

void Show(const std::shared_ptr<TGUIGadget>& g, bool on) {
    if (on) {
        g->gadget->SHOW();
    } else {
        g->gadget->HIDE();
    }
}
}  // namespace

std::shared_ptr<TLoadTool> TLoadTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const TGameCommands& game) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TLoadTool>();
    t->generate(gui, buttonRadius, game);
    return t;
}

void TLoadTool::generate(const std::shared_ptr<TGUI>& g, float r, const TGameCommands& commands) {
    gui = g;
    buttonRadius = r;
    game = commands;
    barWidth = 10 * r;
    barHeight = 2 * r;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    const float barX = r + gap + 0.5f * barWidth;
    for (size_t i = 0; i < pageSize; ++i) {
        auto bar = gui->AddBarButton(barX, float(i) * (barHeight + gap), cmdMove.get(), gui->button_BarImg, barWidth,
                                     barHeight);
        _slots[i] = {this, i};
        bar->setGameFunc(_onCmdEntry, &_slots[i]);
        _texts[i] = vesko::TCGroup::Create();
        for (int32_t s = 0; s < 2; ++s) {
            if (auto state = TGUI::StateGroup(*bar, s)) state->addContent(_texts[i]);
        }
        cmdEntries[i] = bar;
    }
    struct TButton {
        std::shared_ptr<TGUIGadget>* gadget;
        std::shared_ptr<TImage> TGUI::*icon;
        const char* tooltip;
        TGUIGadget::TGameFunc action;
        float column;
    };
    // Under the column, centred on it: previous, close, next.
    const TButton row[] = {
        {&cmdPrv, &TGUI::buttonLeftImg, "Vorherige Seite", _previousPage, -1},
        {&cmdClose, &TGUI::buttonCloseImg, "Schließen", _close, 0},
        {&cmdNext, &TGUI::buttonRightImg, "Nächste Seite", _nextPage, 1},
    };
    for (const TButton& b : row) {
        auto button = gui->AddRoundButton(barX + 2 * r * b.column, _rowY(pageSize), r, cmdMove.get());
        button->setIcon((*gui).*b.icon, b.tooltip);
        button->setGameFunc(b.action, this);
        *b.gadget = button;
    }
    // Waits hidden in the middle of the screen until it is opened.
    SetPosition(0.5f * (float(gui->xmax) - barWidth), 0.5f * (float(gui->ymax) - _rowY(pageSize)));
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TLoadTool::SHOW() {
    TGUIElement::SHOW();
    page = 0;
    refresh();
    KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

void TLoadTool::refresh() {
    files = TSaveFolder::List();
    page = std::clamp(page, 0, pageCount() - 1);
    _updateEntries();
}

int32_t TLoadTool::pageCount() const { return std::max<int32_t>(1, int32_t((files.size() + pageSize - 1) / pageSize)); }

void TLoadTool::nextPage() {
    page = std::min(page + 1, pageCount() - 1);
    _updateEntries();
}

void TLoadTool::previousPage() {
    page = std::max(page - 1, 0);
    _updateEntries();
}

std::vector<std::string> TLoadTool::shownNames() const {
    if (files.empty()) return {emptyText};
    const size_t from = size_t(page) * pageSize;
    std::vector<std::string> names;
    for (size_t i = from; i < std::min(files.size(), from + pageSize); ++i) names.push_back(files[i].name);
    return names;
}

void TLoadTool::_updateEntries() {
    const std::vector<std::string> names = shownNames();
    for (size_t i = 0; i < pageSize; ++i) {
        _texts[i]->Clear();
        if (i >= names.size()) continue;
        auto text = vesko::TCText::Create(_fitted(names[i]), gui->DefaultFont, 1);
        const float fontHeight = gui->DefaultFont ? float(gui->DefaultFont->Height()) : 0.0f;
        text->SetIntHandle(int32_t(0.5f * barWidth - textPadding), int32_t(0.5f * fontHeight));
        text->formation.rgba = files.empty() ? gui->textCol_light : gui->textCol_default;
        _texts[i]->addContent(text);
    }
    // Only what is in use shows, and nothing while the panel is closed.
    if (!isVisible()) return;
    for (size_t i = 0; i < pageSize; ++i) Show(cmdEntries[i], i < names.size());
    Show(cmdPrv, page > 0);
    Show(cmdNext, page < pageCount() - 1);
    // The buttons follow right under the last name.
    for (const auto& b : {cmdPrv, cmdClose, cmdNext}) b->gadget->SetPosition(b->gadget->x, _rowY(names.size()));
}

float TLoadTool::_rowY(size_t bars) const { return float(bars) * (barHeight + gap) - 0.5f * barHeight + buttonRadius; }

std::string TLoadTool::_fitted(const std::string& text) const {
    const auto& font = gui->DefaultFont;
    const float room = barWidth - 2 * textPadding;
    if (!font || font->TextWidth(text) <= room) return text;
    // Characters, not bytes, are dropped, so a name never ends in half a letter.
    for (size_t n = TCharset::Length(text); n > 0; --n) {
        const std::string shorter = TCharset::Mid(text, 0, n - 1) + cut;
        if (font->TextWidth(shorter) <= room) return shorter;
    }
    return cut;
}

void TLoadTool::onCmdEntry(size_t slot) {
    const size_t index = size_t(page) * pageSize + slot;
    if (slot >= pageSize || index >= files.size() || !game.loadGame) return;
    if (game.loadGame(game.game, files[index].path)) hideTool();
}

int32_t TLoadTool::_onCmdEntry(void* context) {
    const auto* s = static_cast<TSlot*>(context);
    if (s && s->tool) s->tool->onCmdEntry(s->index);
    return 0;
}

int32_t TLoadTool::_nextPage(void* context) {
    if (auto* t = AsTool(context)) t->nextPage();
    return 0;
}

int32_t TLoadTool::_previousPage(void* context) {
    if (auto* t = AsTool(context)) t->previousPage();
    return 0;
}

int32_t TLoadTool::_close(void* context) {
    if (auto* t = AsTool(context)) t->hideTool();
    return 0;
}

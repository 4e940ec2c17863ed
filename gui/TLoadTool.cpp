#include "gui/TLoadTool.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TImageFont.h"
#include "world/TLayer.h"

namespace {
TLoadTool* AsTool(void* context) { return static_cast<TLoadTool*>(context); }

constexpr float gap = 4.0f;
constexpr float textPadding = 8.0f;

float Width(const std::shared_ptr<TImageFont>& font, const std::string& text) {
    return font ? font->TextWidth(text) : 0.0f;
}

void Show(const std::shared_ptr<TGUIGadget>& g, bool on) {
    if (on) {
        g->gadget->SHOW();
    } else {
        g->gadget->HIDE();
    }
}
}  // namespace

std::shared_ptr<TLoadTool> TLoadTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const TGameCommands& game, const std::shared_ptr<TLayer>& layer) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TLoadTool>();
    t->generate(gui, buttonRadius, game, layer);
    return t;
}

void TLoadTool::generate(const std::shared_ptr<TGUI>& g, float r, const TGameCommands& commands,
                         const std::shared_ptr<TLayer>& l) {
    gui = g;
    buttonRadius = r;
    game = commands;
    layer = l;
    // Wide enough for a name with the money beside it, and the date with the inhabitants.
    barWidth = 14 * r;
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
        {&cmdPrv, &TGUI::buttonLeftImg, TrNoop("Vorherige Seite"), _previousPage, -1},
        {&cmdClose, &TGUI::buttonCloseImg, TrNoop("Schließen"), _close, 0},
        {&cmdNext, &TGUI::buttonRightImg, TrNoop("Nächste Seite"), _nextPage, 1},
    };
    for (const TButton& b : row) {
        auto button = gui->AddRoundButton(barX + 2 * r * b.column, _rowY(pageSize), r, cmdMove.get());
        button->setIcon((*gui).*b.icon, Tr(b.tooltip));
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
    summaries.assign(files.size(), TCitySummary());
    _summaryState.assign(files.size(), 0);
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
    if (files.empty()) return {Tr(emptyText)};
    const size_t from = size_t(page) * pageSize;
    std::vector<std::string> names;
    for (size_t i = from; i < std::min(files.size(), from + pageSize); ++i) names.push_back(files[i].name);
    return names;
}

TLoadTool::TShownEntry TLoadTool::_entry(size_t index) {
    TShownEntry e;
    if (index >= files.size()) return e;
    e.name = files[index].name;
    if (_summaryState[index] == 0)
        _summaryState[index] = TLayer::ReadSummary(files[index].path, summaries[index]) ? 1 : -1;
    if (_summaryState[index] < 0) return e;
    const TCitySummary& s = summaries[index];
    if (layer) {
        e.money = layer->getRealMoney(s.money);
        e.date = layer->getRealDate(s.dateWeekDay, s.dateDay, s.dateMonth, s.dateYear);
    } else {
        if (game.moneyText) e.money = game.moneyText(s.money);
        if (game.dateText) e.date = game.dateText(s.dateWeekDay, s.dateDay, s.dateMonth, s.dateYear);
    }
    if (s.inhabitants >= 0) e.inhabitants = Tr("%1 Einwohner", s.inhabitants);
    return e;
}

std::vector<TLoadTool::TShownEntry> TLoadTool::shownEntries() {
    std::vector<TShownEntry> entries;
    const size_t from = size_t(page) * pageSize;
    for (size_t i = from; i < std::min(files.size(), from + pageSize); ++i) entries.push_back(_entry(i));
    return entries;
}

void TLoadTool::_updateEntries() {
    const std::vector<TShownEntry> entries = shownEntries();
    const size_t bars = std::max<size_t>(entries.size(), 1);
    const auto& big = gui->DefaultFont;
    const auto& small = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    const float left = -0.5f * barWidth + textPadding, right = 0.5f * barWidth - textPadding;
    const float room = right - left;
    for (size_t i = 0; i < pageSize; ++i) {
        _texts[i]->Clear();
        if (entries.empty()) {
            if (i == 0)
                _texts[i]->addContent(
                    TGUI::PlacedText(Tr(emptyText), big, gui->textCol_light, left, -0.5f * TGUI::FontHeight(big)));
            continue;
        }
        if (i >= entries.size()) continue;
        const TShownEntry& e = entries[i];
        const auto& colour = gui->textCol_default;
        if (e.money.empty() && e.date.empty() && e.inhabitants.empty()) {
            _texts[i]->addContent(
                TGUI::PlacedText(TGUI::FitText(e.name, big.get(), room), big, colour, left, -0.5f * TGUI::FontHeight(big)));
            continue;
        }
        // The name with the money at the right end; under them the date and the inhabitants.
        const float top = -0.5f * (TGUI::FontHeight(big) + TGUI::FontHeight(small));
        const float second = top + TGUI::FontHeight(big);
        const float moneyWidth = Width(small, e.money), countWidth = Width(small, e.inhabitants);
        const float nameRoom = room - moneyWidth - (e.money.empty() ? 0.0f : 2 * gap);
        _texts[i]->addContent(TGUI::PlacedText(TGUI::FitText(e.name, big.get(), nameRoom), big, colour, left, top));
        _texts[i]->addContent(TGUI::PlacedText(e.money, small, colour, right - moneyWidth, second - TGUI::FontHeight(small)));
        const float dateRoom = room - countWidth - (e.inhabitants.empty() ? 0.0f : 2 * gap);
        _texts[i]->addContent(TGUI::PlacedText(TGUI::FitText(e.date, small.get(), dateRoom), small, colour, left, second));
        _texts[i]->addContent(TGUI::PlacedText(e.inhabitants, small, colour, right - countWidth, second));
    }
    // Only what is in use shows, and nothing while the panel is closed.
    if (!isVisible()) return;
    for (size_t i = 0; i < pageSize; ++i) Show(cmdEntries[i], i < bars);
    Show(cmdPrv, page > 0);
    Show(cmdNext, page < pageCount() - 1);
    // The buttons follow right under the last name.
    for (const auto& b : {cmdPrv, cmdClose, cmdNext}) b->gadget->SetPosition(b->gadget->x, _rowY(bars));
}

float TLoadTool::_rowY(size_t bars) const { return float(bars) * (barHeight + gap) - 0.5f * barHeight + buttonRadius; }

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

#include "gui/TSettingsTool.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TImageFont.h"

namespace {
TSettingsTool* AsTool(void* context) { return static_cast<TSettingsTool*>(context); }

constexpr float gap = 4.0f;
constexpr float textPadding = 8.0f;

void Show(const std::shared_ptr<TGUIGadget>& g, bool on) {
    if (on) {
        g->gadget->SHOW();
    } else {
        g->gadget->HIDE();
    }
}

// Replaces a group's texts by one line centred on the group's origin (vertically about dy).
void PutCentred(vesko::TCGroup& group, const std::string& text, const std::shared_ptr<TImageFont>& font,
                const vesko::TCRGBA& colour, float room, float dy) {
    const std::string shown = TGUI::FitText(text, font.get(), room);
    const float w = font ? font->TextWidth(shown) : 0.0f;
    group.addContent(TGUI::PlacedText(shown, font, colour, -0.5f * w, dy - 0.5f * TGUI::FontHeight(font)));
}
}  // namespace

std::shared_ptr<TSettingsTool> TSettingsTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                     const TSettingsCommands& commands) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TSettingsTool>();
    t->generate(gui, buttonRadius, commands);
    return t;
}

void TSettingsTool::generate(const std::shared_ptr<TGUI>& g, float r, const TSettingsCommands& c) {
    gui = g;
    buttonRadius = r;
    commands = c;
    // Room for the longest name over its value; narrower on a screen too narrow for it, so the
    // whole panel stays on screen down to the smallest window.
    const float step = 2 * r + gap;
    barWidth = std::clamp(float(gui->xmax) - 2 * step, 6 * r, 11 * r);
    barHeight = 2 * r;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    const float barX = r + gap + 0.5f * barWidth, upX = 2 * r + 2 * gap + barWidth;
    // The header: the title between the page buttons, the close button above the column of
    // next-value buttons.
    cmdTitle = gui->AddBarButton(barX, 0, cmdMove.get(), gui->button_BarImg, barWidth - 2 * step, barHeight);
    _titleText = vesko::TCGroup::Create();
    for (int32_t s = 0; s < 2; ++s) {
        if (auto state = TGUI::StateGroup(*cmdTitle, s)) state->addContent(_titleText);
    }
    cmdPrvPage = gui->AddRoundButton(barX - 0.5f * barWidth + r, 0, r, cmdMove.get());
    cmdPrvPage->setIcon(gui->buttonLeftImg);
    cmdPrvPage->setGameFunc(_previousPage, this);
    cmdNextPage = gui->AddRoundButton(barX + 0.5f * barWidth - r, 0, r, cmdMove.get());
    cmdNextPage->setIcon(gui->buttonRightImg);
    cmdNextPage->setGameFunc(_nextPage, this);
    cmdClose = gui->AddRoundButton(upX, 0, r, cmdMove.get());
    cmdClose->setIcon(gui->buttonCloseImg);
    cmdClose->setGameFunc(_close, this);

    for (size_t i = 0; i < slotCount; ++i) {
        const float y = float(i + 1) * step;
        _slots[i] = {this, i};
        cmdDown[i] = gui->AddRoundButton(0, y, r, cmdMove.get());
        cmdDown[i]->setIcon(gui->buttonLeftImg);
        cmdDown[i]->setGameFunc(_onStepDown, &_slots[i]);
        cmdBars[i] = gui->AddBarButton(barX, y, cmdMove.get(), gui->button_BarImg, barWidth, barHeight);
        cmdBars[i]->setGameFunc(_onBar, &_slots[i]);
        _texts[i] = vesko::TCGroup::Create();
        for (int32_t s = 0; s < 2; ++s) {
            if (auto state = TGUI::StateGroup(*cmdBars[i], s)) state->addContent(_texts[i]);
        }
        cmdUp[i] = gui->AddRoundButton(upX, y, r, cmdMove.get());
        cmdUp[i]->setIcon(gui->buttonRightImg);
        cmdUp[i]->setGameFunc(_onStepUp, &_slots[i]);
    }
    // Waits hidden in the middle of the screen until it is opened.
    SetPosition(0.5f * (float(gui->xmax) - barWidth), 0.5f * (float(gui->ymax) - float(slotCount) * step));
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TSettingsTool::SHOW() {
    TGUIElement::SHOW();
    _laidOutHeight = gui->ymax;
    page = std::clamp(page, 0, pageCount() - 1);
    _refresh();
    KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

void TSettingsTool::Update() {
    if (!isVisible()) return;
    if (_laidOutHeight != gui->ymax) {
        _laidOutHeight = gui->ymax;
        page = std::clamp(page, 0, pageCount() - 1);
        _refresh();
    } else if (_shownState() != _lastState) {
        _refresh();
    }
    if (!cmdMove->gadget->down) KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

size_t TSettingsTool::rowsPerPage() const {
    // The header and the rows, each a button high with a gap between, within the screen's height.
    const float step = 2 * buttonRadius + gap;
    const int32_t fit = int32_t((float(gui->ymax) + gap) / step) - 1;
    return size_t(std::clamp<int32_t>(fit, 1, int32_t(slotCount)));
}

int32_t TSettingsTool::pageCount() const {
    const size_t n = rowsPerPage();
    return int32_t((slotCount + n - 1) / n);
}

void TSettingsTool::nextPage() {
    page = std::min(page + 1, pageCount() - 1);
    _refresh();
}

void TSettingsTool::previousPage() {
    page = std::max(page - 1, 0);
    _refresh();
}

TSettingsTool::TRow TSettingsTool::_rowAt(size_t slot) const {
    const size_t n = rowsPerPage();
    const size_t row = size_t(page) * n + slot;
    return slot < n && row < slotCount ? TRow(row) : TSettingsChoices::RowCount;
}

std::vector<TSettingsTool::TRow> TSettingsTool::shownRows() const {
    std::vector<TRow> rows;
    for (size_t i = 0; i < slotCount; ++i) {
        if (_rowAt(i) != TSettingsChoices::RowCount) rows.push_back(_rowAt(i));
    }
    return rows;
}

std::string TSettingsTool::_shownState() const {
    std::string state = std::to_string(TCatalogue::Language());
    for (int32_t r = 0; r < TSettingsChoices::RowCount; ++r) state += '\n' + choices.ValueText(TRow(r));
    return state;
}

void TSettingsTool::_refresh() {
    _lastState = _shownState();
    const auto& nameFont = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    const auto& valueFont = gui->DefaultFont;
    const float room = barWidth - 2 * textPadding;
    // The name over the value, the pair centred in the bar.
    const float nameH = TGUI::FontHeight(nameFont), valueH = TGUI::FontHeight(valueFont);
    const float nameY = -0.5f * valueH, valueY = 0.5f * nameH;
    for (size_t i = 0; i < slotCount; ++i) {
        _texts[i]->Clear();
        const TRow row = _rowAt(i);
        if (row == TSettingsChoices::RowCount) continue;
        PutCentred(*_texts[i], TSettingsChoices::Name(row), nameFont, gui->textCol_default, room, nameY);
        PutCentred(*_texts[i], choices.ValueText(row), valueFont, gui->textCol_dark, room, valueY);
        cmdBars[i]->SetTooltip(TSettingsChoices::Name(row) + TGUIGadget::nextLine + TSettingsChoices::Note(row));
        cmdDown[i]->SetTooltip(Tr("Vorheriger Wert"));
        cmdUp[i]->SetTooltip(Tr("Nächster Wert"));
    }
    _titleText->Clear();
    const float titleRoom = barWidth - 2 * (2 * buttonRadius + gap) - 2 * textPadding;
    const std::string title = Tr("Einstellungen");
    const auto titleFont = TGUI::FittingFont({gui->bigFont, gui->DefaultFont, gui->smallFont}, {title}, titleRoom);
    PutCentred(*_titleText, title, titleFont, gui->textCol_default, titleRoom, 0);
    cmdPrvPage->SetTooltip(Tr("Vorherige Seite"));
    cmdNextPage->SetTooltip(Tr("Nächste Seite"));
    cmdClose->SetTooltip(Tr("Schließen"));
    // Only what is in use shows, and nothing while the panel is closed.
    if (!isVisible()) return;
    for (size_t i = 0; i < slotCount; ++i) {
        const TRow row = _rowAt(i);
        const bool used = row != TSettingsChoices::RowCount;
        Show(cmdBars[i], used);
        Show(cmdDown[i], used && choices.CanStep(row, -1));
        Show(cmdUp[i], used && choices.CanStep(row, +1));
    }
    Show(cmdPrvPage, page > 0);
    Show(cmdNextPage, page < pageCount() - 1);
}

void TSettingsTool::step(TRow row, int32_t direction) {
    if (choices.Step(row, direction)) commands.Changed(TSettingsChoices::Key(row));
    _refresh();
}

void TSettingsTool::cycle(TRow row) {
    if (choices.Cycle(row)) commands.Changed(TSettingsChoices::Key(row));
    _refresh();
}

// --- callbacks -----------------------------------------------------------------------------

int32_t TSettingsTool::_onStepDown(void* context) {
    const auto* s = static_cast<TSlot*>(context);
    if (s && s->tool && s->tool->_rowAt(s->index) != TSettingsChoices::RowCount)
        s->tool->step(s->tool->_rowAt(s->index), -1);
    return 0;
}

int32_t TSettingsTool::_onStepUp(void* context) {
    const auto* s = static_cast<TSlot*>(context);
    if (s && s->tool && s->tool->_rowAt(s->index) != TSettingsChoices::RowCount)
        s->tool->step(s->tool->_rowAt(s->index), +1);
    return 0;
}

int32_t TSettingsTool::_onBar(void* context) {
    const auto* s = static_cast<TSlot*>(context);
    if (s && s->tool && s->tool->_rowAt(s->index) != TSettingsChoices::RowCount)
        s->tool->cycle(s->tool->_rowAt(s->index));
    return 0;
}

int32_t TSettingsTool::_nextPage(void* context) {
    if (auto* t = AsTool(context)) t->nextPage();
    return 0;
}

int32_t TSettingsTool::_previousPage(void* context) {
    if (auto* t = AsTool(context)) t->previousPage();
    return 0;
}

int32_t TSettingsTool::_close(void* context) {
    if (auto* t = AsTool(context)) t->hideTool();
    return 0;
}

#include "gui/TNewGameTool.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "gui/TTextFieldTool.h"
#include "platform/TCatalogue.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TPaths.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "world/THabitantControl.h"
#include "world/TMapPainter.h"

namespace {
TNewGameTool* AsTool(void* context) { return static_cast<TNewGameTool*>(context); }

constexpr float gap = 4.0f;
constexpr float textPadding = 8.0f;
// The rows, top to bottom.
enum TRow : size_t { rowMap, rowSize, rowSeed, rowCity, rowMayor, rowRules, rowMoney };

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

void CollectImages(const std::string& folder, std::vector<std::string>& paths) {
    for (const std::string& entry : ReadDir(TPaths::Resolve(folder))) {
        if (entry == "." || entry == "..") continue;
        const std::string path = folder + "/" + entry;
        if (FileType(TPaths::Resolve(path)) == FILETYPE_DIR) {
            CollectImages(path, paths);
        } else if (EndsWith(entry, ".png")) {
            paths.push_back(path);
        }
    }
}

std::string SizeText(int32_t w, int32_t h) { return std::to_string(w) + " × " + std::to_string(h); }
}  // namespace

std::vector<TNewGameTool::TMapChoice> TNewGameTool::ListMaps(const std::string& folder) {
    std::vector<std::string> paths;
    CollectImages(folder, paths);
    std::sort(paths.begin(), paths.end());
    std::vector<TMapChoice> maps;
    for (const std::string& path : paths) {
        auto pix = LoadPixmap(TPaths::Resolve(path));
        std::string reason;
        if (!pix || pix->width <= 0 || pix->height <= 0 || !pix->pixels) {
            reason = "it is no readable picture";
        } else if (pix->width < minMapSize || pix->height < minMapSize) {
            reason = "it is too small (" + SizeText(pix->width, pix->height) + ", at least " +
                     std::to_string(minMapSize) + ")";
        } else if (pix->width > maxMapSize || pix->height > maxMapSize) {
            reason = "it is too large (" + SizeText(pix->width, pix->height) + ", at most " +
                     std::to_string(maxMapSize) + ")";
        }
        if (!reason.empty()) {
            Print("Map " + path + " left out: " + reason);
            continue;
        }
        TMapChoice m;
        m.path = path;
        const size_t slash = path.find_last_of('/');
        m.name = path.substr(slash + 1, path.size() - slash - 1 - 4);
        m.width = pix->width;
        m.height = pix->height;
        m.pixmap = pix;
        maps.push_back(std::move(m));
    }
    return maps;
}

std::shared_ptr<TNewGameTool> TNewGameTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                   TTextFieldTool* field, TStartFunc start, void* context,
                                                   TMoneyText moneyText, const TNewGame& defaults) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TNewGameTool>();
    t->generate(gui, buttonRadius, field, start, context, moneyText, defaults);
    return t;
}

void TNewGameTool::generate(const std::shared_ptr<TGUI>& g, float r, TTextFieldTool* f, TStartFunc start, void* ctx,
                            TMoneyText money, const TNewGame& defaults) {
    gui = g;
    buttonRadius = r;
    field = f;
    startFunc = start;
    context = ctx;
    moneyText = money;
    choice = defaults;
    barWidth = 14 * r;
    barHeight = 1.6f * r;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    // The preview under the anchor, previous and next under it; the rows to its right.
    const float previewLeft = r + gap, previewTop = r;
    cmdPreview = gui->AddRectButton(previewLeft, previewTop, float(previewSize), float(previewSize), cmdMove.get());
    cmdPreview->SetTooltip(Tr("Nächste Karte"));
    _slots[rowMap] = {this, rowMap};
    cmdPreview->setGameFunc(_onRow, &_slots[rowMap]);
    _previewGroup = vesko::TCGroup::Create();
    if (auto state = TGUI::StateGroup(*cmdPreview, 0)) state->addContent(_previewGroup);
    const float buttonsY = previewTop + float(previewSize) + r + gap;
    const float previewMid = previewLeft + 0.5f * float(previewSize);
    cmdPrv = gui->AddRoundButton(previewMid - 1.5f * r, buttonsY, r, cmdMove.get());
    cmdPrv->setIcon(gui->buttonLeftImg, Tr("Vorherige Karte"));
    cmdPrv->setGameFunc(
        [](void* c) -> int32_t {
            if (auto* t = AsTool(c)) t->nextMap(-1);
            return 0;
        },
        this);
    cmdNext = gui->AddRoundButton(previewMid + 1.5f * r, buttonsY, r, cmdMove.get());
    cmdNext->setIcon(gui->buttonRightImg, Tr("Nächste Karte"));
    cmdNext->setGameFunc(
        [](void* c) -> int32_t {
            if (auto* t = AsTool(c)) t->nextMap(1);
            return 0;
        },
        this);

    const float barX = previewLeft + float(previewSize) + gap + 0.5f * barWidth;
    for (size_t i = 0; i < rowCount; ++i) {
        const float y = previewTop + 0.5f * barHeight + float(i) * (barHeight + gap);
        auto bar = gui->AddBarButton(barX, y, cmdMove.get(), gui->button_BarImg, barWidth, barHeight);
        _slots[i] = {this, i};
        bar->setGameFunc(_onRow, &_slots[i]);
        _texts[i] = vesko::TCGroup::Create();
        for (int32_t s = 0; s < 2; ++s) {
            if (auto state = TGUI::StateGroup(*bar, s)) state->addContent(_texts[i]);
        }
        rows[i] = bar;
    }
    const float lastY = previewTop + float(rowCount) * (barHeight + gap) + r;
    cmdStart = gui->AddRoundButton(barX + 0.5f * barWidth - 3.5f * r, lastY, 1.25f * r, cmdMove.get());
    cmdStart->setIcon(gui->buttonOkImg, Tr("Starten"));
    cmdStart->setGameFunc(
        [](void* c) -> int32_t {
            if (auto* t = AsTool(c)) t->start();
            return 0;
        },
        this);
    cmdClose = gui->AddRoundButton(barX + 0.5f * barWidth - r, lastY, r, cmdMove.get());
    cmdClose->setIcon(gui->buttonCloseImg, Tr("Schließen"));
    cmdClose->setGameFunc(_hideTool, this);
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TNewGameTool::SHOW() {
    maps = ListMaps(mapsFolder);
    // The map chosen before stays chosen while it is there; the start map is the default.
    mapIndex = maps.size();
    for (size_t i = 0; i < maps.size(); ++i) {
        if (maps[i].path == choice.mapPath) mapIndex = i;
    }
    // Without that image (gone, or no map at all) the painted map is chosen.
    if (paintedMap()) choice.mapPath.clear();
    TGUIElement::SHOW();
    _update();
    float l = 0, t = 0, r = 0, b = 0;
    if (GetBounds(l, t, r, b)) {
        const float w = r - l, h = b - t;
        SetPosition(GetX() - l + 0.5f * (float(gui->xmax) - w), GetY() - t + 0.5f * (float(gui->ymax) - h));
    }
    KeepOnScreen(float(gui->xmax), float(gui->ymax));
}

void TNewGameTool::nextMap(int32_t step) {
    // The map images, then the painted map, round again.
    const int32_t count = int32_t(maps.size()) + 1;
    mapIndex = size_t(((int32_t(mapIndex) + step) % count + count) % count);
    choice.mapPath = paintedMap() ? std::string() : maps[mapIndex].path;
    _update();
}

void TNewGameTool::nextSize() {
    if (!paintedMap()) return;
    auto it = std::find(paintedSizes.begin(), paintedSizes.end(), choice.mapSize);
    choice.mapSize = (it == paintedSizes.end() || it + 1 == paintedSizes.end()) ? paintedSizes[0] : *(it + 1);
    _update();
}

void TNewGameTool::nextRules() {
    choice.rules =
        choice.rules == THabitantControl::growthId ? THabitantControl::classicId : THabitantControl::growthId;
    _update();
}

void TNewGameTool::nextMoney() {
    auto it = std::find(moneyLevels.begin(), moneyLevels.end(), choice.money);
    choice.money = (it == moneyLevels.end() || it + 1 == moneyLevels.end()) ? moneyLevels[0] : *(it + 1);
    _update();
}

void TNewGameTool::editText(size_t row) {
    if (!field) return;
    _editedRow = row;
    std::string text, title;
    if (row == rowSeed) {
        text = std::to_string(choice.seed);
        title = Tr("Startwert der Karte (eine Zahl)");
    } else if (row == rowCity) {
        text = choice.cityName;
        title = Tr("Name der Stadt");
    } else {
        text = choice.mayorName;
        title = Tr("Name des Bürgermeisters");
    }
    field->startTool(text, title, Tr("Ok"), Tr("Abbrechen"), _onTextAccepted, this);
}

int32_t TNewGameTool::_onTextAccepted(void* context, const std::string& text) {
    auto* t = AsTool(context);
    return t ? t->acceptText(t->_editedRow, text) : 1;
}

int32_t TNewGameTool::acceptText(size_t row, const std::string& text) {
    std::string s = text;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    if (row == rowSeed) {
        // Any whole number that fits 32 bits is a seed; other text keeps the field open.
        if (s.empty() || s.size() > 10 || s.find_first_not_of("0123456789") != std::string::npos) return 0;
        const unsigned long long v = std::stoull(s);
        if (v > 0xFFFFFFFFull) return 0;
        choice.seed = uint32_t(v);
    } else if (s.empty()) {
        return 0;
    } else if (row == rowCity) {
        choice.cityName = s;
    } else if (row == rowMayor) {
        choice.mayorName = s;
    } else {
        return 0;
    }
    _update();
    return 1;
}

void TNewGameTool::start() {
    if (field && field->isVisible()) field->onCmdCancel();
    if (startFunc) startFunc(context, choice);
}

std::vector<std::string> TNewGameTool::rowTexts() const {
    std::vector<std::string> texts(rowCount);
    if (paintedMap()) {
        texts[rowMap] = Tr("Karte: %1", Tr("Zufällige Karte"));
        texts[rowSize] = Tr("Größe: %1", SizeText(choice.mapSize, choice.mapSize));
    } else {
        texts[rowMap] = Tr("Karte: %1", maps[mapIndex].name);
        texts[rowSize] = Tr("Größe: %1", SizeText(maps[mapIndex].width, maps[mapIndex].height));
    }
    texts[rowSeed] = Tr("Startwert: %1", std::to_string(choice.seed));
    texts[rowCity] = Tr("Stadt: %1", choice.cityName);
    texts[rowMayor] = Tr("Bürgermeister: %1", choice.mayorName);
    const auto rules = THabitantControl::Create(choice.rules);
    texts[rowRules] = Tr("Regeln: %1", rules ? Tr(rules->Name()) : choice.rules);
    const std::string money = moneyText ? moneyText(choice.money) : std::to_string(int64_t(choice.money));
    texts[rowMoney] = Tr("Startgeld: %1", money);
    return texts;
}

void TNewGameTool::UpdateTexts() {
    // Before the panel first opened there is no map list to show.
    if (!maps.empty() || isVisible()) _update();
}

void TNewGameTool::_update() {
    const std::vector<std::string> texts = rowTexts();
    const auto& font = gui->DefaultFont;
    const float left = -0.5f * barWidth + textPadding;
    for (size_t i = 0; i < rowCount; ++i) {
        _texts[i]->Clear();
        const auto& colour = (i == rowSize && !paintedMap()) ? gui->textCol_light : gui->textCol_default;
        _texts[i]->addContent(TGUI::PlacedText(TGUI::FitText(texts[i], font.get(), barWidth - 2 * textPadding), font,
                                               colour, left, -0.5f * TGUI::FontHeight(font)));
    }
    _updatePreview();
}

void TNewGameTool::_updatePreview() {
    _previewGroup->Clear();
    std::shared_ptr<TPixmap> map =
        paintedMap() ? TMapPainter::Paint(choice.seed, choice.mapSize) : maps[mapIndex].pixmap;
    auto preview = map ? TMapPainter::Preview(*map, previewSize) : nullptr;
    _previewImage = preview ? TImage::FromPixmap(preview) : nullptr;
    if (auto pic = _previewImage ? vesko::TCPicture::FromImage(_previewImage) : nullptr) {
        pic->FitIn(float(previewSize), float(previewSize), 1);
        _previewGroup->addContent(pic);
    }
}

int32_t TNewGameTool::_onRow(void* context) {
    const auto* s = static_cast<TSlot*>(context);
    if (!s || !s->tool) return 0;
    switch (s->index) {
        case rowMap: s->tool->nextMap(1); break;
        case rowSize: s->tool->nextSize(); break;
        case rowRules: s->tool->nextRules(); break;
        case rowMoney: s->tool->nextMoney(); break;
        default: s->tool->editText(s->index); break;
    }
    return 0;
}

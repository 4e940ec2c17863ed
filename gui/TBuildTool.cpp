#include "gui/TBuildTool.h"

#include <algorithm>
#include <cmath>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "framework/TTouchGUI.h"
#include "gui/TGUI.h"
#include "gui/TStartBuildTool.h"
#include "gui/TStartRoadTool.h"
#include "gui/TTouchMouseTool.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TStreetPlugin.h"
#include "world/TLayer.h"
#include "world/TStreet.h"

namespace {
TBuildTool* AsTool(void* context) { return static_cast<TBuildTool*>(context); }

// Index i of a list of n, wrapped: below 0 to the last, past the end to the first.
int32_t Wrap(int32_t i, size_t n) {
    if (i < 0) return int32_t(n) - 1;
    return size_t(i) >= n ? 0 : i;
}

// The tech level (1 … 5) nearest to `level` whose list holds something, the lower one of two
// as near; `level` itself when it holds something or when every list is empty.
template <typename Levels>
int32_t NearestFilledLevel(const Levels& lists, int32_t level) {
    level = std::clamp(level, 1, int32_t(lists.size()));
    for (int32_t d = 0; d < int32_t(lists.size()); ++d) {
        for (const int32_t n : {level - d, level + d}) {
            if (n >= 1 && n <= int32_t(lists.size()) && !lists[size_t(n - 1)].empty()) return n;
        }
    }
    return level;
}

// Colour, alpha and font of the drawing state, given back when it goes out of scope.
class TKeepInk {
public:
    TKeepInk() : font(DrawState().image_font) {
        GetColor(r, g, b);
        alpha = GetAlpha();
    }
    ~TKeepInk() {
        SetColor(r, g, b);
        SetAlpha(alpha);
        SetImageFont(font);
    }
    TKeepInk(const TKeepInk&) = delete;
    TKeepInk& operator=(const TKeepInk&) = delete;
    float alpha = 1;

private:
    int32_t r = 255, g = 255, b = 255;
    std::shared_ptr<TImageFont> font;
};

template <typename T>
int32_t IndexOf(const std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& item) {
    const auto it = std::find(list.begin(), list.end(), item);
    return item && it != list.end() ? int32_t(it - list.begin()) : -1;
}
}  // namespace

std::shared_ptr<TBuildTool> TBuildTool::Create(const std::shared_ptr<TGUI>& gui, float r,
                                               const std::shared_ptr<TLayer>& layer,
                                               const std::shared_ptr<TTouchMouseTool>& tmt, float viewRadius) {
    auto t = std::make_shared<TBuildTool>();
    t->generate(gui, r, layer, tmt, viewRadius);
    // The legend is drawn with the bubble; it holds the tool weakly, so the leaping copy of a
    // closed panel never draws through a freed tool.
    auto legend = vesko::TCFunc::Load(_drawInfluenceLegend);
    legend->container = std::make_shared<std::weak_ptr<TBuildTool>>(t);
    if (auto bubble = TGUI::StateGroup(*t->infoGadget, 0)) bubble->addContent(legend);
    return t;
}

void TBuildTool::generate(const std::shared_ptr<TGUI>& g, float r, const std::shared_ptr<TLayer>& l,
                          const std::shared_ptr<TTouchMouseTool>& t, float R) {
    gui = g;
    layer = l;
    tmt = t;
    viewGadgetRadius = R;
    buttonRadius = r;
    const TPreviewWindow view = gui->addPreviewWindow(0, 0, R);
    viewGadget = view.gadget;
    viewGadgetColorLayer = view.colorLayer;
    viewGadgetImageLayer = view.imageLayer;
    _mainGadget = viewGadget;

    cmdNext = gui->AddRoundButton(0, 0, r, viewGadget.get());
    cmdNext->setIcon(gui->buttonRightImg, Tr("Nächstes"));
    cmdNext->setGameFunc(_nextBuilding, this);
    cmdPrv = gui->AddRoundButton(0, 0, r, viewGadget.get());
    cmdPrv->setIcon(gui->buttonLeftImg, Tr("Vorheriges"));
    cmdPrv->setGameFunc(_prevBuilding, this);
    sortChildrenAsCircle(*viewGadget, R, r, 90.0f, 0.5f, 1);

    auto bare = gui->root->NewGadget(0, 0, viewGadget->gadget.get(), nullptr, nullptr);
    techLevelParent = TGUIGadget::Create(bare, "");
    for (int32_t i = 0; i < 5; ++i) {
        auto b = gui->AddRoundButton(0, 0, r, techLevelParent.get());
        b->setIcon(gui->techlevelImg[size_t(i)], Tr("Techlevel %1", i + 1));
        b->setGameFunc(_techlevelEvent, this);
        b->gadget->EventFunc = _cmdTechlevelAction;
        cmdTechlevel[size_t(i)] = b;
    }
    // Their parent sits at the preview's centre, so they lie on its rim like previous and next.
    sortChildrenAsCircle(*techLevelParent, R, r, 225.0f, 0.5f, 1);

    infoGadget = gui->addInfoWindow(R + infoGadgetRadius, 0, infoGadgetRadius, viewGadget.get());
    cmdClose = gui->AddRoundButton(0, 0, r, infoGadget.get());
    cmdClose->setIcon(gui->buttonCloseImg, Tr("Gebäudeauswahl schließen"));
    cmdClose->setGameFunc(_closeTool, this);
    cmdBuild = gui->AddRoundButton(0, 0, r, infoGadget.get());
    cmdBuild->setIcon(gui->buttonBuildImg, Tr("Bautool starten"));
    cmdBuild->setGameFunc(_showTouchMouseTool, this);
    // Takes back the last editing command; the tool set gives it the game's undo.
    cmdUndo = gui->AddRoundButton(0, 0, r, infoGadget.get());
    cmdUndo->setIcon(gui->buttonUndoImg, Tr("Rückgängig (Strg+Z)"));
    // Lower right, clear of the text lines.
    // Just outside the bubble at its lower right, so they never cover a line of text.
    sortChildrenAsCircle(*infoGadget, infoGadgetRadius + r, r, 45.0f, 0.5f, 1);

    auto bubble = TGUI::StateGroup(*infoGadget, 0);
    for (auto& line : infoTextLines) {
        line = vesko::TCText::Create("", gui->smallFont);
        if (bubble) bubble->addContent(line);
    }
    SetViewGadgetColor(0);
    selectTechlevel(1);
}

// --- opening and closing -------------------------------------------------------------------

void TBuildTool::startRoadTool(const TRoadLevels& lists) {
    currentMode = RoadToolMode;
    SetViewGadgetColor(10);
    currentTechlevelRoadList = lists;
    // A category never opens on an empty tech level: the nearest level with roads is chosen.
    selectTechlevel(NearestFilledLevel(lists, getSelectedTechlevel()));
    showTool();
}

void TBuildTool::startBuildTool(const TBuildingLevels& lists, int32_t colour) {
    currentMode = BuildToolMode;
    SetViewGadgetColor(colour);
    currentTechlevelBuildingList = lists;
    selectTechlevel(NearestFilledLevel(lists, getSelectedTechlevel()));
    showTool();
}

void TBuildTool::startDestroyTool() {
    currentMode = DestroyToolMode;
    SetViewGadgetColor(11);
    showTool();
}

int32_t TBuildTool::_startRoadTool(void* starter) {
    auto* s = static_cast<TStartRoadTool*>(starter);
    if (s && s->buildTool) s->buildTool->startRoadTool(s->arrStreet);
    return 0;
}

int32_t TBuildTool::_startBuildTool(void* starter) {
    auto* s = static_cast<TStartBuildTool*>(starter);
    if (s && s->buildTool) s->buildTool->startBuildTool(s->arrBuilding, s->color);
    return 0;
}

int32_t TBuildTool::_startDestroyTool(void* tool) {
    if (auto* t = AsTool(tool)) t->startDestroyTool();
    return 0;
}

void TBuildTool::showTool() {
    if (!isVisible() && tmt) {
        if (activeTouchMouseTool) {
            tmt->SHOW();
        } else {
            tmt->HIDE();
        }
    }
    SHOW();
    _showInnerButtons(currentMode != DestroyToolMode, true);
    updateTool();
}

void TBuildTool::hideTool() {
    endTool();
    HIDE();
}

void TBuildTool::HIDE() {
    TGUIElement::HIDE();
    _showInnerButtons(false, false);
}

void TBuildTool::changeState() {
    TGUIElement::changeState();
    if (isVisible()) _showInnerButtons(currentMode != DestroyToolMode, true);
    updateTool();
}

void TBuildTool::endTool() {
    if (layer) layer->EndMode();
    if (tmt) {
        activeTouchMouseTool = tmt->isVisible();
        tmt->HIDE();
    }
}

void TBuildTool::_showInnerButtons(bool techLevels, bool bubbleButtons) {
    for (const auto& b : cmdTechlevel) {
        if (techLevels) {
            b->gadget->SHOW();
        } else {
            b->gadget->HIDE();
        }
    }
    for (const auto& b : {cmdClose, cmdBuild, cmdUndo}) {
        if (bubbleButtons) {
            b->gadget->SHOW();
        } else {
            b->gadget->HIDE();
        }
    }
}

int32_t TBuildTool::_closeTool(void* tool) {
    if (auto* t = AsTool(tool)) t->hideTool();
    return 0;
}

int32_t TBuildTool::_showTouchMouseTool(void* tool) {
    auto* t = AsTool(tool);
    if (t && t->tmt && !t->tmt->isVisible()) t->tmt->SHOW();
    return 0;
}

// --- per frame -----------------------------------------------------------------------------

void TBuildTool::Update() {
    if (isVisible()) updateTool();
}

void TBuildTool::updateTool() {
    if (!layer) return;
    const int32_t level = std::max(getSelectedTechlevel(), 1) - 1;
    if (currentMode == RoadToolMode) {
        currentRoadList = currentTechlevelRoadList[size_t(level)];
        int32_t i = findRoadIndex(currentRoad);
        if (i < 0) {
            setRoad(0);
            i = 0;
        }
        updateRoadGraphic();
        updateRoadInfo(i);
        if (currentRoad && layer->enoughMoneyToBuy(currentRoad->price)) {
            layer->BeginRoadMode(currentRoad, nullptr, nullptr);
        } else {
            layer->EndMode();
        }
    } else if (currentMode == BuildToolMode) {
        currentBuildingList = currentTechlevelBuildingList[size_t(level)];
        int32_t i = findBuildingIndex(currentBuilding);
        if (i < 0) {
            setBuilding(0);
            i = 0;
        }
        updateBuildingGraphic();
        updateBuildingInfo(i);
        if (currentBuilding && layer->enoughMoneyToBuy(float(currentBuilding->price))) {
            layer->BeginBuildMode(currentBuilding, nullptr, nullptr);
        } else {
            layer->EndMode();
        }
    } else {
        updateDestroyGraphic();
        updateDestroyInfo();
        layer->BeginDestroyMode(nullptr, nullptr);
    }
}

// --- choosing ------------------------------------------------------------------------------

void TBuildTool::setRoad(int32_t index) {
    currentRoad = currentRoadList.empty() ? nullptr : currentRoadList[size_t(Wrap(index, currentRoadList.size()))];
}

int32_t TBuildTool::findRoadIndex(const std::shared_ptr<TStreet>& street) const {
    return IndexOf(currentRoadList, street);
}

void TBuildTool::setBuilding(int32_t index) {
    currentBuilding =
        currentBuildingList.empty() ? nullptr : currentBuildingList[size_t(Wrap(index, currentBuildingList.size()))];
}

int32_t TBuildTool::findBuildingIndex(const std::shared_ptr<TPicturePlugin>& plugin) const {
    return IndexOf(currentBuildingList, plugin);
}

void TBuildTool::nextBuilding() {
    if (currentMode == RoadToolMode) {
        setRoad(findRoadIndex(currentRoad) + 1);
    } else if (currentMode == BuildToolMode) {
        setBuilding(findBuildingIndex(currentBuilding) + 1);
    } else if (layer) {
        layer->biggerDestroySize();
    }
    updateTool();
}

void TBuildTool::prevBuilding() {
    if (currentMode == RoadToolMode) {
        setRoad(findRoadIndex(currentRoad) - 1);
    } else if (currentMode == BuildToolMode) {
        setBuilding(findBuildingIndex(currentBuilding) - 1);
    } else if (layer) {
        layer->smallerDestroySize();
    }
    updateTool();
}

int32_t TBuildTool::_nextBuilding(void* tool) {
    if (auto* t = AsTool(tool)) t->nextBuilding();
    return 0;
}

int32_t TBuildTool::_prevBuilding(void* tool) {
    if (auto* t = AsTool(tool)) t->prevBuilding();
    return 0;
}

int32_t TBuildTool::_techlevelEvent(void* tool) {
    if (auto* t = AsTool(tool)) t->techlevelEvent();
    return 0;
}

int32_t TBuildTool::_cmdTechlevelAction(vesko::TTGUIGadget& gadget) {
    // Radio buttons: a hit selects this level and clears its siblings.
    if (gadget.hit && gadget.mode == 0 && gadget.Parent) {
        for (const auto& sibling : gadget.Parent->children->children) {
            sibling->State = 0;
            sibling->_RefreshTouchObjects();
        }
        gadget.State = 1;
        gadget.SetInFront();
    }
    gadget._RefreshTouchObjects();
    return 0;
}

void TBuildTool::selectTechlevel(int32_t n) {
    for (int32_t i = 0; i < 5; ++i) {
        auto& g = *cmdTechlevel[size_t(i)]->gadget;
        g.State = i + 1 == n ? 1 : 0;
        g._RefreshTouchObjects();
    }
}

int32_t TBuildTool::getSelectedTechlevel() const {
    for (int32_t i = 0; i < 5; ++i) {
        if (cmdTechlevel[size_t(i)]->gadget->State) return i + 1;
    }
    return 0;
}

// --- looks ---------------------------------------------------------------------------------

void TBuildTool::SetViewGadgetColor(int32_t n) {
    std::shared_ptr<TImage> TGUI::*border = nullptr;
    switch (n) {
        case 0: border = &TGUI::preview_greenBorderImg; break;
        case 1: border = &TGUI::preview_blueBorderImg; break;
        case 2: border = &TGUI::preview_yellowBorderImg; break;
        case 3: border = &TGUI::preview_greyBorderImg; break;
        case 4: border = &TGUI::preview_parkBorderImg; break;
        case 5: border = &TGUI::preview_awardBorderImg; break;
        case 10: border = &TGUI::preview_roadBorderImg; break;
        case 11: border = &TGUI::preview_destroyBorderImg; break;
        default: break;
    }
    const auto image = border ? (*gui).*border : nullptr;
    viewGadgetColorLayer->img = image;
    if (image) {
        viewGadgetColorLayer->Width = float(image->width);
        viewGadgetColorLayer->Height = float(image->height);
        viewGadgetColorLayer->MidHandle();
        viewGadgetColorLayer->FitIn(2 * viewGadgetRadius, 2 * viewGadgetRadius, 1);
    }
}

void TBuildTool::setIcon(const std::shared_ptr<TImage>& image) {
    if (!image) {
        viewGadgetImageLayer->formation.SetAlpha(0);
        return;
    }
    viewGadgetImageLayer->img = image;
    viewGadgetImageLayer->Width = float(image->width);
    viewGadgetImageLayer->Height = float(image->height);
    const float s = std::sqrt(2.0f) * 0.95f * viewGadgetRadius / float(std::max(image->width, image->height));
    viewGadgetImageLayer->formation.SetScale(s, s);
    // The picture's own handle (its anchor on the map) is undone, so it sits centred.
    viewGadgetImageLayer->SetIntHandle(int32_t(float(image->width) * 0.5f - image->handle_x),
                                       int32_t(float(image->height) * 0.5f - image->handle_y));
    viewGadgetImageLayer->formation.SetAlpha(1.0);
}

const vesko::TCRGBA& TBuildTool::_textColour(int32_t colour) const {
    switch (colour) {
        case Color_Light: return gui->textCol_light;
        case Color_Dark: return gui->textCol_dark;
        case Color_Red: return gui->textCol_red;
        case Color_Green: return gui->textCol_green;
        case Color_Yellow: return gui->textCol_yellow;
        case Color_Blue: return gui->textCol_blue;
        default: return gui->textCol_default;
    }
}

void TBuildTool::clearInfoText() {
    for (int32_t i = 0; i < infoLines; ++i) SetInfoText("", i, Color_Default);
}

void TBuildTool::SetInfoText(const std::string& text, int32_t line, int32_t colour) {
    if (line < 0 || line >= infoLines) return;
    auto& t = *infoTextLines[size_t(line)];
    // One font height apart, the middle line on the bubble's centre; a line too wide for the
    // bubble where it lies is cut with "…".
    const float middle = 0.5f * float(infoLines - 1);
    const float edge = (std::abs(float(line) - middle) + 0.5f) * t.Height;
    const float room =
        2 * std::sqrt(std::max(0.0f, infoGadgetRadius * infoGadgetRadius - edge * edge)) - 2 * infoTextPadding;
    const std::string shown = TGUI::FitText(text, t.imgfont.get(), room);
    if (t.str != shown) {
        t.SetText(shown);
        t.SetIntHandle(int32_t(t.Width * 0.5f), int32_t(t.Height * 0.5f - (float(line) - middle) * t.Height));
    }
    t.formation.rgba = _textColour(colour);
}

void TBuildTool::updateRoadGraphic() { setIcon(currentRoad ? currentRoad->image : nullptr); }

void TBuildTool::updateBuildingGraphic() { setIcon(currentBuilding ? currentBuilding->picture[0] : nullptr); }

void TBuildTool::updateDestroyGraphic() { setIcon(gui->bulldozerImg); }

void TBuildTool::updateRoadInfo(int32_t index) {
    if (!currentRoad) {
        clearInfoText();
        return;
    }
    const TStreet& s = *currentRoad;
    const bool bridges = s.bridgeAble && !s.bridgeImages.empty();
    SetInfoText(std::to_string(index + 1) + "/" + std::to_string(currentRoadList.size()), 0, Color_Light);
    SetInfoText(TrContent(s.plugin ? s.plugin->Name : s.Name), 1, Color_Default);
    std::string price = Tr("Preis: %1", layer->getRealMoney(s.price));
    if (bridges) price += " (" + layer->getRealMoney(s.bridgePrice) + ")";
    SetInfoText(price, 2, layer->enoughMoneyToBuy(s.price) ? Color_Green : Color_Red);
    SetInfoText(Tr("Nahe Wasser: %1", s.plugin ? int32_t(s.plugin->nearWater) : 0), 3, Color_Default);
    SetInfoText(bridges ? Tr("Brücken: %1", s.bridgeImages.size()) : Tr("Keine Brücken vorhanden"), 4, Color_Default);
    // A road piece always takes one field.
    SetInfoText(Tr("Größe: 1*1"), 5, Color_Default);
    for (int32_t i = 6; i < infoLines; ++i) SetInfoText("", i, Color_Default);
}

void TBuildTool::updateBuildingInfo(int32_t index) {
    if (!currentBuilding) {
        clearInfoText();
        return;
    }
    const TPicturePlugin& p = *currentBuilding;
    SetInfoText(std::to_string(index + 1) + "/" + std::to_string(currentBuildingList.size()), 0, Color_Light);
    SetInfoText(TrContent(p.Name), 1, Color_Default);
    SetInfoText(Tr("Preis: %1", layer->getRealMoney(float(p.price))), 2,
                layer->enoughMoneyToBuy(float(p.price)) ? Color_Green : Color_Red);
    SetInfoText(Tr("Unterhalt: %1", layer->getRealMoney(float(p.alimony))), 3, Color_Default);
    SetInfoText(Tr("Größe: %1x%2 Felder", p.SizeX[0], p.SizeY[0]), 4, Color_Default);
    const bool residential = p.structure == TPicturePlugin::TStructure::Residential;
    SetInfoText(residential ? Tr("Bewohner: %1", p.population) : Tr("Arbeiter: %1", p.population), 5, Color_Default);
    SetInfoText(Tr("Autos: %1", p.maxcars), 6, Color_Default);
    SetInfoText(Tr("Bauzeit: %1 Tage", int32_t(p.constructionTime)), 7, Color_Default);
    SetInfoText(p.noroadneeded ? Tr("Auch ohne Straße") : Tr("Straße benötigt"), 8, Color_Default);
}

void TBuildTool::updateDestroyInfo() {
    const int32_t size = layer->getDestroySize();
    SetInfoText(Tr("Größe: %1*%1", size), 0, Color_Default);
    for (int32_t i = 1; i < infoLines; ++i) SetInfoText("", i, Color_Default);
}

// --- influence legend ----------------------------------------------------------------------

bool TBuildTool::influenceLegendShown() const {
    return isVisible() && currentMode == BuildToolMode && currentBuilding && currentBuilding->influenceMask && layer &&
           layer->isBuildMode() && layer->bm_p == currentBuilding;
}

void TBuildTool::drawInfluenceLegend(float x, float y) const {
    if (!influenceLegendShown() || !gui->smallFont) return;
    constexpr float padding = 4, swatch = 10, gap = 5;
    const TKeepInk ink;
    const float a0 = ink.alpha;
    SetImageFont(gui->smallFont);
    const float lineHeight = std::max(TextHeight(""), swatch + 2);
    float textWidth = 0;
    for (const auto& line : influenceLegend) textWidth = std::max(textWidth, TextWidth(Tr(line.text)));
    const float w = 2 * padding + swatch + gap + textWidth;
    const float h = 2 * padding + lineHeight * float(influenceLegend.size());
    // Above the bubble; where the screen's top is too near, below the buttons on its rim.
    // Always on the screen.
    const float left = std::clamp(std::round(x - 0.5f * w), 0.0f, std::max(0.0f, float(gui->xmax) - w));
    float top = std::round(y - infoGadgetRadius - gap - h);
    if (top < 0) top = std::round(y + infoGadgetRadius + 2 * buttonRadius + gap);
    // A dark box keeps the lines readable over any ground.
    SetColor(0, 0, 0);
    SetAlpha(0.6f * a0);
    DrawRect(left, top, w, h);
    SetAlpha(a0);
    float lineY = top + padding;
    for (const auto& line : influenceLegend) {
        SetColor(line.r, line.g, line.b);
        DrawRect(left + padding, std::round(lineY + 0.5f * (lineHeight - swatch)), swatch, swatch);
        SetColor(255, 255, 255);
        DrawText(Tr(line.text), left + padding + swatch + gap, lineY);
        lineY += lineHeight;
    }
}

std::shared_ptr<void> TBuildTool::_drawInfluenceLegend(vesko::TCFunc& content, float x, float y) {
    if (const auto holder = std::static_pointer_cast<std::weak_ptr<TBuildTool>>(content.container)) {
        if (const auto tool = holder->lock()) tool->drawInfluenceLegend(x, y);
    }
    return nullptr;
}

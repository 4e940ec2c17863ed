#include "gui/TGameGUIElements.h"

#include <algorithm>
#include <cmath>

#include "framework/TTouchObject.h"
#include "gui/TBridgeTool.h"
#include "gui/TBuildTool.h"
#include "gui/TBuildingTool.h"
#include "gui/TGUI.h"
#include "gui/THideTool.h"
#include "gui/TLoadTool.h"
#include "gui/TMainTool.h"
#include "gui/TMiniMapTool.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TSaveFolder.h"
#include "gui/TSettingsTool.h"
#include "gui/TStartBuildTool.h"
#include "gui/TStartRoadTool.h"
#include "gui/TStatisticsTool.h"
#include "gui/TTaxTool.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "gui/TTutorialTool.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TKeyMap.h"
#include "settings/TGadgets.h"
#include "world/TBuildingLayer.h"
#include "world/TLayer.h"
#include "world/TStreet.h"

namespace {
TGameGUIElements* AsTools(void* context) { return static_cast<TGameGUIElements*>(context); }

template <void (TGameGUIElements::*Method)()>
int32_t Run(void* context) {
    if (auto* t = AsTools(context)) (t->*Method)();
    return 0;
}
}  // namespace

std::shared_ptr<TGameGUIElements> TGameGUIElements::Create(const TGameCommands& game,
                                                           const std::shared_ptr<TLayer>& layer,
                                                           const std::shared_ptr<TGUI>& gui, TInputSnapshot* event) {
    auto t = std::make_shared<TGameGUIElements>();
    t->game = game;
    t->layer = layer;
    t->gui = gui;
    t->event = event;
    t->generate();
    return t;
}

TGameGUIElements::~TGameGUIElements() { Destroy(); }

void TGameGUIElements::generate() {
    tmt = TTouchMouseTool::Create(gui, button_Radius);
    buildTool = TBuildTool::Create(gui, button_Radius, layer, tmt, viewGadget_Radius);
    buildTool->cmdClose->setKeyAction(KeyOfDigit(9), 0);
    buildTool->cmdUndo->setGameFunc(game.undo, game.game);
    buildTool->cmdPrv->setKeyAction(KeyOfLetter('Y'), 0);
    buildTool->cmdNext->setKeyAction(KeyOfLetter('X'), 0);
    const int32_t techKeys[5] = {KeyOfLetter('R'), KeyOfLetter('T'), KeyOfLetter('Z'), KeyOfLetter('U'),
                                 KeyOfLetter('I')};
    for (size_t i = 0; i < 5; ++i) buildTool->cmdTechlevel[i]->setKeyAction(techKeys[i], 0);
    _prepareBuildObjects();
    textFieldTool = TTextFieldTool::Create(gui, button_Radius, smallButton_Radius, event);
    mmt = TMiniMapTool::Create(gui, button_Radius, layer, game);
    hideTool = THideTool::Create(gui, button_Radius, layer);
    mft = TMultiFunctionalTool::Create(0, 0, gui, smallButton_Radius, button_Radius);
    // Before the menu, whose "Laden" opens it.
    loadTool = TLoadTool::Create(gui, button_Radius, game, layer);
    settingsTool = TSettingsTool::Create(gui, button_Radius, game.settings);
    statisticsTool = TStatisticsTool::Create(gui, button_Radius, layer);
    _fillMenu();
    mainTool = TMainTool::Create(gui, button_Radius, layer, textFieldTool);
    // The inhabitants bar opens and closes the statistics.
    mainTool->statisticsTool = statisticsTool.get();
    statisticsTool->clearOf = mainTool.get();
    bridgeTool = TBridgeTool::Create(gui, button_Radius, viewGadget_Radius);
    buildingTool = TBuildingTool::Create(gui, smallButton_Radius, button_Radius, layer, viewGadget_Radius);
    tutorialTool = TTutorialTool::Create(gui, button_Radius);
    taxTool = TTaxTool::Create(gui, button_Radius, layer, textFieldTool, game);
    // The money bar opens and closes the tax rates.
    mainTool->cmdMoney->setGameFunc(TGUIElement::_changeState, taxTool.get());
    _setConfigs();
}

void TGameGUIElements::_prepareBuildObjects() {
    startRoad = TStartRoadTool::Create(buildTool, TStreet::streets);
    startResidental = TStartBuildTool::Create(buildTool, TBuildingLayer::arrResidentalBuilding, 0);
    startComercial = TStartBuildTool::Create(buildTool, TBuildingLayer::arrComercialBuilding, 1);
    startIndustrial = TStartBuildTool::Create(buildTool, TBuildingLayer::arrIndustrialBuilding, 2);
    startPark = TStartBuildTool::Create(buildTool, TBuildingLayer::arrPublicPark, 4);
    startPublic = TStartBuildTool::Create(buildTool, TBuildingLayer::arrPublicBuilding, 3);
    startAward = TStartBuildTool::Create(buildTool, TBuildingLayer::arrAward, 5);
}

void TGameGUIElements::_fillMenu() {
    struct TEntry {
        std::shared_ptr<TImage> TGUI::*image;
        const char* tooltip;
        TGUIGadget::TGameFunc action;
        int32_t key;
    };
    const TEntry build[] = {
        {&TGUI::buttonRoadRailImg, TrNoop("Verkehrswege"), _runBuildRoad, KeyOfDigit(1)},
        {&TGUI::buttonResidentalImg, TrNoop("Unterkunft"), _runBuildResidentalBuilding, KeyOfDigit(2)},
        {&TGUI::buttonComercialImg, TrNoop("Gewerbe"), _runBuildComercialBuilding, KeyOfDigit(3)},
        {&TGUI::buttonIndustrialImg, TrNoop("Industrie"), _runBuildIndustrialBuilding, KeyOfDigit(4)},
        {&TGUI::buttonParkImg, TrNoop("Parkanlage"), _runBuildParkBuilding, KeyOfDigit(5)},
        {&TGUI::buttonPublicImg, TrNoop("Allgemein"), _runBuildPublicBuilding, KeyOfDigit(6)},
        {&TGUI::buttonAwardImg, TrNoop("Preis"), _runBuildAwardBuilding, KeyOfDigit(7)},
        {&TGUI::buttonBulldozerImg, TrNoop("Abreissen"), _runDestroyMode, KeyOfDigit(8)},
    };
    // Shortcuts answer also while the row is folded in.
    for (const TEntry& e : build)
        mft->addBuildChild((*gui).*e.image, Tr(e.tooltip), e.action, this)->setKeyAction(e.key, 1);

    mft->addViewChild(gui->buttonChangeMinimapImg, Tr("Minimap einblenden"), _toggleMiniMap, this, _miniMapVisible,
                      this);
    mft->addViewChild(gui->buttonHideRCIImg, Tr("Hidetool einblenden"), _toggleHideTool, this, _hideToolVisible, this);
    mft->addViewChild(gui->zoomInImg, Tr("Heranzoomen"), game.zoomIn, game.game);
    mft->addViewChild(gui->zoomOutImg, Tr("Herauszoomen"), game.zoomOut, game.game);
    mft->addViewChild(gui->buttonCenterMapImg, Tr("Map zentrieren"), game.centerMap, game.game)
        ->setKeyAction(KeyOfLetter('C'), 1);
    mft->addViewChild(gui->buttonPhotoImg, Tr("Foto machen"), game.takeScreenShot, game.game)
        ->setKeyAction(KeyOfLetter('P'), 1);
    mft->addViewChild(gui->buttonInfoModeImg, Tr("Infomodus starten"), game.changeInfoModeState, game.game,
                      game.inInfoMode, game.game);
    mft->addViewChild(gui->buttonStatsImg, Tr("Statistik"), TGUIElement::_changeState, statisticsTool.get());

    mft->addOptionsChild(gui->buttonSaveImg, Tr("Speichern"), _runSaveTool, this);
    mft->addOptionsChild(gui->buttonLoadImg, Tr("Laden"), TGUIElement::_changeState, loadTool.get());
    mft->addOptionsChild(gui->buttonSettingsImg, Tr("Einstellungen"), TGUIElement::_changeState, settingsTool.get());
    mft->addOptionsChild(gui->buttonCloseImg, Tr("Beenden"), game.exitGame, game.game);
}

std::vector<std::pair<std::string, TGUIElement*>> TGameGUIElements::Panels() const {
    // The list of saves, the settings and the statistics have no record: they open where they were last left in
    // this game.
    return {{"textfieldtool", textFieldTool.get()}, {"touchmousetool", tmt.get()},
            {"buildtool", buildTool.get()},         {"multifunctionaltool", mft.get()},
            {"maintool", mainTool.get()},           {"minimaptool", mmt.get()},
            {"hidetool", hideTool.get()},           {"bridgetool", bridgeTool.get()},
            {"buildingtool", buildingTool.get()},   {"loadtool", loadTool.get()},
            {"settingstool", settingsTool.get()},   {"statisticstool", statisticsTool.get()}};
}

bool TGameGUIElements::ShownFromRecord(const std::string& name) {
    return name == "multifunctionaltool" || name == "minimaptool" || name == "maintool" || name == "hidetool";
}

void TGameGUIElements::_setConfigs() {
    const float w = float(gui->xmax), h = float(gui->ymax);
    for (const auto& [name, panel] : Panels()) {
        const auto record = TGadgets::Get(name);
        if (!record || !panel) continue;
        // A broken record (outside the screen, not a number) still puts the panel on screen.
        const auto fraction = [](float f) { return std::isfinite(f) ? std::clamp(f, 0.0f, 1.0f) : 0.5f; };
        // Rounded to whole pixels: a place written back as a fraction comes back exactly, not a pixel short.
        panel->SetPosition(std::round(fraction(record->_x) * w), std::round(fraction(record->_y) * h));
        if (ShownFromRecord(name) && record->isVisible()) {
            panel->SHOW();
        } else {
            // Hidden at once, without the leaping copy; the panel's own HIDE then hides what
            // sits deeper (tech levels, keyboard keys, menu rows).
            panel->_mainGadget->gadget->HIDE();
            panel->_mainGadget->gadget->hideChildren();
            panel->HIDE();
        }
        panel->KeepOnScreen(w, h);
    }
    _keepApart(w, h);
    if (const auto record = TGadgets::Get("touchmousetool")) buildTool->activeTouchMouseTool = record->isVisible();
    if (const auto record = TGadgets::Get("textfieldtool")) textFieldTool->setKeyboardVisible(record->isVisible());
    // The info bubble's place is kept relative to the build tool.
    if (const auto record = TGadgets::Get("buildtoolinfo")) {
        const auto inside = [](float f) { return std::isfinite(f) ? std::clamp(f, -1.0f, 1.0f) : 0.0f; };
        float bx = inside(record->_x) * w, by = inside(record->_y) * h;
        // On a small screen the same fractions come closer: the bubble never covers the preview.
        const float least = buildTool->viewGadgetRadius + buildTool->infoGadgetRadius;
        const float d = std::hypot(bx, by);
        if (d < least) {
            bx = d > 0 ? bx * least / d : least;
            by = d > 0 ? by * least / d : 0;
        }
        buildTool->infoGadget->gadget->SetPosition(std::round(bx), std::round(by));
    }
    tutorialTool->_mainGadget->gadget->HIDE();
    tutorialTool->_mainGadget->gadget->hideChildren();
}

void TGameGUIElements::_keepApart(float w, float h) {
    struct TBox {
        float l, t, r, b;
        bool Meets(const TBox& o) const { return l < o.r && o.l < r && t < o.b && o.t < b; }
    };
    std::vector<TBox> placed;
    for (const auto& [name, panel] : Panels()) {
        TBox box{};
        if (!panel->isVisible() || !panel->GetBounds(box.l, box.t, box.r, box.b)) continue;
        const auto free = [&](const TBox& b) {
            return std::none_of(placed.begin(), placed.end(), [&](const TBox& p) { return p.Meets(b); });
        };
        if (!free(box)) {
            // The nearest place on a 10-pixel grid where the panel lies on screen and clear of
            // the panels placed before it; it stays where it is when there is none.
            const float bw = box.r - box.l, bh = box.b - box.t;
            float bestX = box.l, bestY = box.t, bestD = -1;
            for (float y = 0; y + bh <= h; y += 10) {
                for (float x = 0; x + bw <= w; x += 10) {
                    const float d = (x - box.l) * (x - box.l) + (y - box.t) * (y - box.t);
                    if ((bestD < 0 || d < bestD) && free({x, y, x + bw, y + bh})) {
                        bestD = d;
                        bestX = x;
                        bestY = y;
                    }
                }
            }
            if (bestD >= 0) {
                panel->_mainGadget->gadget->move(bestX - box.l, bestY - box.t);
                box = {bestX, bestY, bestX + bw, bestY + bh};
            }
        }
        placed.push_back(box);
    }
}

void TGameGUIElements::Relayout(float oldW, float oldH) {
    const float w = float(gui->xmax), h = float(gui->ymax);
    if (!(oldW > 0) || !(oldH > 0) || w <= 0 || h <= 0) return;
    TGUIGadget::SetScreenSize(gui->xmax, gui->ymax);
    for (const auto& [name, panel] : Panels()) {
        if (!panel) continue;
        // A panel keeps the place it had before the first of a run of new sizes, so one pushed
        // aside on a small screen goes back when the screen grows again.
        auto place = relayoutPlaces.find(name);
        if (place == relayoutPlaces.end())
            place = relayoutPlaces.emplace(name, std::pair{panel->GetX() / oldW, panel->GetY() / oldH}).first;
        panel->SetPosition(std::round(place->second.first * w), std::round(place->second.second * h));
        panel->KeepOnScreen(w, h);
    }
    _keepApart(w, h);
}

void TGameGUIElements::_getConfigs() {
    const float w = float(gui->xmax), h = float(gui->ymax);
    for (const auto& [name, panel] : Panels()) {
        const auto record = TGadgets::Get(name);
        if (!record || !panel) continue;
        record->Set(panel->GetX(), panel->GetY(), w, h);
        if (name == "touchmousetool") {
            record->setVisible(buildTool->activeTouchMouseTool);
        } else if (name == "textfieldtool") {
            record->setVisible(textFieldTool->isKeyboardVisible());
        } else if (ShownFromRecord(name)) {
            record->setVisible(panel->isVisible());
        }
    }
    if (const auto record = TGadgets::Get("buildtoolinfo")) {
        record->Set(buildTool->infoGadget->gadget->x, buildTool->infoGadget->gadget->y, w, h);
    }
}

void TGameGUIElements::Update(TTouchPoints touchPoints, const std::vector<int32_t>& tooltipPos,
                              const std::vector<std::string>& lines, const std::string& id,
                              TGUIGadget::TKeyHits keyHits) {
    gui->drawAll(tooltipPos, lines, id);
    textFieldTool->Update();
    mmt->Update();
    buildTool->Update();
    mft->Update();
    mainTool->Update();
    buildingTool->Update();
    taxTool->Update();
    settingsTool->Update();
    // Hidden kinds stay hidden while the panel itself is closed.
    hideTool->Update();
    vesko::TTouchObject::Update(touchPoints, 1.0f);
    // While the text field takes the keyboard, typing fires no shortcut.
    gui->updateAll(textFieldTool->haveToGrabKeys() ? TGUIGadget::TKeyHits{} : keyHits);
    const float w = float(gui->xmax), h = float(gui->ymax);
    for (const auto& [name, panel] : Panels()) {
        // A panel being dragged follows the finger; once let go, it is pushed fully on screen.
        if (panel->isVisible() && !panel->_mainGadget->gadget->down) panel->KeepOnScreen(w, h);
        // Dragged or closed, it takes the place it then has at the next new size.
        if (!panel->isVisible() || panel->_mainGadget->gadget->down) relayoutPlaces.erase(name);
    }
}

void TGameGUIElements::Destroy() {
    for (TGUIElement* panel : std::initializer_list<TGUIElement*>{
             tmt.get(), buildTool.get(), textFieldTool.get(), mmt.get(), hideTool.get(), mft.get(), mainTool.get(),
             bridgeTool.get(), buildingTool.get(), tutorialTool.get(), taxTool.get(), loadTool.get(),
             settingsTool.get(), statisticsTool.get()}) {
        if (panel) panel->Destroy();
    }
    for (const auto& starter : {startResidental, startComercial, startIndustrial, startPark, startPublic, startAward}) {
        if (starter) starter->Destroy();
    }
    if (startRoad) startRoad->Destroy();
    tmt.reset();
    buildTool.reset();
    textFieldTool.reset();
    mmt.reset();
    hideTool.reset();
    mft.reset();
    mainTool.reset();
    bridgeTool.reset();
    buildingTool.reset();
    tutorialTool.reset();
    taxTool.reset();
    loadTool.reset();
    settingsTool.reset();
    statisticsTool.reset();
}

// --- building ------------------------------------------------------------------------------

void TGameGUIElements::runBuildRoad() { TBuildTool::_startRoadTool(startRoad.get()); }
void TGameGUIElements::runBuildResidentalBuilding() { TBuildTool::_startBuildTool(startResidental.get()); }
void TGameGUIElements::runBuildComercialBuilding() { TBuildTool::_startBuildTool(startComercial.get()); }
void TGameGUIElements::runBuildIndustrialBuilding() { TBuildTool::_startBuildTool(startIndustrial.get()); }
void TGameGUIElements::runBuildParkBuilding() { TBuildTool::_startBuildTool(startPark.get()); }
void TGameGUIElements::runBuildPublicBuilding() { TBuildTool::_startBuildTool(startPublic.get()); }
void TGameGUIElements::runBuildAwardBuilding() { TBuildTool::_startBuildTool(startAward.get()); }
void TGameGUIElements::runDestroyMode() { TBuildTool::_startDestroyTool(buildTool.get()); }

void TGameGUIElements::runBuildingInfoTool(const std::shared_ptr<TBuilding>& building) {
    if (buildingTool) buildingTool->startBuildingTool(building);
}

// The world may still report roads while the game ends, after the panels are gone.
void TGameGUIElements::runChooseBridge(const std::vector<std::shared_ptr<TRoad>>& roads) {
    if (bridgeTool) bridgeTool->startTool(roads);
}

void TGameGUIElements::callRoadRemoved(const std::vector<std::shared_ptr<TRoad>>& roads) {
    if (bridgeTool) bridgeTool->roadRemoved(roads);
}

int32_t TGameGUIElements::_runChooseBridge(void* c, const std::vector<std::shared_ptr<TRoad>>& roads) {
    if (auto* t = AsTools(c)) t->runChooseBridge(roads);
    return 1;
}

int32_t TGameGUIElements::_callRoadRemoved(void* c, const std::vector<std::shared_ptr<TRoad>>& roads) {
    if (auto* t = AsTools(c)) t->callRoadRemoved(roads);
    return 1;
}

int32_t TGameGUIElements::_runBuildRoad(void* c) { return Run<&TGameGUIElements::runBuildRoad>(c); }
int32_t TGameGUIElements::_runBuildResidentalBuilding(void* c) {
    return Run<&TGameGUIElements::runBuildResidentalBuilding>(c);
}
int32_t TGameGUIElements::_runBuildComercialBuilding(void* c) {
    return Run<&TGameGUIElements::runBuildComercialBuilding>(c);
}
int32_t TGameGUIElements::_runBuildIndustrialBuilding(void* c) {
    return Run<&TGameGUIElements::runBuildIndustrialBuilding>(c);
}
int32_t TGameGUIElements::_runBuildParkBuilding(void* c) { return Run<&TGameGUIElements::runBuildParkBuilding>(c); }
int32_t TGameGUIElements::_runBuildPublicBuilding(void* c) { return Run<&TGameGUIElements::runBuildPublicBuilding>(c); }
int32_t TGameGUIElements::_runBuildAwardBuilding(void* c) { return Run<&TGameGUIElements::runBuildAwardBuilding>(c); }
int32_t TGameGUIElements::_runDestroyMode(void* c) { return Run<&TGameGUIElements::runDestroyMode>(c); }

int32_t TGameGUIElements::_toggleMiniMap(void* c) {
    if (auto* t = AsTools(c)) t->mmt->changeState();
    return 0;
}

int32_t TGameGUIElements::_miniMapVisible(void* c) {
    auto* t = AsTools(c);
    return t && t->mmt->isVisible() ? 1 : 0;
}

int32_t TGameGUIElements::_toggleHideTool(void* c) {
    if (auto* t = AsTools(c)) t->hideTool->changeState();
    return 0;
}

int32_t TGameGUIElements::_hideToolVisible(void* c) {
    auto* t = AsTools(c);
    return t && t->hideTool->isVisible() ? 1 : 0;
}

// --- saving --------------------------------------------------------------------------------

void TGameGUIElements::runSaveTool() {
    if (!textFieldTool || !layer) return;
    _overwriteAsked.clear();
    textFieldTool->startTool(layer->getCityName(), Tr("Spielstand speichern"), Tr("Speichern"), "", _saveWithName,
                             this);
}

int32_t TGameGUIElements::saveWithName(const std::string& name) {
    const std::vector<uint32_t> chars = TCharset::Decode(name);
    if (std::all_of(chars.begin(), chars.end(), [](uint32_t cp) { return cp == ' ' || cp == 0xA0; })) {
        game.message(Tr("Bitte einen Namen eingeben"));
        return 0;
    }
    const std::string safe = TSaveFolder::SafeName(name);
    // An existing save is written over only when OK comes twice for the same file.
    if (TSaveFolder::Exists(safe) && _overwriteAsked != safe) {
        _overwriteAsked = safe;
        game.message(Tr("Spielstand „%1“ gibt es schon – nochmal Speichern zum Überschreiben", safe));
        return 0;
    }
    _overwriteAsked.clear();
    if (game.saveGame) game.saveGame(game.game, name);
    return 1;
}

int32_t TGameGUIElements::_runSaveTool(void* c) { return Run<&TGameGUIElements::runSaveTool>(c); }

int32_t TGameGUIElements::_saveWithName(void* c, const std::string& name) {
    auto* t = AsTools(c);
    return t ? t->saveWithName(name) : 1;
}

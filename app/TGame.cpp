#include "app/TGame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TDayLine.h"
#include "app/TEventReceiver.h"
#include "app/TGameArea.h"
#include "app/TSoundDirector.h"
#include "framework/TMoneyText.h"
#include "framework/TTouchObject.h"
#include "gui/TGUI.h"
#include "gui/TGameCommands.h"
#include "gui/TGameGUIElements.h"
#include "gui/TSaveFolder.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "platform/TCatalogue.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TInput.h"
#include "platform/TGraphics.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TPaths.h"
#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TSettings.h"
#include "world/TBuildCommand.h"
#include "world/TBuilding.h"
#include "world/TCheat.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TISO.h"
#include "world/TMapPainter.h"
#include "world/TRoad.h"
#include "world/TRoadCommand.h"
#include "world/TStreet.h"
#include "world/TTree.h"

namespace {
const char* const dayNames[7] = {TrNoop("Mo."), TrNoop("Di."), TrNoop("Mi."), TrNoop("Do."),
                                 TrNoop("Fr."), TrNoop("Sa."), TrNoop("So.")};

TGame* AsGame(void* context) { return static_cast<TGame*>(context); }

// Pans the camera; where the whole pan would take the view's centre off the map, each direction
// is tried alone, so the map slides along its edge instead of stopping.
void PanAlongEdge(TLayer& layer, float dx, float dy) {
    const float x0 = layer.iso->moveX, y0 = layer.iso->moveY;
    layer.Move(dx, dy);
    if (layer.iso->moveX != x0 || layer.iso->moveY != y0) return;
    layer.Move(dx, 0);
    layer.Move(0, dy);
}
}  // namespace

// --- creation ------------------------------------------------------------------------------

std::shared_ptr<TGame> TGame::CreateFromImage(TApplication* app, const std::string& url) {
    if (!app) return nullptr;
    // A generator of the world's own from the seed alone, so a recorded game can be played again.
    auto layer = TLayer::LoadFromImage(url, vesko::TFastRandom::Create(app->seed));
    if (!layer) return nullptr;
    return Create(layer, app);
}

std::shared_ptr<TGame> TGame::CreateNew(TApplication* app, const TNewGame& choice) {
    auto layer = TLayer::LoadFromMap(choice.mapPath.empty() ? TMapPainter::Spec(choice.mapSize) : choice.mapPath,
                                     vesko::TFastRandom::Create(int32_t(choice.seed)), choice.seed);
    if (!layer) return nullptr;
    auto game = Create(layer, app);
    layer->setCityName(choice.cityName);
    layer->setMayorName(choice.mayorName);
    layer->setMoney(choice.money);
    if (auto rules = THabitantControl::Create(choice.rules)) layer->habitantPool->hbtCrtl = rules;
    return game;
}

std::shared_ptr<TGame> TGame::Create(const std::shared_ptr<TLayer>& layer, TApplication* app) {
    auto g = std::make_shared<TGame>();
    g->generate(layer, app);
    return g;
}

std::shared_ptr<TGame> TGame::CreateLoaded(const std::shared_ptr<TLayer>& layer, TApplication* app) {
    if (!layer) return nullptr;
    layer->MakeCurrent();
    auto g = std::make_shared<TGame>();
    g->generate(layer, app, 0);
    return g;
}

TGame::~TGame() {
    // A game that never ran its loop still releases its GUI and world.
    if (guiElements) guiElements->Destroy();
    if (layer) layer->Destroy();
    // A loaded city nobody started is freed the same way.
    if (nextWorld) nextWorld->Destroy();
}

int32_t TGame::generate(const std::shared_ptr<TLayer>& l, TApplication* a, int32_t freshCity) {
    app = a;
    listLayerInfos.clear();
    layer = l;
    if (freshCity) {
        layer->setCityName("Vallmora City");
        layer->setMayorName("Vesko");
        layer->midPosition(0);
        layer->setMoney(startMoney);
        layer->habitantPool->hbtCrtl = RulesFromSettings();
    }
    layer->setEnoughMoneyToBuyFunc(_enoughMoneyToBuy, this);
    layer->setExpendMoneyFunc(_expendMoney, this);
    layer->setGetRealMoneyFunc(_getRealMoney, this);
    layer->setGetRealDateFunc(_getRealDate, this);
    layer->setShowMoneyFunc(_showMoneyInfo, this);
    layer->setRefusedFunc(_refused, this);
    layer->setMilestoneFunc(_milestone, this);
    layer->setEditedFunc(_edited, this);
    layer->setFinishedFunc(_finished, this);
    // The game area first, so it lies behind every gadget; without GUI resources (the
    // headless tests) the whole screen is map.
    if (app && app->gui) {
        gameArea = TGameArea::Create(app->gui->xmax, app->gui->ymax);
        guiElements = TGameGUIElements::Create(Commands(), layer, app->gui, app->event.get());
        layer->setChooseBridgeFunc(TGameGUIElements::_runChooseBridge, guiElements.get());
        layer->AddOnRoadDestroyedFunc(TGameGUIElements::_callRoadRemoved, guiElements.get());
    }
    startProgrammingCheats();
    if (app && app->event) app->event->RemoveAllActions();
    return 1;
}

std::shared_ptr<THabitantControl> TGame::RulesFromSettings() {
    if (auto rules = THabitantControl::Create(TSettings::RuleSet)) return rules;
    Print("options.cfg: \"Rule set\" = " + TSettings::RuleSet + " is unknown (classic or growth), using growth");
    return THabitantControl::Create(THabitantControl::growthId);
}

// --- loop ----------------------------------------------------------------------------------

void TGame::run() {
    if (app->timeDemoFrames > 0) {
        timeDemo = std::make_unique<TTimeDemo>(app->timeDemoFrames);
        app->Sync = 0;  // as fast as it can, not at the display's rate
    }
    while (_haveToBeStopped == 0) {
        const auto start = std::chrono::steady_clock::now();
        const uint64_t calls = TSpriteBatch::Instance().DeviceCalls();
        _updateKeys();
        _render();
        gameSpeed = layer->getTimeSpeed();
        if (timeDemo) {
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (timeDemo->Frame(ms, TSpriteBatch::Instance().DeviceCalls() - calls)) {
                Print(timeDemo->Report(app->xmax, app->ymax));
                _haveToBeStopped = 1;
            }
        }
    }
    onExit();
}

void TGame::_updateKeys() {
    // While a text field is open, Escape closes it, never the game: the field reads it itself
    // while it holds the keyboard, and is closed from here while another panel lies in front.
    TTextFieldTool* field = guiElements ? guiElements->textFieldTool.get() : nullptr;
    if (field && field->isVisible()) {
        if (app->event->KeyHit(KEY_ESCAPE) && !field->haveToGrabKeys()) field->onCmdCancel();
    } else if (app->event->KeyHit(KEY_ESCAPE)) {
        _stop();
    }
    if (app->event->AppTerminate()) {
        windowClosed = 1;
        _stop();
    }
    // Ctrl+Z takes back the last editing command (in a text field it does nothing); its Z is then
    // no shortcut of a panel.
    if (app->event->GetChar().find(char(TInput::charCtrlZ)) != std::string::npos) {
        if (!field || !field->isVisible()) undoCommand();
        app->event->_kh[size_t(keyZ - 1)] = 0;
    }
    // F11 or Alt+Enter: full screen at the desktop's size and back.
    if (app->event->KeyHit(KEY_F11) || (app->event->KeyDown(KEY_ALT) && app->event->KeyHit(KEY_ENTER)))
        TGraphics::SetFullscreen(!TGraphics::IsFullscreen());
    if (app->event->KeyDown(KEY_F1)) _writeDemandLines();
    if (app->event->KeyHit(KEY_F1)) openConsole();
}

void TGame::_updateWindowSize() {
    if (!app || laidOutGeneration == app->sizeGeneration) return;
    laidOutGeneration = app->sizeGeneration;
    const int32_t w = app->xmax, h = app->ymax;
    // Worlds made from now on (a city loaded, a new game) start with the window's size.
    TLayer::Init(w, h);
    if (layer) layer->SetViewSize(w, h);
    if (app->gui) {
        // The panels live in interface units.
        const float oldGuiW = float(app->gui->xmax), oldGuiH = float(app->gui->ymax);
        app->gui->xmax = TInterfaceSpace::Width();
        app->gui->ymax = TInterfaceSpace::Height();
        if (gameArea) gameArea->generate(app->gui->xmax, app->gui->ymax);
        if (guiElements) guiElements->Relayout(oldGuiW, oldGuiH);
    }
}

void TGame::openConsole() {
    if (!guiElements) return;
    guiElements->textFieldTool->startTool("", Tr("Konsole"), "", "", _cheatCallback, this);
}

void TGame::_writeDemandLines() {
    if (!layer || !layer->habitantPool) return;
    for (int32_t level = 1; level <= THabitantPool::countTechlevel; ++level) {
        const int32_t percent = static_cast<int32_t>(layer->habitantPool->getRequestForLvl(level) * 100.0f);
        app->writeToStdOut(Tr("Nachfrage nach Level %1: %2%", level, percent));
    }
}

void TGame::_printDay() {
    if (!app || layer->currentDay == printedDay) return;
    printedDay = layer->currentDay;
    if (app->printDays) Print("day " + TDayLine::Of(*layer));
    // When the city stops growing the player is told why, once until the reason changes.
    const std::string note = layer->habitantPool->hbtCrtl->growthNote(*layer->habitantPool);
    if (note != growthNote && !note.empty()) ShowMessage(note);
    growthNote = note;
}

TGameCommands TGame::Commands() {
    TGameCommands c;
    c.game = this;
    c.zoomIn = _zoomIn;
    c.zoomOut = _zoomOut;
    c.exitGame = _exitGame;
    c.centerMap = _centerMap;
    c.takeScreenShot = _takeScreenShot;
    c.changeInfoModeState = _changeInfoModeState;
    c.inInfoMode = _inInfoMode;
    c.undo = _undoCommand;
    c.saveGame = _saveGame;
    c.loadGame = _loadGame;
    c.showMessage = _showMessage;
    if (app) c.settings = app->SettingsCommands();
    return c;
}

void TGame::_render() {
    _updateWindowSize();
    _simulate();
    _updateLayer();
    _updateSound();
    _updateAutosave();
    _printDay();
    ShowMoneyInfo();
    if (guiElements) {
        const auto& points = app->event->TouchPoints();
        std::vector<int32_t> tooltipPos = getTooltipMousePos(0);
        for (int32_t& v : tooltipPos) v = int32_t(TInterfaceSpace::ToUnits(float(v)));
        TInterfaceSpace units;
        interfaceCache.Begin();
        guiElements->Update({points.begin(), points.size()}, tooltipPos, alternateTooltipp, alternateTooltippId,
                            app->event->_kh);
        interfaceCache.End();
    }
    _drawMessage();
    alternateTooltipp.clear();
    alternateTooltippId.clear();
    _updateRightClickMovement();
    _updateMouseWheelZoom();
    _updateMouseInCornerMovement();
    _updateKeyMovement();
    _updateInfoMode();
    _updateModeReason();
    app->render(1, 1, timeDemo ? 0 : 1, 1, 1, 1);
    _updateAfterRendering();
}

void TGame::_simulate() {
    for (int32_t n = stepper.StepsFor(uint32_t(Millisecs())); n > 0; --n) {
        layer->Simulate();
        _printDay();
    }
}

void TGame::_updateLayer() {
    // The touch pointer, while shown, stands in for the mouse; it never lies over the GUI.
    const std::vector<float> spot = guiElements ? guiElements->tmt->getArrPosition() : std::vector<float>{};
    if (spot.size() == 2) {
        layer->Update(int32_t(TInterfaceSpace::ToPixels(spot[0])), int32_t(TInterfaceSpace::ToPixels(spot[1])),
                      guiElements->tmt->hitEvent(), 0);
        return;
    }
    const int32_t x = MouseX();
    const int32_t y = MouseY();
    layer->Update(x, y, MouseHit(1), PointerOverGUI(x, y));
}

int32_t TGame::PointerOverGUI(int32_t x, int32_t y) const {
    return gameArea && !gameArea->isOver(TInterfaceSpace::ToUnits(float(x)), TInterfaceSpace::ToUnits(float(y))) ? 1
                                                                                                                 : 0;
}

void TGame::onExit() {
    if (sound()) sound()->Silence();
    // Leaving never loses the city: it is kept as the autosave, the one before moved aside.
    if (layer) autosave();
    if (recorder && layer) recorder->End(layer->Steps());
    recorder.reset();
    saveGadgetSettings();
    if (guiElements) guiElements->Destroy();
    gameArea.reset();
    if (layer) layer->Destroy();
    layer.reset();
    // The tool set outlives the world, which holds it as the context of its road callbacks.
    guiElements.reset();
}

void TGame::saveGadgetSettings() {
    if (guiElements) guiElements->_getConfigs();
    TLayer::SaveGagdgetSettings();
}

// --- pointer -------------------------------------------------------------------------------

int32_t TGame::MouseX() const { return app && app->event ? app->event->MouseX() : 0; }

int32_t TGame::MouseY() const { return app && app->event ? app->event->MouseY() : 0; }

int32_t TGame::MouseHit(int32_t button) const {
    // A click on a panel is the panel's, not the map's.
    if (!app || !app->event || !app->event->MouseHit(button)) return 0;
    return PointerOverGUI(MouseX(), MouseY()) ? 0 : 1;
}

std::vector<int32_t> TGame::getTooltipMousePos(int32_t force) const {
    if (!force && app && app->event && (app->event->MouseDown(1) || app->event->MouseDown(2))) return {};
    return {MouseX(), MouseY()};
}

// --- world services ------------------------------------------------------------------------

int32_t TGame::enoughMoneyToBuy(float cost) const {
    return (layer && (layer->getMoney() - cost >= 0.0f || cost <= 0.0f)) ? 1 : 0;
}

int32_t TGame::expendMoney(float cost) {
    if (!enoughMoneyToBuy(cost)) return 0;
    layer->setMoney(layer->getMoney() - cost);
    return 1;
}

std::string TGame::GetRealMoney(float amount) {
    const std::string s = vesko::TMoneyText::Digits(amount);
    const size_t dot = s.find('.');
    // Group the integer digits by three, counted leftwards from the decimal point.
    const size_t intEnd = dot == std::string::npos ? s.size() : dot;
    size_t intStart = 0;
    while (intStart < intEnd && (s[intStart] < '0' || s[intStart] > '9')) ++intStart;
    std::string grouped = s.substr(0, intStart);
    const std::string digits = s.substr(intStart, intEnd - intStart);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    grouped += s.substr(intEnd);
    // English keeps "1,000.50"; German swaps the separators ("1.000,50").
    if (TCatalogue::Language() == TCatalogue::english) return grouped;
    for (char& c : grouped) {
        if (c == '.') {
            c = ',';
        } else if (c == ',') {
            c = '.';
        }
    }
    return grouped;
}

std::string TGame::GetRealDate(int32_t weekday, int32_t day, int32_t month, int32_t year) {
    const int32_t w = ((weekday % 7) + 7) % 7;
    return Tr("%1 %2.%3. Jahr %4", Tr(dayNames[w]), day, month, year);
}

void TGame::AddShowMoneyInfo(const TLayer::TThing& thing, float amount) {
    TBuildingMoneyInfo info;
    info.money = amount;
    info.thing = thing;
    info.text = GetRealMoney(amount);
    if (amount > 0) {
        info.r = 50, info.g = 255, info.b = 50;
    } else if (amount == 0) {
        info.r = 255, info.g = 255, info.b = 50;
    } else {
        info.r = 255, info.g = 50, info.b = 50;
    }
    info.ms = Millisecs();
    listLayerInfos.push_back(std::move(info));
}

void TGame::ShowMoneyInfo() {
    if (listLayerInfos.empty() || !layer || !layer->iso) return;
    const int32_t now = Millisecs();
    std::shared_ptr<TImageFont> font = app && app->gui ? app->gui->DefaultFont : nullptr;
    SetImageFont(font);
    // Texts of the interface: placed over the map point, drawn at the interface's scale.
    TInterfaceSpace units;
    SetBlend(ALPHABLEND);
    // Only the pop-ups on screen are drawn (all live on): at a month's change a big city has one
    // per building, nearly all of them elsewhere on the map.
    const float screenW = TInterfaceSpace::ToUnits(float(TGraphics::GraphicsWidth()));
    const float screenH = TInterfaceSpace::ToUnits(float(TGraphics::GraphicsHeight()));
    std::vector<TBuildingMoneyInfo> kept;
    for (const auto& info : listLayerInfos) {
        // Buildings and roads give their tile (and a building its symbol point) once they exist.
        float mx = 0, my = 0;
        layer->getPosOfThis(info.thing, mx, my);
        float sx = 0, sy = 0;
        layer->iso->ToIso(mx, my, sx, sy);
        sx = TInterfaceSpace::ToUnits(sx);
        sy = TInterfaceSpace::ToUnits(sy);
        const float t = float(now - info.ms) / popupLifeMS;
        if (t < 1.0f) kept.push_back(info);
        const float alpha = std::clamp(1.0f - t, 0.0f, 1.0f);
        const float w = TextWidth(info.text), h = TextHeight(info.text);
        const float x = sx - 0.5f * w;
        const float y = sy - t * popupRise - 0.5f * h;
        if (x + w + 1 < 0 || y + h + 1 < 0 || x - 1 > screenW || y - 1 > screenH) continue;
        SetAlpha(alpha);
        SetColor(0, 0, 0);
        for (int32_t dx = -1; dx <= 1; ++dx) {
            for (int32_t dy = -1; dy <= 1; ++dy) {
                if (dx != 0 || dy != 0) DrawText(info.text, x + float(dx), y + float(dy));
            }
        }
        SetColor(info.r, info.g, info.b);
        DrawText(info.text, x, y);
    }
    listLayerInfos = std::move(kept);
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
}

int32_t TGame::_enoughMoneyToBuy(void* context, float cost) {
    auto* g = AsGame(context);
    return g ? g->enoughMoneyToBuy(cost) : 0;
}

int32_t TGame::_expendMoney(void* context, float cost) {
    auto* g = AsGame(context);
    return g ? g->expendMoney(cost) : 0;
}

std::string TGame::_getRealMoney(void* context, float amount) { return context ? GetRealMoney(amount) : ""; }

std::string TGame::_getRealDate(void* context, int32_t weekday, int32_t day, int32_t month, int32_t year) {
    return context ? GetRealDate(weekday, day, month, year) : "";
}

int32_t TGame::_showMoneyInfo(void* context, float amount, const TLayer::TThing& thing) {
    auto* g = AsGame(context);
    if (!g) return 0;
    g->AddShowMoneyInfo(thing, amount);
    return 1;
}

// --- commands ------------------------------------------------------------------------------

void TGame::zoomIn() { layer->zoomIn(1.0f); }

void TGame::zoomOut() { layer->zoomOut(1.0f); }

void TGame::centerMap() { layer->midPosition(1); }

int32_t TGame::_zoomIn(void* context) {
    if (auto* g = AsGame(context)) g->zoomIn();
    return 0;
}

int32_t TGame::_zoomOut(void* context) {
    if (auto* g = AsGame(context)) g->zoomOut();
    return 0;
}

int32_t TGame::_exitGame(void* context) {
    if (auto* g = AsGame(context)) g->gameExit();
    return 0;
}

int32_t TGame::_centerMap(void* context) {
    if (auto* g = AsGame(context)) g->centerMap();
    return 0;
}

int32_t TGame::_takeScreenShot(void* context) {
    if (auto* g = AsGame(context)) g->takeScreenShot();
    return 0;
}

int32_t TGame::_changeInfoModeState(void* context) {
    if (auto* g = AsGame(context)) g->changeInfoModeState();
    return 0;
}

int32_t TGame::_inInfoMode(void* context) {
    auto* g = AsGame(context);
    return g ? g->inInfoMode() : 0;
}

void TGame::undoCommand() {
    if (!layer) return;
    const std::string what = layer->UndoCommand();
    ShowMessage(what.empty() ? Tr("Nichts rückgängig zu machen") : Tr("Rückgängig: %1", what));
}

int32_t TGame::_undoCommand(void* context) {
    if (auto* g = AsGame(context)) g->undoCommand();
    return 0;
}

void TGame::_refused(void* context, const std::string& reason) {
    auto* g = AsGame(context);
    if (!g) return;
    g->ShowMessage(reason);
    if (g->sound()) g->sound()->Interface(TSoundDirector::Refused);
}

// --- sound ---------------------------------------------------------------------------------

TSoundDirector* TGame::sound() const { return app ? app->sound.get() : nullptr; }

void TGame::soundAt(int32_t id, float mapX, float mapY) {
    if (!sound() || !layer || !layer->iso) return;
    float sx = 0, sy = 0;
    layer->iso->ToIso(mapX, mapY, sx, sy);
    sound()->AtPlace(TSoundDirector::TSoundId(id), sx, float(layer->viewWidth), layer->iso->ScaleX,
                     layer->getGameSpeed() == 0.0f);
}

void TGame::_edited(void* context, const TEditCommand& command) {
    auto* g = AsGame(context);
    if (!g) return;
    int32_t x = 0, y = 0, w = 0, h = 0;
    command.Area(x, y, w, h);
    const int32_t id = dynamic_cast<const TRoadCommand*>(&command)    ? TSoundDirector::Road
                       : dynamic_cast<const TBuildCommand*>(&command) ? TSoundDirector::Build
                                                                      : TSoundDirector::Demolish;
    g->soundAt(id, float(x) + 0.5f * float(w), float(y) + 0.5f * float(h));
}

void TGame::_finished(void* context, const std::shared_ptr<TBuilding>& building) {
    float x = 0, y = 0;
    auto* g = AsGame(context);
    if (g && g->layer && g->layer->getPosOfThis(building, x, y)) g->soundAt(TSoundDirector::Finished, x, y);
}

void TGame::_milestone(void* context, const std::string& text) {
    auto* g = AsGame(context);
    if (!g) return;
    g->ShowMessage(text);
    if (g->sound()) g->sound()->Interface(TSoundDirector::Milestone);
}

void TGame::_updateSound() {
    if (!sound() || !layer) return;
    if (--censusCountdown <= 0) {
        soundView = TSoundView::Of(*layer);
        censusCountdown = censusFrames;
    }
    // Pause is read every frame, so the city falls silent the moment it stops.
    soundView.paused = layer->getGameSpeed() == 0.0f;
    sound()->Frame(soundView, Millisecs());
}

void TGame::_updateModeReason() {
    const bool editing = layer->roadmode || layer->buildmode || layer->destroymode;
    if (!editing || layer->modeReason.empty() || !alternateTooltipp.empty()) return;
    if (PointerOverGUI(MouseX(), MouseY())) return;
    alternateTooltipp = {layer->modeReason};
    alternateTooltippId = "refusal " + layer->modeReason;
}

int32_t TGame::_cheatCallback(void* context, const std::string& text) {
    auto* g = AsGame(context);
    if (!g || !g->layer) return 1;
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    if (lower == "notime") {
        if (g->layer->cheat) g->layer->cheat->immediatelyBuild = 1;
        g->layer->Record("cheat notime");
        g->ShowMessage(Tr("Shut build time off..."));
        return 1;
    }
    if (lower == "poorpeople") {
        g->layer->addMoney(100000.0f, TMoneyKind::other);
        g->ShowMessage(Tr("Donate you a little bit money..."));
        return 1;
    }
    g->ShowMessage(Tr("Can't interprete input!"));
    return 0;
}

// --- saved cities --------------------------------------------------------------------------

int32_t TGame::saveCity(const std::string& name) {
    const std::string safe = TSaveFolder::SafeName(name);
    const std::string path = TSaveFolder::PathOf(safe);
    const bool ok = layer && CreateDir(TSaveFolder::Folder()) && layer->Save(path);
    ShowMessage(ok ? Tr("Gespeichert: %1", safe) : Tr("Speichern fehlgeschlagen: %1", path));
    return ok ? 1 : 0;
}

int32_t TGame::loadCity(const std::string& path) {
    std::string reason;
    auto world = TLayer::Load(path, reason);
    if (!world) {
        ShowMessage(LoadMessage(path, false, reason));
        return 0;
    }
    nextWorld = world;
    nextMessage = LoadMessage(path, true, reason);
    _stop();
    return 1;
}

std::string TGame::LoadMessage(const std::string& path, bool loaded, const std::string& reason) {
    if (!loaded) return reason.empty() ? Tr("Laden fehlgeschlagen") : Tr("Laden fehlgeschlagen: %1", reason);
    // The name the player saved it under; what was left out follows on lines of its own.
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.ends_with(TSaveFolder::ending)) name.resize(name.size() - TSaveFolder::ending.size());
    return reason.empty() ? Tr("Geladen: %1", name) : Tr("Geladen: %1", name) + "\n" + reason;
}

int32_t TGame::autosave() {
    const std::string path = TSaveFolder::PathOf(TSaveFolder::autosaveName);
    const std::string older = TSaveFolder::PathOf(TSaveFolder::olderAutosaveName);
    // Without moving the last autosave aside nothing is written over it.
    const bool ok = layer && CreateDir(TSaveFolder::Folder()) &&
                    (FileType(path) == FILETYPE_NONE || RenameFile(path, older)) && layer->Save(path);
    ShowMessage(ok ? Tr("Automatisch gespeichert: %1", path) : Tr("Automatisches Speichern fehlgeschlagen"));
    return ok ? 1 : 0;
}

void TGame::_updateAutosave() {
    if (!layer) return;
    // Month 0 is a city before its first day: the first month begins, none ended.
    // "Autosave" off skips only this monthly save; leaving the game still saves (onExit).
    if (autosaveMonth > 0 && layer->dateMonth != autosaveMonth) {
        // The month's taxes and upkeep were booked: the coins sound.
        if (sound()) sound()->Interface(TSoundDirector::Money);
        if (TSettings::Autosave) autosave();
    }
    autosaveMonth = layer->dateMonth;
}

int32_t TGame::_saveGame(void* context, const std::string& name) {
    auto* g = AsGame(context);
    return g ? g->saveCity(name) : 0;
}

int32_t TGame::_loadGame(void* context, const std::string& path) {
    auto* g = AsGame(context);
    return g ? g->loadCity(path) : 0;
}

// --- message line --------------------------------------------------------------------------

void TGame::_showMessage(void* context, const std::string& text) {
    if (auto* g = AsGame(context)) g->ShowMessage(text);
}

void TGame::ShowMessage(const std::string& text) { message.Show(text); }

void TGame::_drawMessage() { message.Draw(app && app->gui ? app->gui->DefaultFont : nullptr); }

// --- camera controls -----------------------------------------------------------------------

void TGame::_updateRightClickMovement() {
    if (!TSettings::rightClickMovement || !layer->iso) return;
    if (!app->event->MouseDown(2)) {
        dragging = false;
        return;
    }
    const float px = float(MouseX()), py = float(MouseY());
    // Only a press on the map drags it; one on a panel stays the panel's.
    if (!dragging) {
        if (!MouseHit(2)) return;
        dragging = true;
        layer->iso->FromIso(px, py, dragMapX, dragMapY);
    }
    // The grabbed map point is put back under the pointer: the pan follows from where the point
    // lies now, not from summed pointer steps, so neither zoom nor a move refused at the map's
    // edge lets the map drift from the pointer.
    float sx = 0, sy = 0;
    layer->iso->ToIso(dragMapX, dragMapY, sx, sy);
    PanAlongEdge(*layer, px - sx, py - sy);
    app->setMouseFrame(TApplication::MouseFrame_Move);
}

void TGame::_updateMouseWheelZoom() {
    if (!TSettings::mouseWheelZoom) return;
    const int32_t z = app->event->MouseZSpeed();
    if (z < 0) {
        zoomOut();
    } else if (z > 0) {
        zoomIn();
    }
}

void TGame::_updateMouseInCornerMovement() {
    if (TSettings::ScrollWithMouse == 0) return;
    const int32_t b = TSettings::cornerScrollBorder;
    // The scroll speed's pixels per second, for the sixtieths of a second this frame took.
    const float speed = TSettings::keyMovementSpeed / 60.0f * gameSpeed;
    const int32_t mx = MouseX(), my = MouseY();
    int32_t dx = 0, dy = 0;
    if (mx <= b) {
        dx = 1;
    } else if (mx >= app->xmax - b) {
        dx = -1;
    }
    if (my <= b) {
        dy = 1;
    } else if (my >= app->ymax - b) {
        dy = -1;
    }
    layer->Move(float(dx) * speed, float(dy) * speed);
}

void TGame::_updateKeyMovement() {
    if (!TSettings::keyMovement) return;
    // The arrow keys move the cursor of a text field that holds the keyboard, not the map.
    if (guiElements && guiElements->textFieldTool->haveToGrabKeys()) return;
    const auto& ev = *app->event;
    int32_t dx = 0, dy = 0;
    if (ev.KeyDown(KEY_UP)) {
        dy = 1;
    } else if (ev.KeyDown(KEY_DOWN)) {
        dy = -1;
    }
    if (ev.KeyDown(KEY_LEFT)) {
        dx = 1;
    } else if (ev.KeyDown(KEY_RIGHT)) {
        dx = -1;
    }
    // gameSpeed counts the sixtieths of a second the last frame took (a long stall counts as a
    // tenth of a second, so the map never leaps). Whole pixels keep the map sharp; the rest of a
    // pixel is carried, so the speed is even whatever the frame rate.
    const float step = TSettings::keyMovementSpeed * std::min(gameSpeed, 6.0f) / 60.0f;
    keyScrollRestX = dx == 0 ? 0.0f : keyScrollRestX + float(dx) * step;
    keyScrollRestY = dy == 0 ? 0.0f : keyScrollRestY + float(dy) * step;
    const float mx = std::trunc(keyScrollRestX), my = std::trunc(keyScrollRestY);
    keyScrollRestX -= mx;
    keyScrollRestY -= my;
    if (mx != 0 || my != 0) PanAlongEdge(*layer, mx, my);
}

void TGame::_updateInfoMode() {
    if (infoMode != 1) return;
    if (layer->roadmode || layer->buildmode || layer->destroymode) {
        infoMode = 0;
        return;
    }
    const std::vector<int32_t> p = getTooltipMousePos(1);
    const TLayer::TThing thing = layer->getThingAtPos(float(p[0]), float(p[1]));
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&thing)) {
        if (*b) _describeBuilding(*b);
        if (*b && guiElements && MouseHit(1)) guiElements->runBuildingInfoTool(*b);
    } else if (const auto* r = std::get_if<std::shared_ptr<TRoad>>(&thing)) {
        if (*r) {
            const TRoad& road = **r;
            alternateTooltipp = {Tr("Straße:"), road.s ? TrContent(road.s->Name) : std::string(),
                                 Tr("(%1% Belastung)", static_cast<int32_t>(road.traffic * 100.0f)),
                                 Tr("Level %1", road.useLevel)};
            alternateTooltippId = "road " + std::to_string(road.x) + "," + std::to_string(road.y);
        }
    } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&thing)) {
        if (*t) {
            alternateTooltipp = {Tr("Baum:"), "Frame " + std::to_string((*t)->Frame)};
            alternateTooltippId = "tree " + std::to_string((*t)->x) + "," + std::to_string((*t)->y);
        }
    }
    app->setMouseFrame(TApplication::MouseFrame_InfoMode);
}

void TGame::_describeBuilding(const std::shared_ptr<TBuilding>& b) {
    const auto percent = [](float v) { return std::to_string(static_cast<int32_t>(v * 100.0f)); };
    alternateTooltipp = {Tr("Gebäude:"), TrContent(b->Name)};
    if (b->inBuildMode) {
        if (b->buildStartDay < 0) {
            alternateTooltipp.push_back(Tr("Bau wird vorbereitet"));
        } else {
            const float days = b->p ? (1.0f - b->buildingProgress) * b->p->constructionTime : 0.0f;
            alternateTooltipp.push_back(Tr("Im Bau, %1% abgeschlossen", percent(b->buildingProgress)));
            alternateTooltipp.push_back(Tr("%1 Tage verbleiben", static_cast<int32_t>(days)));
        }
    } else {
        if (b->isResidentalBuilding()) {
            alternateTooltipp.push_back(Tr("(%1/%2 Einwohner)", b->habitants.Count(), b->maxHabitans));
        } else {
            alternateTooltipp.push_back(Tr("(%1/%2 Arbeiter)", b->workers.Count(), b->maxWorkers));
        }
        alternateTooltipp.push_back(Tr("Gebäudezufriedenheit: %1%", percent(b->satisfactionAverage)));
    }
    layer->_markBuildingWays(b, 0);
    alternateTooltippId = "building " + std::to_string(b->x) + "," + std::to_string(b->y);
}

// --- after the frame -----------------------------------------------------------------------

std::string TGame::ScreenshotName(int32_t ms) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[64];
    std::strftime(date, sizeof date, "%d %b %Y", &local);
    return TPaths::User(screenshotFolder) + "/pic_" + date + "_" + std::to_string(ms) + ".png";
}

void TGame::_updateAfterRendering() {
    if (_doScreenshot == 0) return;
    _doScreenshot = 0;
    auto pix = app->getPixmap();
    const std::string name = ScreenshotName(Millisecs());
    // A fresh folder has no screens/ yet; a picture that could not be written says so.
    if (pix && CreateDir(TPaths::User(screenshotFolder)) && SavePixmapPNG(*pix, name, 5)) {
        ShowMessage(Tr("Foto gespeichert: %1", name));
    } else {
        ShowMessage(Tr("Foto fehlgeschlagen: %1", name));
        return;
    }
    app->addFilter(TBlendInFilter::Create(Millisecs(), 500, *vesko::TCRGBA::Create(255, 255, 255, 1.0)));
}

#include "app/TTitleScreen.h"

#include <algorithm>

#include "app/TApplication.h"
#include "app/TEventReceiver.h"
#include "app/TGame.h"
#include "gui/TGUI.h"
#include "gui/TGUIImageFiles.h"
#include "gui/TSaveFolder.h"
#include "gui/TTitleTool.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TKeyMap.h"
#include "platform/TStream.h"
#include "world/TCitySummary.h"
#include "world/THabitantControl.h"
#include "world/TLayer.h"

namespace {
TTitleScreen* AsTitle(void* context) { return static_cast<TTitleScreen*>(context); }
}  // namespace

TTitleScreen::TTitleScreen(TApplication* a) : app(a) {
    background = TImage::Load(TGUIImageFiles::Path(TGUIImageFiles::StartLogoFile));
    if (!app || !app->gui) return;
    TTitleCommands c;
    c.context = this;
    c.continueGame = _continueGame;
    c.quit = _quit;
    c.settings = app->SettingsCommands();
    c.loadGame = _loadGame;
    c.startGame = _startGame;
    c.moneyText = TGame::GetRealMoney;
    c.dateText = TGame::GetRealDate;
    c.showMessage = _showMessage;
    tool = TTitleTool::Create(app->gui, app->event.get(), c, Defaults());
    updateContinue();
}

TTitleScreen::~TTitleScreen() {
    if (tool) tool->Destroy();
}

TNewGame TTitleScreen::Defaults() const {
    TNewGame g;
    if (app) g.seed = uint32_t(app->seed);
    const auto rules = TGame::RulesFromSettings();
    g.rules = rules->Id();
    return g;
}

void TTitleScreen::updateContinue() {
    const std::vector<TSaveFolder::TEntry> saves = TSaveFolder::List();
    continuePath.clear();
    std::string what;
    // The newest save that reads as a city; damaged files are left to the list of saves.
    for (const TSaveFolder::TEntry& save : saves) {
        TCitySummary s;
        if (!TLayer::ReadSummary(save.path, s)) continue;
        continuePath = save.path;
        what = s.city + ", " + TGame::GetRealDate(s.dateWeekDay, s.dateDay, s.dateMonth, s.dateYear);
        break;
    }
    if (tool) tool->SetContinue(what);
}

TTitleScreen::TChoice TTitleScreen::run() {
    bool announced = false;
    chosen = false;
    int32_t shownLanguage = TCatalogue::Language();
    while (!chosen) {
        // A panel's own close key may shut it during the frame; Escape then only closed it.
        const bool panelOpen = tool && tool->PanelOpen();
        draw();
        if (!announced) {
            // Scripts that drive the program wait for this line, not for a time.
            Print(readyLine);
            announced = true;
        }
        // A language chosen in the settings shows at once.
        if (tool && shownLanguage != TCatalogue::Language()) {
            shownLanguage = TCatalogue::Language();
            tool->UpdateTexts();
        }
        if (app->event->AppTerminate()) {
            choice = TChoice::quit;
            break;
        }
        if (app->event->KeyHit(KEY_ESCAPE) && !(tool && tool->CloseOpenPanel()) && !panelOpen) {
            choice = TChoice::quit;
            break;
        }
    }
    return choice;
}

void TTitleScreen::draw() {
    if (laidOutGeneration != app->sizeGeneration) {
        laidOutGeneration = app->sizeGeneration;
        // Worlds made from here start with the window's size; the panels live in units.
        TLayer::Init(app->xmax, app->ymax);
        if (app->gui) {
            app->gui->xmax = TInterfaceSpace::Width();
            app->gui->ymax = TInterfaceSpace::Height();
        }
        if (tool) tool->Layout();
    }
    {
        TScreenSpace screen;
        Cls();
        SetBlend(SOLIDBLEND);
        SetAlpha(1.0f);
        SetColor(255, 255, 255);
        // The picture covers the window, cut at the sides or at top and bottom, never stretched.
        if (background && background->width > 0 && background->height > 0) {
            const float scale =
                std::max(float(app->xmax) / float(background->width), float(app->ymax) / float(background->height));
            const float w = float(background->width) * scale, h = float(background->height) * scale;
            DrawImageRect(background, 0.5f * (float(app->xmax) - w), 0.5f * (float(app->ymax) - h), w, h, 0);
        }
        SetBlend(ALPHABLEND);
        // An open panel stands out from the darkened picture.
        if (tool && tool->PanelOpen()) {
            SetColor(0, 0, 0);
            SetAlpha(0.55f);
            DrawRect(0, 0, float(app->xmax), float(app->ymax));
            SetAlpha(1.0f);
            SetColor(255, 255, 255);
        }
    }
    if (tool) {
        const auto& points = app->event->TouchPoints();
        std::vector<int32_t> tooltipPos;
        if (!app->event->MouseDown(1)) {
            tooltipPos = {int32_t(TInterfaceSpace::ToUnits(float(app->event->MouseX()))),
                          int32_t(TInterfaceSpace::ToUnits(float(app->event->MouseY())))};
        }
        TInterfaceSpace units;
        tool->Update({points.begin(), points.size()}, tooltipPos, app->event->_kh);
    }
    message.Draw(app->gui ? app->gui->DefaultFont : nullptr);
    app->render(1, 1, 1, 1, 1, 1);
}

void TTitleScreen::continueGame() {
    if (continuePath.empty()) return;
    loadCity(continuePath);
}

int32_t TTitleScreen::loadCity(const std::string& path) {
    std::string reason;
    auto loaded = TLayer::Load(path, reason);
    const std::string text = TGame::LoadMessage(path, loaded != nullptr, reason);
    if (!loaded) {
        message.Show(text);
        return 0;
    }
    world = loaded;
    loadMessage = text;
    choice = TChoice::loaded;
    chosen = true;
    return 1;
}

int32_t TTitleScreen::_continueGame(void* context) {
    if (auto* t = AsTitle(context)) t->continueGame();
    return 0;
}

int32_t TTitleScreen::_quit(void* context) {
    if (auto* t = AsTitle(context)) {
        t->choice = TChoice::quit;
        t->chosen = true;
    }
    return 0;
}

int32_t TTitleScreen::_loadGame(void* context, const std::string& path) {
    auto* t = AsTitle(context);
    return t ? t->loadCity(path) : 0;
}

void TTitleScreen::_startGame(void* context, const TNewGame& game) {
    auto* t = AsTitle(context);
    if (!t) return;
    t->newGame = game;
    t->choice = TChoice::newGame;
    t->chosen = true;
}

void TTitleScreen::_showMessage(void* context, const std::string& text) {
    if (auto* t = AsTitle(context)) t->message.Show(text);
}

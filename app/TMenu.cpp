#include "app/TMenu.h"

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TGame.h"
#include "app/TTitleScreen.h"
#include "platform/TClock.h"
#include "platform/TStream.h"
#include "settings/TSettings.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"
#include "world/TMapPainter.h"

std::shared_ptr<TMenu> TMenu::Create(TApplication* app) {
    auto m = std::make_shared<TMenu>();
    m->generate(app);
    return m;
}

int32_t TMenu::generate(TApplication* a) {
    app = a;
    return 1;
}

int32_t TMenu::_onGameShown(void*) {
    // Scripts that drive the game (the end-to-end tests) wait for this line, not for a time.
    Print(readyLine);
    return 1;
}

std::shared_ptr<TLayer> TMenu::_loadStartCity(std::string& message) {
    message.clear();
    if (!app || app->loadPath.empty()) return nullptr;
    std::string reason;
    auto world = TLayer::Load(app->loadPath, reason);
    message = TGame::LoadMessage(app->loadPath, world != nullptr, reason);
    return world;
}

void TMenu::run() {
    const vesko::TCRGBA black = *vesko::TCRGBA::Create(0, 0, 0, 1.0);
    std::string message;
    std::shared_ptr<TLayer> world = _loadStartCity(message);
    // Started for a saved city or a new game at once (scripts, tests, or "Startmenue" 0 in
    // options.cfg), leaving the game ends the program as it always did; from the title screen it
    // leads back there.
    const bool titleScreen = app->loadPath.empty() && !app->newGame && TSettings::Startmenue != 0;
    bool startNew = !titleScreen;
    TNewGame choice;
    choice.seed = uint32_t(app->seed);
    choice.rules = TGame::RulesFromSettings()->Id();
    while (true) {
        if (!world && !startNew) {
            TTitleScreen title(app);
            const TTitleScreen::TChoice chosen = title.run();
            if (chosen == TTitleScreen::TChoice::quit) break;
            if (chosen == TTitleScreen::TChoice::loaded) {
                world = std::move(title.world);
                message = std::move(title.loadMessage);
            } else {
                choice = title.newGame;
            }
        }
        startNew = false;
        std::shared_ptr<TGame> game;
        if (world) {
            game = TGame::CreateLoaded(world, app);
        } else {
            // A recorded game is made again from its seed.
            app->seed = int32_t(choice.seed);
            game = TGame::CreateNew(app, choice);
        }
        if (game && !app->recordPath.empty()) _record(*game, world != nullptr, choice);
        world.reset();
        if (!game) {
            if (!message.empty()) Print(message);
            Print("Error, Game could not be loaded!");
            // From the title screen the player may choose again.
            if (!titleScreen) break;
            message.clear();
            continue;
        }
        if (!message.empty()) game->ShowMessage(message);
        message.clear();
        auto fadeIn = TBlendInFilter::Create(Millisecs(), 1000, black);
        fadeIn->setGameFunc(&TMenu::_onGameShown, this);
        app->addFilter(fadeIn);
        game->run();
        // The game ended for a city it loaded: that one comes next.
        world = std::move(game->nextWorld);
        message = std::move(game->nextMessage);
        const bool closed = game->windowClosed != 0;
        game.reset();
        if (!world && (closed || !titleScreen)) break;
        app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, black));
    }
    app->Stop();
}

void TMenu::_record(TGame& game, bool loaded, const TNewGame& choice) {
    std::vector<std::string> start;
    if (loaded) {
        start.push_back("load " + app->loadPath);
    } else {
        start.push_back("map " + (choice.mapPath.empty() ? TMapPainter::Spec(choice.mapSize) : choice.mapPath));
        start.push_back("seed " + std::to_string(app->seed));
        start.push_back("rules " + game.layer->habitantPool->hbtCrtl->Id());
    }
    std::string message;
    game.recorder = TReplayRecorder::Open(app->recordPath, start, message);
    app->recordPath.clear();
    if (!game.recorder) {
        Print(message);
        return;
    }
    game.recorder->Attach(*game.layer);
    Print("Recording the game to a replay");
}

#include "app/TMenu.h"

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TGame.h"
#include "platform/TClock.h"
#include "platform/TStream.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

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
    while (true) {
        auto game = world ? TGame::CreateLoaded(world, app) : TGame::CreateFromImage(app, mapPath);
        if (game && !app->recordPath.empty()) _record(*game, world != nullptr);
        world.reset();
        if (!game) {
            if (!message.empty()) Print(message);
            Print("Error, Game could not be loaded!");
            break;
        }
        if (!message.empty()) game->ShowMessage(message);
        auto fadeIn = TBlendInFilter::Create(Millisecs(), 1000, black);
        fadeIn->setGameFunc(&TMenu::_onGameShown, this);
        app->addFilter(fadeIn);
        game->run();
        // The game ended for a city it loaded: that one comes next.
        world = std::move(game->nextWorld);
        message = std::move(game->nextMessage);
        game.reset();
        if (!world) {
            app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, black));
            break;
        }
    }
    app->Stop();
}

void TMenu::_record(TGame& game, bool loaded) {
    std::vector<std::string> start;
    if (loaded) {
        start.push_back("load " + app->loadPath);
    } else {
        start.push_back("map " + std::string(mapPath));
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

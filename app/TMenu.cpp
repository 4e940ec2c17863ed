#include "app/TMenu.h"

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TGame.h"
#include "platform/TClock.h"
#include "platform/TStream.h"

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

void TMenu::run() {
    auto game = TGame::CreateFromImage(app, mapPath);
    if (!game) {
        Print("Error, Game could not be loaded!");
    } else {
        const vesko::TCRGBA black = *vesko::TCRGBA::Create(0, 0, 0, 1.0);
        auto fadeIn = TBlendInFilter::Create(Millisecs(), 1000, black);
        fadeIn->setGameFunc(&TMenu::_onGameShown, this);
        app->addFilter(fadeIn);
        game->run();
        app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, black));
    }
    game.reset();
    app->Stop();
}

#include "app/TMenu.h"

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TEventReceiver.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
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

void TMenu::run() {
    const vesko::TCRGBA black = *vesko::TCRGBA::Create(0, 0, 0, 1.0);
    app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, black));
    _presentationLoop();
    // The end of a game writes where the panels stand.
    TLayer::SaveGagdgetSettings();
    app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, black));
    app->Stop();
}

void TMenu::_presentationLoop() {
    while (!app->event->EscapeEvent()) {
        Cls();
        app->render(1, 1, 1, 1, 1, 1);
    }
}

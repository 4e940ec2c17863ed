#include "app/TMain.h"

#include "app/TApplication.h"

int TMain::Main(int, char**) {
    std::shared_ptr<TApplication> app = TApplication::Create();
    if (!app) return 0;
    app->Init();
    if (!app->InitWindow()) {
        app->Deinit();
        return 1;
    }
    app->loadResources(1);
    app->run();
    return 0;
}

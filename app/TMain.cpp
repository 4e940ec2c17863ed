#include "app/TMain.h"

#include <cstdlib>
#include <string>

#include "app/TApplication.h"
#include "app/TFileLayout.h"
#include "platform/TStream.h"

int TMain::Main(int argc, char** argv) {
    if (!TFileLayout::ForGame(TPaths::TSituation::Current())) return 1;
    std::shared_ptr<TApplication> app = TApplication::Create();
    if (!app) return 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--daily") {
            app->printDays = 1;
        } else if (arg == "--new") {
            app->newGame = 1;
        } else if (arg == "--load" && i + 1 < argc) {
            app->loadPath = argv[++i];
        } else if (arg == "--load") {
            Print("Option --load needs a saved city's file");
        } else if (arg == "--record" && i + 1 < argc) {
            app->recordPath = argv[++i];
        } else if (arg == "--record") {
            Print("Option --record needs the replay file to write");
        } else if (arg == "--frames" && i + 1 < argc) {
            const int frames = std::atoi(argv[++i]);
            if (frames > 0) {
                app->timeDemoFrames = frames;
                // A new city in a time demo is the same on every run, its weather too, so that two
                // runs (and two machines) compare.
                app->seed = TApplication::timeDemoSeed;
            } else {
                Print("Option --frames needs a number of frames above 0");
            }
        } else if (arg == "--frames") {
            Print("Option --frames needs a number of frames above 0");
        } else {
            Print("Unknown option " + arg + " (known: --daily, --new, --load FILE, --record FILE, --frames N)");
        }
    }
    app->Init();
    if (!app->InitWindow()) {
        app->Deinit();
        return 1;
    }
    app->loadResources(1);
    app->run();
    return 0;
}

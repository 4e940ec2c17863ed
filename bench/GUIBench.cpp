// The GUI's own cost per frame at 1280 x 720 with every panel open (the main menu with a row
// unfolded, the minimap window, the main tool, the hide tool, the touch pointer, the tutorial,
// the build tool, the text field with its keyboard, the building info; see GamePanels.h) and a
// tooltip showing: the CPU time of the GUI step (draws dropped before the device), the same step
// with the device, and how many device draw calls it takes; the same through the kept picture the
// game draws the GUI into (TDrawCache), still and with the keyboard folding. With --screens DIR it
// also saves the game with each row of the menu unfolded and a tooltip showing, and every panel
// drawn directly and through the kept picture (with how many pixels differ).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FrameMeasure.h"
#include "GamePanels.h"
#include "app/TEventReceiver.h"
#include "app/TGame.h"
#include "framework/TTGUIGadget.h"
#include "gui/TGameGUIElements.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TTextFieldTool.h"
#include "platform/TDrawCache.h"
#include "world/TBuildingLayer.h"

using namespace bench;

namespace {
constexpr int32_t Measured = 300;

// The touch point list is empty (no finger, no button held), as on most frames. Through `kept`
// when given, as the game draws it.
void GUIStep(TGame& game, const std::vector<int32_t>& pointer, TDrawCache* kept = nullptr) {
    static const std::vector<std::string> noLines;
    if (kept) kept->Begin();
    game.guiElements->Update({}, pointer, noLines, "", game.app->event->_kh);
    if (kept) kept->End();
}

// Pixels that differ, and of them those by more than one step in a channel.
std::pair<size_t, size_t> Differing(const TPixmap& a, const TPixmap& b) {
    size_t any = 0, more = 0;
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            const uint32_t p = a.ReadPixel(x, y), q = b.ReadPixel(x, y);
            int32_t most = 0;
            for (int32_t shift = 0; shift < 24; shift += 8) {
                most = std::max(most, std::abs(int32_t((p >> shift) & 255) - int32_t((q >> shift) & 255)));
            }
            any += most > 0;
            more += most > 1;
        }
    }
    return {any, more};
}
}  // namespace

// Saves the game with one menu row unfolded and the pointer on the row's first button.
void RowShot(TGame& game, TGUIGadget& main, const std::string& path) {
    for (TGUIGadget* m : game.guiElements->mft->MainButtons()) {
        m->gadget->State = m == &main ? 1 : 0;
        if (m == &main) {
            m->gadget->showChildren();
        } else {
            m->gadget->hideChildren();
        }
    }
    const auto first = main.gadget->children->getChildren(0);
    const std::vector<int32_t> pointer{int32_t(first->GetX(1)), int32_t(first->GetY(1))};
    for (int i = 0; i < 90; ++i) {
        Cls();
        game.layer->Update(pointer[0], pointer[1], 0, 1);
        GUIStep(game, pointer);
        if (i == 89) {
            auto pix = GrabPixmap(0, 0, Width, Height);
            if (!pix || !SavePixmapPNG(*pix, path, 5)) std::printf("screenshot %s could not be written\n", path.c_str());
        }
        Flip(0);
    }
    std::printf("wrote %s\n", path.c_str());
}

int main(int argc, char** argv) {
    std::string screens;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--screens") screens = argv[i + 1];
    }
    auto app = OpenWindow();
    if (!app) return 1;
    auto game = TGame::CreateFromImage(app.get(), "data/maps/128/001r.png");
    if (!game || !game->guiElements) {
        std::printf("Error, Game could not be loaded!\n");
        return 1;
    }
    TGameGUIElements& tools = *game->guiElements;
    if (!screens.empty()) {
        for (TGUIGadget* main : tools.mft->MainButtons()) {
            RowShot(*game, *main, screens + "/gui_" + main->tooltip.front() + ".png");
        }
    }
    // A house in the middle of the map for the building info.
    std::shared_ptr<TBuilding> house;
    if (!TBuildingLayer::arrResidentalBuilding.empty()) {
        const int32_t mid = game->layer->Width / 2;
        house = game->layer->BuildingLayer->_SetTile(mid, mid, TBuildingLayer::arrResidentalBuilding.front());
    }
    TenYearsOfHistory(game->layer->history, game->layer->getMoney());
    const std::vector<int32_t> pointer = OpenEveryPanel(tools, house);

    TRenderBackend* device = TGraphics::Backend();
    TTapBackend tap(device);
    TSpriteBatch& batch = TSpriteBatch::Instance();
    TDrawCache kept;
    auto frame = [&](bool dropDraws, std::vector<double>* times, size_t* calls, TDrawCache* through = nullptr) {
        Cls();
        game->layer->Update(Width / 2, Height / 2, 0, 0);
        Finish();
        batch.SetBackend(&tap);
        tap.drop = dropDraws;
        const size_t before = tap.calls;
        const auto start = Clock::now();
        GUIStep(*game, pointer, through);
        batch.Flush();
        if (!dropDraws) Finish();
        if (times) times->push_back(Ms(start));
        if (calls) *calls = tap.calls - before;
        batch.SetBackend(device);
        Flip(0);
    };
    // Warm up past the tooltip's wait and the panels' show animations.
    for (int i = 0; i < 120; ++i) frame(false, nullptr, nullptr);
    std::vector<double> cpu, withDevice;
    size_t calls = 0;
    for (int i = 0; i < Measured; ++i) frame(true, &cpu, nullptr);
    for (int i = 0; i < Measured; ++i) frame(false, &withDevice, &calls);
    std::vector<double> withKept;
    size_t keptCalls = 0;
    for (int i = 0; i < Measured; ++i) frame(false, &withKept, &keptCalls, &kept);
    const TDrawCache::TCounts still = kept.Counts();
    // The on-screen keyboard folded in and out every 20 frames (its show spiral included).
    std::vector<double> folding, foldingKept;
    for (int i = 0; i < Measured; ++i) {
        if (i % 20 == 0) tools.textFieldTool->setKeyboardVisible(tools.textFieldTool->isKeyboardVisible() ? 0 : 1);
        frame(true, &folding, nullptr);
    }
    for (int i = 0; i < Measured; ++i) {
        if (i % 20 == 0) tools.textFieldTool->setKeyboardVisible(tools.textFieldTool->isKeyboardVisible() ? 0 : 1);
        frame(false, &foldingKept, nullptr, &kept);
    }
    tools.textFieldTool->setKeyboardVisible(1);
    std::string compared;
    if (!screens.empty()) {
        std::shared_ptr<TPixmap> shots[2];
        for (const bool throughKept : {false, true}) {
            const std::string path = screens + (throughKept ? "/gui_all_panels_kept.png" : "/gui_all_panels.png");
            Cls();
            game->layer->Update(Width / 2, Height / 2, 0, 0);
            GUIStep(*game, pointer, throughKept ? &kept : nullptr);
            shots[throughKept] = GrabPixmap(0, 0, Width, Height);
            if (!shots[throughKept] || !SavePixmapPNG(*shots[throughKept], path, 5)) {
                std::printf("screenshot %s could not be written\n", path.c_str());
            }
            Flip(0);
        }
        if (shots[0] && shots[1]) {
            const auto [any, more] = Differing(*shots[0], *shots[1]);
            compared = "  every panel directly and through the kept picture: " + std::to_string(any) +
                       " pixels differ, " + std::to_string(more) + " of them by more than one step\n";
        }
    }

    size_t shown = 0;
    for (const auto& g : TGUIGadget::All()) shown += g->isShowed() ? 1 : 0;
    std::printf("GUI at %d x %d, every panel open, %zu gadgets shown of %zu, tooltip showing\n", Width, Height, shown,
                TGUIGadget::All().size());
    std::printf("  GUI step CPU (update and draw, device calls dropped): median %.3f ms\n", Median(cpu));
    std::printf("  GUI step with the device (until drawn):             median %.3f ms\n", Median(withDevice));
    std::printf("  device draw calls of the GUI step: %zu\n", calls);
    std::printf("  GUI step CPU while the keyboard folds in and out: median %.3f ms, slowest %.3f ms\n",
                Median(folding), *std::max_element(folding.begin(), folding.end()));
    std::printf(
        "  GUI step through the kept picture (until drawn):    median %.3f ms, %zu device calls; drawn "
        "anew %llu, in part %llu, kept %llu of %d\n",
        Median(withKept), keptCalls, (unsigned long long)still.drawn, (unsigned long long)still.partly,
        (unsigned long long)still.kept, Measured);
    std::printf("  the same while the keyboard folds in and out:       median %.3f ms, slowest %.3f ms\n",
                Median(foldingKept), *std::max_element(foldingKept.begin(), foldingKept.end()));
    std::printf("%s", compared.c_str());
    game.reset();
    return 0;
}

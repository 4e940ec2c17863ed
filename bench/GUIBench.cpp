// The GUI's own cost per frame at 1280 x 720 with every panel open (the main menu with a row
// unfolded, the minimap window, the main tool, the hide tool, the touch pointer, the tutorial,
// the build tool, the text field with its keyboard, the building info; see GamePanels.h) and a
// tooltip showing: the CPU time of the GUI step (draws dropped before the device), the same step
// with the device, and how many device draw calls it takes. With --screens DIR it also saves the game with each row
// of the menu unfolded and a tooltip showing.
#include <cstdio>

#include "FrameMeasure.h"
#include "GamePanels.h"
#include "app/TEventReceiver.h"
#include "app/TGame.h"
#include "framework/TTGUIGadget.h"
#include "gui/TGameGUIElements.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TTextFieldTool.h"
#include "world/TBuildingLayer.h"

using namespace bench;

namespace {
constexpr int32_t Measured = 300;

// The touch point list is empty (no finger, no button held), as on most frames.
void GUIStep(TGame& game, const std::vector<int32_t>& pointer) {
    static const std::vector<std::string> noLines;
    game.guiElements->Update({}, pointer, noLines, "", game.app->event->_kh);
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
    auto frame = [&](bool dropDraws, std::vector<double>* times, size_t* calls) {
        Cls();
        game->layer->Update(Width / 2, Height / 2, 0, 0);
        Finish();
        batch.SetBackend(&tap);
        tap.drop = dropDraws;
        const size_t before = tap.calls;
        const auto start = Clock::now();
        GUIStep(*game, pointer);
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
    // The on-screen keyboard folded in and out every 20 frames (its show spiral included).
    std::vector<double> folding;
    for (int i = 0; i < Measured; ++i) {
        if (i % 20 == 0) tools.textFieldTool->setKeyboardVisible(tools.textFieldTool->isKeyboardVisible() ? 0 : 1);
        frame(true, &folding, nullptr);
    }
    tools.textFieldTool->setKeyboardVisible(1);
    if (!screens.empty()) {
        const std::string path = screens + "/gui_all_panels.png";
        Cls();
        game->layer->Update(Width / 2, Height / 2, 0, 0);
        GUIStep(*game, pointer);
        if (auto pix = GrabPixmap(0, 0, Width, Height); !pix || !SavePixmapPNG(*pix, path, 5)) {
            std::printf("screenshot %s could not be written\n", path.c_str());
        }
        Flip(0);
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
    game.reset();
    return 0;
}

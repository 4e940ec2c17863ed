// Figures of the whole game with a grown city, in one run:
//  - the 256 x 256 city of 3,000 buildings (CityBuilder.h) grown headless until about a hundred
//    people live in it, then saved to a temporary file;
//  - start-up with that city in a window: the window and the content, then loading the file
//    (TLayer::Load), the game around it (TGame::CreateLoaded) and the first game frame;
//  - the whole game frame at 1280 x 720 at zoom 0.5, 1 and 2 over the liveliest part of the city
//    in calm weather, and at zoom 1 in a storm and under a dark sky, with every panel open
//    (GamePanels.h), the pointer resting on a menu button (its tooltip showing) and the game at
//    "Sehr schnell", so cars drive and the simulation works during the measured frames: the frame
//    until drawn, its split into the world's drawing, the simulation step, the GUI step and the
//    rest, the device's share, and the physical limit for the frame's quads (see FrameMeasure.h);
//    TGame::_render itself is timed beside, as a check that the split frames are the game's; and
//    how often the interface's kept picture (TDrawCache) was drawn anew, in part, laid over as
//    kept or passed by;
//  - the calm, the dark and the storm frame at zoom 1 in turn, for what the weather adds.
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/GameBench [--screens docs/screens]
// With --screens the grown city at zoom 1 with the menu, the minimap and the main tool is saved
// there as city_grown.png.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "app/TEventReceiver.h"
#include "app/TFPSCounter.h"
#include "app/TGame.h"
#include "app/TSimulator.h"
#include "app/TSoundView.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"
#include "bench/GamePanels.h"
#include "platform/TEvent.h"
#include "platform/TInput.h"
#include "platform/TScreenSpace.h"
#include "platform/TStream.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TGroundLayer.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TWeatherLayer.h"

using namespace bench;

namespace {
constexpr int32_t WantedInhabitants = 100, MostDays = 240;
// "Sehr schnell", the last of the main tool's speed buttons.
constexpr int32_t FastestSpeed = 4;
// The weather's values: 3 draws nothing over the map; 4 is a dark sky without rain (a shade and a
// light over the whole screen); 6 is the storm, the heaviest (the shade and the light, two layers
// of rain and now and then a lightning flash).
constexpr int32_t CalmWeather = 3, DarkWeather = 4, StormWeather = 6;

// What is measured: the three zoom levels in calm weather, then zoom 1 in the storm, under a dark
// sky and with the build tool's colours.
struct TCase {
    float zoom;
    int32_t weather;
    bool overlay = false;  // the build tool's colour overlay over the ground
};
constexpr TCase Cases[] = {{0.5f, CalmWeather},  {1.0f, CalmWeather}, {2.0f, CalmWeather},
                           {1.0f, StormWeather}, {1.0f, DarkWeather}, {1.0f, CalmWeather, true}};

// The overlay of the case being measured (the water tower's reach, WaterOverlay), or none. The world forgets it after
// each frame, so every frame sets it again.
std::shared_ptr<TInfluenceMask> overlayMask;

// A map point to look at.
struct TSpot {
    float x = 0, y = 0;
};

// One game frame's own work in ms, split as the frame runs: the world's drawing (the editing
// mode, then TLayer::_Draw), the simulation steps the frame's time asks for (TGame::_simulate:
// calendar, cars, lights, influence, buildings), the GUI step, and the rest (money pop-ups,
// message line, camera controls, info mode, the shell's cursor and overlays).
struct TFrameParts {
    double world = 0, sim = 0, gui = 0, other = 0;
};

// The figures of one case, each the median of Frames frames.
struct TGameFigures {
    TFrameFigures draws;  // quads, calls and groups of one recorded frame, and the limit
    double frame = 0;     // the whole frame until drawn (the present not included)
    double frameCpu = 0;  // the processor time all the program's threads (the driver's too) spent on it
    TFrameParts parts;    // with the device calls dropped
    double own = 0;       // the game's own CPU: the whole frame with the device calls dropped
    double present = 0;   // the present: swap and event pump (pacing off)
    double render = 0;    // TGame::_render itself until drawn, present included
    TDrawCache::TCounts interface;  // how the interface was drawn in the measured frames
    size_t cars = 0;
    int32_t inhabitants = 0;
};

// Grows the big city headless until about WantedInhabitants live in it and saves it to path.
bool GrowAndSave(const std::string& path) {
    TSimulator sim;
    const std::string mapPath = GrowCity(sim, true);
    if (mapPath.empty()) return false;
    TLayer& world = *sim.world;
    std::ostringstream sink;
    while (world.habitantPool->countActiveHabitants() < WantedInhabitants && world.currentDay < MostDays) {
        sim.Days(1, sink);
    }
    RemoveMap(mapPath);
    const auto start = Clock::now();
    if (!world.Save(path)) {
        std::printf("the grown city could not be saved to %s\n", path.c_str());
        return false;
    }
    std::printf("grown to day %d: %d inhabitants, %d waiting, %zu cars; saved in %.0f ms (%.2f MB)\n\n",
                world.currentDay, world.habitantPool->countActiveHabitants(),
                world.habitantPool->countAvailableHabitants(), world.BuildingLayer->arrCar.Count(), Ms(start),
                double(std::filesystem::file_size(path)) / 1e6);
    return true;
}

// The middle of the 24 x 24 tile square (on a grid of 8 tiles) with the most cars on its roads and
// people living and working in it (a car counts as ten people): a hundred people are few among
// 3,000 buildings, and the view should show where they are. The square keeps `margin` tiles from
// the map's edge, so the view at zoom 0.5 still shows only the city.
TSpot LivelySpot(TLayer& layer, int32_t margin) {
    constexpr int32_t cell = 8, carWeight = 10;
    const int32_t cols = (layer.Width + cell - 1) / cell, rows = (layer.Height + cell - 1) / cell;
    std::vector<int32_t> people(size_t(cols * rows), 0);
    auto add = [&](int32_t x, int32_t y, int32_t n) {
        people[size_t(std::clamp(y / cell, 0, rows - 1) * cols + std::clamp(x / cell, 0, cols - 1))] += n;
    };
    for (const auto& b : layer.BuildingLayer->arrBuilding.Items()) {
        add(b->x, b->y, int32_t(b->habitants.Count() + b->workers.Count()));
    }
    for (const auto& car : layer.BuildingLayer->arrCar.Items()) {
        if (car->_r) add(car->_r->x, car->_r->y, carWeight);
    }
    int32_t best = -1;
    TSpot spot{0.5f * float(layer.Width), 0.5f * float(layer.Height)};
    const int32_t edge = margin / cell + 1;
    for (int32_t r = edge; r + edge < rows; ++r) {
        for (int32_t c = edge; c + edge < cols; ++c) {
            int32_t sum = 0;
            for (int32_t dr = -1; dr <= 1; ++dr) {
                for (int32_t dc = -1; dc <= 1; ++dc) sum += people[size_t((r + dr) * cols + c + dc)];
            }
            if (sum > best) {
                best = sum;
                spot = {float(c * cell + cell / 2), float(r * cell + cell / 2)};
            }
        }
    }
    return spot;
}

// One game frame as TGame::_render runs it, up to the present, with the clock read between its
// parts (the game itself has no timing points inside a frame). It follows TGame::_updateLayer
// (the touch pointer, while shown, stands in for the mouse), TLayer::Update (the editing mode,
// the drawing, the simulation step) and TApplication::render before its present. The monthly
// autosave is left out: it writes into saves/ and is SaveBench's figure.
TFrameParts DrawGameFrame(TGame& game) {
    TLayer& layer = *game.layer;
    TGameGUIElements& tools = *game.guiElements;
    TApplication& app = *game.app;
    TFrameParts t;
    auto start = Clock::now();
    const std::vector<float> spot = tools.tmt->getArrPosition();
    int32_t x = game.MouseX(), y = game.MouseY(), hit = 0, overGUI = 0;
    if (spot.size() == 2) {
        x = int32_t(spot[0]);
        y = int32_t(spot[1]);
        hit = tools.tmt->hitEvent();
    } else {
        hit = game.MouseHit(1);
        overGUI = game.PointerOverGUI(x, y);
    }
    if (layer.roadmode) {
        layer._UpdateRoadMode(x, y, hit);
    } else if (layer.buildmode) {
        layer._UpdateBuildMode(x, y, hit);
    } else if (layer.destroymode) {
        layer._UpdateDestroyMode(x, y, hit);
    }
    if (overlayMask && layer.GroundLayer) layer.GroundLayer->setInfluenceMask(overlayMask);
    layer._Draw(overGUI);
    t.world = Ms(start);

    start = Clock::now();
    game._simulate();
    t.sim = Ms(start);

    start = Clock::now();
    game._printDay();
    game.ShowMoneyInfo();
    t.other = Ms(start);

    start = Clock::now();
    const auto& points = app.event->TouchPoints();
    game.interfaceCache.Begin();
    tools.Update({points.begin(), points.size()}, game.getTooltipMousePos(0), game.alternateTooltipp,
                 game.alternateTooltippId, app.event->_kh);
    game.interfaceCache.End();
    t.gui = Ms(start);

    start = Clock::now();
    game._drawMessage();
    game.alternateTooltipp.clear();
    game.alternateTooltippId.clear();
    game._updateRightClickMovement();
    game._updateMouseWheelZoom();
    game._updateMouseInCornerMovement();
    game._updateKeyMovement();
    game._updateInfoMode();
    {
        TScreenSpace screen;
        app._showVersionAndFPS();
        app._renderFingerLights();
        app._drawMouse(app.event->MouseX(), app.event->MouseY());
        app._renderFilter();
        app._renderGamma();
    }
    TSpriteBatch::Instance().Flush();
    t.other += Ms(start);
    return t;
}

// The rest of TApplication::render and TGame::_render after the drawing: the present (pacing and
// the frame timer's wait are off in this program), the frame counter, the input snapshot.
void PresentGameFrame(TGame& game) {
    Flip(game.app->Sync);
    game.app->FPS->Update();
    game.app->_updateInputs();
    game._updateAfterRendering();
}

// The whole frame as the player's game runs it, for start-up and to check DrawGameFrame against.
double RenderFrame(TGame& game) {
    game.autosaveMonth = -1;
    // The overlay stays shown, as the build tool keeps it in every frame.
    if (overlayMask && game.layer->GroundLayer) game.layer->GroundLayer->setInfluenceMask(overlayMask);
    const auto start = Clock::now();
    game._render();
    Finish();
    return Ms(start);
}

// Loads the saved city into a game as the shell does with --load, and draws the first frame;
// prints the time of each step. Null when the city cannot be loaded.
std::shared_ptr<TGame> StartGame(TApplication& app, const std::string& path, const TOpenTimes& open) {
    std::string message;
    const auto loadStart = Clock::now();
    auto world = TLayer::Load(path, message);
    const double loadMs = Ms(loadStart);
    if (!world) {
        std::printf("the saved city was refused: %s\n", message.c_str());
        return nullptr;
    }
    const auto createStart = Clock::now();
    auto game = TGame::CreateLoaded(world, &app);
    const double createMs = Ms(createStart);
    if (!game || !game->guiElements) {
        std::printf("Error, Game could not be loaded!\n");
        return nullptr;
    }
    const double firstMs = RenderFrame(*game);
    std::printf(
        "start-up with the grown city: window %.1f ms, content %.1f ms, TLayer::Load %.1f ms,"
        " TGame::CreateLoaded %.1f ms, first game frame %.1f ms (until drawn, present included);\n"
        "  from loading the file to the first frame drawn: %.1f ms\n\n",
        open.window, open.content, loadMs, createMs, firstMs, loadMs + createMs + firstMs);
    return game;
}

// Frames at least two seconds long (and at least WarmUp of them): the panels' show animations end,
// the tooltip's wait passes and the ground blocks of the view are cached.
void WarmUpFrames(TGame& game) {
    const auto start = Clock::now();
    for (int i = 0; i < WarmUp || Ms(start) < 2000.0; ++i) {
        DrawGameFrame(game);
        PresentGameFrame(game);
    }
}

// Holds the weather at one value: it changes every few game days, and its overlays cost the device
// whole-screen passes, which would otherwise mix into the medians.
void HoldWeather(TLayer& layer, int32_t value) {
    TWeatherLayer& w = *layer.WeatherLayer;
    w.lastMode = w.currentMode = value;
    w.lastDay = w.untilChangeDay = layer.currentDay;
    w.nextUpdateDay = INT32_MAX;
}

void LookAtSpot(TLayer& layer, float zoom, TSpot spot) {
    Centre(layer, zoom);
    LookAt(layer, spot.x, spot.y);
}

// The grown city at zoom 1 in calm weather as a player sees it: the menu, the minimap and the
// main tool.
void CityShot(TGame& game, TSpot spot, const std::string& path) {
    TGameGUIElements& tools = *game.guiElements;
    const std::vector<TGUIElement*> wanted{tools.mft.get(), tools.mmt.get(), tools.mainTool.get()};
    for (const auto& [name, panel] : tools.Panels()) {
        const bool want = std::find(wanted.begin(), wanted.end(), panel) != wanted.end();
        if (panel && !want && panel->isVisible()) panel->HIDE();
        if (panel && want && !panel->isVisible()) panel->SHOW();
    }
    HoldWeather(*game.layer, CalmWeather);
    LookAtSpot(*game.layer, 1.0f, spot);
    WarmUpFrames(game);
    DrawGameFrame(game);
    if (auto pix = GrabPixmap(0, 0, Width, Height); !pix || !SavePixmapPNG(*pix, path, 5)) {
        std::printf("screenshot %s could not be written\n", path.c_str());
    } else {
        std::printf("wrote %s\n\n", path.c_str());
    }
    PresentGameFrame(game);
}

const char* CaseName(const TCase& c) {
    if (c.overlay) return "overlay";
    return c.weather == StormWeather ? "storm" : c.weather == DarkWeather ? "dark" : "calm";
}

TGameFigures MeasureGameCase(TGame& game, TCase c, TSpot spot) {
    TGameFigures g;
    TTapBackend tap(TGraphics::Backend());
    HoldWeather(*game.layer, c.weather);
    overlayMask = c.overlay ? WaterOverlay() : nullptr;
    LookAtSpot(*game.layer, c.zoom, spot);
    WarmUpFrames(game);
    RecordFrame(tap, g.draws, [&] {
        DrawGameFrame(game);
        Finish();
        PresentGameFrame(game);
    });
    char label[64];
    std::snprintf(label, sizeof label, "zoom %.1f %s", double(c.zoom), CaseName(c));
    PrintPixels(tap, label);

    // Frames of each kind in turn, so that all of them see the machine alike: the whole frame
    // until drawn and its present; the same with the device calls dropped (the game's own work);
    // the game's own frame function (to check that the frames here are the game's); the recorded
    // quads batched (the limit).
    std::vector<double> frame, frameCpu, present, own, world, sim, gui, other, render, limit;
    const TDrawCache::TCounts before = game.interfaceCache.Counts();
    for (int i = 0; i < Frames; ++i) {
        auto start = Clock::now();
        const double cpuStart = ProcessCpuMs();
        DrawGameFrame(game);
        Finish();
        frame.push_back(Ms(start));
        frameCpu.push_back(ProcessCpuMs() - cpuStart);
        start = Clock::now();
        PresentGameFrame(game);
        present.push_back(Ms(start));

        WithDrawsDropped(tap, [&] {
            const auto ownStart = Clock::now();
            const TFrameParts t = DrawGameFrame(game);
            own.push_back(Ms(ownStart));
            world.push_back(t.world);
            sim.push_back(t.sim);
            gui.push_back(t.gui);
            other.push_back(t.other);
            PresentGameFrame(game);
        });

        render.push_back(RenderFrame(game));
        limit.push_back(LimitFrameMs(tap));
    }
    const TDrawCache::TCounts& after = game.interfaceCache.Counts();
    g.interface = {after.drawn - before.drawn, after.partly - before.partly, after.kept - before.kept,
                   after.direct - before.direct};
    g.draws.limit = Median(limit);
    g.frame = Median(frame);
    g.frameCpu = Median(frameCpu);
    g.present = Median(present);
    g.own = Median(own);
    g.parts = {Median(world), Median(sim), Median(gui), Median(other)};
    g.render = Median(render);
    g.cars = game.layer->BuildingLayer->arrCar.Count();
    g.inhabitants = game.layer->habitantPool->countActiveHabitants();
    return g;
}

// What a dark sky and the storm add to the plain frame at zoom 1, frames of the three in turn: the
// machine's speed drifts by a third within a minute here, which the cases measured one after the
// other mix into their ratio. Each round's dark and storm frame against its calm one.
void MeasureWeatherInTurn(TGame& game, TSpot spot) {
    constexpr int32_t kinds[] = {CalmWeather, DarkWeather, StormWeather};
    LookAtSpot(*game.layer, 1.0f, spot);
    WarmUpFrames(game);
    std::vector<double> ms[3], added[3];
    for (int i = 0; i < 2 * Frames; ++i) {
        double round[3];
        for (int k = 0; k < 3; ++k) {
            HoldWeather(*game.layer, kinds[k]);
            const auto start = Clock::now();
            DrawGameFrame(game);
            Finish();
            round[k] = Ms(start);
            PresentGameFrame(game);
            ms[k].push_back(round[k]);
            added[k].push_back(100.0 * (round[k] / round[0] - 1.0));
        }
    }
    std::printf(
        "weather in turn at zoom 1 (%d rounds of a calm, a dark and a storm frame): calm %.2f ms, dark %.2f ms "
        "(%+.0f %% in the median round), storm %.2f ms (%+.0f %%)\n",
        2 * Frames, Median(ms[0]), Median(ms[1]), Median(added[1]), Median(ms[2]), Median(added[2]));
    HoldWeather(*game.layer, CalmWeather);
}

// The colours are baked into the ground cache: showing them, switching to another mask and taking
// them away draws every tile on screen again and refills the blocks. The frames right after each
// switch, at the widest zoom and at zoom 1.
void MeasureOverlaySwitches(TGame& game, TSpot spot) {
    HoldWeather(*game.layer, CalmWeather);
    const auto water = WaterOverlay();
    // Another view: the fire station's reach.
    const auto other = TInfluenceMask::CreateFromValues(0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 100, 100, 100, 0);
    for (const float zoom : {TLayer::minScale, 1.0f}) {
        overlayMask = nullptr;
        LookAtSpot(*game.layer, zoom, spot);
        WarmUpFrames(game);
        std::printf("colours switched at zoom %.2f, the two frames after, until drawn:", double(zoom));
        for (const auto& [name, mask] : {std::pair{"shown", water}, std::pair{"other", other},
                                         std::pair{"taken away", std::shared_ptr<TInfluenceMask>()}}) {
            overlayMask = mask;
            std::printf(" %s", name);
            for (int i = 0; i < 2; ++i) {
                const auto start = Clock::now();
                DrawGameFrame(game);
                Finish();
                std::printf(" %.1f", Ms(start));
                PresentGameFrame(game);
            }
            std::printf(" ms;");
            for (int i = 0; i < 4; ++i) {
                DrawGameFrame(game);
                PresentGameFrame(game);
            }
        }
        std::printf("\n");
    }
    overlayMask = nullptr;
}

void PrintTable(const std::vector<std::pair<TCase, TGameFigures>>& rows) {
    std::printf(
        "Whole game frame at %d x %d, every panel open, speed %d; medians of %d frames in ms\n"
        "  frame   = the game frame until drawn (forced to completion; the present not included)\n"
        "  cpu     = the processor time of all threads (the driver's rasterisers too) in that frame;\n"
        "            on a busy machine steadier than the frame\n"
        "  world, sim, gui, other = its parts with the device calls dropped: the world's drawing (the\n"
        "            editing mode, TLayer::_Draw), the simulation steps of the frame's time\n"
        "            (TGame::_simulate), the GUI step, and the rest (pop-ups, camera, cursor)\n"
        "  own     = the game's own CPU: the whole frame with the device calls dropped\n"
        "  driver  = frame - own: what the device and its driver take\n"
        "  present = swap and event pump after the frame (pacing off)\n"
        "  limit   = the frame's quads, one device call per texture and blend; ratio = frame / limit\n"
        "  weather = calm (nothing drawn over the map), storm (shade, rain, lightning over it), dark\n"
        "            (a dark sky without rain: shade and light over it) or overlay (calm, with\n"
        "            the build tool's colours over the ground)\n",
        Width, Height, FastestSpeed, Frames);
    std::printf("%5s %7s %8s %7s %7s %7s %7s %7s %7s %7s %8s %8s %6s %6s %6s %6s %5s %6s\n", "zoom", "weather", "frame",
                "cpu", "world", "sim", "gui", "other", "own", "driver", "present", "limit", "ratio", "quads", "calls",
                "groups", "cars", "inhab.");
    for (const auto& [c, g] : rows) {
        std::printf(
            "%5.1f %7s %8.2f %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f %8.2f %8.2f %5.2fx %6zu %6zu %6zu %5zu %6d\n",
            double(c.zoom), CaseName(c), g.frame, g.frameCpu, g.parts.world, g.parts.sim, g.parts.gui, g.parts.other,
            g.own, g.frame - g.own, g.present, g.draws.limit, g.draws.limit > 0 ? g.frame / g.draws.limit : 0.0,
            g.draws.quads, g.draws.calls, g.draws.groups, g.cars, g.inhabitants);
    }
    std::printf("check: TGame::_render itself until drawn (present included) against frame + present above:\n");
    for (const auto& [c, g] : rows) {
        std::printf("  zoom %.1f, %s: %.2f ms against %.2f ms\n", double(c.zoom), CaseName(c), g.render,
                    g.frame + g.present);
    }
    std::printf(
        "the interface in those frames (drawn, with the device calls dropped, and TGame::_render): its kept\n"
        "picture drawn anew / drawn anew where it changed / laid over the frame as kept / the interface\n"
        "drawn directly (the frames with the device calls dropped cannot draw into the picture):\n");
    for (const auto& [c, g] : rows) {
        std::printf("  zoom %.1f, %s: %llu / %llu / %llu / %llu\n", double(c.zoom), CaseName(c),
                    (unsigned long long)g.interface.drawn, (unsigned long long)g.interface.partly,
                    (unsigned long long)g.interface.kept, (unsigned long long)g.interface.direct);
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::string screens;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--screens") screens = argv[i + 1];
    }
    if (!screens.empty() && FileType(screens) != FILETYPE_DIR) CreateDir(screens);
    const std::string savePath = std::filesystem::temp_directory_path() / "vallmora-gamebench.sav";

    // The city grows headless first: the simulator's content lives behind its own recording back
    // end and is gone before the window's is loaded.
    if (!GrowAndSave(savePath)) return 1;

    TOpenTimes open;
    auto app = OpenWindow(&open);
    if (!app) return 1;
    // Frames are measured, not paced: no wait for the 60 Hz present or the target frame rate.
    app->Sync = 0;
    app->timer.reset();
    auto game = StartGame(*app, savePath, open);
    std::filesystem::remove(savePath);
    if (!game) return 1;

    const TSpot spot = LivelySpot(*game->layer, 40);
    std::printf("the view: map point %.0f, %.0f, the liveliest part of the city\n\n", double(spot.x), double(spot.y));
    if (!screens.empty()) CityShot(*game, spot, screens + "/city_grown.png");

    TGameGUIElements& tools = *game->guiElements;
    // The building info shows the house with the most inhabitants.
    std::shared_ptr<TBuilding> house;
    for (const auto& b : game->layer->BuildingLayer->arrBuilding.Items()) {
        if (b->isResidentalBuilding() && (!house || b->habitants.Count() > house->habitants.Count())) house = b;
    }
    const std::vector<int32_t> pointer = OpenEveryPanel(tools, house);
    // The mouse rests on the build row's first button, so its tooltip shows.
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, pointer[0], pointer[1]);
    tools.mainTool->selectSpeedButton(FastestSpeed);

    std::vector<std::pair<TCase, TGameFigures>> rows;
    for (const TCase& c : Cases) rows.emplace_back(c, MeasureGameCase(*game, c, spot));
    PrintTable(rows);
    MeasureWeatherInTurn(*game, spot);
    MeasureOverlaySwitches(*game, spot);
    std::printf("after the run: day %d, speed %.0f\n", game->layer->currentDay, double(game->layer->getGameSpeed()));
    // What the sound asks of the world every tenth frame: what is in view (trees and water,
    // finished buildings, cars), over the whole city.
    std::vector<double> viewMs;
    int32_t counted = 0;
    for (int i = 0; i < Frames; ++i) {
        const auto start = Clock::now();
        counted += TSoundView::Of(*game->layer).buildings;
        viewMs.push_back(Ms(start));
    }
    std::printf("sound view of the city (every tenth frame): median %.3f ms, %d buildings in view\n", Median(viewMs),
                counted / Frames);

    game.reset();
    app->Stop();
    return 0;
}

// libFuzzer target for loading a saved city.
//
// Build and run from the repository root (clang only; the content under data/ is loaded once;
// -close_fd_mask=1 hides the one-line reports of damaged files):
//   cmake -G Ninja -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
//   ninja -C build-fuzz fuzz_citysave
//   mkdir -p build-fuzz/corpus-citysave
//   build-fuzz/tests/fuzz/fuzz_citysave -max_total_time=60 -max_len=16384 -close_fd_mask=1 build-fuzz/corpus-citysave
//
// At start a small city (roads, a bridge, houses with inhabitants, a shop and a workshop, cars)
// is saved into the corpus folder as the seed. Every input must be loaded or refused without a
// fault; a city that loads must save again and load again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/TFastRandom.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
#include "platform/TRecordingBackend.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuildingLayer.h"
#include "world/TLayer.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {
std::shared_ptr<TManualClock> fuzzClock;
std::shared_ptr<TRecordingBackend> backend;
std::string scratch;

std::vector<int32_t> Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    std::vector<int32_t> p;
    for (int32_t x = x0, y = y0;; x += (x1 > x) - (x1 < x), y += (y1 > y) - (y1 < y)) {
        p.push_back(x);
        p.push_back(y);
        if (x == x1 && y == y1) break;
    }
    return p;
}

// A 16 x 12 town with a river at x = 8, grown for a few game weeks, saved to path.
void SaveSeed(const std::string& path) {
    auto w = TLayer::Create(16, 12, vesko::TFastRandom::Create(5));
    if (!w) return;
    for (int32_t x = 0; x < 16; ++x) {
        for (int32_t y = 0; y < 12; ++y) w->_SetGround(x, y, x == 8 ? 1 : 0, nullptr);
    }
    w->_PlantTree(1, 1, 3);
    auto street = TStreet::GetByLevel(1, 0);
    if (street) w->RoadLayer->BuildRoad(street, Line(1, 5, 14, 5), 0, 0);
    const char* ids[] = {"res_wohnhaus", "res_wohnhaus", "com_laden", "ind_werkstatt"};
    for (int32_t i = 0; i < 4; ++i) {
        auto p = std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(ids[i]));
        if (p) w->BuildingLayer->_SetTile(2 + 3 * (i % 2) + (i / 2) * 8, 6, p);
    }
    w->setGameSpeed(8.0f);
    for (int32_t step = 0; step < 3000; ++step) {
        fuzzClock->Advance(TLayer::stepMs);
        w->Simulate();
    }
    w->Save(path);
    w->Destroy();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzClock = std::make_shared<TManualClock>(1000);
    TClock::SetSource(fuzzClock);
    backend = TGraphics::HeadlessGraphics(640, 480);
    TLayer::Init(640, 480);
    TLayer::LoadSettings();
    TLayer::Prepare(nullptr, nullptr);
    scratch = "/tmp/vallmora-fuzz-city-" + std::to_string(getpid());
    // The seed goes into the first corpus folder named on the command line.
    for (int32_t i = 1; i < *argc; ++i) {
        struct stat st {};
        if ((*argv)[i][0] != '-' && stat((*argv)[i], &st) == 0 && S_ISDIR(st.st_mode)) {
            SaveSeed(std::string((*argv)[i]) + "/seed.sav");
            break;
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = std::fopen((scratch + ".sav").c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::string message;
    auto w = TLayer::Load(scratch + ".sav", message);
    if (!w) {
        if (message.empty()) std::abort();
        return 0;
    }
    if (!w->Save(scratch + "-again.sav")) std::abort();
    std::string again;
    auto w2 = TLayer::Load(scratch + "-again.sav", again);
    if (!w2) std::abort();
    w2->Destroy();
    w->Destroy();
    return 0;
}

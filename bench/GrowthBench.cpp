// A city of about 10,000 inhabitants grown headless by the growth rules ("Wachstum") on a
// 256 x 256 map with a road grid every sixth tile, then run at "Sehr schnell" (speed 4):
//  - the growth: game days and wall time until the inhabitants are there;
//  - the simulation per frame (one step, 20 ms of game clock): median, 99th percentile and worst
//    over 30 game days, and the frames that change the day apart; as the thread's CPU time, so
//    other programs on the machine do not count (the wall time's median and worst beside it);
//  - the job search of every finished house (one search each, as its jobless inhabitants make
//    it), CPU time: median and worst;
//  - the longest any car stood waiting (on its lane position, between two moves), and how many
//    cars gave up waiting and left the road;
//  - two game years: wall time, resident memory, the longest car wait and the cars that left,
//    per month.
// Run from the folder that holds cfg/ and data/:
//   build/bench/GrowthBench [months]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include <time.h>

#include "app/TSimulator.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"
#include "platform/TClock.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TCheat.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"
#include "world/TRoad.h"

using namespace bench;

namespace {
constexpr int32_t TargetInhabitants = 10000, MaxGrowthDays = 360, MeasureDays = 30;

// Milliseconds of CPU time this thread has used.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size())))];
}

// Watches every car from step to step: a car that stays on the same tile and lane position
// waits; the longest such stand, in milliseconds of game clock, is kept.
class TWaitWatch {
public:
    void Observe(const TBuildingLayer& bl, int32_t nowMs) {
        std::unordered_map<const TCar*, TSeen> next;
        next.reserve(bl.arrCar.Count());
        for (const auto& car : bl.arrCar.Items()) {
            TSeen s{car->_r.get(), car->_p, nowMs};
            auto it = seen.find(car.get());
            if (it != seen.end() && it->second.road == s.road && it->second.p == s.p) {
                s.since = it->second.since;
                longest = std::max(longest, nowMs - s.since);
            }
            next.emplace(car.get(), s);
        }
        // A car gone after standing about giveUpAfter seconds left the road for good.
        for (const auto& [car, s] : seen) {
            if (!next.count(car) && float(nowMs - s.since) >= 1000.0f * TCar::giveUpAfter - 100.0f) ++gaveUp;
        }
        seen.swap(next);
    }
    // The longest wait (ms) and the cars that gave up since the last call.
    std::pair<int32_t, int32_t> Take() {
        const auto r = std::pair(longest, gaveUp);
        longest = gaveUp = 0;
        return r;
    }
    int32_t longest = 0, gaveUp = 0;

private:
    struct TSeen {
        const TRoad* road;
        int32_t p;
        int32_t since;
    };
    std::unordered_map<const TCar*, TSeen> seen;
};

int32_t Finished(const TLayer& layer) {
    int32_t n = 0;
    for (const auto& b : layer.BuildingLayer->arrBuilding.Items()) n += b->inBuildMode == 0;
    return n;
}
}  // namespace

int main(int argc, char** argv) {
    const int32_t months = argc > 1 ? std::max(1, std::atoi(argv[1])) : 24;
    const std::string mapPath = MakeGridMap(CitySize, RoadEvery);
    TSimulator sim;
    if (mapPath.empty() || !sim.Init(mapPath, 11, "growth")) return 1;
    TLayer& layer = *sim.world;
    TBuildingLayer& bl = *layer.BuildingLayer;
    const int32_t placed = FillGrowthCity(layer);
    layer.cheat->immediatelyBuild = 1;
    layer.setGameSpeed(4.0f);
    TManualClock* clock = sim.GetClock();
    auto now = [clock]() { return clock ? int32_t(clock->now) : 0; };

    // Growth.
    std::ostringstream sink;
    const auto growStart = Clock::now();
    int32_t days = 0;
    while (days < MaxGrowthDays && layer.habitantPool->countActiveHabitants() < TargetInhabitants) {
        sim.Days(1, sink);
        ++days;
        if (days % 30 == 0) {
            std::printf("  growing, day %3d: %s (%.0f s)\n", days, sim.DayLine().c_str(), Ms(growStart) / 1000.0);
            std::fflush(stdout);
        }
    }
    std::printf(
        "256 x 256 city, %d buildings (%d finished), growth rules: %d inhabitants after %d game days in %.1f s wall"
        " (%zu cars)\n",
        placed, Finished(layer), layer.habitantPool->countActiveHabitants(), days, Ms(growStart) / 1000.0,
        bl.arrCar.Count());

    // Homes still empty, by the reason their info gives.
    std::map<std::string, int32_t> reasons;
    for (const auto& b : bl.arrBuilding.Items()) {
        if (b->isResidentalBuilding() && b->habitants.Empty()) ++reasons[b->emptyReason];
    }
    for (const auto& [reason, count] : reasons) std::printf("  empty homes, \"%s\": %d\n", reason.c_str(), count);

    // Simulation per frame at speed 4.
    TWaitWatch waits;
    std::vector<double> cpu, wall, dayCpu, dayWall;
    const int32_t endDay = layer.currentDay + MeasureDays;
    while (layer.currentDay < endDay) {
        const int32_t day = layer.currentDay;
        const double c = CpuMs();
        const auto t = Clock::now();
        sim.Step();
        const double ms = Ms(t), cms = CpuMs() - c;
        cpu.push_back(cms);
        wall.push_back(ms);
        if (layer.currentDay != day) {
            dayCpu.push_back(cms);
            dayWall.push_back(ms);
        }
        waits.Observe(bl, now());
    }
    std::printf(
        "simulation per frame over %zu frames (%d game days, speed 4), CPU time: median %.3f ms, p99 %.3f ms,"
        " worst %.3f ms (wall: median %.3f ms, worst %.3f ms); the %zu day changes: median %.3f ms, worst %.3f ms"
        " (wall %.3f, %.3f)\n",
        cpu.size(), MeasureDays, Median(cpu), Percentile(cpu, 0.99), Percentile(cpu, 1.0), Median(wall),
        Percentile(wall, 1.0), dayCpu.size(), Median(dayCpu), Percentile(dayCpu, 1.0), Median(dayWall),
        Percentile(dayWall, 1.0));
    const auto [longest, gaveUp] = waits.Take();
    std::printf(
        "longest wait of a car over those days: %.1f s of game clock; %d of %zu cars gave up and left the road\n",
        double(longest) / 1000.0, gaveUp, bl.arrCar.Count());

    // Job search per house: one search each, from scratch.
    std::vector<double> search;
    int32_t found = 0;
    for (const auto& b : bl.arrBuilding.Items()) {
        if (!b->isResidentalBuilding() || b->inBuildMode || b->cJob) continue;
        const double t = CpuMs();
        b->_FindJob();
        search.push_back(1000.0 * (CpuMs() - t));
        found += b->cJob != nullptr;
        b->cJob.reset();
    }
    std::printf("job search per house over %zu houses (%d found one), CPU time: median %.0f us, worst %.0f us\n",
                search.size(), found, Median(search), Percentile(search, 1.0));

    // Two game years, month by month.
    std::printf("month  %s  rss MB  month s  longest wait s  gave up\n", TSimulator::header);
    long firstMonthKB = 0, peakAfterKB = 0;
    double yearsMs = 0;
    for (int32_t m = 1; m <= months; ++m) {
        double ms = 0;
        for (int32_t d = 0; d < 30; ++d) {
            const int32_t day = layer.currentDay;
            while (layer.currentDay == day) {
                const auto t = Clock::now();
                sim.Step();
                ms += Ms(t);
                waits.Observe(bl, now());
            }
        }
        yearsMs += ms;
        const long rss = StatusKB("VmRSS");
        if (m == 1) firstMonthKB = rss;
        if (m > 1) peakAfterKB = std::max(peakAfterKB, rss);
        const auto [monthLongest, monthGaveUp] = waits.Take();
        std::printf("%5d  %s  %6.1f  %7.1f  %14.1f  %7d\n", m, sim.DayLine().c_str(), double(rss) / 1024.0, ms / 1000.0,
                    double(monthLongest) / 1000.0, monthGaveUp);
        std::fflush(stdout);
    }
    std::printf("%d months in %.1f s of simulation", months, yearsMs / 1000.0);
    if (firstMonthKB > 0 && peakAfterKB > 0) {
        std::printf("; resident memory after the first month %.1f MB, highest later %.1f MB (%+.1f %%)",
                    double(firstMonthKB) / 1024.0, double(peakAfterKB) / 1024.0,
                    100.0 * double(peakAfterKB - firstMonthKB) / double(firstMonthKB));
    }
    std::printf("\n");
    RemoveMap(mapPath);
    return 0;
}

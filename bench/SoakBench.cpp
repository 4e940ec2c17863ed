// A long run, headless: the 256 x 256 city of 3,000 buildings for two game years at
// "Sehr schnell" (speed 4). Each game month prints the day line, the resident memory and the
// wall time of the month; at the end the growth of memory after the first month.
// Run from the folder that holds cfg/ and data/:
//   build/bench/SoakBench [months]
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/TSimulator.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"

using namespace bench;

int main(int argc, char** argv) {
    const int32_t months = argc > 1 ? std::max(1, std::atoi(argv[1])) : 24;
    TSimulator sim;
    const std::string mapPath = GrowCity(sim, true);
    if (mapPath.empty()) return 1;
    sim.world->setGameSpeed(4.0f);
    std::printf("month  %s  rss MB  month ms\n", TSimulator::header);
    long firstMonthKB = 0, peakAfterKB = 0;
    for (int32_t m = 1; m <= months; ++m) {
        std::ostringstream lines;
        const auto start = Clock::now();
        sim.Days(30, lines);
        const double ms = Ms(start);
        const long rss = StatusKB("VmRSS");
        if (m == 1) firstMonthKB = rss;
        if (m > 1 && rss > peakAfterKB) peakAfterKB = rss;
        std::printf("%5d  %s  %6.1f  %8.0f\n", m, sim.DayLine().c_str(), double(rss) / 1024.0, ms);
        std::fflush(stdout);
    }
    if (firstMonthKB > 0 && peakAfterKB > 0) {
        std::printf("resident memory after the first month %.1f MB, highest later %.1f MB (%+.1f %%)\n",
                    double(firstMonthKB) / 1024.0, double(peakAfterKB) / 1024.0,
                    100.0 * double(peakAfterKB - firstMonthKB) / double(firstMonthKB));
    }
    RemoveMap(mapPath);
    return 0;
}

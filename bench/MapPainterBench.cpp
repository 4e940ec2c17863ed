// Paints random maps of the sizes a new game offers and prints the time per map (median of
// several seeds) and of a 128 × 128 preview of it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/TPixmap.h"
#include "world/TMapPainter.h"

using Clock = std::chrono::steady_clock;

namespace {
double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
}  // namespace

int main() {
    constexpr int32_t runs = 9;
    std::printf("%-12s %12s %12s %12s\n", "map", "paint ms", "slowest ms", "preview ms");
    for (int32_t size : {128, 256, 512, 1024}) {
        std::vector<double> paint, preview;
        for (int32_t i = 0; i < runs; ++i) {
            auto t0 = Clock::now();
            auto map = TMapPainter::Paint(static_cast<uint32_t>(1000 + i), size);
            paint.push_back(Ms(t0));
            if (!map) return 1;
            t0 = Clock::now();
            auto picture = TMapPainter::Preview(*map, 128);
            preview.push_back(Ms(t0));
            if (!picture) return 1;
        }
        std::printf("%4d x %-5d %12.2f %12.2f %12.2f\n", size, size, Median(paint),
                    *std::max_element(paint.begin(), paint.end()), Median(preview));
    }
    return 0;
}

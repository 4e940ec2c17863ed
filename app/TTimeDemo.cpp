#include "app/TTimeDemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

bool TTimeDemo::Frame(double ms, uint64_t deviceCalls) {
    if (Done()) return true;
    if (skipped < warmUpFrames) {
        ++skipped;
        return false;
    }
    times.push_back(ms);
    calls += deviceCalls;
    return Done();
}

double TTimeDemo::Percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(std::clamp(q, 0.0, 1.0) * double(values.size()));
    return values[size_t(std::clamp(rank, 1.0, double(values.size()))) - 1];
}

std::string TTimeDemo::Report(int32_t width, int32_t height) const {
    const double median = Percentile(times, 0.5), slow = Percentile(times, 0.95);
    const double perFrame = times.empty() ? 0 : double(calls) / double(times.size());
    char line[200];
    std::snprintf(line, sizeof line,
                  "Time demo: %d frames at %d x %d, median %.2f ms (%.1f fps), 95th percentile %.2f ms, %.0f device "
                  "calls per frame",
                  int(times.size()), int(width), int(height), median, median > 0 ? 1000.0 / median : 0.0, slow,
                  perFrame);
    return line;
}

#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "--frames N": the game draws N frames of the loaded city as fast as it can and reports the
// median and 95th-percentile frame time and the device calls per frame, then ends. Players
// compare machines with it; the figures of the drawing code come from it too. The first frames
// after the city is shown are not counted: they still upload pictures and fade in.
class TTimeDemo {
public:
    static constexpr int32_t warmUpFrames = 30;

    explicit TTimeDemo(int32_t frames) : wanted(frames) {}
    // One drawn frame: its time in milliseconds and the device calls it made. True once the
    // wanted frames are counted.
    bool Frame(double ms, uint64_t deviceCalls);
    bool Done() const { return int32_t(times.size()) >= wanted; }
    // "Time demo: 300 frames at 1280 x 720, median 14.20 ms (70.4 fps), 95th percentile 17.85 ms,
    // 31 device calls per frame"
    std::string Report(int32_t width, int32_t height) const;
    // The value below which the share q (0 … 1) of the times lie (nearest rank).
    static double Percentile(std::vector<double> values, double q);

private:
    int32_t wanted = 0;
    int32_t skipped = 0;
    std::vector<double> times;
    uint64_t calls = 0;
};

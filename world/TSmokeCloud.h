#pragma once
#include <cstdint>
#include <memory>

// One puff of a smoke emitter: its offset from the emitter and its animation frame.
class TSmokeCloud {
public:
    static std::shared_ptr<TSmokeCloud> Create(float x, float y, int32_t frame);

    float X = 0, Y = 0;
    // Progress toward the next frame.
    float nf = 0;
    int32_t Frame = 0;
};

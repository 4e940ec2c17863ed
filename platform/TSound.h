#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A sound ready to play: mono 16-bit samples at the one rate every sound of the game has.
struct TSound {
    static constexpr int32_t rate = 22050;

    std::string name;
    std::vector<int16_t> samples;
};

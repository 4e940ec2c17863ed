#pragma once
#include <cstdint>
#include <memory>

namespace vesko {
class TFastRandom;
}

// A tree on one tile of the building layer's object grid. Trees do not occupy a tile for
// roads or buildings' purposes; they are drawn from the shared tree strip.
class TTree {
public:
    static constexpr int32_t frameCount = 16;

    // A negative frame picks one of the first 15 frames at random.
    static std::shared_ptr<TTree> Create(int32_t x, int32_t y, int32_t frame, vesko::TFastRandom* random);
    // Draws the tree's frame of the building layer's tree strip with its handle at (x, y).
    void Draw(float x, float y) const;
    // Minimap colour: opaque 0x706F4D for the 16 tree frames, 0xFF for anything else.
    int32_t GetCol();

    int32_t x = 0;
    int32_t y = 0;
    int32_t Frame = 0;
    int32_t _col = 0;
};

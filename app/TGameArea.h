#pragma once
#include <cstdint>
#include <memory>

namespace vesko {
class TTouchObject;
}

// A screen-sized touch object behind every GUI gadget: a point whose topmost touch object is
// this one lies over the map, not over a panel.
class TGameArea {
public:
    static std::shared_ptr<TGameArea> Create(int32_t w, int32_t h);
    ~TGameArea() { Free(); }
    void generate(int32_t w, int32_t h);
    void Free();
    int32_t atPos(float x, float y) const;
    int32_t isOver(float x, float y) const { return atPos(x, y); }
    // The touch points currently held by the map.
    int32_t inTouch() const;

    std::shared_ptr<vesko::TTouchObject> tobj;
    int32_t w = 0, h = 0;
};

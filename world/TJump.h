#pragma once
#include <cstdint>
#include <memory>

// Breadth-first search over a rectangular grid whose cells have four blockable sides; the road
// layer uses it to find the chain of road tiles between two places. A search node remembers the
// node it was reached from, so the found node's lastObj chain leads back to a start.
//
// The search state (grid marks, side flags, frontier) is held once for the program: use it in
// the order Init, defineWay for every walkable cell, defineStart, defineTarget, Get. A new Init
// discards the earlier search. Only one search can be under way at a time.
class TJump {
public:
    // Cell marks.
    static constexpr uint8_t markClosed = 0;
    static constexpr uint8_t markOpen = 1;
    static constexpr uint8_t markTarget = 2;

    ~TJump();

    static void Init(int32_t width, int32_t height);
    // Makes (x, y) walkable with the four side flags (nonzero = that side is blocked). Returns 0.
    static int32_t defineWay(int32_t x, int32_t y, uint8_t side0, uint8_t side1, uint8_t side2, uint8_t side3);
    // A start node on (x, y), added to the frontier. A start outside the grid is returned but not
    // searched from.
    static std::shared_ptr<TJump> defineStart(int32_t x, int32_t y);
    static void defineTarget(int32_t x, int32_t y);
    // Runs search passes until a target is reached, the frontier is empty or `passes` passes
    // have run (negative: no limit; at least one pass always runs). Null when nothing was found.
    static std::shared_ptr<TJump> Get(int32_t passes);
    // One pass over the frontier.
    static std::shared_ptr<TJump> _Update();
    static std::shared_ptr<TJump> _create(int32_t x, int32_t y, std::shared_ptr<TJump> last);
    static uint8_t _inField(int32_t x, int32_t y);
    // Mark of a cell (closed outside the grid).
    static uint8_t GetMark(int32_t x, int32_t y);

    int32_t x = 0;
    int32_t y = 0;
    std::shared_ptr<TJump> lastObj;
};

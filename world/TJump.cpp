#include "world/TJump.h"

#include <array>
#include <string>
#include <vector>

#include "platform/TStream.h"

namespace {
// Larger grids than this are refused instead of exhausting memory (the largest maps have far fewer cells).
constexpr int64_t maxCells = int64_t(1) << 26;

struct TSearchState {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> marks;
    std::vector<std::array<uint8_t, 4>> sides;
    std::vector<std::shared_ptr<TJump>> frontier;

    size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(width) + size_t(x); }
};

TSearchState& State() {
    static TSearchState state;
    return state;
}
}  // namespace

TJump::~TJump() {
    // A long path is a long chain of nodes; releasing it link by link here keeps the destructor
    // from recursing once per node, which would overflow the stack for paths across large maps.
    std::shared_ptr<TJump> next = std::move(lastObj);
    while (next && next.use_count() == 1) {
        std::shared_ptr<TJump> after = std::move(next->lastObj);
        next = std::move(after);
    }
}

void TJump::Init(int32_t width, int32_t height) {
    TSearchState& s = State();
    s.frontier = {};
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (int64_t(width) * int64_t(height) > maxCells) {
        Print("Path search grid " + std::to_string(width) + " x " + std::to_string(height) +
              " is too large, searching an empty grid");
        width = 0;
        height = 0;
    }
    s.width = width;
    s.height = height;
    const size_t cells = size_t(width) * size_t(height);
    s.marks.assign(cells, markClosed);
    s.sides.assign(cells, std::array<uint8_t, 4>{0, 0, 0, 0});
}

int32_t TJump::defineWay(int32_t x, int32_t y, uint8_t side0, uint8_t side1, uint8_t side2, uint8_t side3) {
    if (_inField(x, y)) {
        TSearchState& s = State();
        const size_t i = s.Index(x, y);
        s.marks[i] = markOpen;
        s.sides[i] = {side0, side1, side2, side3};
    }
    return 0;
}

std::shared_ptr<TJump> TJump::defineStart(int32_t x, int32_t y) {
    std::shared_ptr<TJump> node = _create(x, y, nullptr);
    // A node outside the grid has no marks or sides to consult; searching from it would read
    // beyond the grid.
    if (_inField(x, y)) State().frontier.push_back(node);
    return node;
}

void TJump::defineTarget(int32_t x, int32_t y) {
    if (_inField(x, y)) {
        TSearchState& s = State();
        s.marks[s.Index(x, y)] = markTarget;
    }
}

std::shared_ptr<TJump> TJump::Get(int32_t passes) {
    std::shared_ptr<TJump> result;
    int32_t count = 0;
    for (;;) {
        result = _Update();
        ++count;
        if (result) break;
        if (State().frontier.empty()) break;
        if (passes >= 0 && count >= passes) break;
    }
    return result;
}

std::shared_ptr<TJump> TJump::_Update() {
    TSearchState& s = State();
    std::vector<std::shared_ptr<TJump>> next;
    for (const std::shared_ptr<TJump>& node : s.frontier) {
        const size_t i = s.Index(node->x, node->y);
        if (s.marks[i] == markTarget) return node;
        // Only the sides of the cell being left count; a blocked side does not stop a neighbour
        // from entering through it.
        const std::array<uint8_t, 4> sides = s.sides[i];
        for (int32_t dir = 0; dir < 4; ++dir) {
            if (sides[dir] != 0) continue;
            const int32_t nx = node->x + (dir == 1) - (dir == 3);
            const int32_t ny = node->y + (dir == 2) - (dir == 0);
            if (!_inField(nx, ny)) continue;
            const uint8_t mark = s.marks[s.Index(nx, ny)];
            if (mark == markClosed) continue;
            std::shared_ptr<TJump> reached = _create(nx, ny, node);
            if (mark == markTarget) return reached;
            next.push_back(std::move(reached));
        }
    }
    s.frontier = std::move(next);
    return nullptr;
}

std::shared_ptr<TJump> TJump::_create(int32_t x, int32_t y, std::shared_ptr<TJump> last) {
    if (_inField(x, y)) {
        TSearchState& s = State();
        uint8_t& mark = s.marks[s.Index(x, y)];
        if (mark == markOpen) mark = markClosed;
    }
    auto node = std::make_shared<TJump>();
    node->x = x;
    node->y = y;
    node->lastObj = std::move(last);
    return node;
}

uint8_t TJump::_inField(int32_t x, int32_t y) {
    const TSearchState& s = State();
    return x >= 0 && x < s.width && y >= 0 && y < s.height ? 1 : 0;
}

uint8_t TJump::GetMark(int32_t x, int32_t y) {
    if (!_inField(x, y)) return markClosed;
    const TSearchState& s = State();
    return s.marks[s.Index(x, y)];
}

#include "world/TBridgeAlign.h"

std::shared_ptr<TBridgeAlign> TBridgeAlign::Create() { return std::make_shared<TBridgeAlign>(); }

void TBridgeAlign::AddFrame(int32_t d, int32_t k, int32_t main, int32_t second) {
    if (d < 0 || d > 3 || k < 0 || k > 3) return;
    arr[size_t(d)][size_t(k)] = {main, second};
}

std::array<int32_t, 2> TBridgeAlign::getFrame(int32_t d, int32_t k) const {
    if (d < 0 || d > 3 || k < 0 || k > 3) return {-1, -1};
    return arr[size_t(d)][size_t(k)];
}

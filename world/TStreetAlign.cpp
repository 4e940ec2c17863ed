#include "world/TStreetAlign.h"

std::shared_ptr<TStreetAlign> TStreetAlign::Create() { return std::make_shared<TStreetAlign>(); }

void TStreetAlign::AddAlign(int32_t frame, const std::vector<int32_t>& l0, const std::vector<int32_t>& l1,
                            const std::vector<int32_t>& l2, const std::vector<int32_t>& l3) {
    if (frame < 0 || frame >= frameCount) return;
    tree[size_t(frame)] = {l0, l1, l2, l3};
}

const std::vector<int32_t>& TStreetAlign::GetAlign(int32_t frame, int32_t position) const {
    static const std::vector<int32_t> none;
    if (frame < 0 || frame >= frameCount || position < 0 || position > 3) return none;
    return tree[size_t(frame)][size_t(position)];
}

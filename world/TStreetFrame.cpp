#include "world/TStreetFrame.h"

std::shared_ptr<TStreetFrame> TStreetFrame::Create() { return std::make_shared<TStreetFrame>(); }

void TStreetFrame::add(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ, int32_t frame, int32_t aligns) {
    const size_t a = c0 ? 1 : 0, b = c1 ? 1 : 0, c = c2 ? 1 : 0, d = c3 ? 1 : 0;
    if (typ < 0) {
        for (auto& v : data[a][b][c][d]) v = frame;
    } else if (typ < typeCount) {
        data[a][b][c][d][size_t(typ)] = frame;
    }
    if (frame >= 0 && frame < alignCount) Frameai[size_t(frame)] = aligns;
}

int32_t TStreetFrame::Get(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ) const {
    if (typ < 0 || typ >= typeCount) return 0;
    return data[c0 ? 1 : 0][c1 ? 1 : 0][c2 ? 1 : 0][c3 ? 1 : 0][size_t(typ)];
}

int32_t TStreetFrame::GetFromAlign(int32_t d, int32_t typ, int32_t straight, int32_t allBut) const {
    d = ((d % 4) + 4) % 4;
    if (straight) return (d == 0 || d == 2) ? Get(1, 0, 1, 0, typ) : Get(0, 1, 0, 1, typ);
    std::array<int32_t, 4> c{};
    for (int32_t i = 0; i < 4; ++i) c[size_t(i)] = allBut ? (i != d) : (i == d);
    return Get(c[0], c[1], c[2], c[3], typ);
}

int32_t TStreetFrame::GetAligns(int32_t frame) const {
    return (frame >= 0 && frame < alignCount) ? Frameai[size_t(frame)] : 0;
}

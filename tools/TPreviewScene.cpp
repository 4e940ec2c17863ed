#include "tools/TPreviewScene.h"

#include <algorithm>
#include <vector>

#include "tools/TIsoKit.h"
#include "tools/TStreetArt.h"
#include "tools/TTerrainArt.h"

namespace {
constexpr int32_t MapSize = 16;
constexpr float TileW = TIsoKit::TileW, TileH = TIsoKit::TileH;

struct TDraw {
    float depth;  // back to front: smaller first
    std::string picture;
    int32_t frame, frames;
    float x, y;  // where the picture's top left goes
};

int32_t FrameOfSides(int32_t sides) {
    for (int32_t f = 0; f < 40; ++f)
        if (TStreetArt::FrameSides(f) == sides) return f;
    return 20;
}
}  // namespace

TCanvas TPreviewScene::Paint(const TLookup& picture) {
    // The map: a river over columns 9 and 10, a main road along row 7 bridging it, side streets.
    auto water = [](int32_t x, int32_t y) {
        return x < 0 || y < 0 || x >= MapSize || y >= MapSize ? false : (x == 9 || x == 10);
    };
    int32_t road[MapSize][MapSize] = {};  // 0 none, 1 street, 2 main road
    for (int32_t x = 0; x < MapSize; ++x)
        if (!water(x, 7)) road[x][7] = 2;
    for (int32_t y = 2; y <= 12; ++y)
        if (!road[3][y]) road[3][y] = 1;
    for (int32_t x = 3; x <= 7; ++x)
        if (!road[x][11]) road[x][11] = 1;
    for (int32_t y = 8; y <= 12; ++y) road[13][y] = 1;
    const int32_t bridgeFrames[4][2] = {{3, -1}, {14, 18}, {14, 18}, {2, -1}};  // head at x = 8, along +x

    const float originX = 24, originY = MapSize * TileH / 2 + 110;
    auto screen = [&](float x, float y) {
        return TPoint{originX + (x + y) * TileW / 2, originY + (x - y) * TileH / 2};
    };
    std::vector<TDraw> draws;
    auto add = [&](float depth, const std::string& name, int32_t frame, int32_t frames, float hx, float hy, TPoint at) {
        draws.push_back({depth, name, frame, frames, at.x - hx, at.y - hy});
    };
    for (int32_t x = 0; x < MapSize; ++x) {
        for (int32_t y = 0; y < MapSize; ++y) {
            const TPoint p = screen(x, y);
            const float d = (x - y) * 100.0f + x;  // the building layer's diagonal walk
            if (water(x, y)) {
                add(d - 1e5f, "plugins/natur/water_" + std::to_string((x * 7 + y * 3) % 4) + ".png", 0, 1, 0, 8, p);
                if (y == 0) add(d - 1e5f, "plugins/natur/water_left.png", 0, 1, 0, 8, p);
                if (x == MapSize - 1) add(d - 1e5f, "plugins/natur/water_right.png", 0, 1, 0, 8, p);
                continue;
            }
            add(d - 1e5f, "plugins/natur/ground_" + std::to_string((x * 5 + y) % 3) + ".png", 0, 1, 0, 8, p);
            if (y == 0) add(d - 1e5f, "plugins/natur/ground_0_left.png", 0, 1, 0, 8, p);
            if (x == MapSize - 1) add(d - 1e5f, "plugins/natur/ground_0_right.png", 0, 1, 0, 8, p);
            const int32_t sides = (water(x, y - 1) ? 1 : 0) | (water(x + 1, y) ? 2 : 0) | (water(x, y + 1) ? 4 : 0) |
                                  (water(x - 1, y) ? 8 : 0);
            if (sides) {
                for (int32_t f = 0; f < 15; ++f)
                    if (TTerrainArt::ShoreSides(f) == sides)
                        add(d - 1e5f + 0.5f, "gfx/natur/flussufer.png", f, 30, 0, 8, p);
            }
            if (road[x][y]) {
                auto has = [&](int32_t nx, int32_t ny) {
                    return nx >= 0 && ny >= 0 && nx < MapSize && ny < MapSize &&
                           (road[nx][ny] || (ny == 7 && (nx == 9 || nx == 10)));
                };
                const int32_t c = (has(x, y - 1) ? 1 : 0) | (has(x + 1, y) ? 2 : 0) | (has(x, y + 1) ? 4 : 0) |
                                  (has(x - 1, y) ? 8 : 0);
                const std::string image =
                    road[x][y] == 2 ? "plugins/verkehr/hauptstrasse.png" : "plugins/verkehr/strasse.png";
                if (road[x][y] == 2 && (x == 8 || x == 11)) continue;  // bridge heads
                add(d - 1e5f + 0.7f, image, FrameOfSides(c), 40, 0, 8, p);
                if (FrameOfSides(c) == 12 && road[x][y] == 2) add(d, "plugins/verkehr/ampel.png", 1, 4, 0, 24, p);
            }
        }
    }
    // The bridge (head, two spans, far ramp) and cars on it and on the roads.
    for (int32_t k = 0; k < 4; ++k) {
        const int32_t x = 8 + k, y = 7;
        const TPoint p = screen(x, y);
        const float d = (x - y) * 100.0f + x;
        add(d, "plugins/verkehr/autobahnbruecke.png", bridgeFrames[k][0], 19, 0, 40, p);
        if (k == 1) add(d + 0.2f, "plugins/autos/bus_0.png", 1, 4, 0, 16, TPoint{p.x + 8, p.y - 12 + 4});
        if (bridgeFrames[k][1] >= 0)
            add(d + 0.5f, "plugins/verkehr/autobahnbruecke.png", bridgeFrames[k][1], 19, 0, 40, p);
    }
    // Buildings of every type with their zone grounds, and trees.
    struct TPlace {
        const char* picture;
        int32_t x, y, n, zone;
    };
    const TPlace places[] = {{"plugins/wohnen/res_wohnhaus.png", 4, 8, 1, 0},
                             {"plugins/wohnen/res_einfamilienhaus.png", 5, 8, 1, 0},
                             {"plugins/wohnen/res_reihenhaus.png", 4, 9, 2, 0},
                             {"plugins/wohnen/res_mehrfamilienhaus.png", 4, 12, 2, 0},
                             {"plugins/gewerbe/com_laden.png", 6, 8, 1, 1},
                             {"plugins/gewerbe/com_buerohaus.png", 1, 8, 2, 1},
                             {"plugins/industrie/ind_fabrik.png", 12, 8, 2, 2},
                             {"plugins/oeffentlich/pub_kirche.png", 4, 4, 2, 3},
                             {"plugins/oeffentlich/pub_polizeiwache.png", 0, 4, 2, 3},
                             {"plugins/parks/park_stadtpark.png", 6, 9, 2, 3},
                             {"plugins/auszeichnungen/award_brunnen.png", 1, 11, 2, 3},
                             {"plugins/gewerbe/com_supermarkt.png", 14, 8, 2, 1}};
    static const char* zones[4] = {"gfx/felder/Res.png", "gfx/felder/Com.png", "gfx/felder/Ind.png",
                                   "gfx/felder/Def.png"};
    for (const TPlace& b : places) {
        const TCanvas* c = picture(b.picture);
        if (!c) continue;
        for (int32_t i = 0; i < b.n; ++i)
            for (int32_t j = 0; j < b.n; ++j)
                add(-1e4f * 0 + ((b.x + i) - (b.y + j)) * 100.0f - 1e5f + 0.8f, zones[b.zone], 0, 1, 0, 8,
                    screen(b.x + i, b.y + j));
        const TPoint p = screen(b.x, b.y);
        // The building anchor: (width / 2 − n × half a tile width, height − n × half a tile height).
        const int32_t frames = c->Width() / (32 * b.n);
        add((b.x - b.y) * 100.0f + b.x, b.picture, 0, frames, c->Width() / frames / 2.0f - b.n * TileW / 2,
            c->Height() - b.n * TileH / 2, p);
    }
    const int32_t trees[][3] = {{0, 14, 9},   {1, 15, 10}, {2, 14, 3}, {12, 2, 0}, {13, 3, 4},
                                {14, 1, 12},  {15, 4, 14}, {7, 2, 6},  {8, 3, 11}, {12, 14, 2},
                                {14, 13, 15}, {7, 14, 5},  {0, 1, 8}};
    for (const auto& t : trees) {
        const TPoint p = screen(t[0], t[1]);
        add((t[0] - t[1]) * 100.0f + t[0], "gfx/natur/trees.png", t[2], 16, 0, 24, p);
    }
    const TPoint carAt = screen(3, 5);
    add((3 - 5) * 100.0f + 3.2f, "plugins/autos/kleinwagen_0.png", 0, 4, 0, 16, TPoint{carAt.x + 8, carAt.y + 4});
    const TPoint truckAt = screen(13, 7);
    add((13 - 7) * 100.0f + 13.2f, "plugins/autos/lastwagen_0.png", 1, 4, 0, 16, TPoint{truckAt.x + 16, truckAt.y});

    std::stable_sort(draws.begin(), draws.end(), [](const TDraw& a, const TDraw& b) { return a.depth < b.depth; });
    const int32_t width = static_cast<int32_t>(MapSize * TileW + 48);
    TCanvas scene(width, static_cast<int32_t>(originY + MapSize * TileH / 2 + 40));
    scene.Fill(TShape::Rect(0, 0, scene.Width(), scene.Height()), TColor::Hex(0x1C2230));
    for (const TDraw& d : draws) {
        const TCanvas* strip = picture(d.picture);
        if (!strip) continue;
        const int32_t fw = strip->Width() / d.frames;
        TCanvas frame(fw, strip->Height());
        frame.Composite(*strip, -d.frame * fw, 0);
        scene.Composite(frame, static_cast<int32_t>(d.x), static_cast<int32_t>(d.y));
    }
    TCanvas doubled(scene.Width() * 2, scene.Height() * 2);
    doubled.CompositeScaled(scene, 0, 0, scene.Width() * 2.0f, scene.Height() * 2.0f);
    return doubled;
}

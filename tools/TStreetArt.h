#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/TArtPicture.h"
#include "tools/TCanvas.h"

// Streets and everything drawn on them: the 40-frame street strips (every frame joins its
// neighbours at the tile edges with the same road profile), traffic lights, the 19-frame bridge
// strips, the shared road mask and removal marks, and the route overlay.
class TStreetArt {
public:
    struct TStyle {
        uint32_t asphalt = 0x55585E;
        uint32_t line = 0xE8E8E0;
        uint32_t kerb = 0xA9A59A;
        float halfWidth = 0.30f;  // half the carriageway, in tiles
        float sidewalk = 0.0f;    // width of the pavement beside it, in tiles
        bool dashed = true;
    };
    // "town" (level 0) or "avenue" (level 1); anything else gives the town street.
    static TStyle StyleNamed(const std::string& name);

    // Connections (bit d = side d) of each street frame, -1 for frames no road uses.
    static int32_t FrameSides(int32_t frame);

    static TCanvas Street(const TStyle& style);
    static TCanvas TrafficLights();
    // kind: "wood", "concrete" or "steel"; height: the deck's lift in pixels.
    static TCanvas Bridge(const TStyle& style, const std::string& kind, int32_t height);
    static TCanvas DirectionMask();
    static TCanvas WayPath();

    // The shared pictures (paths relative to data/).
    static void AddTo(std::vector<TArtPicture>& pictures);
    // One road tile of the given connections into a canvas at picture origin (ox, oy).
    static void PaintTile(TCanvas& canvas, float ox, float oy, const TStyle& style, int32_t sides);
};

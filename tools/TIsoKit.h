#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/TPixmap.h"
#include "tools/TCanvas.h"

// The isometric drawing kit shared by every world picture: the 2:1 projection of map points
// into a picture, solid blocks lit from the upper left, per-pixel shading of flat map areas and
// the conversion to magenta-keyed pictures (noise for textures: framework/TNoise.h).
//
// Map point (a, b) at height z lands at (ox + (a + b) × 16, oy + (a − b) × 8 − z): a grows to the
// lower right (map x), b to the upper right (map y), z up. (ox, oy) is where the map point (0, 0)
// lies in the picture; a tile picture of 32 × 16 has it at (0, 8), its left corner.
class TIsoKit {
public:
    static constexpr int32_t TileW = 32;
    static constexpr int32_t TileH = 16;
    static constexpr uint32_t Magenta = 0xFFFF00FFu;

    struct TOrigin {
        float ox = 0.0f;
        float oy = 0.0f;
        TPoint At(float a, float b, float z = 0.0f) const {
            return TPoint{ox + (a + b) * 0.5f * TileW, oy + (a - b) * 0.5f * TileH - z};
        }
    };
    // Picture origin of a building picture of n × n tiles and the given pixel height: the
    // footprint's bottom corner is the middle of the bottom row.
    static TOrigin Footprint(int32_t n, int32_t pictureHeight) {
        return TOrigin{0.0f, static_cast<float>(pictureHeight - n * TileH / 2)};
    }

    static TShape Quad(TPoint p0, TPoint p1, TPoint p2, TPoint p3);
    // The flat map rectangle a0..a1 × b0..b1 at height z.
    static TShape Flat(const TOrigin& o, float a0, float b0, float a1, float b1, float z = 0.0f);

    // Shades each pixel of the flat map rectangle with shader(a, b) (map coordinates of the pixel
    // centre); the rectangle's edges are anti-aliased by 4 × 4 sub-samples.
    using Shader = std::function<TColor(float a, float b)>;
    static void ShadeFlat(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z,
                          const Shader& shader);

    // Light from the upper left: faces towards the lower left (−b) are a little darker than the
    // top, faces towards the lower right (+a) clearly darker.
    static TColor LeftFace(const TColor& c) { return c.Darker(0.14f); }
    static TColor RightFace(const TColor& c) { return c.Darker(0.34f); }

    // Wall on the plane b = const (seen from the lower left), a0..a1, z0..z1.
    static TShape WallB(const TOrigin& o, float b, float a0, float a1, float z0, float z1);
    // Wall on the plane a = const (seen from the lower right), b0..b1, z0..z1.
    static TShape WallA(const TOrigin& o, float a, float b0, float b1, float z0, float z1);
    // A solid block with its two visible walls and its top, thin dark outline for legibility.
    static void Box(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z0, float z1,
                    const TColor& wall, const TColor& top);
    // A saddle roof on the block a0..a1 × b0..b1 whose eaves are at z; ridge height rise. The ridge
    // runs along a when alongA, else along b.
    static void GableRoof(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z,
                          float rise, bool alongA, const TColor& roof, const TColor& gable);
    // A pyramid (hip) roof.
    static void HipRoof(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z, float rise,
                        const TColor& roof);
    // Rows × columns of windows on both visible walls of the block, from z0 up to z1.
    static void Windows(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z0, float z1,
                        int32_t floors, float spacing, const TColor& glass, bool lit = false);

    // The canvas as a picture without alpha: pixels less than half covered become magenta,
    // all others opaque in their own colour (never exactly magenta).
    static std::shared_ptr<TPixmap> Keyed(const TCanvas& canvas);
    // PNG without alpha channel (so that the game's mask colour applies to it).
    static bool SaveRGB(const TPixmap& pixmap, const std::string& path);
};

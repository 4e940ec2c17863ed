#pragma once
#include <cstdint>
#include <vector>

#include "tools/TArtPicture.h"
#include "tools/TCanvas.h"
#include "tools/TIsoKit.h"

// Land, water, shores, trees, smoke and weather: the pictures the ground, weather and building
// layers share, plus the tile painters that the ground and water plugins use.
class TTerrainArt {
public:
    static constexpr int32_t SideDepth = 24;  // pixels of earth under a tile on the map's edge
    static constexpr int32_t SideHeight = 48;

    // Adds every shared picture (paths relative to data/).
    static void AddTo(std::vector<TArtPicture>& pictures);

    // A land tile (32 × 16); variant 0 lush meadow, 1 dry meadow, 2 clover, 3 field grass.
    static TCanvas GroundTile(int32_t variant);
    // Side face of a land tile on the map edge (32 × 48): the lower-left face, or the lower-right one.
    static TCanvas GroundSide(bool right, int32_t variant);
    // A water tile with real alpha (32 × 16) so the drifting caustics show through.
    static TCanvas WaterTile(int32_t variant);
    static TCanvas WaterSide(bool right);

    // The 30 shore overlays and the 60 shore side faces.
    static TCanvas Shore();
    static TCanvas ShoreEarth();
    // Tileable caustics (256 × 256): the opaque deep layer and the sparse light layer.
    static TCanvas Caustics(bool sparse);
    static TCanvas Trees();
    // A small person (size × size) in work clothes of the given colour.
    static TCanvas Worker(int32_t size, const TColor& clothes, const TColor& helmet);
    static TCanvas Smoke(int32_t kind);

    // Which sides of a land tile touch water for shore frame 0 … 14 (bit d = neighbour d).
    static int32_t ShoreSides(int32_t frame);

    // One tree of kind 0 … 15 standing at (cx, baseY).
    static void Tree(TCanvas& canvas, float cx, float baseY, int32_t kind);
    static TColor Grass(int32_t variant, float a, float b, int32_t seed);
};

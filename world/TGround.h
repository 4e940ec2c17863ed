#pragma once
#include <cstdint>
#include <memory>

class TGroundLayer;
class TImage;
class TPicturePlugin;
class TWaiter;
namespace vesko {
class TFastRandom;
}

// One ground tile: land or water with the picture of its plugin, and for land next to water
// the frame of its shore overlay.
class TGround {
public:
    // Minimap colours (opaque ARGB).
    static constexpr int32_t colWater = int32_t(0xFF405779u);
    static constexpr int32_t colShore = int32_t(0xFFC2A890u);
    static constexpr int32_t colLand = int32_t(0xFF807D5Au);

    static std::shared_ptr<TGround> Create(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                           TGroundLayer* groundLayer);

    // Draws the tile at screen (sx, sy) and queues its images for the block cache at plane
    // (planeX, planeY). With direct set nothing is queued; animated water draws its picture
    // directly in any case. leftEdge / rightEdge add the map's side faces. onScreen = 0 skips
    // the screen draws (the tile is off screen and is only being cached); staticCached = 1 says
    // that everything but an animated picture is already in the cache.
    void Draw(float sx, float sy, int32_t leftEdge, int32_t rightEdge, int32_t direct, float planeX, float planeY,
              int32_t onScreen = 1, int32_t staticCached = 0);
    // Queues the tile's still images (all but animated water) for the block cache at plane
    // (planeX, planeY), into the blocks `reach` (a TOPPanel::TReach) names; nothing is drawn on
    // screen and the water animation does not step, so drawing a block never draws a random
    // number.
    void Cache(float planeX, float planeY, int32_t leftEdge, int32_t rightEdge, uint8_t reach);
    int32_t _IsNearWater() const { return waterframe >= 0 ? 1 : 0; }
    // Restarts the wait until the next picture change with a length drawn from random (the
    // shortest wait without one).
    void _PrepareWater(vesko::TFastRandom* random);
    // Changes the picture once the wait has passed (when the option allows it); an animation of
    // the drawing, so it draws from the world's drawing generator.
    void _UpdateWater();
    // The tile shows a water plugin drawn from random (the first without one).
    void _ChangeWaterTile(vesko::TFastRandom* random);
    int32_t GetCol();

    std::shared_ptr<TPicturePlugin> p;
    // The water picture an animated water tile shows now (null: its own). Only drawing changes
    // it, so the tile itself, and the saved city, stay as they are.
    std::shared_ptr<TPicturePlugin> shown;
    std::shared_ptr<TImage> image;
    int32_t water = 0;
    int32_t wateranim = 0;
    int32_t waterframe = -1;
    int32_t x = 0, y = 0;
    TGroundLayer* gl = nullptr;
    int32_t _col = 0;
    std::shared_ptr<TWaiter> w_waiter;
    TGroundLayer* groundLayer = nullptr;

private:
    // Draws an image on screen and, unless only direct, queues it for cache layer 1.
    void _DrawAndCache(const std::shared_ptr<TImage>& img, int32_t frame, float sx, float sy, float planeX,
                       float planeY, bool onlyDirect, bool onScreen, uint8_t reach);
    // The pictures of Draw, without the water animation's step.
    void _DrawPictures(float sx, float sy, int32_t leftEdge, int32_t rightEdge, int32_t direct, float planeX,
                       float planeY, int32_t onScreen, int32_t staticCached, uint8_t reach);
};

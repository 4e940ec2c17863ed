#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "world/TGroundTint.h"
#include "world/TOPPanel.h"

class TGround;
class TImage;
class TInfluenceMask;
class TLayer;
class TPicturePlugin;
class TWorldFile;

// The world's ground: one land or water tile per map tile, shores on land next to water, the
// black ring outside the map, and the drifting caustics. Ground rarely changes, so its images
// are copied into the block cache (TOPPanel) and the cache is drawn each frame; only changed
// tiles, animated water and tinted tiles are drawn directly. The ground is the cache's source:
// a block is drawn from the tiles that reach into it when it comes into view.
//
// arrRendered (and arrBlackTileRendered for the ring) says whether a tile's current picture is in
// every block the cache holds; blocks the cache does not hold get it when they are drawn.
class TGroundLayer {
public:
    // Values of arrRendered.
    enum : uint8_t { notRendered = 0, rendered = 1, renderedButAnimated = 2 };

    // Loads the shared images and sorts the ground and water plugins (once at start, after the plugins).
    static void Prepare();
    // Forgets the ground and water plugins, the shared pictures and the block cache.
    static void DePrepare();
    static std::shared_ptr<TGroundLayer> _create(TLayer* layer);
    static void _AddWater(const std::shared_ptr<TPicturePlugin>& plugin);
    static void _AddGround(const std::shared_ptr<TPicturePlugin>& plugin);
    // A screen rectangle.
    struct TRect {
        float x0, y0, x1, y1;
    };
    // Fills the rectangle (clipped to the viewport) with the image at the current scale, aligned
    // to the offsets: tiles lie at the offsets plus whole tile sizes, wherever the rectangle lies.
    static void TileImage(const std::shared_ptr<TImage>& image, float offsetX, float offsetY, TRect area);

    // Places a tile (a random plugin of the kind when none is given); 1 when placed.
    int32_t _SetTile(int32_t x, int32_t y, int32_t water, const std::shared_ptr<TPicturePlugin>& plugin);
    std::shared_ptr<TGround> _GetTile(int32_t x, int32_t y) const;
    void _Clear(int32_t water);
    int32_t _IsFieldWater(int32_t x, int32_t y, int32_t def) const;
    void _UpdateTile(int32_t x, int32_t y);
    float _WaterPercentage(int32_t x, int32_t y, int32_t w, int32_t h) const;
    float _PicturePluginWaterPercentage(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) const;
    int32_t _GetCol(int32_t x, int32_t y) const;
    int32_t markTileForDelete(int32_t x, int32_t y);
    void setInfluenceMask(const std::shared_ptr<TInfluenceMask>& mask) { infMask = mask; }

    // Once after the cache was started, a pass over the map: the tiles on screen are drawn (and
    // queued) as the walk draws changed tiles, and every animated water tile off screen takes its
    // step as well, so the drawing generator follows the same sequence as when this pass
    // cached the whole map. Off screen nothing is drawn ahead: blocks are drawn from their tiles
    // as they come into view.
    void preRender();
    // The caustics under the water on screen (nothing where the view shows no water: the ground
    // above is opaque there).
    void DrawBackground();
    // Where water is on screen: per band of waterBand screen rows, the spans of the water tiles
    // reaching into it (joined where they nearly touch); empty when no water is on screen.
    std::vector<TRect> _WaterOnScreen() const;
    static constexpr int32_t waterBand = 32;
    // Tile (x, y) in the walk over the screen: drawn (and cached) when it is not in the cache or
    // its water moves, then its road marks. Under an influence mask the tile is drawn and cached
    // multiplied by its colour; its road stays plain.
    void Draw(int32_t x, int32_t y, int32_t dim);
    // Before the ground is drawn: the blocks holding tiles whose influence colour changed with the
    // mask or the values are dropped, to be drawn again from their tiles.
    void UpdateTint();
    void drawBlackTile(int32_t x, int32_t y, int32_t force);
    // The cache's source: queues the images of the tiles (layer 1) or ring tiles (layer 0) that
    // reach into block (i, j), in the order of a pass over the map, x before y.
    void FillBlock(int32_t i, int32_t j, int32_t cacheLayer);
    static void _onFillBlock(void* context, int32_t i, int32_t j, int32_t cacheLayer);
    void EndDraw();
    // The ground section of a saved city: the plugin of every tile.
    void _onSave(TWorldFile& file);
    void _onLoad(TWorldFile& file);
    void Destroy();
    // Empties the block cache (the view changed size): every tile is cached again when next drawn.
    void ForgetCache();

    // Screen and cache-plane position of tile (x, y).
    void _ScreenPos(float x, float y, float& sx, float& sy) const;
    void _PlanePos(float x, float y, float& px, float& py) const;
    bool _InField(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }

    TLayer* layer = nullptr;
    // The pre-rendered blocks of this world's ground.
    mutable TOPPanel cache;
    TGroundTint tint;
    int32_t delMark = 0;
    std::vector<int32_t> delX, delY;
    std::vector<std::shared_ptr<TGround>> arr;  // index x * Height + y
    std::vector<uint8_t> arrRendered;
    std::vector<uint8_t> arrBlackTileRendered;  // 2 Width x 2 Height, index i * 2 Height + j
    std::shared_ptr<TInfluenceMask> infMask;
    int32_t preRendered = 0;
    int32_t Width = 0, Height = 0;

    static inline std::vector<std::shared_ptr<TPicturePlugin>> waterPlugins;
    static inline std::vector<std::shared_ptr<TPicturePlugin>> groundPlugins;
    static inline std::shared_ptr<TImage> shoreImg;      // flussufer.png, 30 frames
    static inline std::shared_ptr<TImage> shoreSideImg;  // flussufer_earth.png, 60 frames
    static inline std::shared_ptr<TImage> causticsImg1, causticsImg2;
    static inline std::shared_ptr<TImage> blackImg;
    static inline std::shared_ptr<TImage> deleteImg;
    static inline float causticsOffset1 = 0, causticsOffset2 = 0;

private:
    size_t _Index(int32_t x, int32_t y) const { return size_t(x) * size_t(Height) + size_t(y); }
    bool _IsMarkedForDelete(int32_t x, int32_t y) const;
    // Queues the flat road of tile (x, y) for the cache (bridges are drawn directly).
    void _CacheRoad(int32_t x, int32_t y, float px, float py, uint8_t reach) const;
};

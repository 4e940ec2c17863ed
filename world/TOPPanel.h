#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

class TImage;
class TPixmap;
class TOPData;

// The ground's pre-rendering cache: images that rarely change (ground tiles, the black outer
// ring) are copied once into large blocks of a plane fixed to the map, and the blocks are drawn
// each frame instead of the many small images. Two cache layers: 0 = black outer ring, 1 = ground.
//
// Block (i, j) covers the plane from (i * 512, j * 512); blocks are created on first use, so the
// plane has no fixed size and maps of any size fit. A block whose pixels all have one colour keeps
// no pixel copy: it is drawn from a small shared image of that colour stretched over the block,
// which puts the same pixels on screen. Writing that same colour into it changes nothing, so the
// wide black ring around the map costs memory only along its edges.
class TOPPanel {
public:
    static constexpr int32_t blockSize = 512;
    static constexpr int32_t layerCount = 2;
    // Pending draws are copied into the blocks when this many are queued, so that queuing a
    // whole large map does not hold all of them in memory at once.
    static constexpr size_t maxPending = 4096;

    struct TBlock {
        // The block's pixels; null while every pixel has `colour`.
        std::shared_ptr<TImage> image;
        uint32_t colour = 0;
        // Pixels written since the block got its pixel copy, and the count at which it is next
        // checked for being one colour (and at which it was last checked).
        int64_t written = 0;
        int64_t nextCheck = 0;
        int64_t checkedAt = 0;
        bool locked = false;
    };

    // A fresh, empty cache (a new world).
    static void Prepare();
    // Drops every block and pending draw.
    static void DePrepare();

    static void addImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame, float ox, float oy,
                         int32_t layer);
    // Copies every pending draw into its blocks, in the order queued, and re-uploads the blocks
    // that changed.
    static void performRendering();
    static void reallyDrawImage(const TOPData& d);
    // Copies the source pixels with alpha >= 128 to target at (x, y), clipped, without blending.
    // Returns the number of pixels written.
    static int64_t _drawOnPixmap(const TPixmap& source, TPixmap& target, int32_t x, int32_t y);
    // The locked pixels of the block holding plane point (x, y); the block is created (transparent)
    // or given its own pixel copy as needed. Null for a layer out of range.
    static std::shared_ptr<TPixmap> getPixmapForPos(float x, float y, int32_t layer);
    // Draws the layer's blocks that overlap the screen, with the plane origin at screen (x, y)
    // and the current drawing scale.
    static void Draw(float x, float y, int32_t layer);

    // The block index holding plane coordinate v.
    static int32_t BlockIndex(float v);
    // The block (i, j) of a layer, or null when it was never created.
    static const TBlock* GetBlock(int32_t i, int32_t j, int32_t layer);
    // Blocks of a layer, and how many of them hold a pixel copy.
    static size_t BlockCount(int32_t layer);
    static size_t PixelBlockCount(int32_t layer);
    static size_t PendingCount() { return pending.size(); }

private:
    using TKey = int64_t;
    static TKey _Key(int32_t i, int32_t j) { return (int64_t(i) << 32) | int64_t(uint32_t(j)); }
    static TBlock* _GetOrCreate(int32_t i, int32_t j, int32_t layer);
    // Gives the block a pixel copy filled with its colour, locked for writing.
    static TPixmap* _Materialise(TBlock& block, TKey key, int32_t layer);
    // Copies src into the block at (x, y) inside it.
    static void _drawOnBlock(TBlock& block, TKey key, int32_t layer, const TPixmap& src, int32_t x, int32_t y);
    // Drops the pixel copy when all pixels have one colour.
    static void _Compact(TBlock& block);
    static void _UnlockAll();
    static void _DrawBlock(const TBlock& block, float x, float y, float scaleX, float scaleY);
    static std::shared_ptr<TImage> _UniformImage(uint32_t colour);

    static inline std::unordered_map<TKey, TBlock> blocks[layerCount];
    static inline std::vector<std::pair<int32_t, TKey>> lockedBlocks;
    static inline std::vector<std::shared_ptr<TOPData>> pending;
    static inline std::map<uint32_t, std::shared_ptr<TImage>> uniformImages;
    static inline bool rendering = false;
};

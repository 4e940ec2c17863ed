#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/TCallback.h"

class TImage;
class TPixmap;
class TOPData;

// The ground's pre-rendering cache (one per world, held by its ground layer): images that rarely change (ground tiles,
// the black outer ring) are copied into large blocks of a plane fixed to the map, and the blocks are drawn each frame
// instead of the many small images. Two cache layers: 0 = black outer ring, 1 = ground.
//
// Block (i, j) covers the plane from (i * blockSize, j * blockSize); the plane has no fixed size,
// so maps of any size fit. A block whose pixels all have one colour keeps no pixel copy: it is
// drawn from a small shared image of that colour stretched over the block, which puts the same
// pixels on screen. Writing that same colour into it changes nothing, so the wide black ring
// around the map costs memory only along its edges.
//
// With a source (the world's ground) the cache holds only what is near the view: a block is
// drawn from its tiles when it first comes on screen, keeps its pixels only on the device (the
// texture) once uploaded, and is dropped when it was not drawn for a while and more blocks are
// held than the budget allows. A block that must change after its pixel copy was dropped is
// dropped as well and drawn again from its tiles. Without a source (tests, tools) blocks are
// made by the images written into them and kept with their pixels.
class TOPPanel {
public:
    static constexpr int32_t blockSize = 512;
    static constexpr int32_t layerCount = 2;
    // Pending draws are copied into the blocks when this many are queued, so that queuing a
    // whole large map does not hold all of them in memory at once.
    static constexpr size_t maxPending = 4096;
    // Blocks with pixels of their own (1 MB each on the device) kept with a source, and blocks
    // of any kind. The blocks on screen are kept even beyond the budget: at the widest zoom a
    // 1280 x 720 view shows up to 24 blocks of each layer, near the map's edge with pixels in both.
    static constexpr size_t defaultPixelBudget = 32;
    static constexpr size_t defaultBlockBudget = 128;

    // Which blocks an image goes into: every block it touches that the cache holds, or (while a
    // block is being drawn from its source) only that block.
    enum TReach : uint8_t { everyBlock = 0, filledBlock = 1 };

    // Queues with addImage every image that touches block (i, j) of the layer, in the order they
    // are to be copied.
    using TFill = TCallback<void(int32_t i, int32_t j, int32_t layer)>;

    struct TBlock {
        // The block's pixels; null while every pixel has `colour`. Its pixel copy (pixmaps[0])
        // is dropped once it is on the device when a source can draw the block again.
        std::shared_ptr<TImage> image;
        uint32_t colour = 0;
        // Pixels written since the block got its pixel copy, and the count at which it is next
        // checked for being one colour (and at which it was last checked).
        int64_t written = 0;
        int64_t nextCheck = 0;
        int64_t checkedAt = 0;
        bool locked = false;
        // The draw in which the block was last on screen.
        uint64_t lastUse = 0;
        // The device generation its texture was made under, once the pixel copy is dropped.
        uint32_t generation = 0;
        // Every pixel fully covers what lies below (found when the pixel copy is dropped; such a
        // block never changes afterwards), so it is drawn without blending.
        bool opaque = false;

        // Pixels that live only in the block's texture.
        bool OnDeviceOnly() const;
    };

    // A fresh, empty cache (a new world); the source is forgotten.
    void Prepare();
    // Drops every block and pending draw, the source, and restores the budgets and keepPixelCopies.
    void DePrepare();

    // The source that draws blocks for the cache. A source other than the current one (by its
    // context) empties the cache first: the blocks were drawn from another map.
    void SetSource(const TFill& fill);

    // Queues a copy of the image's frame at plane point (x, y), its pixels multiplied by `tint`
    // (0xFFRRGGBB; white copies them as they are).
    void addImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame, float ox, float oy,
                  int32_t layer, TReach reach = everyBlock, uint32_t tint = 0xFFFFFFFFu);
    // Copies every pending draw into its blocks, in the order queued, and re-uploads the blocks
    // that changed.
    void performRendering();
    void reallyDrawImage(const TOPData& d);
    // Copies the source pixels with alpha >= 128 to target at (x, y), clipped, without blending,
    // multiplied by `tint` (white: as they are). Returns the number of pixels written.
    static int64_t _drawOnPixmap(const TPixmap& source, TPixmap& target, int32_t x, int32_t y,
                                 uint32_t tint = 0xFFFFFFFFu);
    // The locked pixels of the block holding plane point (x, y); the block is created (transparent)
    // or given its own pixel copy as needed. Null for a layer out of range or a block whose pixels
    // live only on the device.
    std::shared_ptr<TPixmap> getPixmapForPos(float x, float y, int32_t layer);
    // Draws the layer's blocks that overlap the screen, with the plane origin at screen (x, y)
    // and the current drawing scale. With a source, the least recently drawn blocks beyond the
    // budget are dropped first, then the blocks on screen that are not held are drawn from it.
    void Draw(float x, float y, int32_t layer);

    // Drops block (i, j) of a layer when the cache holds it; with a source it is drawn again
    // from its tiles when next on screen.
    void DropBlock(int32_t i, int32_t j, int32_t layer);
    // The block index holding plane coordinate v.
    static int32_t BlockIndex(float v);
    // The block (i, j) of a layer, or null when the cache does not hold it.
    const TBlock* GetBlock(int32_t i, int32_t j, int32_t layer) const;
    // Blocks of a layer; how many of them have pixels of their own (not one colour); how many
    // still hold a pixel copy in main memory.
    size_t BlockCount(int32_t layer) const;
    size_t PixelBlockCount(int32_t layer) const;
    size_t PixelCopyCount(int32_t layer) const;
    size_t PendingCount() const { return pending.size(); }
    // Blocks drawn from the source since the cache was started.
    uint64_t FillCount() const { return fills; }

    size_t pixelBudget = defaultPixelBudget;
    size_t blockBudget = defaultBlockBudget;
    // Keeps every block's pixel copy after upload (tests and tools that read the pixels back).
    bool keepPixelCopies = false;

private:
    using TKey = int64_t;
    static TKey _Key(int32_t i, int32_t j) { return (int64_t(i) << 32) | int64_t(uint32_t(j)); }
    void _Clear();
    TBlock* _GetOrCreate(int32_t i, int32_t j, int32_t layer);
    // Gives the block a pixel copy filled with its colour, locked for writing.
    TPixmap* _Materialise(TBlock& block, TKey key, int32_t layer);
    // Whether copying src to (x, y) inside a one-colour block would change a pixel of it.
    bool _WouldChange(const TBlock& block, const TPixmap& src, int32_t x, int32_t y, uint32_t tint);
    // Copies src multiplied by tint into the block at (x, y) inside it.
    void _drawOnBlock(TBlock& block, TKey key, int32_t layer, const TPixmap& src, int32_t x, int32_t y,
                      uint32_t tint);
    // Drops the pixel copy when all pixels have one colour.
    void _Compact(TBlock& block);
    void _UnlockAll();
    void _DrawBlock(const TBlock& block, float x, float y, float scaleX, float scaleY);
    std::shared_ptr<TImage> _UniformImage(uint32_t colour);
    // Draws block (i, j) from the source, uploads it and keeps only the texture.
    void _Fill(int32_t i, int32_t j, int32_t layer);
    // Uploads the block's pixels and drops its pixel copy (unless copies are kept).
    void _KeepOnDeviceOnly(TBlock& block);
    // Removes a block; what was batched is drawn first, since the block's texture goes with it.
    void _Drop(int32_t layer, TKey key);
    // Drops the least recently drawn blocks until `room` more fit the budgets; the blocks on
    // screen in the last draw of each layer stay.
    void _Evict(size_t room);

    std::unordered_map<TKey, TBlock> blocks[layerCount];
    std::vector<std::pair<int32_t, TKey>> lockedBlocks;
    std::vector<std::shared_ptr<TOPData>> pending;
    std::map<uint32_t, std::shared_ptr<TImage>> uniformImages;
    bool rendering = false;
    TFill source;
    // The block being drawn from the source (filledBlock draws go only there).
    bool filling = false;
    int32_t fillLayer = 0;
    TKey fillKey = 0;
    uint64_t drawSerial = 0;
    uint64_t lastDraw[layerCount] = {};
    uint64_t fills = 0;
};

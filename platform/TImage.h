#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TPixmap;

enum : int32_t { MASKEDIMAGE = 1, FILTEREDIMAGE = 2, MIPMAPPEDIMAGE = 4, DYNAMICIMAGE = 8 };

// Where one frame of an image lies in its texture.
struct TImageFrame {
    uint32_t texture = 0;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

// A drawable image: one or more frames of equal size, each with a CPU pixmap, all frames
// sharing one texture (a grid of cells with a one-pixel border each). Frames are uploaded
// the first time they are drawn, and again only after a Lock for writing is Unlocked.
// An image may instead draw all its frames from a shared atlas (see TImageAtlas).
class TImage {
public:
    ~TImage();
    // Empty frames, always dynamic; flags -1 = the automatic flags.
    static std::shared_ptr<TImage> Create(int32_t width, int32_t height, int32_t frames = 1, int32_t flags = -1);
    static std::shared_ptr<TImage> Load(const std::string& path, int32_t flags = -1);
    // Cuts a strip into cells left to right, top to bottom, from cell `first` for `count` cells.
    static std::shared_ptr<TImage> LoadAnim(const std::string& path, int32_t cellWidth, int32_t cellHeight,
                                            int32_t first, int32_t count, int32_t flags = -1);
    static std::shared_ptr<TImage> FromPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t flags = -1);
    static std::shared_ptr<TImage> FromAnimPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t cellWidth,
                                                  int32_t cellHeight, int32_t first, int32_t count, int32_t flags = -1);

    int32_t width = 0;
    int32_t height = 0;
    int32_t flags = 0;
    int32_t mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<std::shared_ptr<TPixmap>> pixmaps;
    std::vector<TImageFrame> frames;
    // Per frame: how often its pixels were replaced; uploads follow the count.
    std::vector<int32_t> seqs;

    int32_t FrameCount() const { return static_cast<int32_t>(pixmaps.size()); }
    // The frame ready for drawing (uploaded if needed); null when out of range or no device.
    const TImageFrame* Frame(int32_t index);
    // The frame's pixmap; writes show once Unlock is called.
    std::shared_ptr<TPixmap> Lock(int32_t frame, bool read = true, bool write = true);
    void Unlock(int32_t frame);
    // Like Unlock, but the pixels go up into a new texture: a software device holds on to a
    // texture it drew in the last few frames, and writing into it waits until it lets go (about a
    // whole frame's drawing). For an image written anew every frame.
    void UnlockIntoNewTexture(int32_t frame);
    void SetPixmap(int32_t frame, const std::shared_ptr<TPixmap>& pixmap);
    void SetHandle(float x, float y);
    void MidHandle();
    // The part of a frame holding every pixel that is not fully transparent, widened by one
    // pixel on each side (clamped to the frame) so filtering at its edge is drawn as before;
    // empty (x0 == x1) when the frame has no such pixel. Worked out when first asked and again
    // after the frame's pixels changed.
    struct TTrim {
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    const TTrim& Trim(int32_t frame);
    // The atlas this image draws from (null: its own texture) and where a frame's pixels lie in
    // the atlas's pixmap.
    const std::shared_ptr<TImage>& Atlas() const { return atlas; }
    int32_t AtlasX(int32_t frame = 0) const { return atlasPlaces[static_cast<size_t>(frame)].first; }
    int32_t AtlasY(int32_t frame = 0) const { return atlasPlaces[static_cast<size_t>(frame)].second; }

private:
    friend class TImageAtlas;
    TImage() = default;
    // Copies the pixmap into `dst` with a one-pixel border repeating its edge pixels.
    static void CopyCell(const TPixmap& src, uint32_t* dst, int32_t pitchPixels);
    bool EnsureTexture();
    void Upload(int32_t frame);
    void ReleaseTexture();
    uint32_t texture = 0;
    uint32_t textureGeneration = 0;
    int32_t columns = 1;
    int32_t textureWidth = 0, textureHeight = 0;
    bool textureFailed = false;
    std::vector<int32_t> uploadedSeqs;
    std::vector<TTrim> trims;
    std::vector<int32_t> trimSeqs;  // the pixels' seq each trim was worked out for (0: never)
    std::shared_ptr<TImage> atlas;
    std::vector<std::pair<int32_t, int32_t>> atlasPlaces;
};

// Mask colour applied to masked images as they are loaded.
void SetMaskColor(int32_t r, int32_t g, int32_t b);
void GetMaskColor(int32_t& r, int32_t& g, int32_t& b);
// Flags used when a load passes -1 (default MASKEDIMAGE | FILTEREDIMAGE).
void AutoImageFlags(int32_t flags);
int32_t GetAutoImageFlags();
void AutoMidHandle(bool enable);
// While given a list, every image made from a picture (Load, LoadAnim, FromPixmap, FromAnimPixmap)
// is also noted there, so a loader can pack what it loaded into atlases; null stops noting.
void CollectLoadedImages(std::vector<std::weak_ptr<TImage>>* into);

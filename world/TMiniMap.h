#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TImage;
class TISO;
class TPixmap;

// The minimap: one small image per layer in which every map tile is two pixels side by side,
// laid out as the map's diamond. The world writes tile colours into it and draws it with the
// camera's view rectangle.
class TMiniMap {
public:
    static constexpr int32_t Layer_Map = 0;
    static constexpr int32_t Layer_Influence = 1;

    // Null for an empty map size or layer count, or when the images cannot be made.
    static std::shared_ptr<TMiniMap> Create(int32_t width, int32_t height, int32_t layerCount);
    void Destroy();

    void setVisible(int32_t flag, int32_t layer);
    int32_t isVisible(int32_t layer) const;
    void SetBlendMode(int32_t mode, int32_t layer);
    int32_t GetBlendMode(int32_t layer) const;
    void SetAlpha(float a, int32_t layer);
    float GetAlpha(int32_t layer) const;

    void BeginWrite(int32_t layer);
    void EndWrite(int32_t layer);
    // Writes the ARGB colour into the two pixels of tile (x, y).
    void Write(int32_t x, int32_t y, int32_t colour, int32_t layer);
    // The pixel of the left half of tile (x, y) (tests and tools); 0 outside.
    uint32_t Read(int32_t x, int32_t y, int32_t layer) const;
    // Pixel position of the left half of tile (x, y).
    void TilePixel(int32_t x, int32_t y, int32_t& px, int32_t& py) const;

    // Draws one layer (all layers in order for layer < 0) at (x, y) and returns the outline.
    std::array<float, 8> Draw(float x, float y, float scaleX, float scaleY, int32_t layer);
    void _Draw(float x, float y, int32_t layer);
    // The map diamond's corners left, top, right, bottom as x, y pairs, scaled and offset.
    std::array<float, 8> _GetOutline(float x, float y, float sx, float sy) const;
    int32_t getWidth() const;
    int32_t getHeight() const;

    std::vector<std::shared_ptr<TImage>> image;
    int32_t Width = 0, Height = 0;
    std::shared_ptr<TISO> iso;
    std::vector<std::shared_ptr<TPixmap>> _pixmap;
    std::vector<uint8_t> blendmode, visible, Alpha;

private:
    bool _ValidLayer(int32_t layer) const { return layer >= 0 && size_t(layer) < image.size() && image[size_t(layer)]; }
};

#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TImage;

// A frame picture cut into 3 × 3 cells: drawn at any size, the corners keep their size, the
// edges stretch along one axis and the centre fills the inside.
class TImageRect {
public:
    // Null for an empty path, an unreadable file or a picture smaller than 3 × 3 pixels.
    static std::shared_ptr<TImageRect> Load(const std::string& path);
    static std::shared_ptr<TImageRect> FromImage(const std::shared_ptr<TImage>& image);
    void Draw(float x, float y, float w, float h) const;
    // The nine cells, row by row (for packing them with the other interface pictures).
    const std::array<std::shared_ptr<TImage>, 9>& Cells() const { return cells; }

    std::shared_ptr<TImage> image;
    int32_t tilewidth = 0, TileHeight = 0;

private:
    std::array<std::shared_ptr<TImage>, 9> cells;
};

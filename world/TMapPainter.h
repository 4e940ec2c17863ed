#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TPixmap;

// Paints random maps in the colours of TMapColours for a new game: a winding river from one edge
// of the map to the opposite one (so the two banks meet only over a bridge), a few lakes,
// forests of the four tree kinds and an open clearing for the town. No roads.
class TMapPainter {
public:
    static constexpr int32_t MinSize = 64;
    static constexpr int32_t MaxSize = 1024;
    // The colours of a preview picture (ARGB).
    static constexpr uint32_t PreviewWater = 0xFF3D74C4u;
    static constexpr uint32_t PreviewForest = 0xFF2F5A26u;
    static constexpr uint32_t PreviewLand = 0xFF7FB04Cu;
    static constexpr uint32_t PreviewStreet = 0xFF8E8E8Eu;

    // A map is named by text (the replay's and the simulator's map line): a map image's path, or
    // "random:SIZE" for a map painted from the world's seed.
    static inline const std::string specPrefix = "random:";
    static std::string Spec(int32_t size) { return specPrefix + std::to_string(size); }
    // The size a painted map's name asks for; 0 for anything else (a map image's path).
    static int32_t SizeOfSpec(const std::string& map);

    // A size × size map (size clamped to MinSize … MaxSize); the same seed and size always give
    // the same pixels. Null only when the pixmap cannot be made.
    static std::shared_ptr<TPixmap> Paint(uint32_t seed, int32_t size);
    // A px × px picture of any map image: each pixel the mean of the preview colours of the
    // tiles it covers. Null for an empty map or px < 1.
    static std::shared_ptr<TPixmap> Preview(const TPixmap& map, int32_t px);
};

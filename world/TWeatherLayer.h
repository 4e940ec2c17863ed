#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "world/TGroundLayer.h"

class TImage;
class TLayer;
class TPixmap;
class TWorldFile;

// The weather: a value 0 (bright) ... 6 (storm) drawn anew every few game days and blended
// smoothly over one to three days; drawn as a full-screen tint, rain and lightning. Rain always
// falls under a darkened sky: the dim and both rain layers are put together on the processor into
// one tile of the rain's size, so the device fills the view once instead of three times.
class TWeatherLayer {
public:
    static void Prepare();
    static void DePrepare();
    static std::shared_ptr<TWeatherLayer> _create(TLayer* layer);

    // On every new day: perhaps begin a change to a new random value.
    void nextDay();
    // Draws the weather over the finished frame (at scale 1).
    void Draw();

    // The weather section of a saved city.
    void _onSave(TWorldFile& file) const;
    void _onLoad(TWorldFile& file);

    // The weather value now, blending from lastMode to currentMode.
    float GetValue() const;
    // Draws weather value a over a view of the given size; (panX, panY) fixes the rain to the map.
    // Rain falls in the view's rectangles `wet` (all of the view when null); the rest is only
    // darkened.
    void DrawValue(float a, float viewWidth, float viewHeight, float panX, float panY,
                   const std::vector<TGroundLayer::TRect>* wet = nullptr);
    // The map on screen, per band of mapBand screen rows: the span of the map's diamond in it
    // (the black ring beyond stays dry). Bands with the same span are joined.
    std::vector<TGroundLayer::TRect> _MapOnScreen(float viewWidth, float viewHeight) const;
    static constexpr int32_t mapBand = 32;
    // The tile that dims by `shade`, adds `light` (0xRRGGBB) and lays both rain layers over it at
    // alpha `rain`, the layers' pictures shifted by (x1, y1) and (x2, y2) pixels (fractions are
    // sampled between pixels, as a filtered texture is). Drawn in dim blending.
    static void _ComposeStorm(TPixmap& out, const TPixmap& rain, float alpha, float shade, uint32_t light, double x1,
                              double y1, double x2, double y2);

    int32_t currentMode = 3;
    int32_t lastMode = 3;
    int32_t lastDay = 0;
    int32_t untilChangeDay = 0;
    int32_t nextUpdateDay = 0;
    TLayer* layer = nullptr;

    static inline std::shared_ptr<TImage> rainImg;
    static inline std::shared_ptr<TImage> cloudsImg;
    // The composed storm tile (see _ComposeStorm), written anew every frame it rains, each time
    // into a new texture.
    std::shared_ptr<TImage> stormTile;
};

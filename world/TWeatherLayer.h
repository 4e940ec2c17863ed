#pragma once
#include <cstdint>
#include <memory>

class TImage;
class TLayer;
class TWorldFile;

// The weather: a value 0 (bright) ... 6 (storm) drawn anew every few game days and blended
// smoothly over one to three days; drawn as a full-screen tint, rain and lightning.
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
    void DrawValue(float a, float viewWidth, float viewHeight, float panX, float panY);

    int32_t currentMode = 3;
    int32_t lastMode = 3;
    int32_t lastDay = 0;
    int32_t untilChangeDay = 0;
    int32_t nextUpdateDay = 0;
    TLayer* layer = nullptr;

    static inline std::shared_ptr<TImage> rainImg;
    static inline std::shared_ptr<TImage> cloudsImg;
};

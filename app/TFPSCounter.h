#pragma once
#include <cstdint>
#include <memory>

// Frame-rate meter: one Update per frame, exponentially smoothed.
class TFPSCounter {
public:
    static std::shared_ptr<TFPSCounter> Create();
    void generate();
    void Update();
    float getFPS() const { return _curFPS; }
    float getMinFPS() const { return _minFPS; }
    float getMaxFPS() const { return _maxFPS; }

    int32_t _lastUpdate = 0;
    float _maxFPS = 0.0f;
    float _minFPS = 1000.0f;
    float _curFPS = -1.0f;  // below 0: no value yet
    float _smooth = 0.95f;
};

#include "app/TFPSCounter.h"

#include <algorithm>

#include "platform/TClock.h"

std::shared_ptr<TFPSCounter> TFPSCounter::Create() {
    auto c = std::make_shared<TFPSCounter>();
    c->generate();
    return c;
}

void TFPSCounter::generate() {
    _lastUpdate = Millisecs();
    _maxFPS = 0.0f;
    _minFPS = 1000.0f;
    _curFPS = -1.0f;
}

void TFPSCounter::Update() {
    const int32_t now = Millisecs();
    const int32_t dt =
        std::max(static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(_lastUpdate)), 1);
    const float fps = 1000.0f / float(dt) + 0.5f;
    _maxFPS = std::max(_maxFPS, fps);
    _minFPS = std::min(_minFPS, fps);
    if (_curFPS > -1.0f) {
        _curFPS = _curFPS * _smooth + fps * (1.0f - _smooth);
    } else {
        _curFPS = fps;
    }
    _lastUpdate = now;
}

#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/TFastRandom.h"

class TImage;
class TSmokeCloud;
class TTicker;

// A chimney's smoke: puffs that rise, drift with the wind, age through the frames of their
// strip and fade, two new ones a second.
class TSmoke {
public:
    static constexpr int32_t kindCount = 100;

    // Loads prefix + "00.png" ... prefix + "99.png"; missing files leave their slot empty.
    static void Init(const std::string& prefix);
    static void DeInit() { images = {}; }
    // Null when id is outside 0 ... 99 or its picture is not loaded. The puffs wander by random
    // (a building gives its world's drawing generator; a fixed one without).
    static std::shared_ptr<TSmoke> Create(float x, float y, int32_t id, float speed,
                                          const std::shared_ptr<vesko::TFastRandom>& random);

    // Draws and advances the puffs; (sx, sy) is the building's screen anchor.
    void Draw(float sx, float sy, float scaleX, float scaleY, float alpha, float wind);
    std::shared_ptr<TSmokeCloud> AddCloud(float x, float y, int32_t frame);
    void RemoveCloud(const std::shared_ptr<TSmokeCloud>& cloud);

    float X = 0, Y = 0;
    int32_t id = 0;
    float speed = 0;
    std::shared_ptr<TTicker> ticker;
    std::shared_ptr<TTicker> eticker;
    std::vector<std::shared_ptr<TSmokeCloud>> sm;
    std::shared_ptr<vesko::TFastRandom> random;

    static inline std::array<std::shared_ptr<TImage>, kindCount> images;
};

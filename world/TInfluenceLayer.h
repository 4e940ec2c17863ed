#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class BColor;
class TBuilding;
class TInfluenceMask;
class TLayer;
class TMiniMap;
class TRoad;
class TWorldFile;

// How strongly each of fifteen services and nuisances reaches every tile. Working buildings
// spread their plugin's values in a circle around their footprint centre, roads spread air
// pollution and noise by their traffic; values combine by maximum. Rebuilt from scratch at most
// once a second; buildings judge their satisfaction by it, the ground and minimap are tinted by it.
class TInfluenceLayer {
public:
    static constexpr uint8_t infWater = 0, infEnergy = 1, infSport = 2, infMedic = 3, infReligion = 4, infPolice = 5,
                             infFireDepartment = 6, infCulture = 7, infFreeTime = 8, infLearn = 9, infRadio = 10,
                             infTV = 11, infAirPollution = 12, infWaterPollution = 13, infNoise = 14,
                             countInfluences = 15;
    static constexpr int32_t waitTime = 1000;
    // Tiles a rebuild may visit per call of reCalc: a big city's rebuild is spread over a few
    // frames instead of stalling one. The sources are taken when the rebuild starts, so the result
    // is that of a rebuild at that moment; the values in use change when it is complete.
    static constexpr int64_t rebuildTilesPerCall = 120000;
    // One source: a value of a kind reaching every tile within the radius of a point.
    struct TSpread {
        float x, y;
        int32_t kind, value;
        float radius;
    };
    // Bytes 0 … 14 are the kinds; byte 15 is 1 once any value of the tile was set.
    using TCell = std::array<uint8_t, 16>;

    static std::shared_ptr<TInfluenceLayer> _create(TLayer* layer);
    // A zero grid of the world's size.
    std::vector<TCell> _generateEmptyArray() const;
    void Clear();
    void reCalc();
    void useBuilding(const TBuilding& building);
    void useRoad(const TRoad& road);
    // The sources of a building (only a working one has any) and of a road (by its traffic).
    static void _collectBuilding(const TBuilding& building, std::vector<TSpread>& out);
    static void _collectRoad(const TRoad& road, std::vector<TSpread>& out);
    // Whether a rebuild is under way (started and not yet in use).
    bool isRebuilding() const { return rebuilding; }
    void addValue(float x, float y, int32_t kind, int32_t value, float radius);
    void _addToField(int32_t x, int32_t y, int32_t kind, int32_t value);
    void _setValue(int32_t x, int32_t y, int32_t kind, int32_t value);
    static int32_t _infExist(int32_t kind) { return (kind >= 0 && kind < countInfluences) ? 1 : 0; }
    // The German name of a kind as the player reads it ("Wasser", "Lärm"), the key of its
    // translation (Tr); empty for no kind.
    static const char* KindName(int32_t kind);
    int32_t getValue(int32_t x, int32_t y, int32_t kind) const;
    float GetInfluenceMaskState(int32_t x, int32_t y, const std::shared_ptr<TInfluenceMask>& mask) const;
    std::shared_ptr<BColor> GetGroundColor(int32_t x, int32_t y, const std::shared_ptr<TInfluenceMask>& mask);
    void startNewGroundDrawing() {
        defaultGroundColor.reset();
        defaultGroundMask.reset();
    }
    // The colour of every tile under the mask (0xAARRGGBB), row-major like arr; worked out again
    // only for another mask or changed values (the minimap and the ground tint share it).
    const std::vector<uint32_t>& GroundColours(const std::shared_ptr<TInfluenceMask>& mask);
    void renderMiniMap(TMiniMap& minimap, const std::shared_ptr<TInfluenceMask>& mask, int32_t minimapLayer);
    void Destroy();
    // The influence section of a saved city: the sources of the values in use and of a rebuild
    // under way, from which loading computes both grids again.
    void _onSave(TWorldFile& file);
    void _onLoad(TWorldFile& file);

    TLayer* layer = nullptr;
    int32_t Width = 0, Height = 0;
    std::vector<TCell> arr;  // row-major: index y * Width + x
    int32_t lastCheck = 0;
    int32_t bRendered = 0;
    // Counts the changes of the values in use (a finished rebuild, a load, a clear).
    uint64_t generation = 0;
    std::shared_ptr<TInfluenceMask> lastRenderedMask;
    std::shared_ptr<BColor> defaultGroundColor;
    // The mask defaultGroundColor was computed for: another mask within the same frame gets its own.
    std::shared_ptr<TInfluenceMask> defaultGroundMask;

private:
    // Writes one source into a grid of this layer's size; returns the tiles visited.
    int64_t _spread(std::vector<TCell>& grid, const TSpread& s) const;
    void _startRebuild(int32_t now);
    void _continueRebuild();

    bool rebuilding = false;
    // The sources arr was built from.
    std::vector<TSpread> appliedSpreads;
    std::vector<TSpread> pendingSpreads;
    size_t pendingNext = 0;
    std::vector<TCell> pendingArr;
    std::vector<uint32_t> colours;
    std::shared_ptr<TInfluenceMask> coloursMask;
    uint64_t coloursGeneration = 0;
};

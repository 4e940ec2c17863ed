#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "plugins/TInfluenceContainer.h"

class BColor;

// What a place must offer: a needed value per influence kind, kinds that are left out, and
// whether the colour ramp is the strict one of buildings.
class TInfluenceMask {
public:
    using TValues = TInfluenceContainer::TValues;

    TValues neededValue{};
    TValues ignoredValue{};
    int32_t bBuilding = 0;

    static std::shared_ptr<TInfluenceMask> Create(const TValues& needed, int32_t bBuilding);
    static std::shared_ptr<TInfluenceMask> CreateFromValues(uint8_t water, uint8_t energy, uint8_t sport, uint8_t medic,
                                                            uint8_t religion, uint8_t police, uint8_t firebrigade,
                                                            uint8_t culture, uint8_t freetime, uint8_t education,
                                                            uint8_t radio, uint8_t tv, uint8_t airpollution,
                                                            uint8_t waterpollution, uint8_t noise, int32_t bBuilding);
    static std::shared_ptr<TInfluenceMask> CreateFromContainer(const TInfluenceContainer& container, int32_t bBuilding);
    std::shared_ptr<TInfluenceMask> Copy(int32_t bBuilding) const;

    void setIgnore(const TValues& ignored) { ignoredValue = ignored; }
    void setIgnoreFromValues(uint8_t water, uint8_t energy, uint8_t sport, uint8_t medic, uint8_t religion,
                             uint8_t police, uint8_t firebrigade, uint8_t culture, uint8_t freetime, uint8_t education,
                             uint8_t radio, uint8_t tv, uint8_t airpollution, uint8_t waterpollution, uint8_t noise);

    // 0 ... 1: the product over the kinds not ignored of how much of the need is met. For a
    // pollution the need is the room left below 100. Values beyond the span count as 0, so a
    // tile's array (15 influences and a touched flag) is passed as it is.
    float GetState(std::span<const uint8_t> values) const;
    // 1 only when the state is exactly 1.
    uint8_t getStateFromValues(uint8_t water, uint8_t energy, uint8_t sport, uint8_t medic, uint8_t religion,
                               uint8_t police, uint8_t firebrigade, uint8_t culture, uint8_t freetime,
                               uint8_t education, uint8_t radio, uint8_t tv, uint8_t airpollution,
                               uint8_t waterpollution, uint8_t noise) const;
    // Opaque, green = state x 255. Buildings show red for any shortfall (red to yellow, pure green
    // only when complete); other masks ramp smoothly from red to green.
    std::shared_ptr<BColor> GetColorOfState(float state) const;
};

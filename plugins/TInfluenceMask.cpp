#include "plugins/TInfluenceMask.h"

#include <algorithm>

#include "platform/TNumberText.h"
#include "plugins/BColor.h"

std::shared_ptr<TInfluenceMask> TInfluenceMask::Create(const TValues& needed, int32_t bBuilding) {
    std::shared_ptr<TInfluenceMask> mask = std::make_shared<TInfluenceMask>();
    mask->neededValue = needed;
    mask->bBuilding = bBuilding;
    return mask;
}

std::shared_ptr<TInfluenceMask> TInfluenceMask::CreateFromValues(uint8_t water, uint8_t energy, uint8_t sport,
                                                                 uint8_t medic, uint8_t religion, uint8_t police,
                                                                 uint8_t firebrigade, uint8_t culture, uint8_t freetime,
                                                                 uint8_t education, uint8_t radio, uint8_t tv,
                                                                 uint8_t airpollution, uint8_t waterpollution,
                                                                 uint8_t noise, int32_t bBuilding) {
    return Create({water, energy, sport, medic, religion, police, firebrigade, culture, freetime, education, radio, tv,
                   airpollution, waterpollution, noise},
                  bBuilding);
}

std::shared_ptr<TInfluenceMask> TInfluenceMask::CreateFromContainer(const TInfluenceContainer& container,
                                                                    int32_t bBuilding) {
    return Create(container.neededInfluenceValue, bBuilding);
}

std::shared_ptr<TInfluenceMask> TInfluenceMask::Copy(int32_t newBBuilding) const {
    std::shared_ptr<TInfluenceMask> mask = Create(neededValue, newBBuilding);
    mask->ignoredValue = ignoredValue;
    return mask;
}

void TInfluenceMask::setIgnoreFromValues(uint8_t water, uint8_t energy, uint8_t sport, uint8_t medic, uint8_t religion,
                                         uint8_t police, uint8_t firebrigade, uint8_t culture, uint8_t freetime,
                                         uint8_t education, uint8_t radio, uint8_t tv, uint8_t airpollution,
                                         uint8_t waterpollution, uint8_t noise) {
    ignoredValue = {water,    energy,    sport, medic, religion,     police,         firebrigade, culture,
                    freetime, education, radio, tv,    airpollution, waterpollution, noise};
}

float TInfluenceMask::GetState(std::span<const uint8_t> values) const {
    float state = 1.0f;
    for (int32_t k = 0; k < TInfluenceContainer::countInfluences; ++k) {
        if (ignoredValue[k] != 0) continue;
        int32_t need = neededValue[k];
        int32_t have = static_cast<size_t>(k) < values.size() ? values[static_cast<size_t>(k)] : 0;
        if (TInfluenceContainer::influenceDirection[k] < 0) {
            need = 100 - need;
            have = 100 - have;
        }
        const float factor = need > 0 ? std::clamp(float(have) / float(need), 0.0f, 1.0f) : 1.0f;
        state *= factor;
    }
    return state;
}

uint8_t TInfluenceMask::getStateFromValues(uint8_t water, uint8_t energy, uint8_t sport, uint8_t medic,
                                           uint8_t religion, uint8_t police, uint8_t firebrigade, uint8_t culture,
                                           uint8_t freetime, uint8_t education, uint8_t radio, uint8_t tv,
                                           uint8_t airpollution, uint8_t waterpollution, uint8_t noise) const {
    const TValues values = {water,    energy,    sport, medic, religion,     police,         firebrigade, culture,
                            freetime, education, radio, tv,    airpollution, waterpollution, noise};
    return GetState(values) == 1.0f ? 1 : 0;
}

std::shared_ptr<BColor> TInfluenceMask::GetColorOfState(float state) const {
    // Truncated to an int and then to its low byte, as every byte of the plugin values.
    const auto toByte = [](float value) { return static_cast<uint8_t>(TNumberText::TruncToInt(value) & 255); };
    const uint8_t green = toByte(state * 255.0f);
    uint8_t red;
    if (bBuilding != 0) {
        red = state == 1.0f ? 0 : 255;
    } else {
        red = toByte(255.0f - state * 255.0f);
    }
    return BColor::Create(red, green, 0, 255);
}

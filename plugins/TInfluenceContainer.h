#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

class TPluginReader;
class TInfluenceMask;

// The influences a plugin spreads (value and radius per kind) and the ones it needs.
// The fifteen kinds are the services a building wants (direction +1) followed by the three
// pollutions it wants to avoid (direction -1).
class TInfluenceContainer {
public:
    static constexpr int32_t countInfluences = 15;
    using TValues = std::array<uint8_t, countInfluences>;

    // Kind names in index order; each is also the first word of its plugin keys.
    static constexpr std::array<std::string_view, countInfluences> influenceNames = {
        "water",    "energy",    "sport", "medic", "religion",     "police",         "firebrigade", "culture",
        "freetime", "education", "radio", "tv",    "airpollution", "waterpollution", "noise"};
    static constexpr std::array<int32_t, countInfluences> influenceDirection = {1, 1, 1, 1, 1,  1,  1, 1,
                                                                                1, 1, 1, 1, -1, -1, -1};
    static constexpr std::string_view infPlaceholder = " ";
    static constexpr std::string_view infValueSuffix = "value";
    static constexpr std::string_view infRadiusSuffix = "radius";
    static constexpr std::string_view infNeededSuffix = "needed";

    TValues influenceRadius{};
    TValues influenceValue{};
    TValues neededInfluenceValue{};

    // Reads "<kind> value", "<kind> radius" and "<kind> needed" for every kind (absent keys give 0).
    static std::shared_ptr<TInfluenceContainer> ReadFromPluginReader(const TPluginReader& reader, int32_t scope);
    // A building mask of the needed values.
    std::shared_ptr<TInfluenceMask> GetInfluenceMask() const;
};

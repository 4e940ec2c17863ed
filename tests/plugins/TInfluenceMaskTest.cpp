#include <gtest/gtest.h>

#include "platform/TDrawState.h"
#include "plugins/BColor.h"
#include "plugins/TInfluenceContainer.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TPluginReader.h"

namespace {

using TValues = TInfluenceMask::TValues;
constexpr int kSport = 2, kEducation = 9, kAir = 12, kWaterPollution = 13, kNoise = 14;

TValues With(std::initializer_list<std::pair<int, uint8_t>> entries) {
    TValues v{};
    for (const auto& [k, value] : entries) v[k] = value;
    return v;
}

}  // namespace

TEST(TInfluenceMaskState, ServicesScaleWithWhatIsPresent) {
    const auto none = TInfluenceMask::Create({}, 1);
    EXPECT_EQ(none->GetState(TValues{}), 1.0f);

    const auto sport = TInfluenceMask::Create(With({{kSport, 50}}), 1);
    EXPECT_FLOAT_EQ(sport->GetState(With({{kSport, 25}})), 0.5f);
    EXPECT_EQ(sport->GetState(With({{kSport, 50}})), 1.0f);
    EXPECT_EQ(sport->GetState(With({{kSport, 200}})), 1.0f);
    EXPECT_EQ(sport->GetState(TValues{}), 0.0f);

    // Each kind multiplies in.
    const auto two = TInfluenceMask::Create(With({{kSport, 50}, {kEducation, 40}}), 1);
    EXPECT_FLOAT_EQ(two->GetState(With({{kSport, 25}, {kEducation, 10}})), 0.125f);
}

TEST(TInfluenceMaskState, PollutionsCountTheRoomLeftBelowAHundred) {
    // A need of 100 for a pollution never lowers the state, whatever is present.
    const auto tolerant = TInfluenceMask::Create(With({{kAir, 100}, {kWaterPollution, 100}, {kNoise, 100}}), 1);
    EXPECT_EQ(tolerant->GetState(With({{kAir, 255}, {kWaterPollution, 100}, {kNoise, 50}})), 1.0f);

    const auto strict = TInfluenceMask::Create(With({{kAir, 10}, {kWaterPollution, 100}, {kNoise, 100}}), 1);
    EXPECT_EQ(strict->GetState(With({{kAir, 10}})), 1.0f);
    EXPECT_FLOAT_EQ(strict->GetState(With({{kAir, 55}})), 0.5f);
    EXPECT_EQ(strict->GetState(With({{kAir, 100}})), 0.0f);
    // More than 100 would give a negative share; it stays at 0.
    EXPECT_EQ(strict->GetState(With({{kAir, 180}})), 0.0f);

    // A pollution need of 0 means "none at all tolerated".
    const auto zero = TInfluenceMask::Create({}, 1);
    EXPECT_FLOAT_EQ(zero->GetState(With({{kNoise, 20}})), 0.8f);
    // Above 100 the need turns negative: the kind no longer counts.
    const auto over = TInfluenceMask::Create(With({{kAir, 150}, {kWaterPollution, 100}, {kNoise, 100}}), 1);
    EXPECT_EQ(over->GetState(With({{kAir, 250}})), 1.0f);
}

TEST(TInfluenceMaskState, IgnoredKindsAndShortArrays) {
    auto mask = TInfluenceMask::Create(With({{kSport, 50}, {kEducation, 80}}), 1);
    mask->setIgnoreFromValues(0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(mask->GetState(With({{kEducation, 40}})), 0.5f);
    mask->setIgnore(With({{kEducation, 1}}));
    EXPECT_FLOAT_EQ(mask->GetState(With({{kSport, 10}})), 0.2f);

    // A tile carries a 16th byte (touched flag) which is not an influence.
    const uint8_t tile[16] = {0, 0, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(mask->GetState(tile), 1.0f);
    // Entries missing from a short array count as 0 (and pollution 0 is fine).
    const uint8_t shortTile[3] = {0, 0, 25};
    EXPECT_FLOAT_EQ(mask->GetState(shortTile), 0.5f);
    EXPECT_FLOAT_EQ(mask->GetState({}), 0.0f);
}

TEST(TInfluenceMaskState, StateFromValuesIsOneOnlyWhenComplete) {
    const auto mask = TInfluenceMask::CreateFromValues(0, 0, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 100, 100, 1);
    EXPECT_EQ(mask->neededValue[kSport], 50);
    EXPECT_EQ(mask->neededValue[kNoise], 100);
    EXPECT_EQ(mask->getStateFromValues(0, 0, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(mask->getStateFromValues(0, 0, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0);
}

TEST(TInfluenceMaskValues, CopyKeepsNeedsAndIgnoresButTakesTheNewRamp) {
    TInfluenceContainer container;
    container.neededInfluenceValue[kSport] = 70;
    container.influenceValue[kSport] = 5;
    auto mask = TInfluenceMask::CreateFromContainer(container, 1);
    EXPECT_EQ(mask->neededValue, container.neededInfluenceValue);
    EXPECT_EQ(mask->ignoredValue, TValues{});
    EXPECT_EQ(container.GetInfluenceMask()->neededValue, container.neededInfluenceValue);
    EXPECT_EQ(container.GetInfluenceMask()->bBuilding, 1);

    mask->setIgnore(With({{kNoise, 1}}));
    const auto copy = mask->Copy(0);
    EXPECT_NE(copy, mask);
    EXPECT_EQ(copy->neededValue, mask->neededValue);
    EXPECT_EQ(copy->ignoredValue, mask->ignoredValue);
    EXPECT_EQ(copy->bBuilding, 0);
    // The copy is independent.
    copy->neededValue[kSport] = 1;
    EXPECT_EQ(mask->neededValue[kSport], 70);
}

TEST(TInfluenceMaskColor, BuildingsShowAnyShortfallRed) {
    const auto building = TInfluenceMask::Create({}, 1);
    auto c = building->GetColorOfState(1.0f);
    EXPECT_EQ(c->toARGB(), int32_t(0xFF00FF00u));
    c = building->GetColorOfState(0.999f);
    EXPECT_EQ(c->RED, 255);
    EXPECT_EQ(c->green, 254);
    c = building->GetColorOfState(0.5f);
    EXPECT_EQ(c->toARGB(), int32_t(0xFFFF7F00u));
    c = building->GetColorOfState(0.0f);
    EXPECT_EQ(c->toARGB(), int32_t(0xFFFF0000u));
}

TEST(TInfluenceMaskColor, OtherMasksRampSmoothly) {
    const auto ground = TInfluenceMask::Create({}, 0);
    EXPECT_EQ(ground->GetColorOfState(1.0f)->toARGB(), int32_t(0xFF00FF00u));
    EXPECT_EQ(ground->GetColorOfState(0.0f)->toARGB(), int32_t(0xFFFF0000u));
    const auto half = ground->GetColorOfState(0.5f);
    EXPECT_EQ(half->RED, 127);
    EXPECT_EQ(half->green, 127);
    EXPECT_EQ(half->blue, 0);
    EXPECT_EQ(half->Alpha, 255);
    const auto quarter = ground->GetColorOfState(0.25f);
    EXPECT_EQ(quarter->RED, 191);
    EXPECT_EQ(quarter->green, 63);
}

TEST(BColorTest, RecordPackingAndDrawingState) {
    BColor fresh;
    EXPECT_EQ(fresh.toARGB(), 0);
    const auto c = BColor::Create(1, 2, 3, 255);
    EXPECT_EQ(c->toARGB(), int32_t(0xFF010203u));
    EXPECT_EQ(BColor::Create(0xAB, 0xCD, 0xEF, 0x12)->toARGB(), 0x12ABCDEF);

    BColor::Create(10, 20, 30, 51)->Use();
    int32_t r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.2f);
    BColor::useDefault();
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(GetAlpha(), 1.0f);
}

TEST(TInfluenceContainerTest, ReadsFortyFiveKeysAsBytes) {
    const auto reader = TPluginReader::FromBytes(
        "- title\nT\n>\n- water value\n300\n- water radius\n-1\n- noise needed\n40\n- Sport Value\n7\n"
        "- tv radius\n12\n- firebrigade needed\nabc\n- education  value\n9\n<\n");
    const auto container = reader->GetInfluenceContainer(1);
    ASSERT_TRUE(container);
    EXPECT_EQ(container->influenceValue[0], 44);
    EXPECT_EQ(container->influenceRadius[0], 255);
    EXPECT_EQ(container->neededInfluenceValue[kNoise], 40);
    EXPECT_EQ(container->influenceValue[kSport], 7);
    EXPECT_EQ(container->influenceRadius[11], 12);
    EXPECT_EQ(container->neededInfluenceValue[6], 0);
    // The name and suffix are joined by exactly one space.
    EXPECT_EQ(container->influenceValue[kEducation], 0);
    // Scope 0 holds none of them.
    EXPECT_EQ(reader->GetInfluenceContainer(0)->influenceValue, TValues{});
}

TEST(TInfluenceDefaultMasks, ResidentsToleratePollutionLessAtHigherLevels) {
    TPicturePlugin::Init();
    const uint8_t expectedAir[5] = {100, 80, 50, 30, 10};
    for (int level = 0; level < 5; ++level) {
        const auto& res = TPicturePlugin::ResidentialMasks()[level];
        EXPECT_EQ(res->neededValue[kAir], expectedAir[level]);
        EXPECT_EQ(res->neededValue[kNoise], expectedAir[level]);
        EXPECT_EQ(res->neededValue[kWaterPollution], 100);
        EXPECT_EQ(res->bBuilding, 1);
        for (int k = 0; k < 12; ++k) EXPECT_EQ(res->neededValue[k], 0);
        for (const auto& mask : {TPicturePlugin::CommercialMasks()[level], TPicturePlugin::IndustrialMasks()[level]}) {
            EXPECT_EQ(mask->neededValue, With({{kAir, 100}, {kWaterPollution, 100}, {kNoise, 100}}));
        }
    }
    // Level 2 residents accept air pollution and noise up to 80.
    const auto& level2 = TPicturePlugin::ResidentialMasks()[1];
    EXPECT_EQ(level2->GetState(With({{kAir, 80}, {kNoise, 80}, {kWaterPollution, 255}})), 1.0f);
    EXPECT_LT(level2->GetState(With({{kAir, 81}})), 1.0f);
}

// The sound generator: the same recipes write the same bytes, and data/sounds is what they write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/TSound.h"
#include "platform/TStream.h"
#include "platform/TWave.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tools/TSoundGenerator.h"
#include "tools/TSoundRecipes.h"

namespace {

TEST(SoundGeneratorTest, CommittedSoundsAndListingAreWhatTheRecipesWriteTwiceAlike) {
    TempDir first, second;
    ASSERT_TRUE(TSoundGenerator::WriteAll(first.path));
    ASSERT_TRUE(TSoundGenerator::WriteAll(second.path));
    const std::string committed = (std::filesystem::current_path() / "data/sounds").string();
    std::vector<std::string> files = {TSoundGenerator::listingName};
    for (const TSoundRecipe& r : TSoundRecipes::All()) files.push_back(r.name + ".wav");
    for (const std::string& name : files) {
        const std::string made = FileBytes(first.File(name));
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == FileBytes(second.File(name))) << name << " differs between two runs";
        EXPECT_TRUE(made == FileBytes(committed + "/" + name))
            << "data/sounds/" << name << " is not what the recipe writes";
    }
    // Nothing else lies in data/sounds.
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(committed)) count += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, files.size());
}

TEST(SoundGeneratorTest, EverySoundIsReadableAndLoopsStayBelowTheEvents) {
    int32_t loudestLoop = 0, quietestEvent = 32767;
    for (const TSoundRecipe& r : TSoundRecipes::All()) {
        const std::vector<int16_t> samples = TSoundGenerator::Make(r.name);
        std::vector<int16_t> read;
        std::string reason;
        ASSERT_TRUE(TWave::Decode(TWave::Encode(samples, TSound::rate), read, reason)) << r.name << reason;
        int32_t peak = 0;
        for (int16_t s : samples) peak = std::max(peak, std::abs(int32_t(s)));
        EXPECT_GT(peak, 3000) << r.name << " is nearly silent";
        if (r.loop) {
            loudestLoop = std::max(loudestLoop, peak);
            // A loop ends where it begins: no jump at the seam.
            EXPECT_LT(std::abs(int32_t(samples.back()) - int32_t(samples.front())), 3000) << r.name;
            EXPECT_LE(samples.size(), size_t(5 * TSound::rate)) << r.name;
        } else if (r.name != "click" && r.name != "refused") {
            quietestEvent = std::min(quietestEvent, peak);
        }
    }
    EXPECT_LT(loudestLoop * 2, quietestEvent);
    EXPECT_TRUE(TSoundGenerator::Make("no such sound").empty());
}

}  // namespace

// The settings panel's rows: stepping writes exactly the row's keys into options.cfg, the lists
// stop at their ends, and a value that is not in a list is shown and stepped from.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "platform/TCatalogue.h"
#include "platform/TStream.h"
#include "settings/TSettings.h"
#include "settings/TSettingsChoices.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

namespace {

using TRow = TSettingsChoices::TRow;

// A file as the game ships it: CR LF endings, a header, keys the panel never touches between.
const std::string shipped =
    "Vallmora options\r\n- Language\r\n1\r\n- Graphic-Mode\r\n2\r\n- Resolution horizontal\r\n1024\r\n"
    "- Resolution vertical\r\n768\r\n- Playername\r\nJ\xF6rg\r\n- Show FPS and Version\r\n1\r\n- gamma\r\n0\r\n"
    "- UI scale\r\n1\r\n- Rule set\r\ngrowth\r\n- scroll speed\r\n600\r\n- Autosave\r\n1\r\n";

// The file's lines, each with its CR.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class SettingsChoicesTest : public testing::Test {
protected:
    void SetUp() override {
        TSettings::SetDefaults();
        TCatalogue::Reset();
        Write(shipped);
    }
    void TearDown() override { TSettings::SetDefaults(); }
    // The file holds bytes, and TSettings what it says.
    void Write(const std::string& bytes) {
        auto s = TStream::WriteFile(path);
        ASSERT_TRUE(s);
        s->WriteString(bytes);
        ASSERT_TRUE(s->Close());
        TSettings::SetDefaults();
        TSettings::ReadIn(dir.path);
    }
    TempDir dir;
    const std::string path = dir.File("options.cfg");
    TSettingsChoices choices{path};
};

}  // namespace

TEST_F(SettingsChoicesTest, AStepWritesOnlyItsRowsKeysAndTheGameReadsItBack) {
    const struct {
        TRow row;
        int32_t direction;
        std::map<std::string, std::string> written;
    } cases[] = {
        {TSettingsChoices::WindowSize, +1, {{"Resolution horizontal", "1280"}, {"Resolution vertical", "720"}}},
        {TSettingsChoices::WindowSize, -1, {{"Resolution horizontal", "800"}, {"Resolution vertical", "600"}}},
        {TSettingsChoices::FullScreen, +1, {{"Graphic-Mode", "1"}}},
        {TSettingsChoices::InterfaceScale, +1, {{"UI scale", "1.25"}}},
        {TSettingsChoices::InterfaceScale, -1, {{"UI scale", "0.75"}}},
        {TSettingsChoices::FPSLine, -1, {{"Show FPS and Version", "0"}}},
        {TSettingsChoices::Gamma, +1, {{"gamma", "16"}}},
        {TSettingsChoices::Gamma, -1, {{"gamma", "-16"}}},
        {TSettingsChoices::ScrollSpeed, +1, {{"scroll speed", "900"}}},
        {TSettingsChoices::Autosave, -1, {{"Autosave", "0"}}},
        {TSettingsChoices::Language, +1, {{"Language", "2"}}},
    };
    for (const auto& c : cases) {
        Write(shipped);
        const std::string shownBefore = choices.ValueText(c.row);
        ASSERT_TRUE(choices.Step(c.row, c.direction)) << TSettingsChoices::Key(c.row);
        const std::string shown = choices.ValueText(c.row);
        EXPECT_NE(shown, shownBefore);
        EXPECT_EQ(c.written.count(TSettingsChoices::Key(c.row)), 1u) << shown;

        // Line by line: the value lines of the row's keys changed, every other byte stayed.
        const std::vector<std::string> before = Lines(shipped), after = Lines(FileBytes(path));
        ASSERT_EQ(after.size(), before.size()) << shown;
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            const std::string key = i > 0 && before[i - 1].starts_with("- ")
                                        ? before[i - 1].substr(2, before[i - 1].size() - 3)
                                        : std::string();
            const auto w = c.written.find(key);
            if (w == c.written.end()) {
                EXPECT_EQ(after[i], before[i]) << shown << " line " << i;
            } else {
                EXPECT_EQ(after[i], w->second + "\r") << shown;
                ++changed;
            }
        }
        EXPECT_EQ(changed, c.written.size()) << shown;

        // A new start reads the same value back.
        TSettings::SetDefaults();
        TSettings::ReadIn(dir.path);
        EXPECT_EQ(choices.ValueText(c.row), shown);
    }
}

TEST_F(SettingsChoicesTest, EveryRowStopsAtBothEndsAndATapCyclesRound) {
    for (int32_t r = 0; r < TSettingsChoices::RowCount; ++r) {
        const TRow row = TRow(r);
        Write(shipped);
        const size_t count = choices.Choices(row).size();
        ASSERT_GE(count, 2u) << r;
        while (choices.Step(row, -1)) {
        }
        EXPECT_EQ(choices.Current(row), 0u) << r;
        EXPECT_FALSE(choices.CanStep(row, -1)) << r;
        const std::string atFirst = FileBytes(path);
        EXPECT_FALSE(choices.Step(row, -1)) << r;
        EXPECT_EQ(FileBytes(path), atFirst) << r;

        // Up through every value, each shown differently, to the last.
        std::vector<std::string> seen{choices.ValueText(row)};
        while (choices.Step(row, +1)) seen.push_back(choices.ValueText(row));
        EXPECT_EQ(seen.size(), count) << r;
        EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), count) << r;
        EXPECT_FALSE(choices.CanStep(row, +1)) << r;
        const std::string atLast = FileBytes(path);
        EXPECT_FALSE(choices.Step(row, +1)) << r;
        EXPECT_EQ(FileBytes(path), atLast) << r;

        // A tap on the row goes from the last value round to the first.
        EXPECT_TRUE(choices.Cycle(row)) << r;
        EXPECT_EQ(choices.ValueText(row), seen.front()) << r;
        EXPECT_EQ(FileBytes(path), atFirst) << r;
    }
}

TEST_F(SettingsChoicesTest, AValueMissingFromTheListIsShownInItsPlaceAndSteppedFrom) {
    const struct {
        std::string key, value;
        TRow row;
        std::string shown, previous, next;
    } cases[] = {
        // A window the player dragged to a size of its own.
        {"Resolution horizontal", "1100", TSettingsChoices::WindowSize, "1100 × 768", "1024 × 768", "1280 × 720"},
        {"UI scale", "1.1", TSettingsChoices::InterfaceScale, "110 %", "100 %", "125 %"},
        {"gamma", "200", TSettingsChoices::Gamma, "+200", "+64", ""},
        {"gamma", "-5", TSettingsChoices::Gamma, "-5", "-16", "Normal"},
        {"scroll speed", "700", TSettingsChoices::ScrollSpeed, "117 %", "100 %", "150 %"},
    };
    for (const auto& c : cases) {
        std::string bytes = shipped;
        const std::string line = "- " + c.key + "\r\n";
        const size_t at = bytes.find(line) + line.size();
        bytes.replace(at, bytes.find('\r', at) - at, c.value);
        Write(bytes);
        EXPECT_EQ(choices.ValueText(c.row), c.shown) << c.key << " " << c.value;
        for (int32_t direction : {-1, +1}) {
            const std::string& expected = direction < 0 ? c.previous : c.next;
            Write(bytes);
            EXPECT_EQ(choices.Step(c.row, direction), !expected.empty()) << c.value << " " << direction;
            EXPECT_EQ(choices.ValueText(c.row), expected.empty() ? c.shown : expected) << c.value << " " << direction;
        }
        // Once left, the value is gone from the list.
        Write(bytes);
        const size_t count = choices.Choices(c.row).size();
        choices.Cycle(c.row);
        EXPECT_EQ(choices.Choices(c.row).size() + 1, count) << c.value;
    }
}

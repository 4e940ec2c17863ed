#include <gtest/gtest.h>

#include <tuple>

#include "settings/TConfig.h"
#include "settings/TGadgets.h"
#include "settings/TSettings.h"
#include "settings/TSettingsFiles.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TStream.h"
#include "tests/support/TempDir.h"
#include "tests/support/FileBytes.h"

namespace {

void Put(const std::string& path, const std::string& bytes) {
    std::shared_ptr<TStream> s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    s->WriteString(bytes);
    ASSERT_TRUE(s->Close());
}


class TSettingsFilesTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        TConfig::SetDefaults();
        TSettings::SetDefaults();
        TGadgets::SetDefaults();
    }
    // Reads options.cfg holding the given text, and returns what was printed.
    std::string ReadOptions(const std::string& text) {
        Put(dir.File("options.cfg"), text);
        testing::internal::CaptureStdout();
        EXPECT_EQ(TSettings::ReadIn(dir.path), 0);
        return testing::internal::GetCapturedStdout();
    }
    TempDir dir;
};

}  // namespace

TEST_F(TSettingsFilesTest, EmptyOrMissingFilesKeepTheDefaults) {
    EXPECT_EQ(ReadOptions(""), "");
    EXPECT_EQ(TSettings::ResolutionHorizontal, 640);
    EXPECT_EQ(TSettings::ResolutionVertical, 480);
    EXPECT_EQ(TSettings::ShowFPSAndVersion, 1);
    EXPECT_EQ(TSettings::TargetFPS, 60.0f);
    EXPECT_EQ(TSettings::Playername, "ORVANDELMARSKI");

    TSettings::Gamma = 7;
    EXPECT_EQ(TSettings::ReadIn(dir.File("absent")), 0);
    EXPECT_EQ(TConfig::ReadIn(dir.File("absent")), 0);
    EXPECT_EQ(TGadgets::ReadIn(dir.File("absent")), 0);
    EXPECT_EQ(TSettings::Gamma, 7);
    EXPECT_EQ(TGadgets::Get("multifunctionaltool")->_x, 0.15f);
}

TEST_F(TSettingsFilesTest, OptionConversions) {
    ReadOptions(
        "-target FPS\n30.7\n- Resolution vertical\n$1E0\n-Sound effects\n0\n- Playername\n  J\xF6rg \n"
        "- Resolution horizontal\n%1100100000\n- gamma\n-12\n- show tooltips\n256\n");
    EXPECT_EQ(TSettings::TargetFPS, 30.0f);
    EXPECT_EQ(TSettings::ResolutionVertical, 480);
    EXPECT_EQ(TSettings::Sound, 0);
    EXPECT_EQ(TSettings::Playername, "  Jörg ");
    EXPECT_EQ(TSettings::ResolutionHorizontal, 800);
    EXPECT_EQ(TSettings::Gamma, -12);
    EXPECT_EQ(TSettings::ShowTooltips, 256);  // the shell uses its low byte
}

TEST_F(TSettingsFilesTest, OnlyTheLinesBeforeTheFirstMarkerCount) {
    ReadOptions("- gamma\n5\n>\n- Sound\n0\n- Show FPS and Version\n0\n<\n");
    EXPECT_EQ(TSettings::Gamma, 5);
    EXPECT_EQ(TSettings::Sound, 1);
    EXPECT_EQ(TSettings::ShowFPSAndVersion, 1);
    ReadOptions("<\n- gamma\n9\n");
    EXPECT_EQ(TSettings::Gamma, 5);
}

TEST_F(TSettingsFilesTest, OutOfRangeOptionsAreReplacedWithOneLineEach) {
    std::string out =
        ReadOptions("- Resolution horizontal\n0\n- Resolution vertical\n-600\n- gamma\n999\n- target FPS\n0\n"
                    "- scroll speed\n0\n");
    EXPECT_EQ(TSettings::ResolutionHorizontal, TSettings::minResolutionHorizontal);
    EXPECT_EQ(TSettings::ResolutionVertical, TSettings::minResolutionVertical);
    EXPECT_EQ(TSettings::Gamma, TSettings::maxGamma);
    EXPECT_EQ(TSettings::TargetFPS, TSettings::fallbackTargetFPS);
    EXPECT_EQ(TSettings::keyMovementSpeed, float(TSettings::minScrollSpeed));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5);
    EXPECT_NE(out.find("options.cfg: \"Resolution horizontal\" = 0 is out of range, using 320"), std::string::npos);
    EXPECT_NE(out.find("\"target FPS\" = 0 is out of range, using 60"), std::string::npos);

    out = ReadOptions("- gamma\n-1000\n- target FPS\n-5\n- Resolution horizontal\nabc\n- scroll speed\n99999\n");
    EXPECT_EQ(TSettings::Gamma, -TSettings::maxGamma);
    EXPECT_EQ(TSettings::TargetFPS, TSettings::fallbackTargetFPS);
    EXPECT_EQ(TSettings::ResolutionHorizontal, TSettings::minResolutionHorizontal);
    EXPECT_EQ(TSettings::keyMovementSpeed, float(TSettings::maxScrollSpeed));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4);

    out = ReadOptions("- Resolution horizontal\n1920\n- Resolution vertical\n1080\n- gamma\n-255\n- target FPS\n144\n"
                      "- scroll speed\n900\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(TSettings::keyMovementSpeed, 900.0f);
    EXPECT_EQ(TSettings::ResolutionHorizontal, 1920);
    EXPECT_EQ(TSettings::Gamma, -255);
    EXPECT_EQ(TSettings::TargetFPS, 144.0f);
}

TEST_F(TSettingsFilesTest, UIScaleIsANumberWithinTheInterfaceRangeOrZeroForTheDisplay) {
    // The file's text, the scale read, whether a line says what was replaced.
    const std::tuple<std::string, float, std::string> cases[] = {
        {"2", 2.0f, ""},
        {"1.25", 1.25f, ""},
        {"1,5", 1.5f, ""},  // a German decimal comma
        {"0", 0.0f, ""},    // chosen from the display when the window opens
        {"0.75", 0.75f, ""},
        {"3", 3.0f, ""},
        {"0.5", 0.75f, "\"UI scale\" = 0.5 is out of range, using 0.75"},
        {"40", 3.0f, "\"UI scale\" = 40 is out of range, using 3"},
        {"1e30", 3.0f, "\"UI scale\" = 1e+30 is out of range, using 3"},
        {"-2", 1.0f, "\"UI scale\" = -2 is out of range, using 1"},
        {"gro\xDF", 1.0f, "\"UI scale\" = groß is not a number, using 1"},  // the file is Latin-1
        {"2x", 1.0f, "\"UI scale\" = 2x is not a number, using 1"},
        {"", 1.0f, "\"UI scale\" =  is not a number, using 1"},
        {"nan", 1.0f, "\"UI scale\" = nan is not a number, using 1"},
        {"inf", 1.0f, "\"UI scale\" = inf is not a number, using 1"},
    };
    for (const auto& [text, scale, line] : cases) {
        const std::string out = ReadOptions("- UI scale\n" + text + "\n");
        EXPECT_EQ(TSettings::UIScale, scale) << text;
        if (line.empty()) {
            EXPECT_EQ(out, "") << text;
        } else {
            EXPECT_EQ(out, "options.cfg: " + line + "\n") << text;
        }
    }
    // Without the key the interface keeps its designed size.
    EXPECT_EQ(ReadOptions("- gamma\n0\n"), "");
    EXPECT_EQ(TSettings::UIScale, 1.0f);
}

TEST_F(TSettingsFilesTest, WorldTuningConversionsAndClamps) {
    Put(dir.File("vallmora.cfg"),
        "- tilewidth\n64\n- particleeffect smoke max frames\n7.9\n- minimap_alpha\n0.5\n- wind_power_max\nx\n");
    EXPECT_EQ(TConfig::ReadIn(dir.path), 0);
    EXPECT_EQ(TConfig::tilewidth, 64);
    EXPECT_EQ(TConfig::tileheight, 16);
    EXPECT_EQ(TConfig::smokeMaxFrames, 7);
    EXPECT_EQ(TConfig::minimapAlpha, 0.5f);
    EXPECT_EQ(TConfig::windPowerMax, 0.0f);
    EXPECT_EQ(TConfig::smokeSpeedYMax, 0.7f);  // untouched through the "%#.9g" default text

    Put(dir.File("vallmora.cfg"), "- tilewidth\n0\n- tileheight\n-16\n- particleeffect smoke max frames\n0.5\n");
    testing::internal::CaptureStdout();
    TConfig::ReadIn(dir.path);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(TConfig::tilewidth, 32);
    EXPECT_EQ(TConfig::tileheight, 16);
    EXPECT_EQ(TConfig::smokeMaxFrames, 1);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
}

TEST_F(TSettingsFilesTest, GadgetsFileBeginsAsDescribedAndHoldsTenRecords) {
    ASSERT_EQ(TSettingsFiles::SaveGagdgetSettings(dir.path), 1);
    const std::shared_ptr<TPluginReader> r = TPluginReader::read(dir.File("gadgets.cfg"));
    ASSERT_TRUE(r);
    ASSERT_EQ(r->line.size(), 60u);
    const std::vector<std::string> first(r->line.begin(), r->line.begin() + 8);
    EXPECT_EQ(first,
              (std::vector<std::string>{"- textfieldtool xpos", "0.500000000", "- textfieldtool ypos", "0.500000000",
                                        "- textfieldtool visible", "0", "- multifunctionaltool xpos", "0.150000006"}));
    for (size_t i = 0; i < TGadgets::Records().size(); ++i) {
        EXPECT_EQ(r->line[i * 6], "- " + TGadgets::Records()[i]->_fieldname + " xpos");
    }
    EXPECT_EQ(r->line[54], "- buildingtool xpos");
    EXPECT_EQ(FileBytes(dir.File("gadgets.cfg")).substr(0, 22), "- textfieldtool xpos\r\n");
}

TEST_F(TSettingsFilesTest, PanelPositionsFollowTheScreenSize) {
    TGadgets::Get("multifunctionaltool")->Set(512, 384, 1024, 768);
    ASSERT_EQ(TGadgets::Save(dir.path), 1);
    const std::shared_ptr<TPluginReader> r = TPluginReader::read(dir.File("gadgets.cfg"));
    EXPECT_EQ(r->GetField("multifunctionaltool xpos", 0), "0.500000000");
    EXPECT_EQ(r->GetField("multifunctionaltool ypos", 0), "0.500000000");

    TGadgets::SetDefaults();
    ASSERT_EQ(TGadgets::ReadIn(dir.path), 1);
    float x = 0, y = 0;
    TGadgets::Get("multifunctionaltool")->Get(x, y, 800, 600);
    EXPECT_EQ(x, 400.0f);
    EXPECT_EQ(y, 300.0f);
    EXPECT_FALSE(TGadgets::Get("nosuchtool"));
}

TEST_F(TSettingsFilesTest, GadgetsRoundTripAndLenientValues) {
    float xs[10];
    for (size_t i = 0; i < TGadgets::Records().size(); ++i) {
        std::shared_ptr<TGadgetConfig> g = TGadgets::Records()[i];
        xs[i] = static_cast<float>(i * 37 + 1) / 1366.0f;
        g->Set(xs[i] * 1366.0f, 700.0f - static_cast<float>(i), 1366, 768);
        g->setVisible(static_cast<int32_t>(i % 2));
    }
    ASSERT_EQ(TGadgets::Save(dir.path), 1);
    const std::string written = FileBytes(dir.File("gadgets.cfg"));
    TGadgets::SetDefaults();
    ASSERT_EQ(TGadgets::ReadIn(dir.path), 1);
    for (size_t i = 0; i < TGadgets::Records().size(); ++i) {
        EXPECT_EQ(TGadgets::Records()[i]->_x, xs[i]);
        EXPECT_EQ(TGadgets::Records()[i]->_y, (700.0f - static_cast<float>(i)) / 768.0f);
        EXPECT_EQ(TGadgets::Records()[i]->isVisible(), static_cast<int32_t>(i % 2));
    }
    ASSERT_EQ(TGadgets::Save(dir.path), 1);
    EXPECT_EQ(FileBytes(dir.File("gadgets.cfg")), written);

    // "visible" is read as a float and truncated; junk gives 0; missing keys keep the value.
    Put(dir.File("gadgets.cfg"), "- hidetool visible\n1.9\n- maintool xpos\nleft\n- maintool visible\n-0.7\n");
    TGadgets::SetDefaults();
    ASSERT_EQ(TGadgets::ReadIn(dir.path), 1);
    EXPECT_EQ(TGadgets::Get("hidetool")->isVisible(), 1);
    EXPECT_EQ(TGadgets::Get("maintool")->_x, 0.0f);
    EXPECT_EQ(TGadgets::Get("maintool")->isVisible(), 0);
    EXPECT_EQ(TGadgets::Get("maintool")->_y, 0.8f);
}

TEST_F(TSettingsFilesTest, BadFilesReadWithoutTrouble) {
    const std::string inputs[] = {std::string("\0\0\xff\xfe>\n<<\x01", 9),
                                  std::string(70000, 'x'),
                                  "- gamma",
                                  "- gamma\n- Sound\n",
                                  ">\n>\n<\n<\n- gamma\n3\n",
                                  "- Playername\n" + std::string(65536, 'P')};
    for (const std::string& text : inputs) {
        Put(dir.File("options.cfg"), text);
        Put(dir.File("vallmora.cfg"), text);
        Put(dir.File("gadgets.cfg"), text);
        testing::internal::CaptureStdout();
        TSettingsFiles::LoadSettings(dir.path);
        testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(TSettings::Playername, std::string(65536, 'P'));
    // "- gamma" followed by "- Sound": the key line is the value of gamma (which parses as 0).
    EXPECT_EQ(TSettings::Gamma, 0);
    EXPECT_EQ(TConfig::tilewidth, 32);
}

namespace {

template <typename... T>
std::vector<double> Values(T... values) {
    return {static_cast<double>(values)...};
}

// Every numeric value of vallmora.cfg and options.cfg, in file order.
std::vector<double> Snapshot() {
    return Values(TConfig::tilewidth, TConfig::tileheight, TConfig::scrollspeed, TConfig::treePercentage,
                  TConfig::smokeSpeedYMin, TConfig::smokeSpeedYMax, TConfig::smokeMaxFrames,
                  TConfig::smokeStartVariationXMin, TConfig::smokeStartVariationXMax, TConfig::smokeVariationXMin,
                  TConfig::smokeVariationXMax, TConfig::smokeChangeFrameSpeedMin, TConfig::smokeChangeFrameSpeedMax,
                  TConfig::wind, TConfig::windDir, TConfig::windDirTimerMin, TConfig::windDirTimerMax,
                  TConfig::windPowerMax, TConfig::windPowerTimerMin, TConfig::windPowerTimerMax, TConfig::waterMinSpeed,
                  TConfig::waterMaxSpeed, TConfig::waterTimerImageChangeMin, TConfig::waterTimerImageChangeMax,
                  TConfig::waterGenerateTimerMin, TConfig::waterGenerateTimerMax, TConfig::waterTileTimerImageChangeMin,
                  TConfig::waterTileTimerImageChangeMax, TConfig::waterTexture01Speed, TConfig::waterTexture02Speed,
                  TConfig::minimapAlpha, TConfig::minimapScreenBorderWidth, TConfig::minimapScreenBorderColorR,
                  TConfig::minimapScreenBorderColorG, TConfig::minimapScreenBorderColorB, TSettings::Language,
                  TSettings::GraphicMode, TSettings::ResolutionHorizontal, TSettings::ResolutionVertical,
                  TSettings::SaveHighscore, TSettings::Sound, TSettings::ShowFPSAndVersion, TSettings::ShowDebugInfo,
                  TSettings::Startmenue, TSettings::CheckUpdate, TSettings::ShowTooltips, TSettings::Gamma,
                  TSettings::Cheatmodus, TSettings::DetailsParticles, TSettings::ShowWaterImageChange,
                  TSettings::ShowWaterAnimation, TSettings::ScrollWithMouse, TSettings::TargetFPS,
                  TSettings::UIScale, TSettings::keyMovementSpeed, TSettings::Autosave);
}

}  // namespace

TEST_F(TSettingsFilesTest, ShippedFilesHoldTheDefaults) {
    // The tests run in the repository root, where the game finds cfg/.
    ASSERT_EQ(FileType("cfg/options.cfg"), FILETYPE_FILE);
    testing::internal::CaptureStdout();
    TSettingsFiles::LoadSettings("cfg");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::vector<double> read = Snapshot();
    const std::string name = TSettings::Playername;
    TConfig::SetDefaults();
    TSettings::SetDefaults();
    EXPECT_EQ(read, Snapshot());
    EXPECT_EQ(name, TSettings::Playername);
    // gadgets.cfg is exactly what saving the defaults writes.
    TGadgets::SetDefaults();
    ASSERT_EQ(TGadgets::Save(dir.path), 1);
    EXPECT_EQ(FileBytes(dir.File("gadgets.cfg")), FileBytes("cfg/gadgets.cfg"));
}

TEST_F(TSettingsFilesTest, EveryShippedKeyReachesItsSetting) {
    // The shipped files with every value replaced by 500: a key spelt differently in the file and in
    // the reader would leave its default in place.
    for (const std::string file : {"vallmora.cfg", "options.cfg"}) {
        std::shared_ptr<TPluginReader> r = TPluginReader::read("cfg/" + file);
        ASSERT_TRUE(r);
        for (size_t i = 0; i + 1 < r->line.size(); ++i) {
            if (!r->line[i].empty() && r->line[i][0] == '-') r->line[++i] = "500";
        }
        ASSERT_EQ(r->Write(dir.File(file)), 1);
    }
    testing::internal::CaptureStdout();
    TConfig::ReadIn(dir.path);
    TSettings::ReadIn(dir.path);
    testing::internal::GetCapturedStdout();
    std::vector<double> expected(Snapshot().size(), 500.0);
    expected[46] = TSettings::maxGamma;  // the values that 500 is out of range for
    expected[expected.size() - 3] = TInterfaceSpace::maxFactor;  // "UI scale", before "scroll speed" and "Autosave"
    EXPECT_EQ(Snapshot(), expected);
    EXPECT_EQ(TSettings::Playername, "500");
}

namespace {

TEST_F(TSettingsFilesTest, SavedValuesReplaceTheirLinesAndKeepEveryOtherByte) {
    TempDir dir;
    const std::string path = dir.File("options.cfg");
    const struct {
        std::string before, after;
    } cases[] = {
        // CR LF endings, a header line, a key written without the blank, other keys untouched.
        {"Head\r\n- Language\r\n1\r\n-Resolution horizontal\r\n640\r\n- Resolution vertical\r\n480\r\n- Sound\r\n1\r\n",
         "Head\r\n- Language\r\n1\r\n-Resolution horizontal\r\n1600\r\n- Resolution vertical\r\n900\r\n- Sound\r\n1\r\n"},
        // LF endings; a missing key is appended; a file without a final line end gets one first.
        {"- Resolution horizontal\n640\n- Sound\n1", "- Resolution horizontal\n1600\n- Sound\n1\n- Resolution vertical\n900\n"},
        // A key on the last line without its value line: appended again with the value.
        {"- Resolution horizontal\n640\n- Resolution vertical",
         "- Resolution horizontal\n1600\n- Resolution vertical\n- Resolution vertical\n900\n"},
    };
    for (const auto& c : cases) {
        Put(path, c.before);
        EXPECT_EQ(TSettingsFiles::SaveValues(path, {{"Resolution horizontal", "1600"}, {"Resolution vertical", "900"}}), 1);
        EXPECT_EQ(FileBytes(path), c.after);
    }
    // No file to keep the lines of: nothing is written.
    EXPECT_EQ(TSettingsFiles::SaveValues(dir.File("none.cfg"), {{"Sound", "0"}}), 0);
    EXPECT_EQ(FileType(dir.File("none.cfg")), FILETYPE_NONE);
}

}  // namespace

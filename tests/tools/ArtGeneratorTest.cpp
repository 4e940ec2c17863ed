#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/TGUIImageFiles.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tools/TArtGenerator.h"
#include "tools/TTextRenderer.h"

namespace {

// Every file the application shell loads from data/gfx/gui.
const std::vector<std::string> ShellFiles = TGUIImageFiles::All();

// The tests run in the repository root (CTest's working directory).
std::string CommittedGuiDir() { return (std::filesystem::current_path() / "data/gfx/gui").string(); }
std::string CommittedFont() { return CommittedGuiDir() + "/" + TArtGenerator::FontFile; }

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const std::string& name : ReadDir(dir))
        if (name != "." && name != "..") names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

std::shared_ptr<TPixmap> Decode(const std::string& dir, const std::string& name) {
    const std::string bytes = FileBytes(dir + "/" + name);
    return name.ends_with(".jpg") ? DecodeJPEG(bytes) : DecodePNG(bytes);
}

uint32_t Alpha(uint32_t argb) { return argb >> 24; }

// One generator run shared by the tests that compare with it: painting the title picture is slow.
class ArtGeneratorTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        generated = new TempDir();
        sheetWritten = TArtGenerator::WriteAll(CommittedFont(), GeneratedDir(), generated->File("sheet.png"));
    }
    static void TearDownTestSuite() {
        delete generated;
        generated = nullptr;
    }
    static std::string GeneratedDir() { return generated->File("gui"); }

    static TempDir* generated;
    static bool sheetWritten;
};

TempDir* ArtGeneratorTest::generated = nullptr;
bool ArtGeneratorTest::sheetWritten = false;

TEST_F(ArtGeneratorTest, SecondRunWritesIdenticalBytes) {
    ASSERT_TRUE(sheetWritten);
    TempDir again;
    ASSERT_TRUE(TArtGenerator::WriteAll(CommittedFont(), again.File("gui"), again.File("sheet.png")));
    const std::vector<std::string> first = FilesIn(GeneratedDir());
    ASSERT_EQ(first, FilesIn(again.File("gui")));
    for (const std::string& name : first)
        EXPECT_TRUE(FileBytes(GeneratedDir() + "/" + name) == FileBytes(again.File("gui/" + name))) << name;
    EXPECT_TRUE(FileBytes(generated->File("sheet.png")) == FileBytes(again.File("sheet.png")));
}

TEST_F(ArtGeneratorTest, CommittedArtIsWhatTheGeneratorMakes) {
    const std::vector<std::string> made = FilesIn(GeneratedDir());
    for (const std::string& name : ShellFiles) {
        EXPECT_NE(std::find(made.begin(), made.end(), name), made.end()) << name << " is not generated";
        EXPECT_EQ(FileType(CommittedGuiDir() + "/" + name), FILETYPE_FILE) << name << " is not committed";
        EXPECT_TRUE(FileBytes(CommittedGuiDir() + "/" + name) == FileBytes(GeneratedDir() + "/" + name))
            << name << " differs from the generator's output: run vallmora_artgen";
    }
    // Nothing is generated that the game does not load.
    for (const std::string& name : made)
        EXPECT_NE(std::find(ShellFiles.begin(), ShellFiles.end(), name), ShellFiles.end()) << name;
}

TEST(CommittedArtTest, EveryPictureDecodesAndShowsSomething) {
    for (const std::string& name : ShellFiles) {
        std::shared_ptr<TPixmap> pixmap = Decode(CommittedGuiDir(), name);
        ASSERT_TRUE(pixmap) << name;
        uint32_t maxAlpha = 0;
        for (int32_t y = 0; y < pixmap->height; ++y)
            for (int32_t x = 0; x < pixmap->width; ++x) maxAlpha = std::max(maxAlpha, Alpha(pixmap->ReadPixel(x, y)));
        EXPECT_GT(maxAlpha, 200u) << name << " is (nearly) transparent";
    }
}

TEST(CommittedArtTest, PictureSizesFitHowTheGameDrawsThem) {
    auto size = [](const std::string& name) {
        std::shared_ptr<TPixmap> p = Decode(CommittedGuiDir(), name);
        return p ? std::make_pair(p->width, p->height) : std::make_pair(0, 0);
    };
    // Strips cut into fixed cells.
    EXPECT_EQ(size("mouse.png"), std::make_pair(96, 32));
    EXPECT_EQ(size("smileys.png"), std::make_pair(75, 15));
    // The tooltip frame is cut into 3 × 3 equal cells.
    const auto tooltip = size("tooltip.png");
    EXPECT_EQ(tooltip.first % 3, 0);
    EXPECT_EQ(tooltip.second % 3, 0);
    // The needle turns about its centre on top of the clock face.
    EXPECT_EQ(size("clock_needle.png"), size("clock_face.png"));
    // Borders frame the preview window exactly.
    for (const char* border : {"preview_roadborder.png", "preview_greenborder.png", "preview_blueborder.png",
                               "preview_yellowborder.png", "preview_greyborder.png", "preview_parkborder.png",
                               "preview_destroyborder.png", "preview_bridgeborder.png", "preview_awardborder.png"})
        EXPECT_EQ(size(border), size("preview.png")) << border;
    for (int level = 2; level <= 6; ++level)
        EXPECT_EQ(size("button_level_" + std::to_string(level) + ".png"), size("button_level_1.png"));
    EXPECT_EQ(size("startlogo.jpg").first * 3, size("startlogo.jpg").second * 4);
}

TEST(CommittedArtTest, CursorHotSpotsAreAtTheCellCentres) {
    std::shared_ptr<TPixmap> mouse = Decode(CommittedGuiDir(), "mouse.png");
    ASSERT_TRUE(mouse);
    for (int frame = 0; frame < 3; ++frame) {
        const int32_t cx = frame * 32 + 16, cy = 16;
        // Something is drawn at the hot spot itself ...
        uint32_t near = 0;
        for (int32_t dy = 0; dy <= 1; ++dy)
            for (int32_t dx = 0; dx <= 1; ++dx) near = std::max(near, Alpha(mouse->ReadPixel(cx + dx, cy + dy)));
        EXPECT_GT(near, 128u) << "frame " << frame;
        if (frame == 1) continue;  // the move cursor is symmetric around the hot spot
        // ... and the arrows extend down and right from it, not up and left.
        EXPECT_EQ(Alpha(mouse->ReadPixel(cx - 4, cy - 4)), 0u) << "frame " << frame;
        EXPECT_GT(Alpha(mouse->ReadPixel(cx + 3, cy + 8)), 128u) << "frame " << frame;
    }
}

TEST(CommittedArtTest, SmileysRunFromRedToGreen) {
    std::shared_ptr<TPixmap> smileys = Decode(CommittedGuiDir(), "smileys.png");
    ASSERT_TRUE(smileys);
    auto red = [&](int cell) { return static_cast<int>((smileys->ReadPixel(cell * 15 + 3, 7) >> 16) & 255); };
    auto green = [&](int cell) { return static_cast<int>((smileys->ReadPixel(cell * 15 + 3, 7) >> 8) & 255); };
    EXPECT_GT(red(0), green(0) + 60);
    EXPECT_GT(green(4), red(4) + 30);
    for (int cell = 1; cell < 5; ++cell) EXPECT_GE(green(cell) - red(cell), green(cell - 1) - red(cell - 1));
}

TEST(ArtFontTest, CommittedFontAndLicenceArePresentAndReadable) {
    EXPECT_EQ(FileType(CommittedGuiDir() + "/" + TArtGenerator::FontLicenceFile), FILETYPE_FILE);
    const TTextRenderer text(CommittedFont());
    ASSERT_TRUE(text.IsLoaded());
    TCanvas canvas(100, 40);
    EXPECT_GT(text.Measure(canvas, "Größe", 14), 20.0f);
}

TEST(ArtFontTest, InstallFontKeepsAnExistingCopyWhenTheSourceIsMissing) {
    TempDir dir;
    EXPECT_FALSE(TArtGenerator::InstallFont("/nonexistent/font.ttf", "/nonexistent/copyright", dir.path));
    ASSERT_TRUE(TArtGenerator::InstallFont(CommittedFont(), CommittedGuiDir() + "/font-LICENSE.txt", dir.path));
    EXPECT_TRUE(FileBytes(dir.File("font.ttf")) == FileBytes(CommittedFont()));
    EXPECT_TRUE(TArtGenerator::InstallFont("/nonexistent/font.ttf", "/nonexistent/copyright", dir.path));
    EXPECT_TRUE(FileBytes(dir.File("font.ttf")) == FileBytes(CommittedFont()));
}

TEST(ArtFontTest, MissingFontDrawsNothingInsteadOfFailing) {
    const TTextRenderer text("/nonexistent/font.ttf");
    EXPECT_FALSE(text.IsLoaded());
    TCanvas canvas(50, 20);
    EXPECT_EQ(text.Measure(canvas, "Vallmora", 14), 0.0f);
    text.Draw(canvas, "Vallmora", 0, 15, 14, TColor::Rgb(0, 0, 0));
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 50; ++x) EXPECT_EQ(canvas.PixelAt(x, y)[3], 0.0f);
}

TEST(ArtOutputTest, UnwritableTargetIsReportedNotFatal) {
    TempDir dir;
    // A plain file where the folder should be.
    std::shared_ptr<TStream> blocker = TStream::WriteFile(dir.File("gui"));
    ASSERT_TRUE(blocker);
    blocker->WriteString("x");
    ASSERT_TRUE(blocker->Close());
    EXPECT_FALSE(TArtGenerator::WriteAll("/nonexistent/font.ttf", dir.File("gui/sub"), ""));
    EXPECT_FALSE(TArtGenerator::MakeDirs(dir.File("gui/sub")));
}

TEST(ArtOutputTest, JpegRoundTripKeepsSizeAndColours) {
    std::shared_ptr<TPixmap> pixmap = TPixmap::Create(64, 48);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) pixmap->WritePixel(x, y, x < 32 ? 0xFFC03020u : 0xFF2060D0u);
    TempDir dir;
    ASSERT_TRUE(TArtGenerator::SavePixmapJPEG(*pixmap, dir.File("t.jpg"), 92));
    std::shared_ptr<TPixmap> back = DecodeJPEG(FileBytes(dir.File("t.jpg")));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 64);
    EXPECT_EQ(back->height, 48);
    auto channelNear = [](uint32_t a, uint32_t b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) <= 6;
    };
    for (uint32_t sample : {back->ReadPixel(10, 20), back->ReadPixel(50, 20)}) {
        const uint32_t expected = (sample & 255) < 128 ? 0xFFC03020u : 0xFF2060D0u;
        for (int shift : {0, 8, 16}) EXPECT_TRUE(channelNear(sample, expected, shift)) << std::hex << sample;
    }
}

}  // namespace

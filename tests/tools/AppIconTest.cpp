#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tools/TAppIconArt.h"
#include "tools/TArtGenerator.h"

// Each size is committed as the generator paints it (the tests run in the repository root), and
// is a tile: clear corners, an opaque middle.
TEST(AppIcon, CommittedIconsAreWhatTheGeneratorMakes) {
    TempDir dir;
    ASSERT_TRUE(TArtGenerator::WriteIcons(dir.path));
    const std::string committed = (std::filesystem::current_path() / "packaging/icons").string();
    for (const int32_t size : TAppIconArt::sizes) {
        const std::string file = TAppIconArt::FileOf(size);
        EXPECT_TRUE(FileBytes(dir.File(file)) == FileBytes(committed + "/" + file))
            << file << " differs from the generator's";
        const std::shared_ptr<TPixmap> icon = DecodePNG(FileBytes(dir.File(file)));
        ASSERT_TRUE(icon) << file;
        EXPECT_EQ(icon->width, size);
        EXPECT_EQ(icon->height, size);
        EXPECT_EQ(icon->ReadPixel(0, 0) >> 24, 0u) << file;
        EXPECT_EQ(icon->ReadPixel(size / 2, size / 2) >> 24, 255u) << file;
    }
}

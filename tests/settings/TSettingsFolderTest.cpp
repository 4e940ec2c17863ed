#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/TStream.h"
#include "settings/TSettingsFolder.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

TEST(SettingsFolder, DamageTellsWhatIsNoSettingsFile) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"- Language\r\n2\r\n", ""},
        {"Vallmora options\n- Language\n2", ""},
        {"", "it is empty"},
        {"- Language\r\n\0\0\0"s, "it holds bytes that are no text"},
        {"Language 2\r\n", "it holds no setting"},
        {"- Language", "it holds no setting"},
    };
    for (const auto& [bytes, damage] : cases) EXPECT_EQ(TSettingsFolder::Damage(bytes), damage) << bytes;
}

// The first start copies the shipped files (gadgets.cfg is the game's to write); later starts
// leave a changed copy alone, keep a damaged one aside and put the shipped one in its place.
TEST(SettingsFolder, CopiesTheShippedFilesOnceAndReplacesDamagedOnes) {
    TempDir dir;
    const std::string shipped = dir.File("shipped"), folder = dir.File("config"), options = "- Language\r\n2\r\n";
    std::filesystem::create_directories(shipped);
    std::filesystem::create_directories(folder);
    std::ofstream(shipped + "/options.cfg") << options;
    std::ofstream(shipped + "/vallmora.cfg") << "- tilewidth\r\n64\r\n";
    auto prepare = [&] {
        testing::internal::CaptureStdout();
        TSettingsFolder::Prepare(folder, shipped);
        return testing::internal::GetCapturedStdout();
    };
    EXPECT_EQ(prepare(), "Settings copied to " + folder + ": vallmora.cfg, options.cfg\n");
    EXPECT_EQ(FileBytes(folder + "/options.cfg"), options);
    EXPECT_EQ(FileType(folder + "/gadgets.cfg"), FILETYPE_NONE);
    std::ofstream(folder + "/vallmora.cfg") << "- tilewidth\r\n32\r\n";
    EXPECT_EQ(prepare(), "");
    EXPECT_EQ(FileBytes(folder + "/vallmora.cfg"), "- tilewidth\r\n32\r\n");

    std::ofstream(folder + "/options.cfg", std::ios::binary) << std::string(300, '\0');
    std::ofstream(folder + "/gadgets.cfg") << "";
    EXPECT_EQ(prepare(), "Settings file " + folder +
                             "/options.cfg was damaged (it holds bytes that are no text): kept as " + folder +
                             "/options.cfg.damaged, the shipped one is used again\nSettings file " + folder +
                             "/gadgets.cfg was damaged (it is empty): kept as " + folder +
                             "/gadgets.cfg.damaged, its defaults are used\n");
    EXPECT_EQ(FileBytes(folder + "/options.cfg"), options);
    EXPECT_EQ(FileBytes(folder + "/options.cfg.damaged"), std::string(300, '\0'));
    EXPECT_EQ(FileType(folder + "/gadgets.cfg"), FILETYPE_NONE);
}

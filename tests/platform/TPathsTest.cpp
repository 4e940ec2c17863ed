#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/TPaths.h"
#include "platform/TStream.h"
#include "tests/support/TempDir.h"

namespace {
// A prefix laid out as an install lays it out, a source folder, and a file where a folder could
// be; the source layout is in use again after each test.
struct PathsTest : testing::Test {
    TempDir dir;
    std::string bin = dir.File("usr/bin"), shared = dir.File("usr/share/vallmora"), repo = dir.File("repo");

    void SetUp() override {
        for (const std::string& folder : {bin, shared + "/data", repo + "/data", repo + "/cfg", repo + "/build"})
            std::filesystem::create_directories(folder);
        std::ofstream(dir.File("file")) << "not a folder";
    }
    void TearDown() override { TPaths::Use({}); }
    TPaths::TSituation Installed(const std::string& configHome = "", const std::string& dataHome = "") const {
        return {dir.File("work"), bin, "/home/ana", configHome, dataHome};
    }
};
}  // namespace

TEST_F(PathsTest, LayoutAndFoldersFollowTheExecutableAndTheEnvironment) {
    TPaths::TSituation inRepo = Installed();
    inRepo.workingFolder = repo;
    const std::string home = "/home/ana/.config/vallmora", homeData = "/home/ana/.local/share/vallmora";
    const struct {
        const char* name;
        TPaths::TSituation situation;
        std::string shared, config, user;
    } cases[] = {
        {"source folder", {repo, repo + "/build", "/home/ana", "/x/config", "/x/data"}, "", "cfg", ""},
        {"installed, XDG set", Installed("/x/config", "/x/data"), shared, "/x/config/vallmora", "/x/data/vallmora"},
        {"installed, no XDG", Installed(), shared, home, homeData},
        {"installed, relative XDG ignored", Installed("rel/config", "rel/data"), shared, home, homeData},
        {"installed, started in a source folder", inRepo, shared, home, homeData},
    };
    for (const auto& c : cases) {
        const TPaths::TPlaces p = TPaths::Find(c.situation);
        EXPECT_EQ(p.layout, c.shared.empty() ? TPaths::TLayout::Source : TPaths::TLayout::Installed) << c.name;
        EXPECT_EQ(p.shared, c.shared) << c.name;
        EXPECT_EQ(p.config, c.config) << c.name;
        EXPECT_EQ(p.settingsRead, c.config) << c.name;
        EXPECT_EQ(p.user, c.user) << c.name;
        EXPECT_EQ(p.missing, "") << c.name;
    }
    EXPECT_NE(TPaths::Find({dir.File("work"), "", "/h", "", ""}).missing.find(dir.File("work") + " holds no data/"),
              std::string::npos);
    std::filesystem::remove_all(shared + "/data");
    EXPECT_NE(TPaths::Find(Installed()).missing.find(shared + "/data is missing"), std::string::npos);
}

// The source layout leaves every path as written; the installed one puts data names under the
// prefix and the player's files into their folders, and leaves everything else alone.
TEST_F(PathsTest, NamesResolveToTheLayoutInUse) {
    EXPECT_EQ(TPaths::Resolve("data/maps/128/001r.png"), "data/maps/128/001r.png");
    EXPECT_EQ(TPaths::Config("options.cfg"), "cfg/options.cfg");
    EXPECT_EQ(TPaths::User("saves"), "saves");
    TPaths::Use(TPaths::Find(Installed()));
    const std::pair<std::string, std::string> resolved[] = {
        {"data/maps/128/001r.png", shared + "/data/maps/128/001r.png"},
        {"data", shared + "/data"},
        {"database/x", "database/x"},
        {"saves/Neustadt.sav", "saves/Neustadt.sav"},
        {"/tmp/data/x.png", "/tmp/data/x.png"},
        {"random:256", "random:256"},
    };
    for (const auto& [name, path] : resolved) EXPECT_EQ(TPaths::Resolve(name), path) << name;
    EXPECT_EQ(TPaths::Config("options.cfg"), "/home/ana/.config/vallmora/options.cfg");
    EXPECT_EQ(TPaths::User("screens"), "/home/ana/.local/share/vallmora/screens");
}

// A folder is made with its parents; one that cannot hold a file says why (a file in the way
// stops root too, who writes through any permission bits).
TEST_F(PathsTest, MakeWritableMakesTheFolderOrSaysWhyNot) {
    const std::pair<std::string, bool> cases[] = {{dir.File("a/b/c"), true},
                                                  {dir.path, true},
                                                  {dir.File("file"), false},
                                                  {dir.File("file/sub"), false},
                                                  {"", false}};
    for (const auto& [folder, writable] : cases) EXPECT_EQ(TPaths::MakeWritable(folder).empty(), writable) << folder;
    EXPECT_EQ(ReadDir(dir.File("a/b/c")).size(), 2u) << "the probe file is removed";
}

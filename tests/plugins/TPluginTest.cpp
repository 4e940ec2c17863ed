#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/TStream.h"
#include "plugins/TPlugin.h"
#include "tests/support/TempDir.h"

namespace {

// What the test kind saw while a record was loaded.
struct TSeenRecord {
    std::string id;
    int32_t scope;
    std::string folder;
    std::string picture;
};
std::vector<TSeenRecord> seen;

// A kind in the manner of the real ones: checks its id, registers the record, or rejects it.
std::shared_ptr<TPlugin> LoadTestKind(const std::shared_ptr<TPluginReader>& reader, int32_t scope) {
    const std::string id = reader->getID(scope, 0);
    seen.push_back({id, scope, TPlugin::CurrentFolder(), TPlugin::ResolvePath(reader->getPicture(scope, 0))});
    if (id.empty()) {
        TPlugin::pluginErrorDetail = "no id";
        return nullptr;
    }
    if (!TPlugin::_IdIsFree(id)) return nullptr;
    std::shared_ptr<TPlugin> plugin = std::make_shared<TPlugin>();
    plugin->id = id;
    plugin->title = reader->GetTitle();
    TPlugin::_add(plugin);
    return plugin;
}

std::string Record(const std::string& typ, const std::string& id) {
    return ">\n- plugintyp\n" + typ + "\n- id1\n" + id + "\n- picture1\nimg/a.png\n<\n";
}

void Put(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::shared_ptr<TStream> s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    s->WriteString(bytes);
    ASSERT_TRUE(s->Close());
}

void CollectPath(void* context, const std::string& path) {
    static_cast<std::vector<std::string>*>(context)->push_back(path);
}

class TPluginLoading : public testing::Test {
protected:
    void SetUp() override {
        TPlugin::ClearRegistry();
        TPlugin::RegisterKind("testkind", &LoadTestKind);
        seen.clear();
    }
    void TearDown() override { TPlugin::ClearRegistry(); }
    TempDir dir;
};

}  // namespace

TEST(TPluginPaths, FolderAndFileNameParts) {
    EXPECT_EQ(TPlugin::_GetPath("data/plugins/a/x.ini"), "data/plugins/a/");
    EXPECT_EQ(TPlugin::_GetPath("data\\plugins\\a\\x.ini"), "data/plugins/a/");
    EXPECT_EQ(TPlugin::_GetPath("x.ini"), "");
    EXPECT_EQ(TPlugin::_GetPath("/abs/x.ini"), "/abs/");
    EXPECT_EQ(TPlugin::_GetFileName("data/plugins/a/x.ini"), "x.ini");
    EXPECT_EQ(TPlugin::_GetFileName("a\\b"), "b");
    EXPECT_EQ(TPlugin::_GetFileName("dir/"), "");
    EXPECT_EQ(TPlugin::_GetFileName(""), "");
}

TEST(TPluginPaths, ListsSplitAtSeperator) {
    EXPECT_EQ(TPlugin::SplitList(""), std::vector<std::string>{""});
    EXPECT_EQ(TPlugin::SplitList("1;;2;"), (std::vector<std::string>{"1", "", "2", ""}));
}

TEST_F(TPluginLoading, WalksOnlySubFoldersAndExactIniSuffix) {
    const std::string root = dir.File("plugins");
    Put(root + "/direct.ini", "- title\nT\n" + Record("testkind", "direct"));
    Put(root + "/a/one.ini", "- title\nT\n" + Record("testkind", "one") + Record("testkind", "one-b"));
    Put(root + "/a/upper.INI", "- title\nT\n" + Record("testkind", "upper"));
    Put(root + "/a/other.ini.bak", "- title\nT\n" + Record("testkind", "bak"));
    Put(root + "/a/deep/deeper.ini", "- title\nT\n" + Record("testkind", "deeper"));
    Put(root + "/b/two.ini", "- title\nT\n" + Record("testkind", "two"));
    std::filesystem::create_directories(root + "/b/folder.ini");

    std::vector<std::string> called;
    const int32_t sum = TPlugin::ReadIn(root, &CollectPath, &called);

    // Records of deeper folders load, but only the files of the first level count.
    EXPECT_EQ(sum, 3);
    std::vector<std::string> ids;
    for (const auto& plugin : TPlugin::PluginList()) ids.push_back(plugin->id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"deeper", "one", "one-b", "two"}));
    std::sort(called.begin(), called.end());
    EXPECT_EQ(called,
              (std::vector<std::string>{root + "/a/deep/deeper.ini", root + "/a/one.ini", root + "/b/two.ini"}));
    EXPECT_EQ(TPlugin::ReadIn(dir.File("absent")), 0);
    EXPECT_EQ(TPlugin::ReadIn(root + "/direct.ini"), 0);
}

namespace {
std::vector<std::string> events;
void NoteCallback(void*, const std::string& path) { events.push_back("callback " + TPlugin::_GetFileName(path)); }
std::shared_ptr<TPlugin> NoteLoad(const std::shared_ptr<TPluginReader>& reader, int32_t scope) {
    events.push_back("load " + reader->getID(scope, 0));
    return LoadTestKind(reader, scope);
}
}  // namespace

TEST_F(TPluginLoading, CallbackComesBeforeEachFileIsRead) {
    TPlugin::RegisterKind("noted", &NoteLoad);
    Put(dir.File("p/x/f.ini"), "- title\nT\n" + Record("noted", "r1") + Record("noted", "r2"));
    events.clear();
    EXPECT_EQ(TPlugin::ReadIn(dir.File("p"), &NoteCallback, nullptr), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"callback f.ini", "load r1", "load r2"}));
    // Without a callback the file still loads.
    TPlugin::ClearRegistry();
    EXPECT_EQ(TPlugin::ReadIn(dir.File("p")), 2);
    EXPECT_TRUE(TPlugin::Get("r2"));
}

TEST_F(TPluginLoading, NamesResolveAgainstThePluginFolderWithoutChangingTheProcessFolder) {
    const std::filesystem::path before = std::filesystem::current_path();
    Put(dir.File("p/x/f.ini"), "- title\nT\n" + Record("testkind", "r"));
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("p/x/f.ini")), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].folder, dir.File("p/x/"));
    EXPECT_EQ(seen[0].picture, dir.File("p/x/img/a.png"));
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(TPlugin::CurrentFolder(), "");
    EXPECT_EQ(TPlugin::ResolvePath("/abs/b.png"), "/abs/b.png");
    EXPECT_EQ(TPlugin::ResolvePath("sub\\b.png"), "sub/b.png");
}

TEST_F(TPluginLoading, FirstIdWinsAndRejectionsAreReportedInGerman) {
    Put(dir.File("f.ini"), "- title\nT\n" + Record("testkind", "same") + Record("testkind", "same") +
                               Record("unknown", "u") + Record("testkind", "after"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("f.ini")), 4);
    const std::string out = testing::internal::GetCapturedStdout();

    const std::string report = "Fehler beim Einlesen des Plugins: " + dir.File("f.ini") +
                               "\r\nVerfügbare Zusatzinformationen dazu: Plugin-Id bereits in Verwendung! (same)\r\n"
                               "***Fehlterhafte Plugins können zu Problemen innerhalb des Spiels führen!***\r\n\n";
    // The unknown kind shows the detail left over from the rejection before it.
    EXPECT_EQ(out, report + report);
    ASSERT_EQ(TPlugin::PluginList().size(), 2u);
    EXPECT_EQ(TPlugin::PluginList()[0]->id, "same");
    EXPECT_EQ(TPlugin::PluginList()[1]->id, "after");
    EXPECT_EQ(TPlugin::Get("same"), TPlugin::PluginList()[0]);
    EXPECT_FALSE(TPlugin::Get("Same"));
}

TEST_F(TPluginLoading, UnknownKindBeforeAnyRejectionHasAnEmptyDetail) {
    Put(dir.File("f.ini"), "- title\nT\n" + Record("Testkind", "x"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("f.ini")), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Verfügbare Zusatzinformationen dazu: \r\n"), std::string::npos);
    EXPECT_TRUE(TPlugin::PluginList().empty());
}

TEST_F(TPluginLoading, FilesWithoutTitleOrRecordsOrBalanceLoadNothing) {
    Put(dir.File("notitle.ini"), "- author\nA\n" + Record("testkind", "a"));
    Put(dir.File("emptytitle.ini"), "- title\n\n" + Record("testkind", "b"));
    Put(dir.File("header.ini"), "- title\nT\n- author\nA\n");
    Put(dir.File("unbalanced.ini"), "- title\nT\n>\n- plugintyp\ntestkind\n- id1\nc\n>\n<\n");
    Put(dir.File("empty.ini"), "");
    Put(dir.File("junk.ini"), std::string("\x01\xff>\0<\0>\n<<", 11));

    testing::internal::CaptureStdout();
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("notitle.ini")), 0);
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("emptytitle.ini")), 0);
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("header.ini")), 0);
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("empty.ini")), 0);
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("junk.ini")), 0);
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("missing.ini")), 0);
    const std::string quiet = testing::internal::GetCapturedStdout();
    EXPECT_EQ(quiet, "");

    testing::internal::CaptureStdout();
    EXPECT_EQ(TPlugin::_LoadINI(dir.File("unbalanced.ini")), -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("unbalanced"), std::string::npos);
    EXPECT_TRUE(TPlugin::PluginList().empty());
    EXPECT_TRUE(seen.empty());
}

TEST_F(TPluginLoading, SymbolicLinkLoopEnds) {
    Put(dir.File("p/a/f.ini"), "- title\nT\n" + Record("testkind", "r"));
    std::filesystem::create_directory_symlink(dir.File("p/a"), dir.File("p/a/loop"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(TPlugin::ReadIn(dir.File("p")), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("nested too deeply"), std::string::npos);
    EXPECT_EQ(TPlugin::PluginList().size(), 1u);
}

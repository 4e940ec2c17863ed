#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TStream.h"
#include "tests/support/TempDir.h"

namespace {

std::string Raw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void PutRaw(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names = ReadDir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Stream, ReadLineDropsCarriageReturnsAndDecodesLatin1) {
    TempDir dir;
    PutRaw(dir.File("a.txt"),
           "Stra\xDF"
           "e\r\n\xE4\xF6\xFC\r\nmid\rdle\n\nlast");
    auto s = TStream::ReadFile(dir.File("a.txt"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ReadLine(), "Straße");
    EXPECT_EQ(s->ReadLine(), "äöü");
    EXPECT_EQ(s->ReadLine(), "middle");
    EXPECT_FALSE(s->Eof());
    EXPECT_EQ(s->ReadLine(), "");
    EXPECT_EQ(s->ReadLine(), "last");
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->ReadLine(), "");
    s->Close();
    EXPECT_EQ(s->ReadLine(), "");
    EXPECT_TRUE(s->Eof());
}

TEST(Stream, WriteLineEncodesSingleBytesAndEndsWithCrLf) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    auto s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->WriteLine("Größe"));
    EXPECT_TRUE(s->WriteLine(""));
    EXPECT_TRUE(s->WriteLine("ÄÖÜ ß"));
    ASSERT_TRUE(s->Close());
    EXPECT_EQ(Raw(path),
              "Gr\xF6\xDF"
              "e\r\n\r\n\xC4\xD6\xDC \xDF\r\n");
    // And back again.
    auto in = TStream::ReadFile(path);
    EXPECT_EQ(in->ReadLine(), "Größe");
    EXPECT_EQ(in->ReadLine(), "");
    EXPECT_EQ(in->ReadLine(), "ÄÖÜ ß");
    EXPECT_TRUE(in->Eof());
}

TEST(Stream, WritesReplaceTheFileOnlyOnClose) {
    TempDir dir;
    const std::string path = dir.File("save.dat");
    PutRaw(path, "old contents");
    auto s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    ASSERT_TRUE(s->WriteString("new"));
    EXPECT_EQ(Raw(path), "old contents");
    ASSERT_TRUE(s->Close());
    EXPECT_EQ(Raw(path), "new");
    EXPECT_EQ(FilesIn(dir.path), (std::vector<std::string>{".", "..", "save.dat"}));
    // Writing to a read stream fails.
    auto r = TStream::ReadFile(path);
    EXPECT_FALSE(r->Write("x", 1));
    r->Close();
    EXPECT_EQ(Raw(path), "new");
}

TEST(Stream, DiscardLeavesTheOldFileAndNoTempFile) {
    TempDir dir;
    const std::string path = dir.File("save.dat");
    PutRaw(path, "keep me");
    {
        auto s = TStream::WriteFile(path);
        ASSERT_TRUE(s);
        s->WriteString("half written");
        s->Discard();
        EXPECT_FALSE(s->Close());
        EXPECT_FALSE(s->Write("x", 1));
    }
    EXPECT_EQ(Raw(path), "keep me");
    EXPECT_EQ(FilesIn(dir.path), (std::vector<std::string>{".", "..", "save.dat"}));
    // A discarded new file never appears.
    auto fresh = TStream::WriteFile(dir.File("new.dat"));
    fresh->WriteString("x");
    fresh->Discard();
    EXPECT_EQ(FileType(dir.File("new.dat")), FILETYPE_NONE);
    EXPECT_EQ(FilesIn(dir.path), (std::vector<std::string>{".", "..", "save.dat"}));
}

TEST(Stream, OpenFailuresAreNull) {
    TempDir dir;
    EXPECT_FALSE(TStream::ReadFile(dir.File("absent.txt")));
    EXPECT_FALSE(TStream::ReadFile(dir.path));
    EXPECT_FALSE(TStream::WriteFile(dir.path));
    EXPECT_FALSE(TStream::WriteFile(dir.File("no/such/folder/x.txt")));
    std::string bytes = "unchanged";
    EXPECT_FALSE(LoadBytes(dir.File("absent.txt"), bytes));
}

TEST(Stream, BinaryReadWriteAndSize) {
    TempDir dir;
    const std::string path = dir.File("bin");
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    auto w = TStream::WriteFile(path);
    ASSERT_TRUE(w->Write(bytes.data(), bytes.size()));
    ASSERT_TRUE(w->Close());
    auto r = TStream::ReadFile(path);
    EXPECT_EQ(r->Size(), 256);
    char head[4];
    ASSERT_EQ(r->Read(head, 4), 4u);
    EXPECT_EQ(std::string(head, 4), bytes.substr(0, 4));
    EXPECT_EQ(r->Size(), 256);  // asking the size keeps the position
    EXPECT_EQ(r->ReadAll(), bytes.substr(4));
    EXPECT_TRUE(r->Eof());
    std::string loaded;
    ASSERT_TRUE(LoadBytes(path, loaded));
    EXPECT_EQ(loaded, bytes);
}

TEST(Stream, DirectoriesAndFileTypes) {
    TempDir dir;
    EXPECT_EQ(FileType(dir.path), FILETYPE_DIR);
    EXPECT_EQ(FileType(dir.File("nothing")), FILETYPE_NONE);
    EXPECT_EQ(FileType(""), FILETYPE_NONE);
    ASSERT_TRUE(CreateDir(dir.File("a/b/c")));
    EXPECT_EQ(FileType(dir.File("a/b/c")), FILETYPE_DIR);
    EXPECT_TRUE(CreateDir(dir.File("a/b/c")));  // already there
    PutRaw(dir.File("a/file.txt"), "x");
    EXPECT_EQ(FileType(dir.File("a/file.txt")), FILETYPE_FILE);
    EXPECT_FALSE(CreateDir(dir.File("a/file.txt")));
    EXPECT_EQ(FilesIn(dir.File("a")), (std::vector<std::string>{".", "..", "b", "file.txt"}));
    EXPECT_EQ(FilesIn(dir.File("a/b/c")), (std::vector<std::string>{".", ".."}));
    EXPECT_TRUE(ReadDir(dir.File("missing")).empty());
    EXPECT_TRUE(ReadDir(dir.File("a/file.txt")).empty());
}

TEST(Stream, RenameReplacesFilesButNeverFolders) {
    TempDir dir;
    PutRaw(dir.File("new"), "new");
    PutRaw(dir.File("old"), "old");
    ASSERT_TRUE(CreateDir(dir.File("folder")));
    struct Case {
        const char *from, *to;
        bool moved;
    } cases[] = {{"new", "old", true}, {"missing", "old", false}, {"old", "folder", false}, {"folder", "f2", false}};
    for (const auto& c : cases) EXPECT_EQ(RenameFile(dir.File(c.from), dir.File(c.to)), c.moved) << c.from;
    EXPECT_EQ(Raw(dir.File("old")), "new");
    EXPECT_EQ(FilesIn(dir.path), (std::vector<std::string>{".", "..", "folder", "old"}));
}

TEST(Stream, FileTimeOrdersFilesByTheirLastWrite) {
    TempDir dir;
    PutRaw(dir.File("a"), "a");
    PutRaw(dir.File("b"), "b");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(dir.File("a"), now - std::chrono::hours(2));
    std::filesystem::last_write_time(dir.File("b"), now - std::chrono::hours(1));
    EXPECT_LT(FileTime(dir.File("a")), FileTime(dir.File("b")));
    PutRaw(dir.File("a"), "again");  // a new write makes it the newer one
    EXPECT_GT(FileTime(dir.File("a")), FileTime(dir.File("b")));
    EXPECT_EQ(FileTime(dir.File("missing")), -1);
    EXPECT_EQ(FileTime(dir.path), -1);
}

}  // namespace

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/TStream.h"
#include "plugins/TPluginReader.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

namespace {

std::shared_ptr<TPluginReader> Lines(std::vector<std::string> lines) {
    std::shared_ptr<TPluginReader> reader = TPluginReader::Create();
    reader->line = std::move(lines);
    return reader;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::shared_ptr<TStream> s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    s->WriteString(bytes);
    ASSERT_TRUE(s->Close());
}

}  // namespace

TEST(TPluginReaderFormat, LineEndsCarriageReturnsAndZeroBytes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(TPluginReader::FromBytes("a\nb\n")->line, (V{"a", "b"}));
    EXPECT_EQ(TPluginReader::FromBytes("a\nb")->line, (V{"a", "b"}));
    EXPECT_EQ(TPluginReader::FromBytes("a\r\n\r\nb")->line, (V{"a", "", "b"}));
    EXPECT_EQ(TPluginReader::FromBytes("x\ry\rz")->line, (V{"xyz"}));
    EXPECT_EQ(TPluginReader::FromBytes(std::string("a\0b\n\0", 5))->line, (V{"a", "b", ""}));
    EXPECT_EQ(TPluginReader::FromBytes("\n")->line, (V{""}));
    EXPECT_TRUE(TPluginReader::FromBytes("")->line.empty());
    EXPECT_EQ(TPluginReader::FromBytes("no line end at all")->line, (V{"no line end at all"}));
}

TEST(TPluginReaderFormat, Latin1FileSurvivesReadAndWriteByteForByte) {
    TempDir dir;
    // "- straße", "Größe: äöü ÄÖÜ ß ÿ" in ISO-8859-1, CR LF line ends as the writer produces them.
    const std::string bytes =
        "- stra\xDF"
        "e\r\nGr\xF6\xDF"
        "e: \xE4\xF6\xFC \xC4\xD6\xDC \xDF \xFF\r\n";
    WriteBytes(dir.File("in.ini"), bytes);
    std::shared_ptr<TPluginReader> reader = TPluginReader::read(dir.File("in.ini"));
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->line.size(), 2u);
    EXPECT_EQ(reader->line[1], "Größe: äöü ÄÖÜ ß ÿ");
    EXPECT_EQ(reader->GetField("STRASSE", 0, "-"), "-");
    EXPECT_EQ(reader->GetField("STRAßE", 0), "Größe: äöü ÄÖÜ ß ÿ");
    ASSERT_EQ(reader->Write(dir.File("out.ini")), 1);
    EXPECT_EQ(FileBytes(dir.File("out.ini")), bytes);
}

TEST(TPluginReaderFormat, WriterEndsEveryLineWithCrLfAndReplacesTheFile) {
    TempDir dir;
    WriteBytes(dir.File("f.cfg"), "old content that is longer than the new one\n");
    EXPECT_EQ(Lines({"- a", "", "ü"})->Write(dir.File("f.cfg")), 1);
    EXPECT_EQ(FileBytes(dir.File("f.cfg")), "- a\r\n\r\n\xFC\r\n");
    EXPECT_EQ(TPluginReader::Create()->Write(dir.File("f.cfg")), 1);
    EXPECT_EQ(FileBytes(dir.File("f.cfg")), "");
    EXPECT_EQ(Lines({"x"})->Write(dir.File("missing/f.cfg")), 0);
    EXPECT_EQ(Lines({"x"})->Write(dir.path), 0);
    EXPECT_FALSE(TPluginReader::read(dir.File("nothing.ini")));
    EXPECT_FALSE(TPluginReader::read(dir.path));
}

TEST(TPluginReaderFormat, FailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.File("gadgets.cfg");
    WriteBytes(path, "- keep\r\nme\r\n");
    std::shared_ptr<TPluginReader> big = Lines(std::vector<std::string>(20000, std::string(50, 'v')));

    // The temporary file cannot be created.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_EQ(big->Write(path), 0);
    EXPECT_EQ(FileBytes(path), "- keep\r\nme\r\n");
    std::filesystem::remove(path + ".tmp");

    // The disk "fills up" half-way: a child process may write only 4 KB per file.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(big->Write(path) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have been reported as failed";
    EXPECT_EQ(FileBytes(path), "- keep\r\nme\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(TPluginReaderFields, KeyMustStartInColumnTwoOrThree) {
    const auto value = [](const std::string& keyLine) { return Lines({keyLine, "v"})->GetField("title", 0, "none"); };
    EXPECT_EQ(value("-Title"), "v");
    EXPECT_EQ(value("- TITLE"), "v");
    EXPECT_EQ(value("--title"), "v");
    EXPECT_EQ(value("-title and more words"), "v");
    EXPECT_EQ(value("-titles"), "none");
    EXPECT_EQ(value("-- title"), "none");
    EXPECT_EQ(value("-   title"), "none");
    EXPECT_EQ(value(" - title"), "none");  // a key line starts with the dash
    EXPECT_EQ(value("title"), "none");
    // Column counting is in characters: a two-byte character before the key is one column.
    EXPECT_EQ(value("-ätitle"), "v");
    EXPECT_EQ(value("-ä title"), "none");
}

TEST(TPluginReaderFields, KeysIgnoreCaseIncludingAccentedLetters) {
    std::shared_ptr<TPluginReader> r = Lines({"- ÄRGER ÜBER ÖL", "1", "-Sound effects", "0", "- max. Cars", "3"});
    EXPECT_EQ(r->GetField("ärger über öl", 0), "1");
    EXPECT_EQ(r->GetField("Ärger Über Öl", 0), "1");
    EXPECT_EQ(r->GetField("Sound", 0), "0");
    EXPECT_EQ(r->GetMaxCars(0), "3");
    EXPECT_EQ(r->GetField("sound effects please", 0, "d"), "d");
}

TEST(TPluginReaderFields, ValuesAreVerbatimAndFirstKeyWins) {
    std::shared_ptr<TPluginReader> r =
        Lines({"- name", "  two leading spaces ", "- name", "second", "- dash", "- looks like a key", "- last"});
    EXPECT_EQ(r->GetName(0), "  two leading spaces ");
    EXPECT_EQ(r->GetField("dash", 0), "- looks like a key");
    EXPECT_EQ(r->GetField("last", 0, "default"), "default");  // key line without a value line
    EXPECT_EQ(Lines({"- empty", ""})->GetField("empty", 0, "d"), "");
}

TEST(TPluginReaderFields, ScopeWalking) {
    std::shared_ptr<TPluginReader> inScope2 = Lines({"- title", "T", ">", "- x", "1", "<", ">", "- name", "two", "<"});
    EXPECT_EQ(inScope2->GetName(1), "");
    EXPECT_EQ(inScope2->GetField("name", 1, "x"), "x");
    EXPECT_EQ(inScope2->GetName(2), "two");
    EXPECT_EQ(inScope2->GetTitle(), "T");
    EXPECT_EQ(inScope2->GetField("title", 1, "no"), "no");
    EXPECT_EQ(inScope2->GetField("name", 3, "no"), "no");

    // Lines after a "<" and before the next ">" still belong to the scope just closed.
    std::shared_ptr<TPluginReader> afterClose = Lines({">", "<", "- name", "late", ">", "<"});
    EXPECT_EQ(afterClose->GetField("name", 1, "x"), "late");
    EXPECT_EQ(afterClose->GetField("name", 2, "x"), "x");

    // Unbalanced markers end the search with the default.
    EXPECT_EQ(Lines({">", ">", "- a", "1"})->GetField("a", 2, "d"), "d");
    EXPECT_EQ(Lines({"<", "- a", "1"})->GetField("a", 0, "d"), "d");
    EXPECT_EQ(Lines({"- a", "1", "<"})->GetField("a", 0, "d"), "1");

    // Only lines that are exactly ">" or "<" are markers.
    std::shared_ptr<TPluginReader> notMarkers = Lines({" >", "<<", "- a", "1"});
    EXPECT_EQ(notMarkers->CountScopes(), 0);
    EXPECT_EQ(notMarkers->GetField("a", 0), "1");
}

TEST(TPluginReaderScopes, CountScopes) {
    EXPECT_EQ(Lines({})->CountScopes(), 0);
    EXPECT_EQ(Lines({">", ">", "<"})->CountScopes(), -1);
    EXPECT_EQ(Lines({">", "<", "<"})->CountScopes(), -1);
    EXPECT_EQ(Lines({">", "<", ">"})->CountScopes(), 2);
    EXPECT_EQ(Lines({"- t", "x", ">", "a", "<", "b", ">", "<"})->CountScopes(), 2);
}

TEST(TPluginReaderScopes, WriteFieldInsertsAtTheEndOfItsScope) {
    using V = std::vector<std::string>;
    std::shared_ptr<TPluginReader> r = TPluginReader::Create();
    EXPECT_EQ(r->WriteField("a", 1, "v"), 1);
    EXPECT_EQ(r->line, (V{">", "<", "- a", "v"}));
    EXPECT_EQ(r->WriteField("b", 1, "w"), 1);
    EXPECT_EQ(r->line, (V{">", "- b", "w", "<", "- a", "v"}));
    EXPECT_EQ(r->WriteField("Top", 0, "t"), 1);
    EXPECT_EQ(r->line, (V{"- Top", "t", ">", "- b", "w", "<", "- a", "v"}));
    EXPECT_EQ(r->WriteField("c", 3, "3"), 1);
    EXPECT_EQ(r->line, (V{"- Top", "t", ">", "- b", "w", "<", "- a", "v", ">", "<", ">", "- c", "3", "<"}));
    EXPECT_EQ(r->GetField("c", 3), "3");
    EXPECT_EQ(r->GetField("a", 1), "v");
    EXPECT_EQ(r->GetField("top", 0), "t");

    // Fields of scope 0 on an empty reader come out in call order.
    std::shared_ptr<TPluginReader> flat = TPluginReader::Create();
    flat->WriteField("x", 0, "1");
    flat->WriteField("x", 0, "2");
    EXPECT_EQ(flat->line, (V{"- x", "1", "- x", "2"}));
    EXPECT_EQ(flat->GetField("x", 0), "1");

    // An unclosed last scope runs to the end of the file.
    std::shared_ptr<TPluginReader> open = Lines({">", "- a", "1"});
    EXPECT_EQ(open->WriteField("b", 1, "2"), 1);
    EXPECT_EQ(open->line, (V{">", "- a", "1", "- b", "2"}));
    // Scopes added after an unclosed last scope do not open inside it.
    EXPECT_EQ(open->WriteField("c", 3, "3"), 1);
    EXPECT_EQ(open->line, (V{">", "- a", "1", "- b", "2", "<", ">", "<", ">", "- c", "3", "<"}));
    EXPECT_EQ(open->CountScopes(), 3);
}

TEST(TPluginReaderScopes, WriteFieldRefusesUnbalancedMarkers) {
    std::shared_ptr<TPluginReader> r = Lines({">", ">", "<"});
    const std::vector<std::string> before = r->line;
    EXPECT_EQ(r->WriteField("a", 0, "v"), 0);
    EXPECT_EQ(r->WriteField("a", 2, "v"), 0);
    EXPECT_EQ(r->WriteField("a", -1, "v"), 0);
    EXPECT_EQ(r->line, before);
    EXPECT_EQ(r->AddScope(0), 0);
    EXPECT_EQ(r->AddScope(-3), 0);
    EXPECT_EQ(r->line, before);
}

TEST(TPluginReaderBadInput, JunkAndHugeInputsReadWithoutTrouble) {
    std::string junk;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk.push_back(static_cast<char>(seed >> 24));
    }
    std::shared_ptr<TPluginReader> r = TPluginReader::FromBytes(junk);
    EXPECT_GT(r->line.size(), 0u);
    r->CountScopes();
    EXPECT_EQ(r->GetField("title", 0, "d"), r->GetField("TITLE", 0, "d"));
    EXPECT_EQ(TPluginReader::FromBytes(r->ToBytes())->line, r->line);

    // 100,000 lines of fields and balanced scopes: the last field is found.
    std::string many;
    for (int i = 0; i < 50000; ++i) many += (i % 2 == 0) ? ">\n<\n" : "- k\nv\n";
    many += ">\n- last\nfound\n<\n";
    std::shared_ptr<TPluginReader> big = TPluginReader::FromBytes(many);
    EXPECT_EQ(big->line.size(), 100004u);
    EXPECT_EQ(big->CountScopes(), 25001);
    EXPECT_EQ(big->GetField("last", 25001), "found");

    // A 64 KB value and a 64 KB key line.
    const std::string longValue(65536, 'x');
    std::shared_ptr<TPluginReader> wide = TPluginReader::FromBytes("- " + std::string(65536, 'k') + "\n" + longValue);
    EXPECT_EQ(wide->GetField(std::string(65536, 'k'), 0), longValue);
    EXPECT_EQ(wide->GetField("k", 0, "d"), "d");
    EXPECT_EQ(TPluginReader::FromBytes("- v\n" + longValue)->GetField("v", 0), longValue);
}

TEST(TPluginReaderBadInput, LineCountIsBounded) {
    bool cut = false;
    std::shared_ptr<TPluginReader> r = TPluginReader::FromBytes(std::string(TPluginReader::maxLines + 10, '\0'), &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(r->line.size(), TPluginReader::maxLines);
    TPluginReader::FromBytes(std::string(TPluginReader::maxLines, '\n'), &cut);
    EXPECT_FALSE(cut);
}

TEST(TPluginReaderBadInput, OversizedFileIsRefused) {
    TempDir dir;
    {
        std::shared_ptr<TStream> s = TStream::WriteFile(dir.File("huge.ini"));
        const std::string block(1 << 20, 'a');
        for (size_t i = 0; i <= TPluginReader::maxFileBytes / block.size(); ++i) s->WriteString(block);
        ASSERT_TRUE(s->Close());
    }
    testing::internal::CaptureStdout();
    EXPECT_FALSE(TPluginReader::read(dir.File("huge.ini")));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("too large"), std::string::npos);
}

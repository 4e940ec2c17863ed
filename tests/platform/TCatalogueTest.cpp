#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/TCatalogue.h"
#include "tests/support/TempDir.h"

namespace {

// Every test leaves German in use, whatever it switched to.
class Catalogue : public testing::Test {
protected:
    void TearDown() override { TCatalogue::Reset(); }

    // A folder holding en.po with the given bytes.
    std::string FolderWithEnglish(const std::string& bytes) {
        std::ofstream(dir.File("en.po"), std::ios::binary) << bytes;
        return dir.path;
    }
    // Use with the language's lines on standard output.
    std::vector<std::string> UseAndListen(int32_t language, const std::string& folder, bool expected) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(TCatalogue::Use(language, folder), expected);
        const std::string out = testing::internal::GetCapturedStdout();
        std::vector<std::string> lines;
        for (size_t from = 0, end; (end = out.find('\n', from)) != std::string::npos; from = end + 1)
            lines.push_back(out.substr(from, end - from));
        return lines;
    }
    TempDir dir;
};

std::map<std::string, std::string> Sorted(const TCatalogue::TEntries& e) { return {e.begin(), e.end()}; }

TEST(CatalogueReader, ReadsEntriesAsGettextWritesThem) {
    struct TCase {
        const char* what;
        std::string text;
        std::map<std::string, std::string> entries;
    };
    const TCase cases[] = {
        {"one entry", "msgid \"Laden\"\nmsgstr \"Load\"\n", {{"Laden", "Load"}}},
        {"escapes",
         R"(msgid "a\"b\\c\nd\te"
msgstr "A\"B\\C\nD\tE")",
         {{"a\"b\\c\nd\te", "A\"B\\C\nD\tE"}}},
        {"strings continued on the next lines",
         "msgid \"\"\n\"Zeile \"\n  \"zwei\"\nmsgstr \"\"\n\"Line \"\n\"two\"\n",
         {{"Zeile zwei", "Line two"}}},
        {"header, fuzzy and untranslated entries left out",
         "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n#, fuzzy\nmsgid \"Alt\"\n"
         "msgstr \"Old\"\n\nmsgid \"Leer\"\nmsgstr \"\"\n\nmsgid \"Gut\"\nmsgstr \"Good\"\n",
         {{"Gut", "Good"}}},
        {"comments, CR LF, a byte order mark and no final line end",
         "\xEF\xBB\xBF# translator\r\n#: gui/TMainTool.cpp\r\nmsgid \"Größe\"\r\nmsgstr \"Size\"",
         {{"Größe", "Size"}}},
        {"an entry in a context apart from the one without",
         "msgid \"Laden\"\nmsgstr \"Load\"\n\nmsgctxt \"content\"\nmsgid \"Laden\"\nmsgstr \"Shop\"\n",
         {{"Laden", "Load"}, {"content\x04Laden", "Shop"}}},
        {"an entry without context after one with",
         "msgctxt \"content\"\nmsgid \"Laden\"\nmsgstr \"Shop\"\n\nmsgid \"Laden\"\nmsgstr \"Load\"\n",
         {{"Laden", "Load"}, {"content\x04Laden", "Shop"}}},
        {"an empty file", "", {}},
    };
    for (const TCase& c : cases) {
        TCatalogue::TEntries entries;
        std::string error;
        EXPECT_TRUE(TCatalogue::Parse(c.text, entries, error)) << c.what << ": " << error;
        EXPECT_EQ(Sorted(entries), c.entries) << c.what;
    }
}

TEST(CatalogueReader, NamesTheLineOfABrokenFile) {
    struct TCase {
        std::string text;
        std::string error;
    };
    const TCase cases[] = {
        {"msgid \"a\"\nmsgstr \"b\n", "line 2: the closing quote is missing"},
        {"msgid \"a\\q\"\nmsgstr \"b\"\n", "line 1: unknown escape \\q"},
        {"\nmsgstr \"b\"\n", "line 2: msgstr without msgid"},
        {"msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n", "line 3: a second msgstr"},
        {"msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", "line 4: msgid \"a\" appears twice"},
        {"msgid \"a\" x\nmsgstr \"b\"\n", "line 1: text after the closing quote"},
        {"msgid a\nmsgstr \"b\"\n", "line 1: a string in quotes is missing"},
        {"\"a\"\n", "line 1: a string outside msgid or msgstr"},
        {"msgid \"a\"\nmsgtxt \"b\"\n", "line 2: unknown keyword \"msgtxt\""},
        {"msgid \"a\"\nmsgid_plural \"as\"\nmsgstr \"b\"\n", "line 2: msgid_plural is not supported"},
        {"msgctxt \"content\"\nmsgstr \"b\"\n", "line 2: msgstr without msgid"},
        {"msgid \"a\"\nmsgstr \"b\"\nmsgctxt \"content\"\n", "line 4: msgctxt without msgid"},
        {"msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"c\"\n", "line 4: msgid without msgstr"},
        {"msgid \"a\"\nmsgstr \"\xE4\"\n", "line 2: not UTF-8"},
    };
    for (const TCase& c : cases) {
        TCatalogue::TEntries entries;
        std::string error;
        EXPECT_FALSE(TCatalogue::Parse(c.text, entries, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(CatalogueFill, PutsValuesIntoTheirPlaceholders) {
    struct TCase {
        const char* text;
        std::vector<std::string> values;
        const char* filled;
    };
    const TCase cases[] = {
        {"Gespeichert: %1", {"Neustadt"}, "Gespeichert: Neustadt"},
        {"%2 of %1", {"10", "3"}, "3 of 10"},
        {"Größe: %1*%1", {"4"}, "Größe: 4*4"},
        {"Zufriedenheit: %1%", {"50"}, "Zufriedenheit: 50%"},
        {"Steuersatz bleibt bei %1 %", {"9"}, "Steuersatz bleibt bei 9 %"},
        {"%0 %a %3 %", {"x", "y"}, "%0 %a %3 %"},
        {"%1 und %2", {"%2", "b"}, "%2 und b"},
        {"%9", {"1", "2", "3", "4", "5", "6", "7", "8", "neun"}, "neun"},
    };
    for (const TCase& c : cases) {
        const std::vector<std::string_view> views(c.values.begin(), c.values.end());
        const std::string filled = Fill(c.text, views.data(), views.size());
        EXPECT_EQ(filled, c.filled) << c.text;
    }
}

TEST_F(Catalogue, EnglishTranslatesWhatItHasAndLeavesTheRestGerman) {
    const std::string folder = FolderWithEnglish(
        "msgid \"Laden\"\nmsgstr \"Load\"\n\nmsgid \"%1 von %2 Einwohnern\"\nmsgstr \"%1 of %2 inhabitants\"\n\n"
        "msgid \"Größe: %1x%2 Felder\"\nmsgstr \"Size: %2 by %1\"\n\n"
        "msgctxt \"content\"\nmsgid \"Laden\"\nmsgstr \"Shop\"\n");
    EXPECT_TRUE(UseAndListen(TCatalogue::english, folder, true).empty());
    EXPECT_EQ(TCatalogue::Language(), TCatalogue::english);
    EXPECT_EQ(Tr("Laden"), "Load");
    EXPECT_EQ(TrContent("Laden"), "Shop");
    EXPECT_EQ(TrContent("Wohnhaus"), "Wohnhaus");
    EXPECT_EQ(Tr("Speichern"), "Speichern");
    EXPECT_EQ(Tr("%1 von %2 Einwohnern", 3, std::string("12")), "3 of 12 inhabitants");
    EXPECT_EQ(Tr("Größe: %1x%2 Felder", 2, 3), "Size: 3 by 2");
    EXPECT_EQ(Tr("Gespeichert: %1", "Neustadt"), "Gespeichert: Neustadt");

    // Back to German at run time: every text is its key again.
    EXPECT_TRUE(UseAndListen(TCatalogue::german, folder, true).empty());
    EXPECT_EQ(TCatalogue::Language(), TCatalogue::german);
    EXPECT_EQ(Tr("Laden"), "Laden");
    EXPECT_EQ(TrContent("Laden"), "Laden");
    EXPECT_EQ(Tr("%1 von %2 Einwohnern", 3, 12), "3 von 12 Einwohnern");
}

TEST_F(Catalogue, FallsBackToGermanWithOneLineSayingWhy) {
    struct TCase {
        const char* what;
        int32_t language;
        const char* file;  // null: no en.po in the folder
        std::string line;  // what the one line holds
    };
    const TCase cases[] = {
        {"a language without a catalogue", 3, "msgid \"Laden\"\nmsgstr \"Load\"\n", "Language 3 is not available"},
        {"a missing file", TCatalogue::english, nullptr, "en.po: cannot be read"},
        {"a broken file", TCatalogue::english, "msgid \"Laden\"\nmsgstr \"Load\n", "en.po: line 2: the closing quote"},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(dir.File("en.po"));
        const std::string folder = c.file ? FolderWithEnglish(c.file) : dir.path;
        const auto lines = UseAndListen(c.language, folder, false);
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_NE(lines[0].find(c.line), std::string::npos) << c.what << ": " << lines[0];
        EXPECT_NE(lines[0].find("using Deutsch"), std::string::npos) << c.what;
        EXPECT_EQ(TCatalogue::Language(), TCatalogue::german) << c.what;
        EXPECT_EQ(Tr("Laden"), "Laden") << c.what;
    }
}

TEST_F(Catalogue, AFailedSwitchDropsTheLanguageUsedBefore) {
    const std::string folder = FolderWithEnglish("msgid \"Laden\"\nmsgstr \"Load\"\n");
    ASSERT_TRUE(UseAndListen(TCatalogue::english, folder, true).empty());
    ASSERT_EQ(Tr("Laden"), "Load");
    EXPECT_EQ(UseAndListen(7, folder, false).size(), 1u);
    EXPECT_EQ(Tr("Laden"), "Laden");
}

}  // namespace

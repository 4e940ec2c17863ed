// The English catalogue against the sources: every German text the interface shows (the first
// argument of Tr("…") or TrNoop("…") in the program's folders, and every content name in
// data/plugins) has an English entry in data/lang/en.po, every entry is used, and no German text
// in gui/, world/ or app/ reaches the player without going through the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TStream.h"

namespace {
namespace fs = std::filesystem;

// Folders whose Tr and TrNoop texts are collected.
const char* const sourceFolders[] = {"app",       "gui",     "world",       "settings", "platform",
                                     "framework", "plugins", "persistence", "tools"};
// Folders whose string literals must not hold German outside Tr and TrNoop.
const char* const shownFolders[] = {"app", "gui", "world"};
// Plugin keys whose values the interface shows.
const char* const contentKeys[] = {"title", "name", "worker name", "bridge names"};

// German literals that are not interface texts, or that the catalogue must not translate: the
// surname of newcomers without a name of their own, the file name of a city whose name keeps no
// letter, the letters the on-screen German keyboard types, and the action of its Caps Lock key
// (whose label goes through Tr).
const std::set<std::pair<std::string, std::string>> notTranslated = {
    {"world/THabitantPool.cpp", "Neubürger"}, {"gui/TTextFieldTool.cpp", "ß"}, {"gui/TTextFieldTool.cpp", "Ü"},
    {"gui/TTextFieldTool.cpp", "Ö"},          {"gui/TTextFieldTool.cpp", "Ä"}, {"gui/TTextFieldTool.cpp", "ShiftLock"},
    {"gui/TSaveFolder.h", "Stadt"},
};
// Short German words that mark a text as German beside the catalogue's own words.
const char* const germanWords[] = {"der",   "die", "das",  "den",  "dem",   "ein",   "eine", "einen", "und",  "oder",
                                   "nicht", "ist", "sind", "kein", "keine", "mit",   "von",  "auf",   "nach", "bei",
                                   "zu",    "zum", "zur",  "noch", "schon", "bitte", "gibt", "wird",  "hier"};

struct TLiteral {
    std::string file;
    int32_t line = 0;
    std::string text;
    bool translated = false;  // the first argument of Tr or TrNoop
};

// The repository's root: the working folder of the tests, or one above it.
std::string Root() {
    for (fs::path p = fs::current_path(); !p.empty(); p = p.parent_path()) {
        if (fs::exists(p / "data/lang/en.po")) return p.string();
        if (p == p.parent_path()) break;
    }
    return ".";
}

std::string Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (s[++i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            default: out += '\\', out += s[i];
        }
    }
    return out;
}

bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Whether the code before position `at` ends in "Tr(" or "TrNoop(" (blanks allowed).
bool OpensTranslation(const std::string& code, size_t at) {
    size_t i = at;
    while (i > 0 && std::isspace(static_cast<unsigned char>(code[i - 1]))) --i;
    if (i == 0 || code[i - 1] != '(') return false;
    --i;
    while (i > 0 && std::isspace(static_cast<unsigned char>(code[i - 1]))) --i;
    size_t start = i;
    while (start > 0 && IdentChar(code[start - 1])) --start;
    const std::string name = code.substr(start, i - start);
    return name == "Tr" || name == "TrNoop";
}

// The string literals of a C++ source, comments and character literals skipped.
std::vector<TLiteral> Literals(const std::string& file, const std::string& code) {
    std::vector<TLiteral> out;
    int32_t line = 1;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '\n') {
            ++line;
        } else if (code.compare(i, 2, "//") == 0) {
            while (i + 1 < code.size() && code[i + 1] != '\n') ++i;
        } else if (code.compare(i, 2, "/*") == 0) {
            const size_t end = code.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? code.size() : end + 1;
            line += int32_t(std::count(code.begin() + long(i), code.begin() + long(stop), '\n'));
            i = stop;
        } else if (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(code[i - 1])))) {
            for (++i; i < code.size() && code[i] != '\''; ++i) {
                if (code[i] == '\\') ++i;
            }
        } else if (c == 'R' && code.compare(i, 2, "R\"") == 0 && !(i > 0 && IdentChar(code[i - 1]))) {
            const size_t open = code.find('(', i + 2);
            const std::string close = ")" + code.substr(i + 2, open - i - 2) + "\"";
            const size_t end = code.find(close, open);
            const size_t stop = end == std::string::npos ? code.size() : end + close.size() - 1;
            line += int32_t(std::count(code.begin() + long(i), code.begin() + long(stop), '\n'));
            i = stop;
        } else if (c == '"') {
            const size_t start = i;
            for (++i; i < code.size() && code[i] != '"' && code[i] != '\n'; ++i) {
                if (code[i] == '\\') ++i;
            }
            out.push_back({file, line, Unescape(std::string_view(code).substr(start + 1, i - start - 1)),
                           OpensTranslation(code, start)});
        }
    }
    return out;
}

std::vector<TLiteral> SourceLiterals(const std::string& root, const char* folder) {
    std::vector<TLiteral> out;
    if (!fs::exists(fs::path(root) / folder)) return out;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::string code;
        if (!LoadBytes(entry.path().string(), code)) continue;
        const auto found = Literals(fs::relative(entry.path(), root).string(), code);
        out.insert(out.end(), found.begin(), found.end());
    }
    return out;
}

// The shown values of the content's plugin files (ISO-8859-1, "- key" lines each followed by its value).
std::vector<TLiteral> ContentNames(const std::string& root) {
    std::vector<TLiteral> out;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / "data/plugins")) {
        if (entry.path().extension() != ".ini") continue;
        std::string bytes;
        if (!LoadBytes(entry.path().string(), bytes)) continue;
        std::istringstream in(TCharset::Latin1ToUtf8(bytes));
        std::string key, value;
        for (int32_t n = 1; std::getline(in, key); ++n) {
            if (!key.empty() && key.back() == '\r') key.pop_back();
            if (!key.starts_with("- ") ||
                std::find(std::begin(contentKeys), std::end(contentKeys), key.substr(2)) == std::end(contentKeys))
                continue;
            if (!std::getline(in, value)) break;
            ++n;
            if (!value.empty() && value.back() == '\r') value.pop_back();
            std::stringstream parts(value);
            for (std::string part; std::getline(parts, part, ';');) {
                if (part.empty()) continue;
                out.push_back({fs::relative(entry.path(), root).string(), n,
                               TCatalogue::Key(TCatalogue::contentContext, part), true});
            }
        }
    }
    return out;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const uint32_t cp : TCharset::Decode(text)) {
        const bool letter =
            (cp < 128 && std::isalpha(int(cp))) || (cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7);
        if (letter) {
            word += TCharset::Encode(cp);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// A table key as the .po file writes it: the context (msgctxt) before a bar.
std::string Shown(const std::string& key) {
    const size_t eot = key.find('\x04');
    return eot == std::string::npos ? "\"" + key + "\"" : key.substr(0, eot) + " | \"" + key.substr(eot + 1) + "\"";
}

// The German text of a table key, without its context.
std::string Text(const std::string& key) { return key.substr(key.find('\x04') + 1); }

std::set<int32_t> Placeholders(const std::string& text) {
    std::set<int32_t> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') found.insert(text[i + 1] - '0');
    }
    return found;
}

class CatalogueCoverage : public testing::Test {
protected:
    void SetUp() override {
        root = Root();
        std::string error;
        ASSERT_TRUE(TCatalogue::ReadFile(root + "/data/lang/en.po", english, error)) << "data/lang/en.po: " << error;
        for (const char* folder : sourceFolders) {
            for (auto& l : SourceLiterals(root, folder)) {
                if (l.translated) used.push_back(std::move(l));
            }
        }
        const auto names = ContentNames(root);
        ASSERT_FALSE(names.empty()) << "no content names found under data/plugins";
        used.insert(used.end(), names.begin(), names.end());
    }
    std::string root;
    TCatalogue::TEntries english;
    std::vector<TLiteral> used;
};

TEST_F(CatalogueCoverage, EveryShownGermanTextHasAnEnglishEntry) {
    std::map<std::string, std::string> missing;  // text -> first place
    for (const TLiteral& l : used) {
        if (!english.count(l.text)) missing.emplace(l.text, l.file + ":" + std::to_string(l.line));
    }
    for (const auto& [text, where] : missing) ADD_FAILURE() << where << ": no English for " << Shown(text);
}

TEST_F(CatalogueCoverage, EveryEntryIsUsed) {
    std::set<std::string> texts;
    for (const TLiteral& l : used) texts.insert(l.text);
    const std::map<std::string, std::string> sorted(english.begin(), english.end());
    for (const auto& [german, translation] : sorted) {
        if (!texts.count(german)) ADD_FAILURE() << "data/lang/en.po: " << Shown(german) << " is used nowhere";
    }
}

TEST_F(CatalogueCoverage, TranslationsKeepTheirPlaceholders) {
    for (const auto& [german, translation] : english) {
        EXPECT_EQ(Placeholders(translation), Placeholders(Text(german)))
            << Shown(german) << " -> \"" << translation << "\"";
    }
}

TEST_F(CatalogueCoverage, NoGermanTextBypassesTheCatalogue) {
    // German words: those of the catalogue's keys that no translation uses (in any case), and
    // the short ones above.
    std::set<std::string> englishWords, german;
    for (const auto& [key, translation] : english) {
        for (const auto& w : Words(translation)) englishWords.insert(TCharset::ToLower(w));
    }
    for (const auto& [key, translation] : english) {
        for (const auto& w : Words(Text(key))) {
            if (TCharset::Length(w) >= 4 && !englishWords.count(TCharset::ToLower(w))) german.insert(w);
        }
    }
    german.insert(std::begin(germanWords), std::end(germanWords));
    const auto looksGerman = [&](const std::string& text) {
        for (const uint32_t cp : TCharset::Decode(text)) {
            if (cp == U'ä' || cp == U'ö' || cp == U'ü' || cp == U'Ä' || cp == U'Ö' || cp == U'Ü' || cp == U'ß')
                return true;
        }
        const auto words = Words(text);
        return std::any_of(words.begin(), words.end(), [&](const std::string& w) { return german.count(w) > 0; });
    };
    for (const char* folder : shownFolders) {
        for (const TLiteral& l : SourceLiterals(root, folder)) {
            if (l.translated || notTranslated.count({l.file, l.text}) || !looksGerman(l.text)) continue;
            ADD_FAILURE() << l.file << ":" << l.line << ": German text outside Tr or TrNoop: \"" << l.text << "\"";
        }
    }
}

}  // namespace

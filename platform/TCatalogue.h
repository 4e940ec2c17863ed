#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

// The interface's texts in the language in use. The German text is the key: German needs no
// catalogue, every other language reads one gettext .po file (data/lang/en.po for English) whose
// msgid is the German text and msgstr the translation. A text without an entry stays German.
// Entries with a msgctxt are apart from those without: the content's names (buildings, streets,
// workers…) live in the context "content", so a shop called "Laden" is not the button "Laden".
class TCatalogue {
public:
    static constexpr int32_t german = 1;
    static constexpr int32_t english = 2;
    static inline const std::string defaultFolder = "data/lang";
    // The context of the names that come with the content (data/plugins).
    static constexpr std::string_view contentContext = "content";

    using TEntries = std::unordered_map<std::string, std::string>;

    // Makes the language (the "Language" option: 1 Deutsch, 2 English) the one in use, reading
    // its catalogue from folder (a data name such as "data/lang" is looked for where
    // TPaths::Resolve finds it). A number without a catalogue, or a file that cannot be read or
    // is broken, leaves German in use and says so in one line. True when the language asked for
    // is in use.
    static bool Use(int32_t language, const std::string& folder = defaultFolder);
    // Back to German without a catalogue (also for tests).
    static void Reset();
    static int32_t Language() { return language; }
    // The catalogue's file name for a language ("en.po"); empty for German and unknown numbers.
    static std::string FileOf(int32_t language);

    // The translation of a German text in a context (empty: none), or null when the language in
    // use has none.
    static const std::string* Find(std::string_view german, std::string_view context = {});
    // The table key of a text in a context, as gettext joins them: context, EOT, text.
    static std::string Key(std::string_view context, std::string_view german);

    // Reads the entries of .po text (UTF-8): msgid / msgstr pairs with an optional msgctxt,
    // strings continued on the following lines, C escapes, comments. The header (empty msgid),
    // fuzzy and untranslated entries are left out. Entries are keyed by Key(msgctxt, msgid).
    // False with the line and fault in error when the text is broken.
    static bool Parse(std::string_view text, TEntries& entries, std::string& error);
    // Parse of a file's bytes; error names the fault (the caller names the file).
    static bool ReadFile(const std::string& path, TEntries& entries, std::string& error);

private:
    static inline int32_t language = german;
    static inline TEntries entries;
};

// The text in the language in use; the German text itself when there is no translation.
std::string Tr(std::string_view german);
// The same for a text of a context (msgctxt).
std::string TrIn(std::string_view context, std::string_view german);
// A content name (a building's, street's, worker's…) in the language in use.
inline std::string TrContent(std::string_view german) { return TrIn(TCatalogue::contentContext, german); }

// Puts values into a text's placeholders: %1 is the first value, ... %9 the ninth, so a
// translation may change their order. A "%" not followed by a digit of a value stays as it is;
// the values are taken as they are (a "%1" inside a value is not filled again).
std::string Fill(std::string_view text, const std::string_view* values, size_t count);
inline std::string Fill(std::string_view text, std::initializer_list<std::string_view> values) {
    return Fill(text, values.begin(), values.size());
}

// A value for a placeholder: text as it is, whole numbers in decimal.
template <class T>
std::string TrValue(const T& value) {
    if constexpr (std::is_integral_v<T>) {
        return std::to_string(value);
    } else {
        return std::string(std::string_view(value));
    }
}

// The translated text with its placeholders filled: Tr("Gespeichert: %1", name).
template <class... T>
std::string Tr(std::string_view german, const T&... values) {
    return Fill(Tr(german), {std::string_view(TrValue(values))...});
}

// Marks a German text that is translated later, where it is shown (constants, tables); the
// catalogue check collects the texts of Tr("…") and TrNoop("…").
constexpr const char* TrNoop(const char* german) { return german; }

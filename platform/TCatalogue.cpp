#include "platform/TCatalogue.h"

#include <utility>

#include "platform/TPaths.h"
#include "platform/TStream.h"

namespace {
// Length of the valid UTF-8 sequence at text[i], 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u; };
    const unsigned c = byte(i);
    size_t n = 0;
    uint32_t min = 0;
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) {
        n = 2, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, min = 0x10000;
    } else {
        return 0;
    }
    uint32_t code = c & (0x7Fu >> n);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return n;
}

// The reader's state: the entry being read and the field its string lines continue.
struct TPoReader {
    TPoReader(TCatalogue::TEntries& e, std::string& err) : entries(e), error(err) {}
    TCatalogue::TEntries& entries;
    std::string& error;
    int32_t line = 0;
    enum class TField { none, ctxt, id, str } field = TField::none;
    std::string ctxt, id, str;
    int32_t idLine = 0;
    bool haveCtxt = false, haveId = false, haveStr = false, fuzzy = false, fuzzyNext = false;

    bool Fail(const std::string& what) {
        error = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    // The string of a quoted literal at the start of rest (escapes resolved); nothing may follow it.
    bool Quoted(std::string_view rest, std::string& out) {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        if (rest.empty() || rest.front() != '"') return Fail("a string in quotes is missing");
        size_t i = 1;
        for (; i < rest.size() && rest[i] != '"'; ++i) {
            if (rest[i] != '\\') {
                out += rest[i];
                continue;
            }
            if (++i == rest.size()) break;
            switch (rest[i]) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'a': out += '\a'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'v': out += '\v'; break;
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                default: return Fail(std::string("unknown escape \\") + rest[i]);
            }
        }
        if (i >= rest.size()) return Fail("the closing quote is missing");
        for (++i; i < rest.size(); ++i) {
            if (rest[i] != ' ' && rest[i] != '\t') return Fail("text after the closing quote");
        }
        return true;
    }

    // Takes the entry read so far into the table (the header, fuzzy and untranslated ones not).
    bool Commit() {
        if (haveId && !haveStr) {
            line = idLine;
            return Fail("msgid without msgstr");
        }
        if (haveCtxt && !haveId) return Fail("msgctxt without msgid");
        if (haveId && !id.empty() && !fuzzy && !str.empty()) {
            if (!entries.emplace(TCatalogue::Key(ctxt, id), str).second) {
                line = idLine;
                return Fail("msgid \"" + id + "\" appears twice");
            }
        }
        ctxt.clear(), id.clear(), str.clear();
        haveCtxt = haveId = haveStr = false;
        field = TField::none;
        return true;
    }

    bool Line(std::string_view text) {
        ++line;
        while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
        if (text.empty()) return true;
        if (text.front() == '#') {
            // "#, fuzzy" marks a translation that is not to be used yet.
            if (text.starts_with("#,") && text.find("fuzzy") != std::string_view::npos) fuzzyNext = true;
            return true;
        }
        if (text.front() == '"') {
            if (field == TField::none) return Fail("a string outside msgid or msgstr");
            return Quoted(text, field == TField::ctxt ? ctxt : field == TField::id ? id : str);
        }
        const size_t end = text.find_first_of(" \t\"");
        const std::string_view word = text.substr(0, end);
        const std::string_view rest = end == std::string_view::npos ? std::string_view() : text.substr(end);
        if (word == "msgctxt") {
            if (haveId && !Commit()) return false;
            if (haveCtxt) return Fail("a second msgctxt");
            haveCtxt = true;
            field = TField::ctxt;
            return Quoted(rest, ctxt);
        }
        if (word == "msgid") {
            if ((haveStr || !haveCtxt) && !Commit()) return false;
            if (haveId) return Fail("a second msgid");
            haveId = true, idLine = line, fuzzy = fuzzyNext, fuzzyNext = false;
            field = TField::id;
            return Quoted(rest, id);
        }
        if (word == "msgstr") {
            if (!haveId) return Fail("msgstr without msgid");
            if (haveStr) return Fail("a second msgstr");
            haveStr = true;
            field = TField::str;
            return Quoted(rest, str);
        }
        if (word == "msgid_plural" || word.starts_with("msgstr[")) {
            return Fail(std::string(word) + " is not supported");
        }
        return Fail("unknown keyword \"" + std::string(word) + "\"");
    }
};
}  // namespace

bool TCatalogue::Parse(std::string_view text, TEntries& entries, std::string& error) {
    entries.clear();
    error.clear();
    // The line of the first byte that is not UTF-8.
    int32_t line = 1;
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8Length(text, i);
        if (n == 0) {
            error = "line " + std::to_string(line) + ": not UTF-8";
            return false;
        }
        if (text[i] == '\n') ++line;
        i += n;
    }
    TPoReader reader(entries, error);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        if (!reader.Line(text.substr(0, nl))) return false;
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    }
    ++reader.line;
    return reader.Commit();
}

bool TCatalogue::ReadFile(const std::string& path, TEntries& entries, std::string& error) {
    std::string bytes;
    if (!LoadBytes(path, bytes)) {
        entries.clear();
        error = "cannot be read";
        return false;
    }
    return Parse(bytes, entries, error);
}

std::string TCatalogue::FileOf(int32_t language) { return language == english ? "en.po" : std::string(); }

void TCatalogue::Reset() {
    language = german;
    entries.clear();
}

bool TCatalogue::Use(int32_t wanted, const std::string& folder) {
    Reset();
    if (wanted == german) return true;
    const std::string file = FileOf(wanted);
    if (file.empty()) {
        Print("Language " + std::to_string(wanted) + " is not available (1 Deutsch, 2 English), using Deutsch");
        return false;
    }
    const std::string path = TPaths::Resolve(folder) + "/" + file;
    TEntries read;
    std::string error;
    if (!ReadFile(path, read, error)) {
        Print(path + ": " + error + ", using Deutsch");
        return false;
    }
    entries = std::move(read);
    language = wanted;
    return true;
}

std::string TCatalogue::Key(std::string_view context, std::string_view german) {
    if (context.empty()) return std::string(german);
    std::string key(context);
    key += '\x04';
    key += german;
    return key;
}

const std::string* TCatalogue::Find(std::string_view german, std::string_view context) {
    if (entries.empty() || german.empty()) return nullptr;
    const auto it = entries.find(Key(context, german));
    return it == entries.end() ? nullptr : &it->second;
}

std::string Tr(std::string_view german) {
    const std::string* text = TCatalogue::Find(german);
    return text ? *text : std::string(german);
}

std::string TrIn(std::string_view context, std::string_view german) {
    const std::string* text = TCatalogue::Find(german, context);
    return text ? *text : std::string(german);
}

std::string Fill(std::string_view text, const std::string_view* values, size_t count) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < count) {
            out += values[next - '1'];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

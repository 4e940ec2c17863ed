#include "plugins/TPluginReader.h"

#include <algorithm>

#include "platform/TCharset.h"
#include "platform/TStream.h"
#include "plugins/TInfluenceContainer.h"

namespace {

// Marker tests run for every line of every lookup; keep them cheap.
bool IsOpen(const std::string& text) { return text.size() == 1 && text[0] == '>'; }
bool IsClose(const std::string& text) { return text.size() == 1 && text[0] == '<'; }

}  // namespace

std::shared_ptr<TPluginReader> TPluginReader::read(const std::string& path) {
    std::shared_ptr<TStream> stream = TStream::ReadFile(path);
    if (!stream) return nullptr;
    if (stream->Size() > static_cast<int64_t>(maxFileBytes)) {
        Print("File too large to read as text, skipped: " + path);
        return nullptr;
    }
    const std::string bytes = stream->ReadAll();
    stream->Close();
    bool cut = false;
    std::shared_ptr<TPluginReader> reader = FromBytes(bytes, &cut);
    if (cut) Print("Text file cut after " + std::to_string(maxLines) + " lines: " + path);
    return reader;
}

std::shared_ptr<TPluginReader> TPluginReader::Create() { return std::make_shared<TPluginReader>(); }

std::shared_ptr<TPluginReader> TPluginReader::FromBytes(std::string_view bytes, bool* cut) {
    if (cut) *cut = false;
    std::shared_ptr<TPluginReader> reader = Create();
    std::string current;
    bool pending = false;  // bytes seen since the last line end: the last line needs no line end
    for (const char c : bytes) {
        if (reader->line.size() >= maxLines) {
            if (cut) *cut = true;
            return reader;
        }
        if (c == '\n' || c == '\0') {
            reader->line.push_back(TCharset::Latin1ToUtf8(current));
            current.clear();
            pending = false;
            continue;
        }
        pending = true;
        if (c != '\r') current.push_back(c);
    }
    if (pending) reader->line.push_back(TCharset::Latin1ToUtf8(current));
    return reader;
}

std::string TPluginReader::ToBytes() const {
    std::string out;
    for (const std::string& text : line) {
        out += TCharset::Utf8ToLatin1(text);
        out += "\r\n";
    }
    return out;
}

int32_t TPluginReader::Write(const std::string& path) const {
    std::shared_ptr<TStream> stream = TStream::WriteFile(path);
    if (!stream) return 0;
    // One write of the whole text; the stream only replaces the file when all of it arrived.
    if (!stream->WriteString(ToBytes())) {
        stream->Discard();
        return 0;
    }
    return stream->Close() ? 1 : 0;
}

bool TPluginReader::_KeyLineMatches(const std::string& keyLine, const std::vector<uint32_t>& foldedKey) {
    // Only the first characters can hold a match at column 1-3; a character is at most 4 bytes.
    const size_t wanted = foldedKey.size() + 3;
    const size_t prefixBytes = std::min(keyLine.size(), wanted * 4);
    std::vector<uint32_t> chars = TCharset::Decode(std::string_view(keyLine).substr(0, prefixBytes));
    if (prefixBytes == keyLine.size()) chars.push_back(' ');
    for (size_t offset = 0; offset < 3; ++offset) {
        if (offset + foldedKey.size() > chars.size()) break;
        bool same = true;
        for (size_t k = 0; k < foldedKey.size() && same; ++k) {
            same = TCharset::ToLower(chars[offset + k]) == foldedKey[k];
        }
        if (same) return true;
    }
    return false;
}

std::string TPluginReader::GetField(const std::string& key, int32_t scope, const std::string& defaultValue) const {
    std::vector<uint32_t> foldedKey = TCharset::Decode(TCharset::ToLower(key));
    foldedKey.push_back(' ');
    int32_t current = 0;
    bool inside = false;
    const size_t count = line.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string& text = line[i];
        if (current == scope && !text.empty() && text[0] == '-' && i + 1 < count && _KeyLineMatches(text, foldedKey)) {
            return line[i + 1];
        }
        if (current > scope) break;
        if (IsOpen(text)) {
            if (inside) break;
            inside = true;
            ++current;
        } else if (IsClose(text)) {
            if (!inside) break;
            inside = false;
        }
    }
    return defaultValue;
}

int32_t TPluginReader::CountScopes() const {
    int32_t count = 0;
    bool inside = false;
    for (const std::string& text : line) {
        if (IsOpen(text)) {
            if (inside) return -1;
            inside = true;
            ++count;
        } else if (IsClose(text)) {
            if (!inside) return -1;
            inside = false;
        }
    }
    return count;
}

int32_t TPluginReader::AddScope(int32_t n) {
    if (n <= 0) return 0;
    for (int32_t k = 0; k < n; ++k) {
        line.emplace_back(">");
        line.emplace_back("<");
    }
    return n;
}

int32_t TPluginReader::WriteField(const std::string& key, int32_t scope, const std::string& value) {
    if (scope < 0) return 0;
    const int32_t n = CountScopes();
    // Unbalanced markers: adding scopes or fields would only make the file more confusing.
    if (n < 0) return 0;
    if (n < scope) {
        // An unclosed last scope is closed first, so the new scopes do not open inside it.
        const auto last = std::find_if(line.rbegin(), line.rend(),
                                       [](const std::string& text) { return IsOpen(text) || IsClose(text); });
        if (last != line.rend() && IsOpen(*last)) line.emplace_back("<");
        AddScope(scope - n);
    }

    size_t at = line.size();
    if (n > 0) {
        int32_t current = 0;
        bool inside = false;
        for (size_t i = 0; i < line.size(); ++i) {
            const std::string& text = line[i];
            if (IsOpen(text)) {
                if (inside) return 0;
                if (scope == 0) {
                    at = i;
                    break;
                }
                inside = true;
                ++current;
            } else if (IsClose(text)) {
                if (!inside) return 0;
                if (current == scope) {
                    at = i;
                    break;
                }
                inside = false;
            }
        }
        // Not found: the scope is the unclosed last one (or was just appended) and runs to the end.
    }
    const std::string keyLine = "- " + key;
    line.insert(line.begin() + static_cast<std::ptrdiff_t>(at), {keyLine, value});
    return 1;
}

std::shared_ptr<TInfluenceContainer> TPluginReader::GetInfluenceContainer(int32_t scope) const {
    return TInfluenceContainer::ReadFromPluginReader(*this, scope);
}

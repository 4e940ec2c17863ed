#include "platform/TCharset.h"

namespace TCharset {

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (uint32_t cp : Decode(text)) out.push_back(static_cast<char>(cp & 0xFF));
    return out;
}

std::vector<uint32_t> Decode(std::string_view text) {
    std::vector<uint32_t> out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        uint32_t cp = c;
        if (c >= 0xC0 && c < 0xE0) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c < 0xF0) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c < 0xF8) {
            extra = 3;
            cp = c & 0x07;
        }
        bool ok = extra > 0;
        if (ok) {
            for (int k = 1; k <= extra; ++k) {
                if (i + k >= n) {
                    ok = false;
                    break;
                }
                const unsigned char cc = static_cast<unsigned char>(text[i + k]);
                if ((cc & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (ok) {
            out.push_back(cp);
            i += static_cast<size_t>(extra) + 1;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

std::string Encode(uint32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | ((cp >> 18) & 0x07)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

std::string Encode(const std::vector<uint32_t>& codePoints) {
    std::string out;
    for (uint32_t cp : codePoints) out += Encode(cp);
    return out;
}

size_t Length(std::string_view text) { return Decode(text).size(); }

std::string Mid(std::string_view text, size_t start, size_t count) {
    const std::vector<uint32_t> cps = Decode(text);
    if (start >= cps.size()) return {};
    const size_t end = (count == std::string::npos || start + count > cps.size()) ? cps.size() : start + count;
    return Encode(std::vector<uint32_t>(cps.begin() + static_cast<long>(start), cps.begin() + static_cast<long>(end)));
}

uint32_t ToLower(uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    return cp;
}

std::string ToLower(std::string_view text) {
    std::vector<uint32_t> cps = Decode(text);
    for (uint32_t& cp : cps) cp = ToLower(cp);
    return Encode(cps);
}

}  // namespace TCharset

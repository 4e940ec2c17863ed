#include "world/TRecord.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/TNumberText.h"

void TRecord::_Separate() {
    if (!text.empty()) text += ' ';
}

TRecord& TRecord::AddInt(int64_t value) {
    _Separate();
    text += std::to_string(value);
    return *this;
}

TRecord& TRecord::AddFloat(float value) {
    _Separate();
    text += TNumberText::FromFloat(value);
    return *this;
}

TRecord& TRecord::AddDouble(double value) {
    _Separate();
    text += TNumberText::FromDouble(value);
    return *this;
}

TRecord& TRecord::AddWord(std::string_view word) {
    _Separate();
    if (word.empty()) {
        text += '-';
        return *this;
    }
    for (char c : word) text += (c == ' ' || c == '\t' || c == '\n' || c == '\r') ? '_' : c;
    return *this;
}

TRecord& TRecord::AddRest(std::string_view rest) {
    _Separate();
    text += rest;
    return *this;
}

bool TRecord::_Next(std::string_view& word) {
    if (!ok) return false;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const size_t start = pos;
    while (pos < text.size() && text[pos] != ' ') ++pos;
    if (pos == start) {
        ok = false;
        return false;
    }
    word = std::string_view(text).substr(start, pos - start);
    return true;
}

bool TRecord::Int(int32_t& value, int32_t lo, int32_t hi) {
    std::string_view w;
    if (!_Next(w)) return false;
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || end != w.data() + w.size() || v < lo || v > hi) {
        ok = false;
        return false;
    }
    value = int32_t(v);
    return true;
}

namespace {
// The whole word as a finite number of type T, read with the matching C function.
template <typename T, typename Parse>
bool ParseFinite(std::string_view w, T& value, Parse parse) {
    const std::string s(w);
    char* end = nullptr;
    const T v = parse(s.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}
}  // namespace

bool TRecord::Double(double& value) {
    std::string_view w;
    if (!_Next(w)) return false;
    if (!ParseFinite(w, value, [](const char* s, char** e) { return std::strtod(s, e); })) ok = false;
    return ok;
}

bool TRecord::Float(float& value) {
    std::string_view w;
    if (!_Next(w)) return false;
    if (!ParseFinite(w, value, [](const char* s, char** e) { return std::strtof(s, e); })) ok = false;
    return ok;
}

bool TRecord::Word(std::string& word) {
    std::string_view w;
    if (!_Next(w)) return false;
    word = w == "-" ? std::string() : std::string(w);
    return true;
}

bool TRecord::Rest(std::string& rest) {
    if (!ok) return false;
    if (pos < text.size() && text[pos] == ' ') ++pos;
    rest = pos < text.size() ? text.substr(pos) : std::string();
    pos = text.size();
    return true;
}

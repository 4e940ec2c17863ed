#include "platform/TNumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t TNumberText::ToInt(std::string_view text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic: overlong numbers wrap instead of overflowing.
    uint32_t value = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size() && HexValue(text[i]) >= 0; ++i) value = value * 16u + HexValue(text[i]);
    } else if (i < text.size() && text[i] == '%') {
        for (++i; i < text.size() && (text[i] == '0' || text[i] == '1'); ++i) value = value * 2u + (text[i] - '0');
    } else {
        for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

double TNumberText::ToDouble(std::string_view text) {
    size_t i = SkipBlanks(text);
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    }
    if (digits == 0) return 0.0f;
    // An exponent counts only when at least one digit follows it ("2e" is 2).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    std::string number(text.substr(start, i - start));
    if (number[0] == '+') number.erase(0, 1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) value = std::strtod(number.c_str(), nullptr);
    if (value > DBL_MAX) return DBL_MAX;
    if (value < -DBL_MAX) return -DBL_MAX;
    return value;
}

float TNumberText::ToFloat(std::string_view text) {
    const double value = ToDouble(text);
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

uint8_t TNumberText::ToByte(std::string_view text) { return static_cast<uint8_t>(ToInt(text) & 0xFF); }

int32_t TNumberText::TruncToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string TNumberText::FromInt(int32_t value) { return std::to_string(value); }

std::string TNumberText::FromDouble(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%#.17g", value);
    return buffer;
}

std::string TNumberText::FromFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%#.9g", static_cast<double>(value));
    return buffer;
}

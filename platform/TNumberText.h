#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The one place where numbers are turned into text and back (plugin, settings and data files).
// Parsing is lenient: empty or non-numeric text gives 0 and trailing text is ignored.
class TNumberText {
public:
    // Leading blanks, an optional sign, then "$" hexadecimal, "%" binary or decimal digits
    // up to the first other character. Values beyond 32 bits wrap around.
    static int32_t ToInt(std::string_view text);
    // Leading blanks, then a decimal number with optional fraction and exponent; 0 when none.
    // Values beyond the float range become the largest float of that sign.
    static float ToFloat(std::string_view text);
    // The same rule with double precision; beyond the double range the largest double of that sign.
    static double ToDouble(std::string_view text);
    // Low 8 bits of ToInt (300 gives 44, -1 gives 255).
    static uint8_t ToByte(std::string_view text);
    // Truncation toward zero, clamped to the 32-bit range; NaN gives 0.
    static int32_t TruncToInt(float value);

    static std::string FromInt(int32_t value);
    // Nine significant digits, decimal point always shown ("%#.9g"): 0.15f gives 0.150000006.
    static std::string FromFloat(float value);
    // Seventeen significant digits, decimal point always shown ("%#.17g").
    static std::string FromDouble(double value);
};

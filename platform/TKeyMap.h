#pragma once
#include <array>
#include <cstdint>

// Windows virtual-key codes of the keys the game knows.
enum : int32_t {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_SHIFT = 16,
    KEY_CONTROL = 17,
    KEY_ALT = 18,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_PAGEUP = 33,
    KEY_PAGEDOWN = 34,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_INSERT = 45,
    KEY_DELETE = 46,
    KEY_0 = 48,
    KEY_A = 65,
    KEY_NUM0 = 96,
    KEY_NUMMULTIPLY = 106,
    KEY_NUMADD = 107,
    KEY_NUMSUBTRACT = 109,
    KEY_NUMDECIMAL = 110,
    KEY_NUMDIVIDE = 111,
    KEY_F1 = 112,
    KEY_F11 = 122,
    KEY_LSHIFT = 160,
    KEY_RSHIFT = 161,
    KEY_LCONTROL = 162,
    KEY_RCONTROL = 163,
    KEY_LALT = 164,
    KEY_RALT = 165,
    KEY_OEM_1 = 186,  // ü on a German keyboard
    KEY_PLUS = 187,
    KEY_COMMA = 188,
    KEY_MINUS = 189,
    KEY_PERIOD = 190,
    KEY_OEM_3 = 192,  // ö
    KEY_OEM_4 = 219,  // ß
    KEY_OEM_7 = 222,  // ä
};

// The codes of the digit and letter keys: KEY_0 + 0 … 9, KEY_A + 0 … 25.
constexpr int32_t KeyOfDigit(int32_t digit) { return KEY_0 + digit; }
constexpr int32_t KeyOfLetter(char upper) { return KEY_A + (upper - 'A'); }

namespace TKeyMap {
// The virtual-key codes an SDL key stands for: the key's own code and, for shift, control
// and alt, the side-independent code as well. Unknown keys give {0, 0}.
std::array<int32_t, 2> FromSDL(int32_t sdlKeycode, int32_t sdlScancode);
}  // namespace TKeyMap

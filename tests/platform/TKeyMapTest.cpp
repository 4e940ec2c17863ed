#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/TKeyMap.h"

namespace {

std::array<int32_t, 2> Key(SDL_Keycode key, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN) {
    return TKeyMap::FromSDL(key, scancode);
}

using Codes = std::array<int32_t, 2>;

TEST(KeyMap, LettersDigitsAndFunctionKeys) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(Key(SDLK_a + i), (Codes{65 + i, 0})) << char('a' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Key(SDLK_0 + i), (Codes{48 + i, 0})) << i;
    EXPECT_EQ(Key(SDLK_F1, SDL_SCANCODE_F1), (Codes{112, 0}));
    EXPECT_EQ(Key(SDLK_F12, SDL_SCANCODE_F12), (Codes{123, 0}));
}

TEST(KeyMap, EditingAndArrowKeys) {
    EXPECT_EQ(Key(SDLK_LEFT, SDL_SCANCODE_LEFT)[0], 37);
    EXPECT_EQ(Key(SDLK_UP, SDL_SCANCODE_UP)[0], 38);
    EXPECT_EQ(Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT)[0], 39);
    EXPECT_EQ(Key(SDLK_DOWN, SDL_SCANCODE_DOWN)[0], 40);
    EXPECT_EQ(Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)[0], 27);
    EXPECT_EQ(Key(SDLK_RETURN, SDL_SCANCODE_RETURN)[0], 13);
    EXPECT_EQ(Key(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER)[0], 13);
    EXPECT_EQ(Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE)[0], 8);
    EXPECT_EQ(Key(SDLK_DELETE, SDL_SCANCODE_DELETE)[0], 46);
    EXPECT_EQ(Key(SDLK_SPACE, SDL_SCANCODE_SPACE)[0], 32);
    EXPECT_EQ(Key(SDLK_TAB, SDL_SCANCODE_TAB)[0], 9);
}

TEST(KeyMap, PlusAndMinusOnMainKeyboardAndKeypad) {
    EXPECT_EQ(Key(SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET)[0], 187);  // German layout
    EXPECT_EQ(Key(SDLK_EQUALS, SDL_SCANCODE_EQUALS)[0], 187);      // US layout
    EXPECT_EQ(Key(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS)[0], 107);
    EXPECT_EQ(Key(SDLK_MINUS, SDL_SCANCODE_SLASH)[0], 189);
    EXPECT_EQ(Key(SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS)[0], 109);
}

TEST(KeyMap, KeypadGoesByScancodeWhateverTheNumLock) {
    EXPECT_EQ(Key(SDLK_KP_1, SDL_SCANCODE_KP_1)[0], 97);
    EXPECT_EQ(Key(SDLK_END, SDL_SCANCODE_KP_1)[0], 97);
    EXPECT_EQ(Key(SDLK_KP_0, SDL_SCANCODE_KP_0)[0], 96);
}

TEST(KeyMap, ModifiersGiveSideAndCommonCode) {
    EXPECT_EQ(Key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), (Codes{160, 16}));
    EXPECT_EQ(Key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), (Codes{161, 16}));
    EXPECT_EQ(Key(SDLK_LCTRL, SDL_SCANCODE_LCTRL), (Codes{162, 17}));
    EXPECT_EQ(Key(SDLK_RALT, SDL_SCANCODE_RALT), (Codes{165, 18}));
}

TEST(KeyMap, GermanLettersAndUnknownKeys) {
    EXPECT_EQ(Key(0xFC)[0], 186);  // ü
    EXPECT_EQ(Key(0xF6)[0], 192);  // ö
    EXPECT_EQ(Key(0xE4)[0], 222);  // ä
    EXPECT_EQ(Key(0xDF)[0], 219);  // ß
    EXPECT_EQ(Key(SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK), (Codes{0, 0}));
    EXPECT_EQ(Key(0), (Codes{0, 0}));
}

}  // namespace

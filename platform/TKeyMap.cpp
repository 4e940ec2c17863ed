#include "platform/TKeyMap.h"

#include <SDL.h>

namespace TKeyMap {

std::array<int32_t, 2> FromSDL(int32_t key, int32_t scancode) {
    // Keypad keys first: their keycodes may alias the main keyboard's when num lock is off.
    switch (scancode) {
        case SDL_SCANCODE_KP_0: return {KEY_NUM0 + 0, 0};
        case SDL_SCANCODE_KP_1: return {KEY_NUM0 + 1, 0};
        case SDL_SCANCODE_KP_2: return {KEY_NUM0 + 2, 0};
        case SDL_SCANCODE_KP_3: return {KEY_NUM0 + 3, 0};
        case SDL_SCANCODE_KP_4: return {KEY_NUM0 + 4, 0};
        case SDL_SCANCODE_KP_5: return {KEY_NUM0 + 5, 0};
        case SDL_SCANCODE_KP_6: return {KEY_NUM0 + 6, 0};
        case SDL_SCANCODE_KP_7: return {KEY_NUM0 + 7, 0};
        case SDL_SCANCODE_KP_8: return {KEY_NUM0 + 8, 0};
        case SDL_SCANCODE_KP_9: return {KEY_NUM0 + 9, 0};
        case SDL_SCANCODE_KP_PLUS: return {KEY_NUMADD, 0};
        case SDL_SCANCODE_KP_MINUS: return {KEY_NUMSUBTRACT, 0};
        case SDL_SCANCODE_KP_MULTIPLY: return {KEY_NUMMULTIPLY, 0};
        case SDL_SCANCODE_KP_DIVIDE: return {KEY_NUMDIVIDE, 0};
        case SDL_SCANCODE_KP_PERIOD: return {KEY_NUMDECIMAL, 0};
        case SDL_SCANCODE_KP_ENTER: return {KEY_ENTER, 0};
        default: break;
    }
    if (key >= SDLK_a && key <= SDLK_z) return {KEY_A + (key - SDLK_a), 0};
    if (key >= SDLK_0 && key <= SDLK_9) return {KEY_0 + (key - SDLK_0), 0};
    if (key >= SDLK_F1 && key <= SDLK_F12) return {KEY_F1 + (key - SDLK_F1), 0};
    switch (key) {
        case SDLK_BACKSPACE: return {KEY_BACKSPACE, 0};
        case SDLK_TAB: return {KEY_TAB, 0};
        case SDLK_RETURN: return {KEY_ENTER, 0};
        case SDLK_ESCAPE: return {KEY_ESCAPE, 0};
        case SDLK_SPACE: return {KEY_SPACE, 0};
        case SDLK_PAGEUP: return {KEY_PAGEUP, 0};
        case SDLK_PAGEDOWN: return {KEY_PAGEDOWN, 0};
        case SDLK_END: return {KEY_END, 0};
        case SDLK_HOME: return {KEY_HOME, 0};
        case SDLK_LEFT: return {KEY_LEFT, 0};
        case SDLK_UP: return {KEY_UP, 0};
        case SDLK_RIGHT: return {KEY_RIGHT, 0};
        case SDLK_DOWN: return {KEY_DOWN, 0};
        case SDLK_INSERT: return {KEY_INSERT, 0};
        case SDLK_DELETE: return {KEY_DELETE, 0};
        case SDLK_LSHIFT: return {KEY_LSHIFT, KEY_SHIFT};
        case SDLK_RSHIFT: return {KEY_RSHIFT, KEY_SHIFT};
        case SDLK_LCTRL: return {KEY_LCONTROL, KEY_CONTROL};
        case SDLK_RCTRL: return {KEY_RCONTROL, KEY_CONTROL};
        case SDLK_LALT: return {KEY_LALT, KEY_ALT};
        case SDLK_RALT: return {KEY_RALT, KEY_ALT};
        case SDLK_PLUS:
        case SDLK_EQUALS: return {KEY_PLUS, 0};
        case SDLK_MINUS: return {KEY_MINUS, 0};
        case SDLK_COMMA: return {KEY_COMMA, 0};
        case SDLK_PERIOD: return {KEY_PERIOD, 0};
        case 0xFC: return {KEY_OEM_1, 0};  // ü
        case 0xF6: return {KEY_OEM_3, 0};  // ö
        case 0xDF: return {KEY_OEM_4, 0};  // ß
        case 0xE4: return {KEY_OEM_7, 0};  // ä
        default: return {0, 0};
    }
}

}  // namespace TKeyMap

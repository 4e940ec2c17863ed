#include "platform/TInput.h"

#include <SDL.h>

#include <array>
#include <deque>

#include "platform/TCharset.h"
#include "platform/TEvent.h"
#include "platform/TKeyMap.h"
#include "platform/TTimer.h"

namespace {
struct TInputState {
    std::array<uint8_t, 256> keyDown{};
    std::array<int32_t, 256> keyHits{};
    std::array<uint8_t, 6> mouseDown{};
    std::array<int32_t, 6> mouseHits{};
    int32_t mouseX = 0, mouseY = 0, mouseZ = 0;
    std::deque<int32_t> chars;
    int32_t terminate = 0;
};

TInputState& State() {
    static TInputState state;
    return state;
}

bool ValidKey(int32_t key) { return key > 0 && key < 256; }
bool ValidButton(int32_t button) { return button > 0 && button < 6; }

int32_t ButtonFromSDL(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        case SDL_BUTTON_X1: return 4;
        case SDL_BUTTON_X2: return 5;
        default: return 0;
    }
}

void Post(int32_t id, int32_t data, int32_t x = 0, int32_t y = 0) { TInput::PostSystemEvent(id, data, x, y); }

void PostKey(const SDL_KeyboardEvent& k, bool down) {
    for (int32_t code : TKeyMap::FromSDL(k.keysym.sym, k.keysym.scancode)) {
        if (code == 0) continue;
        Post(down ? (k.repeat ? EVENT_KEYREPEAT : EVENT_KEYDOWN) : EVENT_KEYUP, code);
    }
    // Control characters come as keys in SDL; they are typed characters too.
    if (down) {
        switch (k.keysym.sym) {
            case SDLK_BACKSPACE: Post(EVENT_KEYCHAR, TInput::charBackspace); break;
            case SDLK_TAB: Post(EVENT_KEYCHAR, TInput::charTab); break;
            case SDLK_RETURN:
            case SDLK_KP_ENTER: Post(EVENT_KEYCHAR, TInput::charReturn); break;
            case SDLK_ESCAPE: Post(EVENT_KEYCHAR, TInput::charEscape); break;
            case SDLK_DELETE: Post(EVENT_KEYCHAR, TInput::charDelete); break;
            case SDLK_LEFT: Post(EVENT_KEYCHAR, TInput::charLeft); break;
            case SDLK_RIGHT: Post(EVENT_KEYCHAR, TInput::charRight); break;
            default:
                // Ctrl with a letter is its control character (Ctrl+Z is 26), as on a terminal:
                // the chord is seen even when both keys go up before the next frame.
                if ((k.keysym.mod & KMOD_CTRL) && k.keysym.sym >= SDLK_a && k.keysym.sym <= SDLK_z)
                    Post(EVENT_KEYCHAR, int32_t(k.keysym.sym - SDLK_a) + 1);
                break;
        }
    }
}

void Translate(const SDL_Event& ev) {
    switch (ev.type) {
        case SDL_QUIT: Post(EVENT_APPTERMINATE, 0); break;
        case SDL_WINDOWEVENT:
            if (ev.window.event == SDL_WINDOWEVENT_CLOSE) Post(EVENT_APPTERMINATE, 0);
            if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Post(EVENT_WINDOWSIZE, 0, ev.window.data1, ev.window.data2);
            if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Post(EVENT_APPSUSPEND, 0);
            if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) Post(EVENT_APPRESUME, 0);
            break;
        case SDL_KEYDOWN: PostKey(ev.key, true); break;
        case SDL_KEYUP: PostKey(ev.key, false); break;
        case SDL_TEXTINPUT:
            for (uint32_t cp : TCharset::Decode(ev.text.text)) Post(EVENT_KEYCHAR, static_cast<int32_t>(cp));
            break;
        case SDL_MOUSEMOTION:
            if (ev.motion.which != SDL_TOUCH_MOUSEID) Post(EVENT_MOUSEMOVE, 0, ev.motion.x, ev.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (ev.button.which != SDL_TOUCH_MOUSEID) {
                const int32_t b = ButtonFromSDL(ev.button.button);
                if (b)
                    Post(ev.type == SDL_MOUSEBUTTONDOWN ? EVENT_MOUSEDOWN : EVENT_MOUSEUP, b, ev.button.x, ev.button.y);
            }
            break;
        case SDL_MOUSEWHEEL:
            if (ev.wheel.which != SDL_TOUCH_MOUSEID) {
                const int32_t dz = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
                Post(EVENT_MOUSEWHEEL, dz, State().mouseX, State().mouseY);
            }
            break;
        default: break;
    }
}
}  // namespace

namespace TInput {

void PollSystem() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) {
            if (TEventHooks::RunRawHooks(ev)) continue;
            Translate(ev);
        }
    }
    TTimer::EmitTicks();
}

void PostSystemEvent(TEvent& e) {
    TInputState& s = State();
    switch (e.id) {
        case EVENT_KEYDOWN:
            if (ValidKey(e.data)) {
                s.keyDown[e.data] = 1;
                ++s.keyHits[e.data];
            }
            break;
        case EVENT_KEYUP:
            if (ValidKey(e.data)) s.keyDown[e.data] = 0;
            break;
        case EVENT_KEYCHAR: s.chars.push_back(e.data); break;
        case EVENT_MOUSEDOWN:
            if (ValidButton(e.data)) {
                s.mouseDown[e.data] = 1;
                ++s.mouseHits[e.data];
            }
            break;
        case EVENT_MOUSEUP:
            if (ValidButton(e.data)) s.mouseDown[e.data] = 0;
            break;
        case EVENT_MOUSEMOVE:
            s.mouseX = e.x;
            s.mouseY = e.y;
            break;
        case EVENT_MOUSEWHEEL: s.mouseZ += e.data; break;
        case EVENT_APPTERMINATE: s.terminate = 1; break;
        case EVENT_APPSUSPEND:
            // Keys held while the window loses focus would otherwise stay down.
            s.keyDown.fill(0);
            s.mouseDown.fill(0);
            break;
        default: break;
    }
    TEventHooks::EmitEvent(&e);
}

void PostSystemEvent(int32_t id, int32_t data, int32_t x, int32_t y) {
    TEvent e;
    e.id = id;
    e.data = data;
    e.x = x;
    e.y = y;
    PostSystemEvent(e);
}

int32_t MouseX() { return State().mouseX; }
int32_t MouseY() { return State().mouseY; }
int32_t MouseZ() { return State().mouseZ; }
int32_t MouseDown(int32_t b) { return ValidButton(b) ? State().mouseDown[b] : 0; }

int32_t MouseHit(int32_t b) {
    if (!ValidButton(b)) return 0;
    const int32_t n = State().mouseHits[b];
    State().mouseHits[b] = 0;
    return n;
}

int32_t KeyDown(int32_t k) { return ValidKey(k) ? State().keyDown[k] : 0; }

int32_t KeyHit(int32_t k) {
    if (!ValidKey(k)) return 0;
    const int32_t n = State().keyHits[k];
    State().keyHits[k] = 0;
    return n;
}

int32_t GetChar() {
    auto& q = State().chars;
    if (q.empty()) return 0;
    const int32_t c = q.front();
    q.pop_front();
    return c;
}

int32_t AppTerminate() {
    const int32_t t = State().terminate;
    State().terminate = 0;
    return t;
}

void FlushKeys() {
    State().keyDown.fill(0);
    State().keyHits.fill(0);
    State().chars.clear();
}

void FlushMouse() {
    State().mouseDown.fill(0);
    State().mouseHits.fill(0);
}

void Reset() { State() = TInputState{}; }

}  // namespace TInput

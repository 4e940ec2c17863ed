#include "framework/TMultiTouch.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

#include "framework/TVirtualTouchPoint.h"
#include "framework/TWndProcCallback.h"
#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TGraphics.h"
#include "platform/TInterfaceSpace.h"

namespace vesko {

namespace {
// Digitizer status bits (Windows values).
constexpr int32_t nidIntegratedTouch = 0x01;
constexpr int32_t nidExternalTouch = 0x02;
constexpr int32_t nidMultiInput = 0x40;
constexpr int32_t nidReady = 0x80;

// A finger that is down, as SDL named it, with the contact id the module gave it.
struct TFinger {
    SDL_TouchID touch;
    SDL_FingerID finger;
    int32_t id;
    int32_t x;  // hundredths of a window pixel
    int32_t y;
};

struct TMultiTouchState {
    bool started = false;
    uint32_t window = 0;
    int32_t hits = 0;
    int32_t mouse = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    TCowList<std::shared_ptr<TTouchPoint>> points;
    // Fingers down, in the order they came; contact ids count up from 1 (0 is a tap).
    std::vector<TFinger> fingers;
    int32_t nextFingerID = 1;
    // Mouse points released before any Get() listed them: kept for one Get().
    std::vector<std::shared_ptr<TTouchPoint>> releaseAfterGet;
    std::vector<std::shared_ptr<TTouchPoint>> releaseNow;
};

TMultiTouchState& State() {
    static TMultiTouchState state;
    return state;
}

bool IsMousePoint(const TTouchPoint& tp) {
    return tp.id == TMultiTouch::mouseIDStep || tp.id == 2 * TMultiTouch::mouseIDStep ||
           tp.id == 3 * TMultiTouch::mouseIDStep;
}

bool IsHitPoint(const TTouchPoint& tp) { return tp.Flags == TTouchPoint::flagsHit; }

std::shared_ptr<TTouchPoint> FindPoint(int32_t id, bool withHits) {
    for (const auto& tp : State().points.Items()) {
        if (tp->id == id && (withHits || !IsHitPoint(*tp))) return tp;
    }
    return nullptr;
}

void ForgetPendingRelease(const std::shared_ptr<TTouchPoint>& tp) {
    for (auto* list : {&State().releaseAfterGet, &State().releaseNow}) {
        std::erase(*list, tp);
    }
}

// True when SDL knows the device and no longer lists the finger: its up was lost.
bool SDLLostFinger(SDL_TouchID touch, SDL_FingerID finger) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    bool known = false;
    for (int i = 0, n = SDL_GetNumTouchDevices(); i < n && !known; ++i) known = SDL_GetTouchDevice(i) == touch;
    if (!known) return false;
    for (int i = 0, n = SDL_GetNumTouchFingers(touch); i < n; ++i) {
        const SDL_Finger* f = SDL_GetTouchFinger(touch, i);
        if (f && f->id == finger) return false;
    }
    return true;
}

int32_t ToHundredths(float normalised, int32_t size) {
    return static_cast<int32_t>(normalised * static_cast<float>(size) * 100.0f);
}

// Applies one SDL finger event to the table of fingers and returns the touch message that
// lists every finger still down (the changed one with its own flags). upID receives the
// contact id of a finger that went up, -1 otherwise.
std::vector<TMultiTouch::TTouchInput> FingerMessage(const SDL_TouchFingerEvent& ev, int32_t& upID) {
    TMultiTouchState& s = State();
    upID = -1;
    std::erase_if(s.fingers, [&](const TFinger& f) {
        return !(f.touch == ev.touchId && f.finger == ev.fingerId) && SDLLostFinger(f.touch, f.finger);
    });

    const int32_t x = ToHundredths(ev.x, TGraphics::GraphicsWidth());
    const int32_t y = ToHundredths(ev.y, TGraphics::GraphicsHeight());
    auto it = std::find_if(s.fingers.begin(), s.fingers.end(),
                           [&](const TFinger& f) { return f.touch == ev.touchId && f.finger == ev.fingerId; });
    int32_t changedFlags = 0;
    if (ev.type == SDL_FINGERUP) {
        changedFlags = TTouchPoint::flagUp;
    } else {
        changedFlags =
            (ev.type == SDL_FINGERDOWN ? TTouchPoint::flagDown : TTouchPoint::flagMove) | TTouchPoint::flagInRange;
        // A motion of a finger the table does not know (its down came before the module
        // ran) starts a contact as well.
        if (it == s.fingers.end()) {
            s.fingers.push_back(TFinger{ev.touchId, ev.fingerId, s.nextFingerID, x, y});
            s.nextFingerID = s.nextFingerID == INT32_MAX ? 1 : s.nextFingerID + 1;
            it = s.fingers.end() - 1;
        }
    }
    if (it != s.fingers.end()) {
        it->x = x;
        it->y = y;
    }

    const int32_t now = Millisecs();
    std::vector<TMultiTouch::TTouchInput> inputs;
    inputs.reserve(s.fingers.size());
    // The primary contact is the earliest finger that stays down.
    const TFinger* primary = nullptr;
    for (const TFinger& f : s.fingers) {
        if (!(ev.type == SDL_FINGERUP && f.touch == ev.touchId && f.finger == ev.fingerId)) {
            primary = &f;
            break;
        }
    }
    for (const TFinger& f : s.fingers) {
        TMultiTouch::TTouchInput in;
        in.x = f.x;
        in.y = f.y;
        in.id = f.id;
        in.time = now;
        const bool changed = f.touch == ev.touchId && f.finger == ev.fingerId;
        in.flags = changed ? changedFlags : (TTouchPoint::flagMove | TTouchPoint::flagInRange);
        if (&f == primary) in.flags |= TTouchPoint::flagPrimary;
        inputs.push_back(in);
    }
    if (ev.type == SDL_FINGERUP && it != s.fingers.end()) {
        upID = it->id;
        s.fingers.erase(it);
    }
    return inputs;
}

void EmitTouchMessage(std::vector<TMultiTouch::TTouchInput> inputs) {
    auto message = std::make_shared<std::vector<TMultiTouch::TTouchInput>>(std::move(inputs));
    TEvent e;
    e.id = TMultiTouch::EVENT_TOUCH;
    e.x = static_cast<int32_t>(message->size());
    e.extra = message;
    TEventHooks::EmitEvent(&e);
}
}  // namespace

int32_t TMultiTouch::Init(int32_t hits, int32_t mouse, int32_t) {
    Deinit();
    TMultiTouchState& s = State();
    s.window = TGraphics::WindowID();
    TEventHooks::AddHook(&TMultiTouch::_HookFunc, nullptr, 10000);
    s.hits = hits;
    s.mouse = mouse;
    s.started = true;
    TVirtualTouchPoint::Init();
    TWndProcCallback::Init(s.window);
    TWndProcCallback::RegProcFunc(&TMultiTouch::_WndProcFunc, nullptr);
    return 2;
}

int32_t TMultiTouch::Deinit() {
    TVirtualTouchPoint::Deinit();
    TMultiTouchState& s = State();
    if (!s.started) return 0;
    s.started = false;
    s.window = 0;
    s.points.Clear();
    s.fingers.clear();
    s.releaseAfterGet.clear();
    s.releaseNow.clear();
    TEventHooks::RemoveHook(&TMultiTouch::_HookFunc, nullptr);
    TWndProcCallback::UnRegProcFunc(&TMultiTouch::_WndProcFunc, nullptr);
    return 1;
}

int32_t TMultiTouch::Initiated() { return State().started ? 1 : 0; }

void TMultiTouch::_Check() {
    if (!State().started) throw std::runtime_error("Multitouch is not initiated!");
}

TMultiTouch::TTouchPointList TMultiTouch::Get() {
    _Check();
    TMultiTouchState& s = State();
    // Quick clicks listed once by the previous Get() end now.
    for (const auto& tp : s.releaseNow) tp->Active = 0;
    s.releaseNow = std::move(s.releaseAfterGet);
    s.releaseAfterGet.clear();

    if (TVirtualTouchPoint::Initiated()) TVirtualTouchPoint::_Update();
    const TTouchPointList points = s.points.Items();
    for (const auto& tp : points) tp->_Update();
    // A tap is listed by exactly one Get(): it ages here only, not in the removal passes
    // that other input triggers in between.
    for (const auto& tp : points) {
        if (!IsHitPoint(*tp) || !tp->Active) continue;
        if (tp->ExtraInfo == 1) {
            tp->ExtraInfo = 0;
        } else {
            tp->Active = 0;
        }
    }
    _RemoveInactiveTouchPoints();
    return s.points.Items();
}

int32_t TMultiTouch::_DigitizerStatus() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
    int32_t status = 0;
    const int n = SDL_GetNumTouchDevices();
    for (int i = 0; i < n; ++i) {
        const SDL_TouchDeviceType type = SDL_GetTouchDeviceType(SDL_GetTouchDevice(i));
        if (type == SDL_TOUCH_DEVICE_DIRECT) status |= nidIntegratedTouch;
        if (type == SDL_TOUCH_DEVICE_INDIRECT_ABSOLUTE || type == SDL_TOUCH_DEVICE_INDIRECT_RELATIVE) {
            status |= nidExternalTouch;
        }
    }
    // SDL tracks every finger of a device, so any touch device takes several contacts.
    if (status) status |= nidReady | nidMultiInput;
    return status;
}

int32_t TMultiTouch::IsTouchReady() { return (_DigitizerStatus() & nidReady) ? 1 : 0; }
int32_t TMultiTouch::IsMultiTouchAble() { return (_DigitizerStatus() & nidMultiInput) ? 1 : 0; }
int32_t TMultiTouch::IsIntegratedTouch() { return (_DigitizerStatus() & nidIntegratedTouch) ? 1 : 0; }
int32_t TMultiTouch::IsExternalTouch() { return (_DigitizerStatus() & nidExternalTouch) ? 1 : 0; }
// SDL 2 reports pens as mice or fingers; there is no separate pen device.
int32_t TMultiTouch::IsIntegratedPen() { return 0; }
int32_t TMultiTouch::IsExternalPen() { return 0; }

int TMultiTouch::_WndProcFunc(void*, const SDL_Event& event) {
    TMultiTouchState& s = State();
    switch (event.type) {
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: {
            // Touches that SDL makes up from the mouse: the mouse has its own points.
            if (event.tfinger.touchId == SDL_MOUSE_TOUCHID) return 1;
            int32_t upID = -1;
            std::vector<TTouchInput> inputs = FingerMessage(event.tfinger, upID);
            // A tap that began and ended before any Get() saw it would be lost; it is
            // listed once as a touch-screen hit instead.
            std::shared_ptr<TTouchPoint> ended = upID >= 0 ? FindPoint(upID, false) : nullptr;
            const bool unseenTap = ended && ended->_n == 2;
            int32_t hitX = 0, hitY = 0;
            for (const TTouchInput& in : inputs) {
                if (in.id == upID) {
                    hitX = in.x / 100;
                    hitY = in.y / 100;
                }
            }
            EmitTouchMessage(std::move(inputs));
            if (unseenTap) {
                TEvent hit;
                hit.id = EVENT_TOUCHSCREENHIT;
                hit.x = hitX;
                hit.y = hitY;
                TEventHooks::EmitEvent(&hit);
            }
            return 0;
        }
        case SDL_WINDOWEVENT:
            // Ups that happen while the window is not focused may never arrive.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && !s.fingers.empty()) {
                s.fingers.clear();
                EmitTouchMessage({});
            }
            return 1;
        default: return 1;
    }
}

TEvent* TMultiTouch::_HookFunc(int32_t, TEvent* data, void*) {
    if (!data) return data;
    switch (data->id) {
        case EVENT_MOUSEDOWN: _RegMouseInput(data->data, data->x, data->y, 1); break;
        case EVENT_MOUSEUP: _RegMouseInput(data->data, data->x, data->y, 0); break;
        case EVENT_MOUSEMOVE:
            if (data->data >= 1 && data->data <= 4) {
                _RegMouseInput(data->data, data->x, data->y, 1);
            } else {
                // Moves name no button: every held mouse point follows the pointer.
                State().mouseX = data->x;
                State().mouseY = data->y;
                for (const auto& tp : State().points.Items()) {
                    if (IsMousePoint(*tp) && tp->Active && tp->Flags != TTouchPoint::flagsMouseReleased) {
                        _RegMouseInput(tp->ExtraInfo, data->x, data->y, 1);
                    }
                }
            }
            break;
        case EVENT_TOUCH:
            // A message without its contact list cannot be applied; it is dropped.
            if (data->extra) _RegTouchInputs(*std::static_pointer_cast<std::vector<TTouchInput>>(data->extra));
            break;
        case EVENT_TOUCHSCREENHIT: _RegTouchscreenHit(data->x, data->y); break;
        default: break;
    }
    return data;
}

void TMultiTouch::_RegTouchInputs(const std::vector<TTouchInput>& inputs) {
    TMultiTouchState& s = State();
    if (!s.started) return;
    _DelMouseInput();
    // Contacts not listed in this message have ended. Taps keep their own one-Get() life.
    for (const auto& tp : s.points.Items()) {
        if (tp->id >= 0 && !IsHitPoint(*tp)) tp->Active = 0;
    }
    for (const TTouchInput& in : inputs) {
        const float x = TInterfaceSpace::ToUnits(static_cast<float>(in.x) / 100.0f);
        const float y = TInterfaceSpace::ToUnits(static_cast<float>(in.y) / 100.0f);
        const int32_t active = (in.flags & TTouchPoint::flagUp) ? 0 : 1;
        std::shared_ptr<TTouchPoint> tp = FindPoint(in.id, false);
        if (!tp) {
            if (!active) continue;
            tp = TTouchPoint::Create(x, y, in.time);
            tp->id = in.id;
            _AddTouchPoint(tp);
        }
        tp->_x = x;
        tp->_y = y;
        tp->Time = in.time;
        tp->Active = active;
        tp->Source = in.source;
        tp->Flags = in.flags;
        tp->Mask = in.mask;
        tp->ExtraInfo = in.extraInfo;
        tp->Width = TInterfaceSpace::ToUnits(static_cast<float>(in.width) / 100.0f);
        tp->Height = TInterfaceSpace::ToUnits(static_cast<float>(in.height) / 100.0f);
    }
    _RemoveInactiveTouchPoints();
}

void TMultiTouch::_RegMouseInput(int32_t button, int32_t x, int32_t y, int32_t down) {
    TMultiTouchState& s = State();
    s.mouseX = x;
    s.mouseY = y;
    if (!s.started || !s.mouse || button < 1 || button > 4) return;
    // Real touches take precedence over the mouse.
    for (const auto& tp : s.points.Items()) {
        if (tp->id >= 0 && tp->Active) {
            _DelMouseInput();
            return;
        }
    }
    if (button == 4) button = 3;
    const int32_t id = mouseIDStep * button;
    const float fx = TInterfaceSpace::ToUnits(static_cast<float>(x));
    const float fy = TInterfaceSpace::ToUnits(static_cast<float>(y));
    std::shared_ptr<TTouchPoint> tp = FindPoint(id, true);
    if (down) {
        if (tp) {
            ForgetPendingRelease(tp);
            tp->_x = fx;
            tp->_y = fy;
            tp->Time = Millisecs();
            tp->Active = 1;
            tp->Flags = TTouchPoint::flagsMouseHeld;
            tp->ExtraInfo = button;
        } else {
            tp = TTouchPoint::Create(fx, fy, Millisecs());
            tp->id = id;
            tp->Active = 1;
            tp->Flags = TTouchPoint::flagsMousePressed;
            tp->Mask = TTouchPoint::maskTimeFromSystem | TTouchPoint::maskExtraInfo;
            tp->ExtraInfo = button;
            _AddTouchPoint(tp);
        }
        return;
    }
    if (!tp) return;
    tp->_x = fx;
    tp->_y = fy;
    tp->Time = Millisecs();
    tp->Flags = TTouchPoint::flagsMouseReleased;
    tp->ExtraInfo = button;
    if (tp->Active && tp->_n == 2) {
        // A click within one frame: the point is listed once, then ends.
        ForgetPendingRelease(tp);
        s.releaseAfterGet.push_back(tp);
        return;
    }
    tp->Active = 0;
    _RemoveInactiveTouchPoints();
}

void TMultiTouch::_RegTouchscreenHit(int32_t x, int32_t y) {
    TMultiTouchState& s = State();
    if (!s.started || !s.hits) return;
    auto tp = TTouchPoint::Create(TInterfaceSpace::ToUnits(static_cast<float>(x)),
                                  TInterfaceSpace::ToUnits(static_cast<float>(y)), Millisecs());
    tp->id = 0;
    tp->Active = 1;
    tp->Flags = TTouchPoint::flagsHit;
    tp->Mask = TTouchPoint::maskTimeFromSystem;
    tp->ExtraInfo = 1;
    _AddTouchPoint(tp);
}

void TMultiTouch::_DelMouseInput() {
    for (const auto& tp : State().points.Items()) {
        if (IsMousePoint(*tp)) tp->Active = 0;
    }
}

void TMultiTouch::_RemoveInactiveTouchPoints() {
    State().points.RemoveIf([](const std::shared_ptr<TTouchPoint>& tp) { return !tp->Active; });
}

void TMultiTouch::_AddTouchPoint(std::shared_ptr<TTouchPoint> point) {
    if (point) State().points.Append(std::move(point));
}

int32_t TMultiTouch::_ContainsTouchPoint(const std::shared_ptr<TTouchPoint>& point) {
    return State().points.Contains(point) ? 1 : 0;
}

void TMultiTouch::_GetMousePos(int32_t& x, int32_t& y) {
    x = State().mouseX;
    y = State().mouseY;
}

}  // namespace vesko

#include "app/TEventReceiver.h"

#include <algorithm>

#include "platform/TCharset.h"
#include "platform/TEvent.h"
#include "platform/TInput.h"

namespace {
// Hit counts are kept as bytes; many hits between two frames must not wrap to 0.
uint8_t CountByte(int32_t n) { return static_cast<uint8_t>(std::clamp(n, 0, 255)); }
}  // namespace

std::shared_ptr<TEventReceiver> TEventReceiver::Create() {
    auto receiver = std::make_shared<TEventReceiver>();
    receiver->generate();
    return receiver;
}

TEventReceiver::~TEventReceiver() {
    if (hooked) TEventHooks::RemoveHook(&TEventReceiver::_EventHookFunc, this);
}

int32_t TEventReceiver::generate() {
    _tp = {};
    _mx = _my = _mz = 0;
    _md.fill(0);
    _mh.fill(0);
    _kd.fill(0);
    _kh.fill(0);
    _appTermin = 0;
    _amx = _amy = _amz = 0;
    _amd.fill(0);
    _amh.fill(0);
    _akd.fill(0);
    _akh.fill(0);
    _aappTermin = 0;
    _getChar.clear();
    // The first update polls everything.
    _updateMousePos = _updateMouseKeys = _updateKeys = _updateKeyChar = _updateAppTermin = 1;
    RemoveAllActions();
    _regHookFunc();
    _actionsEnable = 1;
    return 1;
}

void TEventReceiver::_regHookFunc() {
    if (hooked) TEventHooks::RemoveHook(&TEventReceiver::_EventHookFunc, this);
    TEventHooks::AddHook(&TEventReceiver::_EventHookFunc, this, 0);
    hooked = true;
}

TEvent* TEventReceiver::_EventHookFunc(int32_t, TEvent* data, void* context) {
    if (data && context) static_cast<TEventReceiver*>(context)->_handleEvent(*data);
    return data;
}

void TEventReceiver::_handleEvent(const TEvent& event) {
    switch (event.id) {
        // Reading the request resets it, so the second poll clears the snapshot again and
        // the request is seen for one snapshot, like a key hit.
        case EVENT_APPTERMINATE: _updateAppTermin = 2; break;
        // A press and its release may fall between the same two frames: the first poll
        // records the hit, the second the release.
        case EVENT_KEYDOWN:
        case EVENT_KEYUP: _updateKeys = 2; break;
        case EVENT_KEYCHAR: _updateKeyChar = 1; break;
        case EVENT_MOUSEDOWN:
        case EVENT_MOUSEUP: _updateMouseKeys = 2; break;
        case EVENT_MOUSEMOVE:
        case EVENT_MOUSEWHEEL: _updateMousePos = 1; break;
        // Only the last size of a drag counts.
        case EVENT_WINDOWSIZE:
            _newWidth = event.x;
            _newHeight = event.y;
            break;
        default: break;
    }
}

bool TEventReceiver::TakeWindowSize(int32_t& width, int32_t& height) {
    if (_newWidth <= 0 || _newHeight <= 0) return false;
    width = _newWidth;
    height = _newHeight;
    _newWidth = _newHeight = 0;
    return true;
}

void TEventReceiver::Update() {
    _tp = vesko::TMultiTouch::Initiated() ? vesko::TMultiTouch::Get() : vesko::TMultiTouch::TTouchPointList{};

    _amx = _mx;
    _amy = _my;
    _amz = _mz;
    _amd = _md;
    _amh = _mh;
    _akd = _kd;
    _akh = _kh;
    _aappTermin = _appTermin;

    if (_updateMousePos) {
        _mx = TInput::MouseX();
        _my = TInput::MouseY();
        _mz = TInput::MouseZ();
        _updateMousePos = 0;
    }
    if (_updateMouseKeys) {
        for (int32_t b = 1; b <= buttonCount; ++b) {
            _md[b - 1] = CountByte(TInput::MouseDown(b));
            _mh[b - 1] = CountByte(TInput::MouseHit(b));
        }
        --_updateMouseKeys;
    }
    if (_updateKeys) {
        // Key 256 has no platform key; it is never polled.
        for (int32_t k = 1; k < keyCount; ++k) {
            _kd[k - 1] = CountByte(TInput::KeyDown(k));
            _kh[k - 1] = CountByte(TInput::KeyHit(k));
            if (_actionsEnable && _kh[k - 1]) {
                // Walk the list as it was: an action may add or remove actions.
                for (const auto& handler : _arrEventActionHandler[k - 1].Items()) handler->Call();
            }
        }
        --_updateKeys;
    }
    if (_updateKeyChar || !_getChar.empty()) {
        // Everything typed since the last snapshot, in order: at a low frame rate a fast
        // typist's characters and their Return arrive in the same frame.
        _getChar.clear();
        for (int32_t code; (code = TInput::GetChar()) > 0;) _getChar += TCharset::Encode(static_cast<uint32_t>(code));
        _updateKeyChar = 0;
    }
    if (_updateAppTermin) {
        _appTermin = CountByte(TInput::AppTerminate());
        --_updateAppTermin;
    }
}

int32_t TEventReceiver::MouseDown(int32_t button) const {
    return (button >= 1 && button <= buttonCount) ? _md[button - 1] : 0;
}

int32_t TEventReceiver::MouseHit(int32_t button) const {
    return (button >= 1 && button <= buttonCount) ? _mh[button - 1] : 0;
}

int32_t TEventReceiver::KeyDown(int32_t key) const { return (key >= 1 && key <= keyCount) ? _kd[key - 1] : 0; }

int32_t TEventReceiver::KeyHit(int32_t key) const { return (key >= 1 && key <= keyCount) ? _kh[key - 1] : 0; }

void TEventReceiver::FlushKeys() {
    _kd.fill(0);
    _kh.fill(0);
}

int32_t TEventReceiver::AddAction(int32_t key, TEventActionHandler::Function func, void* obj) {
    if (key < 1 || key > keyCount) return 0;
    _arrEventActionHandler[key - 1].Append(TEventActionHandler::Create(func, obj));
    return 1;
}

int32_t TEventReceiver::RemoveAction(int32_t key, TEventActionHandler::Function func, void* obj) {
    if (key < 1 || key > keyCount) return 0;
    const size_t removed = _arrEventActionHandler[key - 1].RemoveIf(
        [&](const std::shared_ptr<TEventActionHandler>& h) { return h->func == func && h->game == obj; });
    return static_cast<int32_t>(removed);
}

void TEventReceiver::RemoveAllActions() {
    for (auto& list : _arrEventActionHandler) list.Clear();
}

#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/TTouchPoint.h"
#include "platform/TCowList.h"

class TEvent;
union SDL_Event;

namespace vesko {

// Turns SDL's finger events, touch-screen taps and the mouse into one list of touch points,
// read once per frame with Get(). Class-level only. Points are in interface units (window
// pixels divided by the interface factor), where the panels they touch are laid out.
//
// Fingers reach the module through the window-event hook (TWndProcCallback): every finger
// event becomes a touch message listing all contacts that are down, sent as a platform event
// (EVENT_TOUCH) and applied by the module's own event hook, like the mouse events.
class TMultiTouch {
public:
    // Platform events of the module: a touch message, and a tap to be seen once.
    static constexpr int32_t EVENT_TOUCH = static_cast<int32_t>(0x90000000u);
    static constexpr int32_t EVENT_TOUCHSCREENHIT = static_cast<int32_t>(0x90000010u);
    // Mouse points: −10 × the button (button 4 counts as 3).
    static constexpr int32_t mouseIDStep = -10;

    // One contact of a touch message. Positions and sizes in hundredths of a window pixel.
    struct TTouchInput {
        int32_t x = 0;
        int32_t y = 0;
        int32_t source = 0;
        int32_t id = 0;
        int32_t flags = 0;
        int32_t mask = 0;
        int32_t time = 0;
        int32_t extraInfo = 0;
        int32_t width = 0;
        int32_t height = 0;
    };
    using TTouchPointList = TCowList<std::shared_ptr<TTouchPoint>>::Snapshot;

    // Starts the module: hits = taps on a touch screen become points, mouse = the mouse
    // buttons become points. touchFlags is kept for the registration interface; SDL needs
    // none. Returns 2: SDL reports finger events for every window, so touch input is
    // always available once the module runs.
    static int32_t Init(int32_t hits, int32_t mouse, int32_t touchFlags = 0);
    // Returns 1 when the module was running.
    static int32_t Deinit();
    static int32_t Initiated();
    // The current touch points; throws std::runtime_error before Init.
    static TTouchPointList Get();
    static void _Check();

    // Device queries, from the touch devices SDL knows.
    static int32_t IsTouchReady();
    static int32_t IsMultiTouchAble();
    static int32_t IsIntegratedTouch();
    static int32_t IsExternalTouch();
    static int32_t IsIntegratedPen();
    static int32_t IsExternalPen();
    static int32_t NoTabletConfig() { return 0; }

    // The window-event function: turns SDL finger events into touch messages; 0 = handled.
    static int _WndProcFunc(void* context, const SDL_Event& event);
    // The platform event hook; always passes the event on.
    static TEvent* _HookFunc(int32_t hookId, TEvent* data, void* context);
    static void _RegTouchInputs(const std::vector<TTouchInput>& inputs);
    static void _RegMouseInput(int32_t button, int32_t x, int32_t y, int32_t down);
    static void _RegTouchscreenHit(int32_t x, int32_t y);
    static void _DelMouseInput();
    static void _RemoveInactiveTouchPoints();
    static void _AddTouchPoint(std::shared_ptr<TTouchPoint> point);
    static int32_t _ContainsTouchPoint(const std::shared_ptr<TTouchPoint>& point);
    // The last mouse position the module saw.
    static void _GetMousePos(int32_t& x, int32_t& y);
    // The status bits of the touch devices (Windows digitizer values).
    static int32_t _DigitizerStatus();
};

}  // namespace vesko

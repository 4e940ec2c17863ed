#pragma once
#include <cstdint>
#include <memory>
#include <string>

union SDL_Event;

// Event identifiers of the platform's event stream.
enum : int32_t {
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,  // 259
    EVENT_KEYDOWN = 0x201,       // 513
    EVENT_KEYUP = 0x202,         // 514
    EVENT_KEYCHAR = 0x203,       // 515
    EVENT_KEYREPEAT = 0x204,
    EVENT_MOUSEDOWN = 0x401,   // 1025
    EVENT_MOUSEUP = 0x402,     // 1026
    EVENT_MOUSEMOVE = 0x403,   // 1027
    EVENT_MOUSEWHEEL = 0x404,  // 1028
    EVENT_TIMERTICK = 0x801,
    EVENT_WINDOWSIZE = 0x4002,
    EVENT_WINDOWCLOSE = 0x4003,
    // Ids from here on belong to the program's own events.
    EVENT_USER = 0x10000,
};

// One event on the stream: what happened, its source, and its values.
class TEvent {
public:
    static std::shared_ptr<TEvent> Create(int32_t id, void* source = nullptr, int32_t data = 0, int32_t mods = 0,
                                          int32_t x = 0, int32_t y = 0, std::shared_ptr<void> extra = nullptr);
    int32_t id = 0;
    void* source = nullptr;
    int32_t data = 0;
    int32_t mods = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::shared_ptr<void> extra;
};

// A hook sees every event and returns it to pass it on (null stops it).
using THookFunction = TEvent* (*)(int32_t hookId, TEvent* data, void* context);
// A raw hook sees the window system's own events before they become TEvents;
// returning nonzero consumes the event.
using TRawHookFunction = int (*)(const SDL_Event& event, void* context);

namespace TEventHooks {
constexpr int32_t EmitEventHook = 1;
// Higher priorities run first; equal priorities in the order they were added.
void AddHook(THookFunction function, void* context, int32_t priority = 0);
void RemoveHook(THookFunction function, void* context);
// Sends an event through the hooks (the program's own events use ids from EVENT_USER on).
TEvent* EmitEvent(TEvent* event);
void AddRawHook(TRawHookFunction function, void* context);
void RemoveRawHook(TRawHookFunction function, void* context);
// Runs the raw hooks; true when one of them consumed the event.
bool RunRawHooks(const SDL_Event& event);
void RemoveAllHooks();
}  // namespace TEventHooks

#pragma once
#include <cstdint>

#include "platform/TCallback.h"
#include "platform/TCowList.h"

union SDL_Event;

namespace vesko {

// Lets code see the window system's events before the platform turns them into its own
// events: a hook on SDL's event stream that runs the registered functions in order. A
// function returning 0 has handled the event, which then goes no further; when every
// function returns non-zero, the platform handles the event as usual.
class TWndProcCallback {
public:
    using TProcFunc = TCallback<int(const SDL_Event& event)>;

    // Hooks the window with that SDL window id (0 = the game's window). Returns 1 when hooked,
    // 0 when already hooked to that window; hooked to another, that hook is removed first.
    static int32_t Init(uint32_t window = 0);
    // Returns 1 when a hook was removed.
    static int32_t Deinit();
    static int32_t run();

    static void RegProcFunc(TProcFunc::Function function, void* context = nullptr);
    // Removes every registration of this function with this context.
    static void UnRegProcFunc(TProcFunc::Function function, void* context = nullptr);

    // The hook itself (a raw platform hook): nonzero when a registered function handled the event.
    static int MyWndProc(const SDL_Event& event, void* context);
};

}  // namespace vesko

#include "framework/TWndProcCallback.h"

#include "platform/TEvent.h"
#include "platform/TGraphics.h"

namespace vesko {

namespace {
struct TProcEntry {
    TWndProcCallback::TProcFunc::Function function;
    void* context;
    bool operator==(const TProcEntry& other) const = default;
};

struct TWndProcState {
    bool hooked = false;
    uint32_t window = 0;
    TCowList<TProcEntry> functions;
};

TWndProcState& State() {
    static TWndProcState state;
    return state;
}
}  // namespace

int32_t TWndProcCallback::Init(uint32_t window) {
    if (window == 0) window = TGraphics::WindowID();
    TWndProcState& s = State();
    if (s.hooked) {
        if (s.window == window) return 0;
        Deinit();
    }
    s.window = window;
    s.hooked = true;
    TEventHooks::AddRawHook(&TWndProcCallback::MyWndProc, nullptr);
    return 1;
}

int32_t TWndProcCallback::Deinit() {
    TWndProcState& s = State();
    if (!s.hooked) return 0;
    TEventHooks::RemoveRawHook(&TWndProcCallback::MyWndProc, nullptr);
    s.hooked = false;
    s.window = 0;
    return 1;
}

int32_t TWndProcCallback::run() { return State().hooked ? 1 : 0; }

void TWndProcCallback::RegProcFunc(TProcFunc::Function function, void* context) {
    if (function) State().functions.Append(TProcEntry{function, context});
}

void TWndProcCallback::UnRegProcFunc(TProcFunc::Function function, void* context) {
    State().functions.Remove(TProcEntry{function, context});
}

int TWndProcCallback::MyWndProc(const SDL_Event& event, void*) {
    // A function may register or unregister functions while it runs; walk the list as it was.
    for (const TProcEntry& entry : State().functions.Items()) {
        if (entry.function(entry.context, event) == 0) return 1;
    }
    return 0;
}

}  // namespace vesko

#include "platform/TEvent.h"

#include <algorithm>
#include <vector>

std::shared_ptr<TEvent> TEvent::Create(int32_t id, void* source, int32_t data, int32_t mods, int32_t x, int32_t y,
                                       std::shared_ptr<void> extra) {
    auto e = std::make_shared<TEvent>();
    e->id = id;
    e->source = source;
    e->data = data;
    e->mods = mods;
    e->x = x;
    e->y = y;
    e->extra = std::move(extra);
    return e;
}

namespace {
struct THook {
    THookFunction function;
    void* context;
    int32_t priority;
};
struct TRawHook {
    TRawHookFunction function;
    void* context;
};
std::vector<THook>& Hooks() {
    static std::vector<THook> hooks;
    return hooks;
}
std::vector<TRawHook>& RawHooks() {
    static std::vector<TRawHook> hooks;
    return hooks;
}
}  // namespace

namespace TEventHooks {
void AddHook(THookFunction function, void* context, int32_t priority) {
    auto& hooks = Hooks();
    // Insert after every hook of the same or a higher priority.
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const THook& h) { return h.priority < priority; });
    hooks.insert(it, THook{function, context, priority});
}

void RemoveHook(THookFunction function, void* context) {
    auto& hooks = Hooks();
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [&](const THook& h) { return h.function == function && h.context == context; }),
                hooks.end());
}

TEvent* EmitEvent(TEvent* event) {
    // Walk a copy: a hook may add or remove hooks.
    const std::vector<THook> hooks = Hooks();
    for (const THook& h : hooks) {
        if (!event) break;
        event = h.function(EmitEventHook, event, h.context);
    }
    return event;
}

void AddRawHook(TRawHookFunction function, void* context) { RawHooks().push_back(TRawHook{function, context}); }

void RemoveRawHook(TRawHookFunction function, void* context) {
    auto& hooks = RawHooks();
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [&](const TRawHook& h) { return h.function == function && h.context == context; }),
                hooks.end());
}

bool RunRawHooks(const SDL_Event& event) {
    const std::vector<TRawHook> hooks = RawHooks();
    for (const TRawHook& h : hooks) {
        if (h.function(event, h.context)) return true;
    }
    return false;
}

void RemoveAllHooks() {
    Hooks().clear();
    RawHooks().clear();
}
}  // namespace TEventHooks

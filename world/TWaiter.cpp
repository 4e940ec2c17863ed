#include "world/TWaiter.h"

#include "platform/TClock.h"

std::shared_ptr<TWaiter> TWaiter::Create(int32_t ms) {
    auto waiter = std::make_shared<TWaiter>();
    waiter->startms = Millisecs();
    waiter->waitms = ms;
    return waiter;
}

int32_t TWaiter::Get() const {
    // Unsigned arithmetic: the result stays right when the clock wraps during the wait.
    const uint32_t now = static_cast<uint32_t>(Millisecs());
    return static_cast<int32_t>(now - static_cast<uint32_t>(startms) - static_cast<uint32_t>(waitms));
}

void TWaiter::Reset(int32_t ms) {
    if (ms != -1) waitms = ms;
    startms = Millisecs();
}

#include "platform/TTimer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/TClock.h"
#include "platform/TEvent.h"

namespace {
std::vector<TTimer*>& RunningTimers() {
    static std::vector<TTimer*> timers;
    return timers;
}
}  // namespace

std::shared_ptr<TTimer> TTimer::Create(float hertz, std::shared_ptr<TEvent> event, bool listed) {
    if (!(hertz > 0.0f)) return nullptr;
    std::shared_ptr<TTimer> t(new TTimer());
    t->hertz = hertz;
    t->start = TClock::Source().Ticks();
    t->running = true;
    t->event = std::move(event);
    if (listed) RunningTimers().push_back(t.get());
    return t;
}

TTimer::~TTimer() { Stop(); }

int32_t TTimer::Ticks() {
    if (!running) return waited;
    const uint32_t elapsed = TClock::Source().Ticks() - start;
    return static_cast<int32_t>(std::floor(double(elapsed) * hertz / 1000.0));
}

int32_t TTimer::Wait() {
    if (!running) return 0;
    int32_t now = Ticks();
    while (now == waited) {
        // Sleep until the next tick is due.
        const double nextMs = double(waited + 1) * 1000.0 / hertz;
        const uint32_t elapsed = TClock::Source().Ticks() - start;
        const int32_t sleep = std::max<int32_t>(1, static_cast<int32_t>(std::ceil(nextMs - double(elapsed))));
        TClock::Source().Sleep(sleep);
        now = Ticks();
    }
    const int32_t n = now - waited;
    waited = now;
    return n;
}

uint32_t TTimer::ElapsedMS() const { return TClock::Source().Ticks() - start; }

void TTimer::Resume(uint32_t elapsedMS, int32_t emittedTicks) {
    start = TClock::Source().Ticks() - elapsedMS;
    emitted = emittedTicks;
    waited = emittedTicks;
}

void TTimer::Stop() {
    if (!running) return;
    waited = Ticks();
    running = false;
    auto& timers = RunningTimers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void TTimer::EmitTicks() {
    const std::vector<TTimer*> timers = RunningTimers();
    for (TTimer* t : timers) {
        // A hook may have stopped or destroyed a timer further down the list.
        const auto& running = RunningTimers();
        if (std::find(running.begin(), running.end(), t) == running.end()) continue;
        t->Emit();
    }
}

void TTimer::Emit() {
    if (!running) return;
    const int32_t now = Ticks();
    if (now == emitted) return;
    emitted = now;
    TEvent tick;
    if (event) tick = *event;
    tick.id = EVENT_TIMERTICK;
    tick.source = this;
    tick.data = now;
    TEventHooks::EmitEvent(&tick);
}

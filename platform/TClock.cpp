#include "platform/TClock.h"

#include <chrono>
#include <thread>

uint32_t TSystemClock::Ticks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void TSystemClock::Sleep(int32_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
std::shared_ptr<TClockSource>& CurrentSource() {
    static std::shared_ptr<TClockSource> source = std::make_shared<TSystemClock>();
    return source;
}
}  // namespace

namespace TClock {
std::shared_ptr<TClockSource> SetSource(std::shared_ptr<TClockSource> source) {
    std::shared_ptr<TClockSource> previous = CurrentSource();
    CurrentSource() = source ? std::move(source) : std::make_shared<TSystemClock>();
    return previous;
}

TClockSource& Source() { return *CurrentSource(); }
}  // namespace TClock

int32_t Millisecs() { return static_cast<int32_t>(TClock::Source().Ticks()); }

void Delay(int32_t ms) { TClock::Source().Sleep(ms); }

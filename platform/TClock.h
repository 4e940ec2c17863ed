#pragma once
#include <cstdint>
#include <memory>

// The one source of time for the whole program. Tests install a TManualClock so that
// pacing, timers and fades can be checked without sleeping.
class TClockSource {
public:
    virtual ~TClockSource() = default;
    // Milliseconds on a free-running 32-bit counter (wraps).
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(int32_t ms) = 0;
};

class TSystemClock : public TClockSource {
public:
    uint32_t Ticks() override;
    void Sleep(int32_t ms) override;
};

// A clock that only moves when told to; Sleep advances it.
class TManualClock : public TClockSource {
public:
    explicit TManualClock(uint32_t start = 0) : now(start) {}
    uint32_t Ticks() override { return now; }
    void Sleep(int32_t ms) override {
        if (ms > 0) now += static_cast<uint32_t>(ms);
    }
    void Advance(int32_t ms) { now += static_cast<uint32_t>(ms); }
    uint32_t now;
};

namespace TClock {
// Installs a clock (null restores the system clock). Returns the previous one.
std::shared_ptr<TClockSource> SetSource(std::shared_ptr<TClockSource> source);
TClockSource& Source();

// Installs a clock for as long as it lives and puts the previous one back after: the world
// runs on its own clock while it simulates, whatever the program's clock says.
class TScope {
public:
    explicit TScope(std::shared_ptr<TClockSource> source) : previous(SetSource(std::move(source))) {}
    ~TScope() { SetSource(previous); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

private:
    std::shared_ptr<TClockSource> previous;
};
}  // namespace TClock

// The millisecond clock as the game reads it (signed view of the 32-bit counter).
int32_t Millisecs();
void Delay(int32_t ms);

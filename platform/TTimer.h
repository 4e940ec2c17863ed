#pragma once
#include <cstdint>
#include <memory>

class TEvent;

// Ticks a fixed number of times per second, measured on the program's clock.
class TTimer {
public:
    // Null for a rate of 0 or less. A timer made with listed = false is left out of EmitTicks:
    // its owner sends its ticks with Emit, when it wants them.
    static std::shared_ptr<TTimer> Create(float hertz, std::shared_ptr<TEvent> event = nullptr, bool listed = true);
    ~TTimer();
    // Ticks since the timer was created.
    int32_t Ticks();
    // Blocks until the tick count changes; returns the ticks since the previous Wait.
    int32_t Wait();
    void Stop();
    // Milliseconds since the timer started, and the tick count last sent as an event.
    uint32_t ElapsedMS() const;
    int32_t Emitted() const { return emitted; }
    // Goes on from a timer saved earlier: as if it had started elapsedMS ago and had already
    // sent its ticks up to emitted.
    void Resume(uint32_t elapsedMS, int32_t emittedTicks);
    // Sends one tick event per running listed timer whose count moved since the last call.
    static void EmitTicks();
    // Sends this timer's tick event when its count moved since the last one sent.
    void Emit();

private:
    TTimer() = default;
    double hertz = 0;
    uint32_t start = 0;
    int32_t waited = 0;
    int32_t emitted = 0;
    bool running = false;
    std::shared_ptr<TEvent> event;
};

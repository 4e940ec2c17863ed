#pragma once
#include <cstdint>
#include <memory>

// A millisecond countdown on the program's clock.
class TWaiter {
public:
    static std::shared_ptr<TWaiter> Create(int32_t ms);

    // Milliseconds past the end of the wait: negative while it runs, 0 or more once elapsed.
    int32_t Get() const;
    // Restarts the wait; ms != -1 also sets a new length.
    void Reset(int32_t ms = -1);

    int32_t startms = 0;
    int32_t waitms = 0;
};

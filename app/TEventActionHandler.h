#pragma once
#include <cstdint>
#include <memory>

// An action run when a key is hit: a function and the object it is handed.
class TEventActionHandler {
public:
    using Function = int32_t (*)(void* game);

    static std::shared_ptr<TEventActionHandler> Create(Function func, void* game);
    // Runs the function with its object; 0 when no function is set.
    int32_t Call() const;

    Function func = nullptr;
    void* game = nullptr;
};

#pragma once
#include <type_traits>

// A callback pair: a plain function pointer and the context object it is handed first.
// Classes that hand out callbacks provide static wrappers (`_onCmdOk`) that cast the
// context back to themselves. An unset callback is empty; callers test IsSet() before
// optional calls, and calling an empty one does nothing and returns a value-initialised result.
template <typename Signature>
class TCallback;

template <typename R, typename... Args>
class TCallback<R(Args...)> {
public:
    using Function = R (*)(void* context, Args...);

    TCallback() = default;
    TCallback(Function function, void* context) : function(function), context(context) {}

    bool IsSet() const { return function != nullptr; }

    R operator()(Args... args) const {
        if (!function) {
            if constexpr (std::is_void_v<R>) {
                return;
            } else {
                return R();
            }
        }
        return function(context, args...);
    }

    Function function = nullptr;
    void* context = nullptr;
};

#pragma once
#include <cstdint>

#include "platform/TCallback.h"

// A full-screen effect drawn by the shell every frame until it is no longer valid; then
// its game function (if any) is called once.
class TRenderFilter {
public:
    using TGameFunc = TCallback<int32_t()>;
    virtual ~TRenderFilter() = default;
    virtual void Draw() = 0;
    virtual int32_t IsValid() = 0;
    virtual void onDelete() { callGameFunc(); }
    virtual void callGameFunc() {
        if (gameFunc.IsSet()) gameFunc();
    }
    virtual void setGameFunc(TGameFunc::Function function, void* context) { gameFunc = TGameFunc(function, context); }

    TGameFunc gameFunc;
};

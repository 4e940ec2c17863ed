#pragma once
#include <memory>

#include "framework/TContent.h"

namespace vesko {

// A content that draws by calling a function with itself and the position; the function may
// keep its data in `container` and its result lands in `lastResult`.
class TCFunc : public TContent {
public:
    using TFunc = std::shared_ptr<void> (*)(TCFunc& content, float x, float y);

    static std::shared_ptr<TCFunc> Create() { return std::make_shared<TCFunc>(); }
    static std::shared_ptr<TCFunc> Load(TFunc function);
    void setFunc(TFunc function) { useFunc = function; }

    void _Draw(float x, float y) override;
    std::shared_ptr<TContent> _Copy() const override { return std::make_shared<TCFunc>(*this); }

    std::shared_ptr<void> container;
    std::shared_ptr<void> lastResult;
    TFunc useFunc = nullptr;
};

}  // namespace vesko

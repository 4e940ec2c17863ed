#include "framework/TContent.h"

#include <algorithm>

#include "framework/TCGroup.h"

namespace vesko {

void TContent::Draw(float x, float y) {
    formation.Use();
    formation.RecalcHandle(x, y, handle_x, handle_y);
    _Draw(x, y);
}

void TContent::SetHandle(float x, float y) {
    handle_x = x;
    handle_y = y;
}

void TContent::SetIntHandle(int32_t x, int32_t y) { SetHandle(float(x), float(y)); }

void TContent::GetHandle(float& x, float& y) const {
    x = handle_x;
    y = handle_y;
}

void TContent::GetIntHandle(int32_t& x, int32_t& y) const {
    x = static_cast<int32_t>(handle_x);
    y = static_cast<int32_t>(handle_y);
}

void TContent::FitIn(float w, float h, int32_t keepAspect) {
    float sx = w / getWidth();
    float sy = h / getHeight();
    if (keepAspect != 0) sx = sy = std::min(sx, sy);
    formation.SetScale(sx, sy);
}

std::shared_ptr<TContent> TContent::Copy() const { return _Copy(); }

void TContent::MidHandle() { SetHandle(Width * 0.5f, Height * 0.5f); }

void TContent::MidIntHandle() { SetIntHandle(static_cast<int32_t>(Width * 0.5f), static_cast<int32_t>(Height * 0.5f)); }

std::shared_ptr<TCGroup> TContent::SumToGroup(const std::shared_ptr<TContent>& other) {
    auto group = ToGroup();
    group->addContent(other);
    return group;
}

std::shared_ptr<TCGroup> TContent::SumContentsToGroup(const std::vector<std::shared_ptr<TContent>>& others) {
    auto group = ToGroup();
    group->addContents(others);
    return group;
}

std::shared_ptr<TCGroup> TContent::ToGroup() {
    auto group = TCGroup::Create();
    group->addContent(shared_from_this());
    return group;
}

}  // namespace vesko

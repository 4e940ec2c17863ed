#include "framework/TCGroup.h"

#include <algorithm>

namespace vesko {

std::shared_ptr<TCGroup> TCGroup::Create() { return std::make_shared<TCGroup>(); }

void TCGroup::addContent(const std::shared_ptr<TContent>& content) {
    if (!content) return;
    childs.push_back(content);
    _Resize();
}

void TCGroup::addContents(const std::vector<std::shared_ptr<TContent>>& contents) {
    for (const auto& c : contents) addContent(c);
}

void TCGroup::removeContent(const std::shared_ptr<TContent>& content) {
    childs.erase(std::remove(childs.begin(), childs.end(), content), childs.end());
    _Resize();
}

void TCGroup::Clear() {
    childs.clear();
    _Resize();
}

std::shared_ptr<TContent> TCGroup::getContent(int32_t i) const {
    if (i < 0 || i >= countContents()) return nullptr;
    return childs[static_cast<size_t>(i)];
}

void TCGroup::_Draw(float x, float y) {
    for (const auto& c : childs) c->Draw(x, y);
}

std::shared_ptr<TContent> TCGroup::_Copy() const {
    auto g = std::make_shared<TCGroup>(*this);
    for (auto& c : g->childs) c = c->Copy();
    return g;
}

void TCGroup::_Resize() {
    Width = Height = 0;
    for (const auto& c : childs) {
        Width = std::max(Width, c->getWidth());
        Height = std::max(Height, c->getHeight());
    }
}

}  // namespace vesko

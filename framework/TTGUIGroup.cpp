#include "framework/TTGUIGroup.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/TTGUIGadget.h"

namespace vesko {

void TTGUIGroup::addChild(const std::shared_ptr<TTGUIGadget>& g) {
    if (g) children.push_back(g);
}

void TTGUIGroup::addChildFirst(const std::shared_ptr<TTGUIGadget>& g) {
    if (g) children.insert(children.begin(), g);
}

void TTGUIGroup::removeChild(const std::shared_ptr<TTGUIGadget>& g) {
    children.erase(std::remove(children.begin(), children.end(), g), children.end());
}

void TTGUIGroup::setChildInFront(const std::shared_ptr<TTGUIGadget>& g) {
    auto it = std::find(children.begin(), children.end(), g);
    if (it == children.end()) return;
    children.erase(it);
    children.push_back(g);
}

std::shared_ptr<TTGUIGadget> TTGUIGroup::getChildren(int32_t i) const {
    return i >= 0 && i < CountChildren() ? children[size_t(i)] : nullptr;
}

void TTGUIGroup::SortAsCircle(float radius, float startAngle, float span) {
    if (children.empty()) return;
    const double step = double(span) / double(children.size());
    double angle = startAngle;
    for (const auto& c : children) {
        const double a = angle * std::numbers::pi / 180.0;
        c->SetPosition(float(radius * std::cos(a)), float(radius * std::sin(a)));
        angle += step;
    }
}

void TTGUIGroup::MoveAsCircle(float angle, float radius) {
    for (const auto& c : children) {
        const double a = std::atan2(double(c->y), double(c->x)) + angle * std::numbers::pi / 180.0;
        const double r = radius != 0 ? double(radius) : std::hypot(double(c->x), double(c->y));
        c->SetPosition(float(r * std::cos(a)), float(r * std::sin(a)));
    }
}

void TTGUIGroup::Draw() {
    if (!SHOW_) return;
    const auto snapshot = children;  // drawing code may reorder the group
    for (const auto& c : snapshot) c->Draw();
}

void TTGUIGroup::Update() {
    if (!Enable_) return;
    const auto snapshot = children;  // event functions may add, remove or reorder gadgets
    for (const auto& c : snapshot) c->Update();
}

std::shared_ptr<TTGUIGroup> TTGUIGroup::Copy(TTGUIGadget* parent) const {
    auto g = Create();
    g->SHOW_ = SHOW_;
    g->Enable_ = Enable_;
    for (const auto& c : children) {
        auto copy = c->_CopyUnder(nullptr);
        copy->Parent = parent;
        g->children.push_back(copy);
    }
    return g;
}

void TTGUIGroup::CopyChilds(TTGUIGadget* parent) const {
    if (!parent) return;
    const auto snapshot = children;  // parent may be the owner of this group
    for (const auto& c : snapshot) c->_CopyUnder(parent);
}

}  // namespace vesko

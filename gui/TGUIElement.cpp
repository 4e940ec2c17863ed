#include "gui/TGUIElement.h"

#include <algorithm>
#include <cmath>

#include "framework/TTouchObject.h"

void TGUIElement::Destroy() {
    if (_mainGadget) _mainGadget->remove();
    _mainGadget.reset();
}

void TGUIElement::HideALL() {
    _showed = isVisible();
    HIDE();
}

void TGUIElement::ShowAll() { setVisible(_showed); }

void TGUIElement::HIDE() {
    if (!isVisible()) return;
    _mainGadget->addAsEscapingGadget();
    _mainGadget->gadget->HIDE();
    _mainGadget->gadget->hideChildren();
}

void TGUIElement::SHOW() {
    if (!_mainGadget) return;
    auto& g = *_mainGadget->gadget;
    g.SHOW();
    g.showChildren();
    g.SetInFront();
    _mainGadget->addAnimator(500, 4.0f, 4.0f);
}

void TGUIElement::setVisible(int32_t v) {
    if (v) {
        SHOW();
    } else {
        HIDE();
    }
}

int32_t TGUIElement::isVisible() const { return _mainGadget && _mainGadget->gadget->isShowed() ? 1 : 0; }

void TGUIElement::SetPosition(float x, float y) {
    if (_mainGadget) _mainGadget->gadget->SetPosition(std::trunc(x), std::trunc(y), 1);
}

void TGUIElement::SetX(float x) { SetPosition(x, GetY()); }

void TGUIElement::SetY(float y) { SetPosition(GetX(), y); }

void TGUIElement::GetPosition(float& x, float& y) const {
    x = GetX();
    y = GetY();
}

float TGUIElement::GetX() const { return _mainGadget ? _mainGadget->gadget->GetX(1) : 0.0f; }

float TGUIElement::GetY() const { return _mainGadget ? _mainGadget->gadget->GetY(1) : 0.0f; }

namespace {
void Extend(const vesko::TTGUIGadget& g, float& l, float& t, float& r, float& b, bool& any) {
    if (!g.isShowed()) return;
    if (const auto to = g.getCurrentTouchObject()) {
        const float gx = g.GetX(1), gy = g.GetY(1);
        for (const auto& poly : to->GetPolygons()) {
            for (const auto& p : poly) {
                l = std::min(l, gx + p[0]);
                r = std::max(r, gx + p[0]);
                t = std::min(t, gy + p[1]);
                b = std::max(b, gy + p[1]);
                any = true;
            }
        }
    }
    for (const auto& child : g.children->children) Extend(*child, l, t, r, b, any);
}
}  // namespace

bool TGUIElement::GetBounds(float& left, float& top, float& right, float& bottom) const {
    left = top = 1e30f;
    right = bottom = -1e30f;
    bool any = false;
    if (_mainGadget) Extend(*_mainGadget->gadget, left, top, right, bottom, any);
    return any;
}

void TGUIElement::KeepOnScreen(float w, float h) {
    float l = 0, t = 0, r = 0, b = 0;
    if (!GetBounds(l, t, r, b)) return;
    float dx = 0, dy = 0;
    if (r > w) dx = w - r;
    if (l + dx < 0) dx = -l;
    if (b > h) dy = h - b;
    if (t + dy < 0) dy = -t;
    if (dx != 0 || dy != 0) _mainGadget->gadget->move(std::round(dx), std::round(dy));
}

void TGUIElement::sortChildrenAsCircle(TGUIGadget& parent, float radius, float childRadius, float angle, float align,
                                       int32_t direction) {
    const auto& kids = parent.gadget->children->children;
    if (kids.empty() || radius <= 0) return;
    constexpr float degPerRad = 57.29578f;
    const float step = 2.0f * std::asin(std::min(childRadius / radius, 1.0f)) * degPerRad * float(direction);
    const float first = angle - align * float(kids.size() - 1) * step;
    for (size_t i = 0; i < kids.size(); ++i) {
        const float a = (first + float(i) * step) / degPerRad;
        kids[i]->SetPosition(std::round(radius * std::cos(a)), std::round(radius * std::sin(a)));
    }
}

namespace {
TGUIElement* AsElement(void* context) { return static_cast<TGUIElement*>(context); }
}  // namespace

int32_t TGUIElement::_showTool(void* context) {
    if (auto* e = AsElement(context)) e->showTool();
    return 0;
}

int32_t TGUIElement::_hideTool(void* context) {
    if (auto* e = AsElement(context)) e->hideTool();
    return 0;
}

int32_t TGUIElement::_changeState(void* context) {
    if (auto* e = AsElement(context)) e->changeState();
    return 0;
}

int32_t TGUIElement::_isVisible(void* context) {
    auto* e = AsElement(context);
    return e ? e->isVisible() : 0;
}

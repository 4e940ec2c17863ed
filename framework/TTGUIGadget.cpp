#include "framework/TTGUIGadget.h"

#include <algorithm>

namespace vesko {

std::shared_ptr<TTGUIGadget> TTGUIGadget::Create(float x, float y, TTGUIGadget* parent,
                                                 std::shared_ptr<TTouchObject> touchObject,
                                                 std::shared_ptr<TContent> content) {
    auto g = std::make_shared<TTGUIGadget>();
    g->x = x;
    g->y = y;
    g->children = TTGUIGroup::Create();
    g->SetTouchObject(touchObject, 1, 1);
    g->setContent(content, 1, 1);
    g->setParent(parent);
    return g;
}

int32_t TTGUIGadget::DefaultEventAction(TTGUIGadget& gadget) {
    switch (gadget.mode) {
        case 0: gadget.State = gadget.down; break;
        case 1:
            if (gadget.hit) gadget.State = 1 - gadget.State;
            break;
        case 2: gadget.State = 0; break;
        case 3: gadget.State = 1; break;
        default: break;
    }
    gadget._RefreshTouchObjects();
    return 0;
}

void TTGUIGadget::SetPosition(float px, float py, int32_t absolute) {
    if (absolute && Parent) {
        px -= Parent->GetX(1);
        py -= Parent->GetY(1);
    }
    x = px;
    y = py;
}

void TTGUIGadget::GetPosition(float& px, float& py, int32_t absolute) const {
    px = GetX(absolute);
    py = GetY(absolute);
}

float TTGUIGadget::GetX(int32_t absolute) const { return absolute && Parent ? x + Parent->GetX(1) : x; }

float TTGUIGadget::GetY(int32_t absolute) const { return absolute && Parent ? y + Parent->GetY(1) : y; }

void TTGUIGadget::SetTouchObject(const std::shared_ptr<TTouchObject>& object, int32_t forState0, int32_t forState1) {
    if (forState0) _Put(touchobject, object, 0);
    if (forState1) _Put(touchobject, object, 1);
    _RefreshTouchObjects();
}

void TTGUIGadget::SetMoreTouchObjects(const std::shared_ptr<TTouchObject>& object, const std::vector<int32_t>& states) {
    for (int32_t s : states) _Put(touchobject, object, s);
    _RefreshTouchObjects();
}

void TTGUIGadget::setContent(const std::shared_ptr<TContent>& c, int32_t forState0, int32_t forState1) {
    if (forState0) _Put(content, c, 0);
    if (forState1) _Put(content, c, 1);
}

void TTGUIGadget::SetMoreContents(const std::shared_ptr<TContent>& c, const std::vector<int32_t>& states) {
    for (int32_t s : states) _Put(content, c, s);
}

void TTGUIGadget::addChildren(const std::vector<std::shared_ptr<TTGUIGadget>>& gadgets) {
    for (const auto& g : gadgets) {
        if (g) g->setParent(this);
    }
}

void TTGUIGadget::setParent(TTGUIGadget* parent) {
    auto self = shared_from_this();
    if (Parent) Parent->children->removeChild(self);
    Parent = parent;
    if (Parent) Parent->children->addChild(self);
}

void TTGUIGadget::remove() {
    auto self = shared_from_this();
    if (Parent) Parent->children->removeChild(self);
    Parent = nullptr;
    for (const auto& t : touchobject) {
        if (t) t->remove();
    }
    const auto kids = children->children;
    for (const auto& c : kids) c->remove();
}

void TTGUIGadget::SetInFront(int32_t i) {
    if (!Parent) return;
    if (i != 0) Parent->SetInFront(i);
    Parent->children->setChildInFront(shared_from_this());
}

std::shared_ptr<TTGUIGadget> TTGUIGadget::_CopyUnder(TTGUIGadget* parent) const {
    auto g = std::make_shared<TTGUIGadget>(*this);
    // Copies of a touch object shared between states stay shared.
    std::vector<std::pair<TTouchObject*, std::shared_ptr<TTouchObject>>> copied;
    for (auto& t : g->touchobject) {
        if (!t) continue;
        auto it = std::find_if(copied.begin(), copied.end(), [&](const auto& p) { return p.first == t.get(); });
        if (it == copied.end()) it = copied.insert(copied.end(), {t.get(), t->Copy()});
        t = it->second;
    }
    for (auto& c : g->content) {
        if (c) c = c->Copy();
    }
    g->Parent = nullptr;
    g->children = TTGUIGroup::Create();
    g->children->SHOW_ = children->SHOW_;
    g->children->Enable_ = children->Enable_;
    children->CopyChilds(g.get());
    g->setParent(parent);
    g->_RefreshTouchObjects();
    return g;
}

void TTGUIGadget::SHOW() {
    SHOW_ = 1;
    _RefreshTouchObjects();
}

void TTGUIGadget::HIDE() {
    SHOW_ = 0;
    _RefreshTouchObjects();
}

void TTGUIGadget::showChildren() {
    for (const auto& c : children->children) c->SHOW();
}

void TTGUIGadget::hideChildren() {
    for (const auto& c : children->children) c->HIDE();
}

void TTGUIGadget::EnableChildren() {
    for (const auto& c : children->children) c->Enable();
}

void TTGUIGadget::DisableChildren() {
    for (const auto& c : children->children) c->Disable();
}

void TTGUIGadget::_RefreshTouchObjects() {
    for (const auto& t : touchobject) {
        if (t) t->setActive(0);
    }
    if (auto current = getCurrentTouchObject()) current->setActive(SHOW_);
}

void TTGUIGadget::_updateTOP() {
    const float ax = GetX(1), ay = GetY(1);
    for (const auto& t : touchobject) {
        if (!t) continue;
        t->SetPosition(ax, ay);
        t->SetInFront();
    }
}

void TTGUIGadget::Update() {
    if (!Enable_) return;
    if (auto to = getCurrentTouchObject()) {
        const int32_t oldDown = down, oldHit = hit, oldReleased = released, oldMoved = moved;
        down = to->CountTouchPoints() > 0 ? 1 : 0;
        hit = (down && !oldDown && !oldHit) ? 1 : 0;
        released = (oldDown && !down) ? 1 : 0;
        if (to->GetXSpeed(0) != 0 || to->GetYSpeed(0) != 0) {
            moved = 1;
            SetPosition(to->GetX(), to->GetY(), 1);
        } else {
            moved = 0;
        }
        event = (down != oldDown || hit != oldHit || released != oldReleased || moved != oldMoved) ? 1 : 0;
        if (event && EventFunc) {
            EventFunc(*this);
            _RefreshTouchObjects();
        }
        _updateTOP();
    }
    children->Update();
}

void TTGUIGadget::Draw() {
    if (SHOW_) {
        if (auto c = getCurrentContent()) c->Draw(GetX(1), GetY(1));
    }
    children->Draw();
}

}  // namespace vesko

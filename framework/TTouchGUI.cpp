#include "framework/TTouchGUI.h"

namespace vesko {

std::shared_ptr<TTouchGUI> TTouchGUI::Create() {
    auto gui = std::make_shared<TTouchGUI>();
    gui->root = TTGUIGadget::Create(0, 0, nullptr, nullptr, nullptr);
    return gui;
}

std::shared_ptr<TTGUIGadget> TTouchGUI::NewGadget(float x, float y, TTGUIGadget* parent,
                                                  std::shared_ptr<TTouchObject> touchObject,
                                                  std::shared_ptr<TContent> content) {
    auto g = TTGUIGadget::Create(x, y, parent ? parent : root.get(), std::move(touchObject), std::move(content));
    // The touch object starts where the gadget is, before its first update.
    if (auto to = g->getCurrentTouchObject()) to->SetPosition(g->GetX(1), g->GetY(1));
    return g;
}

std::shared_ptr<TTGUIGadget> TTouchGUI::NewRect(float x, float y, float w, float h, TTGUIGadget* parent) {
    auto to = TTouchObject::Create(1, 1, 1, 1);
    to->addRect(w, h);
    return NewGadget(x, y, parent, to, nullptr);
}

std::shared_ptr<TTGUIGadget> TTouchGUI::NewCircle(float x, float y, float r, TTGUIGadget* parent) {
    auto to = TTouchObject::Create(1, 1, 1, 1);
    to->addCircle(r);
    return NewGadget(x, y, parent, to, nullptr);
}

std::shared_ptr<TTGUIGadget> TTouchGUI::NewRoundRect(float x, float y, float w, float h, float r, TTGUIGadget* parent) {
    auto to = TTouchObject::Create(1, 1, 1, 1);
    to->addRoundRect(w, h, r);
    return NewGadget(x, y, parent, to, nullptr);
}

std::shared_ptr<TTouchGUI> TTouchGUI::Copy() const {
    auto gui = std::make_shared<TTouchGUI>();
    gui->root = root->Copy();
    return gui;
}

}  // namespace vesko

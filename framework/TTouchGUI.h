#pragma once
#include <memory>

#include "framework/TTGUIGadget.h"

namespace vesko {

// A tree of touch gadgets under a root at (0, 0) that has no touch object or content.
class TTouchGUI {
public:
    static std::shared_ptr<TTouchGUI> Create();
    // A gadget under parent (the root when null).
    std::shared_ptr<TTGUIGadget> NewGadget(float x, float y, TTGUIGadget* parent,
                                           std::shared_ptr<TTouchObject> touchObject,
                                           std::shared_ptr<TContent> content);
    // Gadgets with a new touch object of that shape (move, scale, rotation and overlap set);
    // rectangles reach from the position to (w, h), circles lie about it.
    std::shared_ptr<TTGUIGadget> NewRect(float x, float y, float w, float h, TTGUIGadget* parent = nullptr);
    std::shared_ptr<TTGUIGadget> NewCircle(float x, float y, float r, TTGUIGadget* parent = nullptr);
    std::shared_ptr<TTGUIGadget> NewRoundRect(float x, float y, float w, float h, float r,
                                              TTGUIGadget* parent = nullptr);
    void Update() { root->Update(); }
    void Draw() { root->Draw(); }
    void SHOW() { root->SHOW(); }
    void HIDE() { root->HIDE(); }
    void Enable() { root->Enable(); }
    void Disable() { root->Disable(); }
    int32_t isShowed() const { return root->isShowed(); }
    int32_t isEnabled() const { return root->isEnabled(); }
    std::shared_ptr<TTouchGUI> Copy() const;

    std::shared_ptr<TTGUIGadget> root;
};

}  // namespace vesko

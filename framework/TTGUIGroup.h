#pragma once
#include <memory>
#include <vector>

namespace vesko {

class TTGUIGadget;

// The child gadgets of a gadget, in drawing order (last = front).
class TTGUIGroup {
public:
    static std::shared_ptr<TTGUIGroup> Create() { return std::make_shared<TTGUIGroup>(); }
    void addChild(const std::shared_ptr<TTGUIGadget>& g);
    void addChildFirst(const std::shared_ptr<TTGUIGadget>& g);
    // An absent gadget changes nothing.
    void removeChild(const std::shared_ptr<TTGUIGadget>& g);
    void setChildInFront(const std::shared_ptr<TTGUIGadget>& g);
    // Null when i is out of range.
    std::shared_ptr<TTGUIGadget> getChildren(int32_t i) const;
    int32_t CountChildren() const { return static_cast<int32_t>(children.size()); }
    // Places the children in order on a circle about the parent, from startAngle on, span / count apart.
    void SortAsCircle(float radius, float startAngle, float span);
    // Turns every child about the parent by angle degrees; radius ≠ 0 also sets its distance.
    void MoveAsCircle(float angle, float radius);
    void Draw();
    void Update();
    void SHOW() { SHOW_ = 1; }
    void HIDE() { SHOW_ = 0; }
    int32_t isShowed() const { return SHOW_; }
    void Enable() { Enable_ = 1; }
    void Disable() { Enable_ = 0; }
    int32_t isEnabled() const { return Enable_; }
    // A group with copies of the children, each attached to `parent` (may be null).
    std::shared_ptr<TTGUIGroup> Copy(TTGUIGadget* parent = nullptr) const;
    // Copies of the children, attached to `parent`.
    void CopyChilds(TTGUIGadget* parent) const;

    std::vector<std::shared_ptr<TTGUIGadget>> children;
    int32_t SHOW_ = 1, Enable_ = 1;
};

}  // namespace vesko

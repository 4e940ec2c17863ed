#pragma once
#include <memory>
#include <vector>

#include "framework/TContent.h"
#include "framework/TTGUIGroup.h"
#include "framework/TTouchObject.h"

namespace vesko {

// A button-like node of the touch GUI: a position relative to its parent, one touch object
// and one content per state (0 normal, 1 active), and down / hit / released / moved events
// reported to an event function.
class TTGUIGadget : public std::enable_shared_from_this<TTGUIGadget> {
public:
    using TEventFunc = int32_t (*)(TTGUIGadget& gadget);

    static std::shared_ptr<TTGUIGadget> Create(float x, float y, TTGUIGadget* parent,
                                               std::shared_ptr<TTouchObject> touchObject,
                                               std::shared_ptr<TContent> content);
    // Mode 0 active while held, 1 toggles on each hit, 2 always 0, 3 always 1.
    static int32_t DefaultEventAction(TTGUIGadget& gadget);

    void SetPosition(float px, float py, int32_t absolute = 0);
    void SetX(float px) { x = px; }
    void SetY(float py) { y = py; }
    void move(float dx, float dy) {
        x += dx;
        y += dy;
    }
    void moveX(float dx) { x += dx; }
    void moveY(float dy) { y += dy; }
    void GetPosition(float& px, float& py, int32_t absolute = 0) const;
    float GetX(int32_t absolute = 0) const;
    float GetY(int32_t absolute = 0) const;

    void SetTouchObject(const std::shared_ptr<TTouchObject>& object, int32_t forState0, int32_t forState1);
    void SetMoreTouchObjects(const std::shared_ptr<TTouchObject>& object, const std::vector<int32_t>& states);
    void setContent(const std::shared_ptr<TContent>& c, int32_t forState0, int32_t forState1);
    void SetMoreContents(const std::shared_ptr<TContent>& c, const std::vector<int32_t>& states);
    std::shared_ptr<TTouchObject> getState0TouchObject() const { return _At(touchobject, 0); }
    std::shared_ptr<TTouchObject> getState1TouchObject() const { return _At(touchobject, 1); }
    std::shared_ptr<TContent> getState0Content() const { return _At(content, 0); }
    std::shared_ptr<TContent> getState1Content() const { return _At(content, 1); }
    std::shared_ptr<TTouchObject> getCurrentTouchObject() const { return _At(touchobject, State); }
    std::shared_ptr<TContent> getCurrentContent() const { return _At(content, State); }

    void addChildren(const std::vector<std::shared_ptr<TTGUIGadget>>& gadgets);
    // Leaves the old parent's group and joins the new one's (front).
    void setParent(TTGUIGadget* parent);
    // Leaves the parent's group and takes its touch objects, and its children's, out of the registry.
    void remove();
    // Moves this gadget to the front of its parent's group; i ≠ 0 first does the same for the parent.
    void SetInFront(int32_t i = 0);
    // A copy with copied touch objects and children, attached to the same parent.
    std::shared_ptr<TTGUIGadget> Copy() const { return _CopyUnder(Parent); }
    // A copy with copied touch objects and children, attached to parent (none when null).
    std::shared_ptr<TTGUIGadget> _CopyUnder(TTGUIGadget* parent) const;

    void SHOW();
    void HIDE();
    int32_t isShowed() const { return SHOW_; }
    void Enable() { Enable_ = 1; }
    void Disable() { Enable_ = 0; }
    int32_t isEnabled() const { return Enable_; }
    void showChildren();
    void hideChildren();
    void EnableChildren();
    void DisableChildren();

    void setMode(int32_t m) { mode = m; }
    int32_t getMode() const { return mode; }
    void Update();
    void Draw();
    // Only the current state's touch object can be hit, and only while the gadget is shown.
    void _RefreshTouchObjects();

    float x = 0, y = 0;
    std::shared_ptr<TTGUIGroup> children;
    TTGUIGadget* Parent = nullptr;
    int32_t mode = 0;
    int32_t down = 0, hit = 0, released = 0, moved = 0, event = 0;
    int32_t State = 0;
    int32_t SHOW_ = 1, Enable_ = 1;
    std::vector<std::shared_ptr<TTouchObject>> touchobject;
    std::vector<std::shared_ptr<TContent>> content;
    TEventFunc EventFunc = nullptr;

private:
    template <typename T>
    static std::shared_ptr<T> _At(const std::vector<std::shared_ptr<T>>& v, int32_t i) {
        return i >= 0 && size_t(i) < v.size() ? v[size_t(i)] : nullptr;
    }
    template <typename T>
    static void _Put(std::vector<std::shared_ptr<T>>& v, const std::shared_ptr<T>& item, int32_t state) {
        if (state < 0) return;
        if (v.size() <= size_t(state)) v.resize(size_t(state) + 1);
        v[size_t(state)] = item;
    }
    void _updateTOP();
};

}  // namespace vesko

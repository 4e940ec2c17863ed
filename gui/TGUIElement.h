#pragma once
#include <cstdint>
#include <memory>

#include "gui/TGUIGadget.h"

// The base of every tool panel: a main gadget that carries the panel, shown with a small
// spiral and hidden with a leaping copy.
class TGUIElement {
public:
    virtual ~TGUIElement() = default;

    virtual void Destroy();
    // Remembers whether the panel was shown, then hides it; ShowAll brings that back.
    virtual void HideALL();
    virtual void ShowAll();
    virtual void HIDE();
    virtual void SHOW();
    virtual void setVisible(int32_t v);
    virtual int32_t isVisible() const;
    // Absolute screen position of the main gadget, in whole pixels.
    virtual void SetPosition(float x, float y);
    virtual void SetX(float x);
    virtual void SetY(float y);
    virtual void GetPosition(float& x, float& y) const;
    virtual float GetX() const;
    virtual float GetY() const;
    virtual void showTool() { SHOW(); }
    virtual void hideTool() { HIDE(); }
    virtual void changeState() { setVisible(isVisible() ? 0 : 1); }
    // The box around everything shown of the panel, in screen pixels; false when nothing shows.
    bool GetBounds(float& left, float& top, float& right, float& bottom) const;
    // Moves the panel so that all it shows lies inside w × h (its top left wins when it is larger).
    void KeepOnScreen(float w, float h);

    // Places the children of parent on a circle of the given radius about it, touching each other
    // as circles of childRadius: the row is centred on angle (degrees, 0 right, 90 down) when
    // align is 0.5, starts there when 0 and ends there when 1, and runs clockwise for direction 1
    // and anticlockwise for −1.
    static void sortChildrenAsCircle(TGUIGadget& parent, float radius, float childRadius, float angle, float align,
                                     int32_t direction);

    // Button actions taking the panel as context (0 when there is none).
    static int32_t _showTool(void* context);
    static int32_t _hideTool(void* context);
    static int32_t _changeState(void* context);
    static int32_t _isVisible(void* context);

    std::shared_ptr<TGUIGadget> _mainGadget;
    int32_t _showed = 0;
};

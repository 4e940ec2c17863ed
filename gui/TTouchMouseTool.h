#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/TGUIElement.h"

class TGUI;

// A pointer for fingers: a row of three round buttons (move, OK, cancel) whose pointer spot
// lies above the OK button, so the finger does not cover it. OK is a click at the spot;
// cancel hides the tool.
class TTouchMouseTool : public TGUIElement {
public:
    static std::shared_ptr<TTouchMouseTool> Create(const std::shared_ptr<TGUI>& gui, float r);

    // Moves the whole tool so that the pointer spot lands on (x, y).
    void SetPosition(float x, float y) override;
    void SetX(float x) override { SetPosition(x, GetY()); }
    void SetY(float y) override { SetPosition(GetX(), y); }
    // The pointer spot in screen coordinates.
    void GetPosition(float& x, float& y) const override;
    float GetX() const override;
    float GetY() const override;
    // The spot as {x, y}; empty while the tool is hidden.
    std::vector<float> getArrPosition() const;
    // The pending click, cleared by reading it.
    int32_t hitEvent();
    void initClickEvent() { clickEvent = 1; }
    static int32_t _initClickEvent(void* context);

    std::shared_ptr<TGUIGadget> cmdMove, cmdOk, cmdCancel;
    float yDif = 0;
    uint8_t clickEvent = 0;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float r);
};

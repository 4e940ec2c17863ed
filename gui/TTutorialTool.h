#pragma once
#include <memory>

#include "gui/TGUIElement.h"

class TGUI;

// The tutorial panel: a picture with a close button at its top right corner.
class TTutorialTool : public TGUIElement {
public:
    static constexpr float startX = 400.0f, startY = 300.0f;
    static std::shared_ptr<TTutorialTool> Create(const std::shared_ptr<TGUI>& gui, float r);

    std::shared_ptr<TGUIGadget> cmdClose;
};

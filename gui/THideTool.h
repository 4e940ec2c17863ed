#pragma once
#include <cstdint>
#include <memory>

#include "gui/TGUIElement.h"

class TGUI;
class TLayer;

// On/off buttons around a move button that hide kinds of objects from the map's drawing: each
// of the six building kinds, trees, cars and smoke. The requests are made anew every frame.
class THideTool : public TGUIElement {
public:
    static std::shared_ptr<THideTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const std::shared_ptr<TLayer>& layer);
    void Update();
    static int32_t _cmdAction(vesko::TTGUIGadget& gadget);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TGUIGadget> cmdMove, cmdResidental, cmdComercial, cmdIndustrial, cmdPark, cmdPublic, cmdAward,
        cmdTree, cmdCar, cmdSmoke;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const std::shared_ptr<TLayer>& layer);
};

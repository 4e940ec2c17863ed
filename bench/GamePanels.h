#pragma once
// Every panel of the game open at once, the heaviest GUI a player can have on screen; shared by
// the benchmarks that measure the GUI on its own and within the whole game frame.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "framework/TTGUIGadget.h"
#include "gui/TGameGUIElements.h"
#include "gui/THideTool.h"
#include "gui/TMainTool.h"
#include "gui/TMiniMapTool.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "gui/TTutorialTool.h"
#include "world/TBuilding.h"

namespace bench {

// Opens the menu with its build row (the longest) unfolded, the minimap window, the main tool,
// the hide tool, the touch pointer, the tutorial, the build tool (on roads), the text field with
// its keyboard and, when a house is given, its building info. Returns the screen point of the
// build row's first button: a pointer resting there shows that button's tooltip.
inline std::vector<int32_t> OpenEveryPanel(TGameGUIElements& tools, const std::shared_ptr<TBuilding>& house) {
    for (TGUIElement* panel :
         std::initializer_list<TGUIElement*>{tools.mft.get(), tools.mmt.get(), tools.mainTool.get(), tools.tmt.get(),
                                             tools.hideTool.get(), tools.tutorialTool.get()}) {
        panel->SHOW();
    }
    tools.runBuildRoad();
    tools.textFieldTool->startTool("Vallmora City", "Stadtname", "", "", nullptr, nullptr);
    tools.textFieldTool->setKeyboardVisible(1);
    if (house) tools.runBuildingInfoTool(house);
    auto& build = *tools.mft->cmdBuild->gadget;
    build.State = 1;
    build.showChildren();
    const auto first = build.children->getChildren(0);
    return {int32_t(first->GetX(1)), int32_t(first->GetY(1))};
}

}  // namespace bench

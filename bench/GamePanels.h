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
#include "gui/TStatisticsTool.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "gui/TTutorialTool.h"
#include "world/TBuilding.h"
#include "world/TCityHistory.h"

namespace bench {

// Ten years of a growing city's months (taxes rising, upkeep, now and then a building), for the
// statistics panel to draw.
inline void TenYearsOfHistory(TCityHistory& history, double money) {
    history.Begin(money, 1, 1);
    for (int32_t m = 0; m < 120; ++m) {
        const double taxes = 40.0 * m, upkeep = -(300 + 5.0 * m), building = m % 7 == 0 ? -2500 : 0;
        for (auto [kind, amount] :
             {std::pair{TMoneyKind::taxLevel1, taxes}, std::pair{TMoneyKind::upkeepPublic, upkeep},
              std::pair{TMoneyKind::construction, building}}) {
            history.Book(kind, money, money + amount);
            money += amount;
        }
        TMonthRecord state;
        state.inhabitants = 20 * m;
        state.employed = 15 * m;
        state.satisfaction = 0.7f;
        state.money = money;
        state.demand = {0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
        history.Close(state, 1 + (m + 1) / 12, 1 + (m + 1) % 12);
    }
}

// Opens the menu with its build row (the longest) unfolded, the minimap window, the main tool,
// the hide tool, the touch pointer, the tutorial, the build tool (on roads), the text field with
// its keyboard, the statistics with the inhabitants' graph and, when a house is given, its
// building info. Returns the screen point of the
// build row's first button: a pointer resting there shows that button's tooltip.
inline std::vector<int32_t> OpenEveryPanel(TGameGUIElements& tools, const std::shared_ptr<TBuilding>& house) {
    for (TGUIElement* panel : std::initializer_list<TGUIElement*>{
             tools.mft.get(), tools.mmt.get(), tools.mainTool.get(), tools.tmt.get(), tools.hideTool.get(),
             tools.tutorialTool.get(), tools.statisticsTool.get()}) {
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

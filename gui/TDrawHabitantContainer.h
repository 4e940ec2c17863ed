#pragma once
#include <memory>

class TBuildingTool;
class THabitant;

// What one people gadget of the building panel draws: the person's job picture, smiley and
// level-up mark. Both are held weakly: the gadget keeps neither the tool nor the person (whose
// home is the building) alive.
struct TDrawHabitantContainer {
    std::weak_ptr<TBuildingTool> buildingTool;
    std::weak_ptr<THabitant> h;
};

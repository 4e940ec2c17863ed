#pragma once
#include <cstdint>
#include <memory>

class TBuildingTool;

// What one influence gadget of the building panel draws: the kind's icon and smiley. The tool
// is held weakly, so a leaping copy of a closed panel never draws through a freed tool.
struct TDrawInfluenceContainer {
    std::weak_ptr<TBuildingTool> buildingTool;
    int32_t inf = 0;
};

#include "gui/TStartBuildTool.h"
#include "gui/TStartRoadTool.h"
#include "plugins/TPicturePlugin.h"
#include "world/TStreet.h"

namespace {
// Sorts items into five lists by a level that is the list index, keeping their order.
template <typename T, typename LevelOf>
std::array<std::vector<std::shared_ptr<T>>, 5> ByLevel(const std::vector<std::shared_ptr<T>>& items, LevelOf level) {
    std::array<std::vector<std::shared_ptr<T>>, 5> lists;
    for (const auto& item : items) {
        if (!item) continue;
        const int32_t i = level(*item);
        if (i >= 0 && i < 5) lists[size_t(i)].push_back(item);
    }
    return lists;
}
}  // namespace

std::shared_ptr<TStartRoadTool> TStartRoadTool::Create(const std::shared_ptr<TBuildTool>& buildTool,
                                                       const std::vector<std::shared_ptr<TStreet>>& streets) {
    auto t = std::make_shared<TStartRoadTool>();
    t->buildTool = buildTool;
    t->arrStreet = convertToTechlevelForm(streets);
    return t;
}

TStartRoadTool::TLevels TStartRoadTool::convertToTechlevelForm(const std::vector<std::shared_ptr<TStreet>>& streets) {
    return ByLevel(streets, [](const TStreet& s) { return int32_t(s.level); });
}

std::shared_ptr<TStartBuildTool> TStartBuildTool::Create(const std::shared_ptr<TBuildTool>& buildTool,
                                                         const std::vector<std::shared_ptr<TPicturePlugin>>& buildings,
                                                         int32_t color) {
    auto t = std::make_shared<TStartBuildTool>();
    t->buildTool = buildTool;
    t->arrBuilding = convertToTechlevelForm(buildings);
    t->color = color;
    return t;
}

TStartBuildTool::TLevels TStartBuildTool::convertToTechlevelForm(
    const std::vector<std::shared_ptr<TPicturePlugin>>& buildings) {
    return ByLevel(buildings, [](const TPicturePlugin& p) { return p.techlevel - 1; });
}

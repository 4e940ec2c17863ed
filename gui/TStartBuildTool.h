#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TBuildTool;
class TPicturePlugin;

// Opens the build tool with one category of buildings, sorted into the five tech levels, and
// the border colour of that category.
class TStartBuildTool {
public:
    using TLevels = std::array<std::vector<std::shared_ptr<TPicturePlugin>>, 5>;
    static std::shared_ptr<TStartBuildTool> Create(const std::shared_ptr<TBuildTool>& buildTool,
                                                   const std::vector<std::shared_ptr<TPicturePlugin>>& buildings,
                                                   int32_t color);
    // Tech level 1 … 5 goes to list index 0 … 4; other levels are left out.
    static TLevels convertToTechlevelForm(const std::vector<std::shared_ptr<TPicturePlugin>>& buildings);
    void Destroy() { buildTool.reset(); }

    std::shared_ptr<TBuildTool> buildTool;
    TLevels arrBuilding;
    int32_t color = 0;
};

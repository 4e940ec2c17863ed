#pragma once
#include <array>
#include <memory>
#include <vector>

class TBuildTool;
class TStreet;

// Opens the build tool with every street, sorted into the five tech levels by street level.
class TStartRoadTool {
public:
    using TLevels = std::array<std::vector<std::shared_ptr<TStreet>>, 5>;
    static std::shared_ptr<TStartRoadTool> Create(const std::shared_ptr<TBuildTool>& buildTool,
                                                  const std::vector<std::shared_ptr<TStreet>>& streets);
    // Street level 0 … 4 is the list index; other levels are left out.
    static TLevels convertToTechlevelForm(const std::vector<std::shared_ptr<TStreet>>& streets);
    void Destroy() { buildTool.reset(); }

    std::shared_ptr<TBuildTool> buildTool;
    TLevels arrStreet;
};

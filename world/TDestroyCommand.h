#pragma once
#include <vector>

#include "world/TEditCommand.h"

// Clears a square of tiles: buildings (whole, wherever they reach), trees and roads (a bridge
// whole). Costs nothing.
class TDestroyCommand : public TEditCommand {
public:
    static constexpr const char* nothingThere = TrNoop("Hier ist nichts abzureißen");

    // The square of size × size tiles with its corner on (x, y).
    TDestroyCommand(int32_t x, int32_t y, int32_t size);
    TCheck Check(TLayer& world) const override;
    std::string What() const override { return Tr("Abriss"); }
    std::string ScriptLine() const override;
    // What lies on the square, column by column (index i × size + j); a building once per
    // tile it covers.
    std::vector<TLayer::TThing> Things(const TLayer& world) const;

protected:
    void _Area(int32_t& ax, int32_t& ay, int32_t& w, int32_t& h) const override;
    TLayer::TThing _Do(TLayer& world) override;

private:
    int32_t x = 0, y = 0, size = 1;
};

#pragma once
#include <memory>

#include "world/TEditCommand.h"

class TPicturePlugin;

// Places one building of a picture plugin with its origin on a tile.
class TBuildCommand : public TEditCommand {
public:
    static constexpr const char* noRoadBeside = TrNoop("Keine Straße daneben");
    static constexpr const char* tooPolluted = TrNoop("Zu viel Verschmutzung hier");
    static constexpr const char* nothingChosen = TrNoop("Kein Gebäude gewählt");

    TBuildCommand(std::shared_ptr<TPicturePlugin> plugin, int32_t x, int32_t y);
    // Where the building may stand, then the build permissions, then the money.
    TCheck Check(TLayer& world) const override;
    std::string What() const override { return Tr("Gebäude"); }
    std::string ScriptLine() const override;
    // Why the building cannot stand with its origin on (x, y): off the map, on water, on
    // something, without a road along it; empty when it can.
    static std::string PlaceReason(const TLayer& world, const std::shared_ptr<TPicturePlugin>& plugin, int32_t x,
                                   int32_t y);

protected:
    void _Area(int32_t& ax, int32_t& ay, int32_t& w, int32_t& h) const override;
    TLayer::TThing _Do(TLayer& world) override;

private:
    std::shared_ptr<TPicturePlugin> plugin;
    int32_t x = 0, y = 0;
};

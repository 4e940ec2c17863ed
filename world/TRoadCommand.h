#pragma once
#include <memory>
#include <vector>

#include "world/TEditCommand.h"

class TStreet;

// Lays a straight road of one street from a start tile toward an end tile, with bridges over
// water where the street can bridge. The road runs along the longer axis (along x on a tie).
class TRoadCommand : public TEditCommand {
public:
    static constexpr const char* tooShort = TrNoop("Eine Straße braucht zwei Felder");
    static constexpr const char* bridgeTooLong = TrNoop("Die Brücke ist zu lang");
    static constexpr const char* bridgeNeedsLand = TrNoop("Eine Brücke braucht Land an beiden Enden");
    static constexpr const char* onABridge = TrNoop("Auf einer Brücke geht das nicht");
    static constexpr const char* nothingChosen = TrNoop("Keine Straße gewählt");

    // The road's tiles and, per tile, whether a road may lie there; what it costs; why not.
    struct TPlan {
        std::vector<int32_t> xy;  // flat x, y
        std::vector<int32_t> possible;
        int32_t cost = 0;
        std::string reason;
    };

    TRoadCommand(std::shared_ptr<TStreet> street, int32_t sx, int32_t sy, int32_t ex, int32_t ey);
    TCheck Check(TLayer& world) const override;
    TPlan Plan(TLayer& world) const;
    std::string What() const override { return Tr("Straße"); }
    std::string ScriptLine() const override;
    // Why no road of the street may start on the tile (a bridge may not), empty when it may.
    static std::string StartReason(const TLayer& world, const TStreet* street, int32_t x, int32_t y);
    // The roads the last Execute laid, one entry per tile (null where nothing was laid).
    const TLayer::TRoadList& Built() const { return built; }
    // The end tile the road runs to.
    int32_t EndX() const { return ex; }
    int32_t EndY() const { return ey; }

protected:
    void _Area(int32_t& x, int32_t& y, int32_t& w, int32_t& h) const override;
    TLayer::TThing _Do(TLayer& world) override;

private:
    // Why the tile takes no road of the street (with a bridge when bridge is set).
    static std::string _TileReason(const TLayer& world, const TStreet& street, int32_t x, int32_t y, int32_t bridge);

    std::shared_ptr<TStreet> street;
    int32_t sx = 0, sy = 0, ex = 0, ey = 0;
    TLayer::TRoadList built;
};

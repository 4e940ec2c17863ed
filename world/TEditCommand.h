#pragma once
#include <cstdint>
#include <string>

#include "platform/TCatalogue.h"
#include "world/TLayer.h"
#include "world/TMapPatch.h"

// One change a player or a script makes to the city. Check tells, without changing anything,
// what it costs or why it cannot be done (a German reason for the player, translated where it
// leaves the world); Execute checks again, pays and changes the map, keeping what Undo needs to
// put the map and the money back.
class TEditCommand {
public:
    using TCheck = TEditCheck;
    static constexpr const char* outsideTheMap = TrNoop("Außerhalb der Karte");
    static constexpr const char* tooLittleMoney = TrNoop("Zu wenig Geld");
    static constexpr const char* notOnWater = TrNoop("Nicht auf Wasser");
    static constexpr const char* occupied = TrNoop("Der Platz ist belegt");

    virtual ~TEditCommand() = default;
    virtual TCheck Check(TLayer& world) const = 0;
    // Checks, pays and changes the city; the check's answer (its reason empty when done).
    TCheck Execute(TLayer& world);
    // Puts back what the command changed on the map and gives its money back.
    void Undo(TLayer& world);
    // What the player would call it ("Straße", "Gebäude", "Abriss"), in the language in use.
    virtual std::string What() const = 0;
    // The command as a line of the simulator's script ("build res_wohnhaus 25 65"), the form in
    // which a recorded game keeps it.
    virtual std::string ScriptLine() const = 0;
    // The rectangle of tiles the command changes.
    void Area(int32_t& x, int32_t& y, int32_t& w, int32_t& h) const { _Area(x, y, w, h); }

protected:
    // The rectangle of tiles the command changes.
    virtual void _Area(int32_t& x, int32_t& y, int32_t& w, int32_t& h) const = 0;
    // Changes the map; the thing over which the payment rises, if any.
    virtual TLayer::TThing _Do(TLayer& world) = 0;
    // The reason when the world cannot pay the cost, else empty.
    static std::string _MoneyReason(TLayer& world, float cost);

private:
    TMapPatch before;
    float paid = 0;
    bool done = false;
};

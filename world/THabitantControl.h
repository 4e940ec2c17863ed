#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/TCatalogue.h"

class TBuilding;
class THabitant;
class THabitantPool;

// The rules the inhabitant pool asks for, as an object of their own so they can be swapped.
// This class is the rule set "Klassisch": move-ins one per offering house, one newcomer a day
// while fewer than 100 × the level-1 demand live in town (the demand is always 1.0), everyone
// wants to move up, nobody moves away, work buildings pay no tax.
class THabitantControl {
public:
    // Rule-set ids as saved and as given to vallmora-sim; German names for the player.
    static constexpr const char* classicId = "classic";
    static constexpr const char* growthId = "growth";

    // The rule set of the id ("classic" or "growth"); null for an unknown id.
    static std::shared_ptr<THabitantControl> Create(const std::string& id);

    virtual ~THabitantControl() = default;
    virtual std::string Id() const { return classicId; }
    virtual std::string Name() const { return TrNoop("Klassisch"); }

    virtual std::shared_ptr<THabitant> getHabitant(const TBuilding& building, THabitantPool& pool);
    virtual void updateHabitant(THabitant& h, THabitantPool& pool);
    virtual float getLevel1Request(THabitantPool& pool);

    // Steps of the day change, in this order: waiting inhabitants move into the houses that
    // offered room; newcomers arrive (or the oldest waiting one gives up); after satisfaction
    // and demand are new, unhappy inhabitants may leave the city.
    virtual void moveIns(THabitantPool& pool);
    virtual void arrivals(THabitantPool& pool);
    virtual void departures(THabitantPool&) {}
    // What a worker of the building pays per month besides the taxes of its home.
    virtual float businessTax(const TBuilding&, const THabitantPool&) const { return 0.0f; }
    // Whether newcomers are on their way or waiting for a home.
    virtual bool newcomersExpected(const THabitantPool& pool) const;
    // Why the city does not grow now (German, for the player); empty while it grows or when
    // the rules give no reason.
    virtual std::string growthNote(const THabitantPool&) const { return {}; }
    // How much the level-1 tax lets newcomers come, 0 … 1; below 1 the tax holds growth back.
    virtual float taxDraw(const THabitantPool&) const { return 1.0f; }
};

#pragma once
#include <cstdint>
#include <string>

#include "world/THabitantControl.h"

// The rule set "Wachstum": the city grows as far as it offers homes and jobs. The level-1
// demand is how attractive the city is (content inhabitants, moderate taxes) while it has more
// open jobs than waiting newcomers; newcomers per day follow the gap between free homes and
// open jobs and those already waiting; a house takes as many waiting inhabitants a day as it
// has room; content, employed inhabitants move up to a free home of the next level; a jobless
// inhabitant is less content, and one unhappy for a month leaves the city. Workers pay a
// business tax on top of the taxes of their homes.
class TGrowthControl : public THabitantControl {
public:
    // Satisfaction of an inhabitant without a job, as a share of its home's.
    static constexpr float joblessShare = 0.6f;
    // Content and employed from here on: such an inhabitant wants to move up.
    static constexpr float moveUpSatisfaction = 0.75f;
    // Below this an inhabitant counts as unhappy; after unhappyDaysToLeave such days it leaves.
    static constexpr float unhappySatisfaction = 0.35f;
    static constexpr int32_t unhappyDaysToLeave = 30;
    // Of the gap between what the city offers and who waits, this share arrives per day.
    static constexpr float arrivalShare = 0.25f;
    static constexpr int32_t maxArrivalsPerDay = 200;
    // Waiting inhabitants beyond the free homes and this many give up.
    static constexpr int32_t waitingSlack = 5;

    // What the city offers newcomers: room in finished houses and open jobs in finished work
    // buildings.
    struct TOffer {
        int32_t freeHomes = 0;
        int32_t openJobs = 0;
    };
    static TOffer Offer(const THabitantPool& pool);
    // How much the city draws newcomers, 0 … 1: satisfaction and the level-1 tax rate.
    static float Attraction(const THabitantPool& pool);
    // The level-1 tax's share of it: 1 up to the default rate, 0 from 0.4 on.
    static float TaxDraw(const THabitantPool& pool);

    std::string Id() const override { return growthId; }
    std::string Name() const override { return TrNoop("Wachstum"); }
    void updateHabitant(THabitant& h, THabitantPool& pool) override;
    float getLevel1Request(THabitantPool& pool) override;
    void moveIns(THabitantPool& pool) override;
    void arrivals(THabitantPool& pool) override;
    void departures(THabitantPool& pool) override;
    float businessTax(const TBuilding& building, const THabitantPool& pool) const override;
    std::string growthNote(const THabitantPool& pool) const override;
    float taxDraw(const THabitantPool& pool) const override { return TaxDraw(pool); }
    bool newcomersExpected(const THabitantPool& pool) const override;
};

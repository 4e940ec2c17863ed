#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "framework/TWeakRef.h"

class TBuilding;
class TImage;
class TJob;

// One inhabitant: its home (none for a newcomer), its job, its name and its satisfaction.
class THabitant {
public:
    // The home's tech level; 0 without a home.
    int32_t GetLevel() const;
    int32_t wantToLevelUp() const { return lvlUp; }
    float getSatisfaction() const { return satisfaction; }
    std::shared_ptr<TImage> getJobImage() const;
    // The work building's worker name, or "Arbeitslos", in the language in use.
    std::string getJobName() const;

    // Held weakly: the house owns its inhabitants, not the other way round.
    TWeakRef<TBuilding> home;
    std::shared_ptr<TJob> job;
    int32_t id = 0;
    std::string Name;
    float money = 0;
    float movedToTownHour = 0;
    float lastMoveHour = 0;
    float age = 0;
    float satisfaction = 1.0f;
    int32_t lvlUp = 0;
    int32_t die = 0;
    // Days in a row this inhabitant was unhappy (rules that let people move away count them).
    int32_t unhappyDays = 0;
};

#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/TCowList.h"

class TBuilding;
class THabitant;
class THabitantControl;
class TLayer;
class TNameGenerator;
class TWorldFile;

// The city's inhabitants: those living in a house (active) and those waiting for a home
// (pool, oldest first). At each day change waiting inhabitants move into the houses that
// offered a vacancy, newcomers arrive while the city is below demand, and satisfaction and
// demand per level are recomputed. Taxes are set per level 1 … 5.
class THabitantPool {
public:
    static constexpr int32_t countTechlevel = 5;
    static constexpr float defaultTaxes = 0.2f;
    // The shipped list of names (a data name: TPaths::Resolve finds the file).
    static inline const char* const nameFile = "data/names/name.dat";

    static std::shared_ptr<THabitantPool> Create(TLayer* layer);
    int32_t generate(TLayer* layer);
    void Destroy();
    // The inhabitants' section of a saved city (THabitantPoolSave.cpp); loading needs the
    // buildings and roads already read.
    void _onSave(TWorldFile& file);
    void _onLoad(TWorldFile& file);
    void _setDefaultTaxes();

    // Levels 1 … 5; other levels are ignored (set) or read as 0.
    void setTaxes(int32_t level, float value);
    float getTaxes(int32_t level) const;
    float getRequestForLvl(int32_t level) const;
    int32_t countActiveHabitants() const { return int32_t(activeHabitant.Count()); }
    int32_t countAvailableHabitants() const { return int32_t(poolHabitant.Count()); }
    float getSatisfaction() const { return satisfaction; }
    void regHouseForHabitant(const std::shared_ptr<TBuilding>& building);
    float calcTaxMoneyForHabitant(const THabitant& h) const;

    // The day change.
    void Update();
    std::shared_ptr<THabitant> getPoolHabitantForHome(const TBuilding& building);
    std::shared_ptr<THabitant> getPoolHabitant(int32_t level);
    std::string generateName();

    void kickToActiveHabitant(const std::shared_ptr<THabitant>& h);
    void kickToPoolHabitant(const std::shared_ptr<THabitant>& h);
    std::shared_ptr<THabitant> _createNewHabitant();
    void _addPoolHabitant(const std::shared_ptr<THabitant>& h) { poolHabitant.Append(h); }
    void _addActiveHabitant(const std::shared_ptr<THabitant>& h) { activeHabitant.Append(h); }
    void _removePoolHabitant(const std::shared_ptr<THabitant>& h) { poolHabitant.Remove(h); }
    void _removeActiveHabitant(const std::shared_ptr<THabitant>& h) { activeHabitant.Remove(h); }
    // The inhabitant leaves the city: its job, its home and both lists let go of it.
    void _leaveCity(const std::shared_ptr<THabitant>& h);
    void _recalcSatisfaction();
    void _recalcRequests();

    TCowList<std::shared_ptr<TBuilding>> availableHomes;
    TLayer* layer = nullptr;
    TCowList<std::shared_ptr<THabitant>> activeHabitant;
    TCowList<std::shared_ptr<THabitant>> poolHabitant;
    int32_t counter = 0;
    std::shared_ptr<TNameGenerator> nameGenerator;
    float satisfaction = 0;
    std::array<float, countTechlevel> taxes{};
    std::array<float, countTechlevel + 1> requests{};
    std::shared_ptr<THabitantControl> hbtCrtl;
};

#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/TCatalogue.h"
#include "world/TRecord.h"

namespace vesko {
class TCTimeEmitter;
class TDataFile;
class TFileHeader;
}  // namespace vesko
class TBuilding;
class TCar;
class THabitant;
class TLayer;
class TRoad;
class TTicker;

// A saved city on its way to or from a data file: the file, the clock reading the times are
// taken relative to, and the tables that let objects refer to each other by number (buildings,
// roads, inhabitants, cars). While saving the tables are filled from the world first; while
// loading each layer fills its table as it reads its section, and later sections look up what
// earlier ones made. Faults are collected rather than thrown: the first one refuses the file.
class TWorldFile {
public:
    // Numbers that refer to nothing.
    static constexpr int32_t none = -1;
    // Counts beyond this in any table are absurd for a map the world can hold.
    static constexpr int32_t maxObjects = 1 << 24;

    TWorldFile(vesko::TDataFile& file, int32_t now) : file(file), now(now) {}

    // --- saving ---
    // Fills the tables from the world: placed buildings in their list order, then buildings no
    // longer placed that someone still refers to; roads in list order; inhabitants living in the
    // city, then those waiting, then any others referred to; cars in list order, then others
    // referred to.
    void Collect(const TLayer& world);
    int32_t IndexOf(const TBuilding* b) const { return _Find(buildingIndex, b); }
    int32_t IndexOf(const TRoad* r) const { return _Find(roadIndex, r); }
    int32_t IndexOf(const THabitant* h) const { return _Find(habitantIndex, h); }
    int32_t IndexOf(const TCar* c) const { return _Find(carIndex, c); }
    // A section with one flag per record.
    void AddRecord(const std::string& name, const TRecord& record);
    void AddFlag(const std::string& name, int64_t value);

    // --- times on the program clock, kept as offsets from the moment of saving ---
    int32_t Rel(int32_t ms) const { return int32_t(uint32_t(ms) - uint32_t(now)); }
    int32_t Abs(int32_t rel) const { return int32_t(uint32_t(now) + uint32_t(rel)); }
    // A tick counter as four words (present, start, last tick, ticks counted), and back: a
    // present one is made at the rate fps when there is none yet, an absent one is dropped.
    void AddTicker(TRecord& record, const vesko::TCTimeEmitter* ticker) const;
    bool ReadTicker(TRecord& record, std::shared_ptr<TTicker>& ticker, float fps) const;

    // --- loading ---
    // The section of that name, or null after a fault naming it.
    std::shared_ptr<vesko::TFileHeader> Section(const std::string& name);
    // Calls visit for each flag of the section in order with its name and value; stops at a
    // fault.
    void EachFlag(const std::shared_ptr<vesko::TFileHeader>& section,
                  const std::function<void(const std::string& name, TRecord& record)>& visit);
    // A whole number flag of the section within lo … hi, or a fault.
    int32_t IntFlag(const std::shared_ptr<vesko::TFileHeader>& section, const std::string& name, int32_t lo,
                    int32_t hi);
    // Entries by number; null for none, a fault for a number outside the table.
    std::shared_ptr<TBuilding> Building(int32_t i) { return _At(buildings, i, TrNoop("Gebäude")); }
    std::shared_ptr<TRoad> Road(int32_t i) { return _At(roads, i, TrNoop("Straße")); }
    std::shared_ptr<THabitant> Habitant(int32_t i) { return _At(habitants, i, TrNoop("Einwohner")); }
    std::shared_ptr<TCar> Car(int32_t i) { return _At(cars, i, TrNoop("Auto")); }
    // Records the first fault; later ones are dropped.
    void Fail(const std::string& why);
    bool Failed() const { return !error.empty(); }
    // A record that could not be read: a fault naming the section.
    void Broken(const std::string& section) { Fail(Tr("Abschnitt \"%1\" ist beschädigt", section)); }
    // An object left out because its plugin no longer exists.
    void Missing(const std::string& pluginId) { missing.insert(pluginId); }

    vesko::TDataFile& file;
    int32_t now = 0;
    std::string error;
    std::set<std::string> missing;
    // Placed buildings come first; the number of them.
    int32_t placedBuildings = 0;
    // Inhabitants living in the city, then waiting ones; the number of each.
    int32_t activeHabitants = 0, waitingHabitants = 0;
    // Cars of the building layer's list come first; the number of them.
    int32_t listedCars = 0;
    std::vector<std::shared_ptr<TBuilding>> buildings;
    std::vector<std::shared_ptr<TRoad>> roads;
    std::vector<std::shared_ptr<THabitant>> habitants;
    std::vector<std::shared_ptr<TCar>> cars;

private:
    template <typename T>
    static int32_t _Find(const std::unordered_map<const T*, int32_t>& map, const T* p) {
        if (!p) return none;
        const auto it = map.find(p);
        return it == map.end() ? none : it->second;
    }
    template <typename T>
    std::shared_ptr<T> _At(const std::vector<std::shared_ptr<T>>& table, int32_t i, const char* what) {
        if (i == none) return nullptr;
        if (i < 0 || size_t(i) >= table.size()) {
            Fail(Tr("%1 Nr. %2 fehlt", Tr(what), i));
            return nullptr;
        }
        return table[size_t(i)];
    }
    void _AddBuilding(const std::shared_ptr<TBuilding>& b);
    void _AddHabitant(const std::shared_ptr<THabitant>& h);
    void _AddCar(const std::shared_ptr<TCar>& c);

    std::unordered_map<const TBuilding*, int32_t> buildingIndex;
    std::unordered_map<const TRoad*, int32_t> roadIndex;
    std::unordered_map<const THabitant*, int32_t> habitantIndex;
    std::unordered_map<const TCar*, int32_t> carIndex;
};

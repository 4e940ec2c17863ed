#include "world/TWorldFile.h"

#include "framework/TCTimeEmitter.h"
#include "persistence/TDataFile.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTicker.h"
#include "world/TWay.h"

void TWorldFile::_AddBuilding(const std::shared_ptr<TBuilding>& b) {
    if (!b || buildingIndex.count(b.get())) return;
    buildingIndex[b.get()] = int32_t(buildings.size());
    buildings.push_back(b);
}

void TWorldFile::_AddHabitant(const std::shared_ptr<THabitant>& h) {
    if (!h || habitantIndex.count(h.get())) return;
    habitantIndex[h.get()] = int32_t(habitants.size());
    habitants.push_back(h);
}

void TWorldFile::_AddCar(const std::shared_ptr<TCar>& c) {
    if (!c || carIndex.count(c.get())) return;
    carIndex[c.get()] = int32_t(cars.size());
    cars.push_back(c);
}

void TWorldFile::Collect(const TLayer& world) {
    if (world.BuildingLayer) {
        for (const auto& b : world.BuildingLayer->arrBuilding.Items()) _AddBuilding(b);
    }
    placedBuildings = int32_t(buildings.size());
    if (world.RoadLayer) {
        for (const auto& r : world.RoadLayer->arrRoad) {
            roadIndex[r.get()] = int32_t(roads.size());
            roads.push_back(r);
        }
    }
    if (world.habitantPool) {
        for (const auto& h : world.habitantPool->activeHabitant.Items()) _AddHabitant(h);
        activeHabitants = int32_t(habitants.size());
        for (const auto& h : world.habitantPool->poolHabitant.Items()) _AddHabitant(h);
        waitingHabitants = int32_t(habitants.size()) - activeHabitants;
        for (const auto& b : world.habitantPool->availableHomes.Items()) _AddBuilding(b);
    }
    if (world.BuildingLayer) {
        for (const auto& c : world.BuildingLayer->arrCar.Items()) _AddCar(c);
    }
    listedCars = int32_t(cars.size());
    // Whatever the placed buildings and roads hold: inhabitants that are in no list of the pool,
    // cars that are in no list of the layer.
    for (size_t i = 0; i < size_t(placedBuildings); ++i) {
        const auto& b = buildings[i];
        for (const auto& h : b->habitants.Items()) _AddHabitant(h);
        for (const auto& h : b->workers.Items()) _AddHabitant(h);
        for (const auto& c : b->car.Items()) _AddCar(c);
    }
    for (const auto& r : roads) {
        for (const auto& c : r->car) _AddCar(c);
        for (const auto& c : r->carpos) _AddCar(c);
    }
    // Buildings no longer on the map that inhabitants, routes or cars still refer to; the table
    // grows while it is walked, so an index loop.
    for (size_t i = 0; i < habitants.size(); ++i) {
        const auto& h = habitants[i];
        _AddBuilding(h->home.lock());
        if (h->job) {
            _AddBuilding(h->job->building.lock());
            if (h->job->way) {
                _AddBuilding(h->job->way->Start.lock());
                _AddBuilding(h->job->way->target.lock());
            }
        }
    }
    for (const auto& c : cars) _AddBuilding(c->b.lock());
}

void TWorldFile::AddRecord(const std::string& name, const TRecord& record) { file.addFlag(name, record.Text()); }

void TWorldFile::AddFlag(const std::string& name, int64_t value) { file.addFlag(name, std::to_string(value)); }

void TWorldFile::AddTicker(TRecord& record, const vesko::TCTimeEmitter* ticker) const {
    if (!ticker) {
        record.AddInt(0).AddInt(0).AddInt(0).AddFloat(0);
        return;
    }
    record.AddInt(1).AddInt(Rel(ticker->startms)).AddInt(Rel(ticker->lastms)).AddFloat(ticker->lasttick);
}

bool TWorldFile::ReadTicker(TRecord& record, std::shared_ptr<TTicker>& ticker, float fps) const {
    int32_t present = 0, start = 0, last = 0;
    float tick = 0;
    if (!record.Int(present, 0, 1) || !record.Int(start, INT32_MIN, INT32_MAX) ||
        !record.Int(last, INT32_MIN, INT32_MAX) || !record.Float(tick))
        return false;
    if (!present) {
        ticker.reset();
    } else {
        if (!ticker) ticker = TTicker::Create(fps);
        ticker->startms = Abs(start);
        ticker->lastms = Abs(last);
        ticker->lasttick = tick;
    }
    return true;
}

std::shared_ptr<vesko::TFileHeader> TWorldFile::Section(const std::string& name) {
    if (Failed()) return nullptr;
    auto s = file.findHeader(name, 0);
    if (!s) Fail(Tr("Abschnitt \"%1\" fehlt", name));
    return s;
}

void TWorldFile::EachFlag(const std::shared_ptr<vesko::TFileHeader>& section,
                          const std::function<void(const std::string& name, TRecord& record)>& visit) {
    if (!section) return;
    for (const auto& flag : section->Flags) {
        if (Failed()) return;
        TRecord record(flag->value);
        visit(flag->Name, record);
    }
}

int32_t TWorldFile::IntFlag(const std::shared_ptr<vesko::TFileHeader>& section, const std::string& name, int32_t lo,
                            int32_t hi) {
    if (!section || Failed()) return lo;
    auto flag = section->findFlag(name);
    int32_t v = lo;
    TRecord record(flag ? flag->value : std::string());
    if (!flag || !record.Int(v, lo, hi) || !record.AtEnd()) {
        Fail(Tr("Wert \"%1\" in \"%2\" fehlt oder ist ungültig", name, section->Name));
        return lo;
    }
    return v;
}

void TWorldFile::Fail(const std::string& why) {
    if (error.empty()) error = why;
}

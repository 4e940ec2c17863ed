// The inhabitants' part of a saved city: the pool's taxes and demand, every inhabitant with its
// home, job and route to work, the houses offering a vacancy today, and each building's lists
// of inhabitants and workers in their order.
#include "persistence/TDataFile.h"
#include "platform/TCatalogue.h"
#include "world/TBuilding.h"
#include "world/THabitant.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TRoad.h"
#include "world/TWay.h"
#include "world/TWorldFile.h"

namespace {
// A job's building number when there is no job at all.
constexpr int32_t noJob = -2;

// A list of numbers after a leading one; none stand for things not in the file's tables.
TRecord NumberList(int32_t first, const std::vector<int32_t>& rest) {
    TRecord r;
    r.AddInt(first);
    for (int32_t i : rest) r.AddInt(i);
    return r;
}
}  // namespace

void THabitantPool::_onSave(TWorldFile& wf) {
    wf.file.addHeader("habitants");
    TRecord pool;
    pool.AddInt(counter).AddFloat(satisfaction);
    for (float t : taxes) pool.AddFloat(t);
    for (float r : requests) pool.AddFloat(r);
    wf.AddRecord("pool", pool);
    wf.AddFlag("active", wf.activeHabitants);
    wf.AddFlag("waiting", wf.waitingHabitants);
    for (const auto& h : wf.habitants) {
        TRecord r;
        r.AddInt(h->id).AddFloat(h->money).AddFloat(h->movedToTownHour).AddFloat(h->lastMoveHour).AddFloat(h->age);
        r.AddFloat(h->satisfaction).AddInt(h->lvlUp).AddInt(h->die).AddInt(wf.IndexOf(h->home.get()));
        const auto& job = h->job;
        r.AddInt(job ? wf.IndexOf(job->building.get()) : noJob);
        if (job) {
            const auto& way = job->way;
            r.AddInt(way ? 1 : 0);
            if (way) {
                r.AddInt(wf.IndexOf(way->Start.lock().get())).AddInt(wf.IndexOf(way->target.lock().get())).AddInt(way->Length);
                // Roads removed since the route was found are left out.
                std::vector<int32_t> roads;
                for (const auto& road : way->road) {
                    if (const int32_t i = wf.IndexOf(road.get()); i != TWorldFile::none) roads.push_back(i);
                }
                r.AddInt(int64_t(roads.size()));
                for (int32_t i : roads) r.AddInt(i);
            }
        }
        wf.AddRecord("h", r.AddRest(h->Name));
    }
    std::vector<int32_t> homes;
    for (const auto& b : availableHomes.Items()) homes.push_back(wf.IndexOf(b.get()));
    wf.AddRecord("homes", NumberList(int32_t(homes.size()), homes));
    wf.AddRecord("rules", TRecord().AddWord(hbtCrtl->Id()));
    // Pairs of inhabitant and unhappy days, for those that have any.
    TRecord unhappy;
    for (size_t i = 0; i < wf.habitants.size(); ++i) {
        if (wf.habitants[i]->unhappyDays > 0) unhappy.AddInt(int64_t(i)).AddInt(wf.habitants[i]->unhappyDays);
    }
    wf.AddRecord("unhappy", unhappy);
    for (const auto& b : wf.buildings) {
        for (const auto& [name, list] : {std::pair{"lives", &b->habitants}, std::pair{"works", &b->workers}}) {
            if (list->Empty()) continue;
            std::vector<int32_t> people;
            for (const auto& h : list->Items()) {
                if (const int32_t i = wf.IndexOf(h.get()); i != TWorldFile::none) people.push_back(i);
            }
            wf.AddRecord(name, NumberList(wf.IndexOf(b.get()), people));
        }
    }
}

void THabitantPool::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("habitants");
    const int32_t active = wf.IntFlag(section, "active", 0, TWorldFile::maxObjects);
    const int32_t waiting = wf.IntFlag(section, "waiting", 0, TWorldFile::maxObjects);
    const int32_t big = 1 << 30;
    bool poolRead = false;
    wf.EachFlag(section, [&](const std::string& name, TRecord& r) {
        if (name == "pool") {
            r.Int(counter, 0, INT32_MAX);
            r.Float(satisfaction);
            for (auto& t : taxes) r.Float(t);
            for (auto& q : requests) r.Float(q);
            if (!r.Ok() || !r.AtEnd()) return wf.Broken("habitants");
            poolRead = true;
        } else if (name == "h") {
            auto h = std::make_shared<THabitant>();
            int32_t home = 0, jobBuilding = 0;
            r.Int(h->id, INT32_MIN, INT32_MAX);
            r.Float(h->money);
            r.Float(h->movedToTownHour);
            r.Float(h->lastMoveHour);
            r.Float(h->age);
            r.Float(h->satisfaction);
            r.Int(h->lvlUp, INT32_MIN, INT32_MAX);
            r.Int(h->die, INT32_MIN, INT32_MAX);
            r.Int(home, TWorldFile::none, big);
            r.Int(jobBuilding, noJob, big);
            h->home = wf.Building(home);
            if (jobBuilding != noJob) {
                int32_t hasWay = 0;
                std::shared_ptr<TWay> way;
                r.Int(hasWay, 0, 1);
                if (hasWay) {
                    int32_t start = 0, target = 0, length = 0, n = 0;
                    r.Int(start, TWorldFile::none, big);
                    r.Int(target, TWorldFile::none, big);
                    r.Int(length, 0, big);
                    r.Int(n, 0, int32_t(std::min<size_t>(wf.roads.size(), size_t(big))));
                    std::vector<std::shared_ptr<TRoad>> roads;
                    for (int32_t k = 0, i = 0; k < n && r.Int(i, 0, big); ++k) {
                        if (auto road = wf.Road(i)) roads.push_back(road);
                    }
                    way = TWay::Create(roads, wf.Building(start), wf.Building(target));
                    way->Length = length;
                }
                // A job at a building left out (its plugin is gone) is lost.
                if (auto b = wf.Building(jobBuilding)) h->job = TJob::Create(b, way, b->workerImg);
            }
            if (!r.Ok() || !r.Rest(h->Name)) return wf.Broken("habitants");
            const int32_t i = int32_t(wf.habitants.size());
            wf.habitants.push_back(h);
            if (i < active) {
                _addActiveHabitant(h);
            } else if (i < active + waiting) {
                _addPoolHabitant(h);
            }
        } else if (name == "rules") {
            // A city saved before the rules could be chosen plays by "Klassisch".
            std::string id;
            if (!r.Word(id)) return wf.Broken("habitants");
            auto rules = THabitantControl::Create(id);
            if (!rules) return wf.Fail(Tr("Unbekannte Spielregeln \"%1\"", id));
            hbtCrtl = rules;
        } else if (name == "unhappy") {
            for (int32_t i = 0, days = 0; !r.AtEnd();) {
                if (!r.Int(i, 0, int32_t(wf.habitants.size()) - 1) || !r.Int(days, 0, big)) return wf.Broken("habitants");
                wf.habitants[size_t(i)]->unhappyDays = days;
            }
        } else if (name == "homes" || name == "lives" || name == "works") {
            int32_t first = 0;
            if (!r.Int(first, TWorldFile::none, big)) return wf.Broken("habitants");
            std::vector<int32_t> rest;
            for (int32_t k = 0; !r.AtEnd() && r.Int(k, TWorldFile::none, big);) rest.push_back(k);
            if (!r.Ok()) return wf.Broken("habitants");
            if (name == "homes") {
                if (int32_t(rest.size()) != first) return wf.Broken("habitants");
                for (int32_t k : rest) {
                    if (auto b = wf.Building(k)) availableHomes.Append(b);
                }
                return;
            }
            const auto b = wf.Building(first);
            for (int32_t k : rest) {
                const auto h = wf.Habitant(k);
                if (!b || !h) continue;
                if (name == "lives") {
                    b->_regHabitant(h);
                } else {
                    b->_regWorker(h);
                }
            }
        }
    });
    if (!wf.Failed() && (!poolRead || int32_t(wf.habitants.size()) < active + waiting)) wf.Broken("habitants");
}

#include "world/TAdvisor.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/TCatalogue.h"
#include "plugins/TInfluenceContainer.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TGrowthControl.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"

namespace {
using TReason = TAdvice::TReason;
using THouses = std::vector<std::shared_ptr<TBuilding>>;

TAdvice Say(TReason reason, const char* text, int32_t kind = -1) {
    TAdvice a;
    a.reason = reason;
    a.text = text;
    a.kind = kind;
    return a;
}

TAdvice At(TAdvice a, const TBuilding& b) {
    a.hasPlace = true;
    a.x = b.x;
    a.y = b.y;
    a.w = b.SizeX();
    a.h = b.SizeY();
    return a;
}

TAdvice At(TAdvice a, const TRoad& r) {
    a.hasPlace = true;
    a.x = r.x;
    a.y = r.y;
    a.w = a.h = 1;
    return a;
}

int32_t Room(const TBuilding& b) { return std::max(b.p->population, 0); }

// Whom a lack at a home holds back: those living there, or, while it is too unhappy to take
// anyone, the room it was built with.
int32_t PeopleHeldBack(const TBuilding& b) {
    const int32_t living = int32_t(b.habitants.Count());
    return living > 0 || b.maxHabitans > 0 ? living : Room(b);
}

// A home without a road takes nobody; the biggest of them.
std::optional<TAdvice> NoRoad(const TLayer& world, const THouses& homes) {
    const TBuilding* worst = nullptr;
    for (const auto& b : homes) {
        if (b->p->noroadneeded || world.BuildingLayer->_BuildingHasRoad(b)) continue;
        if (!worst || Room(*b) > Room(*worst)) worst = b.get();
    }
    if (!worst) return std::nullopt;
    return At(Say(TReason::NoRoad, TrNoop("Wohnhaus ohne Straße: niemand zieht ein")), *worst);
}

// Jobless inhabitants whose home reaches no open job by road, or homes with room while there
// are no open jobs for those who would come (the growth rules let nobody come then).
std::optional<TAdvice> NoJobs(const THouses& finished, const THabitantPool& pool) {
    const TAdvice advice = Say(TReason::NoJobs, TrNoop("Keine Arbeit erreichbar: bauen Sie Arbeitsplätze"));
    std::vector<std::pair<int32_t, std::shared_ptr<TBuilding>>> jobless;
    for (const auto& b : finished) {
        int32_t n = 0;
        for (const auto& h : b->habitants.Items()) n += h->job ? 0 : 1;
        if (n > 0) jobless.emplace_back(n, b);
    }
    std::stable_sort(jobless.begin(), jobless.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    // Most jobless first; one who moved in today has simply not looked yet, and finds a way.
    for (size_t i = 0; i < jobless.size() && i < size_t(TAdvisor::maxJobSearches); ++i) {
        if (!jobless[i].second->_WayToWork()) return At(advice, *jobless[i].second);
    }
    const TGrowthControl::TOffer offer = TGrowthControl::Offer(pool);
    if (offer.freeHomes <= 0 || offer.openJobs > pool.countAvailableHabitants()) return std::nullopt;
    if (!jobless.empty()) return At(advice, *jobless.front().second);
    const TBuilding* roomiest = nullptr;
    for (const auto& b : finished) {
        const int32_t free = b->maxHabitans - int32_t(b->habitants.Count());
        if (free > 0 && (!roomiest || free > roomiest->maxHabitans - int32_t(roomiest->habitants.Count())))
            roomiest = b.get();
    }
    return roomiest ? At(advice, *roomiest) : advice;
}

// Per influence kind: the people of the homes where a service falls short of the home's need,
// or a nuisance exceeds what the home bears, and the home to show.
std::optional<TAdvice> Influences(const TLayer& world, const THouses& finished) {
    struct TTally {
        int64_t people = 0;
        const TBuilding* place = nullptr;
        int32_t placePeople = 0, placeExcess = 0;
    };
    constexpr int32_t kinds = TInfluenceLayer::countInfluences;
    std::array<TTally, kinds> tally{};
    const TInfluenceLayer& influence = *world.InfluenceLayer;
    for (const auto& b : finished) {
        const auto& mask = b->p->defaultInfluenceMask;
        const int32_t people = PeopleHeldBack(*b);
        if (!mask || people <= 0) continue;
        for (int32_t k = 0; k < kinds; ++k) {
            const int32_t need = mask->neededValue[size_t(k)];
            const bool nuisance = TInfluenceContainer::influenceDirection[size_t(k)] < 0;
            // A service nobody asks for, or a nuisance borne in full, cannot fall short.
            if (mask->ignoredValue[size_t(k)] != 0 || (nuisance ? need >= 100 : need <= 0)) continue;
            int32_t excess = 0;  // the worst tile of the footprint
            for (int32_t ty = b->y; ty < b->y + b->SizeY(); ++ty) {
                for (int32_t tx = b->x; tx < b->x + b->SizeX(); ++tx) {
                    const int32_t have = std::max(influence.getValue(tx, ty, k), 0);
                    excess = std::max(excess, nuisance ? have - need : need - have);
                }
            }
            if (excess <= 0) continue;
            TTally& t = tally[size_t(k)];
            t.people += people;
            // A service shows its most populous home, a nuisance its worst.
            const bool better = nuisance
                                    ? (excess > t.placeExcess || (excess == t.placeExcess && people > t.placePeople))
                                    : people > t.placePeople;
            if (!t.place || better) t.place = b.get(), t.placePeople = people, t.placeExcess = excess;
        }
    }
    // The service and the nuisance holding back the most people (the lower kind on a tie).
    int32_t service = -1, nuisance = -1;
    for (int32_t k = 0; k < kinds; ++k) {
        if (tally[size_t(k)].people <= 0) continue;
        int32_t& best = TInfluenceContainer::influenceDirection[size_t(k)] < 0 ? nuisance : service;
        if (best < 0 || tally[size_t(k)].people > tally[size_t(best)].people) best = k;
    }
    if (service < 0 && nuisance < 0) return std::nullopt;
    // Between the two the one holding back more people; a nuisance on a tie, as it harms.
    if (nuisance >= 0 && (service < 0 || tally[size_t(nuisance)].people >= tally[size_t(service)].people)) {
        return At(Say(TReason::Pollution, TrNoop("Zu viel %1 bei den Wohnhäusern"), nuisance),
                  *tally[size_t(nuisance)].place);
    }
    return At(Say(TReason::MissingService, TrNoop("Den Wohnhäusern fehlt: %1"), service),
              *tally[size_t(service)].place);
}

// The road tile of the heaviest smoothed traffic at or above jamTraffic, else the tile of the
// car that has stood longest, when it stood jamWaitSeconds.
std::optional<TAdvice> Jam(const TLayer& world) {
    const TAdvice advice = Say(TReason::Jam, TrNoop("Stau: die Straße ist überlastet"));
    const TRoad* busiest = nullptr;
    for (const auto& r : world.RoadLayer->arrRoad) {
        if (r && r->IsValid() && r->traffic >= TAdvisor::jamTraffic && (!busiest || r->traffic > busiest->traffic))
            busiest = r.get();
    }
    if (busiest) return At(advice, *busiest);
    const TCar* longest = nullptr;
    float waited = TAdvisor::jamWaitSeconds;
    for (const auto& c : world.BuildingLayer->arrCar.Items()) {
        if (!c->IsActive() || c->Waited() < waited) continue;
        longest = c.get();
        waited = c->Waited();
    }
    if (longest) return At(advice, *longest->_r);
    return std::nullopt;
}
}  // namespace

std::string TAdvice::Shown() const {
    if (*text == 0) return {};
    return kind >= 0 ? Tr(text, Tr(TInfluenceLayer::KindName(kind))) : Tr(text);
}

bool TAdvice::operator==(const TAdvice& o) const {
    return reason == o.reason && std::string_view(text) == std::string_view(o.text) && kind == o.kind &&
           hasPlace == o.hasPlace && x == o.x && y == o.y && w == o.w && h == o.h;
}

// The first that applies, in this order:
// 1. nothing to judge yet: no home at all (what to build first);
// 2. a home without a road: it takes nobody at all (while no home is finished, nothing else
//    can be judged yet);
// 3. no job within reach: the jobless grow unhappy and leave, and without open jobs nobody
//    comes;
// 4. a missing service or a nuisance over the homes, whichever holds back more people (those
//    living there and the room of homes kept empty by it): it decides how content people are,
//    and a home less than half content takes nobody;
// 5. taxes that hold newcomers back: the player's own choice, so after what the city lacks;
// 6. a jammed road: the cars wait, but the people stay;
// 7. nothing: every home is taken (build more) or the city grows well.
TAdvice TAdvisor::Judge(const TLayer& world) {
    if (!world.BuildingLayer || !world.RoadLayer || !world.InfluenceLayer || !world.habitantPool) return {};
    THouses homes, finished;
    bool anyBuilding = false, anyUnfinishedHome = false;
    for (const auto& b : world.BuildingLayer->arrBuilding.Items()) {
        if (!b->IsValid() || !b->p) continue;
        anyBuilding = true;
        if (!b->isResidentalBuilding()) continue;
        homes.push_back(b);
        if (b->inBuildMode) {
            anyUnfinishedHome = true;
        } else {
            finished.push_back(b);
        }
    }
    if (homes.empty()) {
        return anyBuilding || !world.RoadLayer->arrRoad.empty()
                   ? Say(TReason::Nothing, TrNoop("Bauen Sie Wohnhäuser an eine Straße"))
                   : Say(TReason::Nothing, TrNoop("Bauen Sie eine Straße und Wohnhäuser"));
    }
    const THabitantPool& pool = *world.habitantPool;
    if (auto a = NoRoad(world, homes)) return *a;
    if (finished.empty()) return Say(TReason::Nothing, TrNoop("Die Wohnhäuser werden noch gebaut"));
    if (auto a = NoJobs(finished, pool)) return *a;
    if (auto a = Influences(world, finished)) return *a;
    if (pool.hbtCrtl && pool.hbtCrtl->taxDraw(pool) < 1.0f) {
        return Say(TReason::HighTaxes, TrNoop("Die Steuern sind zu hoch: weniger Zuzug"));
    }
    if (auto a = Jam(world)) return *a;
    if (!anyUnfinishedHome && TGrowthControl::Offer(pool).freeHomes <= 0) {
        return Say(TReason::Nothing, TrNoop("Alle Wohnungen belegt: bauen Sie Wohnhäuser"));
    }
    return Say(TReason::Nothing, TrNoop("Die Stadt wächst gut"));
}

const TAdvice& TAdvisor::Current(const TLayer& world) {
    if (!judged || day != world.currentDay) {
        advice = Judge(world);
        judged = true;
        day = world.currentDay;
    }
    return advice;
}

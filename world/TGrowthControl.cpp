#include "world/TGrowthControl.h"

#include <algorithm>
#include <cmath>

#include "framework/TFastRandom.h"
#include "platform/TCatalogue.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TLayer.h"

TGrowthControl::TOffer TGrowthControl::Offer(const THabitantPool& pool) {
    TOffer offer;
    if (!pool.layer || !pool.layer->BuildingLayer) return offer;
    for (const auto& b : pool.layer->BuildingLayer->arrBuilding.Items()) {
        if (!b->IsValid() || b->inBuildMode || !b->p) continue;
        if (b->isResidentalBuilding()) {
            offer.freeHomes += std::max(b->maxHabitans - int32_t(b->habitants.Count()), 0);
        } else {
            offer.openJobs += std::max(b->maxWorkers - int32_t(b->workers.Count()), 0);
        }
    }
    return offer;
}

float TGrowthControl::Attraction(const THabitantPool& pool) {
    // A city nobody lives in yet is judged by its taxes alone.
    const float content =
        pool.countActiveHabitants() > 0 ? std::clamp((pool.satisfaction - 0.3f) / 0.5f, 0.0f, 1.0f) : 1.0f;
    return content * TaxDraw(pool);
}

float TGrowthControl::TaxDraw(const THabitantPool& pool) {
    // The default rate 0.2 draws fully; each further ten points halve the draw, 0.4 ends it.
    return std::clamp(1.0f - (pool.getTaxes(1) - THabitantPool::defaultTaxes) * 5.0f, 0.0f, 1.0f);
}

void TGrowthControl::updateHabitant(THabitant& h, THabitantPool&) {
    if (!h.home) return;
    const TBuilding* work = h.job ? h.job->building.get() : nullptr;
    h.satisfaction = h.home->satisfactionAverage * (work ? work->satisfactionAverage : joblessShare);
    h.lvlUp = (work && h.satisfaction >= moveUpSatisfaction) ? 1 : 0;
}

float TGrowthControl::getLevel1Request(THabitantPool& pool) {
    const TOffer offer = Offer(pool);
    const int32_t jobsLeft = offer.openJobs - pool.countAvailableHabitants();
    if (jobsLeft <= 0 || offer.freeHomes <= 0) return 0.0f;
    return Attraction(pool);
}

void TGrowthControl::moveIns(THabitantPool& pool) {
    vesko::TFastRandom* random = pool.layer ? pool.layer->random.get() : nullptr;
    if (!random || pool.availableHomes.Empty()) return;
    // First those who move up: each house of level 2 or more takes one content inhabitant of
    // the level below, whose old home is then free.
    for (const auto& b : pool.availableHomes.Items()) {
        const int32_t level = b->p ? b->p->techlevel : 0;
        if (level < 2) continue;
        if (auto mover = pool.getPoolHabitant(level); mover && mover->home != b) {
            b->poolCallbackFuncRegHabitant(mover);
            mover->lvlUp = 0;
        }
    }
    // Then the waiting, oldest first, each into a house chosen at random among those with room.
    for (const auto& h : pool.poolHabitant.Items()) {
        auto homes = pool.availableHomes.Items();
        std::vector<std::shared_ptr<TBuilding>> open;
        for (const auto& b : homes) {
            if (int32_t(b->habitants.Count()) < b->maxHabitans) open.push_back(b);
        }
        if (open.empty()) break;
        const int32_t index = random->GetIntIn(0, int32_t(open.size()) - 1);
        open[size_t(index)]->poolCallbackFuncRegHabitant(h);
    }
}

void TGrowthControl::arrivals(THabitantPool& pool) {
    const TOffer offer = Offer(pool);
    const int32_t waiting = pool.countAvailableHabitants();
    const int32_t gap = std::min(offer.freeHomes, offer.openJobs) - waiting;
    if (gap > 0 && pool.requests[0] > 0.0f) {
        const float wanted = std::ceil(float(gap) * pool.requests[0] * arrivalShare);
        const int32_t n = std::min({int32_t(wanted), gap, maxArrivalsPerDay});
        for (int32_t i = 0; i < n; ++i) pool._addPoolHabitant(pool._createNewHabitant());
    }
    // The waiting never pile up far beyond the homes there are for them.
    for (int32_t excess = waiting - offer.freeHomes - waitingSlack; excess > 0 && !pool.poolHabitant.Empty();
         --excess) {
        pool._removePoolHabitant(pool.poolHabitant[0]);
    }
}

void TGrowthControl::departures(THabitantPool& pool) {
    // At most one in twenty a day, so a bad month thins the town instead of emptying it at once.
    int32_t allowed = std::max(pool.countActiveHabitants() / 20, 1);
    for (const auto& h : pool.activeHabitant.Items()) {
        h->unhappyDays = h->satisfaction < unhappySatisfaction ? h->unhappyDays + 1 : 0;
        if (h->unhappyDays < unhappyDaysToLeave || allowed <= 0) continue;
        pool._leaveCity(h);
        --allowed;
    }
}

float TGrowthControl::businessTax(const TBuilding& building, const THabitantPool& pool) const {
    const int32_t level = building.p ? building.p->techlevel : 0;
    if (level < 1 || level > THabitantPool::countTechlevel) return 0.0f;
    // Half the income tax of a resident of the same level.
    return 0.5f * pool.getTaxes(level) * float(level + 1) * float(level + 1);
}

std::string TGrowthControl::growthNote(const THabitantPool& pool) const {
    const TOffer offer = Offer(pool);
    const int32_t waiting = pool.countAvailableHabitants();
    // A city with nothing built yet needs no reason.
    if (offer.freeHomes <= 0 && offer.openJobs <= 0 && pool.countActiveHabitants() == 0) return {};
    if (offer.freeHomes <= 0) return Tr("Keine freien Wohnungen: niemand zieht zu");
    if (offer.openJobs <= waiting) return Tr("Keine freien Arbeitsplätze: niemand zieht zu");
    if (Attraction(pool) <= 0.0f) {
        return pool.getTaxes(1) > THabitantPool::defaultTaxes
                   ? Tr("Die Steuern sind zu hoch: niemand zieht zu")
                   : Tr("Die Einwohner sind zu unzufrieden: niemand zieht zu");
    }
    return {};
}

bool TGrowthControl::newcomersExpected(const THabitantPool& pool) const {
    return !pool.poolHabitant.Empty() || pool.requests[0] > 0.0f;
}

#include "world/THabitantControl.h"

#include "framework/TFastRandom.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TGrowthControl.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TLayer.h"

std::shared_ptr<THabitantControl> THabitantControl::Create(const std::string& id) {
    if (id == classicId) return std::make_shared<THabitantControl>();
    if (id == growthId) return std::make_shared<TGrowthControl>();
    return nullptr;
}

std::shared_ptr<THabitant> THabitantControl::getHabitant(const TBuilding& building, THabitantPool& pool) {
    return pool.getPoolHabitant(building.p ? building.p->techlevel : 0);
}

void THabitantControl::updateHabitant(THabitant& h, THabitantPool&) {
    // Only an inhabitant with a home is judged; the pool asks this for active inhabitants only.
    if (h.home) {
        const TBuilding* work = h.job ? h.job->building.get() : nullptr;
        h.satisfaction = work ? h.home->satisfactionAverage * work->satisfactionAverage : h.home->satisfactionAverage;
    }
    h.lvlUp = 1;
}

float THabitantControl::getLevel1Request(THabitantPool&) { return 1.0f; }

void THabitantControl::moveIns(THabitantPool& pool) {
    // Each offering house takes at most one waiting inhabitant, oldest first, whatever its level.
    vesko::TFastRandom* random = pool.layer ? pool.layer->random.get() : nullptr;
    if (!random || pool.poolHabitant.Empty() || pool.availableHomes.Empty()) return;
    for (const auto& h : pool.poolHabitant.Items()) {
        const auto homes = pool.availableHomes.Items();
        if (homes.empty()) break;
        const int32_t index = random->GetIntIn(0, int32_t(homes.size()) - 1);
        const std::shared_ptr<TBuilding> b = homes[size_t(index)];
        b->poolCallbackFuncRegHabitant(h);
        pool.availableHomes.Remove(b);
    }
}

void THabitantControl::arrivals(THabitantPool& pool) {
    // One newcomer a day while below demand; above it the oldest waiting inhabitant gives up.
    const float active = float(pool.countActiveHabitants());
    const float demand = 100.0f * pool.requests[0];
    if (active < demand) {
        pool._addPoolHabitant(pool._createNewHabitant());
    } else if (active > demand && !pool.poolHabitant.Empty()) {
        pool._removePoolHabitant(pool.poolHabitant[0]);
    }
}

bool THabitantControl::newcomersExpected(const THabitantPool& pool) const {
    return !pool.poolHabitant.Empty() || float(pool.countActiveHabitants()) < 100.0f * pool.requests[0];
}

#include "world/THabitantControl.h"

#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"

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

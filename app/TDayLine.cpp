#include "app/TDayLine.h"

#include <cstdio>

#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

std::string TDayLine::Fixed(double value, int32_t decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

std::string TDayLine::Of(const TLayer& world) {
    const THabitantPool& pool = *world.habitantPool;
    int32_t employed = 0;
    for (const auto& h : pool.activeHabitant.Items()) employed += h->job ? 1 : 0;
    int32_t buildings = 0, finished = 0;
    for (const auto& b : world.BuildingLayer->arrBuilding.Items()) {
        ++buildings;
        finished += b->inBuildMode == 0 ? 1 : 0;
    }
    return std::to_string(world.currentDay) + ' ' + Fixed(world.getMoney(), 2) + ' ' +
           std::to_string(pool.countActiveHabitants()) + ' ' + std::to_string(pool.countAvailableHabitants()) + ' ' +
           std::to_string(employed) + ' ' + Fixed(pool.getSatisfaction(), 3) + ' ' + std::to_string(buildings) + ' ' +
           std::to_string(finished) + ' ' + std::to_string(world.BuildingLayer->arrCar.Count());
}

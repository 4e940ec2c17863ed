#include "world/TJob.h"

#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TRoad.h"
#include "world/TWay.h"

std::shared_ptr<TJob> TJob::Create(const std::shared_ptr<TBuilding>& building, const std::shared_ptr<TWay>& way,
                                   const std::shared_ptr<TImage>& workerImg) {
    auto job = std::make_shared<TJob>();
    job->building = building;
    job->way = way;
    job->workerImg = workerImg;
    return job;
}

float TJob::getMoney() const {
    if (!building || !building->p) return 0.0f;
    switch (building->p->techlevel) {
        case 0: return 100.0f;
        case 1: return 120.0f;
        case 2: return 200.0f;
        case 3: return 300.0f;
        case 4: return 500.0f;
        default: return 0.0f;
    }
}

void TJob::useIt() {
    if (!way) return;
    for (const auto& r : way->road) {
        if (r) r->useLevel += 1;
    }
}

void TJob::unuseIt() {
    if (!way) return;
    for (const auto& r : way->road) {
        if (r) r->useLevel -= 1;
    }
}

#include "world/THabitant.h"

#include "platform/TCatalogue.h"
#include "platform/TImage.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TJob.h"

int32_t THabitant::GetLevel() const {
    const TBuilding* b = home.get();
    return b && b->p ? b->p->techlevel : 0;
}

std::shared_ptr<TImage> THabitant::getJobImage() const {
    if (job && job->building) {
        if (auto pic = job->building->getWorkerPic()) return pic;
    }
    // One shared empty picture for everyone without a job: it is drawn every frame.
    static const std::shared_ptr<TImage> none = TImage::Create(1, 1, 1);
    return none;
}

std::string THabitant::getJobName() const {
    return job && job->building ? TrContent(job->building->getWorkerName()) : Tr("Arbeitslos");
}

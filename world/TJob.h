#pragma once
#include <cstdint>
#include <memory>

#include "framework/TWeakRef.h"

class TBuilding;
class TImage;
class TWay;

// A job: a work building and the road route from home to it. While an inhabitant holds it,
// the route's road tiles count one more commuter (useLevel).
class TJob {
public:
    static std::shared_ptr<TJob> Create(const std::shared_ptr<TBuilding>& building, const std::shared_ptr<TWay>& way,
                                        const std::shared_ptr<TImage>& workerImg);
    // Monthly wage by the work building's tech level (not used by the simulation).
    float getMoney() const;
    void useIt();
    void unuseIt();

    // Held weakly: the work building owns its workers, and they their jobs.
    TWeakRef<TBuilding> building;
    std::shared_ptr<TWay> way;
    std::shared_ptr<TImage> workerImg;
};

#pragma once
#include <cstdint>
#include <memory>

// The cheat switches of the game's console that the world reads.
class TCheat {
public:
    static std::shared_ptr<TCheat> Create();

    // Nonzero: buildings under construction complete at their next daily update.
    int32_t immediatelyBuild = 0;
};

#pragma once
#include <string>
#include <vector>

class TSynth;

// Every sound of the game as a recipe for TSynth: its file name, its seed, whether it loops
// (ambience) and how it is made.
struct TSoundRecipe {
    std::string name;
    uint32_t seed;
    bool loop;
    void (*make)(TSynth& synth);
};

namespace TSoundRecipes {
const std::vector<TSoundRecipe>& All();
}

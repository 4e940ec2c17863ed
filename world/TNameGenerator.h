#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One surname of the name list and how often it is drawn relative to the others.
struct TNameData {
    std::string Name;
    int32_t weight = 1;
};

// Surnames drawn by weight: the list is expanded once into one slot per unit of weight, so a
// pick is one index computation.
class TNameGenerator {
public:
    // Null when the file cannot be read or holds nothing.
    static std::shared_ptr<TNameGenerator> CreateFromFile(const std::string& path);
    static std::shared_ptr<TNameGenerator> Create(const std::vector<TNameData>& list);
    int32_t generate(const std::vector<TNameData>& list);
    // f in 0 … 1: 0 picks the first slot, 1 the last.
    std::string pickName(float f) const;

    std::vector<TNameData> names;
    std::vector<TNameData> source;
};

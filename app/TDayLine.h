#pragma once
#include <string>

class TLayer;

// One line about the city's day, the same for the headless simulator and the game's --daily
// output: day, money, inhabitants, waiting, employed, satisfaction, buildings, finished, cars.
class TDayLine {
public:
    static std::string Of(const TLayer& world);
    // A number with a fixed count of decimals, whatever the locale.
    static std::string Fixed(double value, int32_t decimals);
};

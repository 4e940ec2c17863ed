#pragma once
#include <string>

namespace vesko {

// The digits of a money text: the amount with nine significant digits, cut two characters after
// the decimal point ("1491274.12", "105.58", "-140.000"→"-140.00"). The game groups and
// localises them; the account works out from them the cents a player reads.
class TMoneyText {
public:
    static std::string Digits(float amount);
    // The amount a player reads in Digits, in whole cents.
    static double ShownCents(float amount);
};

}  // namespace vesko

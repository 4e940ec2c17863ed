#include "framework/TMoneyText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vesko {

std::string TMoneyText::Digits(float amount) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", double(amount));
    std::string s = buf;
    const size_t dot = s.find('.');
    if (dot != std::string::npos && s.size() > dot + 3) s.resize(dot + 3);
    return s;
}

double TMoneyText::ShownCents(float amount) {
    return std::nearbyint(std::strtod(Digits(amount).c_str(), nullptr) * 100.0);
}

}  // namespace vesko

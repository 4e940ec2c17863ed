#pragma once
#include <cstdint>

namespace vesko {

// One bit of a byte: a small value (0 or 1), copied rather than shared.
class TBit {
public:
    static TBit Create(int32_t v);

    // Stores 1 for any non-zero value, else 0.
    void SetValue(int32_t v) { value = v != 0 ? 1 : 0; }
    int32_t GetValue() const { return value; }
    TBit clone() const { return *this; }

    uint8_t value = 0;
};

}  // namespace vesko

#include "persistence/TBit.h"

namespace vesko {

TBit TBit::Create(int32_t v) {
    TBit b;
    b.SetValue(v);
    return b;
}

}  // namespace vesko

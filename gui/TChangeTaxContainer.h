#pragma once
#include <cstdint>

class TTaxTool;

// The context of a typed tax rate: the panel and the level (1 … 5) the text field edits, so
// the callback changes that level even if the panel has turned to another one meanwhile.
struct TChangeTaxContainer {
    TTaxTool* taxTool = nullptr;
    int32_t techlevel = 1;
};

#pragma once
#include <string>

// The answer of an editing command before it acts: what it costs, or why it cannot be done (a
// German reason for the player).
struct TEditCheck {
    float cost = 0;
    std::string reason;  // empty when the command can run
    bool Ok() const { return reason.empty(); }
};

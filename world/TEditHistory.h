#pragma once
#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "world/TEditCommand.h"

// The editing commands of this sitting, newest last, so they can be taken back in reverse
// order. A loaded or new city starts with none.
class TEditHistory {
public:
    static constexpr size_t depth = 50;

    // Executes the command and keeps it when it was done; the check's answer.
    TEditCommand::TCheck Run(TLayer& world, std::unique_ptr<TEditCommand> command);
    // Takes back the newest command; what it was, or empty when there is nothing to take back.
    std::string Undo(TLayer& world);
    size_t Count() const { return done.size(); }

private:
    std::deque<std::unique_ptr<TEditCommand>> done;
};

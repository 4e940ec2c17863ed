#include "world/TEditHistory.h"

TEditCommand::TCheck TEditHistory::Run(TLayer& world, std::unique_ptr<TEditCommand> command) {
    if (!command) return {0, TrNoop("Nichts zu tun")};
    const TEditCommand::TCheck check = command->Execute(world);
    if (!check.Ok()) return check;
    done.push_back(std::move(command));
    if (done.size() > depth) done.pop_front();
    return check;
}

std::string TEditHistory::Undo(TLayer& world) {
    if (done.empty()) return {};
    std::unique_ptr<TEditCommand> last = std::move(done.back());
    done.pop_back();
    last->Undo(world);
    return last->What();
}

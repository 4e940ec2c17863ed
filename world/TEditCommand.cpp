#include "world/TEditCommand.h"

TEditCommand::TCheck TEditCommand::Execute(TLayer& world) {
    TCheck check = Check(world);
    if (!check.Ok()) return check;
    if (!world.expendMoney(check.cost, TMoneyKind::construction)) {
        check.reason = tooLittleMoney;
        return check;
    }
    int32_t x = 0, y = 0, w = 0, h = 0;
    _Area(x, y, w, h);
    before.Take(world, x, y, w, h);
    const TLayer::TThing thing = _Do(world);
    if (!std::holds_alternative<std::monostate>(thing)) world._callShowMoneyFunc(thing, -check.cost);
    paid = check.cost;
    done = true;
    return check;
}

void TEditCommand::Undo(TLayer& world) {
    if (!done) return;
    before.Restore(world);
    // A negative cost is money coming back.
    world.expendMoney(-paid, TMoneyKind::construction);
    done = false;
}

std::string TEditCommand::_MoneyReason(TLayer& world, float cost) {
    return world.enoughMoneyToBuy(cost) ? std::string() : std::string(tooLittleMoney);
}

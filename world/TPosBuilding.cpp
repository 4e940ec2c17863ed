#include "world/TPosBuilding.h"

std::shared_ptr<TPosBuilding> TPosBuilding::Create(const std::shared_ptr<TBuilding>& building, float dis) {
    auto p = std::make_shared<TPosBuilding>();
    p->building = building;
    p->dis = dis;
    return p;
}

void TPosBuilding::AddSortedToList(const std::shared_ptr<TPosBuilding>& entry,
                                   std::vector<std::shared_ptr<TPosBuilding>>& list) {
    if (!entry) return;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if ((*it)->dis > entry->dis) {
            list.insert(it, entry);
            return;
        }
    }
    list.push_back(entry);
}

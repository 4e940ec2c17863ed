#include "world/THabitantPool.h"

#include "framework/TFastRandom.h"
#include "platform/TPaths.h"
#include "platform/TStream.h"
#include "world/TBuilding.h"
#include "world/THabitant.h"
#include "world/THabitantControl.h"
#include "world/TJob.h"
#include "world/TLayer.h"
#include "world/TNameGenerator.h"

namespace {
// Surname of newcomers while no name list could be read.
const char* const fallbackSurname = "Neubürger";

bool ValidLevel(int32_t level) { return level >= 1 && level <= THabitantPool::countTechlevel; }
}  // namespace

std::shared_ptr<THabitantPool> THabitantPool::Create(TLayer* layer) {
    auto pool = std::make_shared<THabitantPool>();
    pool->generate(layer);
    return pool;
}

int32_t THabitantPool::generate(TLayer* world) {
    availableHomes.Clear();
    layer = world;
    nameGenerator = TNameGenerator::CreateFromFile(TPaths::Resolve(nameFile));
    if (!nameGenerator) Print(std::string("Could not read the name list ") + nameFile);
    taxes.fill(0.0f);
    requests.fill(0.0f);
    _setDefaultTaxes();
    hbtCrtl = std::make_shared<THabitantControl>();
    return 1;
}

void THabitantPool::Destroy() {
    layer = nullptr;
    activeHabitant.Clear();
    poolHabitant.Clear();
    availableHomes.Clear();
    nameGenerator.reset();
    taxes.fill(0.0f);
    requests.fill(0.0f);
}

void THabitantPool::_setDefaultTaxes() {
    for (int32_t level = 1; level <= countTechlevel; ++level) setTaxes(level, defaultTaxes);
}

void THabitantPool::setTaxes(int32_t level, float value) {
    if (ValidLevel(level)) taxes[size_t(level - 1)] = value;
}

float THabitantPool::getTaxes(int32_t level) const { return ValidLevel(level) ? taxes[size_t(level - 1)] : 0.0f; }

float THabitantPool::getRequestForLvl(int32_t level) const {
    return ValidLevel(level) ? requests[size_t(level - 1)] : 0.0f;
}

void THabitantPool::regHouseForHabitant(const std::shared_ptr<TBuilding>& building) {
    if (building) availableHomes.Append(building);
}

float THabitantPool::calcTaxMoneyForHabitant(const THabitant& h) const {
    if (!h.job) return 0.0f;
    const int32_t level = h.GetLevel();
    const float factor = float(level + 1);
    return getTaxes(level) * factor * factor;
}

void THabitantPool::Update() {
    // A house torn down since it offered a vacancy takes nobody.
    availableHomes.RemoveIf([](const std::shared_ptr<TBuilding>& b) { return !b->IsValid(); });
    hbtCrtl->moveIns(*this);
    hbtCrtl->arrivals(*this);
    _recalcSatisfaction();
    _recalcRequests();
    hbtCrtl->departures(*this);
    availableHomes.Clear();
}

void THabitantPool::_leaveCity(const std::shared_ptr<THabitant>& h) {
    if (h->job) {
        if (h->job->building) h->job->building->_delWorker(h);
        h->job->unuseIt();
        h->job.reset();
    }
    if (h->home) h->home->_delHabitant(h);
    _removeActiveHabitant(h);
    _removePoolHabitant(h);
}

void THabitantPool::_recalcSatisfaction() {
    const auto active = activeHabitant.Items();
    if (active.empty()) {
        satisfaction = 0.5f;
        return;
    }
    float sum = 0.0f;
    for (const auto& h : active) {
        hbtCrtl->updateHabitant(*h, *this);
        sum += h->satisfaction;
    }
    satisfaction = sum / float(active.size());
}

void THabitantPool::_recalcRequests() {
    requests.fill(0.0f);
    std::array<int32_t, countTechlevel + 1> counter{};
    for (const auto& h : activeHabitant.Items()) {
        const int32_t level = h->GetLevel();
        // Houses of a level outside 1 … 5 have no demand slot.
        if (!ValidLevel(level)) continue;
        if (h->wantToLevelUp()) requests[size_t(level)] += 1.0f;
        counter[size_t(level)] += 1;
    }
    for (int32_t level = 1; level <= countTechlevel; ++level) {
        const int32_t n = counter[size_t(level)];
        requests[size_t(level)] = n > 0 ? requests[size_t(level)] / float(n) : 0.0f;
    }
    requests[0] = hbtCrtl->getLevel1Request(*this);
}

std::shared_ptr<THabitant> THabitantPool::getPoolHabitantForHome(const TBuilding& building) {
    return hbtCrtl->getHabitant(building, *this);
}

std::shared_ptr<THabitant> THabitantPool::getPoolHabitant(int32_t level) {
    if (level == 1) return poolHabitant.Empty() ? nullptr : poolHabitant[0];
    if (level < 2) return nullptr;
    std::shared_ptr<THabitant> found;
    for (const auto& h : activeHabitant.Items()) {
        if (h->GetLevel() + 1 == level && h->wantToLevelUp()) found = h;
    }
    return found;
}

std::string THabitantPool::generateName() {
    vesko::TFastRandom* random = layer ? layer->random.get() : nullptr;
    // The surname's draw comes before the initial's.
    const float f = random ? random->GetFloatIn(1.0f, 0.0f) : 0.0f;
    std::string surname = nameGenerator ? nameGenerator->pickName(f) : std::string();
    if (surname.empty()) surname = fallbackSurname;
    const int32_t letter = random ? random->GetIntIn(65, 90) : 65;
    return std::string(1, char(letter)) + ". " + surname;
}

void THabitantPool::kickToActiveHabitant(const std::shared_ptr<THabitant>& h) {
    _removePoolHabitant(h);
    _addActiveHabitant(h);
}

void THabitantPool::kickToPoolHabitant(const std::shared_ptr<THabitant>& h) {
    _removeActiveHabitant(h);
    _addPoolHabitant(h);
}

std::shared_ptr<THabitant> THabitantPool::_createNewHabitant() {
    auto h = std::make_shared<THabitant>();
    h->id = counter;
    h->Name = generateName();
    h->satisfaction = 1.0f;
    counter += 1;
    return h;
}

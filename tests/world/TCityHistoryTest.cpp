// The city's history: every change of money booked by kind so that a month's flows add up to
// its change of money, old months merged without losing a cent, the history kept by a saved city
// (a damaged one keeping its sound months), and population milestones announced once.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <sstream>

#include "../support/TempDir.h"
#include "BuildingTestSupport.h"
#include "persistence/TDataFile.h"
#include "persistence/TFileFlag.h"
#include "persistence/TFileHeader.h"
#include "plugins/TPlugin.h"
#include "world/TBuildCommand.h"
#include "world/TDestroyCommand.h"
#include "world/TGrowthControl.h"
#include "world/TRoadCommand.h"

namespace {
using K = TMoneyKind;
constexpr size_t kinds = size_t(K::count);

class CityHistoryTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        PayFromWorld();
        world->setMilestoneFunc(&Note, this);
        pool->hbtCrtl = std::make_shared<TGrowthControl>();
        world->setMoney(10000);
        world->dateYear = world->dateMonth = 1;
        world->history.Begin(world->getMoney(), 1, 1);
        for (const auto& p : {land, water}) TPlugin::_add(p);
    }
    static void Note(void* self, const std::string& text) {
        static_cast<CityHistoryTest*>(self)->notes.push_back(text);
    }
    std::vector<std::string> notes;
    TempDir dir;
};

TEST_F(CityHistoryTest, EveryChangeOfMoneyIsBookedByKindAndTheMonthAddsUp) {
    rl->BuildRoad(town, Line(2, 8, 17, 8), 1, 0);
    auto house = Kind("residentalbuilding", 1, 1, 6), villa = Kind("residentalbuilding", 1, 1, 6, 2);
    auto shop = Kind("commercialbuilding", 1, 1, 8), park = Kind("publicpark", 1, 1, 0);
    house->price = 500, house->alimony = 20, villa->alimony = 40, shop->alimony = 30, park->alimony = 5;
    const auto home = Built(house, 3, 9), upper = Built(villa, 5, 9), work = Built(shop, 7, 9);
    Built(park, 9, 9);
    for (const auto& at : {home, home, upper}) {  // two residents of level 1 and one of level 2, all at the shop
        auto h = Newcomer();
        at->AddHabitantFromPool(h);
        h->job = TJob::Create(work, nullptr, nullptr);
        work->_regWorker(h);
    }
    const auto tax = [&](int32_t level) { return double(pool->getTaxes(level)) * (level + 1) * (level + 1); };
    const double road = TRoadCommand(town, 3, 3, 7, 3).Check(*world).cost;
    const auto run = [&](TEditCommand* c) {
        return [=, this] { world->RunCommand(std::unique_ptr<TEditCommand>(c)); };
    };
    const auto undo = [&] { world->UndoCommand(); };
    const struct {
        const char* what;
        std::function<void()> act;
        std::map<K, double> change;
    } rows[] = {
        {"a house", run(new TBuildCommand(house, 11, 9)), {{K::construction, -500}}},
        {"a refused one", run(new TBuildCommand(house, 11, 9)), {}},
        {"a road", run(new TRoadCommand(town, 3, 3, 7, 3)), {{K::construction, -road}}},
        {"the road taken back", undo, {{K::construction, road}}},
        {"a demolition (free)", run(new TDestroyCommand(11, 9, 1)), {}},
        {"the demolition taken back", undo, {}},
        {"the house taken back", undo, {{K::construction, 500}}},
        {"a cheat", [&] { world->addMoney(100000, K::other); }, {{K::other, 100000}}},
        {"the month's end",
         [&] { world->dateMonth = 2, world->_updateNewMonth(); },
         {{K::upkeepResidential, -60},
          {K::upkeepCommercial, -30},
          {K::upkeepPark, -5},
          {K::taxLevel1, 2 * tax(1)},
          {K::taxLevel2, tax(2)},
          {K::businessTax, 3 * 0.5 * tax(1)}}},
    };
    const double opening = world->getMoney();
    std::array<double, kinds> expected{};
    for (const auto& row : rows) {
        row.act();
        for (const auto& [kind, amount] : row.change) expected[size_t(kind)] += amount;
        const auto& h = world->history;
        const TMonthRecord& month = h.Months().empty() ? h.Current() : h.Months().back();
        // Within the rounding of the world's float money, which the largest part of a booking takes.
        for (size_t k = 0; k < kinds; ++k) EXPECT_NEAR(month.flow[k], expected[k], 0.01) << row.what << ", kind " << k;
        EXPECT_NEAR(month.Income() + month.Expenses(), world->getMoney() - opening, 0.005) << row.what;
    }
    // The closed month keeps the city's state; the next begins from its money.
    const auto &closed = world->history.Months().at(0), &next = world->history.Current();
    EXPECT_EQ(std::tie(closed.month, closed.opening, closed.inhabitants, closed.employed, next.month, next.opening),
              std::make_tuple(1, opening, 3, 3, 2, double(world->getMoney())));
}

TEST(CityHistoryThinning, OldMonthsMergeIntoQuartersAndYearsWithoutLosingACent) {
    for (const auto& [years, first] : {std::pair{9, 1}, {15, 1}, {25, 5}, {100, 1}}) {
        TCityHistory history;
        history.Begin(1000, 1, first);
        double money = 1000;
        std::array<double, kinds> booked{}, flows{};
        for (int32_t i = 0; i < years * 12; ++i) {
            const double amount = (i % 3 ? 1 : -1) * (10.25 + i);
            history.Book(K(i % int32_t(kinds)), money, money + amount);
            money += amount, booked[size_t(i) % kinds] += amount;
            TMonthRecord state;
            state.money = money, state.inhabitants = i;
            history.Close(state, 1 + (first + i) / 12, 1 + (first + i) % 12);
        }
        const auto& rows = history.Months();
        const auto index = [](const TMonthRecord& m) { return (m.year - 1) * 12 + m.month - 1; };
        int32_t spanned = 0, whole = 0;
        double opening = 1000;
        for (const TMonthRecord& r : rows) {
            spanned += r.months;
            for (size_t k = 0; k < kinds; ++k) flows[k] += r.flow[k];
            EXPECT_EQ(std::make_pair(r.opening, r.inhabitants), std::make_pair(opening, spanned - 1))
                << "each row goes on from the one before and keeps its last month's state";
            EXPECT_NEAR(r.Income() + r.Expenses(), r.money - r.opening, 0.005);
            opening = r.money;
            // Whole months for ten years, then quarters, beyond twenty years whole years.
            const int32_t age = index(rows.back()) - index(r), span = age < 120 ? 1 : age < 240 ? 3 : 12;
            whole += age < 120;
            EXPECT_GE(r.month - r.months, (r.month - 1) / span * span) << years << ": within its quarter or year";
        }
        EXPECT_EQ(std::make_tuple(spanned, whole, opening),
                  std::make_tuple(years * 12, std::min(years * 12, 120), money));
        for (size_t k = 0; k < kinds; ++k) EXPECT_NEAR(flows[k], booked[k], 1e-6);
        EXPECT_LE(rows.size(), size_t(120 + 40 + years)) << years;
    }
}

TEST_F(CityHistoryTest, ASavedHistoryComesBackAndADamagedOneKeepsItsSoundMonths) {
    for (int32_t m = 1; m <= 6; ++m) {
        world->addMoney(100.5f * float(m), K::other);
        world->expendMoney(30, K::construction);
        world->dateMonth = m + 1;
        world->_updateNewMonth();
    }
    world->expendMoney(12.25f, K::construction);
    ASSERT_TRUE(world->Save(dir.File("city.sav")));
    const auto& saved = world->history;
    const struct {
        const char* what;
        const char* flag;  // the damaged flag: the n-th of that name, its word w set to text (null: left out)
        size_t n, w;
        const char* text;
        size_t kept;
        bool running;  // the running month's bookings kept
    } cases[] = {{"as saved", "", 0, 0, "", 6, true},
                 {"cut short", "month", 5, 0, nullptr, 5, true},
                 {"negative inhabitants", "month", 3, 3, "-4", 3, true},
                 {"money that is no number", "month", 2, 7, "nan", 2, true},
                 {"months out of order", "month", 4, 1, "3", 4, true},
                 {"a month after the city's present one", "month", 5, 0, "9", 5, true},
                 {"flows that do not add up", "month", 1, 15, "12345", 1, true},
                 {"a running month that does not add up", "current", 0, 4, "-1", 6, false}};
    for (const auto& c : cases) {
        auto file = vesko::TDataFile::Load(dir.File("city.sav"));
        ASSERT_TRUE(file && file->ReadIn());
        auto& flags = file->findHeader("history", 0)->Flags;
        std::vector<std::shared_ptr<vesko::TFileFlag>> named;
        for (const auto& f : flags) {
            if (f->Name == c.flag) named.push_back(f);
        }
        if (!named.empty() && !c.text) flags.erase(std::find(flags.begin(), flags.end(), named[c.n]));
        if (!named.empty() && c.text) {
            std::istringstream in(named[c.n]->value);
            std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
            words[c.w] = c.text;
            named[c.n]->value = words[0];
            for (size_t i = 1; i < words.size(); ++i) named[c.n]->value += " " + words[i];
        }
        file->setFilename(dir.File("changed.sav"));
        ASSERT_TRUE(file->WriteOut() && file->Save());
        std::string message;
        const auto loaded = TLayer::Load(dir.File("changed.sav"), message);
        ASSERT_TRUE(loaded) << c.what;
        const auto& h = loaded->history;
        EXPECT_EQ(message.empty(), c.kept == saved.Months().size() && c.running) << c.what << ": " << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one line";
        ASSERT_EQ(h.Months().size(), c.kept) << c.what;
        for (size_t i = 0; i < c.kept; ++i) {
            const auto &a = h.Months()[i], &b = saved.Months()[i];
            EXPECT_EQ(std::tie(a.year, a.month, a.months, a.inhabitants, a.money, a.opening, a.flow, a.demand),
                      std::tie(b.year, b.month, b.months, b.inhabitants, b.money, b.opening, b.flow, b.demand))
                << c.what << ", month " << i;
        }
        // A running month that does not add up begins again at the load.
        EXPECT_EQ(h.Current().flow == saved.Current().flow, c.running) << c.what;
        EXPECT_EQ(h.Current().opening, c.running ? saved.Current().opening : double(loaded->getMoney())) << c.what;
        loaded->Destroy();
    }
}

TEST_F(CityHistoryTest, MilestonesAreAnnouncedOnceAndNotAgainAfterALoad) {
    auto kind = Kind("residentalbuilding", 1, 1, 20000);
    TPlugin::_add(kind);
    Built(kind, 3, 9);
    std::shared_ptr<TLayer> city = world;
    const struct {
        int32_t inhabitants;
        bool reload;
        std::vector<int32_t> announced;
    } steps[] = {{99, false, {}},  {100, false, {100}}, {450, false, {}}, {1200, false, {500, 1000}},
                 {1200, true, {}}, {5000, true, {5000}}};
    for (const auto& s : steps) {
        const auto home = city->BuildingLayer->arrBuilding.Items()[0];
        while (city->habitantPool->countActiveHabitants() < s.inhabitants) {
            auto h = city->habitantPool->_createNewHabitant();
            city->habitantPool->_addPoolHabitant(h);
            home->AddHabitantFromPool(h);
        }
        if (s.reload) {
            ASSERT_TRUE(city->Save(dir.File("city.sav")));
            std::string message;
            if (city != world) city->Destroy();
            city = TLayer::Load(dir.File("city.sav"), message);
            ASSERT_TRUE(city && message.empty()) << message;
            city->setMilestoneFunc(&Note, this);
        }
        notes.clear();
        city->_updateNewDay();
        std::vector<std::string> expected;
        for (int32_t m : s.announced) expected.push_back(Tr("Meilenstein: %1 Einwohner!", m));
        EXPECT_EQ(notes, expected) << s.inhabitants;
    }
    if (city != world) city->Destroy();
}

}  // namespace

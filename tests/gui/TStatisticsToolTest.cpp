// The statistics panel: round axes, the series of each view, the account adding up, and a graph
// of sixteen years drawn inside its area in two batches (shapes, then texts).
#include <cmath>

#include "GUIFixture.h"
#include "framework/TFastRandom.h"
#include "gui/TStatisticsTool.h"
#include "platform/TGraphics.h"
#include "platform/TImageFont.h"
#include "world/TCityHistory.h"
#include "world/TLayer.h"

namespace {

using TView = TStatisticsTool::TView;

TEST(StatisticsAxis, StepsAreRoundAndHoldTheRange) {
    struct TCase {
        double lo, hi, min, max, step;
    } cases[] = {
        {0, 97, 0, 100, 20},     {0, 1, 0, 1, 0.2},   {-4800, 12100, -5000, 15000, 5000},
        {250, 250, 250, 275, 5}, {0, 0, 0, 1, 0.2},   {98000, 101000, 98000, 101000, 1000},
        {12, 3, 2, 12, 2},       {NAN, 5, 0, 1, 0.2},
    };
    for (const TCase& c : cases) {
        const auto a = TStatisticsTool::NiceAxis(c.lo, c.hi);
        EXPECT_DOUBLE_EQ(a.min, c.min) << c.lo << " … " << c.hi;
        EXPECT_DOUBLE_EQ(a.max, c.max) << c.lo << " … " << c.hi;
        EXPECT_DOUBLE_EQ(a.step, c.step) << c.lo << " … " << c.hi;
        EXPECT_LE((a.max - a.min) / a.step, 5.0 + 1e-9);
    }
    EXPECT_EQ(TStatisticsTool::MonthsOf(TStatisticsTool::TRange::year, 30), 12u);
    EXPECT_EQ(TStatisticsTool::MonthsOf(TStatisticsTool::TRange::decade, 30), 30u);
    EXPECT_EQ(TStatisticsTool::MonthsOf(TStatisticsTool::TRange::all, 300), 300u);
}

class StatisticsToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        gui->smallFont = gui->DefaultFont = TImageFont::Load("data/gfx/gui/font.ttf", 11, SMOOTHFONT);
        TLayer::Init(640, 480);
        layer = TLayer::Create(16, 16, vesko::TFastRandom::Create(1));
        tool = TStatisticsTool::Create(gui, 20, layer);
    }
    void TearDown() override {
        tool->Destroy();
        layer->Destroy();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        GUITest::TearDown();
    }
    // Ten years of a growing town: taxes and upkeep each month, a building now and then.
    void Grow(int32_t years) {
        double money = 100000;
        layer->history.Begin(money, 1, 1);
        for (int32_t m = 0; m < years * 12; ++m) {
            const double taxes = 40.0 * m, upkeep = -(300 + 5.0 * m), building = m % 7 == 0 ? -2500 : 0;
            layer->history.Book(TMoneyKind::taxLevel1, money, money + taxes);
            money += taxes;
            layer->history.Book(TMoneyKind::upkeepPublic, money, money + upkeep);
            money += upkeep;
            if (building != 0) layer->history.Book(TMoneyKind::construction, money, money + building);
            money += building;
            TMonthRecord state;
            state.inhabitants = 20 * m;
            state.employed = 15 * m;
            state.satisfaction = 0.5f + 0.4f * std::sin(float(m) * 0.1f);
            state.money = money;
            state.demand = {0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
            layer->history.Close(state, 1 + (m + 1) / 12, 1 + (m + 1) % 12);
        }
    }

    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TStatisticsTool> tool;
};

TEST_F(StatisticsToolTest, EachViewHasItsLinesAndTheAccountAddsUp) {
    Grow(2);
    const auto& months = layer->history.Months();
    ASSERT_EQ(months.size(), 24u);
    const size_t lines[] = {3, 1, 1, 5, 2};
    for (size_t v = 0; v < 5; ++v) {
        const auto series = TStatisticsTool::Series(TView(v), months);
        ASSERT_EQ(series.size(), lines[v]) << v;
        for (const auto& s : series) EXPECT_EQ(s.values.size(), months.size()) << s.name;
    }
    // Income against expenses: the expenses as a positive line.
    const auto flows = TStatisticsTool::Series(TView::flows, months);
    EXPECT_DOUBLE_EQ(flows[1].values[7], 300 + 5.0 * 7 + 2500);
    // The account's lines: each kind that booked, then the sum, which is the change of money.
    const auto account = TStatisticsTool::Account(months.back());
    ASSERT_EQ(account.size(), 3u);
    EXPECT_DOUBLE_EQ(account.back().amount, months.back().money - months[months.size() - 2].money);
}

TEST(StatisticsAccount, ShownCentsAddUpToTheShownChangeOfMoney) {
    // Money of a large city is a float: its steps are eighths of a unit, and each booking's
    // exact change rounds to cents differently from the money a player reads at either end.
    struct TCase {
        double opening, money;
        std::vector<std::pair<TMoneyKind, double>> flows;
        double sum;
    } cases[] = {
        {1491274.125,
         1502661.875,
         {{TMoneyKind::taxLevel1, 105.594},
          {TMoneyKind::taxLevel2, 939.6},
          {TMoneyKind::taxLevel3, 2560},
          {TMoneyKind::taxLevel4, 5519.9449},
          {TMoneyKind::businessTax, 4562.6051},
          {TMoneyKind::upkeepPark, -140},
          {TMoneyKind::upkeepPublic, -2160}},
         11387.76},
        // 99.99 as a float is 99.98999…, which the money text cuts to 99,98.
        {100, 99.99, {{TMoneyKind::construction, -0.004}, {TMoneyKind::upkeepRoads, -0.006}}, -0.02},
        {5000, 5000, {}, 0},
    };
    for (const TCase& c : cases) {
        TMonthRecord month;
        month.opening = c.opening;
        month.money = c.money;
        for (const auto& [kind, amount] : c.flows) month.flow[size_t(kind)] = amount;
        const auto lines = TStatisticsTool::Account(month);
        ASSERT_EQ(lines.size(), c.flows.size() + 1);
        double cents = 0;
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            EXPECT_DOUBLE_EQ(lines[i].amount * 100, std::nearbyint(lines[i].amount * 100)) << lines[i].name;
            EXPECT_NEAR(lines[i].amount, c.flows[i].second, 0.03) << lines[i].name;
            cents += std::nearbyint(lines[i].amount * 100);
        }
        EXPECT_DOUBLE_EQ(lines.back().amount, c.sum) << c.opening;
        EXPECT_DOUBLE_EQ(cents, std::nearbyint(c.sum * 100)) << c.opening;
    }
}

TEST_F(StatisticsToolTest, SixteenYearsAreDrawnInsideTheAreaInTwoBatches) {
    Grow(16);  // the oldest six years merged into quarters, all shown
    tool->choose(TStatisticsTool::TRange::all);
    tool->SHOW();
    for (TView view : {TView::people, TView::money, TView::demand, TView::account}) {
        tool->choose(view);
        Flip(0);
        backend->ClearLog();
        tool->drawArea(100, 50);
        Flip(0);
        size_t drawn = 0, texts = 0;
        for (const TDrawCall& c : backend->calls) {
            if (c.kind == TDrawCall::Line || c.kind == TDrawCall::Rect) {
                ++drawn;
                EXPECT_GE(c.x, 100.0f) << int(view);
                EXPECT_LE(c.x, 100.0f + TStatisticsTool::areaWidth) << int(view);
                EXPECT_GE(c.y, 50.0f) << int(view);
                EXPECT_LE(c.y, 50.0f + TStatisticsTool::areaHeight) << int(view);
            }
            if (c.kind == TDrawCall::Text) ++texts;
        }
        EXPECT_GT(texts, 4u) << int(view);
        if (view != TView::account) {
            EXPECT_GT(drawn, 119u) << int(view);
        }
        // Shapes first, then the texts: two device calls (the flip's own batch aside).
        EXPECT_LE(backend->batches.size(), 2u) << int(view);
    }
}

}  // namespace

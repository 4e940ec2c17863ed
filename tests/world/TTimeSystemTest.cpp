#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TTimer.h"
#include "world/TTimeSystem.h"

namespace {

float Day(int32_t d) { return float(d) * 24.0f; }

TEST(TTimeSystemTest, WeekdaysRepeatEverySevenDays) {
    EXPECT_EQ(TTimeSystem::GetDayWeek(0), 0);
    EXPECT_EQ(TTimeSystem::GetDayWeek(167.9f), 6);
    EXPECT_EQ(TTimeSystem::GetDayWeek(168), 0);
    EXPECT_EQ(TTimeSystem::GetDayWeek(192), 1);
    EXPECT_EQ(TTimeSystem::GetDayWeek(Day(7 * 1000 + 3) + 5), 3);
}

TEST(TTimeSystemTest, MonthWalkOfTheFirstYears) {
    EXPECT_EQ(TTimeSystem::GetMonth(0), 0);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(0), 0);
    EXPECT_EQ(TTimeSystem::GetMonth(743.9f), 0);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(743.9f), 30);
    EXPECT_EQ(TTimeSystem::GetMonth(744), 1);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(744), 0);
    // February of walk year 0 has 29 days.
    EXPECT_EQ(TTimeSystem::GetMonth(1416), 1);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(1416), 28);
    EXPECT_EQ(TTimeSystem::GetMonth(Day(60)), 2);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(Day(60)), 0);
    // Walk year 1 starts on day 366; its February (from day 397) has 28 days.
    EXPECT_EQ(TTimeSystem::GetMonth(Day(365)), 11);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(Day(365)), 30);
    EXPECT_EQ(TTimeSystem::GetMonth(Day(366)), 12);
    EXPECT_EQ(TTimeSystem::GetDayMonth(Day(366)), 0);
    EXPECT_EQ(TTimeSystem::GetMonth(Day(397 + 27)), 13);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(Day(397 + 27)), 27);
    EXPECT_EQ(TTimeSystem::GetMonth(Day(397 + 28)), 14);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(Day(397 + 28)), 0);
    // Walk year 4 is a leap year again: its February starts on day 1461 + 31.
    EXPECT_EQ(TTimeSystem::GetMonth(Day(1461 + 31 + 28)), 49);
    EXPECT_EQ(TTimeSystem::GetDayOfMonth(Day(1461 + 31 + 28)), 28);
    EXPECT_EQ(TTimeSystem::GetDayMonth(Day(1461 + 31 + 28)), 1);
}

TEST(TTimeSystemTest, MonthWalkStepsDayByDayOverManyYears) {
    // Day after day the date moves one day on, or to day 0 of the next month exactly when the
    // month (of its walk year) is full.
    int32_t month = 0, day = 0;
    for (int32_t d = 1; d < 366 * 13; ++d) {
        const int32_t len = TTimeSystem::GetDaysOfMonthYear(month, month / 12);
        if (++day == len) {
            day = 0;
            ++month;
        }
        const float h = Day(d) + 11.5f;
        ASSERT_EQ(TTimeSystem::GetMonth(h), month) << "day " << d;
        ASSERT_EQ(TTimeSystem::GetDayOfMonth(h), day) << "day " << d;
        ASSERT_EQ(TTimeSystem::GetDayMonth(h), month % 12) << "day " << d;
    }
}

TEST(TTimeSystemTest, YearsCountFixedYearLengths) {
    EXPECT_EQ(TTimeSystem::GetDayYear(0), 0);
    EXPECT_EQ(TTimeSystem::GetDayYear(8765), 0);
    EXPECT_EQ(TTimeSystem::GetDayYear(8766), 1);
    // At whole days: the year turns with day 366 (the first after 365.25), not with a month.
    EXPECT_EQ(TTimeSystem::GetDayYear(Day(365)), 0);
    EXPECT_EQ(TTimeSystem::GetDayYear(Day(366)), 1);
    EXPECT_EQ(TTimeSystem::GetDayYear(Day(730)), 1);
    EXPECT_EQ(TTimeSystem::GetDayYear(Day(731)), 2);
    EXPECT_EQ(TTimeSystem::GetDayYear(Day(1461)), 4);
}

TEST(TTimeSystemTest, MonthLengthsTakeTheMonthModTwelve) {
    EXPECT_EQ(TTimeSystem::GetDaysOfMonthYear(13, 1), 28);
    EXPECT_EQ(TTimeSystem::GetDaysOfMonthYear(13, 8), 29);
    EXPECT_EQ(TTimeSystem::GetDaysOfMonthYear(-11, 4), 29);
    EXPECT_EQ(TTimeSystem::GetDaysOfMonthYear(-1, 4), 31);
}

TEST(TTimeSystemTest, NamesComeFromTheTableOrTheDefaults) {
    const float may = Day(31 + 29 + 31 + 30 + 3);
    EXPECT_EQ(TTimeSystem::GetDayMonth(may), 4);
    EXPECT_EQ(TTimeSystem::GetDayMonthName({}, may), "M");
    EXPECT_EQ(TTimeSystem::GetDayMonthName({"a", "b"}, Day(40)), "F");
    const std::vector<std::string> months = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    EXPECT_EQ(TTimeSystem::GetDayMonthName(months, may), "Mai");
    EXPECT_EQ(TTimeSystem::GetDayMonthName(months, Day(365)), "Dezember");
    const std::vector<std::string> days = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    EXPECT_EQ(TTimeSystem::GetDayWeekName(days, Day(13)), "So");
    EXPECT_EQ(TTimeSystem::GetDayWeekName({"x"}, Day(13)), "6");
}

TEST(TTimeSystemTest, TimesOutsideTheCalendarGiveValidDates) {
    const float odd[] = {-1.0f,
                         -8766.0f * 3,
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         3.0e38f};
    for (float h : odd) {
        EXPECT_GE(TTimeSystem::GetMonth(h), 0) << h;
        const int32_t m = TTimeSystem::GetDayMonth(h);
        EXPECT_TRUE(m >= 0 && m < 12) << h;
        const int32_t d = TTimeSystem::GetDayOfMonth(h);
        EXPECT_TRUE(d >= 0 && d < 31) << h;
        const int32_t w = TTimeSystem::GetDayWeek(h);
        EXPECT_TRUE(w >= 0 && w < 7) << h;
        EXPECT_GE(TTimeSystem::GetDayYear(h), 0) << h;
        EXPECT_FALSE(TTimeSystem::GetDayMonthName({}, h).empty());
        EXPECT_FALSE(TTimeSystem::GetDayWeekName({}, h).empty());
    }
    // Before the start counts as the start.
    EXPECT_EQ(TTimeSystem::GetMonth(-100), 0);
    EXPECT_EQ(TTimeSystem::GetDayWeek(-100), 0);
}

class TimeSystemClockTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(1000);
        TClock::SetSource(clock);
    }
    void TearDown() override { TClock::SetSource(nullptr); }

    // Moves the clock in frames of frameMs; each frame the program's timers send their ticks
    // and the calendar looks at its own, as the world's step does.
    void RunFrames(TTimeSystem& ts, int32_t frames, int32_t frameMs) {
        for (int32_t i = 0; i < frames; ++i) {
            clock->Advance(frameMs);
            TTimer::EmitTicks();
            ts.Advance();
        }
    }
    std::shared_ptr<TManualClock> clock;
};

TEST_F(TimeSystemClockTest, CreateStartsStandingStill) {
    EXPECT_FALSE(TTimeSystem::Create(0));
    EXPECT_FALSE(TTimeSystem::Create(-8));
    auto ts = TTimeSystem::Create(8);
    ASSERT_TRUE(ts);
    EXPECT_EQ(ts->updateAPS, 8);
    EXPECT_TRUE(ts->timer);
    RunFrames(*ts, 60, 50);
    EXPECT_EQ(ts->GetHour(), 0);
}

TEST_F(TimeSystemClockTest, ADayLastsFiveSecondsAtSpeedOne) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    EXPECT_FLOAT_EQ(ts->hoursPerAdd, 0.6f);
    EXPECT_FLOAT_EQ(ts->getSpeedPerSecond(), 4.8f);
    // Tick by tick: the 40th tick completes the day.
    for (int32_t tick = 1; tick <= 40; ++tick) {
        RunFrames(*ts, 1, 125);
        const int32_t day = static_cast<int32_t>(TTimeSystem::getDay(ts->GetHour()));
        ASSERT_EQ(day, tick == 40 ? 1 : 0) << "tick " << tick;
    }
    EXPECT_NEAR(ts->GetHour(), 24.0f, 1e-4f);
}

TEST_F(TimeSystemClockTest, SlowFramesLoseNoTime) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    // One frame of a whole second carries eight ticks in one event.
    RunFrames(*ts, 1, 1000);
    EXPECT_NEAR(ts->GetHour(), 4.8f, 1e-4f);
    RunFrames(*ts, 3, 420);
    EXPECT_NEAR(ts->GetHour(), 18 * 0.6f, 1e-4f);  // 2260 ms: 18 ticks
}

TEST_F(TimeSystemClockTest, SpeedScalesTheDayAndZeroStopsIt) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(2 * 4.8f);
    RunFrames(*ts, 150, 1000 / 60 + 1);  // 2550 ms
    EXPECT_EQ(static_cast<int32_t>(TTimeSystem::getDay(ts->GetHour())), 1);
    ts->setSpeedPerSecond(0);
    const float stopped = ts->GetHour();
    RunFrames(*ts, 100, 50);
    EXPECT_EQ(ts->GetHour(), stopped);
    EXPECT_EQ(ts->timer->Ticks(), 60);  // the timer itself ran on
    ts->setSpeedPerSecond(4.8f);
    RunFrames(*ts, 1, 125);
    EXPECT_NEAR(ts->GetHour(), stopped + 0.6f, 1e-4f);
}

TEST_F(TimeSystemClockTest, DailyMonthlyAndYearlyStepsAtSpeedOne) {
    // The world reads the hour once a frame and runs a step whenever the whole day, the month or
    // the year it derives changes. At 20 frames a second over 367 game days:
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    int32_t lastDay = 0, lastMonth = 0, lastYear = 0;
    int32_t newDays = 0, newMonths = 0, newYears = 0;
    int32_t frame = 0;
    std::vector<int32_t> monthStartDays;
    while (lastDay < 367) {
        RunFrames(*ts, 1, 50);
        ++frame;
        const float h = ts->GetHour();
        const int32_t day = static_cast<int32_t>(TTimeSystem::getDay(h));
        if (day == lastDay) continue;
        ASSERT_EQ(day, lastDay + 1) << "no day is skipped";
        // Each new day begins in the frame that completes its 5 seconds.
        ASSERT_EQ(frame, day * 100) << "day " << day;
        lastDay = day;
        ++newDays;
        const int32_t month = TTimeSystem::GetDayMonth(h);
        const int32_t year = TTimeSystem::GetDayYear(h);
        if (month != lastMonth) {
            ++newMonths;
            monthStartDays.push_back(day);
        }
        if (year != lastYear) {
            ++newYears;
            EXPECT_EQ(day, 366);
        }
        lastMonth = month;
        lastYear = year;
    }
    EXPECT_EQ(newDays, 367);
    EXPECT_EQ(newYears, 1);
    const std::vector<int32_t> expected = {31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};
    EXPECT_EQ(monthStartDays, expected);
    EXPECT_EQ(newMonths, 12);
}

TEST_F(TimeSystemClockTest, SetHourSetDayAndDirectWrites) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    ts->SetDay(2);
    EXPECT_EQ(ts->GetHour(), 48);
    RunFrames(*ts, 1, 125);
    EXPECT_NEAR(ts->GetHour(), 48.6f, 1e-4f);
    ts->SetHour(1000.25f);
    RunFrames(*ts, 1, 125);
    EXPECT_NEAR(ts->GetHour(), 1000.85f, 1e-3f);
    // A value written straight into the field is where the time goes on from.
    ts->hour = 5;
    RunFrames(*ts, 1, 125);
    EXPECT_NEAR(ts->GetHour(), 5.6f, 1e-4f);
}

TEST_F(TimeSystemClockTest, OnlyItsOwnTicksMoveTheCalendar) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    auto other = TTimer::Create(100);
    RunFrames(*ts, 1, 100);  // other timer ticks ten times, the calendar not yet
    EXPECT_EQ(ts->GetHour(), 0);
    TEvent foreign;
    foreign.id = EVENT_TIMERTICK;
    foreign.source = other.get();
    foreign.data = 50;
    TEventHooks::EmitEvent(&foreign);
    EXPECT_EQ(ts->GetHour(), 0);
    // An event addressed to the calendar itself counts as one tick.
    TEvent own;
    own.id = EVENT_USER;
    own.source = ts.get();
    TEventHooks::EmitEvent(&own);
    EXPECT_NEAR(ts->GetHour(), 0.6f, 1e-5f);
}

TEST_F(TimeSystemClockTest, DroppedCalendarLeavesNoHookBehind) {
    auto ts = TTimeSystem::Create(8);
    ts->setSpeedPerSecond(4.8f);
    auto keep = TTimeSystem::Create(8);
    keep->setSpeedPerSecond(4.8f);
    ts.reset();
    TEvent e;
    e.id = EVENT_USER;
    EXPECT_EQ(TEventHooks::EmitEvent(&e), &e);
    RunFrames(*keep, 8, 125);
    EXPECT_NEAR(keep->GetHour(), 4.8f, 1e-4f);
}

}  // namespace

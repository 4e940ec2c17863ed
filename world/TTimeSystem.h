#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TEvent;
class TTimer;
class TWorldFile;

// The game calendar: the time as hours since the start of the game, advanced by a timer of its
// own on the world's clock, one check per simulation step, and the static conversions of such a time into days,
// weekdays, months and years.
//
// The calendar is simplified: every fourth year of the month walk, starting with year 0, is a
// leap year, while the year number comes from a fixed year length of 8766 hours (365.25 days);
// the two counters are computed independently. Times before the start count as the start in
// the date conversions.
class TTimeSystem {
public:
    static constexpr float hoursPerYear = 8766.0f;

    // Null for a tick rate of 0 or less.
    static std::shared_ptr<TTimeSystem> Create(int32_t ticksPerSecond);
    TTimeSystem() = default;
    TTimeSystem(const TTimeSystem&) = delete;
    TTimeSystem& operator=(const TTimeSystem&) = delete;
    ~TTimeSystem();

    // Starts the timer and hooks its ticks; the time starts at 0 and stands still until a speed
    // is set. Returns 1 (0 for a tick rate of 0 or less).
    int32_t generate(int32_t ticksPerSecond);
    void setSpeedPerSecond(float h);
    float getSpeedPerSecond() const;
    void SetHour(float h);
    float GetHour() const { return hour; }
    void SetDay(float d);
    // Sends the calendar's timer's tick when the clock has moved it on (the world's step).
    void Advance();
    // A tick of this calendar's timer adds hoursPerAdd for every tick it stands for.
    void OnEvent(TEvent* event);
    static TEvent* _Hook(int32_t id, TEvent* data, void* context);

    // The calendar's section of a saved city: the exact time, the speed and where the timer
    // stands between its ticks, so a loaded city's days turn at the same moments.
    void _onSave(TWorldFile& file) const;
    void _onLoad(TWorldFile& file);

    static float getDay(float h);
    static float GetHourFromDay(float d);
    static float GetDayHour(float h);
    static int32_t GetDayYear(float h);
    static int32_t GetMonth(float h);
    static int32_t GetDayMonth(float h);
    static int32_t GetDayOfMonth(float h);
    static int32_t GetDayWeek(float h);
    static int32_t yearIsLeapYear(int32_t y);
    static int32_t GetDaysOfMonthYear(int32_t m, int32_t y);
    static std::string GetDayMonthName(const std::vector<std::string>& names, float h);
    static std::string GetDayWeekName(const std::vector<std::string>& names, float h);

    std::shared_ptr<TTimer> timer;
    int32_t updateAPS = 0;
    float hoursPerAdd = 0;
    float hour = 0;

private:
    // The time is summed in double precision: adding 0.6 hours as a float drifts (40 ticks
    // would not make a full day), and late in a game the float steps grow coarser than a tick.
    double exactHour = 0;
    // The timer's tick count at the last tick event; one event can stand for several ticks
    // when a frame took longer than a tick.
    int32_t lastTimerTick = 0;
    bool hooked = false;
};

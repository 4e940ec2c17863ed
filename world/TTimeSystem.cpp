#include "world/TTimeSystem.h"

#include <array>
#include <cmath>

#include "persistence/TDataFile.h"
#include "platform/TEvent.h"
#include "platform/TTimer.h"
#include "world/TWorldFile.h"

namespace {
const std::array<const char*, 12> defaultMonthNames = {"J", "F", "M", "A", "M", "J", "J", "A", "S", "O", "N", "D"};
const std::array<const char*, 7> defaultWeekdayNames = {"0", "1", "2", "3", "4", "5", "6"};

// Days in one cycle of four walk years (the first a leap year), i.e. 48 months.
constexpr int64_t daysPerCycle = 4 * 365 + 1;
constexpr int32_t monthsPerCycle = 48;

// Whole days since the start; times before the start (and NaN) count as day 0, and times
// beyond the 32-bit day range as its last day.
int64_t WholeDays(float h) {
    const float day = TTimeSystem::getDay(h);
    if (!(day >= 0.0f)) return 0;
    if (day >= 2147483647.0f) return INT32_MAX;
    return static_cast<int64_t>(day);
}

struct TMonthPos {
    int32_t month;  // months since the start
    int32_t day;    // day within that month
};

// The month walk: subtract month lengths (year of month i = i / 12) until the day falls inside
// a month. Whole four-year cycles are skipped at once so that late times cost no more than early ones.
TMonthPos WalkMonths(float h) {
    const int64_t d = WholeDays(h);
    int64_t rest = d % daysPerCycle;
    int32_t i = 0;
    for (;;) {
        const int32_t len = TTimeSystem::GetDaysOfMonthYear(i, i / 12);
        if (rest < len) break;
        rest -= len;
        ++i;
    }
    return {static_cast<int32_t>(d / daysPerCycle * monthsPerCycle + i), static_cast<int32_t>(rest)};
}
}  // namespace

std::shared_ptr<TTimeSystem> TTimeSystem::Create(int32_t ticksPerSecond) {
    auto ts = std::make_shared<TTimeSystem>();
    if (!ts->generate(ticksPerSecond)) return nullptr;
    return ts;
}

TTimeSystem::~TTimeSystem() {
    // The hook holds this calendar as its context; it must not outlive it.
    if (hooked) TEventHooks::RemoveHook(_Hook, this);
}

int32_t TTimeSystem::generate(int32_t ticksPerSecond) {
    if (ticksPerSecond <= 0) return 0;
    updateAPS = ticksPerSecond;
    // The calendar's timer is its own: its ticks are sent by Advance, in the world's step, not
    // by the program's event pump, so the calendar moves only as the world simulates.
    timer = TTimer::Create(float(ticksPerSecond), TEvent::Create(EVENT_TIMERTICK, this), false);
    lastTimerTick = 0;
    SetHour(0);
    hoursPerAdd = 0;
    if (!hooked) {
        TEventHooks::AddHook(_Hook, this);
        hooked = true;
    }
    return 1;
}

void TTimeSystem::setSpeedPerSecond(float h) { hoursPerAdd = updateAPS > 0 ? h / float(updateAPS) : 0.0f; }

float TTimeSystem::getSpeedPerSecond() const { return hoursPerAdd * float(updateAPS); }

void TTimeSystem::SetHour(float h) {
    hour = h;
    exactHour = h;
}

void TTimeSystem::SetDay(float d) { SetHour(d * 24.0f); }

void TTimeSystem::Advance() {
    if (timer) timer->Emit();
}

void TTimeSystem::OnEvent(TEvent* event) {
    if (!event) return;
    int64_t ticks = 0;
    if (timer && event->source == timer.get() && event->id == EVENT_TIMERTICK) {
        // The platform sends one event per change of the tick count; its data is the count.
        ticks = int64_t(event->data) - lastTimerTick;
        lastTimerTick = event->data;
        if (ticks <= 0) ticks = 1;
    } else if (event->source == this) {
        ticks = 1;
    } else {
        return;
    }
    // Someone may have written the field directly; that value wins.
    if (float(exactHour) != hour) exactHour = hour;
    exactHour += double(ticks) * double(hoursPerAdd);
    hour = float(exactHour);
}

TEvent* TTimeSystem::_Hook(int32_t /*id*/, TEvent* data, void* context) {
    if (data && context) static_cast<TTimeSystem*>(context)->OnEvent(data);
    return data;
}

float TTimeSystem::getDay(float h) { return h / 24.0f; }

float TTimeSystem::GetHourFromDay(float d) { return d * 24.0f; }

float TTimeSystem::GetDayHour(float h) { return std::fmod(h, 24.0f); }

int32_t TTimeSystem::GetDayYear(float h) {
    const float y = h / hoursPerYear;
    if (!(y >= 0.0f)) return 0;
    if (y >= 2147483647.0f) return INT32_MAX;
    return static_cast<int32_t>(y);
}

int32_t TTimeSystem::GetMonth(float h) { return WalkMonths(h).month; }

int32_t TTimeSystem::GetDayMonth(float h) { return GetMonth(h) % 12; }

int32_t TTimeSystem::GetDayOfMonth(float h) { return WalkMonths(h).day; }

int32_t TTimeSystem::GetDayWeek(float h) { return static_cast<int32_t>(WholeDays(h) % 7); }

int32_t TTimeSystem::yearIsLeapYear(int32_t y) { return y % 4 == 0 ? 1 : 0; }

int32_t TTimeSystem::GetDaysOfMonthYear(int32_t m, int32_t y) {
    switch (((m % 12) + 12) % 12) {
        case 1: return yearIsLeapYear(y) ? 29 : 28;
        case 3:
        case 5:
        case 8:
        case 10: return 30;
        default: return 31;
    }
}

std::string TTimeSystem::GetDayMonthName(const std::vector<std::string>& names, float h) {
    const int32_t m = GetDayMonth(h);
    if (names.size() < 12) return defaultMonthNames[m];
    return names[m];
}

std::string TTimeSystem::GetDayWeekName(const std::vector<std::string>& names, float h) {
    const int32_t d = GetDayWeek(h);
    if (names.size() < 7) return defaultWeekdayNames[d];
    return names[d];
}

void TTimeSystem::_onSave(TWorldFile& wf) const {
    wf.file.addHeader("calendar");
    TRecord r;
    r.AddDouble(exactHour).AddFloat(hour).AddFloat(hoursPerAdd).AddInt(lastTimerTick);
    // The timer's milliseconds as a signed number: they wrap after 49 days like the clock.
    r.AddInt(timer ? int32_t(timer->ElapsedMS()) : 0).AddInt(timer ? timer->Emitted() : 0);
    wf.AddRecord("time", r);
}

void TTimeSystem::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("calendar");
    const auto flag = section ? section->findFlag("time") : nullptr;
    if (!section) return;
    TRecord r(flag ? flag->value : std::string());
    double exact = 0;
    float h = 0, perAdd = 0;
    int32_t lastTick = 0, elapsed = 0, emitted = 0;
    if (!r.Double(exact) || !r.Float(h) || !r.Float(perAdd) || !r.Int(lastTick, 0, INT32_MAX) ||
        !r.Int(elapsed, INT32_MIN, INT32_MAX) || !r.Int(emitted, 0, INT32_MAX) || !r.AtEnd() || exact < 0 || perAdd < 0)
        return wf.Broken("calendar");
    exactHour = exact;
    hour = h;
    hoursPerAdd = perAdd;
    lastTimerTick = lastTick;
    if (timer) timer->Resume(uint32_t(elapsed), emitted);
}

#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TWorldFile;

// What moved the city's money, by kind. Income is positive, expenses negative.
enum class TMoneyKind : int32_t {
    taxLevel1,
    taxLevel2,
    taxLevel3,
    taxLevel4,
    taxLevel5,    // inhabitants' taxes per level
    businessTax,  // work buildings' income
    upkeepResidential,
    upkeepCommercial,
    upkeepIndustrial,
    upkeepPark,
    upkeepPublic,
    upkeepAward,
    upkeepRoads,
    construction,  // roads, buildings, demolition; undo refunds
    other,         // anything else (cheats)
    count
};

struct TMonthRecord {
    int32_t year = 0, month = 0;  // the game month this row closes (calendar's numbering)
    int32_t inhabitants = 0, employed = 0, waiting = 0;
    float satisfaction = 0;                                // 0 … 1
    double money = 0;                                      // at the month's end
    std::array<float, 5> demand{};                         // per level 1 … 5, 0 … 1 as the pool computes it
    std::array<double, size_t(TMoneyKind::count)> flow{};  // the month's bookings by kind
    // The game months the row spans: 1, or more for an old row merged into a quarter or a year
    // (its year and month are then those of the span's last month).
    int32_t months = 1;
    // The money at the start of the span: money - opening is the sum of the flows.
    double opening = 0;
    double Income() const;    // sum of positive flows
    double Expenses() const;  // sum of negative flows (negative)
};

// The city's account and state month by month. Every change of the world's money is booked into
// the running month by kind; the month change closes it with the city's state and begins the
// next from the same money, so each row's flows add up to its change of money. The months of
// the last ten years stay whole; older ones are merged into quarters, and those older than
// twenty years into whole years, so a long game keeps a small history. It also remembers the
// highest inhabitant milestone the city reached.
class TCityHistory {
public:
    static constexpr int32_t wholeYears = 10;
    static constexpr int32_t quarterYears = 20;
    static constexpr std::array<int32_t, 5> milestones{100, 500, 1000, 5000, 10000};

    // The closed months, oldest first.
    const std::vector<TMonthRecord>& Months() const { return months; }
    // The month running now (its flows so far).
    const TMonthRecord& Current() const { return current; }
    static std::string KindName(TMoneyKind kind);  // German, for Tr at display (mark with TrNoop)
    // The kind's name as a column of the simulator's table ("taxLevel1", "construction", …).
    static const char* KindId(TMoneyKind kind);

    // --- the account ---
    // Whether the running month has begun, i.e. its opening money is known.
    bool Running() const { return running; }
    // Begins the running month at this money unless it runs already; a month of 1 … 12 also
    // dates it (a month of 0 leaves the date to the first month change).
    void Begin(double money, int32_t year = 0, int32_t month = 0);
    // Books a change of the money from before to after (the world's money as it was and is).
    void Book(TMoneyKind kind, double before, double after);
    // Books one change of the money made of parts by kind (a month's upkeep or taxes). The parts
    // are computed exactly; what the world's float money rounded them by goes to the largest.
    void Book(const std::array<double, size_t(TMoneyKind::count)>& parts, double before, double after);
    // The month change: closes the running month with the city's state (state's year, month,
    // flows, months and opening are ignored) and begins (year, month) from the same money. The
    // first change of a city whose running month has no date only dates it.
    void Close(const TMonthRecord& state, int32_t year, int32_t month);

    // --- milestones ---
    // The highest milestone reached, 0 before the first.
    int32_t Milestone() const { return milestone; }
    // The milestones the city reaches with this many inhabitants for the first time, lowest
    // first; they are remembered and never returned again.
    std::vector<int32_t> Reach(int32_t inhabitants);

    // --- saving ---
    void _onSave(TWorldFile& file) const;
    // Reads the "history" section into an empty history; now holds the loaded city's money and
    // calendar month. A city saved before the history was kept has none (expected false): it
    // stays empty and not running. A section that is cut short or holds unsound rows (absurd
    // numbers, months out of order or not before now, flows that do not add up) keeps the sound
    // months before the first fault (a running month that is not now's or does not add up to
    // the money is dropped) and note says so in one line for the player; note is empty
    // otherwise. False when no milestone was read: the caller then takes those the city's
    // inhabitants have passed as reached.
    bool _onLoad(TWorldFile& file, bool expected, const TMonthRecord& now, std::string& note);

private:
    // Merges the old rows: those ending more than wholeYears before the newest into quarters,
    // those more than quarterYears before it into whole years.
    void _Thin();

    std::vector<TMonthRecord> months;
    TMonthRecord current;
    bool running = false;
    int32_t milestone = 0;
};

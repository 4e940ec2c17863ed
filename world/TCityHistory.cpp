#include "world/TCityHistory.h"

#include <algorithm>
#include <cmath>

#include "persistence/TDataFile.h"
#include "persistence/TFileFlag.h"
#include "persistence/TFileHeader.h"
#include "platform/TCatalogue.h"
#include "world/TWorldFile.h"

namespace {
constexpr size_t kinds = size_t(TMoneyKind::count);
using TFlows = std::array<double, kinds>;

constexpr const char* kindNames[kinds] = {
    TrNoop("Steuern Stufe 1"),   TrNoop("Steuern Stufe 2"),     TrNoop("Steuern Stufe 3"),
    TrNoop("Steuern Stufe 4"),   TrNoop("Steuern Stufe 5"),     TrNoop("Gewerbesteuer"),
    TrNoop("Unterhalt Wohnen"),  TrNoop("Unterhalt Gewerbe"),   TrNoop("Unterhalt Industrie"),
    TrNoop("Unterhalt Parks"),   TrNoop("Unterhalt Allgemein"), TrNoop("Unterhalt Preisgebäude"),
    TrNoop("Unterhalt Straßen"), TrNoop("Bauen und Abreißen"),  TrNoop("Sonstiges"),
};
constexpr const char* kindIds[kinds] = {
    "taxLevel1",    "taxLevel2",         "taxLevel3",        "taxLevel4",        "taxLevel5",
    "businessTax",  "upkeepResidential", "upkeepCommercial", "upkeepIndustrial", "upkeepPark",
    "upkeepPublic", "upkeepAward",       "upkeepRoads",      "construction",     "other",
};

// The month's place on the calendar, counted from the first month of year 1.
int64_t MonthIndex(const TMonthRecord& m) { return int64_t(m.year - 1) * 12 + (m.month - 1); }

// 0 for a row kept whole, 1 for one merged into its quarter, 2 into its year, by how many
// months its last month lies before the newest row's.
int32_t Zone(int64_t age) {
    if (age < int64_t(TCityHistory::wholeYears) * 12) return 0;
    return age < int64_t(TCityHistory::quarterYears) * 12 ? 1 : 2;
}

double Sum(const TFlows& flows) {
    double s = 0;
    for (double f : flows) s += f;
    return s;
}

// Whether the flows account for the change of money from opening to money. The bookings are
// exact differences of the world's float money, so only a saved row that was changed misses.
bool AddsUp(const TFlows& flows, double opening, double money) {
    const double tolerance = 0.005 + 1e-12 * std::max(std::fabs(opening), std::fabs(money));
    return std::fabs(Sum(flows) - (money - opening)) <= tolerance;
}

void AddFlows(TRecord& r, const TFlows& flows) {
    r.AddInt(int64_t(kinds));
    for (double f : flows) r.AddDouble(f);
}

// Flows as written: their number (a file of a later version may know more kinds; these must
// then be 0 … kinds) and each amount.
bool ReadFlows(TRecord& r, TFlows& flows) {
    int32_t n = 0;
    if (!r.Int(n, 0, int32_t(kinds))) return false;
    flows.fill(0);
    for (int32_t k = 0; k < n; ++k) {
        if (!r.Double(flows[size_t(k)])) return false;
    }
    return true;
}

// A closed row as saved, and whether its numbers make sense on their own.
bool ReadRow(TRecord& r, TMonthRecord& m) {
    const int32_t big = TWorldFile::maxObjects;
    r.Int(m.year, 1, 1 << 30);
    r.Int(m.month, 1, 12);
    r.Int(m.months, 1, 1 << 30);
    r.Int(m.inhabitants, 0, big);
    r.Int(m.employed, 0, big);
    r.Int(m.waiting, 0, big);
    r.Float(m.satisfaction);
    r.Double(m.money);
    r.Double(m.opening);
    for (float& d : m.demand) r.Float(d);
    if (!r.Ok() || !ReadFlows(r, m.flow) || !r.AtEnd()) return false;
    const bool demandSound = std::all_of(m.demand.begin(), m.demand.end(), [](float d) { return d >= 0; });
    return m.employed <= m.inhabitants && m.satisfaction >= 0 && m.satisfaction <= 1 && demandSound &&
           m.months - 1 <= MonthIndex(m) && AddsUp(m.flow, m.opening, m.money);
}

// Whether the row's span begins after the earlier row's last month.
bool Follows(const TMonthRecord& earlier, const TMonthRecord& m) {
    return MonthIndex(m) - (m.months - 1) > MonthIndex(earlier);
}
}  // namespace

double TMonthRecord::Income() const {
    double s = 0;
    for (double f : flow) s += f > 0 ? f : 0;
    return s;
}

double TMonthRecord::Expenses() const {
    double s = 0;
    for (double f : flow) s += f < 0 ? f : 0;
    return s;
}

std::string TCityHistory::KindName(TMoneyKind kind) {
    const size_t k = size_t(kind);
    return k < kinds ? kindNames[k] : "";
}

const char* TCityHistory::KindId(TMoneyKind kind) {
    const size_t k = size_t(kind);
    return k < kinds ? kindIds[k] : "";
}

// --- the account ---------------------------------------------------------------------------

void TCityHistory::Begin(double money, int32_t year, int32_t month) {
    if (running) return;
    running = true;
    current.opening = money;
    if (month >= 1 && month <= 12) {
        current.year = year;
        current.month = month;
    }
}

void TCityHistory::Book(TMoneyKind kind, double before, double after) {
    Begin(before);
    const size_t k = size_t(kind);
    current.flow[k < kinds ? k : size_t(TMoneyKind::other)] += after - before;
}

void TCityHistory::Book(const TFlows& parts, double before, double after) {
    Begin(before);
    // Money that did not move (a world without the game's money callbacks) was not paid.
    if (after == before) return;
    // The world's money is a float: the booking's real change differs from the exact parts by
    // its rounding, which the largest part takes, so the month adds up to the money.
    size_t largest = size_t(TMoneyKind::other);
    double most = 0;
    for (size_t k = 0; k < kinds; ++k) {
        if (std::fabs(parts[k]) > most) {
            most = std::fabs(parts[k]);
            largest = k;
        }
    }
    TFlows booked = parts;
    booked[largest] += (after - before) - Sum(parts);
    for (size_t k = 0; k < kinds; ++k) current.flow[k] += booked[k];
}

void TCityHistory::Close(const TMonthRecord& state, int32_t year, int32_t month) {
    Begin(state.money);
    if (current.month == 0) {
        current.year = year;
        current.month = month;
        return;
    }
    TMonthRecord row = state;
    row.year = current.year;
    row.month = current.month;
    row.flow = current.flow;
    row.months = 1;
    row.opening = current.opening;
    months.push_back(row);
    _Thin();
    current = TMonthRecord();
    current.year = year;
    current.month = month;
    current.opening = state.money;
}

void TCityHistory::_Thin() {
    if (months.empty()) return;
    const int64_t newest = MonthIndex(months.back());
    std::vector<TMonthRecord> kept;
    kept.reserve(months.size());
    for (const TMonthRecord& m : months) {
        const int32_t zone = Zone(newest - MonthIndex(m));
        if (!kept.empty() && zone > 0) {
            TMonthRecord& last = kept.back();
            // Rows never span two quarters, so the same year (and quarter) means the same span.
            const bool sameSpan = last.year == m.year && (zone == 2 || (last.month - 1) / 3 == (m.month - 1) / 3);
            if (sameSpan) {
                const double opening = last.opening;
                const int32_t spanned = last.months + m.months;
                TFlows flows = last.flow;
                for (size_t k = 0; k < kinds; ++k) flows[k] += m.flow[k];
                last = m;
                last.opening = opening;
                last.months = spanned;
                last.flow = flows;
                continue;
            }
        }
        kept.push_back(m);
    }
    months = std::move(kept);
}

// --- milestones ----------------------------------------------------------------------------

std::vector<int32_t> TCityHistory::Reach(int32_t inhabitants) {
    std::vector<int32_t> reached;
    for (int32_t m : milestones) {
        if (m > milestone && inhabitants >= m) reached.push_back(m);
    }
    if (!reached.empty()) milestone = reached.back();
    return reached;
}

// --- saving --------------------------------------------------------------------------------

void TCityHistory::_onSave(TWorldFile& wf) const {
    wf.file.addHeader("history");
    wf.AddFlag("milestone", milestone);
    wf.AddFlag("count", int64_t(months.size()));
    for (const TMonthRecord& m : months) {
        TRecord r;
        r.AddInt(m.year).AddInt(m.month).AddInt(m.months);
        r.AddInt(m.inhabitants).AddInt(m.employed).AddInt(m.waiting).AddFloat(m.satisfaction);
        r.AddDouble(m.money).AddDouble(m.opening);
        for (float d : m.demand) r.AddFloat(d);
        AddFlows(r, m.flow);
        wf.AddRecord("month", r);
    }
    // A running month without bookings is what a load begins anyway (at the loaded money and the
    // calendar's month), so it is left out: a city edited and taken back saves as before.
    const bool booked = std::any_of(current.flow.begin(), current.flow.end(), [](double f) { return f != 0; });
    if (running && booked) {
        TRecord r;
        r.AddInt(current.year).AddInt(current.month).AddDouble(current.opening);
        AddFlows(r, current.flow);
        wf.AddRecord("current", r);
    }
}

bool TCityHistory::_onLoad(TWorldFile& wf, bool expected, const TMonthRecord& now, std::string& note) {
    *this = TCityHistory();
    note.clear();
    const auto section = wf.file.findHeader("history", 0);
    if (!section) {
        if (expected) note = Tr("Der Verlauf der Stadt fehlt; er beginnt neu.");
        return false;
    }
    int32_t declared = -1, found = 0;
    bool damaged = false, rowsBroken = false, milestoneRead = false;
    for (const auto& flag : section->Flags) {
        TRecord r(flag->value);
        if (flag->Name == "milestone") {
            milestoneRead = r.Int(milestone, 0, INT32_MAX) && r.AtEnd();
            if (!milestoneRead) {
                milestone = 0;
                damaged = true;
            }
        } else if (flag->Name == "count") {
            if (!r.Int(declared, 0, TWorldFile::maxObjects) || !r.AtEnd()) damaged = true;
        } else if (flag->Name == "month") {
            ++found;
            TMonthRecord m;
            // The months after the first unsound one are left out: their money no longer
            // follows from the months kept. Each closed before the city's present month.
            if (rowsBroken || !ReadRow(r, m) || (!months.empty() && !Follows(months.back(), m)) ||
                MonthIndex(m) >= MonthIndex(now)) {
                rowsBroken = true;
                continue;
            }
            months.push_back(m);
        } else if (flag->Name == "current") {
            TMonthRecord c;
            // The running month is the calendar's (0 before the city's first day) and adds up
            // to the city's money.
            const bool read = r.Int(c.year, 0, 1 << 30) && r.Int(c.month, 0, 12) && r.Double(c.opening) &&
                              ReadFlows(r, c.flow) && r.AtEnd();
            if (read && c.year == now.year && c.month == now.month && AddsUp(c.flow, c.opening, now.money)) {
                current = c;
                running = true;
            } else {
                damaged = true;
            }
        }
    }
    if (declared != found) damaged = true;
    if (damaged || rowsBroken) {
        note = Tr("Der Verlauf der Stadt ist beschädigt: %1 von %2 Monaten behalten.", int32_t(months.size()),
                  std::max(declared, found));
    }
    _Thin();
    return milestoneRead;
}

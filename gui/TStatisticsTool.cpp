#include "gui/TStatisticsTool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TMoneyText.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImageFont.h"
#include "world/TCityHistory.h"
#include "world/TLayer.h"

namespace {
constexpr float gap = 4.0f;
constexpr float tabHeight = 28.0f;
constexpr float rangeWidth = 84.0f;
constexpr float tabWidth = (TStatisticsTool::areaWidth - gap * float(size_t(TStatisticsTool::TView::count) - 1)) /
                           float(size_t(TStatisticsTool::TView::count));
// The plot inside the area: room for the value labels at the left, the legend above and the
// years below.
constexpr float plotLeft = 70, plotRight = 14, plotTop = 30, plotBottom = 26;

const char* const viewNames[] = {TrNoop("Einwohner"), TrNoop("Geld"),      TrNoop("Zufriedenheit"),
                                 TrNoop("Nachfrage"), TrNoop("Einnahmen"), TrNoop("Konto")};
const char* const rangeNames[] = {TrNoop("1 Jahr"), TrNoop("10 Jahre"), TrNoop("Alle")};

// A value as a label: whole numbers grouped by thousands, shares as percent.
std::string Label(double v, bool percent) {
    char buf[48];
    if (percent) {
        std::snprintf(buf, sizeof buf, "%.0f %%", v * 100.0);
        return buf;
    }
    const double a = std::fabs(v);
    if (a >= 1e6) {
        std::snprintf(buf, sizeof buf, "%.1f", v / 1e6);
        return Tr("%1 Mio.", std::string(buf));
    }
    std::snprintf(buf, sizeof buf, "%.0f", v);
    // Thousands apart, so large counts read at a glance.
    const std::string digits = buf[0] == '-' ? buf + 1 : buf;
    std::string s = buf[0] == '-' ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ' ';
        s += digits[i];
    }
    return s;
}

bool IsShare(TStatisticsTool::TView view) {
    return view == TStatisticsTool::TView::satisfaction || view == TStatisticsTool::TView::demand;
}
}  // namespace

std::shared_ptr<TStatisticsTool> TStatisticsTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                         const std::shared_ptr<TLayer>& layer) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TStatisticsTool>();
    t->generate(gui, buttonRadius, layer);
    return t;
}

void TStatisticsTool::generate(const std::shared_ptr<TGUI>& g, float r, const std::shared_ptr<TLayer>& l) {
    gui = g;
    buttonRadius = r;
    layer = l;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;
    // The area right of the anchor; the views in a row under it, the ranges and close above it.
    const float left = r + gap, top = 0;
    cmdArea = gui->AddRectButton(left, top, areaWidth, areaHeight, cmdMove.get());
    auto drawer = vesko::TCFunc::Load([](vesko::TCFunc& c, float x, float y) -> std::shared_ptr<void> {
        if (auto* t = static_cast<TStatisticsTool*>(c.container.get())) t->drawArea(x, y);
        return nullptr;
    });
    // The panel outlives its content; the content only points back at it.
    drawer->container = std::shared_ptr<void>(this, [](void*) {});
    if (auto state = TGUI::StateGroup(*cmdArea, 0)) state->addContent(drawer);

    const size_t views = size_t(TView::count);
    for (size_t i = 0; i < views; ++i) {
        const float x = left + 0.5f * tabWidth + float(i) * (tabWidth + gap);
        viewButtons[i] = gui->AddBarButton(x, top + areaHeight + gap + 0.5f * tabHeight, cmdMove.get(),
                                           gui->button_BarImg, tabWidth, tabHeight);
        _viewChoices[i] = {this, int32_t(i)};
        viewButtons[i]->setGameFunc(_onView, &_viewChoices[i]);
    }
    const size_t ranges = size_t(TRange::count);
    for (size_t i = 0; i < ranges; ++i) {
        const float x = left + 0.5f * rangeWidth + float(i) * (rangeWidth + gap);
        rangeButtons[i] = gui->AddBarButton(x, top - gap - 0.5f * tabHeight, cmdMove.get(), gui->button_BarImg,
                                            rangeWidth, tabHeight);
        _rangeChoices[i] = {this, int32_t(i)};
        rangeButtons[i]->setGameFunc(_onRange, &_rangeChoices[i]);
    }
    cmdClose = gui->AddRoundButton(left + areaWidth - r, top - gap - 0.5f * tabHeight, r, cmdMove.get());
    cmdClose->setIcon(gui->buttonCloseImg, Tr("Schließen"));
    cmdClose->setGameFunc(_hideTool, this);

    for (size_t i = 0; i < _labels.size(); ++i) {
        _labels[i] = vesko::TCGroup::Create();
        const auto& button = i < views ? viewButtons[i] : rangeButtons[i - views];
        for (int32_t s = 0; s < 2; ++s) {
            if (auto state = TGUI::StateGroup(*button, s)) state->addContent(_labels[i]);
        }
    }
    _markChosen();
    // Waits hidden in the middle of the screen.
    SetPosition(0.5f * (float(gui->xmax) - areaWidth), 0.5f * (float(gui->ymax) - areaHeight));
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TStatisticsTool::SHOW() {
    TGUIElement::SHOW();
    const float w = float(gui->xmax), h = float(gui->ymax);
    float l = 0, t = 0, r = 0, b = 0, ol = 0, ot = 0, orr = 0, ob = 0;
    if (clearOf && clearOf->isVisible() && GetBounds(l, t, r, b) && clearOf->GetBounds(ol, ot, orr, ob) && l < orr &&
        ol < r && t < ob && ot < b) {
        const float margin = 8;
        if (ot - margin >= b - t) {
            _mainGadget->gadget->move(0, ot - margin - b);
        } else if (w - orr - margin >= r - l) {
            _mainGadget->gadget->move(orr + margin - l, 0);
        } else {
            _mainGadget->gadget->move(ol - margin - r, 0);
        }
    }
    KeepOnScreen(w, h);
}

void TStatisticsTool::choose(TView v) {
    view = v;
    _markChosen();
}

void TStatisticsTool::choose(TRange r) {
    range = r;
    _markChosen();
}

void TStatisticsTool::_markChosen() {
    const size_t views = size_t(TView::count);
    const auto& font = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    for (size_t i = 0; i < _labels.size(); ++i) {
        const bool chosen = i < views ? size_t(view) == i : size_t(range) == i - views;
        const std::string text = Tr(i < views ? viewNames[i] : rangeNames[i - views]);
        const float width = i < views ? tabWidth : rangeWidth;
        const std::string shown = TGUI::FitText(text, font.get(), width - 8);
        const float tw = font ? font->TextWidth(shown) : 0.0f;
        _labels[i]->Clear();
        _labels[i]->addContent(TGUI::PlacedText(shown, font, chosen ? gui->textCol_default : gui->textCol_light,
                                                -0.5f * tw, -0.5f * TGUI::FontHeight(font)));
    }
}

size_t TStatisticsTool::MonthsOf(TRange r, size_t available) {
    switch (r) {
        case TRange::year: return std::min<size_t>(12, available);
        case TRange::decade: return std::min<size_t>(120, available);
        default: return available;
    }
}

std::vector<TStatisticsTool::TSeries> TStatisticsTool::Series(TView v, const std::vector<TMonthRecord>& months) {
    std::vector<TSeries> out;
    auto add = [&](const char* name, uint8_t r, uint8_t g, uint8_t b, auto value) {
        TSeries s{name, r, g, b, {}};
        s.values.reserve(months.size());
        for (const TMonthRecord& m : months) s.values.push_back(double(value(m)));
        out.push_back(std::move(s));
    };
    switch (v) {
        case TView::people:
            add(TrNoop("Einwohner"), 40, 110, 200, [](const TMonthRecord& m) { return m.inhabitants; });
            add(TrNoop("Beschäftigte"), 230, 140, 30, [](const TMonthRecord& m) { return m.employed; });
            add(TrNoop("Wartende"), 150, 150, 150, [](const TMonthRecord& m) { return m.waiting; });
            break;
        case TView::money: add(TrNoop("Geld"), 40, 150, 60, [](const TMonthRecord& m) { return m.money; }); break;
        case TView::satisfaction:
            add(TrNoop("Zufriedenheit"), 220, 170, 20, [](const TMonthRecord& m) { return m.satisfaction; });
            break;
        case TView::demand: {
            static const uint8_t colours[5][3] = {
                {40, 150, 60}, {40, 110, 200}, {230, 140, 30}, {160, 70, 190}, {200, 50, 50}};
            static const char* const names[5] = {TrNoop("Stufe 1"), TrNoop("Stufe 2"), TrNoop("Stufe 3"),
                                                 TrNoop("Stufe 4"), TrNoop("Stufe 5")};
            for (size_t level = 0; level < 5; ++level) {
                add(names[level], colours[level][0], colours[level][1], colours[level][2],
                    [level](const TMonthRecord& m) { return m.demand[level]; });
            }
            break;
        }
        case TView::flows:
            // A merged quarter or year shows its monthly mean, comparable with the single months.
            add(TrNoop("Einnahmen"), 40, 150, 60,
                [](const TMonthRecord& m) { return m.Income() / std::max(1, m.months); });
            add(TrNoop("Ausgaben"), 200, 50, 50,
                [](const TMonthRecord& m) { return -m.Expenses() / std::max(1, m.months); });
            break;
        default: break;
    }
    return out;
}

TStatisticsTool::TAxis TStatisticsTool::NiceAxis(double lo, double hi, int32_t maxTicks) {
    if (!std::isfinite(lo) || !std::isfinite(hi)) lo = 0, hi = 1;
    if (lo > hi) std::swap(lo, hi);
    if (hi - lo < 1e-9) {
        // A flat line gets room around it.
        hi = lo + std::max(1.0, std::fabs(lo) * 0.1);
    }
    const double raw = (hi - lo) / double(std::max(1, maxTicks));
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw) break;
    }
    TAxis a;
    a.step = step;
    a.min = std::floor(lo / step) * step;
    a.max = std::ceil(hi / step) * step;
    if (a.max <= a.min) a.max = a.min + step;
    return a;
}

std::vector<TStatisticsTool::TAccountLine> TStatisticsTool::Account(const TMonthRecord& month) {
    // In whole cents: the sum is the money a player reads at the month's end less what they read
    // at its start, and the lines' own rounding goes to the largest line, so the shown figures add
    // up to the cent.
    const auto cents = [](double v) { return std::nearbyint(v * 100.0); };
    std::vector<TAccountLine> lines;
    double shown = 0, most = 0;
    size_t largest = 0;
    for (size_t k = 0; k < size_t(TMoneyKind::count); ++k) {
        const double amount = month.flow[k];
        if (amount == 0) continue;
        if (std::fabs(amount) > most) {
            most = std::fabs(amount);
            largest = lines.size();
        }
        lines.push_back({TCityHistory::KindName(TMoneyKind(k)), cents(amount)});
        shown += lines.back().amount;
    }
    const double sum =
        vesko::TMoneyText::ShownCents(float(month.money)) - vesko::TMoneyText::ShownCents(float(month.opening));
    if (!lines.empty()) lines[largest].amount += sum - shown;
    for (TAccountLine& line : lines) line.amount /= 100.0;
    lines.push_back({TrNoop("Summe"), sum / 100.0});
    return lines;
}

void TStatisticsTool::drawArea(float x, float y) {
    if (!layer) return;
    const std::vector<TMonthRecord>& all = layer->history.Months();
    const size_t count = MonthsOf(range, all.size());
    const std::vector<TMonthRecord> months(all.end() - std::ptrdiff_t(count), all.end());
    SetBlend(ALPHABLEND);
    // A light card behind the graph.
    SetColor(246, 244, 236);
    SetAlpha(0.94f);
    DrawRect(x, y, areaWidth, areaHeight);
    SetAlpha(1.0f);
    if (view == TView::account) {
        _drawAccount(x, y, all);
    } else if (months.size() < 2) {
        _text(Tr("Noch keine Monate: die Statistik beginnt am Monatsende."), x + 0.5f * areaWidth,
              y + 0.5f * areaHeight - 8, 0.5f, 60, 60, 60);
    } else {
        _drawGraph(x, y, months);
    }
    _flushTexts();
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
}

void TStatisticsTool::_drawGraph(float x, float y, const std::vector<TMonthRecord>& months) {
    const std::vector<TSeries> series = Series(view, months);
    double lo = IsShare(view) || view != TView::money ? 0.0 : 1e300, hi = IsShare(view) ? 1.0 : -1e300;
    for (const TSeries& s : series) {
        for (double v : s.values) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    const TAxis axis = NiceAxis(lo, hi);
    const float px = x + plotLeft, py = y + plotTop;
    const float pw = areaWidth - plotLeft - plotRight, ph = areaHeight - plotTop - plotBottom;
    auto toY = [&](double v) { return py + ph - float((v - axis.min) / (axis.max - axis.min)) * ph; };
    // Placed by time, not by row: merged old rows stand for their quarter or year.
    const auto monthOf = [](int32_t year, int32_t month) { return double(year) * 12 + month; };
    const double first = monthOf(months.front().year, months.front().month);
    const double span = std::max(1.0, monthOf(months.back().year, months.back().month) - first);
    auto toTime = [&](double t) { return px + pw * float((t - first) / span); };
    auto toX = [&](size_t i) { return toTime(monthOf(months[i].year, months[i].month)); };
    // Grid and value labels.
    for (double v = axis.min; v <= axis.max + axis.step * 0.5; v += axis.step) {
        const float gy = std::round(toY(v));
        SetColor(210, 206, 196);
        DrawLine(px, gy, px + pw, gy);
        _text(Label(v, IsShare(view)), px - 6, gy - 7, 1.0f, 80, 80, 80);
    }
    // A mark at each year's first month, named every one, two, five or ten years.
    const int32_t years = int32_t(span / 12);
    const int32_t every = years <= 6 ? 1 : years <= 14 ? 2 : years <= 35 ? 5 : 10;
    for (int32_t year = months.front().year + 1; year <= months.back().year; ++year) {
        const float gx = std::round(toTime(monthOf(year, 1)));
        SetColor(190, 186, 176);
        DrawLine(gx, py, gx, py + ph);
        // The last year's name would run past the area's edge when its mark is right at the end.
        if (year % every == 0 && gx < px + pw - 24) _text(Tr("Jahr %1", year), gx, py + ph + 6, 0.5f, 80, 80, 80);
    }
    SetColor(90, 90, 90);
    DrawLine(px, py, px, py + ph);
    DrawLine(px, py + ph, px + pw, py + ph);
    // The lines, and their names with a colour mark above the plot.
    float legendX = px;
    for (const TSeries& s : series) {
        SetColor(s.r, s.g, s.b);
        for (size_t i = 1; i < s.values.size(); ++i) {
            const float x0 = toX(i - 1), y0 = toY(s.values[i - 1]), x1 = toX(i), y1 = toY(s.values[i]);
            DrawLine(x0, y0, x1, y1);
            DrawLine(x0, y0 + 1, x1, y1 + 1);
        }
        DrawRect(legendX, y + 10, 12, 8);
        const std::string name = Tr(s.name);
        _text(name, legendX + 16, y + 6, 0.0f, 50, 50, 50);
        const auto& font = gui->smallFont ? gui->smallFont : gui->DefaultFont;
        legendX += 16 + (font ? font->TextWidth(name) : 60.0f) + 14;
    }
}

void TStatisticsTool::_drawAccount(float x, float y, const std::vector<TMonthRecord>& all) {
    const auto& font = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    const float line = std::max(14.0f, TGUI::FontHeight(font));
    if (all.empty()) {
        _text(Tr("Noch kein Monat abgeschlossen."), x + 0.5f * areaWidth, y + 0.5f * areaHeight - 8, 0.5f, 60, 60, 60);
        return;
    }
    const TMonthRecord& month = all.back();
    _text(Tr("Konto für Monat %1 im Jahr %2", month.month, month.year), x + 16, y + 8, 0.0f, 40, 40, 40);
    const std::vector<TAccountLine> lines = Account(month);
    // Two columns when the lines do not fit one.
    const size_t perColumn = size_t((areaHeight - 70) / line);
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool sum = i + 1 == lines.size();
        const size_t column = sum ? 0 : i / perColumn, row = sum ? perColumn : i % perColumn;
        const float lx = x + 16 + float(column) * 0.5f * areaWidth, ly = y + 34 + float(row) * line;
        const float right = lx + 0.5f * areaWidth - 32;
        const bool income = lines[i].amount >= 0;
        _text(Tr(lines[i].name), lx, ly, 0.0f, 50, 50, 50);
        // A whole-cent amount may lie a hair below its cent as a float, which the money text cuts
        // off: shown a little away from zero, it reads as its cent.
        const float shown = float(lines[i].amount + std::copysign(0.004, lines[i].amount));
        _text(layer->getRealMoney(shown), right, ly, 1.0f, income ? 30 : 170, income ? 120 : 40, income ? 40 : 40);
        if (sum) {
            SetColor(120, 120, 120);
            DrawLine(lx, ly - 2, right, ly - 2);
        }
    }
    const float ly = y + 34 + float(perColumn + 1) * line;
    _text(Tr("Geld am Monatsanfang: %1", layer->getRealMoney(float(month.opening))), x + 16, ly, 0.0f, 50, 50, 50);
    _text(Tr("Geld am Monatsende: %1", layer->getRealMoney(float(month.money))), x + 0.5f * areaWidth, ly, 0.0f, 50, 50,
          50);
}

void TStatisticsTool::_text(const std::string& text, float x, float y, float alignX, uint8_t r, uint8_t g, uint8_t b) {
    const auto& font = gui->smallFont ? gui->smallFont : gui->DefaultFont;
    const float w = font ? font->TextWidth(text) : 0.0f;
    _texts.push_back({text, std::round(x - alignX * w), std::round(y), r, g, b});
}

void TStatisticsTool::_flushTexts() {
    SetImageFont(gui->smallFont ? gui->smallFont : gui->DefaultFont);
    for (const TQueuedText& t : _texts) {
        SetColor(t.r, t.g, t.b);
        DrawText(t.text, t.x, t.y);
    }
    _texts.clear();
}

int32_t TStatisticsTool::_onView(void* context) {
    const auto* c = static_cast<TChoice*>(context);
    if (c && c->tool) c->tool->choose(TView(c->index));
    return 0;
}

int32_t TStatisticsTool::_onRange(void* context) {
    const auto* c = static_cast<TChoice*>(context);
    if (c && c->tool) c->tool->choose(TRange(c->index));
    return 0;
}

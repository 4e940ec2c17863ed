#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"

class TGUI;
class TImageFont;
class TLayer;
struct TMonthRecord;

namespace vesko {
class TCGroup;
}

// "Statistik": the city's history as graphs over the months — inhabitants and employed, money,
// satisfaction, demand per level, income against expenses — with axes, labels and a time range
// (one year, ten years, all), and the account of the last month: what each kind of income and
// expense booked, adding up to the month's change of money. The graph is drawn in the panel's
// own area, shapes first and the texts after them, so it costs two batches.
class TStatisticsTool : public TGUIElement {
public:
    enum class TView { people, money, satisfaction, demand, flows, account, count };
    enum class TRange { year, decade, all, count };

    // One line of a graph: its name (German), colour and one value per month.
    struct TSeries {
        std::string name;
        uint8_t r = 0, g = 0, b = 0;
        std::vector<double> values;
    };
    // An axis from min to max with a tick every step (min and max are multiples of step).
    struct TAxis {
        double min = 0, max = 1, step = 1;
    };
    // One line of the account: its name (German) and amount.
    struct TAccountLine {
        std::string name;
        double amount = 0;
    };

    static constexpr float areaWidth = 612;
    static constexpr float areaHeight = 300;

    static std::shared_ptr<TStatisticsTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                   const std::shared_ptr<TLayer>& layer);

    // The months a range shows: the last 12, the last 120 or all.
    static size_t MonthsOf(TRange range, size_t available);
    // The lines of a view over the months.
    static std::vector<TSeries> Series(TView view, const std::vector<TMonthRecord>& months);
    // An axis with round steps (1, 2 or 5 times a power of ten) that holds lo … hi in at most
    // maxTicks steps; counts and shares keep 0 in view.
    static TAxis NiceAxis(double lo, double hi, int32_t maxTicks = 5);
    // The account of a month: every kind that booked something, then the sum, all in whole cents
    // that add up to the shown money at the month's end less the shown money at its start.
    static std::vector<TAccountLine> Account(const TMonthRecord& month);

    // Opens clear of the panel named by clearOf (the main tool): above it where there is room,
    // else beside it.
    void SHOW() override;
    void choose(TView view);
    void choose(TRange range);
    // Draws the chosen graph (or the account) into the area whose top left is at x, y.
    void drawArea(float x, float y);

    std::shared_ptr<TGUI> gui;
    std::shared_ptr<TLayer> layer;
    float buttonRadius = 0;
    TGUIElement* clearOf = nullptr;
    TView view = TView::people;
    TRange range = TRange::decade;
    std::shared_ptr<TGUIGadget> cmdMove, cmdArea, cmdClose;
    std::array<std::shared_ptr<TGUIGadget>, size_t(TView::count)> viewButtons;
    std::array<std::shared_ptr<TGUIGadget>, size_t(TRange::count)> rangeButtons;

private:
    struct TChoice {
        TStatisticsTool* tool = nullptr;
        int32_t index = 0;
    };

    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const std::shared_ptr<TLayer>& layer);
    void _markChosen();
    void _drawGraph(float x, float y, const std::vector<TMonthRecord>& months);
    void _drawAccount(float x, float y, const std::vector<TMonthRecord>& months);
    // A text at (x, y), queued so that all texts are drawn after the shapes.
    void _text(const std::string& text, float x, float y, float alignX, uint8_t r, uint8_t g, uint8_t b);
    void _flushTexts();
    static int32_t _onView(void* context);
    static int32_t _onRange(void* context);

    std::array<TChoice, size_t(TView::count)> _viewChoices;
    std::array<TChoice, size_t(TRange::count)> _rangeChoices;
    std::array<std::shared_ptr<vesko::TCGroup>, size_t(TView::count) + size_t(TRange::count)> _labels;
    struct TQueuedText {
        std::string text;
        float x = 0, y = 0;
        uint8_t r = 0, g = 0, b = 0;
    };
    std::vector<TQueuedText> _texts;
};

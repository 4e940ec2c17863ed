#include "tools/TContactSheet.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t SheetWidth = 1280;
constexpr int32_t Padding = 12;
constexpr int32_t LabelHeight = 22;
constexpr int32_t MinCellWidth = 150;
constexpr int32_t MaxShownWidth = 420;
constexpr int32_t HeaderHeight = 48;
const TColor Background = TColor::Hex(0x8E949B);
const TColor CellColor = TColor::Hex(0x9EA4AB);
const TColor LabelColor = TColor::Hex(0x15191E);

struct TPlacement {
    const TContactSheet::TEntry* entry;
    float shownW, shownH;  // reduced size for large pictures
    bool doubled;          // a second copy at twice the size
    int32_t cellW, cellH;
    int32_t x = 0, y = 0;
};

TPlacement Measure(const TContactSheet::TEntry& entry) {
    TPlacement p{
        &entry, static_cast<float>(entry.picture->Width()), static_cast<float>(entry.picture->Height()), false, 0, 0};
    if (p.shownW > MaxShownWidth) {
        p.shownH *= MaxShownWidth / p.shownW;
        p.shownW = MaxShownWidth;
    }
    p.doubled = std::max(p.shownW, p.shownH) <= 48.0f;
    const float pictureW = p.doubled ? p.shownW * 3 + Padding : p.shownW;
    const float pictureH = p.doubled ? p.shownH * 2 : p.shownH;
    p.cellW = std::max(MinCellWidth, static_cast<int32_t>(std::ceil(pictureW)) + 2 * Padding);
    p.cellH = static_cast<int32_t>(std::ceil(pictureH)) + 2 * Padding + LabelHeight;
    return p;
}

}  // namespace

TCanvas TContactSheet::Compose(const std::vector<TEntry>& entries, const TTextRenderer& text,
                               const std::string& title) {
    std::vector<TPlacement> placements;
    for (const TEntry& entry : entries) placements.push_back(Measure(entry));
    // Rows filled left to right; a row is as tall as its tallest cell.
    int32_t x = Padding, y = HeaderHeight, rowHeight = 0;
    for (TPlacement& p : placements) {
        if (x + p.cellW > SheetWidth - Padding && x > Padding) {
            x = Padding;
            y += rowHeight + Padding;
            rowHeight = 0;
        }
        p.x = x;
        p.y = y;
        x += p.cellW + Padding;
        rowHeight = std::max(rowHeight, p.cellH);
    }
    const int32_t height = y + rowHeight + Padding;

    TCanvas sheet(SheetWidth, height);
    sheet.Fill(TShape::Rect(0, 0, SheetWidth, height), Background);
    text.Draw(sheet, title, Padding, 32, 20, LabelColor, 0.6f);
    for (const TPlacement& p : placements) {
        sheet.Fill(TShape::RoundRect(p.x, p.y, p.cellW, p.cellH, 6), CellColor);
        const float areaH = p.cellH - LabelHeight - 2 * Padding;
        const float left = p.x + Padding;
        const float top = p.y + Padding;
        if (p.doubled) {
            const float w = p.shownW, h = p.shownH;
            sheet.Composite(*p.entry->picture, static_cast<int32_t>(left), static_cast<int32_t>(top + (areaH - h) / 2));
            sheet.CompositeScaled(*p.entry->picture, left + w + Padding, top + (areaH - 2 * h) / 2, 2 * w, 2 * h);
        } else if (p.shownW < p.entry->picture->Width()) {
            sheet.CompositeScaled(*p.entry->picture, left, top, p.shownW, p.shownH);
        } else {
            sheet.Composite(*p.entry->picture, static_cast<int32_t>(left), static_cast<int32_t>(top));
        }
        float size = 12;
        const float width = text.Measure(sheet, p.entry->name, size);
        if (width > p.cellW - 8) size *= (p.cellW - 8) / width;
        text.Draw(sheet, p.entry->name, p.x + p.cellW / 2.0f, p.y + p.cellH - 9, size, LabelColor, 0.0f, 0.5f);
    }
    return sheet;
}

TCanvas TContactSheet::FrameGrid(const TCanvas& strip, int32_t frames, const TTextRenderer& text) {
    const int32_t fw = strip.Width() / std::max(frames, 1), fh = strip.Height();
    const int32_t zoom = std::max(fw, fh) <= 48 ? 2 : 1;
    const int32_t cellW = fw * zoom + 6, cellH = fh * zoom + 18;
    const int32_t columns = std::clamp((SheetWidth - 200) / cellW, 1, frames);
    const int32_t rows = (frames + columns - 1) / columns;
    TCanvas grid(columns * cellW, rows * cellH);
    for (int32_t f = 0; f < frames; ++f) {
        const int32_t x = (f % columns) * cellW + 3, y = (f / columns) * cellH + 2;
        for (int32_t cy = 0; cy < fh * zoom; cy += 4)
            for (int32_t cx = 0; cx < fw * zoom; cx += 4)
                grid.Fill(TShape::Rect(x + cx, y + cy, std::min(4, fw * zoom - cx), std::min(4, fh * zoom - cy)),
                          ((cx + cy) / 4) % 2 ? TColor::Hex(0xB9BEC4) : TColor::Hex(0xA9AFB6));
        TCanvas frame(fw, fh);
        frame.Composite(strip, -f * fw, 0);
        grid.CompositeScaled(frame, static_cast<float>(x), static_cast<float>(y), static_cast<float>(fw * zoom),
                             static_cast<float>(fh * zoom));
        text.Draw(grid, std::to_string(f), x + fw * zoom / 2.0f, y + fh * zoom + 13, 11, LabelColor, 0.0f, 0.5f);
    }
    return grid;
}

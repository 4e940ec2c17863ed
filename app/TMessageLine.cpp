#include "app/TMessageLine.h"

#include <algorithm>
#include <cmath>

#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TStream.h"

void TMessageLine::Show(const std::string& text) {
    Print(text);
    lines.clear();
    size_t from = 0;
    for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    lines.push_back(text.substr(from));
    shownMS = -1;
}

void TMessageLine::Draw(const std::shared_ptr<TImageFont>& font) {
    if (lines.empty()) return;
    if (shownMS < 0) shownMS = Millisecs();
    const int32_t age = Millisecs() - shownMS;
    if (age >= lifeMS || age < 0) {
        lines.clear();
        return;
    }
    const float alpha = std::clamp(float(lifeMS - age) / float(fadeMS), 0.0f, 1.0f);
    TInterfaceSpace units;
    SetImageFont(font);
    SetBlend(ALPHABLEND);
    float width = 0, height = 0;
    for (const auto& line : lines) {
        width = std::max(width, TextWidth(line));
        height += TextHeight(line);
    }
    constexpr float padding = 8.0f, top = 12.0f;
    const float screenWidth = float(TInterfaceSpace::Width());
    const float left = std::round(0.5f * (screenWidth - width));
    // A dark box behind the text keeps it readable over any part of the map.
    SetColor(0, 0, 0);
    SetAlpha(0.6f * alpha);
    DrawRect(left - padding, top, width + 2 * padding, height + 2 * padding);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    float y = top + padding;
    for (const auto& line : lines) {
        DrawText(line, std::round(0.5f * (screenWidth - TextWidth(line))), y);
        y += TextHeight(line);
    }
    SetAlpha(1.0f);
}

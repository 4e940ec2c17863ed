#include "tools/TPointerArt.h"

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"
#include "tools/TSymbols.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

// Three cells; the game centres the handle, so every cursor's hot spot is the cell centre.
TCanvas Cursors() {
    const float cell = TPointerArt::CursorCell, hot = cell / 2;
    TCanvas strip(TPointerArt::CursorCell * 3, TPointerArt::CursorCell);
    auto arrow = [](TCanvas& c) { TSymbols::PointerArrow(c, Paper, Ink); };
    K::InBox(strip, hot, hot, 19, arrow);
    K::InBox(strip, cell + hot - 14, hot - 14, 28, [](TCanvas& c) {
        TShape arrows = TShape::Line(50, 16, 50, 84, 9).Union(TShape::Line(16, 50, 84, 50, 9));
        for (int i = 0; i < 4; ++i)
            arrows = arrows.Union(TShape::Polygon({{50, 4}, {65, 22}, {35, 22}}).Rotate(i * 90.0f, 50, 50));
        c.Fill(arrows.Grow(5), Ink);
        c.Fill(arrows, Paper);
    });
    K::InBox(strip, 2 * cell + hot, hot, 19, arrow);
    K::InBox(strip, 2 * cell + hot + 5, hot + 4, 12, [](TCanvas& c) {
        c.Fill(TShape::Circle(50, 50, 50), Ink);
        c.Fill(TShape::Circle(50, 50, 40), Sky);
        c.Fill(TShape::Arc(50, 38, 15, 13, 180, 405).Union(TShape::Line(50, 52, 50, 60, 13)), Paper);
        c.Fill(TShape::Circle(50, 78, 7.5f), Paper);
    });
    return strip;
}

TCanvas FingerLight() {
    TCanvas light(64, 64);
    light.Fill(TShape::Circle(32, 32, 32), TPaint::Radial(32, 32, 32, Paper, Paper.WithAlpha(0.0f))
                                               .Stop(0.0f, Paper)
                                               .Stop(0.25f, Paper.WithAlpha(0.8f))
                                               .Stop(0.6f, Paper.WithAlpha(0.25f))
                                               .Stop(1.0f, Paper.WithAlpha(0.0f)));
    return light;
}

// Faces from very unhappy (red, frowning) to very happy (green, smiling).
TCanvas Smileys() {
    const TColor colors[TPointerArt::SmileyCount] = {Tomato, Orange, Sun, TColor::Hex(0xA6CF3E), Leaf};
    TCanvas strip(TPointerArt::SmileyCell * TPointerArt::SmileyCount, TPointerArt::SmileyCell);
    for (int i = 0; i < TPointerArt::SmileyCount; ++i) {
        const TColor color = colors[i];
        const float mood = (i - 2) / 2.0f;  // -1 .. 1
        K::InBox(strip, i * TPointerArt::SmileyCell, 0, TPointerArt::SmileyCell, [color, mood](TCanvas& c) {
            c.Fill(TShape::Circle(50, 50, 47), K::RimOf(color));
            c.Fill(TShape::Circle(50, 50, 39), TPaint::Vertical(10, 90, color.Lighter(0.25f), color));
            c.Fill(TShape::Ellipse(35, 38, 7, 9).Union(TShape::Ellipse(65, 38, 7, 9)), Ink);
            TShape mouth = TShape::Line(30, 66, 70, 66, 9);
            if (mood > 0.0f) mouth = TShape::Arc(50, 52, 8 + 18 * mood, 9, 35, 145).Translate(0, 10 - 10 * mood);
            if (mood < 0.0f) mouth = TShape::Arc(50, 86, 8 - 18 * mood, 9, 215, 325).Translate(0, 10 * mood + 4);
            c.Fill(mouth, Ink);
        });
    }
    return strip;
}

}  // namespace

void TPointerArt::AddTo(std::vector<TArtPicture>& out) {
    out.push_back({"mouse.png", Cursors});
    out.push_back({"fingerLight.png", FingerLight});
    out.push_back({"smileys.png", Smileys});
}

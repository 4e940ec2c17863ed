#include "tools/TButtonIconArt.h"

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"
#include "tools/TInfluenceIconArt.h"
#include "tools/TSymbols.h"

using namespace TArtPalette;
using K = TIconKit;
using S = TSymbols;

namespace {

TArtPicture ButtonIcon(const std::string& name, K::Painter painter) {
    return {name, [painter] { return K::Icon(TButtonIconArt::IconSize, TButtonIconArt::IconMargin, painter); }};
}

// A category symbol, slightly reduced, with the crossed-eye badge at its lower right.
K::Painter Hidden(K::Painter symbol) {
    return [symbol](TCanvas& c) {
        K::InBox(c, -6, -6, 84, symbol);
        K::InBox(c, 48, 48, 56, S::HiddenBadge);
    };
}

void TechLevel(TCanvas& c, const TTextRenderer& text, int level) {
    static const TColor colors[6] = {Leaf, Teal, Sky, Violet, Orange, Tomato};
    S::Badge(c, colors[(level - 1) % 6]);
    const std::string digit = std::to_string(level);
    text.Draw(c, digit, 50, 50 + 0.729f * 56 * 0.5f, 56, K::RimOf(colors[(level - 1) % 6]), 7.0f, 0.5f);
    text.Draw(c, digit, 50, 50 + 0.729f * 56 * 0.5f, 56, Paper, 2.0f, 0.5f);
}

void InfoMode(TCanvas& c, const TTextRenderer& text) {
    K::InBox(c, 18, 8, 78, [](TCanvas& p) { S::PointerArrow(p, Paper, Ink); });
    K::InBox(c, 50, 46, 50, [&text](TCanvas& p) {
        S::Badge(p, Sky);
        text.Draw(p, "?", 50, 72, 62, Paper, 3.0f, 0.5f);
    });
}

void Influences(TCanvas& c) {
    K::InBox(c, 0, 0, 48, TInfluenceIconArt::Water);
    K::InBox(c, 52, 0, 48, TInfluenceIconArt::Energy);
    K::InBox(c, 0, 52, 48, TInfluenceIconArt::Medic);
    K::InBox(c, 52, 52, 48, TInfluenceIconArt::FireDepartment);
}

void InfoSign(TCanvas& c) {
    S::Badge(c, Sky);
    c.Fill(TShape::Circle(50, 29, 8), Paper);
    c.Fill(TShape::RoundRect(43, 42, 14, 38, 4), Paper);
}

void ClockFace(TCanvas& c) {
    K::Part(c, TShape::Circle(50, 50, 44), Paper, 6.0f);
    c.Fill(TShape::Circle(50, 50, 44), TPaint::Radial(50, 50, 44, Paper.WithAlpha(0.0f), Cloud.Darker(0.08f)));
    for (int i = 0; i < 12; ++i) {
        const bool major = i % 3 == 0;
        const TShape tick = TShape::Line(50, 10, 50, major ? 20.0f : 16.0f, major ? 5.0f : 3.0f);
        c.Fill(tick.Rotate(i * 30.0f, 50, 50), major ? Ink : Steel);
    }
}

void ClockNeedle(TCanvas& c) {
    // Points straight up from the picture centre, which is the pivot.
    K::Part(c, TShape::Polygon({{47, 52}, {50, 14}, {53, 52}}).Grow(1.5f), Tomato, 2.0f);
    K::Part(c, TShape::Circle(50, 50, 6), Ink.Lighter(0.15f), 0.0f);
    c.Fill(TShape::Circle(50, 50, 2.5f), Steel.Lighter(0.4f));
}

void TaxArrow(TCanvas& c, bool up) {
    K::InBox(c, 0, 14, 80, S::Coins);
    K::InBox(c, 44, 16, 62, [up](TCanvas& p) { S::Arrow(p, up ? -90.0f : 90.0f, up ? Leaf : Tomato); });
}

void LevelUp(TCanvas& c) { S::Arrow(c, -90.0f, Leaf); }

}  // namespace

void TButtonIconArt::AddTo(std::vector<TArtPicture>& out, const TTextRenderer& text) {
    // Main menu and general commands.
    out.push_back(ButtonIcon("build.png", S::Hammer));
    out.push_back(ButtonIcon("view.png", S::Eye));
    out.push_back(ButtonIcon("settings.png", S::Gear));
    out.push_back(ButtonIcon("button_close.png", S::Cross));
    out.push_back(ButtonIcon("button_exit.png", S::Power));
    out.push_back(ButtonIcon("button_ok.png", S::Check));
    out.push_back(ButtonIcon("button_left.png", [](TCanvas& c) { S::Arrow(c, 180.0f, Sky); }));
    out.push_back(ButtonIcon("button_right.png", [](TCanvas& c) { S::Arrow(c, 0.0f, Sky); }));
    out.push_back(ButtonIcon("button_undo.png", [](TCanvas& c) { S::UndoArrow(c, Orange); }));
    out.push_back(ButtonIcon("zoomIn.png", [](TCanvas& c) { S::Magnifier(c, 1); }));
    out.push_back(ButtonIcon("zoomOut.png", [](TCanvas& c) { S::Magnifier(c, -1); }));
    out.push_back(ButtonIcon("button_buldozer.png", S::Bulldozer));
    out.push_back({"bulldozer.png", [] { return K::Icon(64, 4.0f, S::Bulldozer); }});
    out.push_back(ButtonIcon("button_change_minimap.png", S::MapDiamond));
    out.push_back(ButtonIcon("button_load.png", [](TCanvas& c) {
        S::Folder(c);
        K::InBox(c, 40, 28, 50, [](TCanvas& p) { S::Arrow(p, -90.0f, Leaf); });
    }));
    out.push_back(ButtonIcon("button_save.png", S::Disk));
    out.push_back(ButtonIcon("button_photo.png", S::Camera));
    out.push_back(ButtonIcon("button_centerMap.png", S::Crosshair));
    out.push_back(ButtonIcon("button_infoMode.png", [&text](TCanvas& c) { InfoMode(c, text); }));
    out.push_back(ButtonIcon("button_jumpTo.png", S::Pin));
    out.push_back(ButtonIcon("keyboard.png", S::Keyboard));
    out.push_back(ButtonIcon("tax_up.png", [](TCanvas& c) { TaxArrow(c, true); }));
    out.push_back(ButtonIcon("tax_down.png", [](TCanvas& c) { TaxArrow(c, false); }));
    out.push_back(ButtonIcon("move.png", [](TCanvas& c) { S::MoveArrows(c, Slate); }));
    out.push_back(ButtonIcon("scale.png", S::ScaleArrows));

    // Building info tabs.
    out.push_back(ButtonIcon("button_info.png", InfoSign));
    out.push_back(ButtonIcon("button_influences.png", Influences));
    out.push_back(ButtonIcon("button_people.png", S::People));
    // The statistics panel.
    out.push_back(ButtonIcon("button_stats.png", S::DemandBars));

    // Game speed, slowest to fastest.
    out.push_back(ButtonIcon("speed_pause.png", [](TCanvas& c) { S::PauseBars(c, Slate); }));
    out.push_back(ButtonIcon("speed_slow.png", [](TCanvas& c) { S::PlayTriangles(c, 1, 0.55f, Teal); }));
    out.push_back(ButtonIcon("speed_default.png", [](TCanvas& c) { S::PlayTriangles(c, 1, 1.0f, Leaf); }));
    out.push_back(ButtonIcon("speed_fast.png", [](TCanvas& c) { S::PlayTriangles(c, 2, 1.0f, Orange); }));
    out.push_back(ButtonIcon("speed_verryfast.png", [](TCanvas& c) { S::PlayTriangles(c, 3, 1.0f, Tomato); }));

    // Day clock: the needle has no offset shadow because it is drawn rotated.
    out.push_back({"clock_face.png", [] { return K::Icon(IconSize, 2.0f, ClockFace); }});
    out.push_back({"clock_needle.png", [] {
                       TCanvas layer(IconSize, IconSize);
                       layer.SetView((IconSize - 4.0f) / 100.0f, 2.0f, 2.0f);
                       ClockNeedle(layer);
                       return K::WithShadow(layer, 0.0f, 0.0f, 1.5f, 0.3f);
                   }});

    // Build categories and the hide toggles that go with them.
    const struct {
        const char* button;
        const char* hide;
        K::Painter symbol;
    } categories[] = {{"button_res.png", "hide_res.png", S::House},
                      {"button_com.png", "hide_com.png", S::Shop},
                      {"button_ind.png", "hide_ind.png", S::Factory},
                      {"button_park.png", "hide_park.png", S::Tree},
                      {"button_public.png", "hide_public.png", S::PublicBuilding},
                      {"button_award.png", "hide_award.png", S::Trophy}};
    for (const auto& category : categories) {
        out.push_back(ButtonIcon(category.button, category.symbol));
        out.push_back(ButtonIcon(category.hide, Hidden(category.symbol)));
    }
    out.push_back(ButtonIcon("button_road_rail.png", S::Road));
    out.push_back(ButtonIcon("hide_forest.png", Hidden(S::Forest)));
    out.push_back(ButtonIcon("hide_cars.png", Hidden(S::Car)));
    out.push_back(ButtonIcon("hide_smoke.png", Hidden(S::Smoke)));
    out.push_back(ButtonIcon("hide_rci.png", Hidden(S::DemandBars)));

    // Tech levels 1..6.
    for (int level = 1; level <= 6; ++level) {
        out.push_back(ButtonIcon("button_level_" + std::to_string(level) + ".png",
                                 [&text, level](TCanvas& c) { TechLevel(c, text, level); }));
    }

    // Influence symbols, drawn nearly edge to edge for their small gadgets.
    for (int kind = 0; kind < TInfluenceIconArt::Count; ++kind) {
        const K::Painter painter = TInfluenceIconArt::PainterOf(kind);
        out.push_back({TInfluenceIconArt::FileName(kind), [painter] { return K::Icon(InfluenceSize, 1.0f, painter); }});
    }

    // Small marks used inside panels.
    out.push_back({"info.png", [] { return K::Icon(32, 2.0f, InfoSign); }});
    out.push_back({"lvl_up.png", [] { return K::Icon(16, 0.5f, LevelUp); }});
}

#include "tools/TWidgetArt.h"

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

const TColor ButtonTop = Paper;
const TColor ButtonBottom = TColor::Hex(0xD8DEE6);
const TColor ButtonRim = TColor::Hex(0xAEB8C5);

// A raised surface: soft shadow, gradient body, darker rim and a bright inner edge on top.
TCanvas Raised(int32_t w, int32_t h, const TShape& body, const TColor& top, const TColor& bottom, const TColor& rim) {
    TCanvas layer(w, h);
    layer.Fill(body, TPaint::Vertical(body.MinY(), body.MaxY(), top, bottom));
    layer.Fill(body.Grow(-0.75f).Outline(1.5f), rim);
    const TShape upperEdge = body.Grow(-2.0f).Outline(1.0f).Intersect(
        TShape::Rect(0, 0, w, body.MinY() + (body.MaxY() - body.MinY()) * 0.5f));
    layer.Fill(upperEdge, Paper.WithAlpha(0.8f));
    return K::WithShadow(layer, 0.0f, 1.0f, 2.0f, 0.35f);
}

TCanvas RoundButton(const TColor& top, const TColor& bottom, const TColor& rim) {
    const float s = TWidgetArt::ButtonSize;
    return Raised(TWidgetArt::ButtonSize, TWidgetArt::ButtonSize, TShape::Circle(s / 2, s / 2 - 0.5f, s / 2 - 1.5f),
                  top, bottom, rim);
}

// A coloured ring that frames the preview window.
TCanvas Border(const TColor& color) {
    const float c = TWidgetArt::RingSize / 2.0f;
    TCanvas layer(TWidgetArt::RingSize, TWidgetArt::RingSize);
    const TShape ring = TShape::Ring(c, c, c - 1.5f, c - 9.0f);
    layer.Fill(ring, TPaint::Vertical(0, TWidgetArt::RingSize, color.Lighter(0.3f), color.Darker(0.15f)));
    layer.Fill(TShape::Ring(c, c, c - 1.5f, c - 3.0f), color.Darker(0.3f));
    layer.Fill(TShape::Ring(c, c, c - 7.5f, c - 9.0f), color.Darker(0.3f));
    layer.Fill(TShape::Arc(c, c, c - 5.2f, 1.5f, 200, 340), Paper.WithAlpha(0.55f));
    return K::WithShadow(layer, 0.0f, 1.0f, 2.5f, 0.3f);
}

// The band of the ring controls: buttons of radius 20 ride on it.
TCanvas RingBand(float a0, float a1) {
    const float c = TWidgetArt::RingSize / 2.0f;
    const float outer = c - 2.0f, inner = c - 44.0f;
    TCanvas layer(TWidgetArt::RingSize, TWidgetArt::RingSize);
    const TShape band =
        (a1 - a0 >= 360.0f) ? TShape::Ring(c, c, outer, inner) : TShape::Sector(c, c, outer, inner, a0, a1);
    layer.Fill(band, TPaint::Radial(c, c, outer, Cloud.WithAlpha(0.8f), Paper.WithAlpha(0.92f))
                         .Stop(inner / outer, Cloud.WithAlpha(0.8f)));
    layer.Fill(band.Grow(-0.75f).Outline(1.5f), ButtonRim);
    return K::WithShadow(layer, 0.0f, 1.0f, 2.5f, 0.3f);
}

}  // namespace

void TWidgetArt::AddTo(std::vector<TArtPicture>& out) {
    out.push_back({"button.png", [] { return RoundButton(ButtonTop, ButtonBottom, ButtonRim); }});
    out.push_back({"sidebarbutton.png",
                   [] { return RoundButton(TColor::Hex(0xEAF3FD), TColor::Hex(0xB9D3EE), Sky.Darker(0.1f)); }});
    out.push_back({"button_bar.png", [] {
                       return Raised(160, 40, TShape::RoundRect(1.5f, 1.5f, 157, 35, 17.5f), ButtonTop, ButtonBottom,
                                     ButtonRim);
                   }});
    out.push_back({"textfield.png", [] {
                       TCanvas layer(240, 36);
                       const TShape field = TShape::RoundRect(1, 1, 238, 33, 8);
                       layer.Fill(field, Paper);
                       // Inner shadow along the top edge makes the field look sunk in.
                       layer.Fill(field.Grow(-1).Outline(2).Intersect(TShape::Rect(0, 0, 240, 12)),
                                  TPaint::Vertical(1, 12, Ink.WithAlpha(0.25f), Ink.WithAlpha(0.0f)));
                       layer.Fill(field.Grow(-0.5f).Outline(1.0f), ButtonRim);
                       return K::WithShadow(layer, 0.0f, 1.0f, 1.5f, 0.2f);
                   }});
    out.push_back({"tooltip.png", [] {
                       // Cut into 3 × 3 cells of 8 pixels: the corners keep their rounding.
                       TCanvas layer(24, 24);
                       const TShape box = TShape::RoundRect(0.5f, 0.5f, 23, 23, 6);
                       layer.Fill(box, TPaint::Vertical(0, 24, TColor::Hex(0xFFFDF4), TColor::Hex(0xF6EFD8)));
                       layer.Fill(box.Grow(-0.5f).Outline(1.0f), TColor::Hex(0xB9A97C));
                       return layer;
                   }});
    out.push_back({"circle.png", [] { return RingBand(0.0f, 360.0f); }});
    out.push_back({"arc.png", [] { return RingBand(225.0f, 315.0f); }});
    out.push_back({"preview.png", [] {
                       const float c = RingSize / 2.0f;
                       TCanvas layer(RingSize, RingSize);
                       const TShape disc = TShape::Circle(c, c, c - 2);
                       layer.Fill(disc, TPaint::Radial(c, c * 0.8f, c, Paper, TColor::Hex(0xD5E3EE)));
                       layer.Fill(disc.Grow(-0.5f).Outline(1.0f), ButtonRim);
                       return K::WithShadow(layer, 0.0f, 1.5f, 3.0f, 0.35f);
                   }});
    const struct {
        const char* name;
        TColor color;
    } borders[] = {
        {"preview_roadborder.png", Asphalt},   {"preview_greenborder.png", Leaf},    {"preview_blueborder.png", Sky},
        {"preview_yellowborder.png", Sun},     {"preview_greyborder.png", Steel},    {"preview_parkborder.png", Pine},
        {"preview_destroyborder.png", Tomato}, {"preview_bridgeborder.png", Bridge}, {"preview_awardborder.png", Gold}};
    for (const auto& border : borders) {
        const TColor color = border.color;
        out.push_back({border.name, [color] { return Border(color); }});
    }
}

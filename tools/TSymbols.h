#pragma once
#include "tools/TCanvas.h"

// The pictograms shared by several icon families (build categories, hide toggles, the main
// menu, the title picture). Each draws into the design square 0..100 of the canvas' view;
// TIconKit::InBox places one anywhere at any size.
class TSymbols {
public:
    // Building categories.
    static void House(TCanvas& c);
    static void Shop(TCanvas& c);
    static void Factory(TCanvas& c);
    static void Tree(TCanvas& c);
    static void Forest(TCanvas& c);
    static void PublicBuilding(TCanvas& c);
    static void Trophy(TCanvas& c);
    static void Road(TCanvas& c);
    // Things on the map.
    static void Car(TCanvas& c);
    static void Smoke(TCanvas& c);
    static void DemandBars(TCanvas& c);
    static void Bulldozer(TCanvas& c);
    static void MapDiamond(TCanvas& c);
    // Commands.
    static void Hammer(TCanvas& c);
    static void Eye(TCanvas& c);
    static void Gear(TCanvas& c);
    static void Cross(TCanvas& c);
    static void Check(TCanvas& c);
    static void Power(TCanvas& c);
    // An arrow pointing at angle degrees (0 right, 90 down), in the given colour.
    static void Arrow(TCanvas& c, float degrees, const TColor& color);
    // A bent arrow turning back to the left: take back the last step.
    static void UndoArrow(TCanvas& c, const TColor& color);
    // A magnifier with a plus (sign 1), a minus (sign -1) or nothing (0) in the lens.
    static void Magnifier(TCanvas& c, int sign);
    static void Camera(TCanvas& c);
    static void Folder(TCanvas& c);
    static void Disk(TCanvas& c);
    static void Person(TCanvas& c, const TColor& color);
    static void People(TCanvas& c);
    static void Crosshair(TCanvas& c);
    static void Pin(TCanvas& c);
    static void Keyboard(TCanvas& c);
    static void Coins(TCanvas& c);
    static void MoveArrows(TCanvas& c, const TColor& color);
    static void ScaleArrows(TCanvas& c);
    static void PointerArrow(TCanvas& c, const TColor& fill, const TColor& rim);
    // Play triangles: count 1..3 side by side; a narrow single one for slow motion.
    static void PlayTriangles(TCanvas& c, int count, float narrow, const TColor& color);
    static void PauseBars(TCanvas& c, const TColor& color);
    // A small round badge with a crossed-out eye, the mark of the hide toggles.
    static void HiddenBadge(TCanvas& c);
    // A round badge of the given colour; the caller draws on it.
    static void Badge(TCanvas& c, const TColor& color);
};

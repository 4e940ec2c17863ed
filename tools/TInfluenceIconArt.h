#pragma once
#include "tools/TIconKit.h"

// The fifteen influence symbols, one per influence kind in the order of the kinds
// (water, energy, sport, medic, religion, police, fire brigade, culture, free time,
// education, radio, TV, air pollution, water pollution, noise).
class TInfluenceIconArt {
public:
    static constexpr int Count = 15;
    // The picture's file name and painter of kind k (0..14).
    static const char* FileName(int kind);
    static TIconKit::Painter PainterOf(int kind);

    static void Water(TCanvas& c);
    static void Energy(TCanvas& c);
    static void Sport(TCanvas& c);
    static void Medic(TCanvas& c);
    static void Religion(TCanvas& c);
    static void Police(TCanvas& c);
    static void FireDepartment(TCanvas& c);
    static void Culture(TCanvas& c);
    static void FreeTime(TCanvas& c);
    static void Learn(TCanvas& c);
    static void Radio(TCanvas& c);
    static void TV(TCanvas& c);
    static void AirPollution(TCanvas& c);
    static void WaterPollution(TCanvas& c);
    static void Noise(TCanvas& c);
};

#include "tools/TSoundRecipes.h"

#include "tools/TSynth.h"

namespace {
// Partials of a soft bell and of a wooden knock.
const std::vector<double> bell = {1.0, 0.0, 0.35, 0.0, 0.12};
const std::vector<double> wood = {1.0, 0.5, 0.25};
// Event sounds end at these peaks; the ambience loops stay well below them, so what the
// player does is heard over the city.
constexpr double eventPeak = 0.9, interfacePeak = 0.6, ambiencePeak = 0.3;

void Click(TSynth& s) {
    s.Tone(0, 0.03, 2400, 1800, 0.6, 0.02, {1.0, 0.3});
    s.Hiss(0, 0.012, 0, 2000, 0.5, 0.0005, 0.008);
    s.Normalize(interfacePeak);
}

void Road(TSynth& s) {
    // Gravel poured and rolled flat: crunchy bursts over a low thud.
    s.Tone(0, 0.25, 110, 70, 0.8, 0.18, wood);
    for (int32_t i = 0; i < 6; ++i) s.Hiss(0.02 + 0.045 * i, 0.12, 3500, 300, s.Between(0.4, 0.8), 0.002, 0.06);
    s.Normalize(eventPeak);
}

void Build(TSynth& s) {
    // Two knocks of a hammer, then a short bright rise.
    s.Tone(0, 0.15, 190, 170, 1.0, 0.1, wood);
    s.Hiss(0, 0.05, 4000, 600, 0.5, 0.001, 0.03);
    s.Tone(0.16, 0.15, 210, 185, 1.0, 0.1, wood);
    s.Hiss(0.16, 0.05, 4000, 600, 0.5, 0.001, 0.03);
    s.Tone(0.32, 0.3, 660, 990, 0.35, 0.25, bell);
    s.Normalize(eventPeak);
}

void Demolish(TSynth& s) {
    // A crash of falling rubble, then a low rumble that settles.
    s.Hiss(0, 0.9, 900, 0, 1.0, 0.005, 0.7);
    s.Tone(0, 0.6, 70, 40, 0.9, 0.5);
    for (int32_t i = 0; i < 8; ++i) s.Hiss(s.Between(0.02, 0.5), 0.08, 5000, 800, s.Between(0.2, 0.5), 0.001, 0.05);
    s.Normalize(eventPeak);
}

void Refused(TSynth& s) {
    // Two low, falling buzzes: "no".
    s.Tone(0, 0.13, 240, 220, 0.7, 0.3, {1.0, 0.0, 0.33, 0.0, 0.2});
    s.Tone(0.15, 0.16, 185, 165, 0.7, 0.3, {1.0, 0.0, 0.33, 0.0, 0.2});
    s.Normalize(interfacePeak);
}

void Money(TSynth& s) {
    // Coins: high bells one after the other.
    const double notes[] = {1320, 1760, 2640, 2217};
    for (int32_t i = 0; i < 4; ++i) s.Tone(0.07 * i, 0.4, notes[i], notes[i], 0.5, 0.3, bell);
    s.Hiss(0, 0.3, 0, 5000, 0.08, 0.001, 0.2);
    s.Normalize(eventPeak * 0.8);
}

void Finished(TSynth& s) {
    // A major arpeggio on soft bells.
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int32_t i = 0; i < 4; ++i) s.Tone(0.1 * i, 0.5, notes[i], notes[i], 0.6, 0.45, bell);
    s.Normalize(eventPeak * 0.8);
}

void Milestone(TSynth& s) {
    // A short fanfare: a rising call, then the chord held.
    const double call[] = {392.0, 523.25, 659.25};
    for (int32_t i = 0; i < 3; ++i) s.Tone(0.14 * i, 0.16, call[i], call[i], 0.6, 0.5, {1.0, 0.5, 0.3, 0.2});
    for (double f : {523.25, 659.25, 783.99}) s.Tone(0.42, 1.1, f, f, 0.4, 1.0, {1.0, 0.5, 0.3, 0.2});
    s.Normalize(eventPeak);
}

void Birds(TSynth& s) {
    // Leaves in a breeze, and chirps: quick sweeps at random times and pitches.
    s.Hiss(0, 4.5, 1200, 200, 0.15, 0.2, 0);
    for (int32_t i = 0; i < 14; ++i) {
        const double at = s.Between(0, 4.2), f = s.Between(2800, 4800);
        const int32_t notes = 1 + int32_t(s.Between(0, 3));
        for (int32_t n = 0; n < notes; ++n) s.Tone(at + 0.09 * n, 0.07, f, f * s.Between(1.1, 1.4), 0.5, 0.06);
    }
    s.MakeLoop(0.5);
    s.Normalize(ambiencePeak);
}

void Wind(TSynth& s) {
    s.Hiss(0, 5.0, 500, 60, 1.0, 0.2, 0);
    s.Swell(0, 5.0, 2, 0.5);
    s.MakeLoop(1.0);
    s.Normalize(ambiencePeak);
}

void Hum(TSynth& s) {
    // Mains, engines and voices far off: a low drone under a dull murmur.
    s.Tone(0, 4.0, 55, 55, 0.5, 0, {1.0, 0.6, 0.3, 0.15});
    s.Hiss(0, 4.0, 400, 80, 0.8, 0.2, 0);
    s.Swell(0, 4.0, 3, 0.2);
    s.MakeLoop(1.0);
    s.Normalize(ambiencePeak);
}

void Traffic(TSynth& s) {
    // A rumble of engines with cars passing by (each a swell of its own tone).
    s.Hiss(0, 5.0, 250, 40, 0.6, 0.2, 0);
    for (int32_t i = 0; i < 6; ++i) {
        const double at = s.Between(0, 4.0), f = s.Between(80, 140);
        s.Tone(at, 1.0, f * 1.05, f * 0.95, 0.25, 0, {1.0, 0.5, 0.3});
        s.Swell(at, 1.0, 1.0, 0.9, 0.75);
        s.Hiss(at, 1.0, 1500, 300, 0.15, 0.4, 0.6);
    }
    s.MakeLoop(1.0);
    s.Normalize(ambiencePeak);
}

void Rain(TSynth& s) {
    s.Hiss(0, 4.0, 6000, 800, 0.7, 0.2, 0);
    for (int32_t i = 0; i < 120; ++i) s.Hiss(s.Between(0, 3.9), 0.02, 8000, 2000, s.Between(0.1, 0.4), 0.0005, 0.01);
    s.MakeLoop(0.5);
    s.Normalize(ambiencePeak);
}

void Thunder(TSynth& s) {
    // A crack, then a long rolling rumble.
    s.Hiss(0, 0.3, 6000, 500, 0.8, 0.001, 0.25);
    s.Hiss(0.05, 3.0, 180, 0, 1.0, 0.1, 2.6);
    s.Swell(0.05, 3.0, 5, 0.4);
    s.Normalize(eventPeak * 0.8);
}
}  // namespace

const std::vector<TSoundRecipe>& TSoundRecipes::All() {
    static const std::vector<TSoundRecipe> recipes = {
        {"click", 1, false, Click},       {"road", 2, false, Road},           {"build", 3, false, Build},
        {"demolish", 4, false, Demolish}, {"refused", 5, false, Refused},     {"money", 6, false, Money},
        {"finished", 7, false, Finished}, {"milestone", 8, false, Milestone}, {"thunder", 9, false, Thunder},
        {"birds", 10, true, Birds},       {"wind", 11, true, Wind},           {"hum", 12, true, Hum},
        {"traffic", 13, true, Traffic},   {"rain", 14, true, Rain},
    };
    return recipes;
}

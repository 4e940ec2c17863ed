#pragma once
#include <cstdint>
#include <vector>

// The sound generator's kit: a buffer of samples (−1 … 1) at TSound::rate and the pieces the
// recipes are built from. Only additions and multiplications of doubles (its sine is a
// polynomial of its own, its randomness a seeded xorshift), so a recipe writes the same samples
// on every run, whatever the library's sin or the compiler's folding.
class TSynth {
public:
    static constexpr double rate = 22050.0;

    // Seeded per recipe, so adding a recipe changes no other sound.
    explicit TSynth(uint32_t seed) : state(seed ? seed : 1u) {}

    static double Sine(double cycles);
    // A uniform number in [−1, 1).
    double Noise();
    // A uniform number in [lo, hi).
    double Between(double lo, double hi) { return lo + (hi - lo) * (0.5 * Noise() + 0.5); }

    static int32_t Samples(double seconds) { return int32_t(seconds * rate); }
    // The buffer grows to hold at least seconds.
    void Reserve(double seconds);

    // A tone from frequency `from` to `to` Hz over its length, with partial amplitudes (the
    // first the fundamental), a quick attack and an exponential decay to a thousandth over
    // `decay` seconds; added to the buffer at `start`.
    void Tone(double start, double length, double from, double to, double level, double decay,
              const std::vector<double>& partials = {1.0});
    // Noise low-passed (cut-off in Hz; 0 leaves it white) and high-passed alike, shaped like Tone.
    void Hiss(double start, double length, double lowPass, double highPass, double level, double attack, double decay);
    // Multiplies [start, start+length) by 1 + depth·sine of `cycles` whole periods (a slow swell).
    void Swell(double start, double length, double cycles, double depth, double phase = 0);
    // A loop: the last `fade` seconds are blended into the first ones and cut off, so the end
    // runs on into the beginning without a click.
    void MakeLoop(double fade);
    // Scales the buffer to the peak level (0 … 1).
    void Normalize(double peak);
    // The buffer in 16-bit samples (clipped, rounded half away from zero).
    std::vector<int16_t> Pcm() const;

    std::vector<double> buffer;

private:
    uint32_t state;
};

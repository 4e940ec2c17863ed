#include "tools/TSynth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;

// One pole of a low-pass filter for the cut-off frequency (0 passes everything).
double PoleFor(double cutoff) {
    if (cutoff <= 0) return 1.0;
    const double x = 2.0 * pi * cutoff / TSynth::rate;
    return x / (1.0 + x);
}
}  // namespace

double TSynth::Sine(double cycles) {
    // Reduced to [−0.5, 0.5) cycles, then to [−π/2, π/2] by symmetry; Taylor terms to x^13.
    double c = cycles - std::floor(cycles + 0.5);
    if (c > 0.25) c = 0.5 - c;
    if (c < -0.25) c = -0.5 - c;
    const double x = 2.0 * pi * c, x2 = x * x;
    double term = x, sum = x;
    for (int32_t n = 1; n <= 6; ++n) {
        term *= -x2 / double((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double TSynth::Noise() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return double(state) / 2147483648.0 - 1.0;
}

void TSynth::Reserve(double seconds) {
    const size_t n = size_t(Samples(seconds));
    if (buffer.size() < n) buffer.resize(n, 0.0);
}

void TSynth::Tone(double start, double length, double from, double to, double level, double decay,
                  const std::vector<double>& partials) {
    Reserve(start + length);
    const int32_t first = Samples(start), count = Samples(length);
    const double fall = decay > 0 ? std::pow(0.001, 1.0 / (decay * rate)) : 1.0;
    const int32_t attack = std::max(1, Samples(0.004));
    double phase = 0, envelope = level;
    for (int32_t i = 0; i < count; ++i) {
        const double t = double(i) / double(count);
        phase += (from + (to - from) * t) / rate;
        double v = 0;
        for (size_t k = 0; k < partials.size(); ++k) v += partials[k] * Sine(phase * double(k + 1));
        const double rise = i < attack ? double(i) / attack : 1.0;
        buffer[size_t(first + i)] += v * envelope * rise;
        envelope *= fall;
    }
}

void TSynth::Hiss(double start, double length, double lowPass, double highPass, double level, double attack,
                  double decay) {
    Reserve(start + length);
    const int32_t first = Samples(start), count = Samples(length), rise = std::max(1, Samples(attack));
    const double fall = decay > 0 ? std::pow(0.001, 1.0 / (decay * rate)) : 1.0;
    const double lp = PoleFor(lowPass), hp = PoleFor(highPass);
    double low = 0, base = 0, envelope = level;
    for (int32_t i = 0; i < count; ++i) {
        low += lp * (Noise() - low);
        base += hp * (low - base);
        const double v = highPass > 0 ? low - base : low;
        buffer[size_t(first + i)] += v * envelope * (i < rise ? double(i) / rise : 1.0);
        if (i >= rise) envelope *= fall;
    }
}

void TSynth::Swell(double start, double length, double cycles, double depth, double phase) {
    Reserve(start + length);
    const int32_t first = Samples(start), count = Samples(length);
    for (int32_t i = 0; i < count; ++i)
        buffer[size_t(first + i)] *= 1.0 + depth * Sine(phase + cycles * double(i) / double(count));
}

void TSynth::MakeLoop(double fade) {
    const size_t n = size_t(Samples(fade));
    if (buffer.size() < 2 * n) return;
    const size_t tail = buffer.size() - n;
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / double(n);
        buffer[i] = buffer[i] * t + buffer[tail + i] * (1.0 - t);
    }
    buffer.resize(tail);
}

void TSynth::Normalize(double peak) {
    double most = 0;
    for (double v : buffer) most = std::max(most, std::fabs(v));
    if (most <= 0) return;
    for (double& v : buffer) v *= peak / most;
}

std::vector<int16_t> TSynth::Pcm() const {
    std::vector<int16_t> out;
    out.reserve(buffer.size());
    for (double v : buffer) {
        const double s = std::clamp(v, -1.0, 1.0) * 32767.0;
        out.push_back(int16_t(s < 0 ? -std::floor(-s + 0.5) : std::floor(s + 0.5)));
    }
    return out;
}

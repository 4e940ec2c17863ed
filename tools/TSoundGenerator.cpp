#include "tools/TSoundGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/TSound.h"
#include "platform/TStream.h"
#include "platform/TWave.h"
#include "tools/TArtGenerator.h"
#include "tools/TSoundRecipes.h"
#include "tools/TSynth.h"

namespace {
bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::shared_ptr<TStream> out = TStream::WriteFile(path);
    if (!out) return false;
    if (out->WriteString(bytes) && out->Close()) return true;
    out->Discard();
    return false;
}

std::string Decibels(double level) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", level > 0 ? 20.0 * std::log10(level) : -99.0);
    return text;
}
}  // namespace

std::vector<int16_t> TSoundGenerator::Make(const std::string& name) {
    for (const TSoundRecipe& recipe : TSoundRecipes::All()) {
        if (recipe.name != name) continue;
        TSynth synth(recipe.seed);
        recipe.make(synth);
        return synth.Pcm();
    }
    return {};
}

std::string TSoundGenerator::ListingLine(const std::string& name, const std::vector<int16_t>& samples, bool loop) {
    double peak = 0, squares = 0;
    for (int16_t s : samples) {
        const double v = double(s) / 32768.0;
        peak = std::max(peak, std::fabs(v));
        squares += v * v;
    }
    const double mean = samples.empty() ? 0 : std::sqrt(squares / double(samples.size()));
    char line[128];
    std::snprintf(line, sizeof line, "%-10s %-5s %6.2f s  peak %6s dBFS  mean %6s dBFS", name.c_str(),
                  loop ? "loop" : "once", double(samples.size()) / TSound::rate, Decibels(peak).c_str(),
                  Decibels(mean).c_str());
    return line;
}

bool TSoundGenerator::WriteAll(const std::string& folder) {
    if (!TArtGenerator::MakeDirs(folder)) {
        Print("Cannot create folder: " + folder);
        return false;
    }
    bool ok = true;
    std::string listing = "Sounds made by vallmora_artgen from tools/TSoundRecipes.cpp (16-bit mono, " +
                          std::to_string(TSound::rate) + " Hz)\n";
    for (const TSoundRecipe& recipe : TSoundRecipes::All()) {
        const std::vector<int16_t> samples = Make(recipe.name);
        const std::string path = folder + "/" + recipe.name + ".wav";
        if (!WriteBytes(path, TWave::Encode(samples, TSound::rate))) {
            Print("Cannot write " + path);
            ok = false;
        }
        listing += ListingLine(recipe.name, samples, recipe.loop) + "\n";
    }
    return WriteBytes(folder + "/" + listingName, listing) && ok;
}

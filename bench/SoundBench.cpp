// Prints the game thread's sound cost per frame with thirty sounds playing (the director's frame
// with its ambience, and event sounds started), and the mixing cost on the audio thread.
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/TSoundDirector.h"
#include "platform/TMixer.h"
#include "platform/TSoundBank.h"

int main() {
    auto mixer = std::make_unique<TMixer>();
    TMixer* mix = mixer.get();
    TSoundDirector director(
        std::move(mixer),
        TSoundBank::LoadAll(TSoundDirector::folder, {TSoundDirector::names.begin(), TSoundDirector::names.end()}));
    const TSoundView view{0.5f, 40, 20, 0.5f, 0.5f, false};
    director.Frame(view, 0);
    // Twenty-five event sounds kept going beside the five loops.
    const int32_t frames = 2000;
    std::vector<int16_t> block(2 * 512);
    double game = 0, mixing = 0;
    for (int32_t f = 0; f < frames; ++f) {
        const auto start = std::chrono::steady_clock::now();
        while (mix->Playing() < 30) director.AtPlace(TSoundDirector::Demolish, 100.0f, 640.0f, 1.0f, false);
        director.Frame(view, f * 16);
        const auto mid = std::chrono::steady_clock::now();
        mix->Mix(block.data(), 368);  // a 60 Hz frame's samples
        const auto end = std::chrono::steady_clock::now();
        game += std::chrono::duration<double, std::milli>(mid - start).count();
        mixing += std::chrono::duration<double, std::milli>(end - mid).count();
    }
    std::printf("sound, 30 playing: game thread %.4f ms per frame, mixing %.4f ms per frame (audio thread)\n",
                game / frames, mixing / frames);
    return 0;
}

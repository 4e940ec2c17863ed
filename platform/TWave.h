#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The sound files: RIFF WAVE, 16-bit PCM, mono, at TSound::rate.
namespace TWave {
// The file's bytes for the samples.
std::string Encode(const std::vector<int16_t>& samples, int32_t rate);
// The samples of a file; false with the reason (English, for the console) for a file that is
// short, damaged or of another kind (stereo, 8-bit, compressed, another rate).
bool Decode(const std::string& bytes, std::vector<int16_t>& samples, std::string& reason);
}  // namespace TWave

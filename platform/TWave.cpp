#include "platform/TWave.h"

#include "platform/TSound.h"

namespace {
void Put32(std::string& out, uint32_t v) {
    for (int32_t i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& out, uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
uint32_t Get(const std::string& in, size_t at, int32_t bytes) {
    uint32_t v = 0;
    for (int32_t i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(in[at + size_t(i)]);
    return v;
}
}  // namespace

std::string TWave::Encode(const std::vector<int16_t>& samples, int32_t rate) {
    const uint32_t data = uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + data);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, uint32_t(rate));
    Put32(out, uint32_t(rate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, data);
    for (int16_t s : samples) Put16(out, uint16_t(s));
    return out;
}

bool TWave::Decode(const std::string& bytes, std::vector<int16_t>& samples, std::string& reason) {
    samples.clear();
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        reason = "not a WAVE file";
        return false;
    }
    bool format = false;
    // Chunks follow one another, each padded to an even length; unknown ones are skipped.
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = Get(bytes, at + 4, 4);
        const size_t body = at + 8;
        if (size > bytes.size() - body) {
            reason = "truncated (chunk \"" + id + "\" runs past the end)";
            return false;
        }
        if (id == "fmt ") {
            if (size < 16 || Get(bytes, body, 2) != 1 || Get(bytes, body + 2, 2) != 1 ||
                Get(bytes, body + 4, 4) != uint32_t(TSound::rate) || Get(bytes, body + 14, 2) != 16) {
                reason = "not 16-bit PCM mono at " + std::to_string(TSound::rate) + " Hz";
                return false;
            }
            format = true;
        } else if (id == "data") {
            if (!format) break;
            samples.resize(size / 2);
            for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(Get(bytes, body + 2 * i, 2));
            if (samples.empty()) {
                reason = "no samples";
                return false;
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    reason = format ? "truncated (no sample data)" : "no format chunk before the samples";
    return false;
}

// The sound files (WAVE reading of good, cut, foreign and missing files) and the mixer (volume,
// pan, loops, one-shots that end, many voices at once).
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/TMixer.h"
#include "platform/TSoundBank.h"
#include "platform/TWave.h"
#include "tests/support/TempDir.h"

namespace {

std::shared_ptr<const TSound> Constant(int16_t value, size_t count) {
    auto s = std::make_shared<TSound>();
    s->samples.assign(count, value);
    return s;
}

TEST(WaveTest, FilesReadBackOrAreRefusedWithTheirReason) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768};
    const std::string good = TWave::Encode(samples, TSound::rate);
    std::string stereo = good;
    stereo[22] = 2;
    std::string otherRate = TWave::Encode(samples, 44100);
    std::string withExtraChunk = good.substr(0, 36) + std::string("LIST\3\0\0\0abc\0", 12) + good.substr(36);
    struct TCase {
        const char* what;
        std::string bytes;
        const char* reason;  // empty: readable
    } cases[] = {
        {"as written", good, ""},
        {"an unknown chunk skipped", withExtraChunk, ""},
        {"cut in the samples", good.substr(0, good.size() - 3), "truncated"},
        {"cut in the header", good.substr(0, 30), "truncated"},
        {"samples before the format", good.substr(0, 12) + good.substr(36), "no format chunk"},
        {"stereo", stereo, "not 16-bit PCM mono"},
        {"another rate", otherRate, "not 16-bit PCM mono"},
        {"a PNG", "\x89PNG\r\n\x1a\n....", "not a WAVE file"},
        {"empty", "", "not a WAVE file"},
    };
    for (const TCase& c : cases) {
        std::vector<int16_t> read;
        std::string reason;
        const bool ok = TWave::Decode(c.bytes, read, reason);
        EXPECT_EQ(ok, std::string(c.reason).empty()) << c.what;
        if (ok) {
            EXPECT_EQ(read, samples) << c.what;
        } else {
            EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
        }
    }
}

TEST(WaveTest, TheBankLoadsTheGoodSoundsAndNamesEachBadOneOnOneLine) {
    TempDir dir;
    std::ofstream(dir.File("good.wav"), std::ios::binary) << TWave::Encode({1, 2, 3}, TSound::rate);
    std::ofstream(dir.File("cut.wav"), std::ios::binary) << TWave::Encode({1, 2, 3}, TSound::rate).substr(0, 40);
    testing::internal::CaptureStdout();
    const auto sounds = TSoundBank::LoadAll(dir.path, {"missing", "good", "cut"});
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0], nullptr);
    ASSERT_NE(sounds[1], nullptr);
    EXPECT_EQ(sounds[1]->name, "good");
    EXPECT_EQ(sounds[1]->samples, (std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(sounds[2], nullptr);
    EXPECT_EQ(out, "Sound " + dir.File("missing.wav") + " is missing; it stays silent.\nSound " + dir.File("cut.wav") +
                       " cannot be used (truncated (no sample data)); it stays silent.\n");
}

TEST(MixerTest, VolumeAndPanSetEachSide) {
    struct TCase {
        float volume, pan;
        int16_t left, right;
    } cases[] = {
        {1.0f, 0.0f, 10000, 10000}, {0.5f, 0.0f, 5000, 5000},  {1.0f, -1.0f, 10000, 0},
        {1.0f, 1.0f, 0, 10000},     {1.0f, 0.5f, 5000, 10000}, {2.0f, -3.0f, 10000, 0},  // clamped
    };
    for (const TCase& c : cases) {
        TMixer mixer;
        ASSERT_NE(mixer.Play(Constant(10000, 64), c.volume, c.pan, false), 0);
        std::vector<int16_t> out(16);
        mixer.Mix(out.data(), 8);
        EXPECT_EQ(out[0], c.left) << c.volume << " " << c.pan;
        EXPECT_EQ(out[1], c.right) << c.volume << " " << c.pan;
    }
}

TEST(MixerTest, OneShotsEndLoopsGoOnVoicesAddAndClipAndChangesGlide) {
    TMixer mixer;
    const auto shortSound = Constant(20000, 4);
    mixer.Play(shortSound, 1.0f, 0.0f, false);
    const TAudioBackend::TVoice loop = mixer.Play(Constant(20000, 3), 1.0f, 0.0f, true);
    std::vector<int16_t> out(20);
    mixer.Mix(out.data(), 10);
    // A loop glides in from silence over its first block; the one-shot adds to it.
    EXPECT_EQ(out[0], 20000 * 1 / 10 + 20000);
    EXPECT_EQ(out[6], 20000 * 4 / 10 + 20000);
    EXPECT_EQ(out[18], 20000);  // the one-shot ended after four frames, the loop went on
    EXPECT_EQ(mixer.Playing(), 1);
    mixer.Set(loop, 0.0f, 0.0f);
    mixer.Mix(out.data(), 10);
    EXPECT_GT(out[0], 0);   // glides down ...
    EXPECT_EQ(out[18], 0);  // ... to silence by the block's end
    mixer.Stop(loop);
    EXPECT_EQ(mixer.Playing(), 0);
    mixer.Play(shortSound, 1.0f, 0.0f, false);
    mixer.Play(shortSound, 1.0f, 0.0f, false);
    mixer.Mix(out.data(), 10);
    EXPECT_EQ(out[0], 32767);  // clipped, not wrapped
    mixer.Mix(out.data(), 10);
    for (int32_t i = 0; i < TMixer::maxVoices; ++i) EXPECT_NE(mixer.Play(shortSound, 1, 0, false), 0);
    EXPECT_EQ(mixer.Play(shortSound, 1, 0, false), 0);  // every voice busy
    EXPECT_EQ(mixer.Play(nullptr, 1, 0, false), 0);
}

}  // namespace

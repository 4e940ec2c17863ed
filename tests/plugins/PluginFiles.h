#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/TCharset.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TPlugin.h"
#include "tests/support/TempDir.h"

// Writing small plugin files and pictures for the plugin kind tests.
namespace PluginFiles {

inline void Put(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::shared_ptr<TStream> s = TStream::WriteFile(path);
    ASSERT_TRUE(s);
    s->WriteString(bytes);
    ASSERT_TRUE(s->Close());
}

// A PNG (with alpha) of one colour.
inline void Png(const std::string& path, int32_t width, int32_t height, uint32_t argb = 0xFF336699u) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::shared_ptr<TPixmap> p = TPixmap::Create(width, height);
    ASSERT_TRUE(p);
    p->ClearPixels(argb);
    ASSERT_TRUE(SavePixmapPNG(*p, path));
}

// A 24-bit BMP (no alpha of its own, so the mask colour applies): magenta in the left half,
// grey in the right half.
inline void MaskedBmp(const std::string& path, int32_t width, int32_t height) {
    const int32_t rowBytes = (width * 3 + 3) / 4 * 4;
    const int32_t size = 54 + rowBytes * height;
    std::string b(static_cast<size_t>(size), '\0');
    auto le = [&](size_t at, uint32_t v, int count) {
        for (int i = 0; i < count; ++i) b[at + size_t(i)] = char((v >> (8 * i)) & 255);
    };
    b[0] = 'B';
    b[1] = 'M';
    le(2, uint32_t(size), 4);
    le(10, 54, 4);
    le(14, 40, 4);
    le(18, uint32_t(width), 4);
    le(22, uint32_t(height), 4);
    le(26, 1, 2);
    le(28, 24, 2);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = 54 + size_t(y * rowBytes + x * 3);
            const bool magenta = x < width / 2;
            b[at] = char(magenta ? 255 : 128);      // blue
            b[at + 1] = char(magenta ? 0 : 128);    // green
            b[at + 2] = char(magenta ? 255 : 128);  // red
        }
    }
    Put(path, b);
}

inline std::string Header() { return "- title\nTest plugins\n- author\nA. Author\n- homepage\nexample.org\n"; }

// A record scope from key/value pairs given as "key", "value", ...
inline std::string Record(std::initializer_list<std::string> keysAndValues) {
    std::string text = ">\n";
    bool key = true;
    for (const std::string& entry : keysAndValues) {
        text += key ? "- " + entry + "\n" : entry + "\n";
        key = !key;
    }
    return text + "<\n";
}

// Fresh registry, kinds registered, default tile size, a temporary folder.
class PluginKindTest : public testing::Test {
protected:
    void SetUp() override {
        TPlugin::ClearRegistry();
        TPlugin::Init();
        TPlugin::SetTileSize(32, 16);
    }
    void TearDown() override {
        TPlugin::ClearRegistry();
        TPlugin::SetTileSize(32, 16);
    }

    // Writes the plugin file (header + records, 8-bit like every plugin file) and loads it;
    // returns what it printed.
    std::string LoadFile(const std::string& name, const std::string& records, int32_t* count = nullptr) {
        Put(dir.File(name), TCharset::Utf8ToLatin1(Header() + records));
        testing::internal::CaptureStdout();
        const int32_t n = TPlugin::_LoadINI(dir.File(name));
        if (count) *count = n;
        return testing::internal::GetCapturedStdout();
    }

    static std::string Report(const std::string& path, const std::string& detail) {
        return "Fehler beim Einlesen des Plugins: " + path + "\r\nVerfügbare Zusatzinformationen dazu: " + detail +
               "\r\n***Fehlterhafte Plugins können zu Problemen innerhalb des Spiels führen!***\r\n\n";
    }

    TempDir dir;
};

}  // namespace PluginFiles

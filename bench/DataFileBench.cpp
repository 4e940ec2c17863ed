// Reads and writes a data file of about 10 MB and prints the times.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "persistence/TDataFile.h"

using Clock = std::chrono::steady_clock;

namespace {
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void Report(const char* what, double seconds, double bytes) {
    std::printf("%-34s %8.3f s  %8.1f MB/s\n", what, seconds, bytes / 1e6 / seconds);
}
}  // namespace

int main() {
    const std::string path = (std::filesystem::temp_directory_path() / "vallmora-datafile-bench.dat").string();
    constexpr int64_t target = 10 * 1000 * 1000;

    auto out = vesko::TDataFile::Create(path);
    int sections = 0;
    while (out->_getbytesize() < target) {
        out->addHeader("road" + std::to_string(sections++));
        for (int k = 0; k < 100; ++k) out->addFlag("flag" + std::to_string(k), "value " + std::to_string(k * sections));
    }
    const double bytes = double(out->_getbytesize());
    std::printf("data file: %d sections, %.0f bytes\n", sections, bytes);

    auto t = Clock::now();
    if (!out->WriteOut()) return 1;
    Report("WriteOut (layout in memory)", Seconds(t), bytes);
    t = Clock::now();
    if (!out->Save()) return 1;
    Report("Save (to disk)", Seconds(t), bytes);

    t = Clock::now();
    auto in = vesko::TDataFile::Load(path);
    if (!in) return 1;
    Report("Load (from disk)", Seconds(t), bytes);
    t = Clock::now();
    if (!in->ReadIn()) return 1;
    Report("ReadIn (parse)", Seconds(t), bytes);
    std::printf("read back: %d sections\n", in->countHeaders());

    auto small = vesko::TDataFile::Create(path);
    small->File->setByteArray(std::vector<uint8_t>(1000 * 1000, 0x5A));
    t = Clock::now();
    const auto p = small->generateKeyAllocation(7);
    Report("generateKeyAllocation (1 MB)", Seconds(t), 1e6);
    t = Clock::now();
    small->crypt(p);
    small->decrypt(p);
    Report("crypt + decrypt (1 MB)", Seconds(t), 2e6);

    std::filesystem::remove(path);
    return 0;
}

// libFuzzer target for the data file reader.
//
// Build and run (clang only; a bounded run of 60 seconds; -close_fd_mask=1 hides the reader's
// one-line reports of damaged files):
//   cmake -G Ninja -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
//   ninja -C build-fuzz fuzz_datafile
//   mkdir -p build-fuzz/corpus-datafile
//   build-fuzz/tests/fuzz/fuzz_datafile -max_total_time=60 -max_len=4096 -close_fd_mask=1 build-fuzz/corpus-datafile
//
// Every input must be read without a fault; an accepted input must write back to the bytes it was
// read from (bytes after the last section aside) and answer lookups of every name it holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "persistence/TDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto d = vesko::TDataFile::Create("fuzz.dat");
    d->File->setByteArray(std::vector<uint8_t>(data, data + size));
    if (!d->ReadIn()) return 0;

    for (int32_t i = 0; i < d->countHeaders(); ++i) {
        auto h = d->getHeader(i);
        if (!d->findHeader(h->GetName(), 1)) std::abort();
        for (int32_t k = 0; k < h->countFlags(); ++k)
            if (!h->findFlag(h->getFlag(k)->getName())) std::abort();
    }

    if (!d->WriteOut()) std::abort();
    const std::vector<uint8_t>& again = d->File->data;
    if (again.size() > size || !std::equal(again.begin(), again.end(), data)) std::abort();

    // Scrambling the accepted file and undoing it must restore it.
    if (size <= 64) {
        const auto p = d->generateKeyAllocation(static_cast<int32_t>(size));
        if (!d->crypt(p) || !d->decrypt(p)) std::abort();
        if (d->File->data != again) std::abort();
    }
    return 0;
}

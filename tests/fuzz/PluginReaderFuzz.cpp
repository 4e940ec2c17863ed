// libFuzzer target for the plugin/settings text reader.
//
// Build and run (clang only; a bounded run of 60 seconds):
//   cmake -G Ninja -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
//   ninja -C build-fuzz fuzz_plugin_reader
//   mkdir -p build-fuzz/corpus-plugin && cp cfg/*.cfg build-fuzz/corpus-plugin/
//   build-fuzz/tests/fuzz/fuzz_plugin_reader -max_total_time=60 -max_len=65536 build-fuzz/corpus-plugin
//
// Every input must parse, answer lookups and scope counts, take new fields, and survive a write
// and re-read with identical lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/TNumberText.h"
#include "plugins/TPluginReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<TPluginReader> reader = TPluginReader::FromBytes(bytes);

    const int32_t scopes = reader->CountScopes();
    if (scopes < -1) std::abort();
    for (int32_t s = 0; s <= 3; ++s) {
        const std::string a = reader->GetField("title", s, "\x01");
        const std::string b = reader->GetField("TITLE", s, "\x01");
        if (a != b) std::abort();  // lookups ignore letter case
        TNumberText::ToInt(reader->GetPluginTyp(s));
        TNumberText::ToFloat(reader->GetName(s));
    }
    // Keys taken from the input itself.
    if (!reader->line.empty()) reader->GetField(reader->line.front(), 1, "");
    TNumberText::ToInt(bytes);
    TNumberText::ToFloat(bytes);

    // Writing the lines out and reading them back gives the same lines.
    const std::string written = reader->ToBytes();
    if (TPluginReader::FromBytes(written)->line != reader->line) std::abort();

    // A field goes into scope 2: refused on unbalanced markers, else found there afterwards.
    const size_t before = reader->line.size();
    const bool keyThere = reader->GetField("fuzz key", 2, "\x01") != "\x01";
    const int32_t result = reader->WriteField("fuzz key", 2, "value");
    if (scopes < 0) {
        if (result != 0 || reader->line.size() != before) std::abort();
    } else {
        if (result != 1 || reader->CountScopes() != (scopes > 2 ? scopes : 2)) std::abort();
        if (!keyThere && reader->GetField("fuzz key", 2) != "value") std::abort();
    }
    return 0;
}

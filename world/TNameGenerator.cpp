#include "world/TNameGenerator.h"

#include <algorithm>

#include "platform/TStream.h"

namespace {
// A weight beyond this is taken as this, so a damaged list cannot expand into gigabytes.
constexpr int32_t maxWeight = 100000;

std::string Trim(const std::string& text) {
    size_t a = 0, b = text.size();
    while (a < b && static_cast<unsigned char>(text[a]) < 33) ++a;
    while (b > a && static_cast<unsigned char>(text[b - 1]) < 33) --b;
    return text.substr(a, b - a);
}

// The leading decimal digits of the text; 0 when there are none.
int32_t LeadingNumber(const std::string& text, size_t from) {
    int64_t value = 0;
    for (size_t i = from; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), maxWeight);
    }
    return int32_t(value);
}
}  // namespace

std::shared_ptr<TNameGenerator> TNameGenerator::CreateFromFile(const std::string& path) {
    auto stream = TStream::ReadFile(path);
    if (!stream) return nullptr;
    // Every line ends as a list entry with a default weight; a weight of the line's own comes
    // first and wins, since only the first parenthesis of an entry is read.
    std::string text;
    while (!stream->Eof()) text += stream->ReadLine() + "(1),";
    stream->Close();
    std::replace(text.begin(), text.end(), '\n', ',');
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    if (text.empty()) return nullptr;

    std::vector<TNameData> list;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(',', begin);
        if (end == std::string::npos) end = text.size();
        const std::string piece = text.substr(begin, end - begin);
        begin = end + 1;
        const size_t open = piece.find('(');
        TNameData entry;
        entry.Name = Trim(piece.substr(0, open));
        // Blank entries (empty lines, the text after the last comma) are no names.
        if (entry.Name.empty()) continue;
        entry.weight = std::max(1, open == std::string::npos ? 0 : LeadingNumber(piece, open + 1));
        list.push_back(std::move(entry));
    }
    if (list.empty()) return nullptr;
    return Create(list);
}

std::shared_ptr<TNameGenerator> TNameGenerator::Create(const std::vector<TNameData>& list) {
    auto g = std::make_shared<TNameGenerator>();
    g->generate(list);
    return g;
}

int32_t TNameGenerator::generate(const std::vector<TNameData>& list) {
    source = list;
    names.clear();
    for (const TNameData& entry : list) {
        const int32_t weight = std::clamp(entry.weight, 1, maxWeight);
        names.insert(names.end(), size_t(weight), entry);
    }
    return 1;
}

std::string TNameGenerator::pickName(float f) const {
    if (names.empty()) return std::string();
    const float slot = f * float(names.size() - 1);
    // Out-of-range draws (and NaN) fall back to the nearest end instead of reading outside.
    if (!(slot > 0)) return names.front().Name;
    if (slot >= float(names.size() - 1)) return names.back().Name;
    return names[size_t(static_cast<int32_t>(slot))].Name;
}

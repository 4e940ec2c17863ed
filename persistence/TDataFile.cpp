#include "persistence/TDataFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <string_view>

#include "framework/TFastRandom.h"
#include "platform/TCharset.h"
#include "platform/TNumberText.h"
#include "platform/TStream.h"

namespace vesko {

namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int64_t FloorMod(int64_t a, int64_t n) { return ((a % n) + n) % n; }

}  // namespace

std::shared_ptr<TDataFile> TDataFile::Create(const std::string& path) {
    auto d = std::make_shared<TDataFile>();
    d->File = TFile::Create(path);
    return d;
}

std::shared_ptr<TDataFile> TDataFile::Load(const std::string& path) {
    auto file = TFile::Load(path);
    if (!file) return nullptr;
    auto d = std::make_shared<TDataFile>();
    d->File = file;
    return d;
}

void TDataFile::setFilename(const std::string& path) {
    if (File) File->setFilename(path);
}

std::shared_ptr<TFileHeader> TDataFile::addHeader(const std::string& name) {
    auto h = std::make_shared<TFileHeader>();
    h->File = weak_from_this();
    h->Name = name;
    regHeader(h, 1);
    return h;
}

std::shared_ptr<TFileFlag> TDataFile::addFlag(const std::string& name, const std::string& value) {
    if (!currentHeader) return nullptr;
    return TFileFlag::Create(name, value, currentHeader, 1);
}

void TDataFile::regHeader(const std::shared_ptr<TFileHeader>& header, int32_t select) {
    if (!header) return;
    Headers.push_back(header);
    mustrege = 1;
    if (select) currentHeader = header;
}

void TDataFile::remHeader(const std::shared_ptr<TFileHeader>& header) {
    auto it = std::find(Headers.begin(), Headers.end(), header);
    if (it == Headers.end()) return;
    Headers.erase(it);
    mustrege = 1;
    // A removed section must not stay the target of addFlag: its flags would never be written.
    if (currentHeader == header) currentHeader = nullptr;
    if (currentFlag && currentFlag->header.lock() == header) currentFlag = nullptr;
}

std::shared_ptr<TFileHeader> TDataFile::getHeader(int32_t index) const {
    if (index < 0 || size_t(index) >= Headers.size()) return nullptr;
    return Headers[size_t(index)];
}

std::shared_ptr<TFileHeader> TDataFile::findHeader(const std::string& name, int32_t select) {
    if (mustrege) {
        headerMap.clear();
        for (const auto& h : Headers) headerMap[h->Name] = h;
        mustrege = 0;
    }
    auto it = headerMap.find(name);
    if (it == headerMap.end()) return nullptr;
    if (select) currentHeader = it->second;
    return it->second;
}

std::shared_ptr<TFileFlag> TDataFile::findFlag(const std::string& name, int32_t select) {
    if (!currentHeader) return nullptr;
    auto f = currentHeader->findFlag(name);
    if (f && select) currentFlag = f;
    return f;
}

std::string TDataFile::getFlagValue(const std::string& def) const { return currentFlag ? currentFlag->value : def; }

int32_t TDataFile::getFlagValueInt(int32_t def) const {
    return TNumberText::ToInt(getFlagValue(TNumberText::FromInt(def)));
}

float TDataFile::getFlagValueFloat(float def) const {
    return TNumberText::ToFloat(getFlagValue(TNumberText::FromFloat(def)));
}

double TDataFile::getFlagValueDouble(double def) const {
    return TNumberText::ToDouble(getFlagValue(TNumberText::FromDouble(def)));
}

uint8_t TDataFile::getFlagValueByte(uint8_t def) const {
    return TNumberText::ToByte(getFlagValue(TNumberText::FromInt(def)));
}

void TDataFile::Clear() {
    Headers.clear();
    headerMap.clear();
    mustrege = 1;
    currentHeader = nullptr;
    currentFlag = nullptr;
}

int32_t TDataFile::ReadIn() {
    if (!File) return 0;
    Clear();
    _seekFile(0);
    const auto fail = [this]() {
        Print("Data file " + File->GetFilename() + " is damaged or truncated near byte " + std::to_string(filepos) +
              "; " + std::to_string(Headers.size()) + " section(s) read");
        return 0;
    };
    const int32_t count = _readBigShort();
    if (count < 0) return fail();
    // Each section takes at least its name length and its flag count: a larger count cannot be
    // satisfied by the bytes present, so it is refused before anything is reserved.
    const int64_t remaining = int64_t(getSize()) - filepos;
    if (int64_t(count) * 2 * _countWidth() > remaining) return fail();
    Headers.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        int32_t error = 0;
        std::string name = _readString(error);
        if (error) return fail();
        auto h = std::make_shared<TFileHeader>();
        h->File = weak_from_this();
        h->Name = std::move(name);
        if (!h->_readFrom(*this)) return fail();
        Headers.push_back(std::move(h));
        mustrege = 1;
    }
    mustrege = 1;
    return 1;
}

int32_t TDataFile::WriteOut() {
    if (!File) return 0;
    const int64_t size = _getbytesize();
    if (size > std::numeric_limits<int32_t>::max()) {
        Print("Data file " + File->GetFilename() + " would be 2 GB or larger; not written");
        return 0;
    }
    // The bytes are appended into storage of the predicted size, so no slot is ever empty.
    File->Clear();
    File->data.reserve(size_t(size));
    _seekFile(0);
    _writeBigShort(static_cast<int32_t>(Headers.size()));
    for (const auto& h : Headers) {
        _writeString(h->Name);
        h->_writeTo(*this);
    }
    return 1;
}

int32_t TDataFile::_countWidth() const { return std::clamp(numberByteSize, 0, 8); }

void TDataFile::_WriteByte(int32_t v) {
    if (File) {
        const uint8_t b = TByte::Create(v).bits;
        File->_writeBytes(filepos, &b, 1);
    }
    ++filepos;
}

int32_t TDataFile::_ReadByte() {
    if (!File || filepos < 0 || filepos >= File->getSize() || File->isEmptySlot(filepos)) return -1;
    return File->data[size_t(filepos++)];
}

void TDataFile::_writeBigShort(int32_t v) {
    const int32_t n = _countWidth();
    const uint64_t u = v < 0 ? 0 : uint64_t(v);
    uint8_t bytes[8];
    for (int32_t i = 0; i < n; ++i) {
        const int32_t shift = 8 * (n - i - 1);
        bytes[i] = shift >= 64 ? 0 : uint8_t((u >> shift) & 0xFF);
    }
    if (File) File->_writeBytes(filepos, bytes, size_t(n));
    filepos += n;
}

int32_t TDataFile::_readBigShort() {
    const int32_t n = _countWidth();
    uint64_t result = 0;
    bool missing = false;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t b = _ReadByte();
        if (b < 0) {
            missing = true;
            break;
        }
        if (result > (std::numeric_limits<uint64_t>::max() >> 8)) missing = true;
        result = (result << 8) | uint64_t(b);
    }
    if (missing || result > uint64_t(std::numeric_limits<int32_t>::max())) return -1;
    return static_cast<int32_t>(result);
}

void TDataFile::_writeString(const std::string& s) {
    std::string converted;
    const bool ascii = IsAscii(s);
    if (!ascii) converted = TCharset::Utf8ToLatin1(s);
    const std::string& bytes = ascii ? s : converted;
    _writeBigShort(static_cast<int32_t>(bytes.size()));
    if (File) File->_writeBytes(filepos, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    filepos += static_cast<int32_t>(bytes.size());
}

std::string TDataFile::_readString(int32_t& error) {
    const int32_t length = _readBigShort();
    if (length < 0) {
        error = 1;
        return {};
    }
    return _readOnlyString(length, error);
}

std::string TDataFile::_readOnlyString(int32_t length, int32_t& error) {
    const int64_t remaining = int64_t(getSize()) - filepos;
    if (length < 0 || !File || filepos < 0 || length > remaining) {
        // Nothing is allocated for a length the file cannot hold.
        error = 1;
        if (File && filepos < File->getSize()) filepos = File->getSize();
        return {};
    }
    const auto start = size_t(filepos);
    if (!File->isComplete()) {
        for (int32_t i = 0; i < length; ++i)
            if (File->isEmptySlot(filepos + i)) {
                filepos += i;
                error = 1;
                return {};
            }
    }
    filepos += length;
    const std::string_view bytes(reinterpret_cast<const char*>(File->data.data()) + start, size_t(length));
    return IsAscii(bytes) ? std::string(bytes) : TCharset::Latin1ToUtf8(bytes);
}

int64_t TDataFile::_stringLength(const std::string& s) {
    return IsAscii(s) ? int64_t(s.size()) : int64_t(TCharset::Length(s));
}

int64_t TDataFile::_getbytesize() const {
    const int32_t n = _countWidth();
    int64_t size = n;
    for (const auto& h : Headers) size += h->_getbytesize(n);
    return size;
}

std::vector<int32_t> TDataFile::generateKeyAllocation(int32_t seed) const {
    const int64_t bits = _bitCount();
    if (bits <= 0 || bits > std::numeric_limits<int32_t>::max()) return {};
    const auto N = static_cast<int32_t>(bits);
    auto rng = TFastRandom::Create(seed);
    std::vector<int32_t> a(static_cast<size_t>(N), -1);
    // The free entries are a bit set in 64-bit words; a Fenwick tree over the words' counts of
    // free entries finds the word holding the k-th free entry in log(N / 64) steps, and the
    // tree is small enough to stay in cache.
    const int32_t words = (N + 63) / 64;
    std::vector<uint64_t> freeBits(size_t(words), ~uint64_t(0));
    if (N % 64) freeBits.back() = (uint64_t(1) << (N % 64)) - 1;
    std::vector<int32_t> tree(size_t(words) + 1, 0);
    for (int32_t w = 1; w <= words; ++w) {
        tree[size_t(w)] += __builtin_popcountll(freeBits[size_t(w - 1)]);
        const int32_t parent = w + (w & -w);
        if (parent <= words) tree[size_t(parent)] += tree[size_t(w)];
    }
    int32_t top = 1;
    while (top <= words / 2) top <<= 1;
    for (int32_t j = 0; j < N; ++j) {
        int32_t rank = rng->GetIntIn(0, N - j - 1);  // 0-based rank among the free entries
        int32_t word = 0;
        for (int32_t step = top; step > 0; step >>= 1) {
            const int32_t next = word + step;
            if (next <= words && tree[size_t(next)] <= rank) {
                word = next;
                rank -= tree[size_t(next)];
            }
        }
        uint64_t m = freeBits[size_t(word)];
        for (int32_t r = 0; r < rank; ++r) m &= m - 1;  // drop the lower free entries
        const int32_t bit = __builtin_ctzll(m);
        freeBits[size_t(word)] &= ~(uint64_t(1) << bit);
        a[size_t(word) * 64 + size_t(bit)] = j;
        for (int32_t i = word + 1; i <= words; i += i & -i) --tree[size_t(i)];
    }
    return a;
}

std::vector<int32_t> TDataFile::generateMovementAllocation(int32_t shift) const {
    const int64_t N = _bitCount();
    if (N <= 0 || N > std::numeric_limits<int32_t>::max()) return {};
    std::vector<int32_t> a(static_cast<size_t>(N));
    for (int64_t i = 0; i < N; ++i) a[size_t(i)] = static_cast<int32_t>(FloorMod(int64_t(shift) + i, N));
    return a;
}

std::vector<int32_t> TDataFile::generateMovementKeyAllocation(const std::vector<int32_t>& key) const {
    const int64_t N = _bitCount();
    const auto b = int64_t(key.size());
    if (N <= 0 || N > std::numeric_limits<int32_t>::max() || b == 0) return {};
    std::vector<int32_t> a(static_cast<size_t>(N));
    for (int64_t i = 0; i < N; ++i) a[size_t(i)] = static_cast<int32_t>(FloorMod((i / b) * b + key[size_t(i % b)], N));
    return a;
}

int32_t TDataFile::_checkAlloc(const std::vector<int32_t>& p) const {
    const int64_t N = _bitCount();
    if (int64_t(p.size()) != N) return 0;
    // Besides length and range, every bit number must occur once: a repeated target would
    // overwrite bits and lose data that decrypt cannot bring back.
    std::vector<bool> seen(p.size(), false);
    for (int32_t v : p) {
        if (v < 0 || int64_t(v) >= N || seen[size_t(v)]) return 0;
        seen[size_t(v)] = true;
    }
    return 1;
}

int32_t TDataFile::crypt(const std::vector<int32_t>& p) {
    if (!File || !_checkAlloc(p)) return 0;
    const std::vector<uint8_t>& in = File->data;
    std::vector<uint8_t> out(in.size(), 0);
    for (size_t i = 0; i < p.size(); ++i)
        if ((in[i >> 3] >> (i & 7)) & 1) out[size_t(p[i]) >> 3] |= uint8_t(1u << (p[i] & 7));
    File->data = std::move(out);
    File->_fillAll();
    return 1;
}

int32_t TDataFile::decrypt(const std::vector<int32_t>& p) {
    if (!File || !_checkAlloc(p)) return 0;
    std::vector<int32_t> q(p.size());
    for (size_t i = 0; i < p.size(); ++i) q[size_t(p[i])] = static_cast<int32_t>(i);
    return crypt(q);
}

}  // namespace vesko

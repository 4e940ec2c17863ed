#include "persistence/TFile.h"

#include <algorithm>
#include <limits>

#include "platform/TStream.h"

namespace vesko {

std::shared_ptr<TFile> TFile::Create(const std::string& path) {
    auto f = std::make_shared<TFile>();
    f->filename = path;
    return f;
}

std::shared_ptr<TFile> TFile::Load(const std::string& path) {
    auto f = Create(path);
    if (!f->ReadIn()) return nullptr;
    return f;
}

int32_t TFile::ReadIn() {
    std::string bytes;
    if (!LoadBytes(filename, bytes)) return 0;
    if (bytes.size() > size_t(std::numeric_limits<int32_t>::max())) {
        Print("File " + filename + " is too large (2 GB or more), not read");
        return 0;
    }
    data.assign(bytes.begin(), bytes.end());
    _fillAll();
    return 1;
}

int32_t TFile::Save() {
    auto out = TStream::WriteFile(filename);
    if (!out) return 0;
    if (!out->Write(data.data(), data.size())) {
        out->Discard();
        return 0;
    }
    return out->Close() ? 1 : 0;
}

void TFile::setSize(int32_t n) {
    const size_t count = n > 0 ? size_t(n) : 0;
    data.assign(count, 0);
    emptyMask.assign(count, true);
    emptyCount = count;
    if (count == 0) emptyMask.clear();
}

void TFile::Clear() {
    data.clear();
    _fillAll();
}

void TFile::_fillAll() {
    emptyMask.clear();
    emptyMask.shrink_to_fit();
    emptyCount = 0;
}

void TFile::_markFilled(size_t pos) {
    if (emptyCount == 0 || pos >= emptyMask.size() || !emptyMask[pos]) return;
    emptyMask[pos] = false;
    if (--emptyCount == 0) _fillAll();
}

bool TFile::isEmptySlot(int32_t pos) const {
    return emptyCount > 0 && pos >= 0 && size_t(pos) < emptyMask.size() && emptyMask[size_t(pos)];
}

void TFile::addByteAtLast(const TByte& b) {
    data.push_back(b.bits);
    if (emptyCount > 0) emptyMask.push_back(false);
}

void TFile::addByteAtFirst(const TByte& b) { addByteAtPos(b, 0); }

int32_t TFile::addByteAtPos(const TByte& b, int32_t pos) {
    if (pos < 0 || size_t(pos) > data.size()) return 0;
    data.insert(data.begin() + pos, b.bits);
    if (emptyCount > 0) emptyMask.insert(emptyMask.begin() + pos, false);
    return 1;
}

int32_t TFile::removeByte(int32_t pos) {
    if (pos < 0 || size_t(pos) >= data.size()) return 0;
    if (emptyCount > 0) {
        if (emptyMask[size_t(pos)]) --emptyCount;
        emptyMask.erase(emptyMask.begin() + pos);
        if (emptyCount == 0) _fillAll();
    }
    data.erase(data.begin() + pos);
    return 1;
}

std::optional<TByte> TFile::GetByte(int32_t pos) const {
    if (pos < 0 || size_t(pos) >= data.size() || isEmptySlot(pos)) return std::nullopt;
    TByte b;
    b.bits = data[size_t(pos)];
    return b;
}

int32_t TFile::SetByte(const TByte& b, int32_t pos) {
    if (pos < 0 || size_t(pos) >= data.size()) return 0;
    data[size_t(pos)] = b.bits;
    _markFilled(size_t(pos));
    return 1;
}

int32_t TFile::findByte(const TByte& b) const {
    for (size_t i = 0; i < data.size(); ++i)
        if (data[i] == b.bits && !isEmptySlot(int32_t(i))) return int32_t(i);
    return -1;
}

void TFile::setByteArray(const std::vector<uint8_t>& bytes) {
    data = bytes;
    _fillAll();
}

std::vector<TByte> TFile::toArrayList() const {
    std::vector<TByte> out(data.size());
    for (size_t i = 0; i < data.size(); ++i) out[i].bits = data[i];
    return out;
}

void TFile::fromArrayList(const std::vector<TByte>& bytes) {
    data.resize(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) data[i] = bytes[i].bits;
    _fillAll();
}

void TFile::_writeBytes(int64_t pos, const uint8_t* src, size_t count) {
    if (pos < 0 || count == 0) return;
    const size_t start = size_t(pos);
    const size_t end = start + count;
    if (end > data.size()) {
        const size_t oldSize = data.size();
        data.resize(end, 0);
        if (start > oldSize) {
            // The gap between the old end and the write stays empty.
            emptyMask.resize(oldSize, false);
            emptyMask.resize(start, true);
            emptyCount += start - oldSize;
        }
        if (emptyCount > 0) emptyMask.resize(end, false);
    }
    std::copy(src, src + count, data.begin() + static_cast<std::ptrdiff_t>(start));
    if (emptyCount > 0)
        for (size_t i = start; i < end && emptyCount > 0; ++i) _markFilled(i);
}

}  // namespace vesko

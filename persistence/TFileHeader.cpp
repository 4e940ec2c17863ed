#include "persistence/TFileHeader.h"

#include <algorithm>

#include "persistence/TDataFile.h"

namespace vesko {

std::shared_ptr<TFileHeader> TFileHeader::Create(const std::string& name, const std::shared_ptr<TDataFile>& datafile,
                                                 int32_t reg) {
    auto h = std::make_shared<TFileHeader>();
    h->File = datafile;
    h->Name = name;
    if (reg && datafile) datafile->regHeader(h, 1);
    return h;
}

void TFileHeader::setName(const std::string& name) {
    Name = name;
    if (auto d = File.lock()) d->mustrege = 1;
}

std::shared_ptr<TFileFlag> TFileHeader::getFlag(int32_t index) const {
    if (index < 0 || size_t(index) >= Flags.size()) return nullptr;
    return Flags[size_t(index)];
}

void TFileHeader::regFlag(const std::shared_ptr<TFileFlag>& flag) {
    if (!flag) return;
    Flags.push_back(flag);
    mustrege = 1;
}

void TFileHeader::remFlag(const std::shared_ptr<TFileFlag>& flag) {
    auto it = std::find(Flags.begin(), Flags.end(), flag);
    if (it == Flags.end()) return;
    Flags.erase(it);
    mustrege = 1;
    // A removed flag must not stay selected: later reads would see a value no longer in the file.
    if (auto d = File.lock())
        if (d->currentFlag == flag) d->currentFlag = nullptr;
}

std::shared_ptr<TFileFlag> TFileHeader::findFlag(const std::string& name) {
    if (mustrege) {
        flagMap.clear();
        for (const auto& f : Flags) flagMap[f->Name] = f;
        mustrege = 0;
    }
    auto it = flagMap.find(name);
    return it == flagMap.end() ? nullptr : it->second;
}

void TFileHeader::Clear() {
    Flags.clear();
    flagMap.clear();
    mustrege = 1;
}

int32_t TFileHeader::ReadIn() {
    auto d = File.lock();
    return d ? _readFrom(*d) : 0;
}

int32_t TFileHeader::WriteOut() {
    auto d = File.lock();
    if (!d) return 0;
    _writeTo(*d);
    return 1;
}

int32_t TFileHeader::_readFrom(TDataFile& datafile) {
    const int32_t count = datafile._readBigShort();
    Clear();
    if (count < 0) return 0;
    // Each flag takes at least two counts, so a count beyond the remaining bytes is refused
    // before anything is read or reserved.
    const int64_t remaining = int64_t(datafile.getSize()) - datafile.filepos;
    if (int64_t(count) * 2 * datafile.numberByteSize > remaining) return 0;
    Flags.reserve(size_t(count));
    const std::weak_ptr<TFileHeader> self = weak_from_this();
    for (int32_t i = 0; i < count; ++i) {
        int32_t error = 0;
        std::string name = datafile._readString(error);
        if (error) return 0;
        std::string value = datafile._readString(error);
        if (error) return 0;
        auto f = std::make_shared<TFileFlag>();
        f->header = self;
        f->Name = std::move(name);
        f->value = std::move(value);
        Flags.push_back(std::move(f));
    }
    mustrege = 1;
    return 1;
}

void TFileHeader::_writeTo(TDataFile& datafile) const {
    datafile._writeBigShort(static_cast<int32_t>(Flags.size()));
    for (const auto& f : Flags) {
        datafile._writeString(f->Name);
        datafile._writeString(f->value);
    }
}

int64_t TFileHeader::_getbytesize(int32_t n) const {
    int64_t size = TDataFile::_stringLength(Name) + 2 * int64_t(n);
    for (const auto& f : Flags)
        size += TDataFile::_stringLength(f->Name) + 2 * int64_t(n) + TDataFile::_stringLength(f->value);
    return size;
}

}  // namespace vesko

#include "persistence/TFileFlag.h"

#include "persistence/TFileHeader.h"

namespace vesko {

std::shared_ptr<TFileFlag> TFileFlag::Create(const std::string& name, const std::string& value,
                                             const std::shared_ptr<TFileHeader>& header, int32_t reg) {
    auto f = std::make_shared<TFileFlag>();
    f->header = header;
    f->Name = name;
    f->value = value;
    if (reg && header) header->regFlag(f);
    return f;
}

void TFileFlag::setName(const std::string& name) {
    Name = name;
    if (auto h = header.lock()) h->mustrege = 1;
}

}  // namespace vesko

#include "platform/TSoundBank.h"

#include "platform/TStream.h"
#include "platform/TWave.h"

std::shared_ptr<const TSound> TSoundBank::Load(const std::string& folder, const std::string& name) {
    const std::string path = folder + "/" + name + ending;
    std::string bytes;
    if (!LoadBytes(path, bytes)) {
        Print("Sound " + path + " is missing; it stays silent.");
        return nullptr;
    }
    auto sound = std::make_shared<TSound>();
    sound->name = name;
    std::string reason;
    if (!TWave::Decode(bytes, sound->samples, reason)) {
        Print("Sound " + path + " cannot be used (" + reason + "); it stays silent.");
        return nullptr;
    }
    return sound;
}

std::vector<std::shared_ptr<const TSound>> TSoundBank::LoadAll(const std::string& folder,
                                                               const std::vector<std::string>& names) {
    std::vector<std::shared_ptr<const TSound>> sounds;
    for (const std::string& name : names) sounds.push_back(Load(folder, name));
    return sounds;
}

#include "settings/TGadgets.h"

#include "plugins/TPluginReader.h"

namespace {

struct TGadgetDefault {
    const char* name;
    float x;
    float y;
    int32_t visible;
};

const TGadgetDefault gadgetDefaults[] = {
    {"textfieldtool", 0.5f, 0.5f, 0},    {"multifunctionaltool", 0.15f, 0.2f, 1},
    {"minimaptool", 0.05f, 0.95f, 1},    {"buildtool", 0.72f, 0.22f, 1},
    {"buildtoolinfo", 0.19f, -0.05f, 1}, {"touchmousetool", 0.8f, 0.8f, 0},
    {"maintool", 0.5f, 0.8f, 1},         {"hidetool", 0.5f, 0.2f, 0},
    {"bridgetool", 0.5f, 0.5f, 1},       {"buildingtool", 0.5f, 0.22f, 1},
};

}  // namespace

std::vector<std::shared_ptr<TGadgetConfig>>& TGadgets::_records() {
    static std::vector<std::shared_ptr<TGadgetConfig>> records = [] {
        std::vector<std::shared_ptr<TGadgetConfig>> list;
        for (const TGadgetDefault& d : gadgetDefaults)
            list.push_back(TGadgetConfig::Create(d.name, d.x, d.y, 1, 1, d.visible));
        return list;
    }();
    return records;
}

const std::vector<std::shared_ptr<TGadgetConfig>>& TGadgets::Records() { return _records(); }

std::shared_ptr<TGadgetConfig> TGadgets::Get(const std::string& name) {
    for (const std::shared_ptr<TGadgetConfig>& record : _records()) {
        if (record->_fieldname == name) return record;
    }
    return nullptr;
}

void TGadgets::SetDefaults() {
    // The record objects stay the same, so panels holding them see the change.
    std::vector<std::shared_ptr<TGadgetConfig>>& records = _records();
    for (size_t i = 0; i < records.size(); ++i) {
        const TGadgetDefault& d = gadgetDefaults[i];
        records[i]->_fieldname = d.name;
        records[i]->Set(d.x, d.y, 1, 1);
        records[i]->setVisible(d.visible);
    }
}

int32_t TGadgets::ReadIn(const std::string& folder) {
    std::shared_ptr<TPluginReader> reader = TPluginReader::read(folder + "/gadgets.cfg");
    if (!reader) return 0;
    for (const std::shared_ptr<TGadgetConfig>& record : _records()) record->reLoadFromPluginReader(*reader, 0);
    return 1;
}

int32_t TGadgets::Save(const std::string& folder) {
    std::shared_ptr<TPluginReader> reader = TPluginReader::Create();
    for (const std::shared_ptr<TGadgetConfig>& record : _records()) record->writeToPluginReader(*reader, 0);
    return reader->Write(folder + "/gadgets.cfg");
}

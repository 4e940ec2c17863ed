#pragma once
#include <cstdint>
#include <memory>

#include "plugins/TPlugin.h"

// A sound record. The game plays no sound; the record is kept so that sound plugins load without
// a report.
class TSoundPlugin : public TPlugin {
public:
    // Registers an empty record under the empty id; reads no key.
    static std::shared_ptr<TPlugin> _Load(const std::shared_ptr<TPluginReader>& reader, int32_t scope);
};

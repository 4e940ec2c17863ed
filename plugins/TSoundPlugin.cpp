#include "plugins/TSoundPlugin.h"

std::shared_ptr<TPlugin> TSoundPlugin::_Load(const std::shared_ptr<TPluginReader>&, int32_t) {
    std::shared_ptr<TSoundPlugin> plugin = std::make_shared<TSoundPlugin>();
    _add(plugin);
    return plugin;
}

#pragma once
#include <string>

// What the settings panel asks of the shell after it changed an option: apply it now where that
// is possible (window size, full screen, interface scale, language). The option is named by its
// key in options.cfg (TSettingsChoices::Key); TSettings already holds the new value and the file
// has been written.
struct TSettingsCommands {
    using TChangedFunc = void (*)(void* context, const std::string& key);

    void* context = nullptr;
    TChangedFunc changed = nullptr;

    // Tells the shell; nothing without a function.
    void Changed(const std::string& key) const {
        if (changed) changed(context, key);
    }
};

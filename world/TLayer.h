#pragma once
#include <cstdint>
#include <string>

#include "platform/TCallback.h"

// The world layer. So far: the start-up services the shell calls before a world exists.
class TLayer {
public:
    using TProgressFunc = TCallback<void(const std::string& path)>;

    // Reads cfg/vallmora.cfg, cfg/options.cfg and cfg/gadgets.cfg.
    static void LoadSettings();
    // Writes cfg/gadgets.cfg.
    static int32_t SaveGagdgetSettings();
    // Loads the world's content behind the loading screen; progressFunc sees each plugin file's
    // path just before it is read.
    static void Prepare(TProgressFunc::Function progressFunc, void* progressObj);
};

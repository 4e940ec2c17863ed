#pragma once
#include <string>

#include "platform/TStream.h"

// A file's bytes as they are on disk; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::string bytes;
    LoadBytes(path, bytes);
    return bytes;
}

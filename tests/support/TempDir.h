#pragma once
#include <filesystem>
#include <string>

#include <unistd.h>

// A fresh folder under /tmp for one test, removed again when the test ends.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vallmora-test-XXXXXX").string();
        char* made = mkdtemp(tmpl.data());
        path = made ? made : tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

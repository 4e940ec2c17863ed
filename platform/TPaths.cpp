#include "platform/TPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/TStream.h"

namespace {

TPaths::TPlaces& InUse() {
    static TPaths::TPlaces places;
    return places;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The XDG base folders count only as absolute paths; a relative one is ignored as if unset.
std::string BaseFolder(const std::string& variable, const std::string& home, const std::string& fallback) {
    return !variable.empty() && variable[0] == '/' ? variable : TPaths::Join(home, fallback);
}

std::string Absolute(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(folder, ec);
    return ec ? folder : path.lexically_normal().string();
}

}  // namespace

TPaths::TSituation TPaths::TSituation::Current() {
    TSituation s;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) s.executableFolder = exe.parent_path().string();
    s.home = Environment("HOME");
    if (s.home.empty()) {
        if (const passwd* account = getpwuid(getuid())) s.home = account->pw_dir ? account->pw_dir : "";
    }
    s.configHome = Environment("XDG_CONFIG_HOME");
    s.dataHome = Environment("XDG_DATA_HOME");
    return s;
}

TPaths::TPlaces TPaths::Find(const TSituation& situation) {
    TPlaces places;
    const std::string shared = situation.executableFolder.empty()
                                   ? std::string()
                                   : (std::filesystem::path(situation.executableFolder) / ".." / "share" / "vallmora")
                                         .lexically_normal()
                                         .string();
    if (!shared.empty() && FileType(shared) == FILETYPE_DIR) {
        // Without any home the player's folders would land in the working folder; the root is no better
        // a place, but it is one that says so when it cannot be written.
        const std::string home = situation.home.empty() ? "/" : situation.home;
        places.layout = TLayout::Installed;
        places.shared = shared;
        places.config = places.settingsRead = Join(BaseFolder(situation.configHome, home, ".config"), "vallmora");
        places.user = Join(BaseFolder(situation.dataHome, home, ".local/share"), "vallmora");
        const std::string data = Join(shared, "data");
        if (FileType(data) != FILETYPE_DIR)
            places.missing = "No data folder: " + data + " is missing (the installation is incomplete)";
        return places;
    }
    if (FileType(Join(situation.workingFolder, "data")) != FILETYPE_DIR) {
        places.missing = "No data folder: the working folder " + Absolute(situation.workingFolder) +
                         " holds no data/, and " +
                         (shared.empty() ? std::string("the program's own folder is unknown")
                                         : "there is no " + shared + " beside the program") +
                         "; start the game in its source folder (scripts/run-game) or install it";
    }
    return places;
}

void TPaths::Use(const TPlaces& places) { InUse() = places; }

const TPaths::TPlaces& TPaths::Places() { return InUse(); }

std::string TPaths::Resolve(const std::string& name) {
    const std::string& shared = InUse().shared;
    if (shared.empty() || name.compare(0, 4, "data") != 0 || (name.size() > 4 && name[4] != '/')) return name;
    return Join(shared, name);
}

std::string TPaths::Config(const std::string& file) { return Join(InUse().config, file); }

std::string TPaths::User(const std::string& name) { return Join(InUse().user, name); }

std::string TPaths::ShippedConfig(const TPlaces& places) { return Join(places.shared, "cfg"); }

std::string TPaths::Describe(const TPlaces& places, const std::string& workingFolder) {
    if (places.layout == TLayout::Source) {
        return "Files: source folder layout, data/, cfg/, saves/ and screens/ in " + Absolute(workingFolder);
    }
    return "Files: installed layout, data in " + places.shared + ", settings in " + places.config +
           ", saved cities and screenshots in " + places.user;
}

std::string TPaths::MakeWritable(const std::string& folder) {
    if (folder.empty()) return "no folder given";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return ec.message();
    if (FileType(folder) != FILETYPE_DIR) return "it is no folder";
    // Permission bits do not tell (root writes anywhere, a read-only mount refuses everyone): a file does.
    std::string probe = Join(folder, ".write-test-XXXXXX");
    const int fd = mkstemp(probe.data());
    if (fd < 0) return std::strerror(errno);
    close(fd);
    unlink(probe.c_str());
    return "";
}

std::string TPaths::Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

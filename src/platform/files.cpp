// Where the game finds its files. The data files are opened by their plain names, as the game
// always did, and looked up in one list of folders: the current folder first (the build's data
// folder, an unpacked copy, a player's own pictures), then the folders an installed game keeps
// them in. The installed data folder is found from the executable's own place, so an install into
// a staging folder or a moved prefix works without rebuilding; the folder the build was
// configured for comes last. The records (score.dat, replay.rep) are written in the folder the
// game runs in; an installed game started elsewhere runs in the player's own data folder.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "build_config.h"
#include "platform/mci.h"
#include "platform/platform.h"

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// "/usr/games/../share/games/vorne" as "/usr/share/games/vorne": the executable's folder comes
// from the kernel with its links resolved, so the ".." can be taken away by the letters alone.
std::string Normalised(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// The folders beyond the current one, absolute, without repeats (and not the current folder).
std::vector<std::string> InstalledFolders() {
    std::vector<std::string> folders;
    const auto add = [&folders](const std::string& folder) {
        if (folder.empty()) return;
        const std::string normal = Normalised(folder);
        for (const std::string& f : folders) {
            if (f == normal) return;
        }
        folders.push_back(normal);
    };
    const std::string program = PlatProgramDirectory();
    if (!program.empty()) {
        add(program);
        add(program + VORNE_DATA_FROM_PROGRAM);
    }
    add(VORNE_INSTALLED_DATA_DIR);
    return folders;
}

}  // namespace

const char* PlatProgramDirectory() {
    static char dir[PATH_MAX + 1] = {};
    static bool known = false;
    if (!known) {
        known = true;
        const ssize_t n = readlink("/proc/self/exe", dir, PATH_MAX);
        if (n <= 0) {
            dir[0] = '\0';
        } else {
            dir[n] = '\0';
            char* slash = std::strrchr(dir, '/');
            if (slash) slash[1] = '\0';
        }
    }
    return dir;
}

bool PlatFindDataFile(const char* name, std::string* path) {
    if (!name || !*name) return false;
    if (IsRegularFile(name)) {
        *path = name;
        return true;
    }
    if (std::strchr(name, '/')) return false;
    for (const std::string& folder : InstalledFolders()) {
        const std::string candidate = folder + "/" + name;
        if (IsRegularFile(candidate)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

std::string PlatDataFolderList() {
    std::string list = CurrentFolder();
    for (const std::string& folder : InstalledFolders()) {
        if (folder != list) list += ", " + folder;
    }
    return list;
}

bool PlatDataInCurrentFolder() { return IsRegularFile("palette.dat"); }

std::string PlatHomeFolder() {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* entry = getpwuid(getuid());
        home = entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : nullptr;
    }
    return home ? Normalised(home) : std::string();
}

namespace {

// $VARIABLE/vorne for an absolute XDG folder variable, else the home folder's fallback + /vorne.
std::string XdgFolder(const char* variable, const char* homeFallback) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return Normalised(std::string(set) + "/vorne");
    const std::string home = PlatHomeFolder();
    return home.empty() ? std::string() : Normalised(home + "/" + homeFallback + "/vorne");
}

}  // namespace

std::string PlatUserRecordsFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

std::string PlatUserSettingsFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

bool PlatCreateFolder(const std::string& folder, std::string* error) {
    if (folder.empty() || folder[0] != '/') {
        *error = "no home folder is known";
        return false;
    }
    // Each missing folder on the way is made private to the player, as the XDG rules ask.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = "cannot create " + part + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    return true;
}

bool PlatEnterFolder(const std::string& folder, std::string* error) {
    if (!PlatCreateFolder(folder, error)) return false;
    if (chdir(folder.c_str()) != 0) {
        *error = "cannot change into " + folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool PlatCheckMusicFile(const char* name, std::string* problem) {
    std::string path;
    if (!PlatFindDataFile(name, &path)) {
        *problem = std::string(name) + " is missing: not found in " + PlatDataFolderList();
        return false;
    }
    MidiPiece piece;
    std::string why;
    if (!MidiReadFile(path, &piece, &why)) {
        *problem = path + " " + why;
        return false;
    }
    return true;
}

// Screenshots: the screen as the game last drew it (640 x 480 in its palette, not the magnified
// window), saved as a PNG in the player's pictures folder, $XDG_PICTURES_DIR/VORNE, found the
// way xdg-user-dir finds it; where the player has no pictures folder, in
// $XDG_DATA_HOME/vorne/screenshots. Names carry the local date and time; a second shot within
// the same second gets a number after it, and no shot ever replaces a file (each is created
// with O_EXCL).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/platform_internal.h"

namespace {

// Files a second may hold before the shot is given up ("vorne-...-2.png" .. "-99.png").
constexpr int MAX_SHOTS_A_SECOND = 99;

// A value of user-dirs.dirs: "$HOME/Pictures" or "/absolute/path", in double quotes, with
// backslash escapes. Empty when it is neither.
std::string UserDirsValue(const std::string& quoted, const std::string& home) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return std::string();
    std::string value;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
        value += quoted[i];
    }
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) return home + value.substr(5);
    return value[0] == '/' ? value : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string PicturesFolderFrom(const char* environmentValue, const std::string& home, const std::string& userDirs) {
    // As xdg-user-dir: the file's line, when it has one, stands over the environment.
    std::string found;
    std::istringstream lines(userDirs);
    std::string line;
    bool inFile = false;
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::string key = "XDG_PICTURES_DIR=";
        if (line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        value = value.substr(0, value.find_last_not_of(" \t\r") + 1);
        found = UserDirsValue(value, home);
        inFile = true;
    }
    if (!inFile && environmentValue && environmentValue[0] == '/') found = environmentValue;
    // A pictures folder that is the home folder itself is xdg-user-dirs' way of saying "none".
    if (found.empty() || WithoutTrailingSlashes(found) == WithoutTrailingSlashes(home)) return std::string();
    return WithoutTrailingSlashes(found);
}

std::string ScreenshotFolder() {
    const std::string home = PlatHomeFolder();
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string userDirsPath =
        (configHome && configHome[0] == '/' ? std::string(configHome) : home + "/.config") + "/user-dirs.dirs";
    std::ifstream in(userDirsPath);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    const std::string pictures = PicturesFolderFrom(std::getenv("XDG_PICTURES_DIR"), home, text.str());
    if (!pictures.empty()) return pictures + "/VORNE";
    const std::string records = PlatUserRecordsFolder();
    return records.empty() ? std::string() : records + "/screenshots";
}

bool SaveScreenshot(std::string* path, std::string* error) {
    const std::string folder = ScreenshotFolder();
    if (!PlatCreateFolder(folder, error)) return false;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[32];
    if (!localtime_r(&now, &local) || std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local) == 0) {
        *error = "no clock to name the file by";
        return false;
    }
    for (int n = 1; n <= MAX_SHOTS_A_SECOND; ++n) {
        char name[64];
        if (n == 1) {
            std::snprintf(name, sizeof name, "/vorne-%s.png", stamp);
        } else {
            std::snprintf(name, sizeof name, "/vorne-%s-%d.png", stamp, n);
        }
        *path = folder + name;
        const int fd = open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) {
            *error = "cannot create " + *path + ": " + std::strerror(errno);
            return false;
        }
        std::FILE* file = fdopen(fd, "wb");
        if (!file) {
            close(fd);
            unlink(path->c_str());
            *error = "cannot write " + *path;
            return false;
        }
        const bool written = SurfaceWriteScreenPng(file);
        if (std::fclose(file) != 0 || !written) {
            unlink(path->c_str());  // no half-written picture left behind
            *error = "cannot write " + *path;
            return false;
        }
        return true;
    }
    *error = "too many screenshots within one second in " + folder;
    return false;
}

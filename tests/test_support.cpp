// Shared set-up for the tests.
#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"

namespace fs = std::filesystem;

namespace {

// The game's pictures and music, linked from the data folder. Not the records: the game keeps
// score.dat and replay.rep beside its data when it runs there (./setup.sh play does), and a test
// must neither start from a player's records nor write through a link into them.
void LinkGameData(const std::string& dir) {
    for (const auto& entry : fs::directory_iterator(VORNE_DATA_DIR)) {
        const std::string name = entry.path().filename();
        if (name == "score.dat" || !(name.ends_with(".dat") || name.ends_with(".mid"))) continue;
        fs::create_symlink(entry.path(), fs::path(dir) / name);
    }
}

// Both logs of the headless platform, emptied.
std::pair<std::vector<int>, std::vector<std::string>> TakeAudioLog() {
    std::pair<std::vector<int>, std::vector<std::string>> log;
    PlatHeadlessTakeAudioLog(&log.first, &log.second);
    return log;
}

}  // namespace

std::string EnterScratchDataDir() {
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vorne-test-XXXXXX";
        dir = mkdtemp(pattern);
        LinkGameData(dir);
    }
    if (chdir(dir.c_str()) != 0) std::abort();
    return dir;
}

std::string MakeRunFolder() {
    char pattern[] = "/tmp/vorne-run-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    LinkGameData(pattern);
    return pattern;
}

int RunHeadlessIn(const std::string& folder, const std::string& args, const std::string& prefix) {
    const std::string command = "cd '" + folder + "' && " + prefix + " SDL_AUDIODRIVER=dummy '" + VORNE_BINARY + "' --headless " +
                                args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SetUpHeadlessGame() {
    EnterScratchDataDir();
    PlatformOptions options;
    options.backend = PLATFORM_HEADLESS;
    PlatformInit(options);
    PlatSetRestoreFails(false);
    InitSound();
    // A test that destroyed the window released the display: bring it back for the next one.
    if (!g_fieldSurface && !InitDisplay()) std::abort();
    g_useJoystick = 0;
    g_watchingReplay = 0;
    g_appActive = 1;
    for (int vk = 0; vk < 256; ++vk) PlatHeadlessSetKeyDown(vk, false);
    g_savedHiScore = DEFAULT_HIGH_SCORE;
    ResetGame();
    TakeSounds();
}

void RemoveRecordFiles() {
    std::remove("score.dat");
    std::remove("replay.rep");
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string Le32(uint32_t value) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(value >> (8 * i));
    return s;
}

SavedEnvironment::SavedEnvironment(std::vector<std::string> names) : names_(std::move(names)) {
    for (const std::string& name : names_) {
        const char* value = std::getenv(name.c_str());
        values_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
}

SavedEnvironment::~SavedEnvironment() {
    for (size_t i = 0; i < names_.size(); ++i) {
        values_[i] ? setenv(names_[i].c_str(), values_[i]->c_str(), 1) : unsetenv(names_[i].c_str());
    }
}

std::vector<int> TakeSounds() { return TakeAudioLog().first; }

int CountOf(const std::vector<int>& values, int value) {
    return static_cast<int>(std::count(values.begin(), values.end(), value));
}

void ClearField(int colour) {
    const PlatRect all{0, 0, FIELD_WIDTH, FIELD_HEIGHT};
    PlatColourFill(g_fieldSurface, &all, colour);
}

bool FieldRectHasColourOtherThan(int left, int top, int right, int bottom, int colour) {
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(g_fieldSurface, &pitch);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (pixels[y * pitch + x] != colour) return true;
        }
    }
    return false;
}

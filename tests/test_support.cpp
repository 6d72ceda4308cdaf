// Shared set-up for the tests.
#include "test_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"

namespace fs = std::filesystem;

std::string EnterScratchDataDir() {
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vorne-test-XXXXXX";
        dir = mkdtemp(pattern);
        for (const auto& entry : fs::directory_iterator(VORNE_DATA_DIR)) {
            fs::create_symlink(entry.path(), fs::path(dir) / entry.path().filename());
        }
    }
    if (chdir(dir.c_str()) != 0) std::abort();
    return dir;
}

void SetUpHeadlessGame() {
    static bool displayReady = false;
    EnterScratchDataDir();
    PlatformOptions options;
    options.backend = PLATFORM_HEADLESS;
    PlatformInit(options);
    PlatSetRestoreFails(false);
    InitSound();
    // A window test that closes its window releases the display (WM_DESTROY); set it up again then.
    if (!displayReady || g_displayCreated == 0) {
        if (!InitDisplay()) std::abort();
        displayReady = true;
    }
    g_useJoystick = 0;
    g_watchingReplay = 0;
    g_appActive = 1;
    for (int vk = 0; vk < 256; ++vk) PlatHeadlessSetKeyDown(vk, false);
    g_savedHiScore = DEFAULT_HIGH_SCORE;
    ResetGame();
    std::vector<int> sounds;
    std::vector<std::string> music;
    PlatHeadlessTakeAudioLog(&sounds, &music);
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

// VORNE's entry: the command line, the platform, then the start-up dialog (or the option that
// stands for one of its buttons) and the game.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "app/dialog.h"
#include "app/game.h"
#include "app/headless.h"
#include "platform/platform.h"

namespace {

constexpr const char* USAGE =
    "usage: vorne [options]\n"
    "\n"
    "Starts the game with its start-up dialog. The data files (palette.dat, grA.dat .. grG.dat,\n"
    "bgm01.mid .. bgm06.mid) are looked up in the current folder; score.dat and replay.rep are\n"
    "written there.\n"
    "\n"
    "  --keyboard         play with the keyboard (skips the dialog)\n"
    "  --joystick         play with a joystick or game pad (skips the dialog)\n"
    "  --watch-replay     watch the high-score replay (skips the dialog)\n"
    "  --windowed         a resizable window instead of full screen\n"
    "  --data DIR         change into DIR first\n"
    "  --help             this text\n"
    "\n"
    "Headless runner (no window, no sound, a virtual clock; for tests and tools):\n"
    "  --headless [--watch-replay | --keys FILE] [--ticks N] [--trace FILE]\n"
    "             [--draw-log FILE] [--shot TICK:FILE.png]... [--state FILE]\n"
    "  --keys FILE        lines 'TICK KEY KEY ...' (from TICK on exactly these keys are held) or\n"
    "                     'TICK -' (none); keys: up down left right numpad2 numpad4 numpad6\n"
    "                     numpad8 z x ctrl shift space return esc p; '#' starts a comment\n"
    "  --ticks N          run N ticks (0: until the program ends by itself)\n"
    "  --trace FILE       one JSON object per tick\n"
    "  --draw-log FILE    every drawing call of every tick, one line each after the tick\n"
    "  --shot TICK:FILE   after tick TICK, the screen as a PNG (may be repeated)\n"
    "  --state FILE       at the end, every game variable and record as JSON\n"
    "\n"
    "In the game: arrows or keypad move, Z/Ctrl/Space shoot, X/Return/Shift bomb, P pauses,\n"
    "TAB switches between the doubled and the actual-size field, ESC leaves the game.\n";

int Fail(const char* message) {
    std::fprintf(stderr, "vorne: %s\n%s", message, USAGE);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    HeadlessOptions headless;
    bool isHeadless = false;
    bool windowed = false;
    int presetButton = -1;
    const char* dataDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--keyboard") {
            presetButton = DIALOG_BUTTON_KEYBOARD;
        } else if (arg == "--joystick") {
            presetButton = DIALOG_BUTTON_JOYSTICK;
        } else if (arg == "--watch-replay") {
            presetButton = DIALOG_BUTTON_REPLAY;
            headless.watchReplay = true;
        } else if (arg == "--windowed") {
            windowed = true;
        } else if (arg == "--data" && hasValue) {
            dataDir = argv[++i];
        } else if (arg == "--headless") {
            isHeadless = true;
        } else if (arg == "--keys" && hasValue) {
            headless.keysFile = argv[++i];
        } else if (arg == "--ticks" && hasValue) {
            char* end = nullptr;
            headless.ticks = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || headless.ticks < 0) return Fail("--ticks takes a number of ticks, 0 or more");
        } else if (arg == "--trace" && hasValue) {
            headless.traceFile = argv[++i];
        } else if (arg == "--draw-log" && hasValue) {
            headless.drawLogFile = argv[++i];
        } else if (arg == "--state" && hasValue) {
            headless.stateFile = argv[++i];
        } else if (arg == "--shot" && hasValue) {
            const std::string value = argv[++i];
            const size_t colon = value.find(':');
            // The tick text lives as long as end points into it.
            const std::string tickText = colon == std::string::npos ? "" : value.substr(0, colon);
            char* end = nullptr;
            const long tick = colon == std::string::npos ? 0 : std::strtol(tickText.c_str(), &end, 10);
            if (colon == std::string::npos || tick < 1 || *end != '\0' || colon + 1 == value.size()) {
                return Fail("--shot takes TICK:FILE.png");
            }
            headless.shots.push_back(HeadlessShot{static_cast<int>(tick), value.substr(colon + 1)});
        } else {
            return Fail(("unknown or incomplete option: " + arg).c_str());
        }
    }
    if (!isHeadless && (!headless.keysFile.empty() || headless.ticks || !headless.traceFile.empty() ||
                        !headless.drawLogFile.empty() || !headless.stateFile.empty() || !headless.shots.empty())) {
        return Fail("--keys, --ticks, --trace, --draw-log, --shot and --state go with --headless");
    }
    if (isHeadless && presetButton >= 0 && presetButton != DIALOG_BUTTON_REPLAY) {
        return Fail("the headless runner plays with its keys file or watches the replay");
    }
    if (isHeadless && headless.watchReplay && !headless.keysFile.empty()) {
        return Fail("--watch-replay and --keys exclude each other");
    }
    if (dataDir && chdir(dataDir) != 0) {
        std::fprintf(stderr, "vorne: cannot change into %s\n", dataDir);
        return 2;
    }

    PlatformOptions platform;
    platform.backend = isHeadless ? PLATFORM_HEADLESS : PLATFORM_SDL;
    platform.windowed = windowed;
    if (!PlatformInit(platform)) return 1;
    // The frames-per-second window starts when the program starts.
    g_fpsNextTick = PlatGetTickCount();

    int status;
    if (isHeadless) {
        status = RunHeadless(headless);
    } else {
        PlatCreateWindow(MainWindowProc);
        int choice;
        if (presetButton >= 0) {
            choice = StartupDialogCommand(presetButton, true);
            if (choice < 0) {
                PlatformShutdown();
                return 1;
            }
        } else {
            choice = RunStartupDialog();
        }
        status = RunGameAfterDialog(choice);
    }
    PlatformShutdown();
    return status;
}

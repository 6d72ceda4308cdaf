// VORNE's entry: the command line, the folder the game runs in, the platform, then the start-up
// dialog (or the option that stands for one of its buttons) and the game.
//
// The game runs in one folder and keeps its records (score.dat, replay.rep) there, as it always
// has. Started in a folder that holds its data (the build's data folder, an unpacked copy) or
// with --data, that is the folder. An installed game started anywhere else (from the menu, from
// a terminal in the home folder) runs in the player's own folder, $XDG_DATA_HOME/vorne, so the
// records never litter the folder it was started from; its data comes from the installed folder.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "app/dialog.h"
#include "app/game.h"
#include "app/headless.h"
#include "app/options.h"
#include "app/replay_check.h"
#include "app/trace.h"
#include "build_config.h"
#include "platform/platform.h"
#include "platform/settings.h"

namespace {

// The pieces of music the game plays; the headless runner checks them before it starts, as it has
// no music player that would notice one missing.
constexpr const char* MUSIC_FILES[] = {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid", "bgm06.mid"};

void PrintHelp() {
    std::printf(
        "usage: vorne [options]\n"
        "\n"
        "Starts the game with its start-up dialog.\n"
        "\n"
        "%s"
        "\n"
        "In the game: arrows or keypad move, Z/Ctrl/Space shoot, X/Return/Shift bomb, P pauses,\n"
        "TAB switches between the doubled and the actual-size field, ESC leaves the game.\n"
        "A game pad: d-pad or left stick, A shoots, B bombs, Start pauses.\n"
        "Around the game: F11 or Alt+Enter full screen <-> window, F12 screenshot (to\n"
        "$XDG_PICTURES_DIR/VORNE, else beside the records in screenshots/), F9/F10 music\n"
        "quieter/louder, M or F8 mute.\n"
        "\n"
        "Settings (loudness, window, extra keys and pad buttons; an example is installed as\n"
        "vorne.ini with the documentation) are read from\n"
        "  %s\n"
        "pad mappings from gamecontrollerdb.txt beside it and from SDL_GAMECONTROLLERCONFIG.\n"
        "\n"
        "The data files (palette.dat, grA.dat .. grG.dat, bgm01.mid .. bgm06.mid) are looked up in\n"
        "  %s\n"
        "The records (score.dat, replay.rep) are kept in the folder the game runs in: the current\n"
        "folder when it holds palette.dat, the --data folder, or else\n"
        "  %s\n",
        CommandLineHelp(), SettingsFilePath().c_str(), PlatDataFolderList().c_str(), PlatUserRecordsFolder().c_str());
}

// Moves into the folder the game runs in; false (after saying why) when --data cannot be entered.
bool EnterRunFolder(const CommandLine& line, const std::string& startFolder) {
    if (!line.dataDir.empty()) {
        if (chdir(line.dataDir.c_str()) == 0) return true;
        std::fprintf(stderr, "vorne: cannot change into %s\n", line.dataDir.c_str());
        return false;
    }
    if (PlatDataInCurrentFolder()) return true;
    std::string error;
    if (!PlatEnterFolder(PlatUserRecordsFolder(), &error)) {
        std::fprintf(stderr, "vorne: no folder of your own for the records (%s); they stay in %s\n", error.c_str(),
                     startFolder.c_str());
    }
    return true;
}

// The player's settings file, where there is one; each bad entry is named on stderr and keeps
// the game's own value.
void ReadSettingsFile(PlayerSettings* settings) {
    const std::string path = SettingsFilePath();
    if (path.empty()) return;
    std::vector<std::string> errors;
    LoadSettingsFile(path, settings, &errors);
    for (const std::string& error : errors) std::fprintf(stderr, "vorne: %s: %s\n", path.c_str(), error.c_str());
}

// For the end-to-end tests of the real window, which cannot look inside the game: with
// VORNE_STATE_AT_EXIT naming a file, a windowed game ends by writing its state there, as the
// headless runner's --state does.
void WriteStateAtExit() {
    const char* path = std::getenv("VORNE_STATE_AT_EXIT");
    if (!path || !*path) return;
    std::FILE* file = std::fopen(path, "w");
    if (!file) {
        std::fprintf(stderr, "vorne: cannot write state file %s\n", path);
        return;
    }
    const std::string text = StateDump();
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(argc, argv, &line, &error)) {
        std::fprintf(stderr, "vorne: %s\nTry 'vorne --help' for the options.\n", error.c_str());
        return 2;
    }
    if (line.help) {
        PrintHelp();
        return 0;
    }
    if (line.version) {
        std::printf("vorne %s\n", VORNE_VERSION);
        return 0;
    }
    char startFolder[PATH_MAX] = {};
    if (getcwd(startFolder, sizeof startFolder)) ResolveCommandLinePaths(startFolder, &line);
    if (!EnterRunFolder(line, startFolder)) return 2;
    if (line.headless) {
        for (const char* file : MUSIC_FILES) {
            if (!PlatCheckMusicFile(file, &error)) {
                std::fprintf(stderr, "vorne: %s\n", error.c_str());
                return 1;
            }
        }
    }

    PlatformOptions platform;
    platform.backend = line.headless ? PLATFORM_HEADLESS : PLATFORM_SDL;
    // The headless runner is the same on every machine: no settings file reaches it.
    if (!line.headless) ReadSettingsFile(&platform.settings);
    ApplyCommandLineSettings(line, &platform.settings);
    platform.windowed = !platform.settings.fullscreen;
    if (!PlatformInit(platform)) return 1;
    // The frames-per-second window starts when the program starts.
    g_fpsNextTick = PlatGetTickCount();

    int status;
    if (line.headless) {
        status = RunHeadless(line.run);
    } else {
        PlatCreateWindow(MainWindowProc);
        int choice;
        if (line.presetButton >= 0) {
            choice = StartupDialogCommand(line.presetButton, true);
            if (choice < 0) {
                PlatformShutdown();
                return 1;
            }
        } else {
            choice = RunStartupDialog();
        }
        status = line.timedemo ? RunTimedemoAfterDialog(choice) : RunGameAfterDialog(choice);
        WriteStateAtExit();
    }
    PlatformShutdown();
    return status;
}

// The command line. The game itself needs none (its start-up dialog asks how to play); the
// options skip the dialog, choose a window or the loudness (over the settings file), name the
// data folder, or run the headless runner for tests and tools. Reading them does no input or
// output and never ends the program, so tests and a fuzzer can drive it as often as they like.
#pragma once

#include <string>
#include <vector>

#include "app/headless.h"
#include "platform/settings.h"

struct CommandLine {
    bool help = false;
    bool version = false;
    bool headless = false;
    bool windowed = false;
    bool timedemo = false;    // play the high-score replay as fast as the machine allows
    int presetButton = -1;    // the dialog button the options stand for (DIALOG_BUTTON_*), or -1
    std::string dataDir;      // --data: the folder to change into first ("": none)
    bool fullscreen = false;  // --fullscreen, over the settings file's window
    int musicVolume = -1;     // --music-volume (0..100), or -1: the settings file's
    int effectsVolume = -1;   // --effects-volume (0..100), or -1: the settings file's
    bool mute = false;        // --mute
    HeadlessOptions run;      // the headless runner's options
};

// Reads argv[1] .. argv[argc - 1] (with glibc's getopt_long, which it resets first; argv is left
// in its order). True when the line is well formed, false with a one-line reason in *error: an
// unknown option, a missing or empty value, a number that is not a whole number in range, a
// --shot after the last tick, a video whose container the name does not tell, or options that
// do not go together. Called by main and the tests.
bool ParseCommandLine(int argc, char* const argv[], CommandLine* line, std::string* error);

// Puts the options that override the settings file (--windowed, --fullscreen, --music-volume,
// --effects-volume, --mute) onto *settings. Called by main after the file is read.
void ApplyCommandLineSettings(const CommandLine& line, PlayerSettings* settings);

// Makes the relative paths of the headless runner's files absolute against startFolder, the
// folder the game was started in, so they mean what they meant to whoever typed them even after
// the game changes into its data or records folder. Called by main before any change of folder.
void ResolveCommandLinePaths(const std::string& startFolder, CommandLine* line);

// The options part of --help: every option with what it does.
const char* CommandLineHelp();
// Every long option's name without its dashes ("keyboard", "ticks", ...), in table order.
std::vector<std::string> CommandLineOptionNames();

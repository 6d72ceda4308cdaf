// The headless runner: the same game with no window, no audio and a virtual clock, driven by a
// keys script, writing a per-tick trace, screenshots and a final state dump. Tests and tools
// outside the game rely on its interface; it only ever grows by new keys.
#pragma once

#include <string>
#include <vector>

struct HeadlessShot {
    long tick;
    std::string path;
};

struct HeadlessOptions {
    bool watchReplay = false;
    std::string keysFile;
    long ticks = 0;  // 0: until the program ends by itself
    std::string traceFile;
    std::string drawLogFile;  // the drawing calls of every tick, one line each after the tick number
    std::vector<HeadlessShot> shots;
    std::string stateFile;
    // A video of the run with its sound (--video): the file, its scale and kind (VideoKind,
    // chosen from the name by the command line). The run then ends at the return to the title.
    std::string videoFile;
    int videoScale = 2;
    bool videoLossless = false;
    int videoKind = 0;
    int videoMusicVolume = 100;    // the loudness the video's sound is mixed at (--music-volume,
    int videoEffectsVolume = 100;  // --effects-volume, --mute), as the player's settings would
    bool videoMute = false;
    // Watch replay.rep's game to its end and check it against score.dat (--verify-replay), or
    // time it (--timedemo); both end at the return to the title.
    bool verifyReplay = false;
    bool timedemo = false;
    // For tests: called before each tick's key messages, so that a test can change the game
    // between ticks (for example to plant a fault and see which trace keys notice it).
    void (*beforeTick)(long tick) = nullptr;
};

// One change of the held keys: from `tick` on exactly these virtual keys are held.
struct KeyChange {
    long tick;
    std::vector<int> keys;
};

// Parses a keys script. False (with a message in *error) on a malformed line.
bool ParseKeysScript(const std::string& text, std::vector<KeyChange>* changes, std::string* error);
// Runs the game headless; returns the exit status.
int RunHeadless(const HeadlessOptions& options);

// Writes the whole screen as the player sees it (palette applied) as a PNG.
bool WriteScreenshot(const char* path);

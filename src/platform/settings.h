// The player's settings: what vorne.ini (in the settings folder, PlatUserSettingsFolder) and the
// command line may change around the game without touching what it does: the loudness of the
// music and of the effects, full screen or a window, and keys and pad buttons besides the
// game's own. Extra keys and buttons stand in for the game's own ones, so what a game records
// (its controls, frame by frame) does not depend on them.
//
// The file is INI, read with inih:
//   [sound]   music = 0..100, effects = 0..100, mute = yes|no
//   [window]  fullscreen = yes|no
//   [keys]    up, down, left, right, shot, bomb, pause = key names, separated by commas
//   [pad]     shot, bomb, pause = pad buttons, separated by commas
// Key names are SDL's ("J", "Left Alt", "Keypad 5", "F3"; any case). Pad buttons are the names
// of a game pad's buttons (a, b, x, y, back, guide, start, leftshoulder, rightshoulder,
// leftstick, rightstick, misc1, paddle1..paddle4, touchpad) or, for a joystick SDL knows no
// layout for, its button numbers 0..31. A missing file, an empty value and an entry left out
// all keep the game's own behaviour. A bad entry is named with its line and keeps its default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What an extra key or button stands for: the six controls, then the pause key (P).
enum SettingsAction {
    SETTINGS_UP = 0,
    SETTINGS_DOWN,
    SETTINGS_LEFT,
    SETTINGS_RIGHT,
    SETTINGS_SHOT,
    SETTINGS_BOMB,
    SETTINGS_PAUSE,
    SETTINGS_ACTIONS
};

inline constexpr int SETTINGS_MAX_KEYS = 8;     // extra keys per action
inline constexpr int SETTINGS_MAX_BUTTONS = 8;  // extra pad buttons per action
inline constexpr int SETTINGS_VOLUME_MAX = 100;

// One pad button: a game pad's button (padButton true: SDL's SDL_GameControllerButton value) or
// a plain joystick's button number (padButton false).
struct SettingsButton {
    bool padButton = false;
    int index = 0;
};

struct PlayerSettings {
    int musicVolume = SETTINGS_VOLUME_MAX;    // 0..100, 100: as loud as the game is made
    int effectsVolume = SETTINGS_VOLUME_MAX;  // 0..100
    bool mute = false;                        // everything silent, the volumes kept
    bool fullscreen = true;                   // desktop full screen; false: a window
    // Extra keys (SDL key codes, layout-aware as the game's letters are) for each action.
    int32_t keys[SETTINGS_ACTIONS][SETTINGS_MAX_KEYS] = {};
    int keyCount[SETTINGS_ACTIONS] = {};
    // Extra pad buttons for shot, bomb and pause (the other actions have none).
    SettingsButton buttons[SETTINGS_ACTIONS][SETTINGS_MAX_BUTTONS] = {};
    int buttonCount[SETTINGS_ACTIONS] = {};
};

// Reads settings from the text of an INI file onto *settings (which keeps what the text does not
// set). Every problem goes into *errors as one line, "line N: what is wrong", and leaves that
// entry as it was. True when there was none. Pure: no files, no SDL state; a fuzzer drives it.
bool ParseSettings(const std::string& text, PlayerSettings* settings, std::vector<std::string>* errors);

// A loudness as the file and the command line write it: a whole number from 0 to 100 and
// nothing else (no sign, no space, no '%'). False otherwise.
bool ParseVolumeText(const std::string& text, int* volume);

// The longest settings file read; a longer one is refused unread (a whole file of every setting
// is a few kilobytes).
inline constexpr size_t SETTINGS_MAX_FILE_BYTES = 1024 * 1024;
// Reads the file at path with ParseSettings. A missing file is no error (the defaults stand); one
// that cannot be read is one. Called by main at start-up.
bool LoadSettingsFile(const std::string& path, PlayerSettings* settings, std::vector<std::string>* errors);

// The settings file's place: PlatUserSettingsFolder() + "/vorne.ini" ("" when no home is known).
std::string SettingsFilePath();

// The keys the window keeps for itself (the game's ESC, P and TAB, and the comfort keys); they
// cannot be extra keys. True for such an SDL key code.
bool SettingsKeyIsReserved(int32_t key);

// The settings file (see settings.h): inih splits the text into sections and entries, and each
// entry is checked here on its own, so one bad entry costs only itself.
//
// inih tells its handler nothing of lines; the text reaches it through our own line reader,
// which counts them, so every message can name its line. A line longer than inih's buffer is
// cut there by the reader (the rest of it is skipped, not read as a line of its own) and named.
// A line inih cannot read at all (neither "[section]" nor "name = value") is named by inih's
// result: the first such line only.
#include "platform/settings.h"

#include <SDL.h>
#include <ini.h>

#include <charconv>
#include <cstring>
#include <cstdio>
#include <sstream>

#include "platform/file_io.h"
#include "platform/platform.h"

namespace {

constexpr const char* ACTION_NAMES[SETTINGS_ACTIONS] = {"up", "down", "left", "right", "shot", "bomb", "pause"};

// Keys the window keeps for itself: the game's ESC, P and TAB, and the comfort keys (full
// screen, screenshot, volume, mute; see sdl_hotkeys.cpp).
constexpr SDL_Keycode RESERVED_KEYS[] = {SDLK_ESCAPE, SDLK_TAB, SDLK_p, SDLK_m, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};

struct ParseState {
    const std::string* text = nullptr;
    size_t position = 0;
    int line = 0;  // the line the reader handed out last (1 = the first)
    PlayerSettings* settings = nullptr;
    std::vector<std::string>* errors = nullptr;
};

void Complain(ParseState* state, const std::string& what) {
    state->errors->push_back("line " + std::to_string(state->line) + ": " + what);
}

// inih's reader: the next line of the text, with its '\n', into buffer (room for size - 1
// characters and the terminator); nullptr at the end.
char* ReadLine(char* buffer, int size, void* stream) {
    auto* state = static_cast<ParseState*>(stream);
    const std::string& text = *state->text;
    if (state->position >= text.size() || size < 2) return nullptr;
    size_t end = text.find('\n', state->position);
    end = end == std::string::npos ? text.size() : end + 1;
    const size_t room = static_cast<size_t>(size) - 1;
    size_t length = end - state->position;
    ++state->line;
    if (length > room) {
        Complain(state, "longer than " + std::to_string(room - 1) + " characters; the rest is skipped");
        length = room;
    }
    std::memcpy(buffer, text.data() + state->position, length);
    buffer[length] = '\0';
    state->position = end;  // (a NUL inside a line ends it early for inih)
    return buffer;
}

// Splits a list at its commas, each item without the spaces around it; empty items dropped.
std::vector<std::string> Items(const char* value) {
    std::vector<std::string> items;
    std::string item;
    std::istringstream in(value);
    while (std::getline(in, item, ',')) {
        const size_t first = item.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        const size_t last = item.find_last_not_of(" \t");
        items.push_back(item.substr(first, last - first + 1));
    }
    return items;
}

void ParseVolume(ParseState* state, const char* name, const char* value, int* volume) {
    if (!ParseVolumeText(value, volume)) {
        Complain(state, std::string(name) + " takes a whole number from 0 to 100, not '" + value + "'");
    }
}

void ParseYesNo(ParseState* state, const char* name, const char* value, bool* flag) {
    for (const char* yes : {"yes", "true", "on", "1"}) {
        if (SDL_strcasecmp(value, yes) == 0) {
            *flag = true;
            return;
        }
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (SDL_strcasecmp(value, no) == 0) {
            *flag = false;
            return;
        }
    }
    Complain(state, std::string(name) + " takes yes or no, not '" + value + "'");
}

int ActionByName(const char* name) {
    for (int i = 0; i < SETTINGS_ACTIONS; ++i) {
        if (SDL_strcasecmp(name, ACTION_NAMES[i]) == 0) return i;
    }
    return -1;
}

// [keys] NAME = key, key, ...: all of them, or (on any bad one) none of them.
void ParseKeys(ParseState* state, int action, const char* value) {
    PlayerSettings& s = *state->settings;
    int32_t keys[SETTINGS_MAX_KEYS];
    int count = 0;
    for (const std::string& item : Items(value)) {
        const SDL_Keycode key = SDL_GetKeyFromName(item.c_str());
        std::string problem;
        if (key == SDLK_UNKNOWN) {
            problem = "'" + item + "' is not a key name";
        } else if (SettingsKeyIsReserved(key)) {
            problem = "'" + item + "' is kept for its own use by the game";
        } else if (s.keyCount[action] + count >= SETTINGS_MAX_KEYS) {
            problem = "more than " + std::to_string(SETTINGS_MAX_KEYS) + " keys";
        }
        if (!problem.empty()) {
            Complain(state, std::string(ACTION_NAMES[action]) + ": " + problem);
            return;
        }
        keys[count++] = key;
    }
    for (int i = 0; i < count; ++i) s.keys[action][s.keyCount[action]++] = keys[i];
}

// [pad] NAME = button, button, ...: all of them, or (on any bad one) none of them.
void ParseButtons(ParseState* state, int action, const char* value) {
    PlayerSettings& s = *state->settings;
    SettingsButton buttons[SETTINGS_MAX_BUTTONS];
    int count = 0;
    for (const std::string& item : Items(value)) {
        SettingsButton button;
        int number = -1;
        const char* end = item.data() + item.size();
        const auto [stop, status] = std::from_chars(item.data(), end, number);
        std::string problem;
        if (status == std::errc() && stop == end) {
            button.index = number;
            if (number < 0 || number > 31) problem = "joystick buttons are numbered 0 to 31, not " + item;
        } else {
            const SDL_GameControllerButton named = SDL_GameControllerGetButtonFromString(item.c_str());
            button.padButton = true;
            button.index = named;
            if (named == SDL_CONTROLLER_BUTTON_INVALID) {
                problem = "'" + item + "' is not a pad button";
            } else if (named >= SDL_CONTROLLER_BUTTON_DPAD_UP && named <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT) {
                problem = "the d-pad steers the ship and is no button";
            }
        }
        if (problem.empty() && s.buttonCount[action] + count >= SETTINGS_MAX_BUTTONS) {
            problem = "more than " + std::to_string(SETTINGS_MAX_BUTTONS) + " buttons";
        }
        if (!problem.empty()) {
            Complain(state, std::string("pad ") + ACTION_NAMES[action] + ": " + problem);
            return;
        }
        buttons[count++] = button;
    }
    for (int i = 0; i < count; ++i) s.buttons[action][s.buttonCount[action]++] = buttons[i];
}

// inih's handler: one entry. Always goes on (returns 1); problems are our own messages.
int HandleEntry(void* user, const char* section, const char* name, const char* value) {
    auto* state = static_cast<ParseState*>(user);
    PlayerSettings& s = *state->settings;
    const auto is = [](const char* a, const char* b) { return SDL_strcasecmp(a, b) == 0; };
    if (is(section, "sound") && is(name, "music")) {
        ParseVolume(state, name, value, &s.musicVolume);
    } else if (is(section, "sound") && is(name, "effects")) {
        ParseVolume(state, name, value, &s.effectsVolume);
    } else if (is(section, "sound") && is(name, "mute")) {
        ParseYesNo(state, name, value, &s.mute);
    } else if (is(section, "window") && is(name, "fullscreen")) {
        ParseYesNo(state, name, value, &s.fullscreen);
    } else if (is(section, "keys") && ActionByName(name) >= 0) {
        ParseKeys(state, ActionByName(name), value);
    } else if (is(section, "pad") && (is(name, "shot") || is(name, "bomb") || is(name, "pause"))) {
        ParseButtons(state, ActionByName(name), value);
    } else if (!*section) {
        Complain(state, std::string("'") + name + "' comes before any [section]");
    } else if (!is(section, "sound") && !is(section, "window") && !is(section, "keys") && !is(section, "pad")) {
        Complain(state, std::string("unknown section [") + section + "] (" + name + " is ignored)");
    } else {
        Complain(state, std::string("unknown setting '") + name + "' in [" + section + "]");
    }
    return 1;
}

}  // namespace

bool ParseVolumeText(const std::string& text, int* volume) {
    int parsed = -1;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || text[0] == '-' || status != std::errc() || stop != end || parsed > SETTINGS_VOLUME_MAX) {
        return false;
    }
    *volume = parsed;
    return true;
}

bool SettingsKeyIsReserved(int32_t key) {
    for (SDL_Keycode reserved : RESERVED_KEYS) {
        if (key == reserved) return true;
    }
    return false;
}

bool ParseSettings(const std::string& text, PlayerSettings* settings, std::vector<std::string>* errors) {
    ParseState state;
    state.text = &text;
    state.settings = settings;
    state.errors = errors;
    const size_t before = errors->size();
    const int firstBadLine = ini_parse_stream(ReadLine, &state, HandleEntry, &state);
    if (firstBadLine > 0) {
        errors->push_back("line " + std::to_string(firstBadLine) + ": neither '[section]' nor 'name = value'");
    }
    return errors->size() == before;
}

bool LoadSettingsFile(const std::string& path, PlayerSettings* settings, std::vector<std::string>* errors) {
    // Read as every file of the game is: a regular file only (a FIFO would hold the start
    // forever), and no more than a settings file could ever need.
    std::vector<uint8_t> bytes;
    const FileStatus status = PlatReadWholeFile(path.c_str(), SETTINGS_MAX_FILE_BYTES, &bytes);
    if (status == FILE_MISSING) return true;  // no file: the game's own settings
    if (status != FILE_OK) {
        errors->push_back(PlatFileStatusText(status, SETTINGS_MAX_FILE_BYTES));
        return false;
    }
    return ParseSettings(std::string(bytes.begin(), bytes.end()), settings, errors);
}

std::string SettingsFilePath() {
    const std::string folder = PlatUserSettingsFolder();
    return folder.empty() ? std::string() : folder + "/vorne.ini";
}

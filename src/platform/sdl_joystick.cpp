// SDL back-end: the joystick. The game plays with the first attached joystick or game pad and
// reads it once per tick as axes on the 0..65535 scale and 32 buttons, the shape its thresholds
// (14000 and 50000) were made for.
//
// Where SDL knows the device as a game controller, its A button is button 0 (shot), its B
// button is button 1 (bomb), and both the left stick and the d-pad steer: a pressed d-pad
// direction puts its axis at the end of the scale. Any other device is read raw: axes 0 and 1,
// its buttons in their own order, and its first hat as a d-pad. A device that goes away during
// play reads as released (centred, no button) until one is attached again, which is then
// picked up by the next poll.
//
// Around that, for the player: the pad mappings of gamecontrollerdb.txt in the settings folder
// and of SDL_GAMECONTROLLERCONFIG (which wins), so a pad SDL does not know can be mapped without
// rebuilding; extra buttons for shot and bomb, which count as buttons 0 and 1; and the pause:
// the pad's Start (and the player's own pause buttons) press P, watched by the event pump so
// that it also ends a pause, during which no tick polls the pad.
#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"

namespace {

// The device in play, from SdlJoystickOpen to SdlJoystickClose. g_joystick is the controller's
// own joystick when g_controller is set (closing the controller closes it).
bool g_joystickInPlay = false;
SDL_GameController* g_controller = nullptr;
SDL_Joystick* g_joystick = nullptr;

constexpr int32_t AXIS_MIN = 0;
constexpr int32_t AXIS_MAX = 65535;

// The player's extra pad buttons (shot, bomb, pause), from SdlJoystickUseSettings on.
PlayerSettings g_padSettings;
// Whether a pause button was held at the last look (a press is a change to held).
bool g_pauseHeld = false;

// True when the player's button is held on the device in play.
bool ButtonHeld(const SettingsButton& button) {
    if (g_controller) {
        return button.padButton &&
               SDL_GameControllerGetButton(g_controller, static_cast<SDL_GameControllerButton>(button.index)) != 0;
    }
    return !button.padButton && g_joystick && button.index < SDL_JoystickNumButtons(g_joystick) &&
           SDL_JoystickGetButton(g_joystick, button.index) != 0;
}

bool AnyHeld(SettingsAction action) {
    for (int i = 0; i < g_padSettings.buttonCount[action]; ++i) {
        if (ButtonHeld(g_padSettings.buttons[action][i])) return true;
    }
    return false;
}

// The player's extra shot and bomb buttons, as buttons 0 and 1.
void AddExtraButtons(PlatJoystickRaw* raw) {
    if (AnyHeld(SETTINGS_SHOT)) raw->buttons[0] = 1;
    if (AnyHeld(SETTINGS_BOMB)) raw->buttons[1] = 1;
}

bool SubsystemReady() {
    return SDL_WasInit(SDL_INIT_JOYSTICK) != 0 || SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
}

void CloseDevice() {
    if (g_controller) {
        SDL_GameControllerClose(g_controller);
    } else if (g_joystick) {
        SDL_JoystickClose(g_joystick);
    }
    g_controller = nullptr;
    g_joystick = nullptr;
}

// Opens the first attached device that opens, as a game controller where SDL has a mapping.
bool OpenFirstAttached() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_IsGameController(i)) {
            g_controller = SDL_GameControllerOpen(i);
            if (g_controller) {
                g_joystick = SDL_GameControllerGetJoystick(g_controller);
                return true;
            }
        }
        g_joystick = SDL_JoystickOpen(i);
        if (g_joystick) return true;
    }
    return false;
}

void ReadController(PlatJoystickRaw* raw) {
    SDL_GameController* c = g_controller;
    raw->x = SdlAxisToRaw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    raw->y = SdlAxisToRaw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) raw->x = AXIS_MIN;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) raw->x = AXIS_MAX;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) raw->y = AXIS_MIN;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) raw->y = AXIS_MAX;
    // SDL numbers A as 0 and B as 1, the shot and bomb buttons; the d-pad already steers and
    // does not count as buttons.
    for (int i = 0; i < SDL_CONTROLLER_BUTTON_MAX && i < 32; ++i) {
        const auto button = static_cast<SDL_GameControllerButton>(i);
        if (button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT) continue;
        raw->buttons[i] = SDL_GameControllerGetButton(c, button) ? 1 : 0;
    }
}

void ReadJoystick(PlatJoystickRaw* raw) {
    SDL_Joystick* j = g_joystick;
    const int axes = SDL_JoystickNumAxes(j);
    if (axes > 0) raw->x = SdlAxisToRaw(SDL_JoystickGetAxis(j, 0));
    if (axes > 1) raw->y = SdlAxisToRaw(SDL_JoystickGetAxis(j, 1));
    if (SDL_JoystickNumHats(j) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(j, 0);
        if (hat & SDL_HAT_LEFT) raw->x = AXIS_MIN;
        if (hat & SDL_HAT_RIGHT) raw->x = AXIS_MAX;
        if (hat & SDL_HAT_UP) raw->y = AXIS_MIN;
        if (hat & SDL_HAT_DOWN) raw->y = AXIS_MAX;
    }
    const int buttons = SDL_JoystickNumButtons(j);
    for (int i = 0; i < buttons && i < 32; ++i) raw->buttons[i] = SDL_JoystickGetButton(j, i) ? 1 : 0;
}

}  // namespace

int32_t SdlAxisToRaw(int16_t value) { return static_cast<int32_t>(value) + 32768; }

bool SdlJoystickPresent() {
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return false;
    SDL_JoystickUpdate();  // also looks for devices attached or removed since the last look
    return SDL_NumJoysticks() > 0;
}

int SdlJoystickOpen() {
    if (!SubsystemReady()) return 1;  // no joystick support at all: the "create" step failed
    SDL_JoystickUpdate();
    CloseDevice();
    if (!OpenFirstAttached()) return 5;
    g_joystickInPlay = true;
    return 0;
}

namespace {

// Looks at the devices again: the one in play closed when unplugged, the first attached one
// opened when none is in play. False when there is none.
bool UpdateDevice() {
    SDL_JoystickUpdate();
    if (g_joystick && !SDL_JoystickGetAttached(g_joystick)) CloseDevice();  // unplugged
    return g_joystick || OpenFirstAttached();
}

}  // namespace

bool SdlJoystickPoll(PlatJoystickRaw* raw) {
    *raw = PlatJoystickRaw{};
    if (!g_joystickInPlay || !UpdateDevice()) return false;
    if (g_controller) {
        ReadController(raw);
    } else {
        ReadJoystick(raw);
    }
    AddExtraButtons(raw);
    return true;
}

void SdlJoystickWatchPause() {
    if (!g_joystickInPlay) return;
    const bool held =
        UpdateDevice() &&
        ((g_controller && SDL_GameControllerGetButton(g_controller, SDL_CONTROLLER_BUTTON_START)) || AnyHeld(SETTINGS_PAUSE));
    if (held && !g_pauseHeld) QueuePost(WM_KEYDOWN, static_cast<uint32_t>(VK_P));
    g_pauseHeld = held;
}

void SdlJoystickUseSettings(const PlayerSettings& settings) {
    g_padSettings = settings;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) return;
    const std::string folder = PlatUserSettingsFolder();
    const std::string file = folder + "/gamecontrollerdb.txt";
    struct stat info {};
    if (!folder.empty() && stat(file.c_str(), &info) == 0) {
        if (SDL_GameControllerAddMappingsFromFile(file.c_str()) < 0) {
            std::fprintf(stderr, "vorne: %s: %s\n", file.c_str(), SDL_GetError());
        }
    }
    // SDL read SDL_GAMECONTROLLERCONFIG when it started; given again after the file, it wins.
    const char* fromEnvironment = SDL_getenv("SDL_GAMECONTROLLERCONFIG");
    if (fromEnvironment && *fromEnvironment) {
        std::string lines(fromEnvironment);
        size_t start = 0;
        while (start < lines.size()) {
            size_t end = lines.find('\n', start);
            if (end == std::string::npos) end = lines.size();
            const std::string line = lines.substr(start, end - start);
            if (!line.empty() && line[0] != '#') SDL_GameControllerAddMapping(line.c_str());
            start = end + 1;
        }
    }
}

void SdlJoystickClose() {
    CloseDevice();
    g_joystickInPlay = false;
    g_pauseHeld = false;
}

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
#include <SDL.h>

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

bool SdlJoystickPoll(PlatJoystickRaw* raw) {
    *raw = PlatJoystickRaw{};
    if (!g_joystickInPlay) return false;
    SDL_JoystickUpdate();
    if (g_joystick && !SDL_JoystickGetAttached(g_joystick)) CloseDevice();  // unplugged
    if (!g_joystick && !OpenFirstAttached()) return false;
    if (g_controller) {
        ReadController(raw);
    } else {
        ReadJoystick(raw);
    }
    return true;
}

void SdlJoystickClose() {
    CloseDevice();
    g_joystickInPlay = false;
}

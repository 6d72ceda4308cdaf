// SDL back-end: the keys around the game, which the player has on any PC game and the game
// itself never sees:
//   F11, Alt+Enter  full screen <-> window (the window comes back at its last size and place)
//   F12             screenshot (screenshot.cpp), its path on stderr
//   M, F8           mute and unmute everything
//   F9, F10         the music quieter, louder (by tenths; either also unmutes)
// and the player's extra keys from the settings file, which stand in for the game's own: an
// extra key of a control is held when the control's first key is asked for (so what is recorded
// is the control, as ever), and an extra pause key is delivered as P.
//
// Alt+Enter must never reach the game as Return, which is a bomb key read as a held key: the
// Return (or keypad Enter) that went down with Alt held is held back from the keyboard state
// until it is let go, whether Alt is let go first or not. A Return already held before Alt went
// down stays the bomb it was.
#include "platform/sdl_hotkeys.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "platform/sdl_window.h"

namespace {

constexpr int VOLUME_STEP = 10;

// The player's settings, from SdlInit on; the hotkeys change the loudness in it.
PlayerSettings g_settings;
// Keys held back from the game until released (indexed by scancode), and a copy of the
// keyboard state without them.
std::array<bool, SDL_NUM_SCANCODES> g_heldBack{};
bool g_anyHeldBack = false;
std::array<uint8_t, SDL_NUM_SCANCODES> g_maskedState{};
// The window's last place and size before it went full screen.
SDL_Rect g_windowPlace{};
bool g_windowPlaceKnown = false;

// The game's first key of each control, which answers for the control's extra keys.
constexpr int ACTION_KEYS[SETTINGS_PAUSE] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_Z, VK_X};

void ApplyLoudness(const char* what) {
    SdlSetLoudness(g_settings.musicVolume, g_settings.effectsVolume, g_settings.mute);
    std::fprintf(stderr, "vorne: %s (music %d, effects %d%s)\n", what, g_settings.musicVolume, g_settings.effectsVolume,
                 g_settings.mute ? ", muted" : "");
}

void ChangeMusicVolume(int by) {
    g_settings.musicVolume = std::clamp(g_settings.musicVolume + by, 0, SETTINGS_VOLUME_MAX);
    g_settings.mute = false;
    ApplyLoudness(by < 0 ? "music quieter" : "music louder");
}

void TakeScreenshot() {
    std::string path, error;
    if (SaveScreenshot(&path, &error)) {
        std::fprintf(stderr, "vorne: screenshot saved as %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "vorne: no screenshot: %s\n", error.c_str());
    }
}

// The action an extra key stands for, or -1.
int ExtraKeyAction(SDL_Keycode key) {
    for (int action = 0; action < SETTINGS_ACTIONS; ++action) {
        for (int i = 0; i < g_settings.keyCount[action]; ++i) {
            if (g_settings.keys[action][i] == key) return action;
        }
    }
    return -1;
}

bool IsReturn(SDL_Scancode code) { return code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER; }

}  // namespace

void SdlHotkeysInit(const PlayerSettings& settings) {
    g_settings = settings;
    g_heldBack.fill(false);
    g_anyHeldBack = false;
    g_windowPlaceKnown = false;
}

bool SdlHotkeyEvent(const SDL_KeyboardEvent& key) {
    const SDL_Scancode code = key.keysym.scancode;
    const bool fresh = key.repeat == 0;
    if (key.type == SDL_KEYUP) {
        if (code >= 0 && code < SDL_NUM_SCANCODES) g_heldBack[static_cast<size_t>(code)] = false;
        return false;
    }
    if (IsReturn(code)) {
        if (fresh && (key.keysym.mod & KMOD_ALT)) {
            g_heldBack[static_cast<size_t>(code)] = true;
            g_anyHeldBack = true;
            SdlToggleFullscreen();
            return true;
        }
        return g_heldBack[static_cast<size_t>(code)];  // the chord's own repeats
    }
    switch (key.keysym.sym) {
        case SDLK_F11:
            if (fresh) SdlToggleFullscreen();
            return true;
        case SDLK_F12:
            if (fresh) TakeScreenshot();
            return true;
        case SDLK_m:
        case SDLK_F8:
            if (fresh) {
                g_settings.mute = !g_settings.mute;
                ApplyLoudness(g_settings.mute ? "muted" : "sound on");
            }
            return true;
        case SDLK_F9: ChangeMusicVolume(-VOLUME_STEP); return true;
        case SDLK_F10: ChangeMusicVolume(VOLUME_STEP); return true;
        default: break;
    }
    const int action = ExtraKeyAction(key.keysym.sym);
    if (action < 0) return false;
    // A held extra pause key repeats as a held P does.
    if (action == SETTINGS_PAUSE) QueuePost(WM_KEYDOWN, static_cast<uint32_t>(VK_P));
    return true;
}

const uint8_t* SdlHotkeyMaskedState(const uint8_t* state, int numKeys) {
    if (!g_anyHeldBack) return state;
    const int count = std::min(numKeys, static_cast<int>(SDL_NUM_SCANCODES));
    bool any = false;
    for (int i = 0; i < count; ++i) {
        // A key found released is let go even if its key-up was never seen (a lost focus).
        if (g_heldBack[static_cast<size_t>(i)] && state[i] == 0) g_heldBack[static_cast<size_t>(i)] = false;
        g_maskedState[static_cast<size_t>(i)] = g_heldBack[static_cast<size_t>(i)] ? 0 : state[i];
        any = any || g_heldBack[static_cast<size_t>(i)];
    }
    g_anyHeldBack = any;
    return g_maskedState.data();
}

bool SdlExtraKeyDownIn(const uint8_t* state, int numKeys, int vk) {
    for (int action = 0; action < SETTINGS_PAUSE; ++action) {
        if (ACTION_KEYS[action] != vk) continue;
        for (int i = 0; i < g_settings.keyCount[action]; ++i) {
            const SDL_Keycode key = g_settings.keys[action][i];
            // Where the keyboard's layout has it; a key it lacks, at its place on a US keyboard.
            SDL_Scancode code = SDL_GetScancodeFromKey(key);
            if (code == SDL_SCANCODE_UNKNOWN) code = SDL_GetScancodeFromName(SDL_GetKeyName(key));
            if (code > SDL_SCANCODE_UNKNOWN && code < numKeys && state[code] != 0) return true;
        }
    }
    return false;
}

void SdlToggleFullscreen() {
    SDL_Window* window = SdlGameWindow();
    if (!window) return;
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_GetWindowPosition(window, &g_windowPlace.x, &g_windowPlace.y);
        SDL_GetWindowSize(window, &g_windowPlace.w, &g_windowPlace.h);
        g_windowPlaceKnown = true;
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            std::fprintf(stderr, "vorne: no full screen: %s\n", SDL_GetError());
        }
    } else {
        if (SDL_SetWindowFullscreen(window, 0) != 0) {
            std::fprintf(stderr, "vorne: cannot leave full screen: %s\n", SDL_GetError());
            return;
        }
        SDL_SetWindowResizable(window, SDL_TRUE);
        if (!g_windowPlaceKnown) {
            // Started full screen: the window a --windowed start would have had, centred.
            SdlWindowedSize(&g_windowPlace.w, &g_windowPlace.h);
            g_windowPlace.x = g_windowPlace.y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
        }
        SDL_SetWindowSize(window, g_windowPlace.w, g_windowPlace.h);
        SDL_SetWindowPosition(window, g_windowPlace.x, g_windowPlace.y);
    }
    SdlRedraw();
}

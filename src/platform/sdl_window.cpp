// SDL back-end: start-up, the end, and the game window. The window is desktop full screen (the
// desktop's own resolution, never a mode switch) unless the player asks for a window; F11 and
// Alt+Enter switch between the two (sdl_hotkeys.cpp). What is shown in it is the presentation's
// (sdl_present.cpp); its events are the event pump's (sdl_events.cpp).
#include <SDL.h>

#include <cstdio>

#include "platform/sdl_backend.h"
#include "platform/sdl_hotkeys.h"
#include "platform/sdl_ui.h"
#include "platform/sdl_window.h"

namespace {

// The windowed start size: twice the screen, when the desktop has room for it.
constexpr int WINDOWED_FACTOR = 2;

// Made by SdlCreateWindow, destroyed by SdlDestroyWindow (or SdlShutdown).
bool g_windowed = false;
SDL_Window* g_window = nullptr;
uint32_t g_windowId = 0;

void ReportSdlError(const char* what) { std::fprintf(stderr, "vorne: %s: %s\n", what, SDL_GetError()); }

}  // namespace

// ---- start-up and the end -------------------------------------------------------------------

bool SdlStartVideo() {
    SdlXErrorsBeforeVideo();
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SdlXErrorsAfterVideo(started);
    if (!started) return false;
    // Under X11, windows drawn in software (the dialog, the message boxes, and the game on most
    // desktops, see sdl_present.cpp) go straight to the X server, not through an OpenGL texture.
    // Drivers with no window surfaces of their own (Wayland) get theirs from SDL's texture.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && SDL_strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return true;
}

bool SdlInit(const PlatformOptions& options) {
    // The joystick keeps reporting while another window (a message box) has the focus: it is
    // read in the background, whoever has the keyboard.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The joystick is read once per tick (sdl_joystick.cpp updates it itself). Left to SDL's
    // event pump, an attached joystick would turn every wait for the next tick into a 1 ms
    // polling loop (about ten times the CPU of a real sleep).
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (!SdlStartVideo()) {
        std::fprintf(stderr,
                     "vorne: cannot start the video (%s). Is a display available? "
                     "(--headless runs without one)\n",
                     SDL_GetError());
        return false;
    }
    // With no display SDL falls back to drawing into memory: a game nobody can see or stop.
    // That is only wanted when asked for by name (the tests ask for the dummy driver).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(requested && SDL_strcasecmp(requested, driver) == 0)) {
        std::fprintf(stderr, "vorne: no display to open a window on (--headless runs without one)\n");
        SDL_Quit();
        return false;
    }
    // Without a joystick subsystem keyboard play still works; joystick play reports it.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) ReportSdlError("no joystick support");
    g_windowed = options.windowed;
    SdlHotkeysInit(options.settings);
    SdlSetLoudness(options.settings.musicVolume, options.settings.effectsVolume, options.settings.mute);
    SdlJoystickUseSettings(options.settings);
    SDL_GetTicks();  // the millisecond clock starts now
    return true;
}

void SdlShutdown() {
    SdlJoystickClose();
    SdlDestroyWindow();
    SDL_Quit();
}

// ---- the window ---------------------------------------------------------------------------

void SdlWindowedSize(int* width, int* height) {
    // Twice the screen where the desktop's usable area holds it, otherwise the largest 4:3 size
    // that leaves a margin for the window's frame.
    *width = 640 * WINDOWED_FACTOR;
    *height = 480 * WINDOWED_FACTOR;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return;
    if (usable.w >= *width && usable.h >= *height) return;
    const PlatRect fit = SdlLetterboxRect(usable.w * 9 / 10, usable.h * 9 / 10, 640, 480);
    *width = fit.right - fit.left;
    *height = fit.bottom - fit.top;
    if (*width < 640 || *height < 480) {
        *width = 640;
        *height = 480;
    }
}

void SdlCreateWindow() {
    if (g_window) return;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    int width = 640;
    int height = 480;
    if (g_windowed) {
        flags |= SDL_WINDOW_RESIZABLE;
        SdlWindowedSize(&width, &height);
    } else {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    g_window = SDL_CreateWindow("VORNE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!g_window && !g_windowed) {
        // A desktop that refuses full screen still gets the game, in a window.
        ReportSdlError("no full screen, trying a window");
        g_windowed = true;
        SdlWindowedSize(&width, &height);
        flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
        g_window = SDL_CreateWindow("VORNE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    }
    if (!g_window) {
        ReportSdlError("cannot create the window");
        return;
    }
    g_windowId = SDL_GetWindowID(g_window);
    SdlSetWindowIcon(g_window);
    SDL_SetWindowMinimumSize(g_window, 320, 240);
    SdlDrawingStart(g_window);
    // No text entry anywhere in the game: keep an input method from taking key presses.
    SDL_StopTextInput();
}

void SdlShowWindow() {
    if (!g_window) {
        // Nothing to play in: the game would wait for activation for ever. It ends instead,
        // with a failure status, once its set-up has run.
        PlatPostQuitMessage(1);
        return;
    }
    SDL_ShowWindow(g_window);
    SDL_RaiseWindow(g_window);
    SdlRedraw();
    // Showing the window activates the application, as on Windows; without a window manager no
    // focus event would ever say so.
    PlatPostMessage(WM_ACTIVATEAPP, 1);
}

void SdlDestroyWindow() {
    SdlDrawingEnd();
    if (g_window) SDL_DestroyWindow(g_window);
    g_window = nullptr;
    g_windowId = 0;
}

uint32_t SdlWindowId() { return g_windowId; }

SDL_Window* SdlGameWindow() { return g_window; }

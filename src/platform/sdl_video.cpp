// SDL back-end: the game window, its events turned into window messages, the clock, the
// keyboard, the cursor and the presentation of the screen.
//
// The game composes every frame in the 8-bit primary surface (surface.cpp). Presenting turns that
// surface into 32-bit colour through the screen palette and magnifies it into the window
// (ourselves into the window's surface, or through an SDL renderer; see g_drawToSurface):
// nearest-neighbour sampling, aspect kept, black bars where the window's shape differs, and a
// whole magnification factor whenever one fits (so every screen pixel becomes an equal square).
// The window is desktop full screen (the desktop's own resolution, never a mode switch) unless
// the player asks for a window; F11 and Alt+Enter switch between the two (sdl_hotkeys.cpp).
//
// Events become the few window messages the game's window procedure knows: focus changes are
// WM_ACTIVATEAPP, key presses (auto-repeat included) WM_KEYDOWN with Windows' key codes,
// minimising WM_SIZE, the close button destroys the window as DefWindowProc would, a lost
// render device marks the surfaces lost, and the music layer's end-of-piece event is
// MM_MCINOTIFY. While the game waits for its next tick it sleeps in SDL_WaitEventTimeout.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "platform/sdl_hotkeys.h"
#include "platform/sdl_ui.h"

namespace {

// The user event code by which the music layer reports the end of a piece (MM_MCINOTIFY's value).
constexpr int32_t MUSIC_NOTIFY_EVENT_CODE = MM_MCINOTIFY;
// The windowed start size: twice the screen, when the desktop has room for it.
constexpr int WINDOWED_FACTOR = 2;
// The largest desktop (in pixels) the game is drawn on in software; see g_drawToSurface.
constexpr int64_t SOFTWARE_DRAWING_MAX_PIXELS = 2560 * 1600;

// Window and the way it is drawn. Made by SdlCreateWindow, destroyed by SdlDestroyWindow (or
// SdlShutdown).
bool g_windowed = false;
SDL_Window* g_window = nullptr;
uint32_t g_windowId = 0;
// Under X11 the screen is usually magnified by our own row copier straight into the window's
// surface: the picture is only 640 x 480, and this needs no GPU driver, which would add 50 to
// 100 MB to the game's memory and time to its start. On desktops larger than 2560 x 1600 pixels
// (where that would take a good part of every tick) or with a window of other than 32-bit
// pixels, when the player names SDL_RENDER_DRIVER, and under drivers whose windows have no
// surface of their own (Wayland, where a surface would also be counted in points, not pixels, on
// a scaled output), an SDL renderer draws it instead from a texture of the screen's size,
// magnifying it on the GPU where there is one, into the drawable's pixels.
bool g_drawToSurface = false;
SDL_PixelFormat* g_surfaceFormat = nullptr;  // the window surface's pixel format (surface way)
SDL_Surface* g_barsDrawnOn = nullptr;          // the surface the black bars were last drawn on
int g_barsWidth = 0;                           // and its size then
int g_barsHeight = 0;
SDL_Renderer* g_renderer = nullptr;  // renderer way
SDL_Texture* g_texture = nullptr;
bool g_textureStale = true;  // the texture does not show g_screenPixels yet
// The screen of the last presentation: its palette indices and its 256 colours, in the window
// surface's format on the surface way (0xAARRGGBB on the renderer way). Kept so an exposed or
// resized window can be drawn again while no tick runs (inactive or paused).
std::vector<uint8_t> g_screenPixels;
std::array<uint32_t, 256> g_screenColours{};
int g_screenWidth = 0;
int g_screenHeight = 0;

void ReportSdlError(const char* what) { std::fprintf(stderr, "vorne: %s: %s\n", what, SDL_GetError()); }

void DestroyTexture() {
    if (g_texture) SDL_DestroyTexture(g_texture);
    g_texture = nullptr;
    g_textureStale = true;
}

// True under the drivers whose window surfaces are the window's own pixels.
bool SdlWindowSurfaceIsNative() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    return SDL_strcmp(driver, "x11") == 0 || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0;
}

// Chooses the way the window is drawn (see g_drawToSurface) and makes the renderer if needed.
void ChooseDrawing(SDL_Window* window) {
    g_drawToSurface = false;
    const char* chosen = SDL_getenv("SDL_RENDER_DRIVER");
    const Uint32 format = SDL_GetWindowPixelFormat(window);
    SDL_Rect desktop{};
    if (!(chosen && *chosen) && SdlWindowSurfaceIsNative() && SDL_BYTESPERPIXEL(format) == 4 &&
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &desktop) == 0 &&
        static_cast<int64_t>(desktop.w) * desktop.h <= SOFTWARE_DRAWING_MAX_PIXELS) {
        g_surfaceFormat = SDL_AllocFormat(format);
        g_drawToSurface = g_surfaceFormat != nullptr;
        if (g_drawToSurface) return;
    }
    g_renderer = SDL_CreateRenderer(window, -1, 0);
    if (!g_renderer) g_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!g_renderer) ReportSdlError("cannot draw into the window");
}

// Surface way: magnifies the screen into the window's surface, letterboxed. The surface keeps
// its picture from one frame to the next, so the bars need their black only when it is new or
// has changed size. False when there is no surface.
bool DrawToSurface() {
    SDL_Surface* surface = SDL_GetWindowSurface(g_window);  // SDL makes it again after a resize
    if (!surface || surface->format->BytesPerPixel != 4) return false;
    if (g_screenPixels.empty()) {
        SDL_FillRect(surface, nullptr, 0);
        return true;
    }
    const PlatRect r = SdlLetterboxRect(surface->w, surface->h, g_screenWidth, g_screenHeight);
    const SDL_Rect dest{r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (dest.w <= 0 || dest.h <= 0) return true;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    if (surface != g_barsDrawnOn || surface->w != g_barsWidth || surface->h != g_barsHeight) {
        const SDL_Rect bars[4] = {{0, 0, surface->w, dest.y},
                                  {0, dest.y + dest.h, surface->w, surface->h - dest.y - dest.h},
                                  {0, dest.y, dest.x, dest.h},
                                  {dest.x + dest.w, dest.y, surface->w - dest.x - dest.w, dest.h}};
        SDL_FillRects(surface, bars, 4, SDL_MapRGB(surface->format, 0, 0, 0));
        g_barsDrawnOn = surface;
        g_barsWidth = surface->w;
        g_barsHeight = surface->h;
    }
    uint8_t* corner = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(dest.y) * surface->pitch + dest.x * 4;
    SdlMagnifyScreen(g_screenPixels.data(), g_screenColours.data(), g_screenWidth, g_screenHeight, corner, surface->pitch,
                     dest.w, dest.h);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

// Renderer way: the screen-size texture drawn letterboxed into the back buffer.
bool DrawWithRenderer() {
    if (!g_renderer) return false;
    SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
    SDL_RenderClear(g_renderer);
    int outWidth = 0;
    int outHeight = 0;
    if (g_screenPixels.empty() || SDL_GetRendererOutputSize(g_renderer, &outWidth, &outHeight) != 0) return true;
    if (!g_texture) {
        g_texture = SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, g_screenWidth,
                                      g_screenHeight);
        if (!g_texture) return true;
        SDL_SetTextureBlendMode(g_texture, SDL_BLENDMODE_NONE);  // opaque: a copy, not a blend
        SDL_SetTextureScaleMode(g_texture, SDL_ScaleModeNearest);
        g_textureStale = true;
    }
    void* rows = nullptr;
    int pitch = 0;
    if (g_textureStale && SDL_LockTexture(g_texture, nullptr, &rows, &pitch) == 0) {
        SdlMagnifyScreen(g_screenPixels.data(), g_screenColours.data(), g_screenWidth, g_screenHeight,
                         static_cast<uint8_t*>(rows), pitch, g_screenWidth, g_screenHeight);
        SDL_UnlockTexture(g_texture);
        g_textureStale = false;
    }
    const PlatRect r = SdlLetterboxRect(outWidth, outHeight, g_screenWidth, g_screenHeight);
    const SDL_Rect dest{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_RenderCopy(g_renderer, g_texture, nullptr, &dest);
    return true;
}

// Draws the screen into the window's back buffer; false when there is nothing to draw with.
bool DrawScreen() {
    if (!g_window) return false;
    return g_drawToSurface ? DrawToSurface() : DrawWithRenderer();
}

void ShowDrawnScreen() {
    if (g_drawToSurface) {
        SDL_UpdateWindowSurface(g_window);
    } else {
        SDL_RenderPresent(g_renderer);
    }
}

void Redraw() {
    if (DrawScreen()) ShowDrawnScreen();
}

// The windowed start size: twice the screen where the desktop's usable area holds it, otherwise
// the largest 4:3 size that leaves a margin for the window's frame.
void WindowedSize(int* width, int* height) {
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

void HandleWindowEvent(const SDL_WindowEvent& e) {
    if (e.windowID != g_windowId) return;  // message boxes and the dialog have their own windows
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            QueuePost(WM_ACTIVATEAPP, 1);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            QueuePost(WM_ACTIVATEAPP, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            QueuePost(WM_SIZE, SIZE_MINIMIZED);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            // What DefWindowProc does with WM_CLOSE: the window is destroyed on the spot, the
            // procedure's WM_DESTROY clean-up posts the quit.
            PlatDestroyWindow();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            Redraw();
            break;
        default:
            break;
    }
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            // The last window was closed, or the terminal sent an interrupt: end as a close does.
            if (PlatWindowExists()) PlatDestroyWindow();
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(e.window);
            break;
        case SDL_KEYDOWN:
            // The player's comfort keys (full screen, screenshot, loudness) and extra keys are
            // taken first and never reach the game as keys of their own.
            if ((e.key.windowID == g_windowId || e.key.windowID == 0) && !SdlHotkeyEvent(e.key)) {
                // Repeated presses are delivered too: a held P toggles the pause with each repeat.
                const int vk = SdlKeyToVirtualKey(e.key.keysym.sym);
                if (vk != 0) QueuePost(WM_KEYDOWN, static_cast<uint32_t>(vk));
            }
            break;
        case SDL_KEYUP:
            SdlHotkeyEvent(e.key);
            break;
        case SDL_RENDER_TARGETS_RESET:
            PlatMarkAllSurfacesLost();
            break;
        case SDL_RENDER_DEVICE_RESET:
            PlatMarkAllSurfacesLost();
            DestroyTexture();  // it went with the device; the next drawing makes it again
            break;
        default:
            if (e.type >= SDL_USEREVENT && e.type < SDL_LASTEVENT && e.user.code == MUSIC_NOTIFY_EVENT_CODE) {
                QueuePost(MM_MCINOTIFY, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.user.data1)));
            }
            break;
    }
}

}  // namespace

// ---- start-up and the window ----------------------------------------------------------------

bool SdlStartVideo() {
    SdlXErrorsBeforeVideo();
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SdlXErrorsAfterVideo(started);
    if (!started) return false;
    // Under X11, windows drawn in software (the dialog, the message boxes, and the game on most
    // desktops, see g_drawToSurface) go straight to the X server, not through an OpenGL texture.
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

void SdlCreateWindow() {
    if (g_window) return;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    int width = 640;
    int height = 480;
    if (g_windowed) {
        flags |= SDL_WINDOW_RESIZABLE;
        WindowedSize(&width, &height);
    } else {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    g_window = SDL_CreateWindow("VORNE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!g_window && !g_windowed) {
        // A desktop that refuses full screen still gets the game, in a window.
        ReportSdlError("no full screen, trying a window");
        g_windowed = true;
        WindowedSize(&width, &height);
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
    ChooseDrawing(g_window);
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
    Redraw();
    // Showing the window activates the application, as on Windows; without a window manager no
    // focus event would ever say so.
    QueuePost(WM_ACTIVATEAPP, 1);
}

void SdlDestroyWindow() {
    DestroyTexture();
    if (g_renderer) SDL_DestroyRenderer(g_renderer);
    g_renderer = nullptr;
    if (g_surfaceFormat) SDL_FreeFormat(g_surfaceFormat);
    g_surfaceFormat = nullptr;
    g_drawToSurface = false;
    g_barsDrawnOn = nullptr;
    if (g_window) SDL_DestroyWindow(g_window);
    g_window = nullptr;
    g_windowId = 0;
}

uint32_t SdlWindowId() { return g_windowId; }

SDL_Window* SdlGameWindow() { return g_window; }

void SdlWindowedSize(int* width, int* height) { WindowedSize(width, height); }

void SdlRedraw() { Redraw(); }

// ---- events -------------------------------------------------------------------------------

void SdlPumpEvents(bool wait, uint32_t deadlineMs, bool useDeadline) {
    SdlJoystickWatchPause();  // the pad's pause button, also while no tick runs
    SDL_Event e;
    for (;;) {
        while (SDL_PollEvent(&e)) HandleEvent(e);
        if (!wait || !QueueEmpty()) return;
        int timeout = -1;
        if (useDeadline) {
            const auto remaining = static_cast<int32_t>(deadlineMs - SDL_GetTicks());
            if (remaining <= 0) return;
            timeout = remaining;
        }
        // Sleeps until an event arrives or the time is up; the clock is read again above, so an
        // early wake-up (an event that posts no message) just waits for the rest.
        if (SDL_WaitEventTimeout(&e, timeout)) HandleEvent(e);
    }
}

// ---- clock, cursor ------------------------------------------------------------------------

uint32_t SdlTimeGetTime() { return SDL_GetTicks(); }

void SdlShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

// ---- keyboard -----------------------------------------------------------------------------

int SdlKeyToVirtualKey(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
    switch (key) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_BACKSPACE: return 0x08;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return 0x12;  // VK_MENU
        case SDLK_PAUSE: return 0x13;
        case SDLK_PAGEUP: return 0x21;
        case SDLK_PAGEDOWN: return 0x22;
        case SDLK_END: return 0x23;
        case SDLK_HOME: return 0x24;
        case SDLK_INSERT: return 0x2D;
        case SDLK_DELETE: return 0x2E;
        case SDLK_KP_0: return 0x60;
        case SDLK_KP_1: return 0x61;
        case SDLK_KP_2: return VK_NUMPAD2;
        case SDLK_KP_3: return 0x63;
        case SDLK_KP_4: return VK_NUMPAD4;
        case SDLK_KP_5: return 0x65;
        case SDLK_KP_6: return VK_NUMPAD6;
        case SDLK_KP_7: return 0x67;
        case SDLK_KP_8: return VK_NUMPAD8;
        case SDLK_KP_9: return 0x69;
        default: return 0;
    }
}

namespace {

bool ScancodeDown(const uint8_t* state, int numKeys, SDL_Scancode code) {
    return code > SDL_SCANCODE_UNKNOWN && code < numKeys && state[code] != 0;
}

// Letters and digits follow the keyboard layout, as Windows' key codes do: the key that types
// "z" is VK_Z wherever it sits. Without a layout, the US position stands in.
SDL_Scancode LayoutScancode(SDL_Keycode key, SDL_Scancode usPosition) {
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    return code == SDL_SCANCODE_UNKNOWN ? usPosition : code;
}

}  // namespace

bool SdlVirtualKeyDownIn(const uint8_t* state, int numKeys, int vk) {
    auto down = [&](SDL_Scancode code) { return ScancodeDown(state, numKeys, code); };
    if (vk >= 'A' && vk <= 'Z') {
        const int i = vk - 'A';
        return down(LayoutScancode(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)));
    }
    switch (vk) {
        case VK_LEFT: return down(SDL_SCANCODE_LEFT);
        case VK_UP: return down(SDL_SCANCODE_UP);
        case VK_RIGHT: return down(SDL_SCANCODE_RIGHT);
        case VK_DOWN: return down(SDL_SCANCODE_DOWN);
        // The keypad key answers whatever Num Lock says (with it off the key is an arrow).
        case VK_NUMPAD2: return down(SDL_SCANCODE_KP_2);
        case VK_NUMPAD4: return down(SDL_SCANCODE_KP_4);
        case VK_NUMPAD6: return down(SDL_SCANCODE_KP_6);
        case VK_NUMPAD8: return down(SDL_SCANCODE_KP_8);
        case VK_CONTROL: return down(SDL_SCANCODE_LCTRL) || down(SDL_SCANCODE_RCTRL);
        case VK_SHIFT: return down(SDL_SCANCODE_LSHIFT) || down(SDL_SCANCODE_RSHIFT);
        case VK_SPACE: return down(SDL_SCANCODE_SPACE);
        case VK_RETURN: return down(SDL_SCANCODE_RETURN) || down(SDL_SCANCODE_KP_ENTER);
        case VK_ESCAPE: return down(SDL_SCANCODE_ESCAPE);
        case VK_TAB: return down(SDL_SCANCODE_TAB);
        default: return false;
    }
}

bool SdlIsKeyDown(int vk) {
    int numKeys = 0;
    const Uint8* state = SDL_GetKeyboardState(&numKeys);
    // Keys the comforts took (the Return of Alt+Enter) do not count until they are let go; the
    // player's extra keys count as the game's own.
    state = SdlHotkeyMaskedState(state, numKeys);
    return SdlVirtualKeyDownIn(state, numKeys, vk) || SdlExtraKeyDownIn(state, numKeys, vk);
}

// ---- presentation -------------------------------------------------------------------------

void SdlMagnifyScreen(const uint8_t* screen, const uint32_t* colours, int screenWidth, int screenHeight, uint8_t* rows,
                      int pitch, int width, int height) {
    // For each output column, the screen column it shows; kept while the output width stays.
    static std::vector<int> sourceColumns;
    static int columnsFor = 0;
    if (sourceColumns.size() != static_cast<size_t>(width) || columnsFor != screenWidth) {
        sourceColumns.resize(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) {
            sourceColumns[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(x) * screenWidth / width);
        }
        columnsFor = screenWidth;
    }
    // A whole magnification (the usual case, see SdlLetterboxRect) repeats each pixel factor times.
    const int factor = width % screenWidth == 0 ? width / screenWidth : 0;
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        uint32_t* to = reinterpret_cast<uint32_t*>(rows + static_cast<size_t>(y) * pitch);
        const int sourceRow = static_cast<int>(static_cast<int64_t>(y) * screenHeight / height);
        if (sourceRow == previous) {
            std::memcpy(to, rows + static_cast<size_t>(y - 1) * pitch, static_cast<size_t>(width) * 4);
            continue;
        }
        const uint8_t* from = screen + static_cast<size_t>(sourceRow) * screenWidth;
        if (factor == 1) {
            for (int x = 0; x < width; ++x) to[x] = colours[from[x]];
        } else if (factor == 2) {
            for (int x = 0; x < screenWidth; ++x) to[2 * x] = to[2 * x + 1] = colours[from[x]];
        } else {
            for (int x = 0; x < width; ++x) to[x] = colours[from[sourceColumns[static_cast<size_t>(x)]]];
        }
        previous = sourceRow;
    }
}

PlatRect SdlLetterboxRect(int outWidth, int outHeight, int screenWidth, int screenHeight) {
    if (outWidth <= 0 || outHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) return PlatRect{};
    int width;
    int height;
    const int factor = std::min(outWidth / screenWidth, outHeight / screenHeight);
    if (factor >= 1) {
        width = screenWidth * factor;
        height = screenHeight * factor;
    } else if (static_cast<int64_t>(outWidth) * screenHeight <= static_cast<int64_t>(outHeight) * screenWidth) {
        width = outWidth;  // narrower than the screen's shape: bars above and below
        height = static_cast<int>(static_cast<int64_t>(outWidth) * screenHeight / screenWidth);
    } else {
        height = outHeight;  // wider: bars left and right
        width = static_cast<int>(static_cast<int64_t>(outHeight) * screenWidth / screenHeight);
    }
    const int left = (outWidth - width) / 2;
    const int top = (outHeight - height) / 2;
    return PlatRect{left, top, left + width, top + height};
}

void SdlPresent(const Surface* primary) {
    if (!g_window || !primary) return;
    const int width = PlatSurfaceWidth(primary);
    const int height = PlatSurfaceHeight(primary);
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(primary, &pitch);
    const PaletteEntry* palette = PlatGetPalette(primary);
    for (int i = 0; i < 256; ++i) {
        g_screenColours[static_cast<size_t>(i)] =
            g_drawToSurface ? SDL_MapRGB(g_surfaceFormat, palette[i].red, palette[i].green, palette[i].blue)
                            : 0xFF000000u | static_cast<uint32_t>(palette[i].red) << 16 |
                                  static_cast<uint32_t>(palette[i].green) << 8 | palette[i].blue;
    }
    g_screenPixels.resize(static_cast<size_t>(width) * height);
    g_screenWidth = width;
    g_screenHeight = height;
    for (int y = 0; y < height; ++y) {
        std::memcpy(&g_screenPixels[static_cast<size_t>(y) * width], pixels + static_cast<size_t>(y) * pitch,
                    static_cast<size_t>(width));
    }
    g_textureStale = true;
    Redraw();
}

bool SdlReadPresentedPixels(uint32_t* pixels, int maxPixels, int* width, int* height) {
    if (!DrawScreen()) return false;
    bool ok = false;
    if (g_drawToSurface) {
        SDL_Surface* surface = SDL_GetWindowSurface(g_window);
        *width = surface->w;
        *height = surface->h;
        if (static_cast<int64_t>(*width) * *height > maxPixels) return false;
        for (int y = 0; y < *height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                                    static_cast<size_t>(y) * surface->pitch);
            for (int x = 0; x < *width; ++x) {
                uint8_t red, green, blue;
                SDL_GetRGB(row[x], surface->format, &red, &green, &blue);
                pixels[static_cast<size_t>(y) * *width + x] = static_cast<uint32_t>(red) << 16 | green << 8 | blue;
            }
        }
        ok = true;
    } else {
        if (SDL_GetRendererOutputSize(g_renderer, width, height) != 0) return false;
        if (static_cast<int64_t>(*width) * *height > maxPixels) return false;
        ok = SDL_RenderReadPixels(g_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels, *width * 4) == 0;
        if (ok) {
            for (int i = 0; i < *width * *height; ++i) pixels[i] &= 0xFFFFFFu;
        }
    }
    ShowDrawnScreen();
    return ok;
}

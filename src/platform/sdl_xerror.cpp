// SDL back-end: the X errors the game lets pass, and only where the X11 video driver runs.
//
// While SDL waits for events it wakes itself by sending a message to the newest window, over a
// second connection to the X server. When that window is closed straight after the event that
// woke it (a message box's OK, the dialog's buttons, the game's ESC), the server may see the
// close first and answer the message with a BadWindow error, which Xlib's default handling
// turns into the end of the program, with a failure status, as late as the moment SDL closes
// its connections. That one error is harmless and is let pass, by two handlers:
//   - the base one, installed before SDL starts its video: SDL keeps it as the handler it found
//     and puts it back before it closes its connections; other errors go on to Xlib's default;
//   - the outer one, installed after SDL has put its own in place (which restores the desktop
//     and then calls the handler it found): other errors go on to SDL's.
//
// Xlib is not linked: on a Wayland session (or any other without X) the game must start where
// libX11 is not even installed. SDL loads it for its X11 driver itself, and so does this file,
// with dlopen, only when that driver may start (SDL_VIDEODRIVER allows it and DISPLAY names a
// server). Both loads reach the same library, so the handlers are the ones SDL's calls see. If
// SDL then starts another driver after all, the base handler is taken back and the library let
// go.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <dlfcn.h>

#include <cctype>
#include <cstring>
#include <string>

#include "platform/sdl_backend.h"

namespace {

using SetErrorHandlerFunction = XErrorHandler (*)(XErrorHandler);

// From the first SdlXErrorsBeforeVideo that finds the X11 driver possible until it is found not
// used: the library and its XSetErrorHandler.
void* g_xlib = nullptr;
SetErrorHandlerFunction g_setErrorHandler = nullptr;
XErrorHandler g_xlibErrorHandler = nullptr;  // what the base handler found (Xlib's default)
XErrorHandler g_sdlErrorHandler = nullptr;   // what the outer handler found (SDL's)

bool IsLateWakeup(const XErrorEvent* error) { return error->error_code == BadWindow && error->request_code == X_SendEvent; }

int HandleXErrorBase(Display* display, XErrorEvent* error) {
    if (IsLateWakeup(error)) return 0;
    return g_xlibErrorHandler ? g_xlibErrorHandler(display, error) : 0;
}

int HandleXErrorOuter(Display* display, XErrorEvent* error) {
    if (IsLateWakeup(error)) return 0;
    return g_sdlErrorHandler ? g_sdlErrorHandler(display, error) : 0;
}

}  // namespace

bool SdlVideoDriverListAllowsX11(const char* requested, const char* display) {
    if (!display || !*display) return false;
    if (!requested || !*requested) return true;  // SDL tries its drivers in its own order
    std::string list(requested);
    for (char& c : list) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        if (list.compare(start, end - start, "x11") == 0) return true;
        start = end + 1;
    }
    return false;
}

void SdlXErrorsBeforeVideo() {
    if (!SdlVideoDriverListAllowsX11(SDL_GetHint(SDL_HINT_VIDEODRIVER), SDL_getenv("DISPLAY"))) return;
    if (!g_xlib) {
        g_xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!g_xlib) return;  // then SDL's X11 driver cannot start either
        g_setErrorHandler = reinterpret_cast<SetErrorHandlerFunction>(dlsym(g_xlib, "XSetErrorHandler"));
    }
    if (!g_setErrorHandler) return;
    const XErrorHandler found = g_setErrorHandler(HandleXErrorBase);
    if (found != HandleXErrorBase && found != HandleXErrorOuter) g_xlibErrorHandler = found;
}

void SdlXErrorsAfterVideo(bool videoStarted) {
    if (!g_setErrorHandler) return;
    const char* driver = videoStarted ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver && SDL_strcmp(driver, "x11") == 0) {
        const XErrorHandler sdls = g_setErrorHandler(HandleXErrorOuter);
        if (sdls != HandleXErrorOuter) g_sdlErrorHandler = sdls;
        return;
    }
    // No X11 after all: Xlib's own handling back, and the library let go.
    g_setErrorHandler(g_xlibErrorHandler);
    g_setErrorHandler = nullptr;
    g_xlibErrorHandler = nullptr;
    dlclose(g_xlib);
    g_xlib = nullptr;
}

bool SdlXErrorsInstalled() { return g_setErrorHandler != nullptr; }

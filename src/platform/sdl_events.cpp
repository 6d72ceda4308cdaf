// SDL back-end: SDL's events turned into the few window messages the game's window procedure
// knows. Focus changes are WM_ACTIVATEAPP, key presses (auto-repeat included) WM_KEYDOWN with
// Windows' key codes, minimising WM_SIZE, the close button destroys the window as DefWindowProc
// would, a lost render device marks the surfaces lost, and the music's end-of-piece event is
// MM_MCINOTIFY. While the game waits for its next tick it sleeps in SDL_WaitEventTimeout.
#include <SDL.h>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "platform/sdl_hotkeys.h"
#include "platform/sdl_window.h"

namespace {

void HandleWindowEvent(const SDL_WindowEvent& e) {
    if (e.windowID != SdlWindowId()) return;  // message boxes and the dialog have their own windows
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: QueuePost(WM_ACTIVATEAPP, 1); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: QueuePost(WM_ACTIVATEAPP, 0); break;
        case SDL_WINDOWEVENT_MINIMIZED: QueuePost(WM_SIZE, SIZE_MINIMIZED); break;
        case SDL_WINDOWEVENT_CLOSE:
            // What DefWindowProc does with WM_CLOSE: the window is destroyed on the spot, the
            // procedure's WM_DESTROY clean-up posts the quit.
            PlatDestroyWindow();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED: SdlRedraw(); break;
        default: break;
    }
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            // The last window was closed, or the terminal sent an interrupt: end as a close does.
            if (PlatWindowExists()) PlatDestroyWindow();
            break;
        case SDL_WINDOWEVENT: HandleWindowEvent(e.window); break;
        case SDL_KEYDOWN:
            // The player's comfort keys (full screen, screenshot, loudness) and extra keys are
            // taken first and never reach the game as keys of their own.
            if ((e.key.windowID == SdlWindowId() || e.key.windowID == 0) && !SdlHotkeyEvent(e.key)) {
                // Repeated presses are delivered too: a held P toggles the pause with each repeat.
                const int vk = SdlKeyToVirtualKey(e.key.keysym.sym);
                if (vk != 0) QueuePost(WM_KEYDOWN, static_cast<uint32_t>(vk));
            }
            break;
        case SDL_KEYUP: SdlHotkeyEvent(e.key); break;
        case SDL_RENDER_TARGETS_RESET: PlatMarkAllSurfacesLost(); break;
        case SDL_RENDER_DEVICE_RESET:
            PlatMarkAllSurfacesLost();
            SdlDrawingDeviceReset();
            break;
        default:
            if (e.type >= SDL_USEREVENT && e.type < SDL_LASTEVENT && e.user.code == SDL_MUSIC_NOTIFY_CODE) {
                QueuePost(MM_MCINOTIFY, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.user.data1)));
            }
            break;
    }
}

// Moves pending SDL events into the message queue. With wait, goes on until at least one
// message is queued or, with useDeadline, until the clock reaches deadlineMs.
void PumpEvents(bool wait, bool useDeadline, uint32_t deadlineMs) {
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

}  // namespace

void SdlPollEvents() {
    if (QueueEmpty()) PumpEvents(false, false, 0);  // a waiting message is the answer already
}

bool SdlWaitEvents(bool useDeadline, uint32_t deadlineMs) {
    PumpEvents(true, useDeadline, deadlineMs);
    return true;  // the window can always still send something
}

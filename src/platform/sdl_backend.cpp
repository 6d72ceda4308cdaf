// The SDL back-end's table: a window, a renderer, audio, joystick, the start-up dialog and
// message boxes, each in its own file; the few calls that are one SDL call each are here.
#include <SDL.h>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "platform/sdl_ui.h"

namespace {

uint32_t SdlTime() { return SDL_GetTicks(); }

void SdlShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace

const PlatformBackendCalls SDL_BACKEND = {
    .init = SdlInit,
    .shutdown = SdlShutdown,
    .createWindow = SdlCreateWindow,
    .showWindow = SdlShowWindow,
    .destroyWindow = SdlDestroyWindow,
    .pollEvents = SdlPollEvents,
    .waitEvents = SdlWaitEvents,
    .showCursor = SdlShowCursor,
    .messageBox = SdlMessageBox,
    .runDialog = SdlRunDialog,
    .time = SdlTime,
    .isKeyDown = SdlIsKeyDown,
    .joystickPresent = SdlJoystickPresent,
    .joystickOpen = SdlJoystickOpen,
    .joystickPoll = SdlJoystickPoll,
    .joystickClose = SdlJoystickClose,
    .soundInit = SdlSoundInit,
    .soundCreateBuffer = SdlSoundCreateBuffer,
    .soundPlay = SdlSoundPlay,
    .soundStop = SdlSoundStop,
    .soundReleaseBuffer = SdlSoundReleaseBuffer,
    .soundShutdown = SdlSoundShutdown,
    .mciSendString = SdlMciSendString,
    .present = SdlPresent,
};

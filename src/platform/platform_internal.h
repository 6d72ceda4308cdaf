// Private to src/platform: what the front (dispatch.cpp), the back-ends and the shared software
// surfaces (surface.cpp) need from one another. The game never includes this header.
#pragma once

#include <cstdio>
#include <string>

#include "platform/dialog.h"
#include "platform/platform.h"

// ---- the back-ends -----------------------------------------------------------------------------
// Every call that needs a device goes through one of these tables, chosen once by PlatformInit:
// SDL_BACKEND (sdl_backend.cpp) or HEADLESS_BACKEND (headless_backend.cpp). Each fills every
// entry; the front keeps the message queue and the window procedure, which both share.
struct PlatformBackendCalls {
    bool (*init)(const PlatformOptions& options);
    void (*shutdown)();

    void (*createWindow)();
    void (*showWindow)();
    void (*destroyWindow)();
    // Moves pending events into the message queue, without waiting.
    void (*pollEvents)();
    // Waits until a message is queued or, with useDeadline, until the clock reaches deadlineMs.
    // False when no message can ever come.
    bool (*waitEvents)(bool useDeadline, uint32_t deadlineMs);
    void (*showCursor)(bool show);
    void (*messageBox)(const char* text, const char* caption);
    int (*runDialog)(const DialogTemplate& dialog, DialogProc proc);

    uint32_t (*time)();
    bool (*isKeyDown)(int vk);  // vk is 0..255
    bool (*joystickPresent)();
    int (*joystickOpen)();
    bool (*joystickPoll)(PlatJoystickRaw* raw);
    void (*joystickClose)();

    bool (*soundInit)();
    bool (*soundCreateBuffer)(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                              int channels);
    void (*soundPlay)(int effectId);
    void (*soundStop)(int effectId);
    void (*soundReleaseBuffer)(int effectId);
    void (*soundShutdown)();
    void (*mciSendString)(const char* command);

    // Shows the primary surface (nullptr before it exists).
    void (*present)(const Surface* primary);
};

extern const PlatformBackendCalls SDL_BACKEND;
extern const PlatformBackendCalls HEADLESS_BACKEND;

// ---- shared message queue (dispatch.cpp); the back-ends post into it
void QueuePost(uint32_t message, uint32_t wParam);
bool QueueEmpty();

// ---- shared surfaces (surface.cpp)
Surface* SurfacePrimary();  // the primary surface, or nullptr before it exists
// Writes the primary surface as an 8-bit PNG into file (see PlatWriteScreenPng).
[[nodiscard]] bool SurfaceWriteScreenPng(std::FILE* file);

// ---- screenshots (screenshot.cpp)
// Saves the screen as the next free "vorne-DATE_TIME[-N].png" in ScreenshotFolder(), created as
// needed. True with the file's path; false with the reason. Called by the F12 key.
[[nodiscard]] bool SaveScreenshot(std::string* path, std::string* error);
// $XDG_PICTURES_DIR/VORNE where the player has a pictures folder, else
// $XDG_DATA_HOME/vorne/screenshots ("" when no home folder is known).
std::string ScreenshotFolder();
// The pictures folder as xdg-user-dir finds it, from the environment's XDG_PICTURES_DIR (or
// nullptr), the home folder and the text of user-dirs.dirs: the file's line over the
// environment; "" when there is none or it is the home folder itself.
std::string PicturesFolderFrom(const char* environmentValue, const std::string& home, const std::string& userDirs);

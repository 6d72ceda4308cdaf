// Private to src/platform: what the dispatching front (dispatch.cpp) and the shared software
// surfaces (surface.cpp) need from each back-end. The game never includes this header.
#pragma once

#include <cstdio>
#include <string>

#include "platform/platform.h"

// ---- shared message queue (dispatch.cpp); the SDL event pump posts into it
void QueuePost(uint32_t message, uint32_t wParam);
bool QueueEmpty();

// ---- shared surfaces (surface.cpp)
Surface* SurfacePrimary();   // the primary surface, or nullptr before it exists
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

// ---- SDL back-end: window, events, clock, keys, cursor, presentation (sdl_video.cpp)
bool SdlInit(const PlatformOptions& options);
// Starts SDL's video (with the X error handling it needs); false when SDL cannot. Called by
// SdlInit and by the message boxes when they come before it.
bool SdlStartVideo();
void SdlShutdown();
void SdlCreateWindow();
void SdlShowWindow();
void SdlDestroyWindow();
// Moves pending SDL events into the message queue (as WM_* messages). With wait, blocks until
// at least one message is queued or PlatTimeGetTime() reaches deadlineMs (deadlineMs 0 with
// wait: no deadline).
void SdlPumpEvents(bool wait, uint32_t deadlineMs, bool useDeadline);
uint32_t SdlTimeGetTime();
bool SdlIsKeyDown(int vk);
void SdlShowCursor(bool show);
void SdlPresent(const Surface* primary);

// ---- SDL back-end: joystick (sdl_joystick.cpp)
bool SdlJoystickPresent();
int SdlJoystickOpen();
bool SdlJoystickPoll(PlatJoystickRaw* raw);
void SdlJoystickClose();
// The player's extra pad buttons; and the mappings of gamecontrollerdb.txt in the settings folder
// and of SDL_GAMECONTROLLERCONFIG. Called by SdlInit once the joystick subsystem is up.
void SdlJoystickUseSettings(const PlayerSettings& settings);
// Reads the pad's pause buttons (Start, and the player's own) and posts WM_KEYDOWN with VK_P for
// each new press, as the P key does. Called by the event pump, so it works while paused.
void SdlJoystickWatchPause();

// ---- SDL back-end: the player's comfort keys (sdl_hotkeys.cpp)
void SdlHotkeysInit(const PlayerSettings& settings);

// ---- SDL back-end: the player's loudness (sdl_audio.cpp); kept for a device opened later
void SdlSetLoudness(int musicPercent, int effectsPercent, bool mute);
void SdlGetLoudness(int* musicPercent, int* effectsPercent, bool* mute);  // for the tests

// ---- SDL back-end: message boxes (sdl_messagebox.cpp)
void SdlMessageBox(const char* text, const char* caption);

// ---- SDL back-end: sound effects and music (sdl_audio.cpp)
bool SdlSoundInit();
bool SdlSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond,
                          int bitsPerSample, int channels);
void SdlSoundPlay(int effectId);
void SdlSoundStop(int effectId);
void SdlSoundReleaseBuffer(int effectId);
void SdlSoundShutdown();
void SdlMciSendString(const char* command);

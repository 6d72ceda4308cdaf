// Private to src/platform: what the dispatching front (dispatch.cpp) and the shared software
// surfaces (surface.cpp) need from each back-end. The game never includes this header.
#pragma once

#include <cstdio>

#include "platform/platform.h"

// ---- shared message queue (dispatch.cpp); the SDL event pump posts into it
void QueuePost(uint32_t message, uint32_t wParam);
bool QueueEmpty();

// ---- shared surfaces (surface.cpp)
Surface* SurfacePrimary();   // the primary surface, or nullptr before it exists
// Writes the primary surface as an 8-bit PNG into file (see PlatWriteScreenPng).
[[nodiscard]] bool SurfaceWriteScreenPng(std::FILE* file);

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

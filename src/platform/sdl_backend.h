// Private to src/platform and its tests: the SDL back-end's calls, which its table
// (sdl_backend.cpp) hands to the front, and the pieces of it that have no device behind them
// (the key table, the letterbox, the axis scale) or that only its own tests need. No SDL types
// here; the game never includes this header.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The user event code by which the music reports the end of a piece (posted by the audio
// callback, turned into MM_MCINOTIFY by the event pump).
inline constexpr int32_t SDL_MUSIC_NOTIFY_CODE = MM_MCINOTIFY;

// ---- start-up, the window and its events (sdl_window.cpp, sdl_events.cpp)
bool SdlInit(const PlatformOptions& options);
// Starts SDL's video (with the X error handling it needs); false when SDL cannot. Called by
// SdlInit and by the message boxes when they come before it.
bool SdlStartVideo();
void SdlShutdown();
void SdlCreateWindow();
void SdlShowWindow();
void SdlDestroyWindow();
void SdlPollEvents();
bool SdlWaitEvents(bool useDeadline, uint32_t deadlineMs);
// The SDL window's id (0 when there is none): the event pump's filter, and the tests push
// events at it.
uint32_t SdlWindowId();

// ---- keyboard (sdl_keys.cpp)
bool SdlIsKeyDown(int vk);
// The Windows virtual-key code a key press is reported with in WM_KEYDOWN, from SDL's key code
// (layout-aware, as Windows' codes are); 0 for keys the game has no code for.
int SdlKeyToVirtualKey(int32_t sdlKeycode);
// True when vk is held in SDL's keyboard state (numKeys entries, indexed by scancode). Either
// Ctrl or Shift answers for VK_CONTROL / VK_SHIFT, the keypad digits answer whatever Num Lock
// says, keypad Enter answers for VK_RETURN. Called by SdlIsKeyDown; the tests pass their own
// state array.
bool SdlVirtualKeyDownIn(const uint8_t* state, int numKeys, int vk);

// ---- presentation (sdl_present.cpp)
void SdlPresent(const Surface* primary);
// Where a screen of screenWidth x screenHeight goes in an output of outWidth x outHeight pixels:
// centred, aspect kept, the largest whole factor that fits, or the largest fractional one when
// not even 1 fits.
PlatRect SdlLetterboxRect(int outWidth, int outHeight, int screenWidth, int screenHeight);
// Copies a screen of palette indices into rows of width x height 32-bit pixels (pitch bytes
// apart) through colours[256], each output pixel showing the screen pixel nearest to it (column
// x * screenWidth / width, row likewise).
void SdlMagnifyScreen(const uint8_t* screen, const uint32_t* colours, int screenWidth, int screenHeight, uint8_t* rows, int pitch,
                      int width, int height);

// ---- joystick (sdl_joystick.cpp)
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
// SDL's axis value (-32768..32767) on the 0..65535 scale the joystick thresholds are made for.
int32_t SdlAxisToRaw(int16_t value);

// ---- the player's comfort keys (sdl_hotkeys.cpp)
void SdlHotkeysInit(const PlayerSettings& settings);

// ---- sound effects and music (sdl_audio.cpp)
bool SdlSoundInit();
bool SdlSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                          int channels);
void SdlSoundPlay(int effectId);
void SdlSoundStop(int effectId);
void SdlSoundReleaseBuffer(int effectId);
void SdlSoundShutdown();
void SdlMciSendString(const char* command);
// The player's loudness, kept for a device opened later.
void SdlSetLoudness(int musicPercent, int effectsPercent, bool mute);
void SdlGetLoudness(int* musicPercent, int* effectsPercent, bool* mute);  // for the tests

// ---- message boxes (sdl_messagebox.cpp)
void SdlMessageBox(const char* text, const char* caption);

// ---- the X error handling around SDL's video start (sdl_xerror.cpp)
// Before: when the X11 driver may start, loads Xlib and installs the handler SDL will find.
// After (with whether the video started): under X11 the handler over SDL's own; under any other
// driver the base one is taken back and Xlib let go. Called by SdlStartVideo.
void SdlXErrorsBeforeVideo();
void SdlXErrorsAfterVideo(bool videoStarted);
// True while the handlers are in place (the X11 driver is in use). For the tests.
bool SdlXErrorsInstalled();
// Whether SDL may start its X11 driver: the driver list (SDL_VIDEODRIVER, comma-separated, any
// case; unset or empty: SDL's own order) allows it and display (DISPLAY) names a server.
bool SdlVideoDriverListAllowsX11(const char* requested, const char* display);

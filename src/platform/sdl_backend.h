// Pieces of the SDL back-end that have no device behind them (the key table, the letterbox, the
// axis scale) or that only its own tests need. Private to src/platform and tests/platform; the
// game never includes this header.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The Windows virtual-key code a key press is reported with in WM_KEYDOWN, from SDL's key code
// (layout-aware, as Windows' codes are); 0 for keys the game has no code for. Called by the
// event pump; the tests check the table.
int SdlKeyToVirtualKey(int32_t sdlKeycode);

// True when vk is held in SDL's keyboard state (numKeys entries, indexed by scancode). Either
// Ctrl or Shift answers for VK_CONTROL / VK_SHIFT, the keypad digits answer whatever Num Lock
// says, keypad Enter answers for VK_RETURN. Called by SdlIsKeyDown; the tests pass their own
// state array.
bool SdlVirtualKeyDownIn(const uint8_t* state, int numKeys, int vk);

// Where a screen of screenWidth x screenHeight goes in an output of outWidth x outHeight pixels:
// centred, aspect kept, the largest whole factor that fits, or the largest fractional one when
// not even 1 fits. Called by the presentation; the tests check it.
PlatRect SdlLetterboxRect(int outWidth, int outHeight, int screenWidth, int screenHeight);

// Copies a screen of palette indices into rows of width x height 32-bit pixels (pitch bytes
// apart) through colours[256], each output pixel showing the screen pixel nearest to it (column
// x * screenWidth / width, row likewise). Called by the presentation; the tests check it.
void SdlMagnifyScreen(const uint8_t* screen, const uint32_t* colours, int screenWidth, int screenHeight, uint8_t* rows,
                      int pitch, int width, int height);

// SDL's axis value (-32768..32767) on the 0..65535 scale the joystick thresholds are made for.
int32_t SdlAxisToRaw(int16_t value);

// Tests only: the SDL window's id (0 when there is none), so that events can be pushed at it.
uint32_t SdlWindowId();
// Tests only: reads the whole presented picture back as 0xRRGGBB values (row-major). False when
// there is no renderer or the picture does not fit maxPixels.
bool SdlReadPresentedPixels(uint32_t* pixels, int maxPixels, int* width, int* height);

// The X error handling around SDL's video start (sdl_xerror.cpp). Before: when the X11 driver
// may start, loads Xlib and installs the handler SDL will find. After (with whether the video
// started): under X11 the handler over SDL's own; under any other driver the base one is taken
// back and Xlib let go. Called by SdlStartVideo.
void SdlXErrorsBeforeVideo();
void SdlXErrorsAfterVideo(bool videoStarted);
// True while the handlers are in place (the X11 driver is in use). For the tests.
bool SdlXErrorsInstalled();
// Whether SDL may start its X11 driver: the driver list (SDL_VIDEODRIVER, comma-separated, any
// case; unset or empty: SDL's own order) allows it and display (DISPLAY) names a server.
bool SdlVideoDriverListAllowsX11(const char* requested, const char* display);

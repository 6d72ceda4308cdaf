// Private to the SDL back-end: what the game window's files share. The window (sdl_window.cpp)
// owns the SDL window; the presentation (sdl_present.cpp) draws into it; the event pump
// (sdl_events.cpp) and the comfort keys (sdl_hotkeys.cpp) redraw it.
#pragma once

#include <SDL.h>

// The game window (nullptr when there is none) and the size a window starts at.
SDL_Window* SdlGameWindow();
void SdlWindowedSize(int* width, int* height);

// Chooses how the new window is drawn and makes what that needs (sdl_present.cpp explains the
// two ways); called once the window exists. SdlDrawingEnd lets it go, before the window goes.
void SdlDrawingStart(SDL_Window* window);
void SdlDrawingEnd();
// The render device went away and took the texture with it; the next drawing makes it again.
void SdlDrawingDeviceReset();
// Draws the last presented screen again (an exposed or resized window, a full screen switch).
void SdlRedraw();

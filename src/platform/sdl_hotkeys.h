// Private to src/platform and its tests: the SDL back-end's comfort keys and the pieces of the
// window they need. The game never includes this header.
#pragma once

#include <SDL.h>

#include <cstdint>

// Takes a key event of the game window before it becomes a window message: F11 and Alt+Enter
// switch between full screen and the window, F12 saves a screenshot, M and F8 mute, F9 and F10
// set the music's loudness, the player's extra keys stand in for the game's. True when the event
// was taken (it then reaches the game as nothing, or as the P key it stands for). Called by the
// event pump for key-downs and key-ups.
bool SdlHotkeyEvent(const SDL_KeyboardEvent& key);

// The keyboard state as the game should see it: the Return of an Alt+Enter stays released until
// it is let go. Returns state itself while nothing is held back, else a copy. Called by
// SdlIsKeyDown.
const uint8_t* SdlHotkeyMaskedState(const uint8_t* state, int numKeys);

// True when one of the player's extra keys for the control that vk belongs to is held in state
// (the first key of each control answers for its extra ones: up, down, left, right, Z, X).
// Called by SdlIsKeyDown.
bool SdlExtraKeyDownIn(const uint8_t* state, int numKeys, int vk);

// Switches the game window between desktop full screen and a window, the window coming back at
// its last size and place. Called by the hotkeys; the tests call it directly.
void SdlToggleFullscreen();

// From sdl_video.cpp, for the hotkeys: the game window (nullptr when there is none), the size a
// window starts at, and drawing the last screen again.
SDL_Window* SdlGameWindow();
void SdlWindowedSize(int* width, int* height);
void SdlRedraw();

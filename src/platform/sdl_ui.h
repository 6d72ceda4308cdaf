// SDL back-end: what the platform's own windows (the start-up dialog and the message boxes) share:
// the classic grey look drawn into a window's surface, the modal dialog's entry and the dialog
// window a message box belongs to.
#pragma once

#include <SDL.h>

#include "platform/dialog.h"

// The classic Windows colours of the dialog look.
inline constexpr SDL_Color UI_FACE = {212, 208, 200, 255};
inline constexpr SDL_Color UI_FACE_HOT = {228, 225, 218, 255};  // a button under the mouse
inline constexpr SDL_Color UI_HIGHLIGHT = {255, 255, 255, 255};
inline constexpr SDL_Color UI_SHADOW = {128, 128, 128, 255};
inline constexpr SDL_Color UI_DARK_SHADOW = {64, 64, 64, 255};
inline constexpr SDL_Color UI_TEXT = {0, 0, 0, 255};

// The look a push button is drawn with.
struct UiButtonLook {
    bool hot = false;      // the mouse is over it
    bool pressed = false;  // held down by the mouse or the space bar
    bool focused = false;  // has the keyboard focus: a black outline and a dotted focus mark
};

// Called by the dialog and the message box before they open a window: starts SDL's video if the
// game's window has not started it yet. False (after a line on stderr) when it cannot start.
bool SdlEnsureVideo();
// Called by the dialog and the message box: fills r with colour.
void UiFill(SDL_Surface* s, const SDL_Rect& r, SDL_Color colour);
// Called by the dialog and the message box: the raised three-pixel frame of a modal window
// around the whole surface.
void UiDrawModalFrame(SDL_Surface* s);
// Called by the dialog: the etched frame of a group box.
void UiDrawEtchedFrame(SDL_Surface* s, const SDL_Rect& r);
// Called by the dialog and the message box: a push button's face, bevel and focus mark (the text
// is drawn by the caller, shifted one pixel right and down while pressed).
void UiDrawPushButton(SDL_Surface* s, const SDL_Rect& r, const UiButtonLook& look);

// Called by the game window and the dialog when their windows are made: gives the window the
// game's icon (sdl_icon.cpp).
void SdlSetWindowIcon(SDL_Window* window);

// The SDL back-end's PlatRunDialog: runs the dialog in a window of its own until its procedure ends it.
int SdlRunDialog(const DialogTemplate& dialog, DialogProc proc);
// Called by the message box: the open dialog's window (the owner of its messages), or nullptr.
SDL_Window* SdlDialogWindow();
// Called by the message box when the dialog beneath it needs painting again.
void SdlDialogRepaint();

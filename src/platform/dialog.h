// Modal dialogs built from a template, the way the game's start-up dialog was drawn up: a list of
// items (statics, group boxes, push buttons) placed in dialog units, a procedure that hears the
// button presses, and the small pure helpers that turn the template into pixels and decide which
// button a point or a key reaches. The helpers are here (not in the SDL back-end) so tests can
// check the layout and the keyboard order without a window.
#pragma once

#include "platform/platform.h"

enum DialogItemKind {
    DIALOG_STATIC = 0,         // left-aligned text, wrapped at word (or Japanese character) breaks
    DIALOG_STATIC_CENTRE = 1,  // the same, each line centred
    DIALOG_PUSH_BUTTON = 2,    // a tab stop; pressing it calls the dialog procedure with its id
    DIALOG_GROUP_BOX = 3,      // an etched frame with its caption in the top edge
};

struct DialogItem {
    int id = -1;
    DialogItemKind kind = DIALOG_STATIC;
    const char* text = "";  // UTF-8
    int x = 0;              // the rectangle, in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
};

struct DialogTemplate {
    int width = 0;  // the client area, in dialog units
    int height = 0;
    const char* fontFamily = "";  // preferred family; any font that covers the texts will do
    int fontPoints = 9;
    const DialogItem* items = nullptr;
    int itemCount = 0;
    int closeButtonId = 0;  // the window manager's close request presses this button
};

// The dialog procedure: hears every button press. Returns DIALOG_STAY to keep the dialog open,
// anything else ends the dialog with that value.
inline constexpr int DIALOG_STAY = -1;
using DialogProc = int (*)(int buttonId);

// Called by the game to show a dialog modally; returns the value its procedure ended it with.
// The headless back-end has no windows: it presses the close button at once.
int PlatRunDialog(const DialogTemplate& dialog, DialogProc proc);

// ---- layout helpers (pure)

// A dialog's base units: the font's average character width and its height, in pixels.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// Called by the SDL dialog: the base units Windows derives from a font, given the pixel width of
// the 52 letters A-Z a-z and the font's height. The average width is rounded to the nearest pixel.
DialogBaseUnits DialogBaseUnitsFromFont(int alphabetWidth, int fontHeight);
// Called by the SDL dialog and the tests: converts horizontal and vertical dialog units to pixels
// (a quarter and an eighth of the base units, rounded to the nearest pixel as MulDiv does).
int DialogUnitsToPixelsX(int units, DialogBaseUnits base);
int DialogUnitsToPixelsY(int units, DialogBaseUnits base);
// Called by the SDL dialog: an item's rectangle in client pixels (origin and size converted
// separately, as Windows does for the controls of a dialog).
PlatRect DialogItemRect(const DialogItem& item, DialogBaseUnits base);

// Called by the SDL dialog: the index of the push button under (x, y) in client pixels, or -1.
// Rectangles hold their left and top edges but not their right and bottom ones.
int DialogHitTest(const DialogTemplate& dialog, DialogBaseUnits base, int x, int y);
// Called by the SDL dialog for Tab (step 1), Shift+Tab (step -1) and the arrow keys: the index
// of the push button that gets the focus after the item at index current, in template order,
// wrapping around. current -1 (no focus yet): step 1 gives the first button, -1 the last.
// Returns -1 when the template has no push button.
int DialogNextFocus(const DialogTemplate& dialog, int current, int step);

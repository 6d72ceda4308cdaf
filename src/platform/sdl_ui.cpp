// SDL back-end: the classic grey look of the dialog and the message boxes, drawn with plain fills
// into a window's surface: the raised frame of a modal dialog, etched group frames and push
// buttons with their bevels, their hot and pressed faces and the dotted keyboard-focus mark.
#include "platform/sdl_backend.h"
#include "platform/sdl_ui.h"

#include <cstdio>

namespace {

void Line(SDL_Surface* s, int x, int y, int w, int h, SDL_Color c) { UiFill(s, SDL_Rect{x, y, w, h}, c); }

// A one-pixel bevel: top and left edges in one colour, bottom and right in the other.
void Bevel(SDL_Surface* s, const SDL_Rect& r, SDL_Color topLeft, SDL_Color bottomRight) {
    if (r.w <= 0 || r.h <= 0) return;
    Line(s, r.x, r.y, r.w, 1, topLeft);
    Line(s, r.x, r.y, 1, r.h, topLeft);
    Line(s, r.x, r.y + r.h - 1, r.w, 1, bottomRight);
    Line(s, r.x + r.w - 1, r.y, 1, r.h, bottomRight);
}

SDL_Rect Inset(const SDL_Rect& r, int by) { return SDL_Rect{r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

// The dotted rectangle Windows draws around the focused button's text: every other pixel.
void DottedFrame(SDL_Surface* s, const SDL_Rect& r, SDL_Color c) {
    for (int x = r.x; x < r.x + r.w; x += 2) {
        Line(s, x, r.y, 1, 1, c);
        Line(s, x, r.y + r.h - 1, 1, 1, c);
    }
    for (int y = r.y; y < r.y + r.h; y += 2) {
        Line(s, r.x, y, 1, 1, c);
        Line(s, r.x + r.w - 1, y, 1, 1, c);
    }
}

}  // namespace

bool SdlEnsureVideo() {
    // A click that brings one of our windows to the front also presses what it lands on, as on
    // Windows; SDL would otherwise drop a click that comes in right after the window got the focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (!SdlStartVideo()) {
        std::fprintf(stderr, "vorne: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

void UiFill(SDL_Surface* s, const SDL_Rect& r, SDL_Color colour) {
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, colour.r, colour.g, colour.b));
}

void UiDrawModalFrame(SDL_Surface* s) {
    const SDL_Rect all{0, 0, s->w, s->h};
    Bevel(s, all, UI_FACE, UI_DARK_SHADOW);
    Bevel(s, Inset(all, 1), UI_HIGHLIGHT, UI_SHADOW);
    Bevel(s, Inset(all, 2), UI_FACE, UI_FACE);
}

void UiDrawEtchedFrame(SDL_Surface* s, const SDL_Rect& r) {
    // A groove: a shadow rectangle with a highlight rectangle one pixel down and right.
    Bevel(s, SDL_Rect{r.x + 1, r.y + 1, r.w - 1, r.h - 1}, UI_HIGHLIGHT, UI_HIGHLIGHT);
    Bevel(s, SDL_Rect{r.x, r.y, r.w - 1, r.h - 1}, UI_SHADOW, UI_SHADOW);
}

void UiDrawPushButton(SDL_Surface* s, const SDL_Rect& r, const UiButtonLook& look) {
    SDL_Rect face = r;
    if (look.focused) {
        Bevel(s, face, UI_TEXT, UI_TEXT);  // the focused button's black outline
        face = Inset(face, 1);
    }
    UiFill(s, face, look.hot && !look.pressed ? UI_FACE_HOT : UI_FACE);
    if (look.pressed) {
        Bevel(s, face, UI_SHADOW, UI_SHADOW);
    } else {
        Bevel(s, face, UI_HIGHLIGHT, UI_DARK_SHADOW);
        Bevel(s, Inset(face, 1), UI_FACE, UI_SHADOW);
    }
    if (look.focused) DottedFrame(s, Inset(r, 4), UI_TEXT);
}

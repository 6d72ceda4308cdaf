// SDL back-end: the message box (MessageBox with MB_OK). A small window of our own with a classic
// caption bar of its own drawing (so the caption shows with any window manager, or none; the bar
// drags the window), the text wrapped and drawn in the Japanese-capable font and one OK button that has
// the focus; Enter, Space, ESC or a click on OK closes it, and so does the window manager's close.
// SDL's own message box is not used: under a C locale it leaves Japanese text blank. The box is
// modal: while it is open, the other windows hear nothing (the dialog beneath is only repainted).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sdl_backend.h"
#include "platform/sdl_font.h"
#include "platform/sdl_ui.h"

namespace {

constexpr const char* UI_FONT_FAMILY = "ＭＳ Ｐゴシック";
constexpr int UI_FONT_POINTS = 9;
constexpr int MARGIN = 12;           // around the text and below the button
constexpr int MAX_TEXT_WIDTH = 400;  // longer texts wrap
constexpr int MIN_TEXT_WIDTH = 120;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 23;
constexpr int BUTTON_GAP = 14;  // between the text and the button
constexpr const char* OK_TEXT = "OK";
constexpr int FRAME = 3;            // the raised border around the box
constexpr int CAPTION_HEIGHT = 18;  // the caption bar below the top border
constexpr int CAPTION_TEXT_INDENT = 4;
constexpr SDL_Color CAPTION_LEFT = {0, 0, 128, 255};  // the active caption's gradient
constexpr SDL_Color CAPTION_RIGHT = {16, 132, 208, 255};
constexpr SDL_Color CAPTION_TEXT = {255, 255, 255, 255};

// The open box (one at a time; lives while SdlMessageBox runs).
struct OpenBox {
    SDL_Window* window = nullptr;
    TTF_Font* font = nullptr;
    std::string caption;
    std::vector<std::string> lines;
    SDL_Rect button{};
    bool hot = false;
    bool mouseDown = false;
    bool keyDown = false;
};

void PaintBox(const OpenBox& box) {
    SDL_Surface* s = SDL_GetWindowSurface(box.window);
    if (!s) return;
    UiFill(s, SDL_Rect{0, 0, s->w, s->h}, UI_FACE);
    UiDrawModalFrame(s);
    const int lineHeight = TTF_FontHeight(box.font);
    const SDL_Rect bar{FRAME, FRAME, s->w - 2 * FRAME, CAPTION_HEIGHT - 1};
    for (int i = 0; i < bar.w; ++i) {
        const auto mix = [&](Uint8 a, Uint8 b) { return static_cast<Uint8>(a + (b - a) * i / std::max(1, bar.w - 1)); };
        const SDL_Color c{mix(CAPTION_LEFT.r, CAPTION_RIGHT.r), mix(CAPTION_LEFT.g, CAPTION_RIGHT.g),
                          mix(CAPTION_LEFT.b, CAPTION_RIGHT.b), 255};
        UiFill(s, SDL_Rect{bar.x + i, bar.y, 1, bar.h}, c);
    }
    SdlDrawTextLine(s, box.font, box.caption, bar.x + CAPTION_TEXT_INDENT, bar.y + (bar.h - lineHeight) / 2, CAPTION_TEXT, bar);
    const SDL_Rect clip{FRAME, FRAME + CAPTION_HEIGHT, s->w - 2 * FRAME, s->h - 2 * FRAME - CAPTION_HEIGHT};
    int y = clip.y + MARGIN;
    for (const std::string& line : box.lines) {
        SdlDrawTextLine(s, box.font, line, clip.x + MARGIN, y, UI_TEXT, clip);
        y += lineHeight;
    }
    UiButtonLook look;
    look.focused = true;  // the only button has the focus from the start
    look.hot = box.hot;
    look.pressed = (box.mouseDown && box.hot) || box.keyDown;
    UiDrawPushButton(s, box.button, look);
    const int shift = look.pressed ? 1 : 0;
    SdlDrawTextLine(s, box.font, OK_TEXT, box.button.x + (box.button.w - SdlTextWidth(box.font, OK_TEXT)) / 2 + shift,
                    box.button.y + (box.button.h - lineHeight) / 2 + shift, UI_TEXT, box.button);
    SDL_UpdateWindowSurface(box.window);
}

bool InButton(const OpenBox& box, int x, int y) {
    const SDL_Rect& b = box.button;
    return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
}

// The caption bar moves the window, as a caption does.
SDL_HitTestResult CaptionHitTest(SDL_Window*, const SDL_Point* p, void*) {
    return p->y >= FRAME && p->y < FRAME + CAPTION_HEIGHT ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

// The window the box belongs to: the open dialog, or else the window that has the keyboard,
// as long as it can be seen.
SDL_Window* OwnerWindow() {
    SDL_Window* owner = SdlDialogWindow();
    if (!owner) owner = SDL_GetKeyboardFocus();
    if (!owner) return nullptr;
    const Uint32 flags = SDL_GetWindowFlags(owner);
    if (flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) return nullptr;
    return owner;
}

// Runs the box's own event loop until it is closed. Returns true when it was closed by a request
// to end the program, which its owner must hear as well.
bool RunBox(OpenBox* box) {
    const Uint32 id = SDL_GetWindowID(box->window);
    const Uint32 dialogId = SdlDialogWindow() ? SDL_GetWindowID(SdlDialogWindow()) : 0;
    for (;;) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e)) {
            SDL_Delay(10);  // the event queue failed; do not spin while it recovers
            continue;
        }
        bool close = false;
        switch (e.type) {
            case SDL_QUIT: return true;
            case SDL_WINDOWEVENT:
                if (e.window.windowID == id && e.window.event == SDL_WINDOWEVENT_CLOSE) close = true;
                if (e.window.windowID == id && e.window.event == SDL_WINDOWEVENT_LEAVE) box->hot = false;
                if (dialogId && e.window.windowID == dialogId && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    SdlDialogRepaint();
                }
                break;
            case SDL_MOUSEMOTION:
                if (e.motion.windowID == id) box->hot = InButton(*box, e.motion.x, e.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
                    box->hot = InButton(*box, e.button.x, e.button.y);
                    box->mouseDown = box->hot;
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
                    box->hot = InButton(*box, e.button.x, e.button.y);
                    if (box->mouseDown && box->hot) close = true;
                    box->mouseDown = false;
                }
                break;
            case SDL_KEYDOWN:
                if (e.key.windowID != id || e.key.repeat) break;
                if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER || e.key.keysym.sym == SDLK_ESCAPE) {
                    close = true;
                } else if (e.key.keysym.sym == SDLK_SPACE) {
                    box->keyDown = true;
                }
                break;
            case SDL_KEYUP:
                if (e.key.windowID == id && e.key.keysym.sym == SDLK_SPACE && box->keyDown) close = true;
                break;
            default: break;
        }
        if (close) return false;
        PaintBox(*box);
    }
}

}  // namespace

void SdlMessageBox(const char* text, const char* caption) {
    if (!SdlEnsureVideo()) {
        std::fprintf(stderr, "%s\n", text);
        return;
    }
    OpenBox box;
    box.font = SdlUiFont(UI_FONT_FAMILY, UI_FONT_POINTS, {text, caption, OK_TEXT});
    if (!box.font) {
        std::fprintf(stderr, "%s\n", text);
        return;
    }
    box.caption = caption;
    box.lines = SdlWrapText(box.font, text, MAX_TEXT_WIDTH);
    int textWidth = std::max(MIN_TEXT_WIDTH, SdlTextWidth(box.font, caption));
    for (const std::string& line : box.lines) textWidth = std::max(textWidth, SdlTextWidth(box.font, line));
    const int textHeight = static_cast<int>(box.lines.size()) * TTF_FontHeight(box.font);
    const int width = 2 * FRAME + textWidth + 2 * MARGIN;
    const int height = 2 * FRAME + CAPTION_HEIGHT + MARGIN + textHeight + BUTTON_GAP + BUTTON_HEIGHT + MARGIN;
    box.button = SDL_Rect{(width - BUTTON_WIDTH) / 2, FRAME + CAPTION_HEIGHT + MARGIN + textHeight + BUTTON_GAP, BUTTON_WIDTH,
                          BUTTON_HEIGHT};

    // Centred on its owner, or on the screen when the owner cannot be seen (a minimised game).
    SDL_Window* owner = OwnerWindow();
    int x = SDL_WINDOWPOS_CENTERED;
    int y = SDL_WINDOWPOS_CENTERED;
    if (owner) {
        int ox = 0;
        int oy = 0;
        int ow = 0;
        int oh = 0;
        SDL_GetWindowPosition(owner, &ox, &oy);
        SDL_GetWindowSize(owner, &ow, &oh);
        x = ox + (ow - width) / 2;
        y = oy + (oh - height) / 2;
    }
    box.window = SDL_CreateWindow(caption, x, y, width, height,
                                  SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
    if (!box.window) {
        std::fprintf(stderr, "%s\n", text);
        return;
    }
    SDL_SetWindowHitTest(box.window, CaptionHitTest, nullptr);
    if (owner) SDL_SetWindowModalFor(box.window, owner);

    // The box must be reachable with the mouse even while the game holds it captive.
    const int cursorWas = SDL_ShowCursor(SDL_QUERY);
    const SDL_bool relativeWas = SDL_GetRelativeMouseMode();
    SDL_Window* grabbedWas = SDL_GetGrabbedWindow();
    SDL_SetRelativeMouseMode(SDL_FALSE);
    if (grabbedWas) SDL_SetWindowGrab(grabbedWas, SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    // Without a window manager nobody hands the keyboard over; ask for it directly.
    SDL_RaiseWindow(box.window);
    SDL_SetWindowInputFocus(box.window);

    PaintBox(box);
    const bool quitRequested = RunBox(&box);
    SDL_DestroyWindow(box.window);
    if (owner) {
        SDL_RaiseWindow(owner);
        SDL_SetWindowInputFocus(owner);
    }
    if (quitRequested) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }

    SDL_ShowCursor(cursorWas);
    if (grabbedWas) SDL_SetWindowGrab(grabbedWas, SDL_TRUE);
    SDL_SetRelativeMouseMode(relativeWas);
    if (SdlDialogWindow()) SdlDialogRepaint();
}

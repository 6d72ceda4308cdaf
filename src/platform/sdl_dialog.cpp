// SDL back-end: a modal dialog in a window of its own, laid out from its template in dialog units
// converted through the base units of its font, and drawn in the classic grey look. It has no
// caption and no close box; the mouse presses its buttons, and the keyboard moves the focus among
// them (Tab, Shift+Tab and the arrows, in template order) and presses the focused one (Space or
// Enter). Nothing has the focus at first, so Enter alone does nothing; ESC is ignored. If the
// window manager closes the window anyway, the template's close button is pressed.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sdl_font.h"
#include "platform/sdl_ui.h"

namespace {

// Windows' dialog frame (DS_MODALFRAME without a caption) around the client area, in pixels.
constexpr int FRAME = 3;
// A group box's caption starts this far right of the frame's left edge and has this much room
// cleared around it.
constexpr int GROUP_CAPTION_INDENT = 8;
constexpr int GROUP_CAPTION_GAP = 2;

// The open dialog (one at a time; set by SdlRunDialog, cleared when the dialog ends).
struct OpenDialog {
    SDL_Window* window = nullptr;
    const DialogTemplate* dialog = nullptr;
    TTF_Font* font = nullptr;
    DialogBaseUnits base;
    int focus = -1;      // item index of the focused button, -1 none
    int hot = -1;        // item index of the button under the mouse
    int mouseDown = -1;  // the button the left mouse button went down on, until it is released
    int spaceDown = -1;  // the button the space bar went down on, until it is released
};
OpenDialog g_open;

SDL_Rect ClientRect(const DialogItem& item) {
    const PlatRect r = DialogItemRect(item, g_open.base);
    return SDL_Rect{FRAME + r.left, FRAME + r.top, r.right - r.left, r.bottom - r.top};
}

// A static's text that our font makes too long for its item is drawn narrower, in these steps,
// so that it shows whole and the item keeps its place (the texts were fitted to a narrower face).
constexpr int CONDENSE_STEPS[] = {100, 95, 90, 85, 80, 75, 70};

void DrawStatic(SDL_Surface* s, const DialogItem& item) {
    const SDL_Rect r = ClientRect(item);
    const int lineHeight = TTF_FontHeight(g_open.font);
    const int linesFitting = std::max(1, r.h / lineHeight);
    TTF_Font* font = g_open.font;
    std::vector<std::string> lines;
    for (const int percent : CONDENSE_STEPS) {
        font = SdlUiFontCondensed(percent);
        lines = SdlWrapText(font, item.text, r.w);
        if (static_cast<int>(lines.size()) <= linesFitting) break;
    }
    int y = r.y;
    for (const std::string& line : lines) {
        if (y >= r.y + r.h) break;
        const int x = item.kind == DIALOG_STATIC_CENTRE ? r.x + (r.w - SdlTextWidth(font, line)) / 2 : r.x;
        SdlDrawTextLine(s, font, line, x, y, UI_TEXT, r);
        y += lineHeight;
    }
}

void DrawGroupBox(SDL_Surface* s, const DialogItem& item) {
    const SDL_Rect r = ClientRect(item);
    const int fontHeight = TTF_FontHeight(g_open.font);
    const int frameTop = r.y + fontHeight / 2;
    UiDrawEtchedFrame(s, SDL_Rect{r.x, frameTop, r.w, r.h - (frameTop - r.y)});
    const int textWidth = SdlTextWidth(g_open.font, item.text);
    if (textWidth == 0) return;
    const int textX = r.x + GROUP_CAPTION_INDENT;
    UiFill(s, SDL_Rect{textX - GROUP_CAPTION_GAP, r.y, textWidth + 2 * GROUP_CAPTION_GAP, fontHeight}, UI_FACE);
    SdlDrawTextLine(s, g_open.font, item.text, textX, r.y, UI_TEXT, r);
}

void DrawButton(SDL_Surface* s, int index) {
    const DialogItem& item = g_open.dialog->items[index];
    const SDL_Rect r = ClientRect(item);
    UiButtonLook look;
    look.focused = g_open.focus == index;
    look.hot = g_open.hot == index;
    look.pressed = (g_open.mouseDown == index && g_open.hot == index) || g_open.spaceDown == index;
    UiDrawPushButton(s, r, look);
    const int shift = look.pressed ? 1 : 0;
    const int x = r.x + (r.w - SdlTextWidth(g_open.font, item.text)) / 2 + shift;
    const int y = r.y + (r.h - TTF_FontHeight(g_open.font)) / 2 + shift;
    const SDL_Rect clip{r.x + 2, r.y + 2, r.w - 4, r.h - 4};
    SdlDrawTextLine(s, g_open.font, item.text, x, y, UI_TEXT, clip);
}

void Paint() {
    if (!g_open.window) return;
    SDL_Surface* s = SDL_GetWindowSurface(g_open.window);
    if (!s) return;
    UiFill(s, SDL_Rect{0, 0, s->w, s->h}, UI_FACE);
    UiDrawModalFrame(s);
    const DialogTemplate& dialog = *g_open.dialog;
    for (int i = 0; i < dialog.itemCount; ++i) {
        switch (dialog.items[i].kind) {
            case DIALOG_STATIC:
            case DIALOG_STATIC_CENTRE: DrawStatic(s, dialog.items[i]); break;
            case DIALOG_GROUP_BOX: DrawGroupBox(s, dialog.items[i]); break;
            case DIALOG_PUSH_BUTTON: DrawButton(s, i); break;
        }
    }
    SDL_UpdateWindowSurface(g_open.window);
}

int HitTest(int windowX, int windowY) { return DialogHitTest(*g_open.dialog, g_open.base, windowX - FRAME, windowY - FRAME); }

bool IsDialogEvent(const SDL_Event& e) {
    const Uint32 id = SDL_GetWindowID(g_open.window);
    switch (e.type) {
        case SDL_WINDOWEVENT: return e.window.windowID == id;
        case SDL_KEYDOWN:
        case SDL_KEYUP: return e.key.windowID == id;
        case SDL_MOUSEMOTION: return e.motion.windowID == id;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return e.button.windowID == id;
        default: return false;
    }
}

void MoveFocus(int step) {
    g_open.spaceDown = -1;
    g_open.focus = DialogNextFocus(*g_open.dialog, g_open.focus, step);
}

// The template's texts: the font chosen must hold every one of their characters.
std::vector<std::string> TemplateTexts(const DialogTemplate& dialog) {
    std::vector<std::string> texts;
    for (int i = 0; i < dialog.itemCount; ++i) texts.emplace_back(dialog.items[i].text);
    texts.emplace_back("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return texts;
}

}  // namespace

SDL_Window* SdlDialogWindow() { return g_open.window; }

void SdlDialogRepaint() { Paint(); }

int SdlRunDialog(const DialogTemplate& dialog, DialogProc proc) {
    // Without a window or a font the dialog cannot be shown; it ends as its close button would.
    auto closeWithoutWindow = [&]() {
        for (;;) {
            const int result = proc(dialog.closeButtonId);
            if (result != DIALOG_STAY) return result;
        }
    };
    if (!SdlEnsureVideo()) return closeWithoutWindow();
    TTF_Font* font = SdlUiFont(dialog.fontFamily, dialog.fontPoints, TemplateTexts(dialog));
    if (!font) return closeWithoutWindow();

    g_open = OpenDialog{};
    g_open.dialog = &dialog;
    g_open.font = font;
    g_open.base =
        DialogBaseUnitsFromFont(SdlTextWidth(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), TTF_FontHeight(font));
    const int width = DialogUnitsToPixelsX(dialog.width, g_open.base) + 2 * FRAME;
    const int height = DialogUnitsToPixelsY(dialog.height, g_open.base) + 2 * FRAME;
    g_open.window = SDL_CreateWindow("VORNE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (!g_open.window) {
        std::fprintf(stderr, "vorne: cannot open the dialog's window: %s\n", SDL_GetError());
        g_open = OpenDialog{};
        return closeWithoutWindow();
    }
    SdlSetWindowIcon(g_open.window);
    SDL_RaiseWindow(g_open.window);
    SDL_SetWindowInputFocus(g_open.window);  // also where no window manager hands the keyboard over
    SDL_ShowCursor(SDL_ENABLE);
    Paint();

    int result = DIALOG_STAY;
    while (result == DIALOG_STAY) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e)) {
            SDL_Delay(10);  // the event queue failed; do not spin while it recovers
            continue;
        }
        int press = -1;  // item index of a button pressed by this event
        bool closeRequested = e.type == SDL_QUIT;
        if (IsDialogEvent(e)) {
            switch (e.type) {
                case SDL_WINDOWEVENT:
                    if (e.window.event == SDL_WINDOWEVENT_CLOSE) closeRequested = true;
                    if (e.window.event == SDL_WINDOWEVENT_LEAVE) g_open.hot = -1;
                    break;
                case SDL_MOUSEMOTION: g_open.hot = HitTest(e.motion.x, e.motion.y); break;
                case SDL_MOUSEBUTTONDOWN:
                    if (e.button.button == SDL_BUTTON_LEFT) {
                        g_open.hot = HitTest(e.button.x, e.button.y);
                        g_open.mouseDown = g_open.hot;
                        if (g_open.hot >= 0) {
                            g_open.focus = g_open.hot;  // a click gives the button the focus
                            g_open.spaceDown = -1;
                        }
                    }
                    break;
                case SDL_MOUSEBUTTONUP:
                    if (e.button.button == SDL_BUTTON_LEFT) {
                        g_open.hot = HitTest(e.button.x, e.button.y);
                        if (g_open.mouseDown >= 0 && g_open.mouseDown == g_open.hot) press = g_open.mouseDown;
                        g_open.mouseDown = -1;
                    }
                    break;
                case SDL_KEYDOWN:
                    switch (e.key.keysym.sym) {
                        case SDLK_TAB: MoveFocus((e.key.keysym.mod & KMOD_SHIFT) ? -1 : 1); break;
                        case SDLK_UP:
                        case SDLK_LEFT: MoveFocus(-1); break;
                        case SDLK_DOWN:
                        case SDLK_RIGHT: MoveFocus(1); break;
                        case SDLK_RETURN:
                        case SDLK_KP_ENTER:
                            if (!e.key.repeat && g_open.focus >= 0) press = g_open.focus;
                            break;
                        case SDLK_SPACE:
                            if (!e.key.repeat && g_open.focus >= 0) g_open.spaceDown = g_open.focus;
                            break;
                        default:  // ESC included: the dialog has no cancel button
                            break;
                    }
                    break;
                case SDL_KEYUP:
                    // As on Windows, the space bar presses the button when it is let go.
                    if (e.key.keysym.sym == SDLK_SPACE && g_open.spaceDown >= 0) {
                        if (g_open.spaceDown == g_open.focus) press = g_open.spaceDown;
                        g_open.spaceDown = -1;
                    }
                    break;
                default: break;
            }
        }
        if (closeRequested) {
            result = proc(dialog.closeButtonId);
        } else if (press >= 0) {
            Paint();  // show the button released before its message, if any, appears
            result = proc(dialog.items[press].id);
            // A message box took the mouse and keys meanwhile: start afresh, keeping the focus.
            g_open.mouseDown = -1;
            g_open.spaceDown = -1;
            int mx = 0;
            int my = 0;
            SDL_GetMouseState(&mx, &my);
            g_open.hot = SDL_GetMouseFocus() == g_open.window ? HitTest(mx, my) : -1;
        }
        if (result == DIALOG_STAY) Paint();
    }
    SDL_DestroyWindow(g_open.window);
    g_open = OpenDialog{};
    return result;
}

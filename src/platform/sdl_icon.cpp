// SDL back-end: the window icon. The picture is the game's own icon at 64 pixels, compiled into
// the executable, so the window shows it wherever the game was installed or unpacked.
#include <SDL.h>

#include "platform/sdl_ui.h"
#include "platform/window_icon.h"

void SdlSetWindowIcon(SDL_Window* window) {
    if (!window) return;
    // SDL copies the pixels for the window system; the surface only borrows them meanwhile.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(WINDOW_ICON_RGBA), WINDOW_ICON_SIZE,
                                                           WINDOW_ICON_SIZE, 32, WINDOW_ICON_SIZE * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;  // the window keeps the system's icon
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

// SDL back-end: window, events, clock, keyboard, cursor and presentation.
// (Stand-in until the real window lands: only the PNG writer works.)
#include <SDL.h>
#include <SDL_image.h>

#include "platform/platform_internal.h"

bool SdlInit(const PlatformOptions&) { return false; }
void SdlShutdown() {}
void SdlCreateWindow() {}
void SdlShowWindow() {}
void SdlDestroyWindow() {}
void SdlPumpEvents(bool, uint32_t, bool) {}
uint32_t SdlTimeGetTime() { return SDL_GetTicks(); }
bool SdlIsKeyDown(int) { return false; }
void SdlShowCursor(bool) {}
void SdlPresent(const Surface*) {}

bool SdlWritePng(const char* path, const uint8_t* rgb, int width, int height) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgb), width, height, 24, width * 3,
                                                        SDL_PIXELFORMAT_RGB24);
    if (!s) return false;
    const bool ok = IMG_SavePNG(s, path) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// SDL back-end: the presentation of the screen.
//
// The game composes every frame in the 8-bit primary surface (surface.cpp). Presenting turns that
// surface into 32-bit colour through the screen palette and magnifies it into the window
// (ourselves into the window's surface, or through an SDL renderer; see g_drawToSurface):
// nearest-neighbour sampling, aspect kept, black bars where the window's shape differs, and a
// whole magnification factor whenever one fits (so every screen pixel becomes an equal square).
// The last screen is kept, so an exposed or resized window is drawn again while no tick runs.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/sdl_backend.h"
#include "platform/sdl_window.h"

namespace {

// The largest desktop (in pixels) the game is drawn on in software; see g_drawToSurface.
constexpr int64_t SOFTWARE_DRAWING_MAX_PIXELS = 2560 * 1600;

// Under X11 the screen is usually magnified by our own row copier straight into the window's
// surface: the picture is only 640 x 480, and this needs no GPU driver, which would add 50 to
// 100 MB to the game's memory and time to its start. On desktops larger than 2560 x 1600 pixels
// (where that would take a good part of every tick) or with a window of other than 32-bit
// pixels, when the player names SDL_RENDER_DRIVER, and under drivers whose windows have no
// surface of their own (Wayland, where a surface would also be counted in points, not pixels, on
// a scaled output), an SDL renderer draws it instead from a texture of the screen's size,
// magnifying it on the GPU where there is one, into the drawable's pixels.
bool g_drawToSurface = false;
SDL_PixelFormat* g_surfaceFormat = nullptr;  // the window surface's pixel format (surface way)
SDL_Surface* g_barsDrawnOn = nullptr;        // the surface the black bars were last drawn on
int g_barsWidth = 0;                         // and its size then
int g_barsHeight = 0;
SDL_Renderer* g_renderer = nullptr;  // renderer way
SDL_Texture* g_texture = nullptr;
bool g_textureStale = true;  // the texture does not show g_screenPixels yet
// The screen of the last presentation: its palette indices and its 256 colours, in the window
// surface's format on the surface way (0xAARRGGBB on the renderer way). Kept so an exposed or
// resized window can be drawn again while no tick runs (inactive or paused).
std::vector<uint8_t> g_screenPixels;
std::array<uint32_t, 256> g_screenColours{};
int g_screenWidth = 0;
int g_screenHeight = 0;

void DestroyTexture() {
    if (g_texture) SDL_DestroyTexture(g_texture);
    g_texture = nullptr;
    g_textureStale = true;
}

// True under the drivers whose window surfaces are the window's own pixels.
bool WindowSurfaceIsNative() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    return SDL_strcmp(driver, "x11") == 0 || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0;
}

// Surface way: magnifies the screen into the window's surface, letterboxed. The surface keeps
// its picture from one frame to the next, so the bars need their black only when it is new or
// has changed size. False when there is no surface.
bool DrawToSurface(SDL_Window* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);  // SDL makes it again after a resize
    if (!surface || surface->format->BytesPerPixel != 4) return false;
    if (g_screenPixels.empty()) {
        SDL_FillRect(surface, nullptr, 0);
        return true;
    }
    const PlatRect r = SdlLetterboxRect(surface->w, surface->h, g_screenWidth, g_screenHeight);
    const SDL_Rect dest{r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (dest.w <= 0 || dest.h <= 0) return true;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    if (surface != g_barsDrawnOn || surface->w != g_barsWidth || surface->h != g_barsHeight) {
        const SDL_Rect bars[4] = {{0, 0, surface->w, dest.y},
                                  {0, dest.y + dest.h, surface->w, surface->h - dest.y - dest.h},
                                  {0, dest.y, dest.x, dest.h},
                                  {dest.x + dest.w, dest.y, surface->w - dest.x - dest.w, dest.h}};
        SDL_FillRects(surface, bars, 4, SDL_MapRGB(surface->format, 0, 0, 0));
        g_barsDrawnOn = surface;
        g_barsWidth = surface->w;
        g_barsHeight = surface->h;
    }
    uint8_t* corner = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(dest.y) * surface->pitch + dest.x * 4;
    SdlMagnifyScreen(g_screenPixels.data(), g_screenColours.data(), g_screenWidth, g_screenHeight, corner, surface->pitch, dest.w,
                     dest.h);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

// Renderer way: the screen-size texture drawn letterboxed into the back buffer.
bool DrawWithRenderer() {
    if (!g_renderer) return false;
    SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
    SDL_RenderClear(g_renderer);
    int outWidth = 0;
    int outHeight = 0;
    if (g_screenPixels.empty() || SDL_GetRendererOutputSize(g_renderer, &outWidth, &outHeight) != 0) return true;
    if (!g_texture) {
        g_texture =
            SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, g_screenWidth, g_screenHeight);
        if (!g_texture) return true;
        SDL_SetTextureBlendMode(g_texture, SDL_BLENDMODE_NONE);  // opaque: a copy, not a blend
        SDL_SetTextureScaleMode(g_texture, SDL_ScaleModeNearest);
        g_textureStale = true;
    }
    void* rows = nullptr;
    int pitch = 0;
    if (g_textureStale && SDL_LockTexture(g_texture, nullptr, &rows, &pitch) == 0) {
        SdlMagnifyScreen(g_screenPixels.data(), g_screenColours.data(), g_screenWidth, g_screenHeight,
                         static_cast<uint8_t*>(rows), pitch, g_screenWidth, g_screenHeight);
        SDL_UnlockTexture(g_texture);
        g_textureStale = false;
    }
    const PlatRect r = SdlLetterboxRect(outWidth, outHeight, g_screenWidth, g_screenHeight);
    const SDL_Rect dest{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_RenderCopy(g_renderer, g_texture, nullptr, &dest);
    return true;
}

// Draws the screen into the window's back buffer; false when there is nothing to draw with.
bool DrawScreen() {
    SDL_Window* window = SdlGameWindow();
    if (!window) return false;
    return g_drawToSurface ? DrawToSurface(window) : DrawWithRenderer();
}

void ShowDrawnScreen() {
    if (g_drawToSurface) {
        SDL_UpdateWindowSurface(SdlGameWindow());
    } else {
        SDL_RenderPresent(g_renderer);
    }
}

}  // namespace

// ---- the window's drawing -----------------------------------------------------------------------

void SdlDrawingStart(SDL_Window* window) {
    g_drawToSurface = false;
    const char* chosen = SDL_getenv("SDL_RENDER_DRIVER");
    const Uint32 format = SDL_GetWindowPixelFormat(window);
    SDL_Rect desktop{};
    if (!(chosen && *chosen) && WindowSurfaceIsNative() && SDL_BYTESPERPIXEL(format) == 4 &&
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &desktop) == 0 &&
        static_cast<int64_t>(desktop.w) * desktop.h <= SOFTWARE_DRAWING_MAX_PIXELS) {
        g_surfaceFormat = SDL_AllocFormat(format);
        g_drawToSurface = g_surfaceFormat != nullptr;
        if (g_drawToSurface) return;
    }
    g_renderer = SDL_CreateRenderer(window, -1, 0);
    if (!g_renderer) g_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!g_renderer) std::fprintf(stderr, "vorne: cannot draw into the window: %s\n", SDL_GetError());
}

void SdlDrawingEnd() {
    DestroyTexture();
    if (g_renderer) SDL_DestroyRenderer(g_renderer);
    g_renderer = nullptr;
    if (g_surfaceFormat) SDL_FreeFormat(g_surfaceFormat);
    g_surfaceFormat = nullptr;
    g_drawToSurface = false;
    g_barsDrawnOn = nullptr;
}

void SdlDrawingDeviceReset() { DestroyTexture(); }

void SdlRedraw() {
    if (DrawScreen()) ShowDrawnScreen();
}

// ---- presentation ---------------------------------------------------------------------------

void SdlMagnifyScreen(const uint8_t* screen, const uint32_t* colours, int screenWidth, int screenHeight, uint8_t* rows, int pitch,
                      int width, int height) {
    // For each output column, the screen column it shows; kept while the output width stays.
    static std::vector<int> sourceColumns;
    static int columnsFor = 0;
    if (sourceColumns.size() != static_cast<size_t>(width) || columnsFor != screenWidth) {
        sourceColumns.resize(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) {
            sourceColumns[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(x) * screenWidth / width);
        }
        columnsFor = screenWidth;
    }
    // A whole magnification (the usual case, see SdlLetterboxRect) repeats each pixel factor times.
    const int factor = width % screenWidth == 0 ? width / screenWidth : 0;
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        uint32_t* to = reinterpret_cast<uint32_t*>(rows + static_cast<size_t>(y) * pitch);
        const int sourceRow = static_cast<int>(static_cast<int64_t>(y) * screenHeight / height);
        if (sourceRow == previous) {
            std::memcpy(to, rows + static_cast<size_t>(y - 1) * pitch, static_cast<size_t>(width) * 4);
            continue;
        }
        const uint8_t* from = screen + static_cast<size_t>(sourceRow) * screenWidth;
        if (factor == 1) {
            for (int x = 0; x < width; ++x) to[x] = colours[from[x]];
        } else if (factor == 2) {
            for (int x = 0; x < screenWidth; ++x) to[2 * x] = to[2 * x + 1] = colours[from[x]];
        } else {
            for (int x = 0; x < width; ++x) to[x] = colours[from[sourceColumns[static_cast<size_t>(x)]]];
        }
        previous = sourceRow;
    }
}

PlatRect SdlLetterboxRect(int outWidth, int outHeight, int screenWidth, int screenHeight) {
    if (outWidth <= 0 || outHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) return PlatRect{};
    int width;
    int height;
    const int factor = std::min(outWidth / screenWidth, outHeight / screenHeight);
    if (factor >= 1) {
        width = screenWidth * factor;
        height = screenHeight * factor;
    } else if (static_cast<int64_t>(outWidth) * screenHeight <= static_cast<int64_t>(outHeight) * screenWidth) {
        width = outWidth;  // narrower than the screen's shape: bars above and below
        height = static_cast<int>(static_cast<int64_t>(outWidth) * screenHeight / screenWidth);
    } else {
        height = outHeight;  // wider: bars left and right
        width = static_cast<int>(static_cast<int64_t>(outHeight) * screenWidth / screenHeight);
    }
    const int left = (outWidth - width) / 2;
    const int top = (outHeight - height) / 2;
    return PlatRect{left, top, left + width, top + height};
}

void SdlPresent(const Surface* primary) {
    if (!SdlGameWindow() || !primary) return;
    const int width = PlatSurfaceWidth(primary);
    const int height = PlatSurfaceHeight(primary);
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(primary, &pitch);
    const PaletteEntry* palette = PlatGetPalette(primary);
    for (int i = 0; i < 256; ++i) {
        g_screenColours[static_cast<size_t>(i)] =
            g_drawToSurface ? SDL_MapRGB(g_surfaceFormat, palette[i].red, palette[i].green, palette[i].blue)
                            : 0xFF000000u | static_cast<uint32_t>(palette[i].red) << 16 |
                                  static_cast<uint32_t>(palette[i].green) << 8 | palette[i].blue;
    }
    g_screenPixels.resize(static_cast<size_t>(width) * height);
    g_screenWidth = width;
    g_screenHeight = height;
    for (int y = 0; y < height; ++y) {
        std::memcpy(&g_screenPixels[static_cast<size_t>(y) * width], pixels + static_cast<size_t>(y) * pitch,
                    static_cast<size_t>(width));
    }
    g_textureStale = true;
    SdlRedraw();
}

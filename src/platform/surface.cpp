// Software 8-bit surfaces shared by both back-ends. The game composes every frame in these
// buffers exactly as it would in video memory; the SDL back-end only turns the primary surface
// into a texture when it presents. Surfaces are made once at set-up, never during play.
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/platform_internal.h"
#include "platform/png_file.h"

struct Surface {
    int width = 0;
    int height = 0;
    int colourKey = -1;
    bool lost = false;
    bool locked = false;
    bool primary = false;
    std::vector<uint8_t> pixels;
    PaletteEntry palette[256] = {};
};

namespace {

constexpr int MAX_SURFACES = 16;
Surface* g_surfaces[MAX_SURFACES] = {};
Surface* g_primary = nullptr;
bool g_restoreFails = false;

Surface* NewSurface(int width, int height) {
    for (Surface*& slot : g_surfaces) {
        if (slot == nullptr) {
            slot = new Surface;
            slot->width = width;
            slot->height = height;
            slot->pixels.assign(static_cast<size_t>(width) * height, 0);
            return slot;
        }
    }
    return nullptr;
}

#if defined(__SSE2__)
// The source's pixels where they are not the key, the destination's where they are.
inline __m128i Keyed(__m128i src, __m128i dst, __m128i keys) {
    const __m128i transparent = _mm_cmpeq_epi8(src, keys);
    return _mm_or_si128(_mm_and_si128(transparent, dst), _mm_andnot_si128(transparent, src));
}

inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
// The low 8 or 4 bytes of a vector (step is a constant at every call, so the choice folds away).
inline __m128i LoadLow(const uint8_t* p, int step) {
    if (step == 8) return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}
inline void StoreLow(uint8_t* p, __m128i v, int step) {
    if (step == 8) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        return;
    }
    const int32_t w = _mm_cvtsi128_si32(v);
    std::memcpy(p, &w, 4);
}

// Rows of step to 2 x step - 1 pixels: the first and the last step of each row.
inline void CopyKeyedEnds(uint8_t* to, int toPitch, const uint8_t* from, int fromPitch, int w, int h, __m128i keys, int step) {
    for (int row = 0; row < h; ++row, to += toPitch, from += fromPitch) {
        const __m128i head = Keyed(LoadLow(from, step), LoadLow(to, step), keys);
        const __m128i tail = Keyed(LoadLow(from + w - step, step), LoadLow(to + w - step, step), keys);
        StoreLow(to, head, step);
        StoreLow(to + w - step, tail, step);
    }
}
#endif

// Copies a w x h block, leaving the destination where the source holds the key. Most sprites are
// narrow (bullets 6 and 8 pixels, digits, shots), so each row is done in whole vector steps, the
// last of which may overlap the one before: both are worked out from the destination as it was
// before either is stored, so the pixels they share get the same value twice (and no load waits
// for a store it half overlaps). The width decides the way once for the whole block.
void CopyKeyed(uint8_t* to, int toPitch, const uint8_t* from, int fromPitch, int w, int h, uint8_t key) {
    if (w <= 0) return;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    if (w >= 16) {
        for (int row = 0; row < h; ++row, to += toPitch, from += fromPitch) {
            const __m128i tail = Keyed(Load16(from + w - 16), Load16(to + w - 16), keys);
            for (int i = 0; i + 16 <= w; i += 16) Store16(to + i, Keyed(Load16(from + i), Load16(to + i), keys));
            Store16(to + w - 16, tail);
        }
    } else if (w >= 8) {
        CopyKeyedEnds(to, toPitch, from, fromPitch, w, h, keys, 8);
    } else if (w >= 4) {
        CopyKeyedEnds(to, toPitch, from, fromPitch, w, h, keys, 4);
    } else {
        // One to three pixels (the stars, the ship's shots): first, middle and last, which may be
        // the same pixel, without a branch on the pixels' values.
        const int middle = w / 2;
        for (int row = 0; row < h; ++row, to += toPitch, from += fromPitch) {
            const uint8_t first = from[0] != key ? from[0] : to[0];
            const uint8_t centre = from[middle] != key ? from[middle] : to[middle];
            const uint8_t last = from[w - 1] != key ? from[w - 1] : to[w - 1];
            to[0] = first;
            to[middle] = centre;
            to[w - 1] = last;
        }
    }
#else
    for (int row = 0; row < h; ++row, to += toPitch, from += fromPitch) {
        for (int i = 0; i < w; ++i) to[i] = from[i] != key ? from[i] : to[i];
    }
#endif
}

// Writes every pixel of a row twice: n source pixels become 2n.
void DoubleRow(uint8_t* to, const uint8_t* from, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * i), _mm_unpacklo_epi8(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * i + 16), _mm_unpackhi_epi8(v, v));
    }
#endif
    for (; i < n; ++i) {
        to[2 * i] = from[i];
        to[2 * i + 1] = from[i];
    }
}

bool RectInside(const PlatRect& r, const Surface* s) {
    return r.left >= 0 && r.top >= 0 && r.right <= s->width && r.bottom <= s->height && r.left <= r.right && r.top <= r.bottom;
}

}  // namespace

Surface* SurfacePrimary() { return g_primary; }

bool SurfaceWriteScreenPng(std::FILE* file) {
    if (!g_primary) return false;
    const PngImage image{g_primary->pixels.data(), g_primary->width, g_primary->height, g_primary->width, 1, g_primary->palette};
    return PngWrite(file, image);
}

Surface* PlatCreatePrimarySurface(int width, int height) {
    Surface* s = NewSurface(width, height);
    if (s) {
        s->primary = true;
        g_primary = s;
    }
    return s;
}

Surface* PlatCreateSurface(int width, int height) { return NewSurface(width, height); }

void PlatReleaseSurface(Surface* surface) {
    if (!surface) return;
    for (Surface*& slot : g_surfaces) {
        if (slot == surface) slot = nullptr;
    }
    if (g_primary == surface) g_primary = nullptr;
    delete surface;
}

int PlatSurfaceWidth(const Surface* surface) { return surface->width; }
int PlatSurfaceHeight(const Surface* surface) { return surface->height; }

void PlatSetColourKey(Surface* surface, int index) { surface->colourKey = index; }

bool PlatLockSurface(Surface* surface, uint8_t** bits, int* pitch) {
    if (surface->lost || surface->locked) return false;
    surface->locked = true;
    *bits = surface->pixels.data();
    *pitch = surface->width;
    return true;
}

void PlatUnlockSurface(Surface* surface) { surface->locked = false; }

void PlatSetPalette(Surface* surface, const PaletteEntry entries[256]) {
    std::memcpy(surface->palette, entries, sizeof(surface->palette));
}

const PaletteEntry* PlatGetPalette(const Surface* surface) { return surface->palette; }

const uint8_t* PlatSurfacePixels(const Surface* surface, int* pitch) {
    if (pitch) *pitch = surface->width;
    return surface->pixels.data();
}

BlitResult PlatColourFill(Surface* dst, const PlatRect* rect, int colour) {
    if (dst->lost) return BLIT_SURFACE_LOST;
    PlatRect r = rect ? *rect : PlatRect{0, 0, dst->width, dst->height};
    if (!RectInside(r, dst)) return BLIT_FAILED;
    const auto value = static_cast<uint8_t>(colour);
    for (int y = r.top; y < r.bottom; ++y) {
        std::memset(&dst->pixels[static_cast<size_t>(y) * dst->width + r.left], value, static_cast<size_t>(r.right - r.left));
    }
    return BLIT_OK;
}

BlitResult PlatBltFast(Surface* dst, int x, int y, Surface* src, const PlatRect& srcRect, bool colourKey) {
    if (dst->lost || src->lost) return BLIT_SURFACE_LOST;
    const int w = srcRect.right - srcRect.left;
    const int h = srcRect.bottom - srcRect.top;
    const PlatRect dstRect{x, y, x + w, y + h};
    if (!RectInside(srcRect, src) || !RectInside(dstRect, dst)) return BLIT_FAILED;
    const int key = colourKey ? src->colourKey : -1;
    const uint8_t* from = src->pixels.data() + static_cast<size_t>(srcRect.top) * src->width + srcRect.left;
    uint8_t* to = dst->pixels.data() + static_cast<size_t>(y) * dst->width + x;
    if (key < 0) {
        for (int row = 0; row < h; ++row, from += src->width, to += dst->width) std::memcpy(to, from, static_cast<size_t>(w));
    } else {
        CopyKeyed(to, dst->width, from, src->width, w, h, static_cast<uint8_t>(key));
    }
    return BLIT_OK;
}

BlitResult PlatBltStretch(Surface* dst, const PlatRect& dstRect, Surface* src, const PlatRect& srcRect) {
    if (dst->lost || src->lost) return BLIT_SURFACE_LOST;
    if (!RectInside(srcRect, src) || !RectInside(dstRect, dst)) return BLIT_FAILED;
    const int dw = dstRect.right - dstRect.left;
    const int dh = dstRect.bottom - dstRect.top;
    const int sw = srcRect.right - srcRect.left;
    const int sh = srcRect.bottom - srcRect.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return BLIT_OK;
    // Nearest neighbour: the source column of every destination column is worked out once, and a
    // destination row that repeats the previous source row is a plain copy of the row above.
    constexpr int MAX_WIDTH = 4096;
    if (dw > MAX_WIDTH) return BLIT_FAILED;
    int columns[MAX_WIDTH];
    for (int col = 0; col < dw; ++col) columns[col] = srcRect.left + col * sw / dw;
    int previousRow = -1;
    for (int row = 0; row < dh; ++row) {
        const int sy = srcRect.top + row * sh / dh;
        uint8_t* to = &dst->pixels[static_cast<size_t>(dstRect.top + row) * dst->width + dstRect.left];
        if (sy == previousRow) {
            std::memcpy(to, to - dst->width, static_cast<size_t>(dw));
            continue;
        }
        const uint8_t* from = &src->pixels[static_cast<size_t>(sy) * src->width];
        if (dw == 2 * sw) {
            // The usual case, the field doubled: each source pixel becomes a pair.
            DoubleRow(to, from + srcRect.left, sw);
        } else {
            for (int col = 0; col < dw; ++col) to[col] = from[columns[col]];
        }
        previousRow = sy;
    }
    return BLIT_OK;
}

bool PlatIsSurfaceLost(const Surface* surface) { return surface->lost; }

bool PlatRestoreSurface(Surface* surface) {
    if (g_restoreFails) return false;
    surface->lost = false;
    return true;
}

void PlatMarkAllSurfacesLost() {
    for (Surface* s : g_surfaces) {
        if (s) s->lost = true;
    }
}

void PlatSetRestoreFails(bool fails) { g_restoreFails = fails; }

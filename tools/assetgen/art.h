// The art toolkit shared by the painters: the palette layout, an 8-bit canvas, shape masks and
// the shader that turns a mask into a lit, outlined sprite, the two pixel fonts, and a seeded
// random generator. Every picture of the game is painted in code with these tools, so the same
// build always writes the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "video/atlas.h"

namespace art {

// ---- palette layout: fixed roles, then ramps of eight shades, dark (0) to light (7)
inline constexpr uint8_t BLACK = 0;
inline constexpr uint8_t SPACE = 1;         // 1..14: deep space blues and purples, dark to light
inline constexpr uint8_t CLEAR = 15;        // the field's clear colour, deep navy
inline constexpr uint8_t HIT_FLASH = 249;   // alarm red; shield gauge at 1
inline constexpr uint8_t GAUGE = 250;       // healthy green; shield gauge at 2 and 3
inline constexpr uint8_t BOMB_FLASH = 251;  // bright yellow; bomb flash and chain bar
inline constexpr uint8_t PLATE_DARK = 252;  // backing plates of captions and panels
inline constexpr uint8_t PLATE_EDGE = 253;  // their rim
inline constexpr uint8_t KEY = 254;         // transparent; never a visible pixel
inline constexpr uint8_t WHITE = 255;       // the big flash

inline constexpr uint8_t STEEL = 16;    // hull grey with a cool cast
inline constexpr uint8_t NAVY = 24;     // steel blue, armour plating
inline constexpr uint8_t CYAN = 32;     // the player's cyan and white
inline constexpr uint8_t RED = 40;      // enemy red-orange
inline constexpr uint8_t GREEN = 48;    // sick green
inline constexpr uint8_t VIOLET = 56;   // violet
inline constexpr uint8_t GOLD = 64;     // boss gold
inline constexpr uint8_t BONE = 72;     // boss bone
inline constexpr uint8_t FIRE = 80;     // black-red-orange-yellow-white
inline constexpr uint8_t UIGOLD = 88;   // interface gold
inline constexpr uint8_t UICYAN = 96;   // interface cyan
inline constexpr uint8_t AMBER = 104;   // the gas giant's bands
inline constexpr uint8_t ROSE = 112;    // the gas giant's shadow side
inline constexpr uint8_t REEF = 120;    // the machine reefs' teal
inline constexpr uint8_t GREY = 128;    // neutral grey to white
inline constexpr uint8_t BLOOD = 136;   // the angry dark red of the armada's core
inline constexpr uint8_t BRONZE = 144;  // copper and bronze fittings
inline constexpr uint8_t ICE = 152;     // shield bubble blue
inline constexpr uint8_t PINK = 160;    // enemy bullets: the loudest entries of the palette
inline constexpr uint8_t OLIVE = 168;   // drab armour of the vanguard
inline constexpr uint8_t NEBULA = 176;  // purple haze of the strips and the splash

// Builds the 256 colours (red, green, blue). Called by the image writer.
void BuildPalette(uint8_t rgb[256][3]);

// ---- canvas: 8-bit pixels, index 254 where nothing is painted
struct Canvas {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    Canvas() = default;
    Canvas(int width, int height, uint8_t fill = KEY) : w(width), h(height), px(static_cast<size_t>(width * height), fill) {}
    bool In(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    uint8_t Get(int x, int y) const { return In(x, y) ? px[static_cast<size_t>(y * w + x)] : KEY; }
    void Set(int x, int y, uint8_t c) {
        if (In(x, y)) px[static_cast<size_t>(y * w + x)] = c;
    }
    // Sets only where something is painted already (details on a hull).
    void SetOn(int x, int y, uint8_t c) {
        if (Get(x, y) != KEY) Set(x, y, c);
    }
};

// ---- masks: which pixels a shape covers
struct Mask {
    int w = 0, h = 0;
    std::vector<uint8_t> m;
    Mask(int width, int height) : w(width), h(height), m(static_cast<size_t>(width * height), 0) {}
    // A mask the canvas's size, for a part painted onto it.
    explicit Mask(const Canvas& c) : Mask(c.w, c.h) {}
    bool Get(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && m[static_cast<size_t>(y * w + x)]; }
    void Set(int x, int y, bool on) {
        if (x >= 0 && y >= 0 && x < w && y < h) m[static_cast<size_t>(y * w + x)] = on ? 1 : 0;
    }
};

// Shapes are tested at pixel centres; `on` false cuts the shape out instead.
void Ellipse(Mask& m, float cx, float cy, float rx, float ry, bool on = true);
void Rect(Mask& m, int x0, int y0, int x1, int y1, bool on = true);  // right and bottom exclusive
void Poly(Mask& m, std::initializer_list<float> xy, bool on = true);
void Line(Mask& m, float x0, float y0, float x1, float y1, float width, bool on = true);
// Copies the left half onto the right half, mirrored about the middle column line.
void MirrorX(Mask& m);
// Pixels of `a` that are also in `b`, and the union of the two.
Mask Intersect(const Mask& a, const Mask& b);
void Add(Mask& a, const Mask& b);

struct ShadeOptions {
    float bevel = 3.0f;   // how far in from the edge the surface keeps curving
    bool outline = true;  // darkest shade on the mask's edge
    bool dither = false;  // ordered dither between shades (large curved surfaces only)
    float gain = 1.0f;    // contrast of the light
    int lift = 0;         // shifts every shade up (+) or down (-)
    int minShade = 1, maxShade = 7;
};
// Paints the mask with the ramp, lit from the top left as if it were a raised surface.
void Shade(Canvas& c, const Mask& m, uint8_t ramp, const ShadeOptions& o = ShadeOptions{});
// Paints a mask flat with one colour (no light).
void Flat(Canvas& c, const Mask& m, uint8_t colour);
// A part made of one shape, on a mask the canvas's size: shaded as Shade does, or flat.
void ShadeEllipse(Canvas& c, float cx, float cy, float rx, float ry, uint8_t ramp, const ShadeOptions& o = ShadeOptions{});
void ShadeRect(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, const ShadeOptions& o = ShadeOptions{});
void ShadePoly(Canvas& c, std::initializer_list<float> xy, uint8_t ramp, const ShadeOptions& o = ShadeOptions{});
// The polygon and its mirror image about the canvas's middle: the symmetric hulls and plates.
void ShadeMirrored(Canvas& c, std::initializer_list<float> xy, uint8_t ramp, const ShadeOptions& o = ShadeOptions{});
void FlatEllipse(Canvas& c, float cx, float cy, float rx, float ry, uint8_t colour);
// The glint where the light from the top left catches a hull's shoulder at (x, y): the ramp's two
// lightest shades, up and to the right, on paint only.
void Glint(Canvas& c, int x, int y, uint8_t ramp);

// ---- pixel operations on a canvas
void FillRect(Canvas& c, int x0, int y0, int x1, int y1, uint8_t colour);
void DrawLine(Canvas& c, int x0, int y0, int x1, int y1, uint8_t colour, bool onlyOnPaint = false);
// A radial glow: shade hi at the centre falling to lo at radius r (ellipse rx, ry).
void Glow(Canvas& c, float cx, float cy, float rx, float ry, uint8_t ramp, int hi, int lo, bool onlyOnPaint = false);
// Draws `src` onto `dst` at (x, y), skipping index 254.
void Blit(Canvas& dst, const Canvas& src, int x, int y);
// Copies a rectangle of `src` (opaque) onto `dst` at (x, y).
void CopyRect(Canvas& dst, const Canvas& src, int sx, int sy, int w, int h, int x, int y);
// Mirrors the whole canvas left to right.
void FlipX(Canvas& c);
// Adds a one-pixel ring of `colour` around everything painted (4-neighbourhood, or 8 if `corners`).
void OuterOutline(Canvas& c, uint8_t colour, bool corners = false);
// Adds a drop shadow of `colour` at (dx, dy) behind everything painted.
void DropShadow(Canvas& c, uint8_t colour, int dx, int dy);
// Replaces every painted pixel of shade ramp r by the same shade of ramp q.
void Recolour(Canvas& c, uint8_t fromRamp, uint8_t toRamp);

// Cuts a transparent hole (where a part drawn under the picture shows) and darkens its rim.
void CutHole(Canvas& c, int x0, int y0, int x1, int y1, uint8_t rim);
// Small raised panels scattered over the painted pixels inside (x0,y0)-(x1,y1), mirrored about
// the canvas's middle when `mirror`: the greebles that give a hull its machinery.
void Greebles(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, int count, uint32_t seed, bool mirror);

// ---- fonts: a 5x7 capital font (6 px advance) and a 3x5 mini font (4 px advance)
int TextWidth(const char* text, int scaleX = 1);
// Draws text whose glyph rows take the colours rowColours[0..6] (scaled rows repeat them).
void DrawText(Canvas& c, int x, int y, const char* text, const uint8_t rowColours[7], int scaleX = 1, int scaleY = 1);
// Adds the text's pixels to a mask (for shaded large letters).
void TextMask(Mask& m, int x, int y, const char* text, int scaleX, int scaleY);
int MiniTextWidth(const char* text);
void DrawMiniText(Canvas& c, int x, int y, const char* text, uint8_t colour);
// Text with a one-pixel dark shadow below right, centred in [x0, x1).
void DrawTextShadowed(Canvas& c, int x0, int x1, int y, const char* text, const uint8_t rowColours[7], uint8_t shadow,
                      int scaleX = 1, int scaleY = 1);
// A bevelled backing plate: rim in the ramp's dark shades, light top-left edge, `fill` inside.
void Plate(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, uint8_t fill);
// Row colours running through a ramp from light (top) to darker (bottom).
void RampRows(uint8_t out[7], uint8_t ramp, int top, int bottom);

// ---- a small deterministic generator (xorshift), seeded by the painter
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 1u) {}
    uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int Range(int lo, int hi) { return hi <= lo ? lo : lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1)); }
    float Unit() { return static_cast<float>(Next() & 0xffffff) / 16777216.0f; }
};

// ---- sheets and regions
inline constexpr int SHEET_W = 320;
inline constexpr int SHEET_H = 240;
// Places a painted cell into its sheet at the region's frame position.
void PutFrame(Canvas& sheet, const char* region, int frame, const Canvas& cell);
// Paints each frame of a region: paint is handed a cell of the region's size, empty (or filled
// with `fill`), and the frame's number, and the cell is put in place.
void PaintFrames(Canvas& sheet, const char* region, void (*paint)(Canvas& cell, int frame), uint8_t fill = KEY);
// The region by name (the painters know their names; a wrong name stops the generator).
const atlas::Region& R(const char* name);

// The painters, one per family of pictures. Each writes into the sheets it owns.
void PaintHud(Canvas& b, Canvas& c);                    // art_hud.cpp: digits, labels, icons, panels, captions
void PaintShips(Canvas& b);                             // art_ships.cpp: ships, shots, units, items, bullets, stars
void PaintEnemies(Canvas& b, Canvas& c, Canvas& d);     // art_enemies.cpp: small and large enemies, mid-boss
void PaintEffects(Canvas& c);                           // art_effects.cpp: explosions and debris
void PaintBossesOneTwo(Canvas& c, Canvas& d);           // art_bosses.cpp
void PaintBossesLate(Canvas& e, Canvas& f, Canvas& g);  // art_bosses_late.cpp
void PaintScreens(Canvas& a, Canvas& c, Canvas& e, Canvas& f, Canvas& g);  // art_screens.cpp: splash, logo, story, ending
void PaintStrips(Canvas& screen);                                          // art_screens.cpp: palette.dat's 640x480 picture
}  // namespace art

#include <string>
#include <utility>

namespace art {
// art_preview.cpp: the sheets' pictures put together as the game draws them, for the contact
// sheet (name and picture).
std::vector<std::pair<std::string, Canvas>> ComposedPreviews(const Canvas sheets[7]);

}  // namespace art

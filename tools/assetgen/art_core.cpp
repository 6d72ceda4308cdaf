// The art toolkit: the palette, shape masks, the shader that lights a mask from the top left and
// outlines it with the darkest shade of its ramp, canvas operations, and the region helpers.
// Everything here is plain integer and float arithmetic in a fixed order, so it gives the same
// pixels on every run.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "art.h"

namespace art {

namespace {

struct Rgb {
    int r, g, b;
};

// Fills eight entries from `base` by interpolating through the anchor colours, dark to light.
void Ramp(uint8_t rgb[256][3], int base, std::initializer_list<Rgb> anchors, int count = 8) {
    const std::vector<Rgb> a(anchors);
    for (int i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) * static_cast<float>(a.size() - 1) / static_cast<float>(count - 1);
        const int k = std::min(static_cast<int>(t), static_cast<int>(a.size()) - 2);
        const float f = t - static_cast<float>(k);
        const Rgb& p = a[static_cast<size_t>(k)];
        const Rgb& q = a[static_cast<size_t>(k + 1)];
        rgb[base + i][0] = static_cast<uint8_t>(std::lround(p.r + (q.r - p.r) * f));
        rgb[base + i][1] = static_cast<uint8_t>(std::lround(p.g + (q.g - p.g) * f));
        rgb[base + i][2] = static_cast<uint8_t>(std::lround(p.b + (q.b - p.b) * f));
    }
}

void Entry(uint8_t rgb[256][3], int i, int r, int g, int b) {
    rgb[i][0] = static_cast<uint8_t>(r);
    rgb[i][1] = static_cast<uint8_t>(g);
    rgb[i][2] = static_cast<uint8_t>(b);
}

}  // namespace

void BuildPalette(uint8_t rgb[256][3]) {
    std::memset(rgb, 0, 256 * 3);
    Entry(rgb, BLACK, 0, 0, 0);
    Ramp(rgb, SPACE, {{4, 5, 14}, {10, 12, 34}, {22, 20, 58}, {40, 34, 86}, {66, 58, 118}}, 14);
    Entry(rgb, CLEAR, 6, 8, 26);
    Ramp(rgb, STEEL, {{18, 20, 30}, {46, 52, 68}, {88, 96, 114}, {146, 152, 166}, {206, 210, 214}, {250, 248, 236}});
    Ramp(rgb, NAVY, {{12, 16, 40}, {28, 42, 84}, {50, 78, 130}, {92, 126, 176}, {160, 190, 222}, {236, 244, 250}});
    Ramp(rgb, CYAN, {{4, 26, 52}, {8, 66, 110}, {10, 126, 176}, {40, 196, 228}, {150, 240, 250}, {255, 255, 255}});
    Ramp(rgb, RED, {{46, 6, 14}, {112, 16, 22}, {184, 40, 26}, {234, 92, 34}, {255, 168, 76}, {255, 236, 176}});
    Ramp(rgb, GREEN, {{12, 30, 14}, {30, 70, 22}, {74, 122, 28}, {136, 176, 40}, {200, 222, 84}, {246, 250, 184}});
    Ramp(rgb, VIOLET, {{26, 10, 46}, {60, 22, 96}, {104, 44, 150}, {156, 84, 196}, {214, 150, 230}, {252, 224, 250}});
    Ramp(rgb, GOLD, {{40, 22, 6}, {98, 58, 12}, {168, 108, 20}, {222, 164, 40}, {250, 216, 96}, {255, 250, 210}});
    Ramp(rgb, BONE, {{40, 30, 28}, {88, 72, 62}, {146, 126, 106}, {198, 182, 156}, {234, 224, 200}, {255, 252, 238}});
    Ramp(
        rgb, FIRE,
        {{24, 4, 6}, {96, 12, 8}, {176, 34, 8}, {232, 90, 12}, {252, 156, 24}, {255, 214, 70}, {255, 246, 170}, {255, 255, 255}});
    Ramp(rgb, UIGOLD, {{54, 30, 4}, {124, 76, 8}, {196, 136, 20}, {240, 192, 50}, {255, 230, 120}, {255, 252, 220}});
    Ramp(rgb, UICYAN, {{6, 18, 46}, {14, 56, 104}, {20, 110, 170}, {60, 176, 226}, {150, 226, 250}, {236, 252, 255}});
    Ramp(rgb, AMBER, {{34, 14, 12}, {86, 36, 22}, {148, 70, 34}, {200, 116, 54}, {232, 170, 96}, {250, 222, 168}});
    Ramp(rgb, ROSE, {{20, 8, 26}, {50, 18, 48}, {88, 34, 70}, {132, 58, 88}, {180, 98, 112}, {226, 156, 150}});
    Ramp(rgb, REEF, {{6, 28, 32}, {12, 64, 66}, {24, 112, 104}, {56, 164, 140}, {130, 214, 180}, {220, 252, 232}});
    Ramp(rgb, GREY, {{14, 14, 18}, {50, 50, 58}, {98, 98, 106}, {150, 150, 156}, {204, 204, 206}, {255, 255, 255}});
    Ramp(rgb, BLOOD, {{30, 2, 8}, {74, 6, 18}, {130, 14, 30}, {190, 30, 40}, {240, 80, 70}, {255, 170, 150}});
    Ramp(rgb, BRONZE, {{38, 18, 10}, {92, 46, 22}, {150, 84, 40}, {204, 130, 70}, {236, 184, 122}, {255, 232, 196}});
    Ramp(rgb, ICE, {{20, 34, 86}, {36, 70, 150}, {70, 120, 210}, {120, 176, 246}, {184, 222, 255}, {240, 250, 255}});
    // Bullets: hot pink to white, a colour nothing else on the field uses, so they always read.
    Ramp(rgb, PINK, {{54, 0, 36}, {128, 0, 74}, {214, 8, 120}, {255, 60, 170}, {255, 140, 214}, {255, 236, 250}});
    Ramp(rgb, OLIVE, {{26, 26, 12}, {60, 60, 28}, {104, 102, 50}, {150, 146, 82}, {198, 192, 128}, {240, 236, 190}});
    Ramp(rgb, NEBULA, {{12, 8, 26}, {28, 16, 52}, {48, 26, 78}, {74, 40, 104}, {108, 62, 132}, {150, 100, 164}});
    // Spare ramps for later art: lime, sky, lavender, rust, turquoise, sand, mauve, slate.
    Ramp(rgb, 184, {{16, 40, 8}, {60, 120, 20}, {150, 220, 60}, {240, 255, 180}});
    Ramp(rgb, 192, {{10, 30, 70}, {40, 100, 180}, {120, 190, 250}, {230, 250, 255}});
    Ramp(rgb, 200, {{30, 24, 60}, {90, 80, 160}, {170, 160, 230}, {245, 240, 255}});
    Ramp(rgb, 208, {{40, 12, 4}, {120, 50, 20}, {200, 110, 50}, {255, 210, 150}});
    Ramp(rgb, 216, {{0, 36, 40}, {0, 110, 120}, {40, 200, 200}, {200, 255, 250}});
    Ramp(rgb, 224, {{50, 40, 20}, {130, 110, 60}, {210, 190, 120}, {255, 248, 210}});
    Ramp(rgb, 232, {{40, 10, 30}, {120, 40, 90}, {200, 100, 160}, {255, 210, 240}});
    Ramp(rgb, 240, {{20, 24, 30}, {60, 70, 84}, {120, 134, 150}, {210, 220, 230}}, 9);
    Entry(rgb, HIT_FLASH, 232, 36, 44);
    Entry(rgb, GAUGE, 64, 236, 150);
    Entry(rgb, BOMB_FLASH, 255, 226, 64);
    Entry(rgb, PLATE_DARK, 10, 14, 36);
    Entry(rgb, PLATE_EDGE, 70, 96, 150);
    Entry(rgb, KEY, 255, 0, 255);
    Entry(rgb, WHITE, 255, 255, 255);
}

// ---- shapes

void Ellipse(Mask& m, float cx, float cy, float rx, float ry, bool on) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / rx;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) m.Set(x, y, on);
        }
}

void Rect(Mask& m, int x0, int y0, int x1, int y1, bool on) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) m.Set(x, y, on);
}

void Poly(Mask& m, std::initializer_list<float> xy, bool on) {
    const std::vector<float> p(xy);
    const size_t n = p.size() / 2;
    for (int y = 0; y < m.h; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        for (int x = 0; x < m.w; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            bool inside = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const float xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
            }
            if (inside) m.Set(x, y, on);
        }
    }
}

void Line(Mask& m, float x0, float y0, float x1, float y1, float width, bool on) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    const float r = width * 0.5f;
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            const float px = static_cast<float>(x) + 0.5f - x0, py = static_cast<float>(y) + 0.5f - y0;
            const float t = std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f);
            const float ex = px - t * dx, ey = py - t * dy;
            if (ex * ex + ey * ey <= r * r) m.Set(x, y, on);
        }
}

void MirrorX(Mask& m) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w / 2; ++x) m.Set(m.w - 1 - x, y, m.Get(x, y));
}

Mask Intersect(const Mask& a, const Mask& b) {
    Mask r(a.w, a.h);
    for (size_t i = 0; i < r.m.size(); ++i) r.m[i] = a.m[i] && b.m[i];
    return r;
}

void Add(Mask& a, const Mask& b) {
    for (size_t i = 0; i < a.m.size(); ++i) a.m[i] = a.m[i] || b.m[i];
}

// ---- the shader

void Shade(Canvas& c, const Mask& m, uint8_t ramp, const ShadeOptions& o) {
    // Distance of each pixel to the nearest pixel outside the mask, searched in a window.
    const int reach = static_cast<int>(std::ceil(o.bevel)) + 1;
    std::vector<float> height(static_cast<size_t>(m.w * m.h), 0.0f);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            if (!m.Get(x, y)) continue;
            float best = static_cast<float>(reach);
            for (int v = -reach; v <= reach; ++v)
                for (int u = -reach; u <= reach; ++u) {
                    const int sx = x + u, sy = y + v;
                    const bool outside = sx < 0 || sy < 0 || sx >= m.w || sy >= m.h || !m.Get(sx, sy);
                    if (outside) best = std::min(best, std::sqrt(static_cast<float>(u * u + v * v)));
                }
            const float t = std::min(best, o.bevel) / o.bevel;
            height[static_cast<size_t>(y * m.w + x)] = o.bevel * (1.0f - (1.0f - t) * (1.0f - t));
        }
    auto h = [&](int x, int y) {
        x = std::clamp(x, 0, m.w - 1);
        y = std::clamp(y, 0, m.h - 1);
        return height[static_cast<size_t>(y * m.w + x)];
    };
    static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const float lx = -0.52f, ly = -0.62f, lz = 0.58f;
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            if (!m.Get(x, y)) continue;
            const bool edge = !m.Get(x - 1, y) || !m.Get(x + 1, y) || !m.Get(x, y - 1) || !m.Get(x, y + 1);
            if (edge && o.outline) {
                c.Set(x, y, ramp);
                continue;
            }
            const float gx = (h(x + 1, y) - h(x - 1, y)) * 0.5f * o.gain;
            const float gy = (h(x, y + 1) - h(x, y - 1)) * 0.5f * o.gain;
            const float len = std::sqrt(gx * gx + gy * gy + 1.0f);
            const float light = (-gx * lx - gy * ly + lz) / len;  // normal (-gx, -gy, 1)
            float shade = 1.0f + std::clamp(light, 0.0f, 1.0f) * 5.6f + static_cast<float>(o.lift);
            if (o.dither) shade += (static_cast<float>(BAYER[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
            const int s = std::clamp(static_cast<int>(std::lround(shade)), o.minShade, o.maxShade);
            c.Set(x, y, static_cast<uint8_t>(ramp + s));
        }
}

void Flat(Canvas& c, const Mask& m, uint8_t colour) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (m.Get(x, y)) c.Set(x, y, colour);
}

void ShadeEllipse(Canvas& c, float cx, float cy, float rx, float ry, uint8_t ramp, const ShadeOptions& o) {
    Mask m(c);
    Ellipse(m, cx, cy, rx, ry);
    Shade(c, m, ramp, o);
}

void ShadeRect(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, const ShadeOptions& o) {
    Mask m(c);
    Rect(m, x0, y0, x1, y1);
    Shade(c, m, ramp, o);
}

void ShadePoly(Canvas& c, std::initializer_list<float> xy, uint8_t ramp, const ShadeOptions& o) {
    Mask m(c);
    Poly(m, xy);
    Shade(c, m, ramp, o);
}

void ShadeMirrored(Canvas& c, std::initializer_list<float> xy, uint8_t ramp, const ShadeOptions& o) {
    Mask m(c);
    Poly(m, xy);
    MirrorX(m);
    Shade(c, m, ramp, o);
}

void FlatEllipse(Canvas& c, float cx, float cy, float rx, float ry, uint8_t colour) {
    Mask m(c);
    Ellipse(m, cx, cy, rx, ry);
    Flat(c, m, colour);
}

void Glint(Canvas& c, int x, int y, uint8_t ramp) {
    c.SetOn(x, y, static_cast<uint8_t>(ramp + 7));
    c.SetOn(x + 1, y - 1, static_cast<uint8_t>(ramp + 6));
}

// ---- canvas operations

void FillRect(Canvas& c, int x0, int y0, int x1, int y1, uint8_t colour) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) c.Set(x, y, colour);
}

void DrawLine(Canvas& c, int x0, int y0, int x1, int y1, uint8_t colour, bool onlyOnPaint) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (onlyOnPaint)
            c.SetOn(x0, y0, colour);
        else
            c.Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Glow(Canvas& c, float cx, float cy, float rx, float ry, uint8_t ramp, int hi, int lo, bool onlyOnPaint) {
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / rx;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / ry;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > 1.0f) continue;
            const int s = static_cast<int>(std::lround(static_cast<float>(hi) + (static_cast<float>(lo - hi)) * d));
            if (onlyOnPaint && c.Get(x, y) == KEY) continue;
            c.Set(x, y, static_cast<uint8_t>(ramp + s));
        }
}

void Blit(Canvas& dst, const Canvas& src, int x, int y) {
    for (int v = 0; v < src.h; ++v)
        for (int u = 0; u < src.w; ++u) {
            const uint8_t p = src.Get(u, v);
            if (p != KEY) dst.Set(x + u, y + v, p);
        }
}

void CopyRect(Canvas& dst, const Canvas& src, int sx, int sy, int w, int h, int x, int y) {
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) dst.Set(x + u, y + v, src.Get(sx + u, sy + v));
}

void FlipX(Canvas& c) {
    for (int y = 0; y < c.h; ++y) std::reverse(c.px.begin() + y * c.w, c.px.begin() + (y + 1) * c.w);
}

void OuterOutline(Canvas& c, uint8_t colour, bool corners) {
    Canvas copy = c;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            if (copy.Get(x, y) != KEY) continue;
            bool near =
                copy.Get(x - 1, y) != KEY || copy.Get(x + 1, y) != KEY || copy.Get(x, y - 1) != KEY || copy.Get(x, y + 1) != KEY;
            if (corners)
                near = near || copy.Get(x - 1, y - 1) != KEY || copy.Get(x + 1, y - 1) != KEY || copy.Get(x - 1, y + 1) != KEY ||
                       copy.Get(x + 1, y + 1) != KEY;
            if (near) c.Set(x, y, colour);
        }
}

void DropShadow(Canvas& c, uint8_t colour, int dx, int dy) {
    Canvas copy = c;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if (copy.Get(x, y) == KEY && copy.Get(x - dx, y - dy) != KEY) c.Set(x, y, colour);
}

void Recolour(Canvas& c, uint8_t fromRamp, uint8_t toRamp) {
    for (uint8_t& p : c.px)
        if (p >= fromRamp && p < fromRamp + 8) p = static_cast<uint8_t>(toRamp + (p - fromRamp));
}

void CutHole(Canvas& c, int x0, int y0, int x1, int y1, uint8_t rim) {
    for (int y = y0 - 1; y <= y1; ++y)
        for (int x = x0 - 1; x <= x1; ++x)
            if (x < x0 || y < y0 || x >= x1 || y >= y1) c.SetOn(x, y, rim);
    FillRect(c, x0, y0, x1, y1, KEY);
}

void Greebles(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, int count, uint32_t seed, bool mirror) {
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        const int w = rng.Range(2, 6), h = rng.Range(2, 5);
        const int x = rng.Range(x0, x1 - w), y = rng.Range(y0, y1 - h);
        const int kind = rng.Range(0, 3);
        for (int pass = 0; pass < (mirror ? 2 : 1); ++pass) {
            bool inside = true;
            for (int v = -1; v <= h && inside; ++v)
                for (int u = -1; u <= w && inside; ++u) {
                    const int px = pass ? c.w - 1 - (x + u) : x + u;
                    if (c.Get(px, y + v) == KEY || c.Get(px, y + v) < ramp || c.Get(px, y + v) >= ramp + 8) inside = false;
                }
            if (!inside) continue;
            for (int v = 0; v < h; ++v)
                for (int u = 0; u < w; ++u) {
                    const int px = pass ? c.w - 1 - (x + u) : x + u;
                    uint8_t p = c.Get(px, y + v);
                    const int shade = p - ramp;
                    int s = shade;
                    if (kind == 0)
                        s = (v == 0 || u == (pass ? w - 1 : 0)) ? shade + 2 : (v == h - 1 ? shade - 2 : shade);
                    else if (kind == 1)
                        s = (v == 0) ? shade - 2 : (v == h - 1 ? shade + 1 : shade - 1);
                    else if (kind == 2)
                        s = ((u + v) % 2 == 0) ? shade - 1 : shade;
                    else
                        s = (v == h / 2) ? shade - 2 : shade;
                    p = static_cast<uint8_t>(ramp + std::clamp(s, 1, 7));
                    c.Set(px, y + v, p);
                }
        }
    }
}

// ---- regions

const atlas::Region& R(const char* name) {
    const atlas::Region* r = atlas::FindRegion(name);
    if (!r) {
        std::fprintf(stderr, "assetgen: no atlas region named %s\n", name);
        std::abort();
    }
    return *r;
}

void PutFrame(Canvas& sheet, const char* region, int frame, const Canvas& cell) {
    const atlas::Region& r = R(region);
    CopyRect(sheet, cell, 0, 0, std::min(cell.w, r.w), std::min(cell.h, r.h), r.x + frame * r.dx, r.y + frame * r.dy);
}

void PaintFrames(Canvas& sheet, const char* region, void (*paint)(Canvas& cell, int frame), uint8_t fill) {
    const atlas::Region& r = R(region);
    for (int f = 0; f < r.frames; ++f) {
        Canvas cell(r.w, r.h, fill);
        paint(cell, f);
        PutFrame(sheet, region, f, cell);
    }
}

}  // namespace art

// Explosions and debris: eight 40x40 cells of a fireball that flashes, swells, breaks into
// smoke and fades, and eight 20x20 cells of burning hull fragments that tumble apart and cool.
// Both are shaped by a seeded lattice noise so the edges billow instead of being round.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

float Hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffff) / 65535.0f;
}

// Smooth value noise in [0, 1] with lattice spacing `cell`.
float Noise(float x, float y, float cell, uint32_t seed) {
    const float fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = fx - static_cast<float>(ix), ty = fy - static_cast<float>(iy);
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    const float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

Canvas Explosion(int cell) {
    static const float RADIUS[8] = {7, 12, 15.5f, 17.5f, 18.5f, 19, 19.5f, 19.5f};
    static const float HEAT[8] = {1.5f, 1.35f, 1.15f, 0.95f, 0.72f, 0.5f, 0.32f, 0.18f};
    static const float HOLES[8] = {0, 0, 0, 0.05f, 0.2f, 0.34f, 0.46f, 0.58f};
    Canvas c(40, 40);
    const float r = RADIUS[cell];
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const float px = static_cast<float>(x) + 0.5f - 20, py = static_cast<float>(y) + 0.5f - 20;
            const float d = std::sqrt(px * px + py * py);
            const float n = Noise(static_cast<float>(x), static_cast<float>(y), 5.0f, 7) * 0.6f +
                            Noise(static_cast<float>(x), static_cast<float>(y), 2.5f, 11 + static_cast<uint32_t>(cell)) * 0.4f;
            const float edge = r * (0.72f + 0.45f * n);
            if (d > edge) continue;
            // Later cells burn out from the middle: smoke with growing holes.
            if (n < HOLES[cell] + (cell >= 4 ? (1.0f - d / edge) * 0.25f : 0.0f)) continue;
            float heat = (1.0f - d / edge) * HEAT[cell] + (n - 0.5f) * 0.5f + HEAT[cell] * 0.25f;
            if (cell == 0) heat += 0.4f;
            uint8_t p;
            if (heat > 1.05f)
                p = WHITE;
            else if (heat > 0.9f)
                p = FIRE + 6;
            else if (heat > 0.72f)
                p = FIRE + 5;
            else if (heat > 0.55f)
                p = FIRE + 4;
            else if (heat > 0.4f)
                p = FIRE + 3;
            else if (heat > 0.27f)
                p = FIRE + 2;
            else if (heat > 0.15f)
                p = cell >= 4 ? GREY + 2 : FIRE + 1;
            else
                p = cell >= 3 ? GREY + 1 : FIRE + 1;
            // Smoke picks up light from the top left.
            if (cell >= 4 && heat <= 0.27f && px + py < -6 && n > 0.55f) p = GREY + 3;
            c.Set(x, y, p);
        }
    // Flying sparks beyond the ball in the middle cells.
    Rng rng(101 + static_cast<uint32_t>(cell));
    if (cell >= 1 && cell <= 5)
        for (int k = 0; k < 10; ++k) {
            const float a = rng.Unit() * 6.2832f;
            const float rr = r * (0.9f + 0.3f * rng.Unit());
            const int sx = 20 + static_cast<int>(std::cos(a) * rr), sy = 20 + static_cast<int>(std::sin(a) * rr);
            if (c.Get(sx, sy) == KEY) c.Set(sx, sy, cell < 4 ? FIRE + 6 : FIRE + 4);
        }
    return c;
}

// Debris: four fragments flying apart from the middle, turning, cooling from hot to grey.
Canvas Debris(int cell) {
    Canvas c(20, 20);
    static const float DIR[4][2] = {{-1, -0.8f}, {1, -0.5f}, {-0.6f, 1}, {0.9f, 0.9f}};
    const float t = static_cast<float>(cell);
    for (int k = 0; k < 4; ++k) {
        const float cx = 10 + DIR[k][0] * (1.0f + t * 0.8f), cy = 10 + DIR[k][1] * (1.0f + t * 0.8f);
        const float a = t * 0.7f + static_cast<float>(k) * 1.3f;
        const float s = k < 2 ? 5.0f : 4.0f;
        const float ca = std::cos(a), sa = std::sin(a);
        Mask m(c);
        Poly(m, {cx + ca * s, cy + sa * s, cx - sa * s * 0.7f, cy + ca * s * 0.7f, cx - ca * s * 0.8f, cy - sa * s * 0.8f,
                 cx + sa * s * 0.5f, cy - ca * s * 0.5f});
        if (cell < 3) {
            Shade(c, m, FIRE, ShadeOptions{1.5f, true, false, 1.0f, 1 - cell});
        } else {
            Shade(c, m, STEEL, ShadeOptions{1.5f, true, false, 1.0f, cell >= 6 ? -2 : 0});
        }
        // A glint on each cooling fragment keeps it reading as metal to the last cell.
        if (cell >= 3) c.SetOn(static_cast<int>(cx + ca), static_cast<int>(cy + sa), cell >= 6 ? STEEL + 4 : STEEL + 6);
        // A short burning trail behind each fragment, fading with the cells.
        if (cell < 6)
            for (int i = 1; i <= 2; ++i) {
                const int tx = static_cast<int>(cx - DIR[k][0] * static_cast<float>(i) * 1.6f);
                const int ty = static_cast<int>(cy - DIR[k][1] * static_cast<float>(i) * 1.6f);
                if (c.Get(tx, ty) == KEY) c.Set(tx, ty, static_cast<uint8_t>(FIRE + std::max(1, 6 - cell - i)));
            }
    }
    if (cell == 0) Glow(c, 10, 10, 4, 4, FIRE, 7, 4);
    return c;
}

}  // namespace

void PaintEffects(Canvas& c) {
    for (int i = 0; i < 8; ++i) {
        PutFrame(c, "explosion", i, Explosion(i));
        PutFrame(c, "debris", i, Debris(i));
    }
}

}  // namespace art

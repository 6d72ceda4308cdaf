// The player's side: the two interceptors with their engine flicker and shielded variants, the
// selection cursor, the shots, the bomb units, the items, the stars and the enemy bullets (the
// bullets live here because they share the small-sprite tools; they are the loudest pink of the
// palette with a dark rim so they read against everything).
#include <cmath>

#include "art.h"

namespace art {

namespace {

// Ship A: a slim dart with swept wings and twin engines; light steel-blue hull, cyan canopy.
Canvas ShipAHull() {
    Canvas c(24, 24);
    Mask hull(c);
    Poly(hull, {12, 0, 9.6f, 5, 9, 12, 9, 19, 12, 19});
    Poly(hull, {10, 8, 1.5f, 15.5f, 1, 19, 4.5f, 19, 10, 16.5f});
    Rect(hull, 1, 12, 3, 20);
    Ellipse(hull, 8.3f, 17.2f, 2.2f, 3.6f);
    MirrorX(hull);
    Shade(c, hull, NAVY, ShadeOptions{2.5f});
    // Canopy over the hit point's column, wing stripes and gun tips.
    ShadeEllipse(c, 12, 9.5f, 1.6f, 3.4f, CYAN, ShadeOptions{1.5f, true, false, 1.0f, 1});
    for (int i = 0; i < 5; ++i) {
        c.SetOn(8 - i, 12 + i, CYAN + 5);
        c.SetOn(15 + i, 12 + i, CYAN + 4);
    }
    c.SetOn(1, 12, GREY + 7);
    c.SetOn(22, 12, GREY + 6);
    c.SetOn(11, 15, NAVY + 5);
    c.SetOn(12, 15, NAVY + 3);
    return c;
}

// Ship B: a broad gunship with forward gun pods on its wing tips that fire the wide plasma;
// steel hull, navy inner wings, gold trim, ice-blue muzzles.
Canvas ShipBHull() {
    Canvas c(24, 24);
    Mask hull(c);
    Ellipse(hull, 12, 11.5f, 4.2f, 9.5f);
    Poly(hull, {9, 10, 3, 12, 1, 18, 4, 20.5f, 9, 17.5f});
    Ellipse(hull, 8.5f, 19, 2.4f, 3);
    MirrorX(hull);
    Shade(c, hull, STEEL, ShadeOptions{3.0f});
    ShadeMirrored(c, {8.5f, 12, 4, 13.5f, 3, 17, 8.5f, 15.5f}, NAVY, ShadeOptions{1.0f, false, false, 1.0f, -1});
    // Gun pods reaching forward from the wing tips.
    Mask pods(c);
    Rect(pods, 1, 4, 5, 19);
    Rect(pods, 19, 4, 23, 19);
    Shade(c, pods, STEEL, ShadeOptions{1.5f, true, false, 1.0f, 1});
    for (int y = 8; y < 17; ++y) c.SetOn(2, y, UIGOLD + 4), c.SetOn(21, y, UIGOLD + 3);
    c.Set(2, 4, ICE + 7), c.Set(3, 4, ICE + 5), c.Set(20, 4, ICE + 5), c.Set(21, 4, ICE + 7);
    c.Set(2, 3, ICE + 4), c.Set(21, 3, ICE + 4);
    ShadeEllipse(c, 12, 7.5f, 2.2f, 3.2f, CYAN, ShadeOptions{1.5f, true, false, 1.0f, 1});
    for (int x = 9; x < 15; ++x) c.SetOn(x, 14, UIGOLD + (x < 12 ? 5 : 4));
    return c;
}

// Engine flame below each nozzle: its length flickers over the four frames.
void Flame(Canvas& c, int x, int top, int frame, uint8_t ramp) {
    static const int LENGTH[4] = {3, 4, 2, 4};
    const int len = LENGTH[frame];
    for (int i = 0; i < len && top + i < 24; ++i) {
        const int s = 7 - i * 6 / len;
        if (c.Get(x, top + i) == KEY || i > 0) c.Set(x, top + i, static_cast<uint8_t>(ramp + s));
        if (i < len - 1) {
            c.Set(x - 1, top + i, static_cast<uint8_t>(ramp + s - 2));
            c.Set(x + 1, top + i, static_cast<uint8_t>(ramp + s - 2));
        }
    }
}

// The shielded look: a broken bubble turning round the ship, over a hull that blinks pale.
Canvas Shielded(const Canvas& ship, int frame) {
    Canvas c = ship;
    if (frame % 2 == 0) {
        Recolour(c, NAVY, ICE);
        Recolour(c, STEEL, ICE);
    }
    const float turn = static_cast<float>(frame) * 0.785f;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - 12.0f, dy = static_cast<float>(y) + 0.5f - 12.0f;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 10.6f || d > 12.0f || ship.Get(x, y) != KEY) continue;
            const float a = std::atan2(dy, dx) + turn;
            const float wave = std::sin(a * 3.0f);
            if (wave > -0.2f) c.Set(x, y, static_cast<uint8_t>(ICE + (wave > 0.6f ? 7 : 5)));
        }
    return c;
}

void PaintShip(Canvas& b, const char* normal, const char* shielded, const Canvas& hull, const int* nozzles, int nozzleTop,
               uint8_t flameRamp) {
    for (int f = 0; f < 4; ++f) {
        Canvas c = hull;
        for (int k = 0; k < 2; ++k) Flame(c, nozzles[k], nozzleTop, f, flameRamp);
        PutFrame(b, normal, f, c);
        PutFrame(b, shielded, f, Shielded(c, f));
    }
}

void PaintCursor(Canvas& b) {
    Canvas c(24, 24);
    for (int k = 0; k < 2; ++k) {
        const uint8_t colour = k == 0 ? UIGOLD + 6 : UIGOLD + 3;
        for (int i = 0; i < 6; ++i) {
            const int o = k;
            c.Set(i, o, colour), c.Set(o, i, colour);
            c.Set(23 - i, o, colour), c.Set(23 - o, i, colour);
            c.Set(i, 23 - o, colour), c.Set(o, 23 - i, colour);
            c.Set(23 - i, 23 - o, colour), c.Set(23 - o, 23 - i, colour);
        }
    }
    PutFrame(b, "selectCursor", 0, c);
}

// A bolt of light along a segment: bright core fading to the ramp's darker shades at radius r.
Canvas Bolt(int w, int h, float x0, float y0, float x1, float y1, float r, uint8_t ramp) {
    Canvas c(w, h);
    const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = static_cast<float>(x) + 0.5f - x0, py = static_cast<float>(y) + 0.5f - y0;
            const float t = std::fmax(0.0f, std::fmin(1.0f, (px * dx + py * dy) / len2));
            const float ex = px - t * dx, ey = py - t * dy;
            const float d = std::sqrt(ex * ex + ey * ey) / r;
            if (d > 1.0f) continue;
            c.Set(x, y, static_cast<uint8_t>(ramp + 7 - static_cast<int>(d * 5.5f)));
        }
    return c;
}

void PaintShots(Canvas& b) {
    Canvas a(3, 24);
    for (int y = 0; y < 24; ++y) {
        const bool tip = y < 2 || y > 21;
        a.Set(1, y, tip ? CYAN + 5 : (y < 12 ? WHITE : CYAN + 6));
        if (!tip) {
            a.Set(0, y, CYAN + (y < 12 ? 4 : 3));
            a.Set(2, y, CYAN + (y < 12 ? 4 : 3));
        }
    }
    PutFrame(b, "shotA", 0, a);
    PutFrame(b, "shotB", 0, Bolt(8, 16, 4, 3.5f, 4, 12.5f, 3.6f, ICE));
    PutFrame(b, "shotBLeft", 0, Bolt(8, 16, 2.8f, 3.5f, 5.2f, 12.5f, 3.4f, ICE));
    PutFrame(b, "shotBRight", 0, Bolt(8, 16, 5.2f, 3.5f, 2.8f, 12.5f, 3.4f, ICE));
}

// Enemy bullets: a dark rim, a hot pink body and a white core.
Canvas Orb(int size, uint8_t rimRamp, uint8_t bodyRamp) {
    Canvas c(size, size);
    const float r = static_cast<float>(size) / 2.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - r, dy = static_cast<float>(y) + 0.5f - r;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > r + 0.3f) continue;
            uint8_t p = static_cast<uint8_t>(bodyRamp + 3);
            if (d > r - 1.0f)
                p = rimRamp;
            else if (d < r * 0.45f)
                p = WHITE;
            else if (d < r * 0.75f)
                p = static_cast<uint8_t>(bodyRamp + 5);
            c.Set(x, y, p);
        }
    return c;
}

void PaintBullets(Canvas& b) {
    PutFrame(b, "smallBullet", 0, Orb(6, PINK + 0, PINK));
    Canvas large = Orb(8, PINK + 0, PINK);
    large.Set(2, 2, PINK + 7);
    PutFrame(b, "largeBullet", 0, large);
    // The final boss's bullets: a four-pointed spark with a violet rim, still pink and white.
    Canvas alt(8, 8);
    Mask star(alt);
    Poly(star, {4, 0, 5.2f, 2.8f, 8, 4, 5.2f, 5.2f, 4, 8, 2.8f, 5.2f, 0, 4, 2.8f, 2.8f});
    Ellipse(star, 4, 4, 2.4f, 2.4f);
    Flat(alt, star, PINK + 4);
    OuterOutline(alt, VIOLET + 0);
    Canvas trimmed(8, 8);
    CopyRect(trimmed, alt, 0, 0, 8, 8, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool rim = !star.Get(x, y);
            if (!rim && (!star.Get(x - 1, y) || !star.Get(x + 1, y) || !star.Get(x, y - 1) || !star.Get(x, y + 1)))
                trimmed.Set(x, y, VIOLET + 1);
        }
    FillRect(trimmed, 3, 3, 5, 5, WHITE);
    trimmed.Set(4, 2, PINK + 6), trimmed.Set(2, 4, PINK + 6), trimmed.Set(5, 4, PINK + 6), trimmed.Set(4, 5, PINK + 6);
    PutFrame(b, "largeBulletAlt", 0, trimmed);
}

void PaintStar(Canvas& b) {
    // No transparent pixels: the star cell looks the same drawn with or without the key.
    Canvas s(3, 5, CLEAR);
    s.Set(1, 0, WHITE);
    s.Set(0, 0, UICYAN + 4);
    s.Set(0, 1, UICYAN + 3);
    s.Set(1, 1, GREY + 6);
    s.Set(2, 0, UICYAN + 3);
    s.Set(1, 2, UICYAN + 4);
    s.Set(1, 3, UICYAN + 2);
    s.Set(1, 4, SPACE + 4);
    PutFrame(b, "star", 0, s);
}

// Bomb units, also the spare-life icons: small escorts in each ship's colours.
void PaintUnits(Canvas& b) {
    Canvas a(16, 16);
    Mask m(a);
    Poly(m, {8, 0.5f, 6.4f, 4, 6, 12, 8, 13});
    Poly(m, {7, 6, 1, 11, 1, 13.5f, 7, 12});
    MirrorX(m);
    Shade(a, m, NAVY, ShadeOptions{2.0f});
    ShadeEllipse(a, 8, 6, 1.2f, 2.2f, CYAN, ShadeOptions{1.0f, false, false, 1.0f, 2});
    a.Set(7, 13, CYAN + 6), a.Set(8, 13, CYAN + 6), a.Set(7, 14, CYAN + 4), a.Set(8, 14, CYAN + 4);
    a.SetOn(2, 11, CYAN + 5), a.SetOn(13, 11, CYAN + 5);
    PutFrame(b, "unitA", 0, a);

    Canvas u(16, 16);
    Mask n(u);
    Ellipse(n, 8, 7.5f, 3.2f, 6.5f);
    Poly(n, {6, 5, 0.5f, 8, 0.5f, 13, 6, 12});
    MirrorX(n);
    Shade(u, n, STEEL, ShadeOptions{2.0f});
    ShadeEllipse(u, 8, 5.5f, 1.5f, 2.2f, CYAN, ShadeOptions{1.0f, false, false, 1.0f, 2});
    for (int y = 8; y < 12; ++y) u.SetOn(1, y, UIGOLD + 5), u.SetOn(14, y, UIGOLD + 4);
    u.Set(7, 14, UIGOLD + 6), u.Set(8, 14, UIGOLD + 6);
    PutFrame(b, "unitB", 0, u);
}

// Items: rounded capsules with a mark; the bomb icon doubles as the HUD's bomb stock.
Canvas Capsule(uint8_t ramp, const char* mark, bool mini) {
    Canvas c(16, 16);
    ShadeEllipse(c, 8, 8, 7.6f, 7.6f, ramp, ShadeOptions{4.0f, true, false, 1.2f});
    if (mini) {
        const int w = MiniTextWidth(mark);
        DrawMiniText(c, (16 - w) / 2 + 1, 6, mark, ramp + 0);
        DrawMiniText(c, (16 - w) / 2, 5, mark, WHITE);
    } else {
        const uint8_t shadow[7] = {static_cast<uint8_t>(ramp), static_cast<uint8_t>(ramp), static_cast<uint8_t>(ramp),
                                   static_cast<uint8_t>(ramp), static_cast<uint8_t>(ramp), static_cast<uint8_t>(ramp),
                                   static_cast<uint8_t>(ramp)};
        const uint8_t white[7] = {WHITE, WHITE, WHITE, GREY + 7, GREY + 6, GREY + 6, GREY + 5};
        DrawText(c, 6, 5, mark, shadow);
        DrawText(c, 5, 4, mark, white);
    }
    c.Set(4, 3, WHITE), c.Set(5, 3, static_cast<uint8_t>(ramp + 7)), c.Set(3, 4, static_cast<uint8_t>(ramp + 7));
    return c;
}

void PaintItems(Canvas& b) {
    PutFrame(b, "bombIcon", 0, Capsule(RED, "B", false));
    PutFrame(b, "lifeItem", 0, Capsule(GREEN, "1UP", true));
    PutFrame(b, "shieldItem", 0, Capsule(ICE, "S", false));
}

}  // namespace

void PaintShips(Canvas& b) {
    static const int NOZZLES_A[2] = {8, 15};
    static const int NOZZLES_B[2] = {8, 15};
    PaintShip(b, "shipA", "shipAInvulnerable", ShipAHull(), NOZZLES_A, 21, CYAN);
    PaintShip(b, "shipB", "shipBInvulnerable", ShipBHull(), NOZZLES_B, 22, UIGOLD);
    PaintCursor(b);
    PaintShots(b);
    PaintBullets(b);
    PaintStar(b);
    PaintUnits(b);
    PaintItems(b);
}

}  // namespace art

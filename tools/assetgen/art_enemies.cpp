// The armada's rank and file: the three rows of small enemies (two frames each), the large
// enemy shared by gunships, cruisers and frigates (four frames), and the recurring mid-boss
// (three frames). Everything faces down, towards the player; engines glow at the top, guns
// point down, and the frames change lights, vents and flames while the silhouette stays put.
#include <cmath>

#include "art.h"

namespace art {

namespace {

// Row 1: a red drone with a single eye and two pincers; the eye sweeps and the pincers breathe.
void Drone(Canvas& c, int frame) {
    Mask body(c);
    Ellipse(body, 12, 10, 8, 7);
    // Pincers open wide in frame 0 and snap inwards in frame 1.
    if (frame == 0)
        Poly(body, {5, 11, 1.5f, 18, 3.5f, 22.5f, 7.5f, 15});
    else
        Poly(body, {5, 11, 4, 18, 8, 22.5f, 8.5f, 15});
    Rect(body, 10, 1, 12, 4);
    MirrorX(body);
    Shade(c, body, RED, ShadeOptions{3.0f});
    ShadeEllipse(c, 12, 12, 3.6f, 3.2f, STEEL, ShadeOptions{1.5f});
    const int ex = frame == 0 ? 10 : 13;
    FillRect(c, ex, 11, ex + 1, 14, PINK + 6);
    c.Set(ex, 12, WHITE);
    c.Set(11, 1, frame ? FIRE + 6 : FIRE + 4), c.Set(12, 1, frame ? FIRE + 6 : FIRE + 4);
    Glint(c, 7, 6, RED);
}

// Row 2: a green wing-fighter with swept wings; the wings flex and the twin exhausts pulse.
void Swooper(Canvas& c, int frame) {
    Mask body(c);
    Poly(body, {12, 23, 9.5f, 17, 9.5f, 3, 12, 1});
    // The wings beat: raised and spread in frame 0, swept down and in during frame 1.
    const float tip = frame == 0 ? 0.5f : 2.5f;
    const float tipY = frame == 0 ? 2.0f : 6.0f;
    Poly(body, {10, 6, tip, tipY, tip + 1, tipY + 6, 4, 16, 10, 15});
    MirrorX(body);
    Shade(c, body, GREEN, ShadeOptions{2.5f});
    ShadeEllipse(c, 12, 15, 1.4f, 3.0f, RED, ShadeOptions{1.0f, true, false, 1.0f, 2});
    for (int i = 0; i < 4; ++i)
        c.SetOn(4 + i, 8 + i / 2 + frame, GREEN + 7 - i / 2), c.SetOn(19 - i, 8 + i / 2 + frame, GREEN + 6 - i / 2);
    const uint8_t flame = frame ? FIRE + 6 : FIRE + 5;
    c.Set(10, 0, flame), c.Set(13, 0, flame);
    c.SetOn(10, 1, FIRE + 4), c.SetOn(13, 1, FIRE + 4);
}

// Row 3: a violet gun pod, hexagonal armour round a downward barrel; its vents rotate.
void GunPod(Canvas& c, int frame) {
    ShadePoly(c, {12, 1, 20.5f, 6, 20.5f, 16, 12, 21, 3.5f, 16, 3.5f, 6}, VIOLET, ShadeOptions{3.5f});
    ShadeRect(c, 10, 14, 14, 24, STEEL, ShadeOptions{1.5f});
    ShadeEllipse(c, 12, 10, 4, 4, STEEL, ShadeOptions{2.0f, true, false, 1.0f, -1});
    for (int k = 0; k < 4; ++k) {
        const float a = static_cast<float>(k) * 1.5708f + static_cast<float>(frame) * 0.785f;
        const int x = 12 + static_cast<int>(std::lround(std::cos(a) * 2.6f)) - (std::cos(a) < -0.1f ? 1 : 0);
        const int y = 10 + static_cast<int>(std::lround(std::sin(a) * 2.6f)) - (std::sin(a) < -0.1f ? 1 : 0);
        c.Set(x, y, PINK + 5);
    }
    // The core charges: dim in frame 0, blazing in frame 1.
    if (frame == 1)
        Glow(c, 12, 10, 2.6f, 2.6f, PINK, 7, 4, true);
    else
        c.Set(11, 9, PINK + 5), c.Set(12, 9, PINK + 4), c.Set(11, 10, PINK + 4), c.Set(12, 10, PINK + 3);
    c.Set(11, 23, frame ? FIRE + 6 : FIRE + 3), c.Set(12, 23, frame ? FIRE + 6 : FIRE + 3);
    Glint(c, 6, 6, VIOLET);
}

// The large enemy: an armoured olive gunship with two engines aft (top), a bridge and twin guns
// at the bow (bottom); engine flames flicker, the running lights chase and the radar turns.
void Gunship(Canvas& c, int frame) {
    Mask hull(c);
    Poly(hull, {24, 46, 17, 38, 13, 20, 14, 6, 24, 4});
    Poly(hull, {15, 14, 3, 22, 2, 32, 8, 34, 16, 30});
    Ellipse(hull, 16, 8, 4.5f, 6);
    MirrorX(hull);
    Shade(c, hull, OLIVE, ShadeOptions{4.0f});
    ShadeMirrored(c, {24, 40, 19, 33, 18, 18, 24, 15}, STEEL, ShadeOptions{2.5f});
    ShadeEllipse(c, 24, 22, 3.5f, 4.5f, RED, ShadeOptions{1.5f});
    FillRect(c, 23, 20, 25, 22, RED + 7);
    for (int y = 36; y < 46; ++y) c.SetOn(20, y, STEEL + 2), c.SetOn(27, y, STEEL + 2);
    FillRect(c, 20, 44, 22, 48, STEEL + 4);
    FillRect(c, 26, 44, 28, 48, STEEL + 4);
    c.Set(20, 47, STEEL + 6), c.Set(27, 47, STEEL + 6);
    Greebles(c, 2, 6, 24, 44, OLIVE, 14, 501, true);
    // Panel lines on the wings.
    for (int i = 0; i < 9; ++i) c.SetOn(5 + i, 27 - i / 2, OLIVE + 1), c.SetOn(42 - i, 27 - i / 2, OLIVE + 1);
    // Engines: nozzles at the top with a flickering flame.
    static const int FLAME[4] = {2, 4, 3, 4};
    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 16 : 31;
        Glow(c, static_cast<float>(x), 4.5f, 3.0f, 2.0f, FIRE, 5, 3, true);
        for (int i = 0; i < FLAME[frame]; ++i) {
            c.Set(x - 1, 1 - i + 1, FIRE + 6 - i);
            c.Set(x, 1 - i + 1, FIRE + 7 - i);
        }
    }
    // Running lights chase along the wing tips.
    const int lit = frame % 2;
    c.SetOn(4, 30, lit ? PINK + 6 : RED + 2);
    c.SetOn(43, 30, lit ? RED + 2 : PINK + 6);
    // Radar dish on the spine turns through four positions.
    static const int DX[4] = {-2, 0, 2, 0};
    const int rx = 24 + DX[frame];
    DrawLine(c, 24, 12, rx, 9, STEEL + 6, true);
    c.SetOn(rx, 9, WHITE);
    Glint(c, 15, 17, OLIVE);
}

// The recurring mid-boss: a wide bronze flying wing with two turrets and a centre gun.
void MidBoss(Canvas& c, int frame) {
    Mask hull(c);
    Poly(hull, {48, 46, 34, 40, 4, 30, 1, 20, 10, 12, 30, 6, 40, 2, 48, 2});
    MirrorX(hull);
    Poly(hull, {8, 30, 8, 38, 14, 38, 18, 32}, true);
    Poly(hull, {88, 30, 88, 38, 82, 38, 78, 32}, true);
    Shade(c, hull, BRONZE, ShadeOptions{5.0f});
    Greebles(c, 2, 8, 48, 44, BRONZE, 40, 601, true);
    for (int i = 0; i < 26; ++i) c.SetOn(8 + i, 28 - i / 5, BRONZE + 6), c.SetOn(87 - i, 28 - i / 5, BRONZE + 3);
    ShadeMirrored(c, {48, 40, 38, 34, 36, 14, 48, 8}, STEEL, ShadeOptions{3.0f});
    // Turrets at (22,29) and (68,29), the centre gun at (45,21).
    for (int k = 0; k < 2; ++k) {
        const float tx = k == 0 ? 22.5f : 68.5f;
        ShadeEllipse(c, tx, 28, 5, 5, STEEL, ShadeOptions{2.5f, true, false, 1.0f, -1});
        FillRect(c, static_cast<int>(tx) - 1, 30, static_cast<int>(tx) + 1, 37, STEEL + 1);
        FillRect(c, static_cast<int>(tx) - 1, 30, static_cast<int>(tx), 37, STEEL + 4);
        c.Set(static_cast<int>(tx) - 1, 27, (frame == k + 1) ? PINK + 7 : RED + 4);
    }
    ShadeEllipse(c, 46, 21, 4.5f, 4.5f, RED, ShadeOptions{2.0f});
    Glow(c, 46, 21, 2.5f, 2.5f, PINK, 7, 4 + frame, true);
    // Engine row along the trailing edge (top), pulsing over three frames.
    for (int k = 0; k < 4; ++k) {
        const int x = 20 + k * 8 + (k >= 2 ? 16 : 0);
        const int glow = 4 + (frame + k) % 3;
        c.SetOn(x, 8 - (k == 0 || k == 3 ? 1 : 2), static_cast<uint8_t>(FIRE + glow));
        c.SetOn(x + 1, 8 - (k == 0 || k == 3 ? 1 : 2), static_cast<uint8_t>(FIRE + glow - 1));
    }
    for (int i = 0; i < 20; ++i) c.SetOn(12 + i, 24 - i / 4, BRONZE + 1), c.SetOn(83 - i, 24 - i / 4, BRONZE + 1);
    c.SetOn(2, 21, frame == 0 ? PINK + 6 : BRONZE + 3);
    c.SetOn(93, 21, frame == 0 ? PINK + 6 : BRONZE + 3);
}

}  // namespace

void PaintEnemies(Canvas& b, Canvas& c, Canvas& d) {
    PaintFrames(b, "enemyRow1", Drone);
    PaintFrames(b, "enemyRow2", Swooper);
    PaintFrames(b, "enemyRow3", GunPod);
    PaintFrames(c, "largeEnemy", Gunship);
    PaintFrames(d, "midBoss", MidBoss);
}

}  // namespace art

// The first three heavyweights and their animated parts: the first boss (the vanguard's armoured
// hulk, whose three engine bays show the exhaust part through holes in its stern), the second
// boss (a carrier whose four hangar bays show the chase-light part), the stage-three mid-boss
// (a reef-grown machine with the same engine bays), and the two part strips. Bodies are drawn
// by the game over their parts, so every bay is a transparent hole with a dark rim.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

// Exhaust bay, 36 x 10: four nozzles whose flames pulse through five frames (engines face up,
// towards the stern of a ship flying down the screen).
void ExhaustPart(Canvas& c, int frame) {
    FillRect(c, 0, 0, 36, 1, STEEL + 3);
    FillRect(c, 0, 9, 36, 10, STEEL + 0);
    for (int k = 0; k < 4; ++k) {
        const int x = 3 + k * 8;
        FillRect(c, x, 3, x + 6, 10, STEEL + 2);
        FillRect(c, x, 3, x + 6, 4, STEEL + 4);
        const int len = 3 + (frame + k * 2) % 5 / 2 + (frame % 2);
        for (int i = 0; i < len; ++i) {
            const int y = 8 - i;
            if (y < 0) break;
            const int s = 7 - i * 5 / std::max(1, len);
            FillRect(c, x + 1, y, x + 5, y + 1, static_cast<uint8_t>(FIRE + std::max(2, s - 1)));
            FillRect(c, x + 2, y, x + 4, y + 1, static_cast<uint8_t>(FIRE + s));
        }
    }
}

// Hangar bay, 26 x 10: a dark bay with a run of lights chasing across it.
void HangarPart(Canvas& c, int frame) {
    FillRect(c, 1, 1, 25, 9, PLATE_DARK);
    FillRect(c, 1, 1, 25, 2, NAVY + 2);
    for (int k = 0; k < 5; ++k) {
        const int x = 2 + k * 5;
        const bool on = k == frame;
        FillRect(c, x, 4, x + 3, 7, on ? PINK + 6 : VIOLET + 2);
        if (on) c.Set(x + 1, 5, WHITE);
        for (int g = 2; g < 8; g += 2) c.Set(x + 3, g, NAVY + 3);
    }
    for (int y = 2; y < 9; y += 3) c.Set(0, y, NAVY + 4), c.Set(25, y, NAVY + 4);
}

void BossOne(Canvas& c, int) {
    ShadeMirrored(c, {64, 1, 40, 1, 6, 9, 2, 24, 12, 38, 22, 60, 32, 86, 46, 104, 64, 111}, OLIVE, ShadeOptions{6.0f});
    // Armoured deck over the core, with its panel seams.
    ShadeMirrored(c, {64, 20, 44, 24, 42, 58, 52, 70, 64, 72}, STEEL, ShadeOptions{4.0f});
    // Sponsons carrying the turrets.
    for (int side = 0; side < 2; ++side) {
        const float tx = side == 0 ? 25.5f : 97.5f;
        ShadeEllipse(c, tx, 34, 11, 9, OLIVE, ShadeOptions{4.0f, true, false, 1.0f, -1});
        ShadeEllipse(c, tx, 32, 6, 6, STEEL, ShadeOptions{3.0f});
        FillRect(c, static_cast<int>(tx) - 2, 34, static_cast<int>(tx) + 1, 44, STEEL + 1);
        FillRect(c, static_cast<int>(tx) - 2, 34, static_cast<int>(tx) - 1, 44, STEEL + 4);
        c.Set(static_cast<int>(tx) - 1, 31, RED + 6);
    }
    // Armour plate seams following the hull's sides, rivet rows and wing vents.
    for (int k = 0; k < 3; ++k) {
        const int off = 8 + k * 7;
        DrawLine(c, 6 + off / 2, 24 + off / 3, 34 + off / 2 - 2, 88 - off / 2, OLIVE + 2, true);
        DrawLine(c, 121 - off / 2, 24 + off / 3, 93 - off / 2 + 2, 88 - off / 2, OLIVE + 2, true);
        DrawLine(c, 7 + off / 2, 24 + off / 3, 35 + off / 2 - 2, 88 - off / 2, OLIVE + 5, true);
        DrawLine(c, 122 - off / 2, 24 + off / 3, 94 - off / 2 + 2, 88 - off / 2, OLIVE + 4, true);
    }
    for (int y = 50; y < 96; y += 4) c.SetOn(38 + (y - 50) / 4, y, OLIVE + 6), c.SetOn(89 - (y - 50) / 4, y, OLIVE + 6);
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < 4; ++k) {
            const int x = side == 0 ? 14 + k * 3 : 110 - k * 3, y = 52 + k * 6;
            for (int v = 0; v < 4; ++v) {
                c.SetOn(x, y + v, v % 2 ? OLIVE + 1 : OLIVE + 5);
                c.SetOn(x + 1, y + v, v % 2 ? OLIVE + 1 : OLIVE + 4);
            }
        }
    Greebles(c, 2, 20, 64, 100, OLIVE, 90, 1001, true);
    Greebles(c, 42, 22, 64, 72, STEEL, 14, 1002, true);
    // Twin guns at (49..73, 30..40).
    for (int k = 0; k < 2; ++k) {
        const int x = k == 0 ? 49 : 67;
        ShadeRect(c, x, 28, x + 7, 42, STEEL, ShadeOptions{2.0f, true, false, 1.0f, -1});
        FillRect(c, x + 2, 40, x + 5, 42, BLACK);
        FillRect(c, x + 1, 29, x + 3, 38, STEEL + 5);
    }
    // The core and centre gun at (60,44).
    ShadeEllipse(c, 64, 50, 8, 8, STEEL, ShadeOptions{2.0f, true, false, 1.0f, -2});
    Glow(c, 64, 50, 6, 6, RED, 7, 2, true);
    c.Set(62, 47, WHITE), c.Set(61, 48, RED + 7);
    // Bow ram and hull seams.
    for (int y = 74; y < 104; y += 6) DrawLine(c, 52 + (y - 74) / 3, y, 75 - (y - 74) / 3, y, OLIVE + 2, true);
    DrawLine(c, 64, 72, 64, 108, OLIVE + 1, true);
    for (int i = 0; i < 30; ++i) c.SetOn(14 + i / 3, 40 + i, OLIVE + 6), c.SetOn(113 - i / 3, 40 + i, OLIVE + 3);
    // Stern: three engine bays through which the exhaust part shows.
    CutHole(c, 46, 0, 82, 10, STEEL + 0);
    CutHole(c, 10, 11, 46, 21, STEEL + 0);
    CutHole(c, 82, 11, 118, 21, STEEL + 0);
    // Warning stripes beside the bays and marker lights on the stern corners.
    for (int x = 48; x < 80; x += 4) c.SetOn(x, 12, UIGOLD + 4), c.SetOn(x + 1, 12, UIGOLD + 4);
    c.SetOn(5, 12, PINK + 6), c.SetOn(122, 12, PINK + 6);
}

void BossTwo(Canvas& c, int) {
    Mask hull(c);
    Ellipse(hull, 64, 56, 30, 54);
    Poly(hull, {50, 34, 10, 40, 2, 60, 4, 92, 14, 96, 26, 86, 40, 80, 52, 86});
    MirrorX(hull);
    Shade(c, hull, NAVY, ShadeOptions{6.0f});
    // Flight deck along the spine.
    ShadeMirrored(c, {64, 6, 54, 12, 52, 40, 56, 60, 64, 62}, STEEL, ShadeOptions{2.5f, true, false, 1.0f, -1});
    for (int y = 14; y < 58; y += 5) DrawLine(c, 60, y, 67, y, UIGOLD + 4, true);
    // Wing guns at (16,81) and (106,81).
    for (int side = 0; side < 2; ++side) {
        const float gx = side == 0 ? 17.5f : 107.5f;
        ShadeEllipse(c, gx, 80, 7, 9, VIOLET, ShadeOptions{3.0f});
        FillRect(c, static_cast<int>(gx) - 2, 84, static_cast<int>(gx) + 1, 94, STEEL + 2);
        FillRect(c, static_cast<int>(gx) - 2, 84, static_cast<int>(gx) - 1, 94, STEEL + 5);
        Glow(c, gx, 78, 3, 3, PINK, 7, 4, true);
    }
    // Armoured belly holding the centre gun (61,72).
    ShadeMirrored(c, {64, 62, 42, 68, 38, 92, 50, 104, 64, 108}, VIOLET, ShadeOptions{4.0f});
    ShadeEllipse(c, 64, 76, 7, 7, STEEL, ShadeOptions{2.0f, true, false, 1.0f, -2});
    Glow(c, 64, 76, 5, 5, PINK, 7, 3, true);
    c.Set(62, 73, WHITE);
    Greebles(c, 2, 8, 64, 108, NAVY, 70, 2001, true);
    Greebles(c, 38, 62, 64, 106, VIOLET, 14, 2002, true);
    for (int i = 0; i < 40; ++i) c.SetOn(12 + i, 44 - i / 6, NAVY + 6);
    // Hangar bays for the chase-light part.
    CutHole(c, 30, 42, 56, 52, NAVY + 0);
    CutHole(c, 73, 42, 99, 52, NAVY + 0);
    CutHole(c, 7, 66, 33, 76, NAVY + 0);
    CutHole(c, 96, 66, 122, 76, NAVY + 0);
    // Bridge tower at the stern.
    ShadeRect(c, 58, 2, 70, 12, STEEL, ShadeOptions{2.0f});
    FillRect(c, 60, 6, 68, 8, CYAN + 5);
}

// The stage-three mid-boss: a rounded reef-grown hull with bone ribs, two turrets at (17,28) and
// (73,28), a mouth gun at (45,58), and three engine bays along its top.
void MidBossTwo(Canvas& c, int) {
    Mask hull(c);
    Ellipse(hull, 48, 48, 40, 40);
    // The engine yoke across the top, grown into the body.
    Poly(hull, {0, 14, 5, 7, 27, 7, 28, 0, 68, 0, 69, 7, 91, 7, 96, 14, 96, 24, 84, 34, 12, 34, 0, 24});
    Ellipse(hull, 17.5f, 28, 13, 12);
    Ellipse(hull, 78.5f, 28, 13, 12);
    Shade(c, hull, REEF, ShadeOptions{7.0f, true, true});
    // Bone ribs wrapping the hull.
    for (int k = 0; k < 4; ++k) {
        Mask rib(c);
        const float y = 40 + static_cast<float>(k) * 9;
        Ellipse(rib, 48, y, 36 - static_cast<float>(k) * 4, 5);
        Ellipse(rib, 48, y - 2, 32 - static_cast<float>(k) * 4, 4, false);
        Shade(c, Intersect(rib, hull), BONE, ShadeOptions{1.5f});
    }
    // Central eye plate (the shot box) and the mouth.
    ShadeEllipse(c, 48, 46, 18, 20, BONE, ShadeOptions{4.0f});
    ShadeEllipse(c, 48, 42, 9, 7, GREEN, ShadeOptions{3.0f, true, false, 1.0f, 1});
    FillRect(c, 47, 37, 49, 47, BLACK);
    c.Set(44, 39, WHITE);
    FlatEllipse(c, 48, 60, 8, 5, BLOOD + 0);
    Glow(c, 48, 60, 5, 3, FIRE, 7, 3, true);
    for (int x = 41; x < 56; x += 3) c.Set(x, 56, BONE + 6), c.Set(x + 1, 64, BONE + 5);
    // Turrets.
    for (int side = 0; side < 2; ++side) {
        const float tx = side == 0 ? 17.5f : 73.5f;
        ShadeEllipse(c, tx, 28, 6, 6, STEEL, ShadeOptions{2.5f});
        Glow(c, tx, 29, 2.5f, 2.5f, GREEN, 7, 4, true);
    }
    Greebles(c, 4, 12, 48, 88, REEF, 40, 3001, true);
    // Bone struts carrying the yoke.
    for (int side = 0; side < 2; ++side) {
        Mask strut(c);
        const float x = side == 0 ? 30 : 66;
        Line(strut, x, 20, 48 + (x - 48) * 0.4f, 34, 3);
        Shade(c, strut, BONE, ShadeOptions{1.0f});
    }
    CutHole(c, 30, 0, 66, 10, REEF + 0);
    CutHole(c, 2, 10, 38, 20, REEF + 0);
    CutHole(c, 58, 10, 94, 20, REEF + 0);
}

}  // namespace

void PaintBossesOneTwo(Canvas& c, Canvas& d) {
    PaintFrames(d, "bossPartAnimC", ExhaustPart, STEEL + 1);
    PaintFrames(d, "bossPartAnimB", HangarPart, NAVY + 0);
    PaintFrames(d, "bossOneBody", BossOne);
    PaintFrames(d, "bossTwoBody", BossTwo);
    PaintFrames(c, "midBossTwoBody", MidBossTwo);
}

}  // namespace art

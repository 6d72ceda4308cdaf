// The late bosses: the third boss of the machine reefs (a spine-like core and two claw-wings
// that unfold in four steps; the right wing is the left one's mirror image), the fourth boss at
// the armada's heart (a tall spire with a sliding jaw plate and two pods that slide out from
// behind it), and the final boss, the armada's core, in the four poses of its awakening.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

// Third boss core, 40 x 96: a segmented spine round a pulsing eye (centre gun near (16,47)).
void BossThreeCore(Canvas& c, int frame) {
    Mask spine(c);
    Ellipse(spine, 20, 48, 17, 46);
    Poly(spine, {20, 0, 12, 10, 28, 10});
    Poly(spine, {20, 96, 13, 84, 27, 84});
    Shade(c, spine, REEF, ShadeOptions{5.0f, true, true});
    // Bone vertebrae down the length.
    for (int k = 0; k < 7; ++k) {
        if (k == 3) continue;
        Mask v(c);
        const float y = 10 + static_cast<float>(k) * 12.5f;
        Ellipse(v, 20, y, 13 - std::fabs(static_cast<float>(k) - 3) * 1.5f, 3.5f);
        Shade(c, Intersect(v, spine), BONE, ShadeOptions{1.5f});
    }
    // The eye pulses through four frames.
    ShadeEllipse(c, 20, 48, 11, 12, BONE, ShadeOptions{3.0f, true, false, 1.0f, -1});
    static const float IRIS[4] = {5.5f, 6.5f, 7.5f, 6.5f};
    ShadeEllipse(c, 20, 48, IRIS[frame], IRIS[frame] + 1, GREEN, ShadeOptions{2.0f, true, false, 1.0f, 1});
    FillRect(c, 19, 43, 21, 54, BLACK);
    c.Set(16, 44, WHITE), c.Set(17, 44, GREEN + 7);
    // Vents on the flanks breathe in turn.
    for (int k = 0; k < 4; ++k) {
        const int y = 20 + k * 18;
        const bool lit = (k + frame) % 4 == 0;
        c.SetOn(5, y, lit ? GREEN + 7 : REEF + 2), c.SetOn(34, y, lit ? GREEN + 7 : REEF + 2);
        c.SetOn(5, y + 1, lit ? GREEN + 5 : REEF + 1), c.SetOn(34, y + 1, lit ? GREEN + 5 : REEF + 1);
    }
}

// Third boss left wing, 80 x 80, unfold step t (0 folded against the core, 3 fully open): a
// manta fin of three bone-tipped blades with a membrane between them, rooted at the right edge
// (under the core). Open, its top blade carries the side gun at (36,28).
Canvas BossThreeWing(int t) {
    Canvas c(80, 80);
    const float open = static_cast<float>(t) / 3.0f;
    const float rootX = 73, rootY = 30;
    static const float FOLDED[3] = {0.30f, 0.22f, 0.14f};
    static const float OPENED[3] = {1.66f, 1.18f, 0.70f};
    static const float LENGTH[3] = {44, 46, 38};
    float tipX[3], tipY[3];
    for (int k = 0; k < 3; ++k) {
        const float a = FOLDED[k] + (OPENED[k] - FOLDED[k]) * open;
        tipX[k] = rootX - std::sin(a) * LENGTH[k];
        tipY[k] = rootY + std::cos(a) * LENGTH[k];
    }
    Mask membrane(c);
    Poly(membrane, {rootX, rootY, tipX[0], tipY[0], (tipX[0] + tipX[1]) / 2 + 3, (tipY[0] + tipY[1]) / 2, tipX[1], tipY[1],
                    (tipX[1] + tipX[2]) / 2 + 3, (tipY[1] + tipY[2]) / 2, tipX[2], tipY[2], rootX + 2, rootY + 20});
    Shade(c, membrane, REEF, ShadeOptions{3.0f, true, false, 1.0f, -2});
    for (int k = 0; k < 3; ++k) {
        Mask blade(c);
        const float dx = tipX[k] - rootX, dy = tipY[k] - rootY;
        const float len = std::sqrt(dx * dx + dy * dy);
        const float nx = -dy / len, ny = dx / len;
        Poly(blade, {rootX + nx * 4, rootY + ny * 4, tipX[k] + nx, tipY[k] + ny, tipX[k] - nx, tipY[k] - ny, rootX - nx * 4,
                     rootY - ny * 4});
        Shade(c, blade, k == 0 ? BONE : REEF, ShadeOptions{2.0f});
        c.SetOn(static_cast<int>(tipX[k]), static_cast<int>(tipY[k]), BONE + 7);
    }
    // Root knuckle.
    ShadeEllipse(c, rootX, rootY, 8, 10, REEF, ShadeOptions{3.0f});
    Glow(c, rootX - 1, rootY, 3, 4, GREEN, 6, 3, true);
    // Side gun pod two thirds along the top blade.
    const float gx = rootX + (tipX[0] - rootX) * 0.84f, gy = rootY + (tipY[0] - rootY) * 0.84f;
    ShadeEllipse(c, gx, gy, 4 + open * 1.5f, 4 + open * 1.5f, BONE, ShadeOptions{2.0f});
    Glow(c, gx, gy, 2.5f, 2.5f, GREEN, 7, 3 - t / 2, true);
    return c;
}

// Fourth boss body, 48 x 112: a tall armoured spire. It hides the pods while they are tucked in
// (x 2..46, y 59..99) and leaves a notch at the bottom (x 6..42, y 101..112) that the sliding
// jaw plate fills.
void BossFourBody(Canvas& c, int) {
    ShadeMirrored(c, {24, 0, 14, 14, 8, 40, 2, 56, 1, 100, 6, 111, 24, 111}, BLOOD, ShadeOptions{5.0f});
    ShadeMirrored(c, {24, 8, 16, 22, 12, 56, 14, 92, 24, 98}, STEEL, ShadeOptions{3.0f});
    // The heart: a beating core in the shot box (0..48, 56..106).
    ShadeEllipse(c, 24, 74, 8, 10, BLOOD, ShadeOptions{3.0f, true, false, 1.0f, 1});
    Glow(c, 24, 74, 6, 8, FIRE, 7, 3, true);
    c.Set(21, 68, WHITE);
    Greebles(c, 2, 10, 24, 100, BLOOD, 24, 4001, true);
    Greebles(c, 12, 10, 24, 92, STEEL, 14, 4002, true);
    for (int y = 24; y < 52; y += 6) c.SetOn(24, y, PINK + 6), c.SetOn(24, y + 1, PINK + 4);
    // Spire tip beacon.
    c.SetOn(23, 2, PINK + 7), c.SetOn(24, 2, PINK + 7), c.SetOn(23, 3, PINK + 5), c.SetOn(24, 3, PINK + 5);
    CutHole(c, 6, 101, 42, 112, BLOOD + 0);
}

// The jaw plate, 36 x 11: a toothed ram that slides down into the spire's notch.
void BossFourCover(Canvas& c, int) {
    Mask m(c);
    Rect(m, 0, 0, 36, 7);
    for (int k = 0; k < 6; ++k)
        Poly(m, {static_cast<float>(k * 6), 6, static_cast<float>(k * 6 + 6), 6, static_cast<float>(k * 6 + 3), 11});
    Shade(c, m, STEEL, ShadeOptions{2.0f});
    FillRect(c, 2, 2, 34, 3, PINK + 5);
    for (int x = 4; x < 34; x += 6) c.Set(x, 4, STEEL + 1);
}

// The right pod, 40 x 40; its ring gun looks out from the inner side, near (11,19).
Canvas BossFourPod() {
    Canvas c(40, 40);
    Mask shell(c);
    Ellipse(shell, 21, 20, 18, 18);
    Poly(shell, {30, 4, 39, 10, 38, 30, 30, 36});
    Shade(c, shell, BLOOD, ShadeOptions{5.0f});
    Mask band(c);
    Rect(band, 0, 16, 40, 24);
    Shade(c, Intersect(band, shell), STEEL, ShadeOptions{2.0f});
    Mask ring(c);
    Ellipse(ring, 11, 20, 7, 7);
    Shade(c, ring, STEEL, ShadeOptions{2.5f, true, false, 1.0f, -1});
    Glow(c, 11, 20, 5, 5, PINK, 7, 2, true);
    Ellipse(ring, 11, 20, 2, 2, false);
    c.Set(10, 19, WHITE);
    Greebles(c, 14, 2, 40, 38, BLOOD, 10, 4003, false);
    for (int y = 8; y < 34; y += 5) c.SetOn(36, y, PINK + 5);
    return c;
}

// The armada's core, 104 x 128, at awakening step `a` (0 dormant cocoon .. 3 fully awake).
// Awake, its guns are the core (48,95), the mouth (49,56) and the arm tips (1,68) and (97,68).
Canvas FinalBoss(int a) {
    const float open = static_cast<float>(a) / 3.0f;
    Canvas c(104, 128);
    // The living body inside the shell, crowned by two bone horns.
    ShadeMirrored(c, {46, 16, 33, 1, 36, 0, 50, 12}, BONE, ShadeOptions{2.0f});
    Mask body(c);
    Ellipse(body, 52, 64, 23, 60);
    Shade(c, body, BLOOD, ShadeOptions{6.0f});
    Greebles(c, 30, 8, 52, 122, BLOOD, 30, 5002, true);
    Mask ribs(c);
    for (int k = 0; k < 6; ++k) Rect(ribs, 30, 20 + k * 16, 74, 23 + k * 16);
    Shade(c, Intersect(ribs, body), BONE, ShadeOptions{1.0f, true, false, 1.0f, -1});
    // Glowing veins wake up along the body's flanks.
    if (a >= 1)
        for (int y = 18; y < 116; ++y) {
            const int wobble = static_cast<int>(std::lround(std::sin(static_cast<float>(y) * 0.35f) * 2.0f));
            const uint8_t vein = static_cast<uint8_t>(a == 3 ? PINK + 5 : (a == 2 ? PINK + 3 : BLOOD + 5));
            c.SetOn(52 - 15 + wobble, y, vein);
            c.SetOn(52 + 14 - wobble, y, vein);
        }
    // Shell plates: closed they wrap the body; waking, they part and swing up like wings, with
    // spines along their outer edges.
    for (int side = 0; side < 2; ++side) {
        Mask plate(c);
        const float dir = side == 0 ? -1.0f : 1.0f;
        const float x0 = 52 + dir * (1 + 20 * open);
        const float lift = 18 * open;
        const float outer = x0 + dir * (30 - 6 * open);
        Poly(plate, {x0, 12 + lift * 0.3f, x0 + dir * (26 - 4 * open), 30 - lift * 0.4f, outer, 86 - lift, x0 + dir * 14,
                     122 - lift * 1.6f, x0, 118 - lift * 1.2f});
        for (int k = 0; k < 3; ++k) {
            const float sy = 40 + static_cast<float>(k) * 14 - lift * 0.6f;
            Poly(plate, {outer - dir * 2, sy, outer + dir * (4 + 2 * open), sy + 3, outer - dir * 2, sy + 7});
        }
        Shade(c, plate, GOLD, ShadeOptions{4.0f, true, false, 1.0f, -1 + a / 2});
    }
    Greebles(c, 2, 12, 52, 122, GOLD, 36, 5001, true);
    if (a == 0) {
        DrawLine(c, 52, 14, 52, 116, FIRE + 3, true);
        DrawLine(c, 51, 14, 51, 116, BLOOD + 0, true);
    }
    // Arms reach out from under the plates as it wakes; awake, the clawed hands are the side guns.
    if (a >= 1)
        for (int side = 0; side < 2; ++side) {
            Mask arm(c), armour(104, 128);
            const float hx = 5 + 27 * (1 - open), hy = 68 + 12 * (1 - open);
            const float ex = 22 + 8 * (1 - open), ey = 52 + 14 * (1 - open);
            Line(arm, 40, 44, ex, ey, 9);
            Line(arm, ex, ey, hx, hy, 7);
            Ellipse(arm, hx + 1, hy, 5.5f, 6.5f);
            Line(arm, hx - 2, hy + 4, hx - 4, hy + 10, 2.5f);
            Line(arm, hx + 2, hy + 5, hx + 2, hy + 11, 2.5f);
            Line(arm, hx + 5, hy + 3, hx + 7, hy + 9, 2.5f);
            Line(armour, 38, 45, ex + 2, ey, 6);
            if (side == 1) {
                Mask flipped(c), flippedArmour(104, 128);
                for (int y = 0; y < 128; ++y)
                    for (int x = 0; x < 104; ++x) {
                        flipped.Set(x, y, arm.Get(103 - x, y));
                        flippedArmour.Set(x, y, armour.Get(103 - x, y));
                    }
                arm = flipped;
                armour = flippedArmour;
            }
            Shade(c, arm, BONE, ShadeOptions{3.0f});
            Shade(c, armour, GOLD, ShadeOptions{2.0f, true, false, 1.0f, 1});
            const float gx = side == 0 ? hx + 1 : 103 - hx - 1;
            Glow(c, gx, hy + 1, 3, 3, a == 3 ? PINK : BLOOD, a == 3 ? 7 : 5, 3, true);
        }
    // Eye above the mouth: a dim slit when dormant, wide open when awake.
    FlatEllipse(c, 52, 30, 3 + 6 * open, 1.5f + 4 * open, BLACK);
    Glow(c, 52, 30, 2 + 6 * open, 1.2f + 3.5f * open, a == 0 ? BLOOD : PINK, a == 0 ? 4 : 7, 2, true);
    // Mouth at (49,56): shut, then baring teeth.
    if (a >= 2) {
        FlatEllipse(c, 52, 58, 7 + 2 * open, 2 + 4 * open, BLACK);
        Glow(c, 52, 59, 5, 2 + 2 * open, FIRE, 7, 2, true);
        for (int x = 45; x <= 58; x += 3) c.Set(x, 54 + (a == 3 ? -1 : 0), BONE + 7), c.Set(x + 1, 63, BONE + 6);
    } else if (a == 1) {
        DrawLine(c, 46, 58, 58, 58, BLACK, true);
    }
    // The core at (48,95): a sphere of fire, brighter at every step.
    ShadeEllipse(c, 52, 96, 6 + 4 * open, 6 + 4 * open, STEEL, ShadeOptions{2.0f, true, false, 1.0f, -2});
    Glow(c, 52, 96, 4 + 4 * open, 4 + 4 * open, FIRE, 3 + a + (a == 3 ? 1 : 0), 2, true);
    if (a == 3) c.Set(50, 92, WHITE);
    return c;
}

}  // namespace

void PaintBossesLate(Canvas& e, Canvas& f, Canvas& g) {
    PaintFrames(e, "bossThreeCore", BossThreeCore);
    // The left wing's four steps, then the whole row mirrored gives the right wing's strip,
    // whose frames the game reads from x = 240 - 80t.
    Canvas row(320, 80);
    for (int t = 0; t < 4; ++t) CopyRect(row, BossThreeWing(t), 0, 0, 80, 80, t * 80, 0);
    CopyRect(f, row, 0, 0, 320, 80, 0, 0);
    FlipX(row);
    CopyRect(f, row, 0, 0, 320, 80, 0, 80);

    PaintFrames(e, "bossFourBody", BossFourBody);
    PaintFrames(e, "bossFourCover", BossFourCover);
    Canvas pod = BossFourPod();
    PutFrame(e, "bossFourRightPod", 0, pod);
    FlipX(pod);
    PutFrame(e, "bossFourLeftPod", 0, pod);

    PutFrame(g, "bossFinalPose0", 0, FinalBoss(0));
    PutFrame(g, "bossFinalPose1", 0, FinalBoss(1));
    PutFrame(g, "bossFinalPose2", 0, FinalBoss(2));
    PutFrame(e, "bossFinalPose3", 0, FinalBoss(3));
}

}  // namespace art

// The final boss, g_bossFinal: a 104 x 128 fortress that ends the second round. It brakes down
// from y -120 in 23 frames, changes its picture in three steps (poses 1 to 3) and then runs a
// frame-counted script of four patterns: A (an aimed ring of spokes, twin spirals, a turning
// cross and a fan from the mouth), B (two sprays of rising speed from the side guns), C (a fan
// of large bullets at a captured point, with a gap that sweeps to and fro while the boss stands
// still) and D (turning crosses from the side guns and curtains from the field's corners). At
// every checkpoint of the script, once its hit points are down to 2000, it gives the script up
// for good: after 100 silent frames it fires an aimed ring of 30 large bullets every 4 frames.
//
// Script events happen at fixed values of the script timer, before its increment; the patterns
// run after it. Killing the boss, scoring it, its time-out and its four pictures belong to the
// collision pass, which reads the pose.
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

inline constexpr BossSwing SWING{48, 0.09};
inline constexpr int LAST_STAND_HIT_POINTS = 2000;  // at or below this at a checkpoint
inline constexpr int LAST_STAND_SILENCE = 100;

// ---- gun points, relative to x, y
inline constexpr GunOffset CORE{48, 95};
inline constexpr GunOffset RING_MOUTH{48, 56};
inline constexpr GunOffset MOUTH{49, 56};
inline constexpr GunOffset LEFT_GUN{1, 68};
inline constexpr GunOffset RIGHT_GUN{97, 68};

// ---- the patterns

inline constexpr double FULL_RING_STEP = 0.21;  // 30 bullets a ring
inline constexpr double SPOKE_STEP = 0.524;     // 12 spokes a ring

void LastStandRing(BossFinal& b) {
    if (TickReaches(b.lastStandRingTick, 4)) {
        PlayEnemyFireSound();
        b.lastStandRingAngle = 0;
        do {
            FireAimed(GunX(b, CORE), GunY(b, CORE), 3.4f, g_aimJitter + b.lastStandRingAngle, BULLET_LARGE);
            b.lastStandRingAngle = static_cast<float>(b.lastStandRingAngle + FULL_RING_STEP);
        } while (b.lastStandRingAngle < FULL_TURN);
    }
    b.lastStandRingTick += 1;
}

// One corner's six large bullets: five fanned from the aim point along one edge, by the offsets
// times `turn`, then one along the other edge.
struct CurtainCorner {
    float x, y;
    GunOffset alongEdge;  // the aim points, absolute in the field
    double turn;
    GunOffset otherEdge;
};
inline constexpr CurtainCorner CURTAIN_CORNERS[] = {
    {0.0f, 0.0f, {1, 0}, +1, {0, 1}},
    {0.0f, 232.0f, {0, 231}, +1, {1, 232}},
    {192.0f, 0.0f, {191, 0}, -1, {192, 1}},
    {192.0f, 232.0f, {192, 231}, -1, {191, 232}},
};
inline constexpr double CURTAIN_FAN[] = {0, 0.3, 0.6, 0.9, 1.2};
inline constexpr float CURTAIN_SPEED = 6.0f;
inline constexpr int CURTAIN_FIRST = 40;  // curtain cycle values with curtains: 40 to 59
inline constexpr int CURTAIN_LAST = 59;
inline constexpr int CURTAIN_CYCLE_END = 100;

void FireCurtain() {
    for (const CurtainCorner& c : CURTAIN_CORNERS) {
        for (double d : CURTAIN_FAN) {
            FireAtPoint(c.x, c.y, c.alongEdge.dx, c.alongEdge.dy, CURTAIN_SPEED, static_cast<float>(c.turn * d), BULLET_LARGE);
        }
        FireAtPoint(c.x, c.y, c.otherEdge.dx, c.otherEdge.dy, CURTAIN_SPEED, 0.0f, BULLET_LARGE);
    }
}

inline constexpr double CROSS_STEP = 0.18;
inline constexpr int RIGHT_GUN_DELAY = 19;  // the right cross starts once its delay is past this

void PatternD(BossFinal& b) {
    if (b.patternDCurtainCycle >= CURTAIN_FIRST && b.patternDCurtainCycle <= CURTAIN_LAST) {
        if (TickReaches(b.patternDCurtainTick, 2)) {
            PlayEnemyFireSound();
            FireCurtain();
        }
        b.patternDCurtainTick += 1;
    }
    if (b.patternDCurtainCycle == CURTAIN_CYCLE_END) b.patternDCurtainCycle = 0;
    b.patternDCurtainCycle += 1;

    if (TickReaches(b.patternDLeftGunTick, 3)) {
        FireCross4(b.x + LEFT_GUN.dx, b.y + LEFT_GUN.dy, 2.0f, b.patternDLeftGunAngle, BULLET_SMALL);
        SpinClockwise(b.patternDLeftGunAngle, CROSS_STEP);
    }
    b.patternDLeftGunTick += 1;
    if (b.patternDRightGunDelay > RIGHT_GUN_DELAY) {
        if (TickReaches(b.patternDRightGunTick, 3)) {
            FireCross4(b.x + RIGHT_GUN.dx, b.y + RIGHT_GUN.dy, 2.0f, b.patternDRightGunAngle, BULLET_SMALL);
            SpinAnticlockwise(b.patternDRightGunAngle, CROSS_STEP);
        }
        b.patternDRightGunTick += 1;
    }
    b.patternDRightGunDelay += 1;
}

// Ten large bullets at the captured point with a 0.3-radian gap around it.
inline constexpr double GAP_FAN[] = {-0.95, -0.75, -0.55, -0.35, -0.15, 0.15, 0.35, 0.55, 0.75, 0.95};
inline constexpr double SWEEP_STEP = 0.05;

// How the gap moves after a volley, by the volley count: held, one way, the other, and back.
struct SweepSpan {
    int first, last;
    double step;
};
inline constexpr SweepSpan GAP_SWEEP[] = {
    {30, 39, -SWEEP_STEP},
    {40, 59, +SWEEP_STEP},
    {60, 79, -SWEEP_STEP},
    {80, 89, +SWEEP_STEP},
};
inline constexpr int GAP_LAST_VOLLEY = 90;

void PatternC(BossFinal& b) {
    if (b.patternCTargetCaptured == 0) {
        CaptureShipTarget(&b.patternCTargetX, &b.patternCTargetY);
        b.patternCTargetCaptured = 1;
    }
    if (TickReaches(b.patternCTick, 2)) {
        PlayEnemyFireSound();
        for (double d : GAP_FAN) {
            FireAtPoint(GunX(b, CORE), GunY(b, CORE), b.patternCTargetX, b.patternCTargetY, 6.0f,
                        static_cast<float>(b.patternCSweep + d), BULLET_LARGE);
        }
        const int n = b.patternCVolleyCount;
        for (const SweepSpan& s : GAP_SWEEP) {
            if (n >= s.first && n <= s.last) b.patternCSweep = static_cast<float>(b.patternCSweep + s.step);
        }
        if (n == GAP_LAST_VOLLEY) b.patternCSwitch = 0;
        b.patternCVolleyCount += 1;
    }
    b.patternCTick += 1;
}

// Eleven bullets of rising speed fanned over one radian; the left spray's last is 3.9.
inline constexpr double SPRAY_OFFSETS[] = {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
inline constexpr double LEFT_SPRAY_SPEEDS[] = {1.8, 2.0, 2.2, 2.4, 2.6, 2.8, 3.0, 3.2, 3.4, 3.6, 3.9};
inline constexpr double RIGHT_SPRAY_SPEEDS[] = {1.8, 2.0, 2.2, 2.4, 2.6, 2.8, 3.0, 3.2, 3.4, 3.6, 3.8};
inline constexpr double SPRAY_STEP = 0.21;

void PatternB(BossFinal& b) {
    if (TickReaches(b.patternBTick, 3)) {
        const int lx = b.x + LEFT_GUN.dx, ly = b.y + LEFT_GUN.dy;
        const int rx = b.x + RIGHT_GUN.dx, ry = b.y + RIGHT_GUN.dy;
        for (int k = 0; k < 11; ++k) {
            FireUpFrom(lx, ly, LEFT_SPRAY_SPEEDS[k], b.patternBLeftAngle + SPRAY_OFFSETS[k], BULLET_SMALL);
        }
        for (int k = 0; k < 11; ++k) {
            FireDownFrom(rx, ry, RIGHT_SPRAY_SPEEDS[k], b.patternBRightAngle + SPRAY_OFFSETS[k], BULLET_SMALL);
        }
        SpinClockwise(b.patternBRightAngle, SPRAY_STEP);
        SpinAnticlockwise(b.patternBLeftAngle, SPRAY_STEP);
    }
    b.patternBTick += 1;
}

struct Shot {
    double speed;
    double offset;
};
inline constexpr Shot SPOKE[] = {{1.8, 0}, {2.2, 0.1}, {2.6, 0.2}, {3.0, 0.3}, {3.4, 0.4}};
inline constexpr double MOUTH_FAN[] = {-0.8, -0.6, -0.4, -0.2, 0, 0.8, 0.6, 0.4, 0.2};
inline constexpr double MOUTH_STEP = 0.2;

void PatternA(BossFinal& b) {
    if (TickReaches(b.patternARingTick, 40)) {
        b.patternARingAngle = 0;
        do {
            for (const Shot& s : SPOKE) {
                FireAimed(GunX(b, RING_MOUTH), GunY(b, RING_MOUTH), static_cast<float>(s.speed),
                          static_cast<float>(g_aimJitter + b.patternARingAngle + s.offset), BULLET_LARGE);
            }
            b.patternARingAngle = static_cast<float>(b.patternARingAngle + SPOKE_STEP);
        } while (b.patternARingAngle < FULL_TURN);
    }
    b.patternARingTick += 1;

    const int mx = b.x + MOUTH.dx, my = b.y + MOUTH.dy;
    if (TickReaches(b.patternASpiralTick, 1)) {
        PlayEnemyFireSound();
        FireUpFrom(mx, my, 3.2, b.patternASpiralAngle1, BULLET_SMALL);
        FireUpFrom(mx, my, 3.2, b.patternASpiralAngle2, BULLET_SMALL);
        SpinAnticlockwise(b.patternASpiralAngle1, MOUTH_STEP);
        SpinClockwise(b.patternASpiralAngle2, MOUTH_STEP);
    }
    b.patternASpiralTick += 1;

    if (TickReaches(b.patternACrossTick, 1)) {
        FireCross4(mx, my, 2.5f, b.patternACrossAngle, BULLET_SMALL);
        SpinAnticlockwise(b.patternACrossAngle, MOUTH_STEP);
    }
    b.patternACrossTick += 1;

    if (TickReaches(b.patternAFanTick, 6)) {
        for (double d : MOUTH_FAN) {
            FireAimed(GunX(b, MOUTH), GunY(b, MOUTH), 3.0f, static_cast<float>(g_aimJitter + d), BULLET_SMALL);
        }
    }
    b.patternAFanTick += 1;
}

// ---- the pattern table, in the order the patterns run within a frame

// The last stand: after LAST_STAND_SILENCE frames the ring comes on and stays on.
void LastStandDelay(BossFinal& b) {
    if (b.lastStandDelay == LAST_STAND_SILENCE) {
        b.lastStandRingSwitch = 1;
        b.lastStandRingTick = 0;
        b.lastStandRingAngle = 0;
    }
    b.lastStandDelay += 1;
}

enum PatternRow { LAST_STAND, LAST_STAND_RING, PATTERN_D, PATTERN_C, PATTERN_B, PATTERN_A };
// clang-format off
inline constexpr Pattern<BossFinal> PATTERNS[] = {
    {&BossFinal::lastStand, LastStandDelay},
    {&BossFinal::lastStandRingSwitch, LastStandRing},
    {&BossFinal::patternDSwitch, PatternD, {&BossFinal::patternDLeftGunTick, &BossFinal::patternDRightGunTick, &BossFinal::patternDRightGunDelay, &BossFinal::patternDCurtainCycle, &BossFinal::patternDCurtainTick}, {&BossFinal::patternDLeftGunAngle, &BossFinal::patternDRightGunAngle}},
    {&BossFinal::patternCSwitch, PatternC, {&BossFinal::patternCTargetCaptured, &BossFinal::patternCTick, &BossFinal::patternCTargetX, &BossFinal::patternCTargetY, &BossFinal::patternCVolleyCount}, {&BossFinal::patternCSweep}},
    {&BossFinal::patternBSwitch, PatternB, {&BossFinal::patternBTick}, {&BossFinal::patternBLeftAngle, &BossFinal::patternBRightAngle}},
    {&BossFinal::patternASwitch, PatternA, {&BossFinal::patternAFanTick, &BossFinal::patternACrossTick, &BossFinal::patternASpiralTick, &BossFinal::patternARingTick}, {&BossFinal::patternACrossAngle, &BossFinal::patternASpiralAngle1, &BossFinal::patternASpiralAngle2, &BossFinal::patternARingAngle}},
};
// clang-format on

// ---- the script, the same in both rounds

void Pose1(BossFinal& b) { b.pose = 1; }
void Pose2(BossFinal& b) { b.pose = 2; }
void Pose3(BossFinal& b) {
    PlaySoundEffect(SoundEffect::BossAction);
    b.pose = 3;
}
void Circle(BossFinal& b) { b.circlingSwitch = 1; }
void StandStill(BossFinal& b) { b.circlingSwitch = 0; }
// Every pattern is off at a checkpoint, so the last stand starts in silence.
void Checkpoint(BossFinal& b) {
    if (b.hitPoints <= LAST_STAND_HIT_POINTS) b.lastStand = 1;
}
void Restart(BossFinal& b) { b.scriptTimer = 109; }  // pattern A again at 110, after the increment

enum ActionRow { POSE_1, POSE_2, POSE_3, CIRCLE, STAND_STILL, CHECKPOINT, RESTART };
inline constexpr Action<BossFinal> ACTIONS[] = {Pose1, Pose2, Pose3, Circle, StandStill, Checkpoint, Restart};

inline constexpr ScriptEvent POSE_SCRIPT[] = {
    {10, 10, {Do(POSE_1)}},
    {13, 13, {Do(POSE_2)}},
    {16, 16, {Do(POSE_3)}},
    {100, 100, {Do(CIRCLE)}},
};

// The cycle, consulted only until the last stand.
// clang-format off
inline constexpr ScriptEvent CYCLE_SCRIPT[] = {
    {110, 110, {On(PATTERN_A)}},
    {500, 500, {Off(PATTERN_A), Do(CHECKPOINT)}},
    {600, 600, {On(PATTERN_B)}},
    {1100, 1100, {Off(PATTERN_B), Do(CHECKPOINT)}},
    {1150, 1150, {On(PATTERN_C), Do(STAND_STILL)}},  // it stands still while the fans start
    {1400, 1400, {Do(CIRCLE), Do(CHECKPOINT)}},
    {1500, 1500, {On(PATTERN_D)}},
    {1900, 1900, {Off(PATTERN_D), Do(CHECKPOINT)}},
    {2000, 2000, {Do(RESTART), Do(CHECKPOINT)}},
};
// clang-format on

void Frame(BossFinal& b) {
    RunScript<BossFinal>(b, POSE_SCRIPT, PATTERNS, ACTIONS);
    if (b.lastStand == 0) RunScript<BossFinal>(b, CYCLE_SCRIPT, PATTERNS, ACTIONS);
    b.scriptTimer += 1;
    RunPatterns<BossFinal>(b, PATTERNS);
    if (b.circlingSwitch != 0) Swing(b.x, b.y, b.circlingAngle, SWING);
}

}  // namespace

void UpdateBossFinal() { RunDescendingBoss(g_bossFinal, Frame); }

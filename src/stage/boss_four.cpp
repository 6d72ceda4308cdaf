// The fourth boss, g_bossFour: a narrow 48 x 112 body that closes stage 4 in both rounds. It
// brakes down from y -120 in 23 frames, slides its cover plate down and spreads its two side
// pods, then swings slowly while a frame-counted script cycles through three patterns: A (a
// double spiral from the left ring gun, single rings of aimed spokes and the turning large gun),
// B (aimed fans, twin spirals and double rings) and C (triple twin spirals, double rings and the
// large gun). The script is the same in both rounds; round 2 only fires more often, and a
// little faster.
//
// Every pattern tick here reaches its value n every n frames, first on its (n + 1)-th frame
// after being cleared, so the tables below give the periods. Killing the boss,
// scoring it, its time-out and its pictures belong to the collision pass, which draws the cover
// plate at coverOffset and the pods at rightPodOffset and leftPodOffset.
#include <span>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

inline constexpr BossSwing SWING{80, 0.03};

// ---- gun points, relative to x, y
inline constexpr GunOffset TWIN_SPIRAL_GUN{21, 65};
inline constexpr GunOffset LARGE_GUN{20, 65};
inline constexpr GunOffset RIGHT_RING_GUN{54, 78};
inline constexpr GunOffset LEFT_RING_GUN{-12, 78};
inline constexpr GunOffset LEFT_FAN_GUN{-14, 78};  // pattern B's fan fires its left half from here

// ---- per-round values

struct RoundValues {
    int patternCTwinSpiralPeriod;
    int patternCRingPeriod;
    double largeGunSpeed;
    int patternBFanPeriod;
    double patternBSpiralSpeeds[2];  // 0 = no second shot
    int patternBRingPeriod;
    int patternASpiralPeriod;
    int patternARingPeriod;
};
// clang-format off
inline constexpr RoundValues ROUND_1{
    .patternCTwinSpiralPeriod = 4,
    .patternCRingPeriod = 40,
    .largeGunSpeed = 2.0,
    .patternBFanPeriod = 40,
    .patternBSpiralSpeeds = {2.0, 0},
    .patternBRingPeriod = 60,
    .patternASpiralPeriod = 3,
    .patternARingPeriod = 18,
};
// clang-format on
// clang-format off
inline constexpr RoundValues ROUND_2{
    .patternCTwinSpiralPeriod = 2,
    .patternCRingPeriod = 30,
    .largeGunSpeed = 2.5,
    .patternBFanPeriod = 30,
    .patternBSpiralSpeeds = {2.0, 2.5},
    .patternBRingPeriod = 40,
    .patternASpiralPeriod = 1,
    .patternARingPeriod = 14,
};
// clang-format on

const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

// ---- shapes

inline constexpr double SPOKE_STEP = 0.524;  // 12 spokes a ring
inline constexpr double SPIRAL_STEP = 0.32;

struct Shot {
    double speed;
    double offset;
};
inline constexpr Shot DOUBLE_RING_RIGHT[] = {{1.2, 0.4}, {1.4, 0}, {1.8, 0.1}, {2.2, 0.2}, {2.6, 0.3}};
inline constexpr Shot DOUBLE_RING_LEFT[] = {{1.2, -0.4}, {1.4, 0}, {1.8, -0.1}, {2.2, -0.2}, {2.6, -0.3}};
inline constexpr Shot SINGLE_RING[] = {{1.4, 0}, {1.8, 0.1}, {2.2, 0.2}, {2.6, 0.3}, {3.0, 0.4}};

// One spoke: shots at the ship from a gun, each turned by the jitter, the ring angle and its offset.
void FireSpoke(const BossFour& b, GunOffset gun, std::span<const Shot> shots) {
    for (const Shot& s : shots) {
        FireAimed(static_cast<float>(GunX(b, gun)), static_cast<float>(GunY(b, gun)), static_cast<float>(s.speed),
                  static_cast<float>(g_aimJitter + b.ringAngle + s.offset), BULLET_SMALL);
    }
}

// Spokes round the ship until the ring angle makes a full turn; the angle is left where the
// loop ended (about 6.288), and pattern B's fan goes on using it.
// The single ring has no left spokes.
void FireRingOfSpokes(BossFour& b, std::span<const Shot> right, std::span<const Shot> left) {
    b.ringAngle = 0;
    do {
        FireSpoke(b, RIGHT_RING_GUN, right);
        FireSpoke(b, LEFT_RING_GUN, left);
        b.ringAngle = static_cast<float>(b.ringAngle + SPOKE_STEP);
    } while (b.ringAngle < FULL_TURN);
}
void FireDoubleRing(BossFour& b) { FireRingOfSpokes(b, DOUBLE_RING_RIGHT, DOUBLE_RING_LEFT); }
void FireSingleRing(BossFour& b) { FireRingOfSpokes(b, SINGLE_RING, {}); }

void RunLargeGun(BossFour& b, const RoundValues& r) {
    if (TickReaches(b.largeGunTick, 1)) {
        PlayEnemyFireSound();
        FireUp(b, LARGE_GUN, r.largeGunSpeed, b.largeGunAngle, BULLET_LARGE);
        SpinClockwise(b.largeGunAngle, 0.16);
    }
    b.largeGunTick += 1;
}

// ---- the patterns

inline constexpr Shot TWIN_SPIRAL_ARM[] = {{2.0, 0}, {2.2, 0.2}, {2.4, 0.4}};

void PatternC(BossFour& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.twinSpiralTick, r.patternCTwinSpiralPeriod)) {
        for (const Shot& s : TWIN_SPIRAL_ARM) {
            FireUp(b, TWIN_SPIRAL_GUN, s.speed, b.spiralAngle1 + s.offset, BULLET_SMALL);
        }
        SpinClockwise(b.spiralAngle1, SPIRAL_STEP);
        for (const Shot& s : TWIN_SPIRAL_ARM) {
            FireUp(b, TWIN_SPIRAL_GUN, s.speed, b.spiralAngle2 - s.offset, BULLET_SMALL);
        }
        SpinAnticlockwise(b.spiralAngle2, SPIRAL_STEP);
    }
    b.twinSpiralTick += 1;
    if (TickReaches(b.ringTick, r.patternCRingPeriod)) FireDoubleRing(b);
    b.ringTick += 1;
    RunLargeGun(b, r);
}

inline constexpr double FAN_OFFSETS[] = {-0.2, -0.1, 0, 0.1, 0.2};

void PatternB(BossFour& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.patternBFanTick, r.patternBFanPeriod)) {
        PlayEnemyFireSound();
        for (GunOffset gun : {RIGHT_RING_GUN, LEFT_FAN_GUN}) {
            for (double d : FAN_OFFSETS) {
                FireAimed(static_cast<float>(GunX(b, gun)), static_cast<float>(GunY(b, gun)), 2.0f,
                          static_cast<float>(g_aimJitter + b.ringAngle + d), BULLET_LARGE);
            }
        }
    }
    b.patternBFanTick += 1;
    if (TickReaches(b.twinSpiralTick, 2)) {
        for (double v : r.patternBSpiralSpeeds) {
            if (v != 0) FireUp(b, TWIN_SPIRAL_GUN, v, b.spiralAngle1, BULLET_SMALL);
        }
        SpinClockwise(b.spiralAngle1, SPIRAL_STEP);
        for (double v : r.patternBSpiralSpeeds) {
            if (v != 0) FireUp(b, TWIN_SPIRAL_GUN, v, b.spiralAngle2, BULLET_SMALL);
        }
        SpinAnticlockwise(b.spiralAngle2, SPIRAL_STEP);
    }
    b.twinSpiralTick += 1;
    if (TickReaches(b.patternBRingTick, r.patternBRingPeriod)) FireDoubleRing(b);
    b.patternBRingTick += 1;
}

void PatternA(BossFour& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.patternASpiralTick, r.patternASpiralPeriod)) {
        FireUp(b, LEFT_RING_GUN, 2.0, b.spiralAngle1, BULLET_SMALL);
        SpinClockwise(b.spiralAngle1, SPIRAL_STEP);
        FireUp(b, LEFT_RING_GUN, 2.0, b.spiralAngle2, BULLET_SMALL);
        SpinAnticlockwise(b.spiralAngle2, SPIRAL_STEP);
    }
    b.patternASpiralTick += 1;
    if (TickReaches(b.ringTick, r.patternARingPeriod)) FireSingleRing(b);
    b.ringTick += 1;
    RunLargeGun(b, r);
}

// ---- the parts: the pods spread 2 pixels a frame each way, the cover plate slides 1 pixel.

inline constexpr int POD_STEP = 2;
inline constexpr int POD_OPEN = 45;     // open once the right pod is past this
inline constexpr int COVER_DOWN = 100;  // down once the cover is past this

void Pods(BossFour& b) {
    b.rightPodOffset += POD_STEP;
    b.leftPodOffset -= POD_STEP;
    if (b.rightPodOffset > POD_OPEN) {
        PlaySoundEffect(SoundEffect::BossAction);
        b.podsSwitch = 0;
    }
}

void Cover(BossFour& b) {
    b.coverOffset += 1;
    if (b.coverOffset > COVER_DOWN) {
        PlaySoundEffect(SoundEffect::BossAction);
        b.coverSwitch = 0;
    }
}

// ---- the pattern table, in the order the patterns run within a frame

enum PatternRow { PATTERN_C, PATTERN_B, PATTERN_A, PODS, COVER };
// clang-format off
inline constexpr Pattern<BossFour> PATTERNS[] = {
    {&BossFour::patternCSwitch, PatternC, {&BossFour::largeGunTick, &BossFour::ringTick, &BossFour::twinSpiralTick}, {&BossFour::largeGunAngle, &BossFour::ringAngle}},
    {&BossFour::patternBSwitch, PatternB, {&BossFour::patternBRingTick, &BossFour::twinSpiralTick, &BossFour::patternBFanTick}, {&BossFour::ringAngle, &BossFour::spiralAngle1, &BossFour::spiralAngle2}},
    {&BossFour::patternASwitch, PatternA, {&BossFour::largeGunTick, &BossFour::ringTick, &BossFour::patternASpiralTick}, {&BossFour::largeGunAngle, &BossFour::ringAngle, &BossFour::spiralAngle1, &BossFour::spiralAngle2}},
    {&BossFour::podsSwitch, Pods},
    {&BossFour::coverSwitch, Cover},
};
// clang-format on

// ---- the script, the same in both rounds

void Circle(BossFour& b) { b.circlingSwitch = 1; }
void Restart(BossFour& b) { b.scriptTimer = 39; }  // pattern A again at 40, after the increment

enum ActionRow { CIRCLE, RESTART };
inline constexpr Action<BossFour> ACTIONS[] = {Circle, Restart};

// clang-format off
inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {On(COVER)}},
    {11, 11, {On(PODS)}},
    {40, 40, {Do(CIRCLE), On(PATTERN_A)}},
    {440, 440, {Off(PATTERN_A)}},
    {540, 540, {On(PATTERN_B)}},
    {800, 800, {Off(PATTERN_B)}},
    {850, 850, {On(PATTERN_C)}},
    {1150, 1150, {Off(PATTERN_C)}},
    {1250, 1250, {Do(RESTART)}},
};
// clang-format on

void Frame(BossFour& b) {
    RunScriptFrame<BossFour>(b, SCRIPT, PATTERNS, ACTIONS);
    if (b.circlingSwitch != 0) Swing(b.x, b.y, b.circlingAngle, SWING);
}

}  // namespace

void UpdateBossFour() { RunDescendingBoss(g_bossFour, Frame); }

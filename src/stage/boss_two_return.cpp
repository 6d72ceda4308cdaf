// The second boss's second appearance, in stage 4: a longer script of aimed pairs with fans,
// wing fans with a cross, a double ring, aimed centre fans and showers of crosses and downward
// shots (one shower a pass in round 1, three in round 2). It stands still while it fires its
// pairs, its centre fans and its showers. Several fields of the record serve here under other
// names (boss_records.h).
#include "sound/sound.h"
#include "stage/boss_two_parts.h"

namespace boss_two {
namespace {

// Shower: after a short delay, pairs of large crosses from below both wings turning opposite ways;
// from the start, large shots straight down from four points under the hull.
inline constexpr double SHOWER_CROSS_SPEED = 6.0;
inline constexpr double SHOWER_CROSS_STEP = 0.67;

void Shower(BossTwo& b) {
    const RoundValues& r = Round();
    b.showerDelay += 1;
    if (b.showerDelay > r.showerDelay) {
        if (TickReaches(b.showerCrossTick, r.showerCrossTick)) {
            FireCross4(GunX(b, SHOWER_CROSS_LEFT), GunY(b, SHOWER_CROSS_LEFT), static_cast<float>(SHOWER_CROSS_SPEED),
                       b.showerAngle1, BULLET_LARGE);
            SpinClockwise(b.showerAngle1, SHOWER_CROSS_STEP);
            FireCross4(GunX(b, SHOWER_CROSS_RIGHT), GunY(b, SHOWER_CROSS_RIGHT), static_cast<float>(SHOWER_CROSS_SPEED),
                       b.showerAngle2, BULLET_LARGE);
            SpinAnticlockwise(b.showerAngle2, SHOWER_CROSS_STEP);
        }
        b.showerCrossTick += 1;
    }
    if (TickReaches(b.showerTick, r.showerDropTick)) {
        PlayEnemyFireSound();
        for (GunOffset gun : SHOWER_DROP_GUNS) FireDown(b, gun, r.showerDropSpeed, 0, BULLET_LARGE);
    }
    b.showerTick += 1;
}

// Centre fans: two bursts at a target captured when they start. Cycle 0-19: fans of eleven every
// fourth frame; cycle 30-99: a large aimed shot every few frames, with fans of ten until 39. The
// cycle does not wrap; the tick counts only inside the bursts.
inline constexpr int CENTRE_FANS_FIRST_END = 20;
inline constexpr int CENTRE_FANS_FIRST_TICK = 4;
inline constexpr double CENTRE_FANS_FIRST_OFFSETS[] = {-1.0, -0.8, -0.6, -0.4, -0.2, 0, 1.0, 0.8, 0.6, 0.4, 0.2};
inline constexpr double CENTRE_FANS_FIRST_SPEED = 2.0;
inline constexpr int CENTRE_FANS_TICK_RESET = 29;
inline constexpr int CENTRE_FANS_SECOND_START = 30, CENTRE_FANS_SECOND_LAST = 99;
inline constexpr int CENTRE_FANS_SECOND_FAN_END = 40;
inline constexpr double CENTRE_FANS_SECOND_OFFSETS[] = {-1.2, -0.9, -0.6, -0.3, -0.1, 0.1, 1.2, 0.9, 0.6, 0.3};
inline constexpr double CENTRE_FANS_SECOND_SPEED = 3.0;

void FireFanAtTarget(const BossTwo& b, std::span<const double> offsets, double speed) {
    const float x = static_cast<float>(GunX(b, CENTRE_GUN)), y = static_cast<float>(GunY(b, CENTRE_GUN));
    for (double d : offsets) {
        FireAtPoint(x, y, b.targetX, b.targetY, static_cast<float>(speed), static_cast<float>(d), BULLET_SMALL);
    }
}

void CentreFans(BossTwo& b) {
    const RoundValues& r = Round();
    const int c = b.centreFansCycle;
    int32_t& k = b.centreFansTick;
    if (c == 0) CaptureShipTarget(&b.targetX, &b.targetY);
    if (c < CENTRE_FANS_FIRST_END) {
        if (TickReaches(k, CENTRE_FANS_FIRST_TICK)) FireFanAtTarget(b, CENTRE_FANS_FIRST_OFFSETS, CENTRE_FANS_FIRST_SPEED);
        k += 1;
    }
    if (c == CENTRE_FANS_TICK_RESET) k = 0;
    if (c >= CENTRE_FANS_SECOND_START && c <= CENTRE_FANS_SECOND_LAST) {
        if (TickReaches(k, r.centreFansSecondTick)) {
            if (c < CENTRE_FANS_SECOND_FAN_END) {
                FireFanAtTarget(b, CENTRE_FANS_SECOND_OFFSETS, CENTRE_FANS_SECOND_SPEED);
            }
            PlayEnemyFireSound();
            // Straight at the ship: no aim jitter.
            FireAimed(static_cast<float>(GunX(b, CENTRE_LARGE_GUN)), static_cast<float>(GunY(b, CENTRE_LARGE_GUN)),
                      static_cast<float>(r.centreFansLargeSpeed), 0, BULLET_LARGE);
        }
        k += 1;
    }
    b.centreFansCycle += 1;
}

// Double ring: eighteen spokes of four shots from the centre gun, then a few frames later the same
// turned by 0.1 with the four shots shifted along the spoke.
inline constexpr double DOUBLE_RING_FIRST_OFFSETS[] = {-0.1, -0.05, 0, 0.05};
inline constexpr double DOUBLE_RING_SECOND_OFFSETS[] = {-0.05, 0, 0.05, 0.1};
inline constexpr double DOUBLE_RING_SPOKE_STEP = 0.36;
inline constexpr double DOUBLE_RING_TURN = 0.1;

void FireRingOfSpokes(BossTwo& b, std::span<const double> offsets) {
    const double speed = Round().doubleRingSpeed;
    for (b.ringStep = b.ringTurn; b.ringStep < FULL_TURN; b.ringStep = static_cast<float>(b.ringStep + DOUBLE_RING_SPOKE_STEP)) {
        for (double d : offsets) FireUp(b, CENTRE_GUN, speed, b.ringStep + d, BULLET_SMALL);
    }
}

void DoubleRing(BossTwo& b) {
    const RoundValues& r = Round();
    if (b.ringTick == 0) {
        FireRingOfSpokes(b, DOUBLE_RING_FIRST_OFFSETS);
        b.ringTurn = static_cast<float>(b.ringTurn + DOUBLE_RING_TURN);
    }
    if (b.ringTick == r.doubleRingSecondTick) {
        FireRingOfSpokes(b, DOUBLE_RING_SECOND_OFFSETS);
        b.ringTurn = 0;
    }
    if (b.ringTick == r.doubleRingLastTick) b.ringTick = -1;
    b.ringTick += 1;
}

// Wing: gapped fans from the left wing, then the right, every 61 frames; a cross from the centre
// turning anticlockwise.
inline constexpr int WING_CYCLE_LEFT = 0, WING_CYCLE_RIGHT = 30, WING_CYCLE_LAST = 60;

void Wing(BossTwo& b) {
    if (b.wingFanCycle == WING_CYCLE_LEFT) FireGappedFan(b, LEFT_WING);
    if (b.wingFanCycle == WING_CYCLE_RIGHT) FireGappedFan(b, RIGHT_WING);
    if (b.wingFanCycle == WING_CYCLE_LAST) b.wingFanCycle = -1;
    b.wingFanCycle += 1;
    if (TickReaches(b.crossTick, Round().wingCrossTick)) FireTurningCross(b, CENTRE_GUN, b.secondCrossAngle);
    b.crossTick += 1;
}

// Pairs: for the first 15 frames of each cycle the boss stands still and fires pairs of large
// shots at a target captured at the cycle's start. Beside them, all the time the switch is on:
// jittered aimed fans from the centre, and two mirrored large fans opening upward beside the hull.
inline constexpr int PAIR_FIRING_END = 15;
inline constexpr int PAIR_FIRE_TICK = 3;
inline constexpr double PAIR_FAN_OFFSETS[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};
inline constexpr double PAIR_FAN_SPEED = 3.0;
inline constexpr int MIRROR_FAN_TICK = 16;
inline constexpr double MIRROR_FAN_ANGLES[] = {-2.4, -2.2, -2.0, -1.8, -1.6, -1.2, -0.8, -0.4,
                                               2.4,  2.2,  2.0,  1.8,  1.6,  1.2,  0.8,  0.4};
inline constexpr double MIRROR_FAN_SPEED = 6.0;

void Pairs(BossTwo& b) {
    const RoundValues& r = Round();
    if (b.pairCycle == 0) CaptureShipTarget(&b.targetX, &b.targetY);
    if (b.pairCycle < PAIR_FIRING_END) {
        b.swaySwitch = 0;
        if (TickReaches(b.pairTick, PAIR_FIRE_TICK)) {
            PlayEnemyFireSound();
            for (GunOffset gun : PAIR_GUNS) {
                FireAtPoint(static_cast<float>(GunX(b, gun)), static_cast<float>(GunY(b, gun)), b.targetX, b.targetY,
                            static_cast<float>(r.pairSpeed), 0, BULLET_LARGE);
            }
        }
        b.pairTick += 1;
    }
    if (b.pairCycle == PAIR_FIRING_END) b.swaySwitch = 1;
    if (b.pairCycle == r.pairCycleLast) b.pairCycle = -1;
    b.pairCycle += 1;

    if (TickReaches(b.pairFanTick, r.pairFanTick)) {
        const float x = static_cast<float>(GunX(b, CENTRE_GUN)), y = static_cast<float>(GunY(b, CENTRE_GUN));
        for (double d : PAIR_FAN_OFFSETS) {
            FireAimed(x, y, static_cast<float>(PAIR_FAN_SPEED), static_cast<float>(g_aimJitter + d), BULLET_SMALL);
        }
    }
    b.pairFanTick += 1;

    if (TickReaches(b.mirrorFanTick, MIRROR_FAN_TICK)) {
        for (double angle : MIRROR_FAN_ANGLES) FireDown(b, CENTRE_LARGE_GUN, MIRROR_FAN_SPEED, angle, BULLET_LARGE);
    }
    b.mirrorFanTick += 1;
}

enum PatternRow { SHOWER, CENTRE_FANS, DOUBLE_RING, WING, PAIRS };
// clang-format off
inline constexpr Pattern<BossTwo> PATTERNS[] = {
    {&BossTwo::showerSwitch, Shower, {&BossTwo::showerTick, &BossTwo::showerCrossTick, &BossTwo::showerDelay}, {&BossTwo::showerAngle1, &BossTwo::showerAngle2}},
    {&BossTwo::centreFansSwitch, CentreFans, {&BossTwo::centreFansCycle, &BossTwo::centreFansTick}},
    {&BossTwo::ringSwitch, DoubleRing, {&BossTwo::ringTick}, {&BossTwo::ringStep, &BossTwo::ringTurn}},
    {&BossTwo::wingSwitch, Wing, {&BossTwo::crossTick, &BossTwo::wingFanCycle}, {&BossTwo::secondCrossAngle}},
    {&BossTwo::pairsSwitch, Pairs, {&BossTwo::mirrorFanTick, &BossTwo::pairFanTick, &BossTwo::pairCycle, &BossTwo::targetX, &BossTwo::targetY, &BossTwo::pairTick}},
};
// clang-format on

void StandStill(BossTwo& b) { b.swaySwitch = 0; }
void SwayAgain(BossTwo& b) { b.swaySwitch = 1; }
void Restart(BossTwo& b) { b.scriptTimer = -1; }

enum ActionRow { STAND_STILL, SWAY, RESTART };
inline constexpr Action<BossTwo> ACTIONS[] = {StandStill, SwayAgain, Restart};

// clang-format off
inline constexpr ScriptEvent SCRIPT[] = {
    {16, 16, {On(PAIRS)}},
    {240, 260, {Off(PAIRS)}},
    {300, 300, {On(WING)}},
    {480, 480, {Off(WING)}},
    {NEVER, 500, {On(SHOWER), Do(STAND_STILL)}},
    {NEVER, 525, {Off(SHOWER), Do(SWAY)}},
    {516, 536, {On(PAIRS)}},
    {740, 776, {Off(PAIRS)}},
    {800, 800, {On(WING)}},
    {980, 980, {Off(WING)}},
    {NEVER, 1000, {On(SHOWER), Do(STAND_STILL)}},
    {NEVER, 1025, {Off(SHOWER), Do(SWAY)}},
    {1050, 1080, {On(DOUBLE_RING)}},
    {1150, 1180, {On(CENTRE_FANS), Do(STAND_STILL), Off(DOUBLE_RING)}},
    {1250, 1280, {Off(CENTRE_FANS), Do(SWAY)}},
    {1320, 1300, {On(SHOWER), Do(STAND_STILL)}},
    {1350, 1330, {Off(SHOWER), Do(SWAY)}},
    {1400, 1370, {Do(RESTART)}},
};
// clang-format on

// Unlike the first appearance, the timer counts on after the patterns.
void Frame(BossTwo& b) { RunScriptFrame<BossTwo>(b, SCRIPT, PATTERNS, ACTIONS, TimerStep::AfterPatterns); }

}  // namespace

void ReturnFrame(BossTwo& b) { Frame(b); }

}  // namespace boss_two

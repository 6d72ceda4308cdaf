// The first boss, g_bossOne: a 128 x 112 hulk that ends stage 1 and comes back in stage 4. It
// descends for 66 frames, then sways slowly while a frame-counted script switches its bullet
// patterns on and off. The first appearance cycles through straight twin-pair shots, aimed and
// target fans, spiral sprays from its two side turrets, rotating crosses and, in a long third
// section, a ring emitter; the second appearance runs a twin spiral, wide fans, target fans and
// finally an opening and closing wall that lasts until it dies or its time runs out.
//
// Script events happen at fixed values of the script timer, before its increment; the
// patterns run after it. Killing the boss, scoring it, its time-out and its pictures belong to
// the collision pass.
#include <span>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/kind_shapes.h"

namespace {

// ---- motion: 66 frames at 2 pixels a frame, from y -112 to 20; then 20 pixels about x 38, 5
// about y 15.
inline constexpr BossMotion MOTION{66, 2, 0.05, 20, 38, 5, 15};

// ---- guns
inline constexpr GunOffset STRAIGHT_GUNS[] = {{49, 30}, {73, 30}, {49, 40}, {73, 40}};
inline constexpr GunOffset CENTRE_GUN{60, 44};
inline constexpr GunOffset LEFT_TURRET{25, 32};
inline constexpr GunOffset RIGHT_TURRET{97, 32};
inline constexpr GunOffset CROSS_2_RIGHT_GUN{95, 32};  // cross 2 fires its right half from here
// Second appearance.
inline constexpr GunOffset FAN_GUN{61, 44};
inline constexpr GunOffset TWIN_SPIRAL_1{59, 44};
inline constexpr GunOffset TWIN_SPIRAL_2{63, 44};
inline constexpr GunOffset FAN_PAIR_A{57, 44};
inline constexpr GunOffset FAN_PAIR_B{65, 44};
inline constexpr GunOffset WALL_GUN{60, 44};

// ---- what differs in round 2
struct RoundValues {
    // first appearance
    int spiral1Tick, spiral2Tick;
    std::span<const double> spiralSpeeds;
    double spiralStep;
    int cross3Interval;
    int ringInterval;
    // second appearance
    bool twinSpiralEveryFrame;  // else when its tick reaches 2
    std::span<const double> twinSpiralSpeeds;
    int sideGunHalf;  // side-gun cycle: left gun below it, right gun from it to 2 x half - 1
    int sideGunTick;
    double sideGunSpeed;
    int singleShotTick;
    int wallTick;
    double wallSpeed;
    double wallGaps[4];  // the fans' offsets beyond the spread, outer first
    double spreadStep;
    int openingVolleys;  // the spread grows while the volley count is at most this
    int closingVolley;   // the wall closes and starts over at this volley count
};
inline constexpr double SPEED_3[] = {3.0};
inline constexpr double SPEEDS_2_3[] = {2.0, 3.0};
inline constexpr double SPEEDS_4_3[] = {4.0, 3.0};

// clang-format off
inline constexpr RoundValues ROUND_1{
    .spiral1Tick = 2, .spiral2Tick = 1, .spiralSpeeds = SPEED_3, .spiralStep = 0.3,
    .cross3Interval = 6, .ringInterval = 14,
    .twinSpiralEveryFrame = false, .twinSpiralSpeeds = SPEED_3,
    .sideGunHalf = 15, .sideGunTick = 2, .sideGunSpeed = 4.0,
    .singleShotTick = 48,
    .wallTick = 3, .wallSpeed = 5.0, .wallGaps = {1.04, 0.74, 0.44, 0.14}, .spreadStep = 0.08,
    .openingVolleys = 9, .closingVolley = 20,
};
// clang-format on
// clang-format off
inline constexpr RoundValues ROUND_2{
    .spiral1Tick = 1, .spiral2Tick = 1, .spiralSpeeds = SPEEDS_2_3, .spiralStep = 0.4,
    .cross3Interval = 3, .ringInterval = 7,
    .twinSpiralEveryFrame = true, .twinSpiralSpeeds = SPEEDS_4_3,
    .sideGunHalf = 12, .sideGunTick = 1, .sideGunSpeed = 5.0,
    .singleShotTick = 40,
    .wallTick = 2, .wallSpeed = 6.0, .wallGaps = {1.0, 0.7, 0.4, 0.08}, .spreadStep = 0.1,
    .openingVolleys = 7, .closingVolley = 16,
};
// clang-format on

const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

inline constexpr double FAN_OFFSETS[] = {-0.6, -0.3, 0, 0.3, 0.6};

void CaptureTarget(BossOne& b) { CaptureShipTarget(&b.targetX, &b.targetY); }

// Five shots at the ship, fixed offsets (no jitter).
void FireAimedFanAt(const BossOne& b, double speed, int kind) {
    FireAimedFan(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), static_cast<float>(speed), 0, FAN_OFFSETS, kind);
}

// Five shots at the captured target.
void FireTargetFan(const BossOne& b, double speed, int kind) {
    FireAtPointFan(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), b.targetX, b.targetY, static_cast<float>(speed), FAN_OFFSETS, kind);
}

// ==== first appearance
namespace first {

// Spirals: a pair from both turrets for each speed, the left turning clockwise, the right
// anticlockwise. Spiral 1 and spiral 2 differ only in their pace.
void FireSpiral(BossOne& b, int fireTick) {
    const RoundValues& r = Round();
    if (TickReaches(b.spiralTick, fireTick)) {
        for (double speed : r.spiralSpeeds) {
            FireUp(b, LEFT_TURRET, speed, b.leftSpiralAngle, BULLET_SMALL);
            FireUp(b, RIGHT_TURRET, speed, b.rightSpiralAngle, BULLET_SMALL);
        }
        SpinClockwise(b.leftSpiralAngle, r.spiralStep);
        SpinAnticlockwise(b.rightSpiralAngle, r.spiralStep);
    }
    b.spiralTick += 1;
}
void Spiral1(BossOne& b) { FireSpiral(b, Round().spiral1Tick); }
void Spiral2(BossOne& b) { FireSpiral(b, Round().spiral2Tick); }

// Rotating crosses from the two turrets, a quarter of the ring every `interval` calls.
void ResetCrosses(BossOne&) {
    g_crossCounterA = 0;
    g_crossCounterB = 0;
}
void Cross1(BossOne& b) {
    FireRotatingCrossA(GunX(b, LEFT_TURRET), GunY(b, LEFT_TURRET), 1, 1, 0, BULLET_SMALL);
    FireRotatingCrossB(GunX(b, RIGHT_TURRET), GunY(b, RIGHT_TURRET), 1, 1, 1, BULLET_SMALL);
}
void Cross2(BossOne& b) {
    FireRotatingCrossA(GunX(b, LEFT_TURRET), GunY(b, LEFT_TURRET), 2, 1, 0, BULLET_LARGE);
    FireRotatingCrossB(GunX(b, CROSS_2_RIGHT_GUN), GunY(b, CROSS_2_RIGHT_GUN), 2, 1, 1, BULLET_LARGE);
}
void Cross3(BossOne& b) {
    const int interval = Round().cross3Interval;
    FireRotatingCrossA(GunX(b, LEFT_TURRET), GunY(b, LEFT_TURRET), 1, interval, 1, BULLET_SMALL);
    FireRotatingCrossB(GunX(b, RIGHT_TURRET), GunY(b, RIGHT_TURRET), 1, interval, 0, BULLET_SMALL);
}

// The ring emitter: the whole ring from the centre gun every few calls.
void StartRing(BossOne&) { g_ringCounter = 0; }
void Ring(BossOne& b) { FireRingEvery(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), 1, Round().ringInterval, BULLET_SMALL); }

enum PatternRow { SPIRAL_1, CROSS_1, CROSS_2, SPIRAL_2, CROSS_3, RING };
// clang-format off
inline constexpr Pattern<BossOne> PATTERNS[] = {
    {&BossOne::spiral1Switch, Spiral1, {&BossOne::spiralTick}, {&BossOne::leftSpiralAngle, &BossOne::rightSpiralAngle}},
    {&BossOne::cross1Switch, Cross1, {}, {}, ResetCrosses},
    {&BossOne::cross2Switch, Cross2, {}, {}, ResetCrosses},
    {&BossOne::spiral2Switch, Spiral2, {&BossOne::spiralTick}, {&BossOne::leftSpiralAngle, &BossOne::rightSpiralAngle}},
    {&BossOne::cross3Switch, Cross3, {}, {}, ResetCrosses},
    {&BossOne::ringSwitch, Ring, {}, {}, StartRing},
};
// clang-format on

void Straights(BossOne& b) {
    for (GunOffset g : STRAIGHT_GUNS) FireAimedStraight(GunX(b, g), GunY(b, g), 3, BULLET_SMALL);
}
void TargetFanSmall(BossOne& b) { FireTargetFan(b, 3.0, BULLET_SMALL); }
void TargetFanLarge(BossOne& b) { FireTargetFan(b, 4.0, BULLET_LARGE); }
void AimedFanSmall(BossOne& b) { FireAimedFanAt(b, 2.0, BULLET_SMALL); }
void AimedFanLarge(BossOne& b) { FireAimedFanAt(b, 3.0, BULLET_LARGE); }
void StandStill(BossOne& b) { b.swaySwitch = 0; }
void SwayAgain(BossOne& b) { b.swaySwitch = 1; }
// 0-340 plays twice: the first time round the timer restarts here.
void EndOfPass(BossOne& b) {
    if (b.secondPass == 0) b.scriptTimer = -1;
    b.secondPass = 1;
}
void Restart(BossOne& b) {
    b.scriptTimer = -1;
    b.secondPass = 0;
}

enum ActionRow {
    STRAIGHTS,
    CAPTURE,
    TARGET_FAN_SMALL,
    TARGET_FAN_LARGE,
    AIMED_FAN_SMALL,
    AIMED_FAN_LARGE,
    STAND_STILL,
    SWAY,
    END_OF_PASS,
    RESTART
};
inline constexpr Action<BossOne> ACTIONS[] = {Straights,     CaptureTarget, TargetFanSmall, TargetFanLarge, AimedFanSmall,
                                              AimedFanLarge, StandStill,    SwayAgain,      EndOfPass,      Restart};

inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {On(SPIRAL_1)}},
    {10, 10, {Do(STRAIGHTS)}},
    {30, 30, {Do(STRAIGHTS)}},
    {50, 50, {Do(STRAIGHTS)}},
    {70, 70, {Do(STRAIGHTS)}},
    {90, 90, {Do(STRAIGHTS)}},
    {110, 110, {Do(STRAIGHTS)}},
    {130, 130, {Do(STRAIGHTS)}},
    {NEVER, 145, {Do(CAPTURE), Do(TARGET_FAN_LARGE)}},
    {150, NEVER, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 150, {Do(TARGET_FAN_LARGE)}},
    {150, 150, {Do(STRAIGHTS)}},
    {160, 160, {Off(SPIRAL_1)}},
    {170, 170, {On(CROSS_1), Do(STAND_STILL), Do(CAPTURE), Do(TARGET_FAN_SMALL)}},
    {174, 174, {Do(TARGET_FAN_SMALL)}},
    {178, 178, {Do(TARGET_FAN_SMALL)}},
    {187, 187, {Off(CROSS_1)}},
    {NEVER, 190, {On(CROSS_2)}},
    {NEVER, 199, {Off(CROSS_2)}},
    {210, 210, {On(CROSS_2)}},
    {219, 219, {Off(CROSS_2), Do(SWAY)}},
    {220, 220, {On(SPIRAL_2)}},
    {230, NEVER, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 230, {Do(AIMED_FAN_SMALL)}},
    {NEVER, 240, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 250, {Do(AIMED_FAN_SMALL)}},
    {260, 260, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 270, {Do(AIMED_FAN_SMALL)}},
    {NEVER, 280, {Do(AIMED_FAN_LARGE)}},
    {290, NEVER, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 290, {Do(AIMED_FAN_SMALL)}},
    {NEVER, 300, {Do(AIMED_FAN_LARGE)}},
    {NEVER, 310, {Do(AIMED_FAN_SMALL)}},
    {320, 320, {Off(SPIRAL_2), Do(AIMED_FAN_LARGE)}},
    {340, 340, {Do(END_OF_PASS)}},
    {360, 360, {On(CROSS_3), On(RING)}},
    {560, 560, {Off(CROSS_3), Off(RING), Do(RESTART)}},
};

}  // namespace first

// ==== second appearance
namespace second {

// Target fans: two bursts per 61-frame cycle at a target captured at the start of each; the
// tick only counts inside the bursts.
inline constexpr int TARGET_FANS_FIRST_END = 20;     // first burst: cycle 0-19
inline constexpr int TARGET_FANS_SECOND_START = 30;  // second burst: cycle 30-50
inline constexpr int TARGET_FANS_SECOND_END = 50;
inline constexpr int TARGET_FANS_CYCLE_LAST = 60;
inline constexpr int TARGET_FANS_TICK = 3;
inline constexpr double TARGET_FAN_A_FIRST[] = {-0.6, -0.3, 0, 0.3, 0.6};
inline constexpr double TARGET_FAN_B_FIRST[] = {-0.5, -0.2, 0.1, 0.4, 0.7};
inline constexpr double TARGET_FAN_B_SECOND[] = {-0.4, -0.2, 0, 0.2, 0.4};
inline constexpr double TARGET_FAN_A_SECOND[] = {-0.3, -0.1, 0.1, 0.3, 0.5};

// Ten shots at the target from the fan pair, first gun first.
void FireTargetFanPair(const BossOne& b, GunOffset first, std::span<const double> firstOffsets, GunOffset second,
                       std::span<const double> secondOffsets) {
    FireAtPointFan(GunX(b, first), GunY(b, first), b.targetX, b.targetY, 3.0, firstOffsets, BULLET_SMALL);
    FireAtPointFan(GunX(b, second), GunY(b, second), b.targetX, b.targetY, 3.0, secondOffsets, BULLET_SMALL);
}

void TargetFans(BossOne& b) {
    const int cycle = b.targetFansCycle;
    if (cycle == 0) CaptureTarget(b);
    if (cycle < TARGET_FANS_FIRST_END) {
        if (TickReaches(b.targetFansTick, TARGET_FANS_TICK)) {
            FireTargetFanPair(b, FAN_PAIR_A, TARGET_FAN_A_FIRST, FAN_PAIR_B, TARGET_FAN_B_FIRST);
        }
        b.targetFansTick += 1;
    }
    if (cycle == TARGET_FANS_SECOND_START) CaptureTarget(b);
    if (cycle >= TARGET_FANS_SECOND_START && cycle <= TARGET_FANS_SECOND_END) {
        if (TickReaches(b.targetFansTick, TARGET_FANS_TICK)) {
            FireTargetFanPair(b, FAN_PAIR_B, TARGET_FAN_B_SECOND, FAN_PAIR_A, TARGET_FAN_A_SECOND);
        }
        b.targetFansTick += 1;
    }
    if (b.targetFansCycle > TARGET_FANS_CYCLE_LAST - 1) b.targetFansCycle = -1;
    b.targetFansCycle += 1;
}

// Wide fan: seven jittered shots at the ship every 12 frames.
inline constexpr int WIDE_FAN_TICK = 12;
inline constexpr double WIDE_FAN_OFFSETS[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};

void WideFan(BossOne& b) {
    if (TickReaches(b.fanTick, WIDE_FAN_TICK)) {
        FireAimedFan(GunX(b, FAN_GUN), GunY(b, FAN_GUN), 2.0, g_aimJitter, WIDE_FAN_OFFSETS, BULLET_SMALL);
    }
    b.fanTick += 1;
}

// Twin spiral: two spirals turning opposite ways from the middle, a pair for each speed. The
// angles turn only when they fire.
inline constexpr int TWIN_SPIRAL_TICK = 2;
inline constexpr double TWIN_SPIRAL_STEP = 0.15;

void TwinSpiral(BossOne& b) {
    const RoundValues& r = Round();
    const bool due = r.twinSpiralEveryFrame || TickReaches(b.twinSpiralTick, TWIN_SPIRAL_TICK);
    if (due) {
        b.twinSpiralTick = 0;
        for (double speed : r.twinSpiralSpeeds) {
            FireUp(b, TWIN_SPIRAL_1, speed, b.twinSpiralAngle1, BULLET_SMALL);
            FireUp(b, TWIN_SPIRAL_2, speed, b.twinSpiralAngle2, BULLET_SMALL);
        }
        SpinClockwise(b.twinSpiralAngle1, TWIN_SPIRAL_STEP);
        SpinAnticlockwise(b.twinSpiralAngle2, TWIN_SPIRAL_STEP);
    }
    b.twinSpiralTick += 1;
}

// The wall section, from script timer 1130 to the end, standing still: aimed singles from the
// side guns, a single shot from the fan gun now and then, and the wall itself.

// Aimed singles from the side guns at a target captured once per half-cycle: left gun in the
// first half, right gun in the second. The cycle restarts at 0 and is raised to 1 in the same
// frame, so after the first pass the left gun aims at the point captured for the right gun.
void FireSideGuns(BossOne& b, const RoundValues& r) {
    const int half = r.sideGunHalf;
    if (b.sideGunCycle == 0) CaptureTarget(b);
    if (b.sideGunCycle < half) {
        if (TickReaches(b.sideGunTick, r.sideGunTick)) {
            FireAtPoint(GunX(b, LEFT_TURRET), GunY(b, LEFT_TURRET), b.targetX, b.targetY, static_cast<float>(r.sideGunSpeed), 0,
                        BULLET_SMALL);
        }
        b.sideGunTick += 1;
    }
    if (b.sideGunCycle == half) CaptureTarget(b);
    if (b.sideGunCycle >= half && b.sideGunCycle < 2 * half) {
        if (TickReaches(b.sideGunTick, r.sideGunTick)) {
            FireAtPoint(GunX(b, RIGHT_TURRET), GunY(b, RIGHT_TURRET), b.targetX, b.targetY, static_cast<float>(r.sideGunSpeed), 0,
                        BULLET_SMALL);
        }
        b.sideGunTick += 1;
    }
    if (b.sideGunCycle > 2 * half - 1) b.sideGunCycle = 0;
    b.sideGunCycle += 1;
}

// Two mirrored fans of four around straight down with a gap in the middle; the gap widens for
// a number of volleys, then narrows, then the cycle starts over.
void FireWall(BossOne& b, const RoundValues& r) {
    if (TickReaches(b.wallTick, r.wallTick)) {
        PlayEnemyFireSound();
        const double s = b.wallSpread;
        const float speed = static_cast<float>(r.wallSpeed);
        const float x = static_cast<float>(GunX(b, WALL_GUN)), y = static_cast<float>(GunY(b, WALL_GUN));
        for (double gap : r.wallGaps) FireAtPoint(x, y, b.wallAimX, b.wallAimY, speed, -(s + gap), BULLET_LARGE);
        for (double gap : r.wallGaps) FireAtPoint(x, y, b.wallAimX, b.wallAimY, speed, s + gap, BULLET_LARGE);
        if (b.wallVolleyCount <= r.openingVolleys) {
            b.wallSpread = static_cast<float>(b.wallSpread + r.spreadStep);
        } else {
            b.wallSpread = static_cast<float>(b.wallSpread - r.spreadStep);
        }
        if (b.wallVolleyCount == r.closingVolley) {
            b.wallSpread = 0;
            b.wallVolleyCount = -1;
        }
        b.wallVolleyCount += 1;
    }
    b.wallTick += 1;
}

// The wall's switch reads 1 when the script starts it: the first frame fixes the aim one pixel
// below the wall gun (angle 0 is straight down) and sets it to 2.
void Wall(BossOne& b) {
    if (b.wallState == 1) {
        b.wallState = 2;
        b.wallAimX = GunX(b, WALL_GUN);
        b.wallAimY = GunY(b, WALL_GUN) + 1;
    }
    if (b.wallState != 2) return;
    const RoundValues& r = Round();
    FireSideGuns(b, r);
    if (TickReaches(b.singleShotTick, r.singleShotTick)) {
        FireAimed(GunX(b, FAN_GUN), GunY(b, FAN_GUN), 3.0, 0, BULLET_SMALL);
    }
    b.singleShotTick += 1;
    FireWall(b, r);
}

enum PatternRow { TARGET_FANS, WIDE_FAN, TWIN_SPIRAL, WALL };
// clang-format off
inline constexpr Pattern<BossOne> PATTERNS[] = {
    {&BossOne::targetFansSwitch, TargetFans, {&BossOne::targetFansCycle, &BossOne::targetFansTick, &BossOne::targetX, &BossOne::targetY}},
    {&BossOne::fanSwitch, WideFan, {&BossOne::fanTick}},
    {&BossOne::twinSpiralSwitch, TwinSpiral, {&BossOne::twinSpiralTick}, {&BossOne::twinSpiralAngle1, &BossOne::twinSpiralAngle2}},
    {&BossOne::wallState, Wall, {&BossOne::wallAimX, &BossOne::wallAimY, &BossOne::wallTick, &BossOne::wallVolleyCount, &BossOne::singleShotTick, &BossOne::targetX, &BossOne::targetY, &BossOne::sideGunCycle, &BossOne::sideGunTick}, {&BossOne::wallSpread}},
};
// clang-format on

void StandStill(BossOne& b) { b.swaySwitch = 0; }
void SwayAgain(BossOne& b) { b.swaySwitch = 1; }

enum ActionRow { STAND_STILL, SWAY };
inline constexpr Action<BossOne> ACTIONS[] = {StandStill, SwayAgain};

// The timer is never set back.
// clang-format off
inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {On(TWIN_SPIRAL), On(WIDE_FAN)}},
    {350, 350, {Do(STAND_STILL), Off(WIDE_FAN)}},
    {420, 420, {On(TARGET_FANS)}},
    {500, 500, {Off(TARGET_FANS), Do(SWAY), On(TWIN_SPIRAL), On(WIDE_FAN)}},
    {850, 850, {Do(STAND_STILL), Off(WIDE_FAN)}},
    {920, 920, {On(TARGET_FANS)}},
    {1010, 1010, {Do(SWAY), Off(TWIN_SPIRAL), Off(TARGET_FANS)}},
    {1130, 1130, {On(WALL), Do(STAND_STILL)}},
};
// clang-format on

}  // namespace second

// Both appearances: script events before the timer's increment, the patterns after it.
void AppearanceFrame(BossOne& b) {
    if (b.appearance == 1) {
        RunScriptFrame<BossOne>(b, second::SCRIPT, second::PATTERNS, second::ACTIONS);
    } else {
        RunScriptFrame<BossOne>(b, first::SCRIPT, first::PATTERNS, first::ACTIONS);
    }
}

}  // namespace

void UpdateBossOne() { RunSwayingBoss(g_bossOne, MOTION, AppearanceFrame); }

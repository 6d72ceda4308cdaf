// The first boss, g_bossOne: a 128 x 112 hulk that ends stage 1 and comes back in stage 4. It
// descends for 66 frames, then sways slowly while a frame-counted script switches its bullet
// patterns on and off. The first appearance cycles through straight twin-pair shots, aimed and
// target fans, spiral sprays from its two side turrets, rotating crosses and, in a long third
// section, a ring emitter; the second appearance runs a twin spiral, wide fans, target fans and
// finally an opening and closing wall that lasts until it dies or its time runs out.
//
// Script events happen at fixed values of the script timer, before its increment; the
// continuous patterns run after it, each while its switch is on. Killing the boss, scoring it,
// its time-out and its pictures belong to the collision pass.
#include <cmath>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_script.h"
#include "stage/kind_shapes.h"

namespace {

// ---- entry and sway
// 66 frames at 2 pixels a frame, from y -112 to 20; then 20 pixels about x 38, 5 about y 15.
inline constexpr BossMotion MOTION{66, 2, 0.05, 20, 38, 5, 15};

// ---- gun points, relative to x, y
struct GunPoint {
    int x, y;
};
inline constexpr GunPoint STRAIGHT_GUNS[] = {{49, 30}, {73, 30}, {49, 40}, {73, 40}};  // P1..P4
inline constexpr GunPoint CENTRE_GUN{60, 44};         // M
inline constexpr GunPoint LEFT_TURRET{25, 32};        // LT
inline constexpr GunPoint RIGHT_TURRET{97, 32};       // RT
inline constexpr GunPoint CROSS_2_RIGHT_GUN{95, 32};  // cross 2 fires its right half from here
// Second appearance.
inline constexpr GunPoint FAN_GUN{61, 44};        // F
inline constexpr GunPoint TWIN_SPIRAL_1{59, 44};  // S1
inline constexpr GunPoint TWIN_SPIRAL_2{63, 44};  // S2
inline constexpr GunPoint FAN_PAIR_A{57, 44};
inline constexpr GunPoint FAN_PAIR_B{65, 44};
inline constexpr GunPoint WALL_GUN{60, 44};  // W

float GunX(const BossOne& b, GunPoint g) { return static_cast<float>(b.x + g.x); }
float GunY(const BossOne& b, GunPoint g) { return static_cast<float>(b.y + g.y); }

// ---- shapes
inline constexpr double FAN_OFFSETS[] = {-0.6, -0.3, 0, 0.3, 0.6};
inline constexpr double SPIRAL_WRAP = 6.28;

void CaptureTarget(BossOne& b) { CaptureShipTarget(&b.targetX, &b.targetY); }

void FireStraights(const BossOne& b) {
    for (GunPoint g : STRAIGHT_GUNS) FireAimedStraight(GunX(b, g), GunY(b, g), 3, BULLET_SMALL);
}

// Five shots at the ship, fixed offsets (no jitter).
void FireAimedFanAt(const BossOne& b, double speed, int kind) {
    FireAimedFan(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), static_cast<float>(speed), 0, FAN_OFFSETS, kind);
}

// Five shots at the captured target.
void FireTargetFan(const BossOne& b, double speed, int kind) {
    FireAtPointFan(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), b.targetX, b.targetY, static_cast<float>(speed),
                   FAN_OFFSETS, kind);
}

// A shot from a gun point turned `angle` from straight up: the aim point is one pixel above.
void FireFromUp(const BossOne& b, GunPoint g, double speed, float angle) {
    FireAtPoint(GunX(b, g), GunY(b, g), b.x + g.x, b.y + g.y - 1, static_cast<float>(speed), angle, BULLET_SMALL);
}

// Angle steps of the spirals; the wrap is tested after the step.
void TurnClockwise(float& angle, double step) {
    angle = static_cast<float>(angle + step);
    if (angle >= SPIRAL_WRAP) angle = 0;
}
void TurnAnticlockwise(float& angle, double step) {
    angle = static_cast<float>(angle - step);
    if (angle <= -SPIRAL_WRAP) angle = 0;
}

void ResetCrosses() {
    g_crossCounterA = 0;
    g_crossCounterB = 0;
}

// ---- first appearance

void StartSpiral(BossOne& b, int32_t& spiralSwitch) {
    spiralSwitch = 1;
    b.leftSpiralAngle = 0;
    b.rightSpiralAngle = 0;
    b.spiralTick = 0;
}

// The script events of the first appearance; the round-2 rows fire denser.
void RunScriptEvent(BossOne& b) {
    const bool second = g_round == 2;
    switch (b.scriptTimer) {
        case 0:
            StartSpiral(b, b.spiral1Switch);
            break;
        case 10: case 30: case 50: case 70: case 90: case 110: case 130:
            FireStraights(b);
            break;
        case 145:
            if (second) {
                CaptureTarget(b);
                FireTargetFan(b, 4.0, BULLET_LARGE);
            }
            break;
        case 150:
            if (second) {
                FireTargetFan(b, 4.0, BULLET_LARGE);
            } else {
                FireAimedFanAt(b, 3.0, BULLET_LARGE);
            }
            FireStraights(b);
            break;
        case 160:
            b.spiral1Switch = 0;
            break;
        case 170:
            b.cross1Switch = 1;
            b.swaySwitch = 0;
            ResetCrosses();
            CaptureTarget(b);
            FireTargetFan(b, 3.0, BULLET_SMALL);
            break;
        case 174: case 178:
            FireTargetFan(b, 3.0, BULLET_SMALL);
            break;
        case 187:
            b.cross1Switch = 0;
            break;
        case 190:
            if (second) {
                b.cross2Switch = 1;
                ResetCrosses();
            }
            break;
        case 199:
            if (second) b.cross2Switch = 0;
            break;
        case 210:
            b.cross2Switch = 1;
            ResetCrosses();
            break;
        case 219:
            b.cross2Switch = 0;
            b.swaySwitch = 1;
            break;
        case 220:
            StartSpiral(b, b.spiral2Switch);
            break;
        case 230: case 250: case 270: case 290: case 310:
            // Round 1 fires only at 230 and 290 here (and at 260 below).
            if (second) {
                FireAimedFanAt(b, 2.0, BULLET_SMALL);
            } else if (b.scriptTimer == 230 || b.scriptTimer == 290) {
                FireAimedFanAt(b, 3.0, BULLET_LARGE);
            }
            break;
        case 240: case 260: case 280: case 300:
            if (second || b.scriptTimer == 260) FireAimedFanAt(b, 3.0, BULLET_LARGE);
            break;
        case 320:
            b.spiral2Switch = 0;
            FireAimedFanAt(b, 3.0, BULLET_LARGE);
            break;
        case 340:
            // 0-340 plays twice: the first time round the timer restarts here.
            if (b.secondPass == 0) b.scriptTimer = -1;
            b.secondPass = 1;
            break;
        case 360:
            ResetCrosses();
            g_ringCounter = 0;
            b.cross3Switch = 1;
            b.ringSwitch = 1;
            break;
        case 560:
            b.scriptTimer = -1;
            b.cross3Switch = 0;
            b.ringSwitch = 0;
            b.secondPass = 0;
            break;
        default:
            break;
    }
}

// Spray from both turrets: round 1 a pair at 3.0 every time the tick reaches `fireTick`; round 2
// two pairs (2.0, then 3.0) every frame, turning faster.
void FireSpiral(BossOne& b, int fireTick) {
    if (g_round == 2) {
        if (b.spiralTick == 1) {
            b.spiralTick = 0;
            FireFromUp(b, LEFT_TURRET, 2.0, b.leftSpiralAngle);
            FireFromUp(b, RIGHT_TURRET, 2.0, b.rightSpiralAngle);
            FireFromUp(b, LEFT_TURRET, 3.0, b.leftSpiralAngle);
            FireFromUp(b, RIGHT_TURRET, 3.0, b.rightSpiralAngle);
            TurnClockwise(b.leftSpiralAngle, 0.4);
            TurnAnticlockwise(b.rightSpiralAngle, 0.4);
        }
    } else if (b.spiralTick == fireTick) {
        b.spiralTick = 0;
        FireFromUp(b, LEFT_TURRET, 3.0, b.leftSpiralAngle);
        TurnClockwise(b.leftSpiralAngle, 0.3);
        FireFromUp(b, RIGHT_TURRET, 3.0, b.rightSpiralAngle);
        TurnAnticlockwise(b.rightSpiralAngle, 0.3);
    }
    b.spiralTick += 1;
}

void RunPatterns(BossOne& b) {
    const int lx = b.x + LEFT_TURRET.x, ly = b.y + LEFT_TURRET.y;
    const int rx = b.x + RIGHT_TURRET.x, ry = b.y + RIGHT_TURRET.y;
    if (b.spiral1Switch != 0) FireSpiral(b, 2);  // every second frame in round 1
    if (b.cross1Switch != 0) {
        FireRotatingCrossA(lx, ly, 1, 1, 0, BULLET_SMALL);
        FireRotatingCrossB(rx, ry, 1, 1, 1, BULLET_SMALL);
    }
    if (b.cross2Switch != 0) {
        FireRotatingCrossA(lx, ly, 2, 1, 0, BULLET_LARGE);
        FireRotatingCrossB(b.x + CROSS_2_RIGHT_GUN.x, b.y + CROSS_2_RIGHT_GUN.y, 2, 1, 1, BULLET_LARGE);
    }
    if (b.spiral2Switch != 0) FireSpiral(b, 1);  // every frame in round 1
    if (b.cross3Switch != 0) {
        const int interval = g_round == 2 ? 3 : 6;
        FireRotatingCrossA(lx, ly, 1, interval, 1, BULLET_SMALL);
        FireRotatingCrossB(rx, ry, 1, interval, 0, BULLET_SMALL);
    }
    if (b.ringSwitch != 0) {
        FireRingEvery(b.x + CENTRE_GUN.x, b.y + CENTRE_GUN.y, 1, g_round == 2 ? 7 : 14, BULLET_SMALL);
    }
}

// ---- second appearance

inline constexpr int TARGET_FANS_FIRST_END = 20;    // first half: cycle 0-19
inline constexpr int TARGET_FANS_SECOND_START = 30;  // second half: cycle 30-50
inline constexpr int TARGET_FANS_SECOND_END = 50;
inline constexpr int TARGET_FANS_CYCLE_LAST = 60;
inline constexpr double TARGET_FAN_A_FIRST[] = {-0.6, -0.3, 0, 0.3, 0.6};
inline constexpr double TARGET_FAN_B_FIRST[] = {-0.5, -0.2, 0.1, 0.4, 0.7};
inline constexpr double TARGET_FAN_B_SECOND[] = {-0.4, -0.2, 0, 0.2, 0.4};
inline constexpr double TARGET_FAN_A_SECOND[] = {-0.3, -0.1, 0.1, 0.3, 0.5};
inline constexpr double WIDE_FAN_OFFSETS[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};

// Per-round values of the wall section.
struct WallRound {
    int sideGunHalf;          // side-gun cycle: left gun below it, right gun from it to 2 x half - 1
    int sideGunAbove;         // side-gun tick fires when above this
    double sideGunSpeed;
    int singleShotAbove;      // single-shot tick fires when above this
    double wallSpeed;
    double wallGaps[4];       // the fans' offsets beyond the spread, outer first
    double spreadStep;
    int openingVolleys;       // the spread grows while the volley count is at most this
};
inline constexpr WallRound WALL_ROUND_1{15, 1, 4.0, 47, 5.0, {1.04, 0.74, 0.44, 0.14}, 0.08, 9};
inline constexpr WallRound WALL_ROUND_2{12, 0, 5.0, 39, 6.0, {1.0, 0.7, 0.4, 0.08}, 0.1, 7};

void StartTwinSpiralAndFan(BossOne& b) {
    b.twinSpiralSwitch = 1;
    b.twinSpiralTick = 0;
    b.twinSpiralAngle1 = 0;
    b.twinSpiralAngle2 = 0;
    b.fanSwitch = 1;
    b.fanTick = 0;
}

void StartTargetFans(BossOne& b) {
    b.targetFansSwitch = 1;
    b.targetFansCycle = 0;
    b.targetFansTick = 0;
    b.targetX = 0;
    b.targetY = 0;
}

// The script of the second appearance; the timer is never set back.
void RunSecondScriptEvent(BossOne& b) {
    switch (b.scriptTimer) {
        case 0:
            StartTwinSpiralAndFan(b);
            break;
        case 350: case 850:
            b.swaySwitch = 0;
            b.fanSwitch = 0;
            break;
        case 420: case 920:
            StartTargetFans(b);
            break;
        case 500:
            b.targetFansSwitch = 0;
            b.swaySwitch = 1;
            StartTwinSpiralAndFan(b);
            break;
        case 1010:
            b.swaySwitch = 1;
            b.twinSpiralSwitch = 0;
            b.targetFansSwitch = 0;
            break;
        case 1130:
            b.wallState = 1;
            b.swaySwitch = 0;
            b.wallAimX = 0;
            b.wallAimY = 0;
            b.wallTick = 0;
            b.wallVolleyCount = 0;
            b.singleShotTick = 0;
            b.targetX = 0;
            b.targetY = 0;
            b.sideGunCycle = 0;
            b.sideGunTick = 0;
            b.wallSpread = 0.0f;
            break;
        default:
            break;
    }
}

// Ten shots at the target from the fan pair, first gun first.
void FireTargetFanPair(const BossOne& b, GunPoint first, std::span<const double> firstOffsets, GunPoint second,
                       std::span<const double> secondOffsets) {
    FireAtPointFan(GunX(b, first), GunY(b, first), b.targetX, b.targetY, 3.0, firstOffsets, BULLET_SMALL);
    FireAtPointFan(GunX(b, second), GunY(b, second), b.targetX, b.targetY, 3.0, secondOffsets, BULLET_SMALL);
}

// Two bursts of target fans per 61-frame cycle; the tick only counts inside the bursts.
void FireTargetFans(BossOne& b) {
    const int cycle = b.targetFansCycle;
    if (cycle == 0) CaptureTarget(b);
    if (cycle < TARGET_FANS_FIRST_END) {
        if (b.targetFansTick > 2) {
            b.targetFansTick = 0;
            FireTargetFanPair(b, FAN_PAIR_A, TARGET_FAN_A_FIRST, FAN_PAIR_B, TARGET_FAN_B_FIRST);
        }
        b.targetFansTick += 1;
    }
    if (cycle == TARGET_FANS_SECOND_START) CaptureTarget(b);
    if (cycle >= TARGET_FANS_SECOND_START && cycle <= TARGET_FANS_SECOND_END) {
        if (b.targetFansTick > 2) {
            b.targetFansTick = 0;
            FireTargetFanPair(b, FAN_PAIR_B, TARGET_FAN_B_SECOND, FAN_PAIR_A, TARGET_FAN_A_SECOND);
        }
        b.targetFansTick += 1;
    }
    if (b.targetFansCycle > TARGET_FANS_CYCLE_LAST - 1) b.targetFansCycle = -1;
    b.targetFansCycle += 1;
}

// Seven jittered shots at the ship every 12 frames.
void FireWideFan(BossOne& b) {
    if (b.fanTick > 11) {
        b.fanTick = 0;
        FireAimedFan(GunX(b, FAN_GUN), GunY(b, FAN_GUN), 2.0, g_aimJitter, WIDE_FAN_OFFSETS, BULLET_SMALL);
    }
    b.fanTick += 1;
}

// Two spirals turning opposite ways from the middle: a pair every second frame in round 1, two
// pairs (4.0, then 3.0) every frame in round 2. The angles turn only when they fire.
void FireTwinSpiral(BossOne& b) {
    if (g_round == 2) {
        b.twinSpiralTick = 0;
        FireFromUp(b, TWIN_SPIRAL_1, 4.0, b.twinSpiralAngle1);
        FireFromUp(b, TWIN_SPIRAL_2, 4.0, b.twinSpiralAngle2);
        FireFromUp(b, TWIN_SPIRAL_1, 3.0, b.twinSpiralAngle1);
        FireFromUp(b, TWIN_SPIRAL_2, 3.0, b.twinSpiralAngle2);
        TurnClockwise(b.twinSpiralAngle1, 0.15);
        TurnAnticlockwise(b.twinSpiralAngle2, 0.15);
    } else if (b.twinSpiralTick > 1) {
        b.twinSpiralTick = 0;
        FireFromUp(b, TWIN_SPIRAL_1, 3.0, b.twinSpiralAngle1);
        FireFromUp(b, TWIN_SPIRAL_2, 3.0, b.twinSpiralAngle2);
        TurnClockwise(b.twinSpiralAngle1, 0.15);
        TurnAnticlockwise(b.twinSpiralAngle2, 0.15);
    }
    b.twinSpiralTick += 1;
}

// Aimed singles from the side guns at a target captured once per half-cycle: left gun in the
// first half, right gun in the second. The cycle restarts at 0 and is raised to 1 in the same
// frame, so after the first pass the left gun aims at the point captured for the right gun.
void FireSideGuns(BossOne& b, const WallRound& r) {
    const int half = r.sideGunHalf;
    if (b.sideGunCycle == 0) CaptureTarget(b);
    if (b.sideGunCycle < half) {
        if (b.sideGunTick > r.sideGunAbove) {
            b.sideGunTick = 0;
            FireAtPoint(GunX(b, LEFT_TURRET), GunY(b, LEFT_TURRET), b.targetX, b.targetY,
                        static_cast<float>(r.sideGunSpeed), 0, BULLET_SMALL);
        }
        b.sideGunTick += 1;
    }
    if (b.sideGunCycle == half) CaptureTarget(b);
    if (b.sideGunCycle >= half && b.sideGunCycle < 2 * half) {
        if (b.sideGunTick > r.sideGunAbove) {
            b.sideGunTick = 0;
            FireAtPoint(GunX(b, RIGHT_TURRET), GunY(b, RIGHT_TURRET), b.targetX, b.targetY,
                        static_cast<float>(r.sideGunSpeed), 0, BULLET_SMALL);
        }
        b.sideGunTick += 1;
    }
    if (b.sideGunCycle > 2 * half - 1) b.sideGunCycle = 0;
    b.sideGunCycle += 1;
}

// Two mirrored fans of four around straight down with a gap in the middle; the gap widens for
// a number of volleys, then narrows, then the cycle starts over.
void FireWall(BossOne& b, const WallRound& r) {
    const bool due = g_round == 2 ? b.wallTick > 1 : b.wallTick == 3;
    if (due) {
        PlayEnemyFireSound();
        b.wallTick = 0;
        const double s = b.wallSpread;
        const float speed = static_cast<float>(r.wallSpeed);
        for (double gap : r.wallGaps) {
            FireAtPoint(GunX(b, WALL_GUN), GunY(b, WALL_GUN), b.wallAimX, b.wallAimY, speed, -(s + gap), BULLET_LARGE);
        }
        for (double gap : r.wallGaps) {
            FireAtPoint(GunX(b, WALL_GUN), GunY(b, WALL_GUN), b.wallAimX, b.wallAimY, speed, s + gap, BULLET_LARGE);
        }
        if (b.wallVolleyCount <= r.openingVolleys) {
            b.wallSpread = static_cast<float>(b.wallSpread + r.spreadStep);
        } else {
            b.wallSpread = static_cast<float>(b.wallSpread - r.spreadStep);
        }
        const bool closed = g_round == 2 ? b.wallVolleyCount == 16 : b.wallVolleyCount > 19;
        if (closed) {
            b.wallSpread = 0;
            b.wallVolleyCount = -1;
        }
        b.wallVolleyCount += 1;
    }
    b.wallTick += 1;
}

// The wall section: from script timer 1130 to the end, standing still.
void RunWallSection(BossOne& b) {
    if (b.wallState == 1) {
        b.wallState = 2;
        b.wallAimX = b.x + WALL_GUN.x;  // one pixel below the wall gun: angle 0 is straight down
        b.wallAimY = b.y + WALL_GUN.y + 1;
    }
    if (b.wallState != 2) return;
    const WallRound& r = g_round == 2 ? WALL_ROUND_2 : WALL_ROUND_1;
    FireSideGuns(b, r);
    if (b.singleShotTick > r.singleShotAbove) {
        b.singleShotTick = 0;
        FireAimed(GunX(b, FAN_GUN), GunY(b, FAN_GUN), 3.0, 0, BULLET_SMALL);
    }
    b.singleShotTick += 1;
    FireWall(b, r);
}

void RunSecondAppearance(BossOne& b) {
    RunSecondScriptEvent(b);
    b.scriptTimer += 1;
    if (b.targetFansSwitch != 0) FireTargetFans(b);
    if (b.fanSwitch != 0) FireWideFan(b);
    if (b.twinSpiralSwitch != 0) FireTwinSpiral(b);
    if (b.wallState != 0) RunWallSection(b);
}

}  // namespace

void UpdateBossOne() {
    BossOne& b = g_bossOne;
    if (b.alive != 1) return;
    if (Enter(b.y, b.entryCounter, MOTION)) return;
    if (b.swaySwitch == 1) Sway(b.x, b.y, b.swayAngle, MOTION);
    if (b.appearance == 1) {
        RunSecondAppearance(b);
    } else {
        RunScriptEvent(b);
        b.scriptTimer += 1;
        RunPatterns(b);
    }
    b.entryCounter += 1;
}

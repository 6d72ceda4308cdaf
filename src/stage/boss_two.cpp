// The second boss, g_bossTwo: a 128 x 112 ship with a gun in each wing and one in the centre. It
// ends stage 2 and comes back in stage 4. It descends for 65 frames, then sways while a
// frame-counted script switches its patterns on and off.
//
// The first appearance alternates a slowly turning centre spray, fans with gaps from the wings,
// wing sprays with an aimed centre fan, and, on every second pass of its script, ring bursts
// followed by a rotating cross and a wide wing fan. The second appearance runs a longer script
// of aimed pairs with fans, wing fans with a cross, a double ring, aimed centre fans and showers
// of crosses and downward shots (one shower a pass in round 1, three in round 2); it stands still
// while it fires its pairs, its centre fans and its showers. Killing it, scoring it, its time-out
// and its pictures belong to the collision pass.
#include <span>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

// ---- motion: 65 frames at 2 pixels a frame, from y -112 to 18; then 20 pixels about x 38, 2
// about y 15.
inline constexpr BossMotion MOTION{65, 2, 0.05, 20, 38, 2, 15};

// ---- guns
inline constexpr GunOffset LEFT_WING{16, 81};
inline constexpr GunOffset RIGHT_WING{106, 81};
inline constexpr GunOffset CENTRE_GUN{61, 72};
inline constexpr GunOffset CENTRE_LARGE_GUN{60, 72};  // the centre fans' large shots, the mirrored fans
inline constexpr GunOffset PAIR_GUNS[] = {{50, 72}, {70, 72}};
inline constexpr GunOffset SHOWER_CROSS_LEFT{29, 85};
inline constexpr GunOffset SHOWER_CROSS_RIGHT{93, 85};
inline constexpr GunOffset SHOWER_DROP_GUNS[] = {{40, 102}, {82, 102}, {16, 102}, {105, 102}};

// ---- what differs in round 2
struct RoundValues {
    // first appearance
    int gappedFanPasses;
    int ringBurstGroups;
    int sprayTick;
    double sprayBaseStep;
    bool sprayWanders;  // the spray turned by the aim jitter
    std::span<const double> wingSpraySpeeds;
    double wingSprayStep;
    int centreFanTick;
    std::span<const double> centreFanSpeeds;
    int crossTick;
    std::span<const double> wingFanSpeeds;
    std::span<const double> wingFanOffsets;
    // second appearance
    int showerDelay;      // crosses once the delay is past this
    int showerCrossTick;  // the crosses' tick fires when it reaches this
    int showerDropTick;
    double showerDropSpeed;
    int centreFansSecondTick;
    double centreFansLargeSpeed;
    int doubleRingSecondTick, doubleRingLastTick;
    double doubleRingSpeed;
    int wingCrossTick;
    int pairCycleLast;
    double pairSpeed;
    int pairFanTick;
};

inline constexpr double SPEED_2[] = {2.0};
inline constexpr double SPEED_3[] = {3.0};
inline constexpr double SPEEDS_2_3[] = {2.0, 3.0};
inline constexpr double SPEEDS_3_2[] = {3.0, 2.0};
inline constexpr double SPEEDS_5_4[] = {5.0, 4.0};
inline constexpr double WING_FAN_OFFSETS_ROUND_1[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};
inline constexpr double WING_FAN_OFFSETS_ROUND_2[] = {-1.2, -1.0, -0.8, -0.6, -0.4, -0.2, 0,
                                                      0.2,  0.4,  0.6,  0.8,  1.0,  1.2};

inline constexpr RoundValues ROUND_1{
    .gappedFanPasses = 2, .ringBurstGroups = 2,
    .sprayTick = 10, .sprayBaseStep = 0.08, .sprayWanders = false,
    .wingSpraySpeeds = SPEED_3, .wingSprayStep = 0.6,
    .centreFanTick = 40, .centreFanSpeeds = SPEED_3,
    .crossTick = 3,
    .wingFanSpeeds = SPEED_2, .wingFanOffsets = WING_FAN_OFFSETS_ROUND_1,
    .showerDelay = 10, .showerCrossTick = 2, .showerDropTick = 3, .showerDropSpeed = 5.0,
    .centreFansSecondTick = 3, .centreFansLargeSpeed = 5.0,
    .doubleRingSecondTick = 8, .doubleRingLastTick = 16, .doubleRingSpeed = 3.0,
    .wingCrossTick = 4,
    .pairCycleLast = 40, .pairSpeed = 4.0, .pairFanTick = 8,
};
inline constexpr RoundValues ROUND_2{
    .gappedFanPasses = 3, .ringBurstGroups = 3,
    .sprayTick = 6, .sprayBaseStep = 0.05, .sprayWanders = true,
    .wingSpraySpeeds = SPEEDS_3_2, .wingSprayStep = 0.5,
    .centreFanTick = 15, .centreFanSpeeds = SPEEDS_5_4,
    .crossTick = 2,
    .wingFanSpeeds = SPEEDS_2_3, .wingFanOffsets = WING_FAN_OFFSETS_ROUND_2,
    .showerDelay = 5, .showerCrossTick = 1, .showerDropTick = 2, .showerDropSpeed = 6.0,
    .centreFansSecondTick = 2, .centreFansLargeSpeed = 6.0,
    .doubleRingSecondTick = 7, .doubleRingLastTick = 14, .doubleRingSpeed = 4.0,
    .wingCrossTick = 2,
    .pairCycleLast = 30, .pairSpeed = 5.0, .pairFanTick = 6,
};

const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

// ---- volleys both appearances fire

// Fans with gaps: up to three passes of aimed shots, each faster than the one before, that
// leave lanes open: pass 0 has gaps beside the aim line, pass 1 a gap on it, pass 2 both.
inline constexpr int IN_PASS_0 = 1, IN_PASS_1 = 2, IN_PASS_2 = 4;
inline constexpr int IN_EVERY_PASS = IN_PASS_0 | IN_PASS_1 | IN_PASS_2;
struct FanLane {
    double offset;
    int passes;  // IN_PASS_* bits
};
inline constexpr FanLane GAPPED_FAN_LANES[] = {
    {-0.6, IN_EVERY_PASS}, {-0.5, IN_EVERY_PASS}, {-0.4, IN_EVERY_PASS}, {-0.3, IN_PASS_1}, {-0.2, IN_PASS_1},
    {-0.1, IN_EVERY_PASS}, {0, IN_PASS_0},        {0.1, IN_EVERY_PASS},  {0.2, IN_PASS_1},  {0.3, IN_PASS_1},
    {0.4, IN_EVERY_PASS},  {0.5, IN_EVERY_PASS},  {0.6, IN_EVERY_PASS},
};
inline constexpr double GAPPED_FAN_FIRST_SPEED = 2.0;  // each pass one faster

void FireGappedFanPass(const BossTwo& b, GunOffset gun, int pass) {
    const float x = static_cast<float>(GunX(b, gun)), y = static_cast<float>(GunY(b, gun));
    const float speed = static_cast<float>(GAPPED_FAN_FIRST_SPEED + pass);
    for (const FanLane& lane : GAPPED_FAN_LANES) {
        if ((lane.passes & (1 << pass)) != 0) FireAimed(x, y, speed, static_cast<float>(lane.offset), BULLET_SMALL);
    }
}

// Every pass from one wing gun.
void FireGappedFan(const BossTwo& b, GunOffset gun) {
    for (int pass = 0; pass < Round().gappedFanPasses; ++pass) FireGappedFanPass(b, gun, pass);
}

// Four shots from a gun, turning anticlockwise a step a volley.
inline constexpr double CROSS_SPEED = 2.0;
inline constexpr double CROSS_STEP = 0.2;

void FireTurningCross(const BossTwo& b, GunOffset gun, float& angle) {
    FireCross4(GunX(b, gun), GunY(b, gun), static_cast<float>(CROSS_SPEED), angle, BULLET_SMALL);
    SpinAnticlockwise(angle, CROSS_STEP);
}

// ==== first appearance
namespace first {

// Centre spray: a full turn of single shots from the centre gun, starting a little further round
// each volley.
inline constexpr double SPRAY_SPEED = 3.0;
inline constexpr double SPRAY_SPOKE_STEP = 0.18;
inline constexpr double SPRAY_BASE_LIMIT = 0.2;

void Spray(BossTwo& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.sprayTick, r.sprayTick)) {
        for (b.sprayAngle = b.sprayBase; b.sprayAngle < FULL_TURN;
             b.sprayAngle = static_cast<float>(b.sprayAngle + SPRAY_SPOKE_STEP)) {
            const float angle = r.sprayWanders ? g_aimJitter + b.sprayAngle : b.sprayAngle;
            FireUp(b, CENTRE_GUN, SPRAY_SPEED, angle, BULLET_SMALL);
        }
        b.sprayBase = static_cast<float>(b.sprayBase + r.sprayBaseStep);
        if (b.sprayBase >= SPRAY_BASE_LIMIT) b.sprayBase = 0;
    }
    b.sprayTick += 1;
}

// Wing sprays: three shots from each wing, the two sprays turning opposite ways; left, right,
// left, right, left, right, once per speed.
inline constexpr int WING_SPRAY_TICK = 2;
inline constexpr double WING_SPRAY_OFFSETS[] = {-0.05, 0, 0.05};

void StartWingSprays(BossTwo& b) {
    b.wingSprayTick = 0;
    b.leftWingSprayAngle = 0;
    b.rightWingSprayAngle = 0;
}

void WingSprays(BossTwo& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.wingSprayTick, WING_SPRAY_TICK)) {
        for (double speed : r.wingSpraySpeeds) {
            for (double d : WING_SPRAY_OFFSETS) {
                FireUp(b, LEFT_WING, speed, b.leftWingSprayAngle + d, BULLET_SMALL);
                FireUp(b, RIGHT_WING, speed, b.rightWingSprayAngle + d, BULLET_SMALL);
            }
        }
        SpinClockwise(b.leftWingSprayAngle, r.wingSprayStep);
        SpinAnticlockwise(b.rightWingSprayAngle, r.wingSprayStep);
    }
    b.wingSprayTick += 1;
}

// Centre fan: nine large shots at the ship, once per speed.
inline constexpr double CENTRE_FAN_OFFSETS[] = {-0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8};

void StartCentreFan(BossTwo& b) { b.centreFanTick = 0; }

void CentreFan(BossTwo& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.centreFanTick, r.centreFanTick)) {
        const float x = static_cast<float>(GunX(b, CENTRE_GUN)), y = static_cast<float>(GunY(b, CENTRE_GUN));
        for (double speed : r.centreFanSpeeds) {
            for (double d : CENTRE_FAN_OFFSETS) FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_LARGE);
        }
    }
    b.centreFanTick += 1;
}

// Cross: from the right wing.
void StartCross(BossTwo& b) {
    b.crossTick = 0;
    b.crossAngle = 0;
}

void Cross(BossTwo& b) {
    if (TickReaches(b.crossTick, Round().crossTick)) FireTurningCross(b, RIGHT_WING, b.crossAngle);
    b.crossTick += 1;
}

// Wing fan: aimed shots from the left wing, wider and doubled in round 2.
inline constexpr int WING_FAN_TICK = 20;

void StartWingFan(BossTwo& b) { b.wingFanTick = 0; }

void WingFan(BossTwo& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.wingFanTick, WING_FAN_TICK)) {
        const float x = static_cast<float>(GunX(b, LEFT_WING)), y = static_cast<float>(GunY(b, LEFT_WING));
        for (double speed : r.wingFanSpeeds) {
            for (double d : r.wingFanOffsets) FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_SMALL);
        }
    }
    b.wingFanTick += 1;
}

enum PatternRow { SPRAY, WING_SPRAYS, CENTRE_FAN, CROSS, WING_FAN };
inline constexpr Pattern<BossTwo> PATTERNS[] = {
    {&BossTwo::spraySwitch, ClearsNothing<BossTwo>, Spray},
    {&BossTwo::wingSpraySwitch, StartWingSprays, WingSprays},
    {&BossTwo::centreFanSwitch, StartCentreFan, CentreFan},
    {&BossTwo::crossSwitch, StartCross, Cross},
    {&BossTwo::wingFanSwitch, StartWingFan, WingFan},
};

// Ring bursts: groups of five eight-way rings from both wings, a third group in round 2.
struct RingGroup {
    int speed;
    std::span<const double> turns;
};
inline constexpr RingGroup RING_BURST[] = {{2, RING_GROUP_A}, {3, RING_GROUP_B}, {4, RING_GROUP_A}};

void FireRingBurst(const BossTwo& b, GunOffset gun) {
    for (int i = 0; i < Round().ringBurstGroups; ++i) {
        for (double d : RING_BURST[i].turns) {
            FireRing8(GunX(b, gun), GunY(b, gun), RING_BURST[i].speed, static_cast<float>(d), BULLET_SMALL);
        }
    }
}

void LeftGappedFan(BossTwo& b) { FireGappedFan(b, LEFT_WING); }
void RightGappedFan(BossTwo& b) { FireGappedFan(b, RIGHT_WING); }
// Both wings, pass by pass.
void GappedFansFromBothWings(BossTwo& b) {
    for (int pass = 0; pass < Round().gappedFanPasses; ++pass) {
        FireGappedFanPass(b, LEFT_WING, pass);
        FireGappedFanPass(b, RIGHT_WING, pass);
    }
}
// The first pass of the script ends here; the second fires the ring bursts and goes on to the
// cross section.
void EndOfPass(BossTwo& b) {
    if (b.passCount == 0) {
        b.scriptTimer = -1;
    } else if (b.passCount == 1) {
        FireRingBurst(b, LEFT_WING);
        FireRingBurst(b, RIGHT_WING);
    }
    b.passCount += 1;
}
void Restart(BossTwo& b) {
    b.passCount = 0;
    b.scriptTimer = -1;
}

enum ActionRow { LEFT_GAPPED_FAN, RIGHT_GAPPED_FAN, BOTH_GAPPED_FANS, END_OF_PASS, RESTART };
inline constexpr Action<BossTwo> ACTIONS[] = {LeftGappedFan, RightGappedFan, GappedFansFromBothWings, EndOfPass,
                                              Restart};

inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, ON, SPRAY},
    {200, 200, OFF, SPRAY},
    {220, 220, DO, LEFT_GAPPED_FAN},
    {NEVER, 235, DO, RIGHT_GAPPED_FAN},
    {250, NEVER, DO, RIGHT_GAPPED_FAN},
    {NEVER, 250, DO, LEFT_GAPPED_FAN},
    {NEVER, 265, DO, RIGHT_GAPPED_FAN},
    {290, 290, ON, WING_SPRAYS},
    {290, 290, ON, CENTRE_FAN},
    {450, 450, OFF, WING_SPRAYS},
    {450, 450, OFF, CENTRE_FAN},
    {490, 490, DO, BOTH_GAPPED_FANS},
    {550, 550, DO, END_OF_PASS},
    {620, 620, ON, CROSS},
    {620, 620, ON, WING_FAN},
    {800, 800, OFF, CROSS},
    {800, 800, OFF, WING_FAN},
    {850, 850, DO, RESTART},
};

// Script events before the timer's increment, the patterns after it.
void Frame(BossTwo& b) {
    RunScript<BossTwo>(b, b.scriptTimer, SCRIPT, PATTERNS, ACTIONS);
    b.scriptTimer += 1;
    RunPatterns<BossTwo>(b, PATTERNS);
}

}  // namespace first

// ==== second appearance
namespace second {

// Shower: after a short delay, pairs of large crosses from below both wings turning opposite ways;
// from the start, large shots straight down from four points under the hull.
inline constexpr double SHOWER_CROSS_SPEED = 6.0;
inline constexpr double SHOWER_CROSS_STEP = 0.67;

void StartShower(BossTwo& b) {
    b.showerTick = 0;
    b.showerCrossTick = 0;
    b.showerDelay = 0;
    b.showerAngle1 = 0;
    b.showerAngle2 = 0;
}

void Shower(BossTwo& b) {
    const RoundValues& r = Round();
    b.showerDelay += 1;
    if (b.showerDelay > r.showerDelay) {
        if (TickReaches(b.showerCrossTick, r.showerCrossTick)) {
            FireCross4(GunX(b, SHOWER_CROSS_LEFT), GunY(b, SHOWER_CROSS_LEFT), static_cast<float>(SHOWER_CROSS_SPEED),
                       b.showerAngle1, BULLET_LARGE);
            SpinClockwise(b.showerAngle1, SHOWER_CROSS_STEP);
            FireCross4(GunX(b, SHOWER_CROSS_RIGHT), GunY(b, SHOWER_CROSS_RIGHT),
                       static_cast<float>(SHOWER_CROSS_SPEED), b.showerAngle2, BULLET_LARGE);
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

void StartCentreFans(BossTwo& b) {
    b.centreFansCycle = 0;
    b.centreFansTick = 0;
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
    for (b.ringStep = b.ringTurn; b.ringStep < FULL_TURN;
         b.ringStep = static_cast<float>(b.ringStep + DOUBLE_RING_SPOKE_STEP)) {
        for (double d : offsets) FireUp(b, CENTRE_GUN, speed, b.ringStep + d, BULLET_SMALL);
    }
}

void StartDoubleRing(BossTwo& b) {
    b.ringTick = 0;
    b.ringStep = 0;
    b.ringTurn = 0;
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

void StartWing(BossTwo& b) {
    b.crossTick = 0;
    b.wingFanCycle = 0;
    b.secondCrossAngle = 0;
}

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

void StartPairs(BossTwo& b) {
    b.mirrorFanTick = 0;
    b.pairFanTick = 0;
    b.pairCycle = 0;
    b.targetX = 0;
    b.targetY = 0;
    b.pairTick = 0;
}

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
inline constexpr Pattern<BossTwo> PATTERNS[] = {
    {&BossTwo::showerSwitch, StartShower, Shower},
    {&BossTwo::centreFansSwitch, StartCentreFans, CentreFans},
    {&BossTwo::ringSwitch, StartDoubleRing, DoubleRing},
    {&BossTwo::wingSwitch, StartWing, Wing},
    {&BossTwo::pairsSwitch, StartPairs, Pairs},
};

void StandStill(BossTwo& b) { b.swaySwitch = 0; }
void SwayAgain(BossTwo& b) { b.swaySwitch = 1; }
void Restart(BossTwo& b) { b.scriptTimer = -1; }

enum ActionRow { STAND_STILL, SWAY, RESTART };
inline constexpr Action<BossTwo> ACTIONS[] = {StandStill, SwayAgain, Restart};

inline constexpr ScriptEvent SCRIPT[] = {
    {16, 16, ON, PAIRS},
    {240, 260, OFF, PAIRS},
    {300, 300, ON, WING},
    {480, 480, OFF, WING},
    {NEVER, 500, ON, SHOWER},
    {NEVER, 500, DO, STAND_STILL},
    {NEVER, 525, OFF, SHOWER},
    {NEVER, 525, DO, SWAY},
    {516, 536, ON, PAIRS},
    {740, 776, OFF, PAIRS},
    {800, 800, ON, WING},
    {980, 980, OFF, WING},
    {NEVER, 1000, ON, SHOWER},
    {NEVER, 1000, DO, STAND_STILL},
    {NEVER, 1025, OFF, SHOWER},
    {NEVER, 1025, DO, SWAY},
    {1050, 1080, ON, DOUBLE_RING},
    {1150, 1180, ON, CENTRE_FANS},
    {1150, 1180, DO, STAND_STILL},
    {1150, 1180, OFF, DOUBLE_RING},
    {1250, 1280, OFF, CENTRE_FANS},
    {1250, 1280, DO, SWAY},
    {1320, 1300, ON, SHOWER},
    {1320, 1300, DO, STAND_STILL},
    {1350, 1330, OFF, SHOWER},
    {1350, 1330, DO, SWAY},
    {1400, 1370, DO, RESTART},
};

// Unlike the first appearance, the timer counts on after the patterns.
void Frame(BossTwo& b) {
    RunScript<BossTwo>(b, b.scriptTimer, SCRIPT, PATTERNS, ACTIONS);
    RunPatterns<BossTwo>(b, PATTERNS);
    b.scriptTimer += 1;
}

}  // namespace second

void AppearanceFrame(BossTwo& b) {
    if (b.appearance == 1) {
        second::Frame(b);
    } else {
        first::Frame(b);
    }
}

}  // namespace

void UpdateBossTwo() { RunSwayingBoss(g_bossTwo, MOTION, AppearanceFrame); }

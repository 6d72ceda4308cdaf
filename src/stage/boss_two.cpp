// The second boss, g_bossTwo: a 128 x 112 ship with a gun in each wing and one in the centre. It
// ends stage 2 and comes back in stage 4. It descends for 65 frames, then sways while a
// frame-counted script switches its patterns on and off.
//
// The first appearance alternates a slowly turning centre spray, fans with gaps from the wings,
// wing sprays with an aimed centre fan, and, on every second pass of its script, ring bursts
// followed by a rotating cross and a wide wing fan. The second appearance runs a longer script
// of aimed pairs with fans, wing fans with a cross, a double ring, aimed centre fans and, in the
// second round, showers of crosses and downward shots; it stands still while it fires its pairs,
// its centre fans and its showers. Killing it, scoring it, its time-out and its pictures belong
// to the collision pass.
#include <cmath>
#include <span>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

// Where a gun of the hull is on the field.
int GunX(const BossTwo& b, GunOffset gun) { return b.x + gun.dx; }
int GunY(const BossTwo& b, GunOffset gun) { return b.y + gun.dy; }

// ---- entry and sway
// 65 frames at 2 pixels a frame, from y -112 to 18; then 20 pixels about x 38, 2 about y 15.
inline constexpr BossMotion MOTION{65, 2, 0.05, FULL_TURN, 20, 38, 2, 15};

// ---- gun points
inline constexpr GunOffset LEFT_WING{16, 81};    // LW
inline constexpr GunOffset RIGHT_WING{106, 81};  // RW
inline constexpr GunOffset CENTRE_GUN{61, 72};   // CG

int GapPasses() { return g_round == 2 ? 3 : 2; }

// ---- fans with gaps: up to three passes of aimed shots, each faster than the one before, that
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
    for (int pass = 0; pass < GapPasses(); ++pass) FireGappedFanPass(b, gun, pass);
}

// ---- first appearance

// Ring groups: five rings of eight, close together around one turn.
inline constexpr double RING_GROUP_A[] = {-0.2, -0.1, 0, 0.1, 0.2};
inline constexpr double RING_GROUP_B[] = {1.8, 1.9, 2.0, 2.1, 2.2};
struct RingGroup {
    int speed;
    std::span<const double> offsets;
};
inline constexpr RingGroup RING_BURST[] = {{2, RING_GROUP_A}, {3, RING_GROUP_B}, {4, RING_GROUP_A}};
inline constexpr int RING_BURST_GROUPS_ROUND_1 = 2, RING_BURST_GROUPS_ROUND_2 = 3;

void FireRingBurst(const BossTwo& b, GunOffset gun) {
    const int groups = g_round == 2 ? RING_BURST_GROUPS_ROUND_2 : RING_BURST_GROUPS_ROUND_1;
    for (int i = 0; i < groups; ++i) {
        for (double d : RING_BURST[i].offsets) {
            FireRing8(GunX(b, gun), GunY(b, gun), RING_BURST[i].speed, static_cast<float>(d), BULLET_SMALL);
        }
    }
}

// Centre spray: a full turn of single shots from the centre gun, starting a little further round
// each volley.
inline constexpr int SPRAY_FIRE_TICK_ROUND_1 = 10, SPRAY_FIRE_TICK_ROUND_2 = 6;
inline constexpr double SPRAY_SPEED = 3.0;
inline constexpr double SPRAY_SPOKE_STEP = 0.18;
inline constexpr double SPRAY_BASE_STEP_ROUND_1 = 0.08, SPRAY_BASE_STEP_ROUND_2 = 0.05;
inline constexpr double SPRAY_BASE_LIMIT = 0.2;

// Wing sprays: three shots from each wing, the two sprays turning opposite ways.
inline constexpr int WING_SPRAY_FIRE_TICK = 2;
inline constexpr double WING_SPRAY_OFFSETS[] = {-0.05, 0, 0.05};
inline constexpr double WING_SPRAY_SPEED = 3.0;
inline constexpr double WING_SPRAY_SECOND_SPEED = 2.0;  // round 2 fires the volley again at this speed
inline constexpr double WING_SPRAY_STEP_ROUND_1 = 0.6, WING_SPRAY_STEP_ROUND_2 = 0.5;

// Centre fan: nine large shots at the ship.
inline constexpr int CENTRE_FAN_FIRE_TICK_ROUND_1 = 40, CENTRE_FAN_FIRE_TICK_ROUND_2 = 15;
inline constexpr double CENTRE_FAN_OFFSETS[] = {-0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8};
inline constexpr double CENTRE_FAN_SPEEDS_ROUND_1[] = {3.0};
inline constexpr double CENTRE_FAN_SPEEDS_ROUND_2[] = {5.0, 4.0};

// Cross: four shots from the right wing, turning anticlockwise.
inline constexpr int CROSS_FIRE_TICK_ROUND_1 = 3, CROSS_FIRE_TICK_ROUND_2 = 2;
inline constexpr double CROSS_SPEED = 2.0;
inline constexpr double CROSS_STEP = 0.2;

// Wing fan: aimed shots from the left wing, wider and doubled in round 2.
inline constexpr int WING_FAN_FIRE_TICK = 20;
inline constexpr double WING_FAN_OFFSETS_ROUND_1[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};
inline constexpr double WING_FAN_OFFSETS_ROUND_2[] = {-1.2, -1.0, -0.8, -0.6, -0.4, -0.2, 0,
                                                      0.2,  0.4,  0.6,  0.8,  1.0,  1.2};
inline constexpr double WING_FAN_SPEEDS_ROUND_1[] = {2.0};
inline constexpr double WING_FAN_SPEEDS_ROUND_2[] = {2.0, 3.0};

// Rows of a per-round table of speeds or offsets.
std::span<const double> ByRound(std::span<const double> round1, std::span<const double> round2) {
    return g_round == 2 ? round2 : round1;
}

void RunScriptEvent(BossTwo& b) {
    const bool second = g_round == 2;
    switch (b.scriptTimer) {
        case 0:
            b.spraySwitch = 1;
            break;
        case 200:
            b.spraySwitch = 0;
            break;
        case 220:
            FireGappedFan(b, LEFT_WING);
            break;
        case 235:
            if (second) FireGappedFan(b, RIGHT_WING);
            break;
        case 250:
            FireGappedFan(b, second ? LEFT_WING : RIGHT_WING);
            break;
        case 265:
            if (second) FireGappedFan(b, RIGHT_WING);
            break;
        case 290:
            b.wingSpraySwitch = 1;
            b.wingSprayTick = 0;
            b.leftWingSprayAngle = 0;
            b.rightWingSprayAngle = 0;
            b.centreFanSwitch = 1;
            b.centreFanTick = 0;
            break;
        case 450:
            b.wingSpraySwitch = 0;
            b.centreFanSwitch = 0;
            break;
        case 490:
            for (int pass = 0; pass < GapPasses(); ++pass) {
                FireGappedFanPass(b, LEFT_WING, pass);
                FireGappedFanPass(b, RIGHT_WING, pass);
            }
            break;
        case 550:
            // The first pass of the script ends here; the second goes on to the cross section.
            if (b.passCount == 0) {
                b.scriptTimer = -1;
            } else if (b.passCount == 1) {
                FireRingBurst(b, LEFT_WING);
                FireRingBurst(b, RIGHT_WING);
            }
            b.passCount += 1;
            break;
        case 620:
            b.crossSwitch = 1;
            b.crossTick = 0;
            b.crossAngle = 0;
            b.wingFanSwitch = 1;
            b.wingFanTick = 0;
            break;
        case 800:
            b.crossSwitch = 0;
            b.wingFanSwitch = 0;
            break;
        case 850:
            b.passCount = 0;
            b.scriptTimer = -1;
            break;
        default:
            break;
    }
}

void FireSpray(BossTwo& b) {
    const bool second = g_round == 2;
    if (b.sprayTick == (second ? SPRAY_FIRE_TICK_ROUND_2 : SPRAY_FIRE_TICK_ROUND_1)) {
        for (b.sprayAngle = b.sprayBase; b.sprayAngle < FULL_TURN;
             b.sprayAngle = static_cast<float>(b.sprayAngle + SPRAY_SPOKE_STEP)) {
            // Round 2 lets the spray wander with the aim jitter.
            const float angle = second ? g_aimJitter + b.sprayAngle : b.sprayAngle;
            FireUpFrom(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), SPRAY_SPEED, angle, BULLET_SMALL);
        }
        b.sprayBase = static_cast<float>(b.sprayBase + (second ? SPRAY_BASE_STEP_ROUND_2 : SPRAY_BASE_STEP_ROUND_1));
        if (b.sprayBase >= SPRAY_BASE_LIMIT) b.sprayBase = 0;
        b.sprayTick = 0;
    }
    b.sprayTick += 1;
}

// Left, right, left, right, left, right: each wing's three shots interleaved.
void FireWingSprayVolley(const BossTwo& b, double speed) {
    for (double d : WING_SPRAY_OFFSETS) {
        FireUpFrom(GunX(b, LEFT_WING), GunY(b, LEFT_WING), speed, b.leftWingSprayAngle + d, BULLET_SMALL);
        FireUpFrom(GunX(b, RIGHT_WING), GunY(b, RIGHT_WING), speed, b.rightWingSprayAngle + d, BULLET_SMALL);
    }
}

void FireWingSprays(BossTwo& b) {
    if (b.wingSprayTick == WING_SPRAY_FIRE_TICK) {
        b.wingSprayTick = 0;
        FireWingSprayVolley(b, WING_SPRAY_SPEED);
        if (g_round == 2) FireWingSprayVolley(b, WING_SPRAY_SECOND_SPEED);
        const double step = g_round == 2 ? WING_SPRAY_STEP_ROUND_2 : WING_SPRAY_STEP_ROUND_1;
        SpinClockwise(b.leftWingSprayAngle, step);
        SpinAnticlockwise(b.rightWingSprayAngle, step);
    }
    b.wingSprayTick += 1;
}

void FireCentreFan(BossTwo& b) {
    const bool second = g_round == 2;
    if (b.centreFanTick == (second ? CENTRE_FAN_FIRE_TICK_ROUND_2 : CENTRE_FAN_FIRE_TICK_ROUND_1)) {
        b.centreFanTick = 0;
        const float x = static_cast<float>(GunX(b, CENTRE_GUN)), y = static_cast<float>(GunY(b, CENTRE_GUN));
        for (double speed : ByRound(CENTRE_FAN_SPEEDS_ROUND_1, CENTRE_FAN_SPEEDS_ROUND_2)) {
            for (double d : CENTRE_FAN_OFFSETS) {
                FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_LARGE);
            }
        }
    }
    b.centreFanTick += 1;
}

void FireCross(BossTwo& b) {
    if (b.crossTick == (g_round == 2 ? CROSS_FIRE_TICK_ROUND_2 : CROSS_FIRE_TICK_ROUND_1)) {
        b.crossTick = 0;
        FireCross4(GunX(b, RIGHT_WING), GunY(b, RIGHT_WING), static_cast<float>(CROSS_SPEED), b.crossAngle,
                   BULLET_SMALL);
        SpinAnticlockwise(b.crossAngle, CROSS_STEP);
    }
    b.crossTick += 1;
}

void FireWingFan(BossTwo& b) {
    if (b.wingFanTick == WING_FAN_FIRE_TICK) {
        b.wingFanTick = 0;
        const float x = static_cast<float>(GunX(b, LEFT_WING)), y = static_cast<float>(GunY(b, LEFT_WING));
        for (double speed : ByRound(WING_FAN_SPEEDS_ROUND_1, WING_FAN_SPEEDS_ROUND_2)) {
            for (double d : ByRound(WING_FAN_OFFSETS_ROUND_1, WING_FAN_OFFSETS_ROUND_2)) {
                FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_SMALL);
            }
        }
    }
    b.wingFanTick += 1;
}

void RunFirstAppearance(BossTwo& b) {
    RunScriptEvent(b);
    b.scriptTimer += 1;
    if (b.spraySwitch == 1) FireSpray(b);
    if (b.wingSpraySwitch == 1) FireWingSprays(b);
    if (b.centreFanSwitch == 1) FireCentreFan(b);
    if (b.crossSwitch == 1) FireCross(b);
    if (b.wingFanSwitch == 1) FireWingFan(b);
}

// ---- second appearance

// The second appearance gives several fields of the record other roles; this view names them.
struct SecondAppearance {
    BossTwo& b;
    int32_t& pairSwitch = b.spraySwitch;         // 10
    int32_t& mirrorFanTick = b.sprayTick;        // 11
    int32_t& fanTick = b.wingSpraySwitch;        // 12
    int32_t& pairCycle = b.wingSprayTick;        // 13
    int32_t& targetX = b.centreFanSwitch;        // 14
    int32_t& targetY = b.centreFanTick;          // 15
    int32_t& pairTick = b.passCount;             // 16
    int32_t& wingSwitch = b.crossSwitch;         // 17
    int32_t& crossTick = b.crossTick;            // 18
    int32_t& wingFanCycle = b.wingFanSwitch;     // 19
    int32_t& ringSwitch = b.wingFanTick;         // 20
    float& crossAngle = b.secondCrossAngle;      // 30
};

// The script: each event at its timer value in round 1 and in round 2 (NEVER: not in that round).
enum class SecondEvent { PairsOn, PairsOff, WingOn, WingOff, ShowerOn, ShowerOff, RingOn, CentreFansOn,
                         CentreFansOff, Restart };
struct TimedEvent {
    int round1, round2;
    SecondEvent event;
};
inline constexpr int NEVER = -2;
inline constexpr TimedEvent SECOND_SCRIPT[] = {
    {16, 16, SecondEvent::PairsOn},          {240, 260, SecondEvent::PairsOff},
    {300, 300, SecondEvent::WingOn},         {480, 480, SecondEvent::WingOff},
    {NEVER, 500, SecondEvent::ShowerOn},     {NEVER, 525, SecondEvent::ShowerOff},
    {516, 536, SecondEvent::PairsOn},        {740, 776, SecondEvent::PairsOff},
    {800, 800, SecondEvent::WingOn},         {980, 980, SecondEvent::WingOff},
    {NEVER, 1000, SecondEvent::ShowerOn},    {NEVER, 1025, SecondEvent::ShowerOff},
    {1050, 1080, SecondEvent::RingOn},       {1150, 1180, SecondEvent::CentreFansOn},
    {1250, 1280, SecondEvent::CentreFansOff}, {1320, 1300, SecondEvent::ShowerOn},
    {1350, 1330, SecondEvent::ShowerOff},    {1400, 1370, SecondEvent::Restart},
};

void PerformSecondEvent(SecondAppearance& s, SecondEvent event) {
    BossTwo& b = s.b;
    switch (event) {
        case SecondEvent::PairsOn:
            s.pairSwitch = 1;
            s.mirrorFanTick = 0;
            s.fanTick = 0;
            s.pairCycle = 0;
            s.targetX = 0;
            s.targetY = 0;
            s.pairTick = 0;
            break;
        case SecondEvent::PairsOff:
            s.pairSwitch = 0;
            break;
        case SecondEvent::WingOn:
            s.wingSwitch = 1;
            s.crossTick = 0;
            s.wingFanCycle = 0;
            s.crossAngle = 0;
            break;
        case SecondEvent::WingOff:
            s.wingSwitch = 0;
            break;
        case SecondEvent::ShowerOn:
            b.showerSwitch = 1;
            b.swaySwitch = 0;
            b.showerTick = 0;
            b.showerCrossTick = 0;
            b.showerDelay = 0;
            b.showerAngle1 = 0;
            b.showerAngle2 = 0;
            break;
        case SecondEvent::ShowerOff:
            b.swaySwitch = 1;
            b.showerSwitch = 0;
            break;
        case SecondEvent::RingOn:
            s.ringSwitch = 1;
            b.ringTick = 0;
            b.ringStep = 0;
            b.ringTurn = 0;
            break;
        case SecondEvent::CentreFansOn:
            b.centreFansSwitch = 1;
            b.centreFansCycle = 0;
            b.centreFansTick = 0;
            b.swaySwitch = 0;
            s.ringSwitch = 0;
            break;
        case SecondEvent::CentreFansOff:
            b.centreFansSwitch = 0;
            b.swaySwitch = 1;
            break;
        case SecondEvent::Restart:
            b.scriptTimer = -1;
            break;
    }
}

void RunSecondScriptEvents(SecondAppearance& s) {
    for (const TimedEvent& e : SECOND_SCRIPT) {
        if (s.b.scriptTimer == (g_round == 2 ? e.round2 : e.round1)) PerformSecondEvent(s, e.event);
    }
}

// Shower: after a short delay, pairs of large crosses from below both wings turning opposite ways;
// from the start, large shots straight down from four points under the hull.
inline constexpr int SHOWER_DELAY_ROUND_1 = 10, SHOWER_DELAY_ROUND_2 = 5;  // crosses once past this
inline constexpr int SHOWER_CROSS_TICK_ROUND_1 = 1, SHOWER_CROSS_TICK_ROUND_2 = 0;  // fire once above
inline constexpr GunOffset SHOWER_CROSS_LEFT{29, 85};
inline constexpr GunOffset SHOWER_CROSS_RIGHT{93, 85};
inline constexpr double SHOWER_CROSS_SPEED = 6.0;
inline constexpr double SHOWER_CROSS_STEP = 0.67;
inline constexpr int SHOWER_DROP_TICK_ROUND_1 = 2, SHOWER_DROP_TICK_ROUND_2 = 1;  // fire once above
inline constexpr GunOffset SHOWER_DROP_GUNS[] = {{40, 102}, {82, 102}, {16, 102}, {105, 102}};
inline constexpr double SHOWER_DROP_SPEED_ROUND_1 = 5.0, SHOWER_DROP_SPEED_ROUND_2 = 6.0;

void FireShower(BossTwo& b) {
    const bool second = g_round == 2;
    b.showerDelay += 1;
    if (b.showerDelay > (second ? SHOWER_DELAY_ROUND_2 : SHOWER_DELAY_ROUND_1)) {
        if (b.showerCrossTick > (second ? SHOWER_CROSS_TICK_ROUND_2 : SHOWER_CROSS_TICK_ROUND_1)) {
            b.showerCrossTick = 0;
            FireCross4(GunX(b, SHOWER_CROSS_LEFT), GunY(b, SHOWER_CROSS_LEFT), static_cast<float>(SHOWER_CROSS_SPEED),
                       b.showerAngle1, BULLET_LARGE);
            SpinClockwise(b.showerAngle1, SHOWER_CROSS_STEP);
            FireCross4(GunX(b, SHOWER_CROSS_RIGHT), GunY(b, SHOWER_CROSS_RIGHT),
                       static_cast<float>(SHOWER_CROSS_SPEED), b.showerAngle2, BULLET_LARGE);
            SpinAnticlockwise(b.showerAngle2, SHOWER_CROSS_STEP);
        }
        b.showerCrossTick += 1;
    }
    if (b.showerTick > (second ? SHOWER_DROP_TICK_ROUND_2 : SHOWER_DROP_TICK_ROUND_1)) {
        b.showerTick = 0;
        PlayEnemyFireSound();
        const double speed = second ? SHOWER_DROP_SPEED_ROUND_2 : SHOWER_DROP_SPEED_ROUND_1;
        for (GunOffset gun : SHOWER_DROP_GUNS) FireDownFrom(GunX(b, gun), GunY(b, gun), speed, 0, BULLET_LARGE);
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
inline constexpr int CENTRE_FANS_SECOND_TICK_ROUND_1 = 3, CENTRE_FANS_SECOND_TICK_ROUND_2 = 2;
inline constexpr double CENTRE_FANS_SECOND_OFFSETS[] = {-1.2, -0.9, -0.6, -0.3, -0.1, 0.1, 1.2, 0.9, 0.6, 0.3};
inline constexpr double CENTRE_FANS_SECOND_SPEED = 3.0;
inline constexpr GunOffset CENTRE_FANS_LARGE_GUN{60, 72};
inline constexpr double CENTRE_FANS_LARGE_SPEED_ROUND_1 = 5.0, CENTRE_FANS_LARGE_SPEED_ROUND_2 = 6.0;

void FireFanAtTarget(const SecondAppearance& s, std::span<const double> offsets, double speed) {
    const float x = static_cast<float>(GunX(s.b, CENTRE_GUN)), y = static_cast<float>(GunY(s.b, CENTRE_GUN));
    for (double d : offsets) {
        FireAtPoint(x, y, s.targetX, s.targetY, static_cast<float>(speed), static_cast<float>(d), BULLET_SMALL);
    }
}

void FireCentreFans(SecondAppearance& s) {
    BossTwo& b = s.b;
    const bool second = g_round == 2;
    const int c = b.centreFansCycle;
    int32_t& k = b.centreFansTick;
    if (c == 0) CaptureShipTarget(&s.targetX, &s.targetY);
    if (c < CENTRE_FANS_FIRST_END) {
        if (k == CENTRE_FANS_FIRST_TICK) {
            k = 0;
            FireFanAtTarget(s, CENTRE_FANS_FIRST_OFFSETS, CENTRE_FANS_FIRST_SPEED);
        }
        k += 1;
    }
    if (c == CENTRE_FANS_TICK_RESET) k = 0;
    if (c >= CENTRE_FANS_SECOND_START && c <= CENTRE_FANS_SECOND_LAST) {
        if (k == (second ? CENTRE_FANS_SECOND_TICK_ROUND_2 : CENTRE_FANS_SECOND_TICK_ROUND_1)) {
            if (c < CENTRE_FANS_SECOND_FAN_END) {
                FireFanAtTarget(s, CENTRE_FANS_SECOND_OFFSETS, CENTRE_FANS_SECOND_SPEED);
            }
            PlayEnemyFireSound();
            k = 0;
            // Straight at the ship: no aim jitter.
            const double speed = second ? CENTRE_FANS_LARGE_SPEED_ROUND_2 : CENTRE_FANS_LARGE_SPEED_ROUND_1;
            FireAimed(static_cast<float>(GunX(b, CENTRE_FANS_LARGE_GUN)),
                      static_cast<float>(GunY(b, CENTRE_FANS_LARGE_GUN)), static_cast<float>(speed), 0, BULLET_LARGE);
        }
        k += 1;
    }
    b.centreFansCycle += 1;
}

// Double ring: eighteen spokes of four shots from the centre gun, then a few frames later the same
// turned by 0.1 with the four shots shifted along the spoke.
inline constexpr int DOUBLE_RING_SECOND_TICK_ROUND_1 = 8, DOUBLE_RING_SECOND_TICK_ROUND_2 = 7;
inline constexpr int DOUBLE_RING_LAST_TICK_ROUND_1 = 16, DOUBLE_RING_LAST_TICK_ROUND_2 = 14;
inline constexpr double DOUBLE_RING_FIRST_OFFSETS[] = {-0.1, -0.05, 0, 0.05};
inline constexpr double DOUBLE_RING_SECOND_OFFSETS[] = {-0.05, 0, 0.05, 0.1};
inline constexpr double DOUBLE_RING_SPOKE_STEP = 0.36;
inline constexpr double DOUBLE_RING_TURN = 0.1;
inline constexpr double DOUBLE_RING_SPEED_ROUND_1 = 3.0, DOUBLE_RING_SPEED_ROUND_2 = 4.0;

void FireRingOfSpokes(BossTwo& b, std::span<const double> offsets) {
    const double speed = g_round == 2 ? DOUBLE_RING_SPEED_ROUND_2 : DOUBLE_RING_SPEED_ROUND_1;
    for (b.ringStep = b.ringTurn; b.ringStep < FULL_TURN;
         b.ringStep = static_cast<float>(b.ringStep + DOUBLE_RING_SPOKE_STEP)) {
        for (double d : offsets) {
            FireUpFrom(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), speed, b.ringStep + d, BULLET_SMALL);
        }
    }
}

void FireDoubleRing(BossTwo& b) {
    const bool second = g_round == 2;
    if (b.ringTick == 0) {
        FireRingOfSpokes(b, DOUBLE_RING_FIRST_OFFSETS);
        b.ringTurn = static_cast<float>(b.ringTurn + DOUBLE_RING_TURN);
    }
    if (b.ringTick == (second ? DOUBLE_RING_SECOND_TICK_ROUND_2 : DOUBLE_RING_SECOND_TICK_ROUND_1)) {
        FireRingOfSpokes(b, DOUBLE_RING_SECOND_OFFSETS);
        b.ringTurn = 0;
    }
    if (b.ringTick == (second ? DOUBLE_RING_LAST_TICK_ROUND_2 : DOUBLE_RING_LAST_TICK_ROUND_1)) b.ringTick = -1;
    b.ringTick += 1;
}

// Wing: gapped fans from the left wing, then the right, every 61 frames; a cross from the centre
// turning anticlockwise.
inline constexpr int WING_CYCLE_LEFT = 0, WING_CYCLE_RIGHT = 30, WING_CYCLE_LAST = 60;
inline constexpr int WING_CROSS_TICK_ROUND_1 = 4, WING_CROSS_TICK_ROUND_2 = 2;

void FireWing(SecondAppearance& s) {
    BossTwo& b = s.b;
    if (s.wingFanCycle == WING_CYCLE_LEFT) FireGappedFan(b, LEFT_WING);
    if (s.wingFanCycle == WING_CYCLE_RIGHT) FireGappedFan(b, RIGHT_WING);
    if (s.wingFanCycle == WING_CYCLE_LAST) s.wingFanCycle = -1;
    s.wingFanCycle += 1;
    if (s.crossTick == (g_round == 2 ? WING_CROSS_TICK_ROUND_2 : WING_CROSS_TICK_ROUND_1)) {
        s.crossTick = 0;
        FireCross4(GunX(b, CENTRE_GUN), GunY(b, CENTRE_GUN), static_cast<float>(CROSS_SPEED), s.crossAngle,
                   BULLET_SMALL);
        SpinAnticlockwise(s.crossAngle, CROSS_STEP);
    }
    s.crossTick += 1;
}

// Pairs: for the first 15 frames of each cycle the boss stands still and fires pairs of large
// shots at a target captured at the cycle's start. Beside them, all the time the switch is on:
// jittered aimed fans from the centre, and two mirrored large fans opening upward beside the hull.
inline constexpr int PAIR_FIRING_END = 15;
inline constexpr int PAIR_CYCLE_LAST_ROUND_1 = 40, PAIR_CYCLE_LAST_ROUND_2 = 30;
inline constexpr int PAIR_FIRE_TICK = 3;
inline constexpr GunOffset PAIR_GUNS[] = {{50, 72}, {70, 72}};
inline constexpr double PAIR_SPEED_ROUND_1 = 4.0, PAIR_SPEED_ROUND_2 = 5.0;
inline constexpr int PAIR_FAN_TICK_ROUND_1 = 8, PAIR_FAN_TICK_ROUND_2 = 6;
inline constexpr double PAIR_FAN_OFFSETS[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6};
inline constexpr double PAIR_FAN_SPEED = 3.0;
inline constexpr int MIRROR_FAN_TICK = 16;
inline constexpr GunOffset MIRROR_FAN_GUN{60, 72};
inline constexpr double MIRROR_FAN_ANGLES[] = {-2.4, -2.2, -2.0, -1.8, -1.6, -1.2, -0.8, -0.4,
                                               2.4,  2.2,  2.0,  1.8,  1.6,  1.2,  0.8,  0.4};
inline constexpr double MIRROR_FAN_SPEED = 6.0;

void FirePairs(SecondAppearance& s) {
    BossTwo& b = s.b;
    const bool second = g_round == 2;
    if (s.pairCycle == 0) CaptureShipTarget(&s.targetX, &s.targetY);
    if (s.pairCycle < PAIR_FIRING_END) {
        b.swaySwitch = 0;
        if (s.pairTick == PAIR_FIRE_TICK) {
            s.pairTick = 0;
            PlayEnemyFireSound();
            const float speed = static_cast<float>(second ? PAIR_SPEED_ROUND_2 : PAIR_SPEED_ROUND_1);
            for (GunOffset gun : PAIR_GUNS) {
                FireAtPoint(static_cast<float>(GunX(b, gun)), static_cast<float>(GunY(b, gun)), s.targetX, s.targetY,
                            speed, 0, BULLET_LARGE);
            }
        }
        s.pairTick += 1;
    }
    if (s.pairCycle == PAIR_FIRING_END) b.swaySwitch = 1;
    if (s.pairCycle == (second ? PAIR_CYCLE_LAST_ROUND_2 : PAIR_CYCLE_LAST_ROUND_1)) s.pairCycle = -1;
    s.pairCycle += 1;

    if (s.fanTick == (second ? PAIR_FAN_TICK_ROUND_2 : PAIR_FAN_TICK_ROUND_1)) {
        s.fanTick = 0;
        const float x = static_cast<float>(GunX(b, CENTRE_GUN)), y = static_cast<float>(GunY(b, CENTRE_GUN));
        for (double d : PAIR_FAN_OFFSETS) {
            FireAimed(x, y, static_cast<float>(PAIR_FAN_SPEED), static_cast<float>(g_aimJitter + d), BULLET_SMALL);
        }
    }
    s.fanTick += 1;

    if (s.mirrorFanTick == MIRROR_FAN_TICK) {
        s.mirrorFanTick = 0;
        for (double angle : MIRROR_FAN_ANGLES) {
            FireDownFrom(GunX(b, MIRROR_FAN_GUN), GunY(b, MIRROR_FAN_GUN), MIRROR_FAN_SPEED, angle, BULLET_LARGE);
        }
    }
    s.mirrorFanTick += 1;
}

void RunSecondAppearance(BossTwo& b) {
    SecondAppearance s{b};
    RunSecondScriptEvents(s);
    if (b.showerSwitch == 1) FireShower(b);
    if (b.centreFansSwitch == 1) FireCentreFans(s);
    if (s.ringSwitch == 1) FireDoubleRing(b);
    if (s.wingSwitch == 1) FireWing(s);
    if (s.pairSwitch == 1) FirePairs(s);
    b.scriptTimer += 1;
}

}  // namespace

void UpdateBossTwo() {
    BossTwo& b = g_bossTwo;
    if (b.alive != 1) return;
    if (Enter(b.y, b.entryCounter, MOTION)) return;
    if (b.swaySwitch == 1) Sway(b.x, b.y, b.swayAngle, MOTION);
    if (b.appearance == 1) {
        RunSecondAppearance(b);
    } else {
        RunFirstAppearance(b);
    }
    b.entryCounter += 1;
}

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
#include "sound/sound.h"
#include "stage/boss_two_parts.h"

using namespace boss_two;

namespace {

// ---- motion: 65 frames at 2 pixels a frame, from y -112 to 18; then 20 pixels about x 38, 2
// about y 15.
inline constexpr BossMotion MOTION{65, 2, 0.05, 20, 38, 2, 15};

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
        const Spokes spray{SPRAY_SPEED, SPRAY_SPOKE_STEP, ONE_SHOT, r.sprayBaseStep, SPRAY_BASE_LIMIT};
        FireSpokes(b, CENTRE_GUN, spray, b.sprayAngle, b.sprayBase, r.sprayWanders ? g_aimJitter : 0.0f);
    }
    b.sprayTick += 1;
}

// Wing sprays: three shots from each wing, the two sprays turning opposite ways; left, right,
// left, right, left, right, once per speed.
inline constexpr int WING_SPRAY_TICK = 2;
inline constexpr double WING_SPRAY_OFFSETS[] = {-0.05, 0, 0.05};

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
void Cross(BossTwo& b) {
    if (TickReaches(b.crossTick, Round().crossTick)) FireTurningCross(b, RIGHT_WING, b.crossAngle);
    b.crossTick += 1;
}

// Wing fan: aimed shots from the left wing, wider and doubled in round 2.
inline constexpr int WING_FAN_TICK = 20;

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
// clang-format off
inline constexpr Pattern<BossTwo> PATTERNS[] = {
    {&BossTwo::spraySwitch, Spray},
    {&BossTwo::wingSpraySwitch, WingSprays, {&BossTwo::wingSprayTick}, {&BossTwo::leftWingSprayAngle, &BossTwo::rightWingSprayAngle}},
    {&BossTwo::centreFanSwitch, CentreFan, {&BossTwo::centreFanTick}},
    {&BossTwo::crossSwitch, Cross, {&BossTwo::crossTick}, {&BossTwo::crossAngle}},
    {&BossTwo::wingFanSwitch, WingFan, {&BossTwo::wingFanTick}},
};
// clang-format on

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
inline constexpr Action<BossTwo> ACTIONS[] = {LeftGappedFan, RightGappedFan, GappedFansFromBothWings, EndOfPass, Restart};

inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {On(SPRAY)}},
    {200, 200, {Off(SPRAY)}},
    {220, 220, {Do(LEFT_GAPPED_FAN)}},
    {NEVER, 235, {Do(RIGHT_GAPPED_FAN)}},
    {250, NEVER, {Do(RIGHT_GAPPED_FAN)}},
    {NEVER, 250, {Do(LEFT_GAPPED_FAN)}},
    {NEVER, 265, {Do(RIGHT_GAPPED_FAN)}},
    {290, 290, {On(WING_SPRAYS), On(CENTRE_FAN)}},
    {450, 450, {Off(WING_SPRAYS), Off(CENTRE_FAN)}},
    {490, 490, {Do(BOTH_GAPPED_FANS)}},
    {550, 550, {Do(END_OF_PASS)}},
    {620, 620, {On(CROSS), On(WING_FAN)}},
    {800, 800, {Off(CROSS), Off(WING_FAN)}},
    {850, 850, {Do(RESTART)}},
};

// Script events before the timer's increment, the patterns after it.
void Frame(BossTwo& b) { RunScriptFrame<BossTwo>(b, SCRIPT, PATTERNS, ACTIONS); }

}  // namespace first

void AppearanceFrame(BossTwo& b) {
    if (b.appearance == 1) {
        ReturnFrame(b);
    } else {
        first::Frame(b);
    }
}

}  // namespace

void UpdateBossTwo() { RunSwayingBoss(g_bossTwo, MOTION, AppearanceFrame); }

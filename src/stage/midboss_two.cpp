// The second mid-boss, g_midBossTwo: a 96 x 96 craft of stage 3. It descends for 66 frames, then
// an 800-frame script lays its patterns over each other: a swinging fan of large bullets from the
// mouth, rings from its two turrets (one after the other, then both together), an aimed fan,
// and from timer 260 a rotating triple-spoke burst while it sways. At 800 it stops swaying and
// drifts away to the lower right, firing nothing new. Killing it, its shield drop and freeing
// it once it has left are the collision pass's business.
//
// Script events happen at fixed values of the script timer, before its increment; the
// continuous patterns run after it, each while its switch is on.
#include <span>

#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

// ---- motion: 66 frames at 2 pixels a frame, from y -96 to 36; then 20 pixels about x 53, 5
// about y 28; leaving, 1 right and 2 down a frame.
inline constexpr BossMotion MOTION{66, 2, 0.05, 20, 53, 5, 28};
inline constexpr int LEAVE_STEP_X = 1, LEAVE_STEP_Y = 2;

// ---- guns
inline constexpr GunOffset MOUTH{45, 58};
inline constexpr GunOffset LEFT_TURRET{17, 28};
inline constexpr GunOffset RIGHT_TURRET{73, 28};

// ---- what differs in round 2
struct RoundValues {
    std::span<const double> aimedFanSpeeds;
    double waveStep;
    int ringTick;
    int burstTick;
    double burstSpeed;
};
inline constexpr double SPEED_5[] = {5.0};
inline constexpr double SPEEDS_5_6[] = {5.0, 6.0};
// clang-format off
inline constexpr RoundValues ROUND_1{.aimedFanSpeeds = SPEED_5, .waveStep = 0.04, .ringTick = 4, .burstTick = 10,
                                     .burstSpeed = 3.0};
inline constexpr RoundValues ROUND_2{.aimedFanSpeeds = SPEEDS_5_6, .waveStep = 0.08, .ringTick = 3, .burstTick = 8,
                                     .burstSpeed = 4.0};

const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

// ---- the burst: spokes of three shots 0.4 apart all round from the mouth; each volley starts
// 0.1 further round, back to 0 after four volleys
inline constexpr double BURST_SPOKE_STEP = 0.4;
inline constexpr double BURST_SHOT_OFFSETS[] = {0, 0.1, 0.2};
inline constexpr double BURST_BASE_STEP = 0.1;
inline constexpr double BURST_BASE_LIMIT = 0.4;

void Burst(MidBossTwo& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.burstTick, r.burstTick)) {
        const Spokes burst{r.burstSpeed, BURST_SPOKE_STEP, BURST_SHOT_OFFSETS, BURST_BASE_STEP, BURST_BASE_LIMIT};
        FireSpokes(b, MOUTH, burst, b.burstAngle, b.burstBase, 0.0f);
    }
    b.burstTick += 1;
}

// ---- the turret rings: fifteen single shots 0.43 apart all round from one turret, the whole
// ring turned 0.1 further per volley, the left one clockwise, the right one anticlockwise.
inline constexpr double RING_SPOKE_STEP = 0.43;
inline constexpr double RING_TURN_STEP = 0.1;
inline constexpr double RING_SPEED = 3.0;

void FireRing(const MidBossTwo& b, GunOffset turret, int32_t& tick, float& angle, float& base, bool clockwise) {
    if (TickReaches(tick, Round().ringTick)) {
        for (angle = 0; angle < FULL_TURN; angle = static_cast<float>(angle + RING_SPOKE_STEP)) {
            FireUp(b, turret, RING_SPEED, angle + base, BULLET_SMALL);
        }
        if (clockwise) {
            SpinClockwise(base, RING_TURN_STEP);
        } else {
            SpinAnticlockwise(base, RING_TURN_STEP);
        }
    }
    tick += 1;
}

void LeftRing(MidBossTwo& b) { FireRing(b, LEFT_TURRET, b.leftRingTick, b.leftRingAngle, b.leftRingBase, true); }
void RightRing(MidBossTwo& b) {
    FireRing(b, RIGHT_TURRET, b.rightRingTick, b.rightRingAngle, b.rightRingBase, false);
}

// ---- the swinging wave: ten large shots turned from straight down, the fan swinging between
// -0.6 and 0.6 by a step per volley
inline constexpr double WAVE_OFFSETS[] = {3.48, 4.28, 4.68, 5.48, 5.88, 0.4, 0.8, 1.6, 2.0, 2.8};
inline constexpr int WAVE_TICK = 3;
inline constexpr double WAVE_SPEED = 6.0;
inline constexpr double WAVE_SWING_LIMIT = 0.6;
inline constexpr int WAVE_RISING = 0, WAVE_FALLING = 1;


void Wave(MidBossTwo& b) {
    if (TickReaches(b.waveTick, WAVE_TICK)) {
        PlayEnemyFireSound();
        for (double d : WAVE_OFFSETS) FireDown(b, MOUTH, WAVE_SPEED, b.waveAngle + d, BULLET_LARGE);
        const double step = Round().waveStep;
        // Both steps run in the frame where the direction flips, so the turn-round costs no volley.
        if (b.waveDirection == WAVE_RISING) {
            b.waveAngle = static_cast<float>(b.waveAngle + step);
            if (b.waveAngle >= WAVE_SWING_LIMIT) b.waveDirection = WAVE_FALLING;
        }
        if (b.waveDirection == WAVE_FALLING) {
            b.waveAngle = static_cast<float>(b.waveAngle - step);
            if (b.waveAngle <= -WAVE_SWING_LIMIT) b.waveDirection = WAVE_RISING;
        }
    }
    b.waveTick += 1;
}

// ---- the pattern table, in the order the patterns run within a frame
enum PatternRow { BURST, RIGHT_RING, LEFT_RING, WAVE };
inline constexpr Pattern<MidBossTwo> PATTERNS[] = {
    {&MidBossTwo::burstSwitch, Burst, {&MidBossTwo::burstTick}, {&MidBossTwo::burstAngle, &MidBossTwo::burstBase}},
    {&MidBossTwo::rightRingSwitch, RightRing, {&MidBossTwo::rightRingTick}, {&MidBossTwo::rightRingAngle, &MidBossTwo::rightRingBase}},
    {&MidBossTwo::leftRingSwitch, LeftRing, {&MidBossTwo::leftRingTick}, {&MidBossTwo::leftRingAngle, &MidBossTwo::leftRingBase}},
    {&MidBossTwo::waveSwitch, Wave, {&MidBossTwo::waveTick, &MidBossTwo::waveDirection}, {&MidBossTwo::waveAngle}},
};
// clang-format on

// ---- the script
inline constexpr double AIMED_FAN_OFFSETS[] = {-0.4, -0.2, 0, 0.2, 0.4};

// Five large shots at the ship from the mouth, once per speed.
void AimedFan(MidBossTwo& b) {
    const float x = static_cast<float>(GunX(b, MOUTH)), y = static_cast<float>(GunY(b, MOUTH));
    for (double speed : Round().aimedFanSpeeds) {
        for (double d : AIMED_FAN_OFFSETS) FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_LARGE);
    }
}
void SwayAgain(MidBossTwo& b) { b.swaySwitch = 1; }
void Leave(MidBossTwo& b) {
    b.leaving = 1;
    b.swaySwitch = 0;
}

enum ActionRow { AIMED_FAN, SWAY, LEAVE };
inline constexpr Action<MidBossTwo> ACTIONS[] = {AimedFan, SwayAgain, Leave};

// clang-format off
inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {On(WAVE)}},
    {20, 20, {On(LEFT_RING)}},
    {80, 80, {On(RIGHT_RING), Off(LEFT_RING)}},
    {140, 140, {Off(RIGHT_RING)}},
    {180, 180, {Off(WAVE)}},
    {200, 200, {Do(AIMED_FAN), On(LEFT_RING), On(RIGHT_RING)}},
    {230, 230, {Do(SWAY), Off(LEFT_RING), Off(RIGHT_RING)}},
    {260, 260, {On(BURST)}},
    {800, 800, {Do(LEAVE), Off(BURST)}},
};
// clang-format on

// After the entry and the sway: the leaving drift, then script events before the timer's
// increment and the patterns after it.
void Frame(MidBossTwo& b) {
    if (b.leaving == 1) {
        b.x += LEAVE_STEP_X;
        b.y += LEAVE_STEP_Y;
    }
    RunScriptFrame<MidBossTwo>(b, SCRIPT, PATTERNS, ACTIONS);
}

}  // namespace

void UpdateMidBossTwo() { RunSwayingBoss(g_midBossTwo, MOTION, Frame); }

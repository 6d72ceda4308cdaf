// The second mid-boss, g_midBossTwo: a 96 x 96 craft of stage 3. It descends for 66 frames, then
// an 800-frame script lays its patterns over each other: a swinging fan of large bullets from the
// mouth, rings from its two turrets (one after the other, then both together), an aimed fan,
// and from timer 260 a rotating triple-spoke burst while it sways. At 800 it stops swaying and
// drifts away to the lower right, firing nothing new. Killing it, its shield drop and freeing
// it once it has left are the collision pass's business.
//
// Script events happen at fixed values of the script timer, before its increment; the
// continuous patterns run after it, each while its switch is on.
#include <cmath>

#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

// Where a gun of the hull is on the field.
int GunX(const MidBossTwo& b, GunOffset gun) { return b.x + gun.dx; }
int GunY(const MidBossTwo& b, GunOffset gun) { return b.y + gun.dy; }

// ---- entry, sway and leaving
// 66 frames at 2 pixels a frame, from y -96 to 36; then 20 pixels about x 53, 5 about y 28.
inline constexpr BossMotion MOTION{66, 2, 0.05, 20, 53, 5, 28};
inline constexpr int LEAVE_STEP_X = 1, LEAVE_STEP_Y = 2;

// ---- gun points
inline constexpr GunOffset MOUTH{45, 58};          // N
inline constexpr GunOffset LEFT_TURRET{17, 28};
inline constexpr GunOffset RIGHT_TURRET{73, 28};

// ---- the aimed fan at timer 200
inline constexpr double AIMED_FAN_OFFSETS[] = {-0.4, -0.2, 0, 0.2, 0.4};
inline constexpr double AIMED_FAN_SPEED = 5.0;
inline constexpr double AIMED_FAN_SECOND_SPEED = 6.0;  // round 2 only

// ---- the swinging wave: ten large shots turned from straight down, the fan swinging between
// -0.6 and 0.6 by a step per volley
inline constexpr double WAVE_OFFSETS[] = {3.48, 4.28, 4.68, 5.48, 5.88, 0.4, 0.8, 1.6, 2.0, 2.8};
inline constexpr int WAVE_INTERVAL_TICK = 3;
inline constexpr double WAVE_SPEED = 6.0;
inline constexpr double WAVE_SWING_LIMIT = 0.6;
inline constexpr double WAVE_STEP_ROUND_1 = 0.04, WAVE_STEP_ROUND_2 = 0.08;
inline constexpr int WAVE_RISING = 0, WAVE_FALLING = 1;

// ---- the turret rings: fifteen spokes 0.43 apart, the whole ring turned 0.1 per volley
inline constexpr int RING_INTERVAL_TICK_ROUND_1 = 4, RING_INTERVAL_TICK_ROUND_2 = 3;
inline constexpr double RING_SPOKE_STEP = 0.43;
inline constexpr double RING_TURN_STEP = 0.1;
inline constexpr double RING_SPEED = 3.0;

// ---- the burst: spokes of three shots 0.4 apart; each volley starts 0.1 further round,
// back to 0 after four volleys
inline constexpr int BURST_INTERVAL_TICK_ROUND_1 = 10, BURST_INTERVAL_TICK_ROUND_2 = 8;
inline constexpr double BURST_SPOKE_STEP = 0.4;
inline constexpr double BURST_SHOT_OFFSETS[] = {0, 0.1, 0.2};
inline constexpr double BURST_BASE_STEP = 0.1;
inline constexpr double BURST_BASE_LIMIT = 0.4;
inline constexpr double BURST_SPEED_ROUND_1 = 3.0, BURST_SPEED_ROUND_2 = 4.0;

// One turret's ring: its fields in the record and the way its base turns.
struct TurretRing {
    int32_t& on;
    int32_t& tick;
    float& angle;
    float& base;
    GunOffset turret;
    bool clockwise;
};

TurretRing LeftRing(MidBossTwo& b) {
    return {b.leftRingSwitch, b.leftRingTick, b.leftRingAngle, b.leftRingBase, LEFT_TURRET, true};
}
TurretRing RightRing(MidBossTwo& b) {
    return {b.rightRingSwitch, b.rightRingTick, b.rightRingAngle, b.rightRingBase, RIGHT_TURRET, false};
}

void StartRing(const TurretRing& ring) {
    ring.on = 1;
    ring.tick = 0;
    ring.angle = 0;
    ring.base = 0;
}

void FireAimedFan(const MidBossTwo& b, double speed) {
    const float x = static_cast<float>(GunX(b, MOUTH)), y = static_cast<float>(GunY(b, MOUTH));
    for (double d : AIMED_FAN_OFFSETS) {
        FireAimed(x, y, static_cast<float>(speed), static_cast<float>(d), BULLET_LARGE);
    }
}

void RunScriptEvent(MidBossTwo& b) {
    switch (b.scriptTimer) {
        case 0:
            b.waveSwitch = 1;
            b.waveTick = 0;
            b.waveDirection = WAVE_RISING;
            b.waveAngle = 0;
            break;
        case 20:
            StartRing(LeftRing(b));
            break;
        case 80:
            StartRing(RightRing(b));
            b.leftRingSwitch = 0;
            break;
        case 140:
            b.rightRingSwitch = 0;
            break;
        case 180:
            b.waveSwitch = 0;
            break;
        case 200:
            FireAimedFan(b, AIMED_FAN_SPEED);
            if (g_round == 2) FireAimedFan(b, AIMED_FAN_SECOND_SPEED);
            StartRing(LeftRing(b));
            StartRing(RightRing(b));
            break;
        case 230:
            b.swaySwitch = 1;
            b.leftRingSwitch = 0;
            b.rightRingSwitch = 0;
            break;
        case 260:
            b.burstSwitch = 1;
            b.burstTick = 0;
            b.burstAngle = 0;
            b.burstBase = 0;
            break;
        case 800:
            b.leaving = 1;
            b.swaySwitch = 0;
            b.burstSwitch = 0;
            break;
        default:
            break;
    }
}

// Spokes of three shots all round from the mouth, starting at the burst base.
void FireBurst(MidBossTwo& b) {
    const bool second = g_round == 2;
    if (b.burstTick >= (second ? BURST_INTERVAL_TICK_ROUND_2 : BURST_INTERVAL_TICK_ROUND_1)) {
        b.burstTick = 0;
        const double speed = second ? BURST_SPEED_ROUND_2 : BURST_SPEED_ROUND_1;
        for (b.burstAngle = b.burstBase; b.burstAngle < FULL_TURN;
             b.burstAngle = static_cast<float>(b.burstAngle + BURST_SPOKE_STEP)) {
            for (double d : BURST_SHOT_OFFSETS) {
                FireUpFrom(GunX(b, MOUTH), GunY(b, MOUTH), speed, b.burstAngle + d, BULLET_SMALL);
            }
        }
        b.burstBase = static_cast<float>(b.burstBase + BURST_BASE_STEP);
        if (b.burstBase >= BURST_BASE_LIMIT) b.burstBase = 0;
    }
    b.burstTick += 1;
}

// Fifteen single shots all round from one turret; the ring turns a little with each volley.
void FireRing(const MidBossTwo& b, const TurretRing& ring) {
    const int interval = g_round == 2 ? RING_INTERVAL_TICK_ROUND_2 : RING_INTERVAL_TICK_ROUND_1;
    if (ring.tick >= interval) {
        ring.tick = 0;
        for (ring.angle = 0; ring.angle < FULL_TURN; ring.angle = static_cast<float>(ring.angle + RING_SPOKE_STEP)) {
            FireUpFrom(GunX(b, ring.turret), GunY(b, ring.turret), RING_SPEED, ring.angle + ring.base, BULLET_SMALL);
        }
        if (ring.clockwise) {
            SpinClockwise(ring.base, RING_TURN_STEP);
        } else {
            SpinAnticlockwise(ring.base, RING_TURN_STEP);
        }
    }
    ring.tick += 1;
}

// Ten large shots turned from straight down, the whole fan swinging to and fro a step per volley.
void FireWave(MidBossTwo& b) {
    if (b.waveTick >= WAVE_INTERVAL_TICK) {
        PlayEnemyFireSound();
        b.waveTick = 0;
        for (double d : WAVE_OFFSETS) {
            FireDownFrom(GunX(b, MOUTH), GunY(b, MOUTH), WAVE_SPEED, b.waveAngle + d, BULLET_LARGE);
        }
        const double step = g_round == 2 ? WAVE_STEP_ROUND_2 : WAVE_STEP_ROUND_1;
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

}  // namespace

void UpdateMidBossTwo() {
    MidBossTwo& b = g_midBossTwo;
    if (b.alive != 1) return;
    if (Enter(b.y, b.entryCounter, MOTION)) return;
    if (b.swaySwitch == 1) Sway(b.x, b.y, b.swayAngle, MOTION);
    if (b.leaving == 1) {
        b.x += LEAVE_STEP_X;
        b.y += LEAVE_STEP_Y;
    }
    RunScriptEvent(b);
    b.scriptTimer += 1;
    if (b.burstSwitch == 1) FireBurst(b);
    if (b.rightRingSwitch == 1) FireRing(b, RightRing(b));
    if (b.leftRingSwitch == 1) FireRing(b, LeftRing(b));
    if (b.waveSwitch == 1) FireWave(b);
    b.entryCounter += 1;
}

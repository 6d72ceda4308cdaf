// The escort, g_midBossEscort: a 96 x 48 craft that joins the mid-boss's third appearance as
// its mirror image. It glides in from the right edge, braking by one pixel a frame, then swings
// right and back six times; ten frames into the swinging it starts spraying from its two turrets
// (a volley every second frame, the two sprays turning opposite ways) and firing fans at a
// target it captures once a second. After the sixth swing it sinks away to the lower right and
// fires no more. Killing it, scoring it and freeing it once it has left are the collision pass's
// business.
#include <span>

#include "stage/boss_guns.h"
#include "stage/stage.h"

namespace {

// Where a gun of the hull is on the field.
int GunX(const MidBossEscort& b, GunOffset gun) { return b.x + gun.dx; }
int GunY(const MidBossEscort& b, GunOffset gun) { return b.y + gun.dy; }

// ---- motion
inline constexpr int GLIDE_LAST = 25;       // motion counter 0..25: gliding in
inline constexpr int SWING_FIRST = 26;      // motion counter 26..85: one swing
inline constexpr int SWING_RESTART = 86;    // the counter returns to SWING_FIRST here
inline constexpr int SWINGS = 6;
inline constexpr int LEAVE_STEP_X = 1, LEAVE_STEP_Y = 3;

// One swing: ten frames at each speed, out to the right, then back.
struct SwingLeg {
    int lastCounter;
    int dx;
};
inline constexpr SwingLeg SWING_LEGS[] = {{35, 3}, {45, 2}, {55, 1}, {65, -3}, {75, -2}, {85, -1}};

// ---- script
inline constexpr int SCRIPT_START_FIRE = 10;

// ---- turret sprays: each shot aimed at the point three pixels above its turret, so angle 0
// goes straight up
inline constexpr GunOffset LEFT_TURRET{22, 29};
inline constexpr GunOffset RIGHT_TURRET{68, 29};
inline constexpr int SPRAY_AIM_RISE = 3;
inline constexpr int SPRAY_FIRE_TICK = 2;
inline constexpr double SPRAY_PAIR_OFFSETS[] = {0, 0.05};
inline constexpr double SPRAY_SPEED = 3.0;
inline constexpr double SPRAY_SECOND_SPEED = 4.0;  // round 2 fires the volley again at this speed
inline constexpr double SPRAY_STEP = 0.6;

// ---- target fans: twelve shots with a gap on the aim line, one fan per speed
inline constexpr GunOffset FAN_GUN{45, 21};
inline constexpr int FAN_CAPTURE_TIME = 29;
inline constexpr int FAN_FIRE_TIME = 30;
inline constexpr double FAN_OFFSETS[] = {-1.1, -0.9, -0.7, -0.5, -0.3, -0.1, 0.1, 0.3, 0.5, 0.7, 0.9, 1.1};
inline constexpr double FAN_SPEEDS_ROUND_1[] = {2.0, 3.0};
inline constexpr double FAN_SPEEDS_ROUND_2[] = {2.0, 3.0, 4.0};

void FireSprayShot(const MidBossEscort& e, GunOffset turret, double speed, double angle) {
    const int x = GunX(e, turret), y = GunY(e, turret);
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - SPRAY_AIM_RISE, static_cast<float>(speed),
                static_cast<float>(angle), BULLET_SMALL);
}

// Left, right, left, right: each turret's shot and its twin 0.05 further round.
void FireSprayVolley(const MidBossEscort& e, double speed) {
    for (double d : SPRAY_PAIR_OFFSETS) {
        FireSprayShot(e, LEFT_TURRET, speed, e.leftSprayAngle + d);
        FireSprayShot(e, RIGHT_TURRET, speed, e.rightSprayAngle + d);
    }
}

void FireSpray(MidBossEscort& e) {
    if (e.sprayTick == SPRAY_FIRE_TICK) {
        e.sprayTick = 0;
        FireSprayVolley(e, SPRAY_SPEED);
        if (g_round == 2) FireSprayVolley(e, SPRAY_SECOND_SPEED);
        SpinClockwise(e.leftSprayAngle, SPRAY_STEP);
        SpinAnticlockwise(e.rightSprayAngle, SPRAY_STEP);
    }
    e.sprayTick += 1;
}

void FireFans(MidBossEscort& e) {
    if (e.fanTimer == FAN_CAPTURE_TIME) CaptureShipTarget(&e.targetX, &e.targetY);
    if (e.fanTimer == FAN_FIRE_TIME) {
        e.fanTimer = 0;
        const float x = static_cast<float>(GunX(e, FAN_GUN)), y = static_cast<float>(GunY(e, FAN_GUN));
        const std::span<const double> speeds =
            g_round == 2 ? std::span<const double>(FAN_SPEEDS_ROUND_2) : std::span<const double>(FAN_SPEEDS_ROUND_1);
        for (double speed : speeds) {
            for (double d : FAN_OFFSETS) {
                FireAtPoint(x, y, e.targetX, e.targetY, static_cast<float>(speed), static_cast<float>(d),
                            BULLET_SMALL);
            }
        }
    }
    e.fanTimer += 1;
}

void Swing(MidBossEscort& e) {
    if (e.motionCounter == SWING_RESTART) {
        e.swingCount += 1;
        if (e.swingCount == SWINGS) e.leaving = 1;  // it still swings and fires in this frame
        e.motionCounter = SWING_FIRST;
    }
    for (const SwingLeg& leg : SWING_LEGS) {
        if (e.motionCounter <= leg.lastCounter) {
            e.x += leg.dx;
            break;
        }
    }
}

}  // namespace

void UpdateMidBossEscort() {
    MidBossEscort& e = g_midBossEscort;
    if (e.alive != 1) return;
    if (e.leaving == 1) {
        e.x += LEAVE_STEP_X;
        e.y += LEAVE_STEP_Y;
        return;
    }
    if (e.motionCounter <= GLIDE_LAST) {
        e.x -= e.glideSpeed;
        if (e.glideSpeed > 0) e.glideSpeed -= 1;
        e.y -= 1;
        e.motionCounter += 1;
        return;
    }
    Swing(e);
    if (e.scriptTimer == SCRIPT_START_FIRE) {
        e.spraySwitch = 1;
        e.fanSwitch = 1;
        e.leftSprayAngle = 0;
        e.rightSprayAngle = 0;
        e.sprayTick = 0;
        e.fanTimer = 0;
    }
    e.scriptTimer += 1;
    if (e.spraySwitch == 1) FireSpray(e);
    if (e.fanSwitch == 1) FireFans(e);
    e.motionCounter += 1;
}

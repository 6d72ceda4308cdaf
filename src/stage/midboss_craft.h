// The recurring mid-boss and its escort are one kind of 96 x 48 craft: they glide in from one
// edge, braking by a pixel a frame and climbing one a frame, swing out and back in 60-frame
// swings, and sink away once their swings are done. The escort is the mid-boss's mirror image
// and fires as the mid-boss's third variant does. This header holds what both share: the
// motion, the turret sprays and the fans at a captured point, written for either record (the
// escort's record is the mid-boss's first nineteen fields).
#pragma once

#include <span>

#include "enemyfire/enemyfire.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"

// ---- motion
inline constexpr int GLIDE_LAST = 25;   // motion counter 0..25: gliding in
inline constexpr int SWING_FIRST = 26;  // the counter of a swing's first frame ...
inline constexpr int SWING_OVER = 86;   // ... and the value that closes the swing
inline constexpr int LEAVE_FALL = 3;
// A swing by motion counter: up to `last`, x moves dx pixels a frame outwards (negative: back).
struct SwingLeg {
    int last;
    int dx;
};
inline constexpr SwingLeg SWING_LEGS[] = {{35, 3}, {45, 2}, {55, 1}, {65, -3}, {75, -2}, {85, -1}};

// One frame of a craft gliding in from the left edge (direction +1; the mid-boss) or the right
// (-1; the escort): it leaves and swings out the other way. The last of `swings` swings sets the
// leaving flag and still moves and fires in that frame; leaving starts with the next. `fire` is
// the craft's firing for a frame of swinging.
template <typename Craft>
void RunGlidingCraft(Craft& m, int direction, int swings, void (*fire)(Craft&)) {
    if (m.leaving == 1) {
        m.y += LEAVE_FALL;
        m.x -= direction;
        return;
    }
    if (m.motionCounter <= GLIDE_LAST) {
        m.x += direction * m.glideSpeed;
        if (m.glideSpeed > 0) m.glideSpeed -= 1;
        m.y -= 1;
        m.motionCounter += 1;
        return;
    }
    if (m.motionCounter == SWING_OVER) {
        m.swingCount += 1;
        if (m.swingCount == swings) m.leaving = 1;
        m.motionCounter = SWING_FIRST;
    }
    for (const SwingLeg& leg : SWING_LEGS) {
        if (m.motionCounter <= leg.last) {
            m.x -= direction * leg.dx;
            break;
        }
    }
    fire(m);
    m.motionCounter += 1;
}

// ---- guns
inline constexpr GunOffset CENTRE_GUN{45, 21};
inline constexpr GunOffset LEFT_TURRET{22, 29};
inline constexpr GunOffset RIGHT_TURRET{68, 29};
inline constexpr int TURRET_AIM_RISE = 3;  // the sprays aim this far straight above a turret

// ---- turret sprays: a volley when the spray tick reaches `tick`, once per listed speed, the
// two sprays turning opposite ways by `turn` after each volley.
enum class SprayShape {
    TRIPLE_PAIR,  // three shots from each turret, alternating left and right
    FOUR_SHOTS,   // left, right, left + 0.05, right + 0.05
};
struct Spray {
    int tick;
    std::span<const double> speeds;
    double turn;
    SprayShape shape;
};
inline constexpr double SPRAY_SPREAD = 0.05;

template <typename Craft>
void FireTurret(const Craft& m, GunOffset turret, double speed, double angle) {
    const int x = GunX(m, turret);
    FireAtPoint(static_cast<float>(x), static_cast<float>(GunY(m, turret)), x, GunY(m, turret) - TURRET_AIM_RISE,
                static_cast<float>(speed), static_cast<float>(angle), BULLET_SMALL);
}

// The angles turn only with a volley.
template <typename Craft>
void RunSpray(Craft& m, const Spray& spray) {
    if (TickReaches(m.sprayTick, spray.tick)) {
        const double left = m.leftSprayAngle;
        const double right = m.rightSprayAngle;
        for (double speed : spray.speeds) {
            if (spray.shape == SprayShape::TRIPLE_PAIR) {
                for (double d : {-SPRAY_SPREAD, 0.0, SPRAY_SPREAD}) {
                    FireTurret(m, LEFT_TURRET, speed, left + d);
                    FireTurret(m, RIGHT_TURRET, speed, right + d);
                }
            } else {
                for (double d : {0.0, SPRAY_SPREAD}) {
                    FireTurret(m, LEFT_TURRET, speed, left + d);
                    FireTurret(m, RIGHT_TURRET, speed, right + d);
                }
            }
        }
        SpinClockwise(m.leftSprayAngle, spray.turn);
        SpinAnticlockwise(m.rightSprayAngle, spray.turn);
    }
    m.sprayTick += 1;
}

// ---- fans at the captured point: the target is captured at one fan-timer value, the fans fire
// (and the timer restarts) at another, one fan per listed speed.
struct Fans {
    int capture;
    int fire;
    std::span<const double> speeds;
    std::span<const double> offsets;
};
inline constexpr double FAN_SPEEDS_ROUND_1[] = {2.0, 3.0};
inline constexpr double FAN_SPEEDS_ROUND_2[] = {2.0, 3.0, 4.0};
// Twelve shots with a gap where the aim line would be.
inline constexpr double GAP_FAN[] = {-1.1, -0.9, -0.7, -0.5, -0.3, -0.1, 0.1, 0.3, 0.5, 0.7, 0.9, 1.1};

template <typename Craft>
void RunFans(Craft& m, const Fans& fans) {
    if (m.fanTimer == fans.capture) CaptureShipTarget(&m.targetX, &m.targetY);
    if (TickReaches(m.fanTimer, fans.fire)) {
        const float x = static_cast<float>(GunX(m, CENTRE_GUN)), y = static_cast<float>(GunY(m, CENTRE_GUN));
        for (double speed : fans.speeds) {
            for (double d : fans.offsets) {
                FireAtPoint(x, y, m.targetX, m.targetY, static_cast<float>(speed), static_cast<float>(d), BULLET_SMALL);
            }
        }
    }
    m.fanTimer += 1;
}

// The sprays and fans of the mid-boss's third variant and of its escort.
inline constexpr double SPEED_3[] = {3.0};
inline constexpr double SPEEDS_3_4[] = {3.0, 4.0};
inline constexpr Spray FOUR_SHOT_SPRAY_ROUND_1{2, SPEED_3, 0.6, SprayShape::FOUR_SHOTS};
inline constexpr Spray FOUR_SHOT_SPRAY_ROUND_2{2, SPEEDS_3_4, 0.6, SprayShape::FOUR_SHOTS};
inline constexpr Fans GAP_FANS_ROUND_1{29, 30, FAN_SPEEDS_ROUND_1, GAP_FAN};
inline constexpr Fans GAP_FANS_ROUND_2{29, 30, FAN_SPEEDS_ROUND_2, GAP_FAN};

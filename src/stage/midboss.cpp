// The recurring mid-boss: a 96 x 48 craft the level sends four times, each time as another
// variant (0 to 3, stored by its spawner). Every variant glides in from the left edge for 26
// frames, braking from 18 pixels a frame and climbing one a frame, then swings out to the left
// and back in 60-frame swings (12, 6, 6 or 30 of them), and then sinks away to the lower left
// without firing. It fires only while swinging:
//   variant 0: a script of turned eight-way ring groups, then turret sprays and aimed fans;
//   variant 1: sprays and aimed fans for a while, then turning rings of large bullets;
//   variant 2: four-shot sprays and fans with a gap on the aim line (it comes with the escort);
//   variant 3: a plain gapped fan at the ship every 20 frames (10 in round 2).
// Its guns: the centre gun M (x + 45, y + 21) and the turrets (x + 22, y + 29), (x + 68, y + 29).
// The turret sprays and the rings aim at a point straight above the gun, so that angle 0 points
// up and the angles turn the stream from there.
#include <iterator>
#include <span>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"

namespace {

// ---- motion
inline constexpr int GLIDE_LAST = 25;    // motion counter: glides while at most this
inline constexpr int SWING_FIRST = 26;   // the counter of a swing's first frame ...
inline constexpr int SWING_OVER = 86;    // ... and the value that closes the swing
// The swing by motion counter: up to `last`, x moves by dx a frame.
struct SwingStep {
    int last;
    int dx;
};
inline constexpr SwingStep SWING[] = {{35, -3}, {45, -2}, {55, -1}, {65, +3}, {75, +2}, {85, +1}};
inline constexpr int SWINGS_BEFORE_LEAVING[4] = {12, 6, 6, 30};  // by variant
inline constexpr int LEAVE_FALL = 3;
inline constexpr int LEAVE_DRIFT = -1;

// ---- guns
inline constexpr int GUN_X = 45, GUN_Y = 21;
inline constexpr int LEFT_TURRET_X = 22, RIGHT_TURRET_X = 68, TURRET_Y = 29;
inline constexpr int TURRET_AIM_Y = 26;  // straight above the turrets
inline constexpr double SPRAY_SPREAD = 0.05;
inline constexpr double SPRAY_WRAP = 6.28;

// ---- variant 0: ring groups, five eight-way rings each, turned slightly against each other
inline constexpr double RING_GROUP_A[] = {-0.2, -0.1, 0, 0.1, 0.2};
inline constexpr double RING_GROUP_B[] = {1.8, 1.9, 2.0, 2.1, 2.2};
struct RingGroupVolley {
    std::span<const double> turns;  // RING_GROUP_A or RING_GROUP_B; empty: no volley
    int speed;
};
struct RingEvent {
    int timer;  // script timer before its increment
    RingGroupVolley volleys[3];
};
inline constexpr RingGroupVolley A2{RING_GROUP_A, 2}, A3{RING_GROUP_A, 3}, A4{RING_GROUP_A, 4};
inline constexpr RingGroupVolley B2{RING_GROUP_B, 2}, B3{RING_GROUP_B, 3}, B4{RING_GROUP_B, 4};
inline constexpr RingEvent RING_SCRIPT_ROUND_1[] = {
    {0, {A2, B3}}, {20, {A3, B2}}, {40, {A2, B3}}, {60, {A3, B2}}, {80, {A2, B3}},
};
inline constexpr RingEvent RING_SCRIPT_ROUND_2[] = {
    {0, {A3, B4, A2}},  {10, {A4, B3, A2}}, {20, {A3, B4}},     {30, {A4, B3}},     {40, {A3, B4, A2}},
    {50, {A3, B4, A2}}, {60, {A4, B3, A2}}, {70, {A3, B4, A2}}, {80, {A4, B3, A2}},
};
inline constexpr int VARIANT_0_SWITCH_ON = 120;

// ---- variants 1 and 2: script timers
inline constexpr int LATE_SWITCH_ON = 10;
inline constexpr int VARIANT_1_SWITCH_OFF = 100;
inline constexpr int VARIANT_1_RING_ON = 110;

// ---- the turret sprays: a volley every `every` frames at each listed speed, the angles
// turning by `turn` after each volley.
enum class SprayShape {
    TRIPLE_PAIR,  // three shots from each turret, alternating left and right
    FOUR_SHOTS,   // left, right, left + 0.05, right + 0.05
};
struct Spray {
    int every;
    std::span<const double> speeds;
    double turn;
    SprayShape shape;
};
inline constexpr double SPEEDS_3[] = {3.0};
inline constexpr double SPEEDS_4_3[] = {4.0, 3.0};
inline constexpr double SPEEDS_3_4[] = {3.0, 4.0};
inline constexpr Spray SPRAY_VARIANT_0_ROUND_1{4, SPEEDS_3, 0.6, SprayShape::TRIPLE_PAIR};
inline constexpr Spray SPRAY_VARIANT_0_ROUND_2{2, SPEEDS_4_3, 0.4, SprayShape::TRIPLE_PAIR};
inline constexpr Spray SPRAY_VARIANT_1_ROUND_1{2, SPEEDS_3, 0.6, SprayShape::TRIPLE_PAIR};
inline constexpr Spray SPRAY_VARIANT_1_ROUND_2{2, SPEEDS_3_4, 0.6, SprayShape::TRIPLE_PAIR};
inline constexpr Spray SPRAY_VARIANT_2_ROUND_1{2, SPEEDS_3, 0.6, SprayShape::FOUR_SHOTS};
inline constexpr Spray SPRAY_VARIANT_2_ROUND_2{2, SPEEDS_3_4, 0.6, SprayShape::FOUR_SHOTS};

// ---- the fans at the captured point: the target is captured at one fan-timer value, the fans
// fire (and the timer restarts) at another, one fan per listed speed.
struct Fans {
    int capture;
    int fire;
    std::span<const double> speeds;
    std::span<const double> offsets;
};
inline constexpr double FAN_SPEEDS_ROUND_1[] = {2.0, 3.0};
inline constexpr double FAN_SPEEDS_ROUND_2[] = {2.0, 3.0, 4.0};
inline constexpr double AIMED_FAN[] = {-0.6, -0.5, -0.4, -0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
// Twelve shots with a gap where the aim line would be.
inline constexpr double GAP_FAN[] = {-1.1, -0.9, -0.7, -0.5, -0.3, -0.1, 0.1, 0.3, 0.5, 0.7, 0.9, 1.1};
inline constexpr Fans FANS_VARIANT_0_ROUND_1{59, 60, FAN_SPEEDS_ROUND_1, AIMED_FAN};
inline constexpr Fans FANS_VARIANT_0_ROUND_2{39, 50, FAN_SPEEDS_ROUND_2, AIMED_FAN};
inline constexpr Fans FANS_VARIANT_1_ROUND_1{29, 30, FAN_SPEEDS_ROUND_1, AIMED_FAN};
inline constexpr Fans FANS_VARIANT_1_ROUND_2{29, 30, FAN_SPEEDS_ROUND_2, AIMED_FAN};
inline constexpr Fans FANS_VARIANT_2_ROUND_1{29, 30, FAN_SPEEDS_ROUND_1, GAP_FAN};
inline constexpr Fans FANS_VARIANT_2_ROUND_2{29, 30, FAN_SPEEDS_ROUND_2, GAP_FAN};

// ---- variant 1's turning ring of large bullets
inline constexpr int RING_EVERY = 12;
inline constexpr double RING_SPEED = 4.0;
inline constexpr double RING_STEP = 0.18;  // 35 directions
inline constexpr double RING_END = 6.28;
inline constexpr double RING_TURN = 0.08;  // each ring starts 0.08 further round ...
inline constexpr double RING_TURN_WRAP = 0.2;  // ... back to 0 after 0.16
inline constexpr double RING_AIMED_SPEED = 3.0;  // round 2
inline constexpr double RING_AIMED_FAN[] = {-0.9, -0.6, -0.3, 0, 0.3, 0.6, 0.9};  // no jitter

// ---- variant 3's fan at the ship
inline constexpr int VARIANT_3_FAN_EVERY_ROUND_1 = 20;
inline constexpr int VARIANT_3_FAN_EVERY_ROUND_2 = 10;
inline constexpr double VARIANT_3_FAN_SPEED = 3.0;

float GunX(const MidBoss& m) { return static_cast<float>(m.x + GUN_X); }
float GunY(const MidBoss& m) { return static_cast<float>(m.y + GUN_Y); }

void Glide(MidBoss& m) {
    m.x += m.glideSpeed;
    if (m.glideSpeed > 0) m.glideSpeed -= 1;
    m.y -= 1;
}

// Closes a swing at its end (the last one sets the leaving flag), then moves by the counter.
void Swing(MidBoss& m) {
    if (m.motionCounter == SWING_OVER) {
        m.swingCount += 1;
        if (m.swingCount == SWINGS_BEFORE_LEAVING[m.variant]) m.leaving = 1;
        m.motionCounter = SWING_FIRST;
    }
    for (const SwingStep& step : SWING) {
        if (m.motionCounter <= step.last) {
            m.x += step.dx;
            break;
        }
    }
}

// Both sprays and both fans on, their angles and counters from the start.
void SwitchSprayAndFans(MidBoss& m, int on) {
    m.spraySwitch = on;
    m.fanSwitch = on;
    m.leftSprayAngle = 0.0f;
    m.rightSprayAngle = 0.0f;
    m.sprayTick = 0;
    m.fanTimer = 0;
}

void FireRingGroup(const MidBoss& m, const RingGroupVolley& volley) {
    for (double turn : volley.turns) {
        FireRing8(m.x + GUN_X, m.y + GUN_Y, volley.speed, static_cast<float>(turn), BULLET_SMALL);
    }
}

void FireTurret(const MidBoss& m, int turretX, double speed, double angle) {
    const int x = m.x + turretX;
    FireAtPoint(static_cast<float>(x), static_cast<float>(m.y + TURRET_Y), x, m.y + TURRET_AIM_Y,
                static_cast<float>(speed), static_cast<float>(angle), BULLET_SMALL);
}

void FireSprayVolley(const MidBoss& m, SprayShape shape, double speed) {
    const double left = m.leftSprayAngle;
    const double right = m.rightSprayAngle;
    if (shape == SprayShape::TRIPLE_PAIR) {
        for (double d : {-SPRAY_SPREAD, 0.0, SPRAY_SPREAD}) {
            FireTurret(m, LEFT_TURRET_X, speed, left + d);
            FireTurret(m, RIGHT_TURRET_X, speed, right + d);
        }
    } else {
        FireTurret(m, LEFT_TURRET_X, speed, left);
        FireTurret(m, RIGHT_TURRET_X, speed, right);
        FireTurret(m, LEFT_TURRET_X, speed, left + SPRAY_SPREAD);
        FireTurret(m, RIGHT_TURRET_X, speed, right + SPRAY_SPREAD);
    }
}

// The angles turn only with a volley; each wraps to 0 once a full turn is reached.
void RunSpray(MidBoss& m, const Spray& spray) {
    if (m.spraySwitch == 0) return;
    if (m.sprayTick == spray.every) {
        m.sprayTick = 0;
        for (double speed : spray.speeds) FireSprayVolley(m, spray.shape, speed);
        m.leftSprayAngle = static_cast<float>(m.leftSprayAngle + spray.turn);
        if (m.leftSprayAngle >= SPRAY_WRAP) m.leftSprayAngle = 0.0f;
        m.rightSprayAngle = static_cast<float>(m.rightSprayAngle - spray.turn);
        if (m.rightSprayAngle <= -SPRAY_WRAP) m.rightSprayAngle = 0.0f;
    }
    m.sprayTick += 1;
}

void RunFans(MidBoss& m, const Fans& fans) {
    if (m.fanSwitch == 0) return;
    if (m.fanTimer == fans.capture) CaptureShipTarget(&m.targetX, &m.targetY);
    if (m.fanTimer == fans.fire) {
        m.fanTimer = 0;
        for (double speed : fans.speeds) {
            for (double d : fans.offsets) {
                FireAtPoint(GunX(m), GunY(m), m.targetX, m.targetY, static_cast<float>(speed), static_cast<float>(d),
                            BULLET_SMALL);
            }
        }
    }
    m.fanTimer += 1;
}

void RunVariant0(MidBoss& m) {
    const std::span<const RingEvent> script =
        g_round == 2 ? std::span<const RingEvent>(RING_SCRIPT_ROUND_2) : std::span<const RingEvent>(RING_SCRIPT_ROUND_1);
    for (const RingEvent& event : script) {
        if (event.timer != m.scriptTimer) continue;
        for (const RingGroupVolley& volley : event.volleys) {
            FireRingGroup(m, volley);
        }
    }
    if (m.scriptTimer == VARIANT_0_SWITCH_ON) SwitchSprayAndFans(m, 1);
    m.scriptTimer += 1;
    RunSpray(m, g_round == 2 ? SPRAY_VARIANT_0_ROUND_2 : SPRAY_VARIANT_0_ROUND_1);
    RunFans(m, g_round == 2 ? FANS_VARIANT_0_ROUND_2 : FANS_VARIANT_0_ROUND_1);
}

// A ring of large bullets from the centre gun, each ring starting a little further round.
void RunTurningRing(MidBoss& m) {
    if (m.ringSwitch == 0) return;
    if (m.ringTick == RING_EVERY) {
        m.ringTick = 0;
        PlayEnemyFireSound();
        const int x = m.x + GUN_X;
        const int y = m.y + GUN_Y;
        m.ringStep = m.ringTurn;
        while (m.ringStep < RING_END) {
            FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - 1, static_cast<float>(RING_SPEED),
                        m.ringStep, BULLET_LARGE);
            m.ringStep = static_cast<float>(m.ringStep + RING_STEP);
        }
        if (g_round == 2) {
            for (double d : RING_AIMED_FAN) {
                FireAimed(GunX(m), GunY(m), static_cast<float>(RING_AIMED_SPEED), static_cast<float>(d), BULLET_SMALL);
            }
        }
        m.ringTurn = static_cast<float>(m.ringTurn + RING_TURN);
        if (m.ringTurn >= RING_TURN_WRAP) m.ringTurn = 0.0f;
    }
    m.ringTick += 1;
}

void RunVariant1(MidBoss& m) {
    if (m.scriptTimer == LATE_SWITCH_ON) SwitchSprayAndFans(m, 1);
    if (m.scriptTimer == VARIANT_1_SWITCH_OFF) SwitchSprayAndFans(m, 0);
    if (m.scriptTimer == VARIANT_1_RING_ON) {
        m.ringSwitch = 1;
        m.ringTick = 0;
    }
    m.scriptTimer += 1;
    RunSpray(m, g_round == 2 ? SPRAY_VARIANT_1_ROUND_2 : SPRAY_VARIANT_1_ROUND_1);
    RunTurningRing(m);
    RunFans(m, g_round == 2 ? FANS_VARIANT_1_ROUND_2 : FANS_VARIANT_1_ROUND_1);
}

void RunVariant2(MidBoss& m) {
    if (m.scriptTimer == LATE_SWITCH_ON) SwitchSprayAndFans(m, 1);
    m.scriptTimer += 1;
    RunSpray(m, g_round == 2 ? SPRAY_VARIANT_2_ROUND_2 : SPRAY_VARIANT_2_ROUND_1);
    RunFans(m, g_round == 2 ? FANS_VARIANT_2_ROUND_2 : FANS_VARIANT_2_ROUND_1);
}

void RunVariant3(MidBoss& m) {
    const int every = g_round == 2 ? VARIANT_3_FAN_EVERY_ROUND_2 : VARIANT_3_FAN_EVERY_ROUND_1;
    if (m.fanTick == every) {
        for (double d : GAP_FAN) {
            // The jitter (a float) and the offset add up in double; the sum is rounded on the call.
            FireAimed(GunX(m), GunY(m), static_cast<float>(VARIANT_3_FAN_SPEED), static_cast<float>(g_aimJitter + d),
                      BULLET_SMALL);
        }
        m.fanTick = 0;
    }
    m.fanTick += 1;
}

}  // namespace

void UpdateMidBoss() {
    MidBoss& m = g_midBoss;
    if (m.alive != 1) return;
    if (m.variant < 0 || m.variant >= static_cast<int>(std::size(SWINGS_BEFORE_LEAVING))) return;
    if (m.leaving == 1) {
        m.y += LEAVE_FALL;
        m.x += LEAVE_DRIFT;
        return;
    }
    if (m.motionCounter <= GLIDE_LAST) {
        Glide(m);
        m.motionCounter += 1;
        return;
    }
    // The frame that closes the last swing still moves and fires; leaving starts with the next.
    Swing(m);
    switch (m.variant) {
    case 0: RunVariant0(m); break;
    case 1: RunVariant1(m); break;
    case 2: RunVariant2(m); break;
    case 3: RunVariant3(m); break;
    }
    m.motionCounter += 1;
}

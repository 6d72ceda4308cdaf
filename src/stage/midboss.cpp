// The recurring mid-boss, g_midBoss: a 96 x 48 craft the level sends four times, each time as
// another variant (0 to 3, stored by its spawner). Every variant glides in from the left edge
// for 26 frames, then swings out to the left and back in 60-frame swings (12, 6, 6 or 30 of
// them), and then sinks away to the lower left without firing (midboss_craft.h). It fires only
// while swinging:
//   variant 0: a script of turned eight-way ring groups, then turret sprays and aimed fans;
//   variant 1: sprays and aimed fans for a while, then turning rings of large bullets;
//   variant 2: four-shot sprays and fans with a gap on the aim line (it comes with the escort);
//   variant 3: a plain gapped fan at the ship every 20 frames (10 in round 2).
// The turret sprays aim at a point straight above the gun, so that angle 0 points up and the
// angles turn the stream from there.
#include <iterator>
#include <span>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/midboss_craft.h"
#include "stage/stage.h"

namespace {

inline constexpr int SWINGS_BEFORE_LEAVING[4] = {12, 6, 6, 30};  // by variant

// ---- what differs by variant and round
struct RoundValues {
    Spray spray;
    Fans fans;
    int variant3FanTick;
};
inline constexpr double SPEEDS_4_3[] = {4.0, 3.0};
inline constexpr double AIMED_FAN[] = {-0.6, -0.5, -0.4, -0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
inline constexpr Spray NO_SPRAY{0, {}, 0, SprayShape::TRIPLE_PAIR};
inline constexpr Fans NO_FANS{0, 0, {}, {}};

inline constexpr RoundValues VARIANT_ROUNDS[4][2] = {
    {{{4, SPEED_3, 0.6, SprayShape::TRIPLE_PAIR}, {59, 60, FAN_SPEEDS_ROUND_1, AIMED_FAN}, 0},
     {{2, SPEEDS_4_3, 0.4, SprayShape::TRIPLE_PAIR}, {39, 50, FAN_SPEEDS_ROUND_2, AIMED_FAN}, 0}},
    {{{2, SPEED_3, 0.6, SprayShape::TRIPLE_PAIR}, {29, 30, FAN_SPEEDS_ROUND_1, AIMED_FAN}, 0},
     {{2, SPEEDS_3_4, 0.6, SprayShape::TRIPLE_PAIR}, {29, 30, FAN_SPEEDS_ROUND_2, AIMED_FAN}, 0}},
    {{FOUR_SHOT_SPRAY_ROUND_1, GAP_FANS_ROUND_1, 0}, {FOUR_SHOT_SPRAY_ROUND_2, GAP_FANS_ROUND_2, 0}},
    {{NO_SPRAY, NO_FANS, 20}, {NO_SPRAY, NO_FANS, 10}},
};

const RoundValues& Round(const MidBoss& m) { return VARIANT_ROUNDS[m.variant][g_round == 2 ? 1 : 0]; }

// ---- patterns

void Spray(MidBoss& m) { RunSpray(m, Round(m).spray); }
void Fans(MidBoss& m) { RunFans(m, Round(m).fans); }

// Variant 1's turning ring of large bullets from the centre gun, each ring starting a little
// further round; in round 2 with an aimed fan.
inline constexpr int RING_TICK = 12;
inline constexpr double RING_SPEED = 4.0;
inline constexpr double RING_STEP = 0.18;                                         // 35 directions
inline constexpr double RING_TURN = 0.08;                                         // each ring starts 0.08 further round ...
inline constexpr double RING_TURN_WRAP = 0.2;                                     // ... back to 0 after 0.16
inline constexpr double RING_AIMED_SPEED = 3.0;                                   // round 2
inline constexpr double RING_AIMED_FAN[] = {-0.9, -0.6, -0.3, 0, 0.3, 0.6, 0.9};  // no jitter

void Ring(MidBoss& m) {
    if (TickReaches(m.ringTick, RING_TICK)) {
        PlayEnemyFireSound();
        for (m.ringStep = m.ringTurn; m.ringStep < FULL_TURN; m.ringStep = static_cast<float>(m.ringStep + RING_STEP)) {
            FireUp(m, CENTRE_GUN, RING_SPEED, m.ringStep, BULLET_LARGE);
        }
        if (g_round == 2) {
            const float x = static_cast<float>(GunX(m, CENTRE_GUN)), y = static_cast<float>(GunY(m, CENTRE_GUN));
            for (double d : RING_AIMED_FAN) {
                FireAimed(x, y, static_cast<float>(RING_AIMED_SPEED), static_cast<float>(d), BULLET_SMALL);
            }
        }
        m.ringTurn = static_cast<float>(m.ringTurn + RING_TURN);
        if (m.ringTurn >= RING_TURN_WRAP) m.ringTurn = 0.0f;
    }
    m.ringTick += 1;
}

enum PatternRow { SPRAY, RING, FANS };
// clang-format off
inline constexpr Pattern<MidBoss> PATTERNS[] = {
    {&MidBoss::spraySwitch, Spray, {&MidBoss::sprayTick}, {&MidBoss::leftSprayAngle, &MidBoss::rightSprayAngle}},
    {&MidBoss::ringSwitch, Ring, {&MidBoss::ringTick}},
    {&MidBoss::fanSwitch, Fans, {&MidBoss::fanTimer}},
};
// clang-format on

// ---- the scripts of variants 0 to 2

// Variant 0's ring groups: five eight-way rings each, turned slightly against each other.
struct RingGroupVolley {
    std::span<const double> turns;  // RING_GROUP_A or RING_GROUP_B; empty: no volley
    int speed;
};
inline constexpr RingGroupVolley A2{RING_GROUP_A, 2}, A3{RING_GROUP_A, 3}, A4{RING_GROUP_A, 4};
inline constexpr RingGroupVolley B2{RING_GROUP_B, 2}, B3{RING_GROUP_B, 3}, B4{RING_GROUP_B, 4};
struct RingGroups {
    RingGroupVolley volleys[3];
};
inline constexpr RingGroups RING_GROUPS[] = {{{A2, B3}}, {{A3, B2}}, {{A3, B4, A2}}, {{A4, B3, A2}}, {{A3, B4}}, {{A4, B3}}};

template <int N>
void FireRingGroups(MidBoss& m) {
    for (const RingGroupVolley& volley : RING_GROUPS[N].volleys) {
        for (double turn : volley.turns) {
            FireRing8(GunX(m, CENTRE_GUN), GunY(m, CENTRE_GUN), volley.speed, static_cast<float>(turn), BULLET_SMALL);
        }
    }
}

// Variant 1 switches its sprays and fans off with their angles and counters cleared.
void StopSprayAndFans(MidBoss& m) {
    m.spraySwitch = 0;
    m.fanSwitch = 0;
    m.leftSprayAngle = 0.0f;
    m.rightSprayAngle = 0.0f;
    m.sprayTick = 0;
    m.fanTimer = 0;
}

enum ActionRow { RINGS_A2_B3, RINGS_A3_B2, RINGS_A3_B4_A2, RINGS_A4_B3_A2, RINGS_A3_B4, RINGS_A4_B3, STOP_SPRAY_AND_FANS };
inline constexpr Action<MidBoss> ACTIONS[] = {FireRingGroups<0>, FireRingGroups<1>, FireRingGroups<2>, FireRingGroups<3>,
                                              FireRingGroups<4>, FireRingGroups<5>, StopSprayAndFans};

inline constexpr ScriptEvent VARIANT_0_SCRIPT[] = {
    {0, NEVER, {Do(RINGS_A2_B3)}},  {NEVER, 0, {Do(RINGS_A3_B4_A2)}},  {NEVER, 10, {Do(RINGS_A4_B3_A2)}},
    {20, NEVER, {Do(RINGS_A3_B2)}}, {NEVER, 20, {Do(RINGS_A3_B4)}},    {NEVER, 30, {Do(RINGS_A4_B3)}},
    {40, NEVER, {Do(RINGS_A2_B3)}}, {NEVER, 40, {Do(RINGS_A3_B4_A2)}}, {NEVER, 50, {Do(RINGS_A3_B4_A2)}},
    {60, NEVER, {Do(RINGS_A3_B2)}}, {NEVER, 60, {Do(RINGS_A4_B3_A2)}}, {NEVER, 70, {Do(RINGS_A3_B4_A2)}},
    {80, NEVER, {Do(RINGS_A2_B3)}}, {NEVER, 80, {Do(RINGS_A4_B3_A2)}}, {120, 120, {On(SPRAY), On(FANS)}},
};
inline constexpr ScriptEvent VARIANT_1_SCRIPT[] = {
    {10, 10, {On(SPRAY), On(FANS)}},
    {100, 100, {Do(STOP_SPRAY_AND_FANS)}},
    {110, 110, {On(RING)}},
};
inline constexpr ScriptEvent VARIANT_2_SCRIPT[] = {
    {10, 10, {On(SPRAY), On(FANS)}},
};
inline constexpr std::span<const ScriptEvent> SCRIPTS[3] = {VARIANT_0_SCRIPT, VARIANT_1_SCRIPT, VARIANT_2_SCRIPT};

// Variant 3 has no script: a gapped fan at the ship whenever its tick comes round.
inline constexpr double VARIANT_3_FAN_SPEED = 3.0;

void FireVariant3(MidBoss& m) {
    if (TickReaches(m.fanTick, Round(m).variant3FanTick)) {
        for (double d : GAP_FAN) {
            // The jitter (a float) and the offset add up in double; the sum is rounded on the call.
            FireAimed(static_cast<float>(GunX(m, CENTRE_GUN)), static_cast<float>(GunY(m, CENTRE_GUN)),
                      static_cast<float>(VARIANT_3_FAN_SPEED), static_cast<float>(g_aimJitter + d), BULLET_SMALL);
        }
    }
    m.fanTick += 1;
}

// Script events before the timer's increment, the patterns after it.
void Fire(MidBoss& m) {
    if (m.variant == 3) {
        FireVariant3(m);
        return;
    }
    RunScriptFrame<MidBoss>(m, SCRIPTS[m.variant], PATTERNS, ACTIONS);
}

}  // namespace

void UpdateMidBoss() {
    MidBoss& m = g_midBoss;
    if (m.alive != 1) return;
    if (m.variant < 0 || m.variant >= static_cast<int>(std::size(SWINGS_BEFORE_LEAVING))) return;
    RunGlidingCraft(m, +1, SWINGS_BEFORE_LEAVING[m.variant], Fire);
}

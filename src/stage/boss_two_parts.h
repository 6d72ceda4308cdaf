// The second boss's parts that both its appearances use: its guns, what differs in round 2 and
// the volleys both fire. Included by boss_two.cpp (the first appearance and the frame) and
// boss_two_return.cpp (the second appearance).
#pragma once

#include <span>

#include "player/player.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace boss_two {

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
inline constexpr double WING_FAN_OFFSETS_ROUND_2[] = {-1.2, -1.0, -0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1.0, 1.2};

// clang-format off
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
// clang-format on
// clang-format off
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
// clang-format on

inline const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

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

inline void FireGappedFanPass(const BossTwo& b, GunOffset gun, int pass) {
    const float x = static_cast<float>(GunX(b, gun)), y = static_cast<float>(GunY(b, gun));
    const float speed = static_cast<float>(GAPPED_FAN_FIRST_SPEED + pass);
    for (const FanLane& lane : GAPPED_FAN_LANES) {
        if ((lane.passes & (1 << pass)) != 0) FireAimed(x, y, speed, static_cast<float>(lane.offset), BULLET_SMALL);
    }
}

// Every pass from one wing gun.
inline void FireGappedFan(const BossTwo& b, GunOffset gun) {
    for (int pass = 0; pass < Round().gappedFanPasses; ++pass) FireGappedFanPass(b, gun, pass);
}

// Four shots from a gun, turning anticlockwise a step a volley.
inline constexpr double CROSS_SPEED = 2.0;
inline constexpr double CROSS_STEP = 0.2;

inline void FireTurningCross(const BossTwo& b, GunOffset gun, float& angle) {
    FireCross4(GunX(b, gun), GunY(b, gun), static_cast<float>(CROSS_SPEED), angle, BULLET_SMALL);
    SpinAnticlockwise(angle, CROSS_STEP);
}

// One frame of the second appearance's script and patterns. Called by UpdateBossTwo.
void ReturnFrame(BossTwo& b);

}  // namespace boss_two

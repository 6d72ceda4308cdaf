// Gunships: the large single enemies (48 x 48, 70 hit points) sent in alone or in pairs. A
// gunship descends for 50 frames, parks for 50 while it fires fans at the point where the ship
// was when it parked, then drifts diagonally down and out firing twin straight shots from its
// wings. In the second round it opens with a spiral-armed ring of 60 large bullets around the
// aim line. The four slots differ only in their drift and their round-2 twin speeds.
// Fields: phase = motion age, entryCounter = fire age (both frames since the spawn), work0 fire
// counter, work5/work6 the captured aim point, work10/work11 the ring angle as one 64-bit double.

#include "player/player.h"
#include "stage/kind_shapes.h"

namespace {

struct GunshipSlot {
    int drift;           // x step while leaving
    int twinSpeedFirst;  // round-2 straight-shot speeds
    int twinSpeedSecond;
};
inline constexpr GunshipSlot GUNSHIP_SLOTS[4] = {
    {+1, 4, 5},  // A: the only slot with the faster twins
    {-1, 3, 4},  // B
    {+1, 3, 4},  // C
    {-1, 3, 4},  // D
};

inline constexpr int DESCENT_END = 50;  // motion age: moves down while below it
inline constexpr int PARK_END = 100;    // motion age: leaves once above it
inline constexpr int FALL_SPEED = 2;
inline constexpr int CAPTURE_AGE = 50;  // fire age at which the fans' aim point is frozen

// Gun points relative to x, y: the nose, and the two wings.
inline constexpr int NOSE_X = 21, NOSE_Y = 27;
inline constexpr int LEFT_WING_X = 3, RIGHT_WING_X = 39, WING_Y = 39;

// Round 1: fans at the frozen point, then twin straights from the wings.
inline constexpr int FAN_WINDOW_START = 50, FAN_WINDOW_END = 75, FAN_EVERY = 6;
inline constexpr double FAN_OFFSETS[] = {-0.6, -0.3, 0, 0.3, 0.6};
inline constexpr int TWIN_WINDOW_START = 83, TWIN_WINDOW_END = 100, TWIN_EVERY = 3;
inline constexpr int TWIN_SPEED_ROUND_1 = 3;

// Round 2: the ring and wide fans while parked, the counter set back at 80, then twin pairs to
// the end.
inline constexpr int RING_WINDOW_START = 50, RING_WINDOW_END = 65, RING_EVERY = 5;
inline constexpr int COUNTER_RESET_AGE = 80;
inline constexpr double RING_ARM_SPEEDS[] = {2.8, 3.6, 4.4, 5.2, 6.0};
inline constexpr double RING_ARM_TWIST[] = {0, 0.1, 0.2, 0.3, 0.4};
inline constexpr double RING_STEP = 0.524;
inline constexpr double WIDE_FAN_OFFSETS[] = {-0.9, -0.6, -0.3, 0, 0.3, 0.6, 0.9};
inline constexpr double WIDE_FAN_SPEEDS[] = {3.0, 4.0};

// The ring angle is a double spread over two int fields.
double RingAngle(const LargeEnemy& e) { return DoubleField(e.work10, e.work11); }
void SetRingAngle(LargeEnemy& e, double angle) { SetDoubleField(e.work10, e.work11, angle); }

float NoseX(const LargeEnemy& e) { return static_cast<float>(e.x + NOSE_X); }
float NoseY(const LargeEnemy& e) { return static_cast<float>(e.y + NOSE_Y); }

void FireWingTwins(const LargeEnemy& e, int speed) {
    FireAimedStraight(static_cast<float>(e.x + LEFT_WING_X), static_cast<float>(e.y + WING_Y), speed, BULLET_SMALL);
    FireAimedStraight(static_cast<float>(e.x + RIGHT_WING_X), static_cast<float>(e.y + WING_Y), speed, BULLET_SMALL);
}

// Twelve passes of five bullets, each pass turned 0.524 further round from the aim line and
// each bullet of a pass slightly faster and further turned: a ring with spiral arms.
void FireRing(LargeEnemy& e) {
    SetRingAngle(e, 0.0);
    do {
        const double ring = RingAngle(e);
        for (int k = 0; k < 5; ++k) {
            FireAimed(NoseX(e), NoseY(e), static_cast<float>(RING_ARM_SPEEDS[k]), g_aimJitter + ring + RING_ARM_TWIST[k],
                      BULLET_LARGE);
        }
        SetRingAngle(e, ring + RING_STEP);
    } while (RingAngle(e) < FULL_TURN);
}

void FireRoundOne(LargeEnemy& e) {
    const int age = e.entryCounter;
    if (age >= FAN_WINDOW_START && age < FAN_WINDOW_END) {
        if (e.work0 == FAN_EVERY) {
            FireAtPointFan(NoseX(e), NoseY(e), e.work5, e.work6, 3.0, FAN_OFFSETS, BULLET_SMALL);
            e.work0 = 0;
        }
        e.work0 += 1;
    }
    if (age >= TWIN_WINDOW_START && age < TWIN_WINDOW_END) {
        if (e.work0 == TWIN_EVERY) {
            FireWingTwins(e, TWIN_SPEED_ROUND_1);
            e.work0 = 0;
        }
        e.work0 += 1;
    }
}

void FireRoundTwo(LargeEnemy& e, const GunshipSlot& slot) {
    const int age = e.entryCounter;
    if (age >= RING_WINDOW_START && age < RING_WINDOW_END) {
        if (e.work0 == RING_EVERY) {
            FireRing(e);
            for (double speed : WIDE_FAN_SPEEDS) {
                FireAtPointFan(NoseX(e), NoseY(e), e.work5, e.work6, static_cast<float>(speed), WIDE_FAN_OFFSETS, BULLET_SMALL);
            }
            e.work0 = 0;
        }
        e.work0 += 1;
    }
    if (age == COUNTER_RESET_AGE) e.work0 = 0;
    if (age >= TWIN_WINDOW_START) {
        if (e.work0 == TWIN_EVERY) {
            FireWingTwins(e, slot.twinSpeedFirst);
            FireWingTwins(e, slot.twinSpeedSecond);
            e.work0 = 0;
        }
        e.work0 += 1;
    }
}

}  // namespace

void UpdateGunship(int slotIndex) {
    LargeEnemy& e = g_largeEnemies[slotIndex];
    const GunshipSlot& slot = GUNSHIP_SLOTS[slotIndex];
    if (e.alive != 1) return;
    if (e.phase < DESCENT_END) e.y += FALL_SPEED;
    if (e.phase > PARK_END) {
        e.x += slot.drift;
        e.y += FALL_SPEED;
    }
    if (e.entryCounter == CAPTURE_AGE) CaptureShipTarget(&e.work5, &e.work6);
    if (g_round == 2) {
        FireRoundTwo(e, slot);
    } else {
        FireRoundOne(e);
    }
    e.phase += 1;
    e.entryCounter += 1;
}

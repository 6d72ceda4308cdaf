// Strafers and arcers: small enemies that wait together at one start point outside the field and
// are let go one after another at a fixed interval. A strafer files down diagonally from a top
// corner, four pixels down and one sideways a frame, and while it is still in the upper part of
// the field fires eight-way rings and a fixed fan at the ship. An arcer shoots in from a side
// edge at four pixels a frame on a ballistic arc (rising, slowing, then falling) and fires one
// aimed fan near the top of the arc.
//
// Release: every waiting record counts the same release counter and keeps the same "next record"
// field, so all of them let go the same record, always the first one still waiting, which is
// the record doing the counting when it reaches it first: it starts moving in that same frame.
// Fields: phase (0 waiting, 1 moving), entryCounter release counter, work0 next record to let
// go (position in the pool); strafer work1 fire counter; arcer work1 vertical speed (-6 from
// the spawner), work2 speed tick, work3 fire counter.
#include <iterator>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"

namespace {

enum Phase { PHASE_WAITING, PHASE_MOVING };

// The pools of each kind differ only in which way they cross the field.
struct CrossingPool {
    int first;  // index of the pool's first record
    int step;   // x step in every moving frame
};
inline constexpr CrossingPool STRAFER_POOLS[] = {
    {POOL_STRAFERS_LEFT.first, +1},
    {POOL_STRAFERS_RIGHT.first, -1},
};
inline constexpr CrossingPool ARCER_POOLS[] = {
    {POOL_ARCERS_FROM_LEFT_A.first, +4},
    {POOL_ARCERS_FROM_RIGHT_A.first, -4},
    {POOL_ARCERS_FROM_LEFT_B.first, +4},
    {POOL_ARCERS_FROM_RIGHT_B.first, -4},
};

// ---- strafers
inline constexpr int STRAFER_RELEASE_EVERY = 15;  // the first goes 16 frames after the spawn
inline constexpr int STRAFER_FALL = 4;
inline constexpr int STRAFER_FIRE_ABOVE = 100;  // fires (and counts) only while y is less
inline constexpr int STRAFER_BURST = 10;        // fire count of the rings and fans
inline constexpr int STRAFER_SECOND_FANS = 20;  // round 2 only
inline constexpr int STRAFER_RING_SPEED = 3;
inline constexpr int STRAFER_SLOW_RING_SPEED = 2;  // round 2's extra rings
inline constexpr double STRAFER_RING_TURN = 2.0;   // the second ring of each pair is turned
inline constexpr double STRAFER_FAN_SPEED = 4.0;
inline constexpr double STRAFER_FAST_FAN_SPEED = 5.0;               // round 2
inline constexpr double STRAFER_FAN[] = {-0.4, -0.2, 0, 0.2, 0.4};  // fixed, no jitter

// ---- arcers
inline constexpr int ARCER_RELEASE_EVERY = 8;  // the first goes 9 frames after the spawn
inline constexpr int ARCER_SPEED_EVERY = 2;    // the fall speed grows every second frame ...
inline constexpr int ARCER_MAX_FALL = 7;       // ... up to this
inline constexpr int ARCER_FIRE_COUNT = 16;
inline constexpr double ARCER_FAN_SPEED = 4.0;
inline constexpr double ARCER_FAN[] = {-0.3, 0, 0.3};
inline constexpr double ARCER_WIDE_FAN_SPEEDS[] = {3.0, 4.0, 5.0};  // round 2, slowest first
inline constexpr double ARCER_WIDE_FAN[] = {-0.5, -0.3, 0, 0.3, 0.5};

int StepOf(const EnemyPool& pool, const CrossingPool* pools, int count) {
    for (int i = 0; i < count; ++i) {
        if (pools[i].first == pool.first) return pools[i].step;
    }
    return 0;
}

// A waiting record's release step (both kinds): at the interval the pool's next record starts
// to move, then the counter counts on.
void CountRelease(Enemy& e, const EnemyPool& pool, int interval) {
    if (e.entryCounter == interval) {
        e.entryCounter = 0;
        if (e.work0 < pool.count) g_enemies[pool.first + e.work0].phase = PHASE_MOVING;
        e.work0 += 1;
    }
    e.entryCounter += 1;
}

int OriginX(const Enemy& e) { return e.x + 9; }
int OriginY(const Enemy& e) { return e.y + 18; }

void FireStraferFan(const Enemy& e, double speed) {
    for (double d : STRAFER_FAN) {
        FireAimed(static_cast<float>(OriginX(e)), static_cast<float>(OriginY(e)), static_cast<float>(speed),
                  static_cast<float>(d), BULLET_SMALL);
    }
}

void FireStraferRingPair(const Enemy& e, int speed) {
    FireRing8(OriginX(e), OriginY(e), speed, 0.0f, BULLET_SMALL);
    FireRing8(OriginX(e), OriginY(e), speed, static_cast<float>(STRAFER_RING_TURN), BULLET_SMALL);
}

void FireStrafer(Enemy& e) {
    if (e.y >= STRAFER_FIRE_ABOVE) return;
    if (e.work1 == STRAFER_BURST) {
        FireStraferRingPair(e, STRAFER_RING_SPEED);
        if (g_round == 2) FireStraferRingPair(e, STRAFER_SLOW_RING_SPEED);
        FireStraferFan(e, STRAFER_FAN_SPEED);
        if (g_round == 2) FireStraferFan(e, STRAFER_FAST_FAN_SPEED);
    }
    if (g_round == 2 && e.work1 == STRAFER_SECOND_FANS) {
        FireStraferFan(e, STRAFER_FAN_SPEED);
        FireStraferFan(e, STRAFER_FAST_FAN_SPEED);
    }
    e.work1 += 1;
}

void FireArcerFan(const Enemy& e, double speed, const double* offsets, int count) {
    for (int i = 0; i < count; ++i) {
        // The jitter (a float) and the offset add up in double; the sum is rounded on the call.
        FireAimed(static_cast<float>(OriginX(e)), static_cast<float>(OriginY(e)), static_cast<float>(speed),
                  static_cast<float>(g_aimJitter + offsets[i]), BULLET_SMALL);
    }
}

void MoveAndFireArcer(Enemy& e, int step) {
    e.x += step;
    e.y += e.work1;
    if (e.work2 == ARCER_SPEED_EVERY) {
        e.work2 = 0;
        if (e.work1 < ARCER_MAX_FALL) e.work1 += 1;
    }
    e.work2 += 1;
    if (e.work3 == ARCER_FIRE_COUNT) {
        if (g_round == 2) {
            for (double speed : ARCER_WIDE_FAN_SPEEDS) FireArcerFan(e, speed, ARCER_WIDE_FAN, std::size(ARCER_WIDE_FAN));
        } else {
            FireArcerFan(e, ARCER_FAN_SPEED, ARCER_FAN, std::size(ARCER_FAN));
        }
    }
    e.work3 += 1;
}

}  // namespace

void UpdateStrafers(const EnemyPool& pool) {
    const int step = StepOf(pool, STRAFER_POOLS, std::size(STRAFER_POOLS));
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == PHASE_WAITING) CountRelease(e, pool, STRAFER_RELEASE_EVERY);
        if (e.phase != PHASE_MOVING) continue;
        e.x += step;
        e.y += STRAFER_FALL;
        FireStrafer(e);
    }
}

void UpdateArcers(const EnemyPool& pool) {
    const int step = StepOf(pool, ARCER_POOLS, std::size(ARCER_POOLS));
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == PHASE_WAITING) CountRelease(e, pool, ARCER_RELEASE_EVERY);
        if (e.phase == PHASE_MOVING) MoveAndFireArcer(e, step);
    }
}

// Pieces shared by the small-enemy kinds of the first stage: the entry stagger that brings the
// members of a wave in one after another, and the volley shapes built from the firing
// operations (fans of aimed shots, strings of rising speed). Angle offsets are written as
// double constants: a float angle plus such a constant is worked out in double and rounded to
// float only when it is handed to the firing operation, as the game always did.
#pragma once

#include <span>

#include "enemyfire/enemyfire.h"
#include "stage/stage.h"

// True if `value` is in `list`: the fire counters at which a kind fires.
inline bool IsOneOf(int value, std::span<const int> list) {
    for (int v : list) {
        if (v == value) return true;
    }
    return false;
}

// The rising speeds of an aimed string, both rounds (gunners and sinkers).
inline constexpr double STRING_SPEEDS_ROUND_1[] = {2.0, 3.0, 4.0};
inline constexpr double STRING_SPEEDS_ROUND_2[] = {2.0, 3.0, 4.0, 5.0};

// One line of an entry order: when a waiting record's stagger counter reads `count`, the
// pool's record `member` (0 = first of the pool) starts to move.
struct EntryStep {
    int count;
    int member;
};

// The stagger counter of a record that never stops counting (see AdvanceStagger).
inline constexpr int STAGGER_NOT_HELD = -1;

// A waiting record's entry step: tests its stagger counter against the entry order, switches
// the listed member of its pool to phase 1, then counts on. A counter that reaches `hold` stays
// there (it is set back by one before the increment). Called by the kind updates, for records in
// phase 0 only; since every member of a wave is spawned together their counters run in step.
inline void AdvanceStagger(Enemy& e, const EnemyPool& pool, std::span<const EntryStep> order, int hold) {
    for (const EntryStep& step : order) {
        if (e.entryCounter == step.count) g_enemies[pool.first + step.member].phase = 1;
    }
    if (e.entryCounter == hold) e.entryCounter = hold - 1;
    e.entryCounter += 1;
}

// The usual shot origin of a small enemy: the middle of its lower edge.
inline float ShotOriginX(const Enemy& e) { return static_cast<float>(e.x + 9); }
inline float ShotOriginY(const Enemy& e) { return static_cast<float>(e.y + 18); }

// A fan at the ship: one FireAimed per offset, each turned by base + offset.
inline void FireAimedFan(float x, float y, float speed, float base, std::span<const double> offsets, int kind) {
    for (double d : offsets) FireAimed(x, y, speed, base + d, kind);
}

// A fan at a fixed point: one FireAtPoint per offset.
inline void FireAtPointFan(float x, float y, int targetX, int targetY, float speed, std::span<const double> offsets, int kind) {
    for (double d : offsets) FireAtPoint(x, y, targetX, targetY, speed, d, kind);
}

// A string at the ship: one FireAimed per speed, all with the same offset, slowest first.
inline void FireAimedString(float x, float y, std::span<const double> speeds, float offset, int kind) {
    for (double v : speeds) FireAimed(x, y, static_cast<float>(v), offset, kind);
}

// Swayers and wide swayers: small enemies that weave down the field on a sine curve, entering one
// after another from the same point 7 frames apart so that a wave forms a snake. A swayer swings
// 40 pixels either side of a centre line in the left or right half of the field; a wide swayer
// swings 80 pixels either side of x = 80, ten to a wave. Both fire aimed volleys after a short
// delay and fall silent after a fixed window. Fields: phase (0 waiting, 1 moving), entryCounter
// (stagger, not held), work0 age, work1 base y of the curve's axis, work3 fire counter, work4
// frames of the firing window used, work5 the curve's angle (a float).
#include <cmath>

#include "player/player.h"
#include "stage/kind_shapes.h"

namespace {

inline constexpr int PHASE_MOVING = 1;
inline constexpr int ENTRY_SPACING = 7;

// The pools differ only by these values.
struct SwayShape {
    int members;
    int amplitude;     // pixels either side of the centre
    int centre;        // x of the curve's centre line
    double angleStep;  // radians per frame
};
inline constexpr SwayShape SWAYER_LEFT{5, 40, 40, 0.15};
inline constexpr SwayShape SWAYER_RIGHT{5, 40, 140, 0.15};
inline constexpr SwayShape WIDE_SWAYER{10, 80, 80, 0.1};

// Members enter in index order, one every ENTRY_SPACING frames.
inline constexpr EntryStep SWAY_ENTRY[] = {{0, 0},  {7, 1},  {14, 2}, {21, 3}, {28, 4},
                                           {35, 5}, {42, 6}, {49, 7}, {56, 8}, {63, 9}};
static_assert(SWAY_ENTRY[9].count == 9 * ENTRY_SPACING);

inline constexpr int FIRE_DELAY = 11;   // frames of age before the fire counter starts
inline constexpr int FIRE_WINDOW = 64;  // frames of firing
inline constexpr int FIRE_EVERY_ROUND_1 = 12;
inline constexpr int FIRE_EVERY_ROUND_2 = 8;
inline constexpr double SPEEDS_ROUND_1[] = {3.0};
inline constexpr double SPEEDS_ROUND_2[] = {3.0, 4.0, 5.0};

// The curve. The position comes from the angle before this frame's wrap and step, so the frame
// in which the angle has passed 6.28 still uses it. Once the record is below the field it keeps
// its position (the collision pass frees it in this frame anyway).
void Weave(Enemy& e, const SwayShape& shape) {
    float angle = FloatField(e.work5);
    if (e.y <= 240) {
        e.x = static_cast<int32_t>(std::sin(static_cast<double>(angle)) * shape.amplitude + shape.centre);
        e.y = static_cast<int32_t>(std::cos(static_cast<double>(angle)) * 2 + e.work1);
    }
    if (angle >= FULL_TURN) angle = 0;
    e.work1 += 1;
    if (angle >= 3.14) e.work1 += 1;  // the axis descends faster on the second half of a swing
    angle = static_cast<float>(angle + shape.angleStep);
    SetFloatField(e.work5, angle);
}

void FireSwayer(Enemy& e) {
    if (e.work0 < FIRE_DELAY || e.work4 >= FIRE_WINDOW) {
        e.work0 += 1;
        return;
    }
    e.work3 += 1;
    if (g_round == 2) {
        if (e.work3 == FIRE_EVERY_ROUND_2) {
            e.work3 = 0;
            FireAimedString(ShotOriginX(e), ShotOriginY(e), SPEEDS_ROUND_2, g_aimJitter, BULLET_SMALL);
        }
    } else {
        if (e.work3 == FIRE_EVERY_ROUND_1) {
            e.work3 = 0;
            FireAimedString(ShotOriginX(e), ShotOriginY(e), SPEEDS_ROUND_1, g_aimJitter, BULLET_SMALL);
        }
    }
    e.work4 += 1;
    e.work0 += 1;
}

void UpdateSwayPool(const EnemyPool& pool, const SwayShape& shape) {
    const std::span<const EntryStep> entry(SWAY_ENTRY, shape.members);
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == 0) AdvanceStagger(e, pool, entry, STAGGER_NOT_HELD);
        if (e.phase != PHASE_MOVING) continue;
        Weave(e, shape);
        FireSwayer(e);
    }
}

}  // namespace

void UpdateSwayers(const EnemyPool& pool) {
    // Pools 10-14 and 20-24 weave in the left half, 15-19 and 25-29 in the right half.
    const bool left = pool.first == POOL_SWAYERS_LEFT_1.first || pool.first == POOL_SWAYERS_LEFT_2.first;
    UpdateSwayPool(pool, left ? SWAYER_LEFT : SWAYER_RIGHT);
}

void UpdateWideSwayers(const EnemyPool& pool) { UpdateSwayPool(pool, WIDE_SWAYER); }

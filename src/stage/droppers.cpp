// Droppers and hoverers: small enemies that drop in from the top with a braking fall, stand
// still for a moment and then sink slowly off the bottom. A dropper falls straight and, once it
// has stopped, fires four short aimed volleys; a hoverer drifts one pixel sideways in every frame
// it moves and fires wide fixed fans from the moment it starts to fall. Both kinds share the
// fall. Fields: phase, entryCounter (stagger, held at 100), work0 brake tick, work1 fall speed,
// work2 stop counter, work3 fire counter, work4 frames of the firing window used.
//
// Every step runs one after another for each record, so a record can pass several phase tests
// in one frame: the frame in which it stops also counts towards its stop and its fire.
#include "player/player.h"
#include "stage/kind_shapes.h"

namespace {

enum Phase { PHASE_WAITING, PHASE_FALLING, PHASE_STOPPED, PHASE_SINKING };

inline constexpr int STAGGER_HOLD = 100;
inline constexpr int BRAKE_EVERY = 3;  // the fall speed drops by one every third falling frame
inline constexpr int STOP_FRAMES = 5;
inline constexpr int SINK_SPEED = 2;

// Both dropper pools enter in the same scrambled order, 20 frames apart.
inline constexpr EntryStep DROPPER_ENTRY[] = {{0, 2}, {20, 4}, {40, 0}, {60, 3}, {80, 1}};

inline constexpr int DROPPER_FIRE_EVERY = 8;
inline constexpr int DROPPER_FIRE_WINDOW = 32;  // frames: four volleys
inline constexpr double DROPPER_SPEEDS_ROUND_1[] = {3.0};
inline constexpr double DROPPER_SPEEDS_ROUND_2[] = {3.0, 4.0, 5.0};

// The first left hoverer pool comes in outer, inner, middle; the others in index order.
inline constexpr EntryStep HOVERER_ENTRY_LEFT_A[] = {{0, 0}, {40, 2}, {80, 1}};
inline constexpr EntryStep HOVERER_ENTRY_IN_ORDER[] = {{0, 0}, {40, 1}, {80, 2}};

// The hoverer pools differ only in their entry order and the way they drift.
struct HovererPool {
    int first;  // index of the pool's first record
    int drift;  // x step in every moving frame
    std::span<const EntryStep> entry;
};
inline constexpr HovererPool HOVERER_POOLS[] = {
    {90, +1, HOVERER_ENTRY_LEFT_A},
    {93, -1, HOVERER_ENTRY_IN_ORDER},
};

// Hoverer fans (fixed offsets from the aim line, no jitter). Round 1 fires the same six-way fan
// at counts 16 and 32; round 2 fires sixteen shots at 16, 32 and 48, with a different faster
// half at 32.
inline constexpr int HOVERER_FIRST_VOLLEY = 16;
inline constexpr int HOVERER_SECOND_VOLLEY = 32;
inline constexpr int HOVERER_THIRD_VOLLEY = 48;
inline constexpr int HOVERER_FIRE_WINDOW_ROUND_1 = 32;
inline constexpr int HOVERER_FIRE_WINDOW_ROUND_2 = 48;
inline constexpr double HOVERER_FAN_ROUND_1[] = {-0.3, -0.15, 0, 0.25, 0.4, 0.55};
inline constexpr double HOVERER_FAN_WIDE[] = {-0.3, -0.2, -0.1, 0, 0.2, 0.3, 0.4, 0.5};
inline constexpr double HOVERER_FAN_SHIFTED[] = {-0.5, -0.4, -0.3, -0.2, 0, 0.1, 0.2, 0.3};

const HovererPool& HovererPoolOf(const EnemyPool& pool) {
    for (const HovererPool& p : HOVERER_POOLS) {
        if (p.first == pool.first) return p;
    }
    return HOVERER_POOLS[0];
}

// The shared movement of both kinds, after the entry step: braking fall, stop, sink.
void MoveDropping(Enemy& e, int drift) {
    if (e.phase == PHASE_FALLING) {
        if (e.work1 > 1) {
            e.y += e.work1;
            e.x += drift;
            if (e.work0 == BRAKE_EVERY - 1) {
                e.work1 -= 1;
                e.work0 = -1;
            }
            e.work0 += 1;
        } else {
            e.phase = PHASE_STOPPED;  // no movement in this frame
        }
    }
    if (e.phase == PHASE_STOPPED) {
        if (e.work2 < STOP_FRAMES) {
            e.work2 += 1;
        } else {
            e.phase = PHASE_SINKING;
        }
    }
    if (e.phase == PHASE_SINKING) {
        e.y += SINK_SPEED;
        e.x += drift;
    }
}

void FireDropper(Enemy& e) {
    if (e.phase < PHASE_STOPPED || e.work4 >= DROPPER_FIRE_WINDOW) return;
    e.work3 += 1;
    if (e.work3 == DROPPER_FIRE_EVERY) {
        e.work3 = 0;
        if (g_round == 2) {
            FireAimedString(ShotOriginX(e), ShotOriginY(e), DROPPER_SPEEDS_ROUND_2, g_aimJitter, BULLET_SMALL);
        } else {
            FireAimedString(ShotOriginX(e), ShotOriginY(e), DROPPER_SPEEDS_ROUND_1, g_aimJitter, BULLET_SMALL);
        }
    }
    e.work4 += 1;
}

// Sixteen shots of the round-2 hoverer: the slow fan, then the fast one.
void FireHovererDoubleFan(const Enemy& e, std::span<const double> fastOffsets) {
    FireAimedFan(ShotOriginX(e), ShotOriginY(e), 2.0, 0, HOVERER_FAN_WIDE, BULLET_SMALL);
    FireAimedFan(ShotOriginX(e), ShotOriginY(e), 3.0, 0, fastOffsets, BULLET_SMALL);
}

void FireHoverer(Enemy& e) {
    const int window = g_round == 2 ? HOVERER_FIRE_WINDOW_ROUND_2 : HOVERER_FIRE_WINDOW_ROUND_1;
    if (e.phase < PHASE_FALLING || e.work4 >= window) return;
    e.work3 += 1;
    if (g_round == 2) {
        if (e.work3 == HOVERER_FIRST_VOLLEY) FireHovererDoubleFan(e, HOVERER_FAN_WIDE);
        if (e.work3 == HOVERER_SECOND_VOLLEY) FireHovererDoubleFan(e, HOVERER_FAN_SHIFTED);
        if (e.work3 == HOVERER_THIRD_VOLLEY) {
            FireHovererDoubleFan(e, HOVERER_FAN_WIDE);
            e.work3 = 0;
        }
    } else {
        if (e.work3 == HOVERER_FIRST_VOLLEY || e.work3 == HOVERER_SECOND_VOLLEY) {
            FireAimedFan(ShotOriginX(e), ShotOriginY(e), 3.0, 0, HOVERER_FAN_ROUND_1, BULLET_SMALL);
        }
        if (e.work3 == HOVERER_SECOND_VOLLEY) e.work3 = 0;
    }
    e.work4 += 1;
}

}  // namespace

void UpdateDroppers(const EnemyPool& pool) {
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == PHASE_WAITING) AdvanceStagger(e, pool, DROPPER_ENTRY, STAGGER_HOLD);
        MoveDropping(e, 0);
        FireDropper(e);
    }
}

void UpdateHoverers(const EnemyPool& pool) {
    const HovererPool& kind = HovererPoolOf(pool);
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == PHASE_WAITING) AdvanceStagger(e, pool, kind.entry, STAGGER_HOLD);
        MoveDropping(e, kind.drift);
        FireHoverer(e);
    }
}

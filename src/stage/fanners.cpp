// Fanners and gunners: small enemies that dive straight down in groups of five, entering in the
// same scrambled order 8 frames apart, and fire at the ship at fixed points of their dive. A
// fanner dives fast and fires a five-way fan; a gunner dives slower and fires strings of aimed
// bullets of rising speed. Fields: phase (0 waiting, 1 diving), entryCounter (stagger, not held),
// work0 fire counter (frames spent diving).
#include "player/player.h"
#include "stage/kind_shapes.h"

namespace {

inline constexpr int PHASE_DIVING = 1;

// Every pool of both kinds enters in this order.
inline constexpr EntryStep DIVE_ENTRY[] = {{0, 2}, {8, 4}, {16, 0}, {24, 3}, {32, 1}};

inline constexpr int FANNER_SPEED = 4;
inline constexpr int GUNNER_SPEED = 3;

// Fanners: one fan at count 20 in round 1; three fans (3.0, 4.0, 5.0) at 20 and again at 30 in
// round 2. The five bullets of a fan share one jitter value, so the fan is symmetric.
inline constexpr double FAN_OFFSETS[] = {-0.6, -0.3, 0, 0.3, 0.6};
inline constexpr int FANNER_COUNTS_ROUND_1[] = {20};
inline constexpr int FANNER_COUNTS_ROUND_2[] = {20, 30};
inline constexpr double FANNER_SPEEDS_ROUND_1[] = {3.0};
inline constexpr double FANNER_SPEEDS_ROUND_2[] = {3.0, 4.0, 5.0};

// Gunners: strings of rising speed (STRING_SPEEDS).
inline constexpr int GUNNER_COUNTS_ROUND_1[] = {10, 20, 30};
inline constexpr int GUNNER_COUNTS_ROUND_2[] = {10, 20, 30, 40, 50};

void FireFanner(const Enemy& e) {
    const bool second = g_round == 2;
    if (!IsOneOf(e.work0, second ? std::span<const int>(FANNER_COUNTS_ROUND_2) : FANNER_COUNTS_ROUND_1)) return;
    for (double speed : second ? std::span<const double>(FANNER_SPEEDS_ROUND_2) : FANNER_SPEEDS_ROUND_1) {
        FireAimedFan(ShotOriginX(e), ShotOriginY(e), static_cast<float>(speed), g_aimJitter, FAN_OFFSETS, BULLET_SMALL);
    }
}

void FireGunner(const Enemy& e) {
    const bool second = g_round == 2;
    if (!IsOneOf(e.work0, second ? std::span<const int>(GUNNER_COUNTS_ROUND_2) : GUNNER_COUNTS_ROUND_1)) return;
    FireAimedString(ShotOriginX(e), ShotOriginY(e),
                    second ? std::span<const double>(STRING_SPEEDS_ROUND_2) : STRING_SPEEDS_ROUND_1, g_aimJitter, BULLET_SMALL);
}

enum class Diver { Fanner, Gunner };

// Both kinds: entry, dive, fire, count.
void UpdateDivePool(const EnemyPool& pool, Diver kind) {
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == 0) AdvanceStagger(e, pool, DIVE_ENTRY, STAGGER_NOT_HELD);
        if (e.phase != PHASE_DIVING) continue;
        if (kind == Diver::Fanner) {
            e.y += FANNER_SPEED;
            FireFanner(e);
        } else {
            e.y += GUNNER_SPEED;
            FireGunner(e);
        }
        e.work0 += 1;
    }
}

}  // namespace

void UpdateFanners(const EnemyPool& pool) { UpdateDivePool(pool, Diver::Fanner); }
void UpdateGunners(const EnemyPool& pool) { UpdateDivePool(pool, Diver::Gunner); }

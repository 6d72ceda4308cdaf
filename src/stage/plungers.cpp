// Plungers and sinkers: small enemies that fall straight down and drop twin bullets beneath them.
// Plungers come in lines of ten that enter one by one in a scrambled order and fall fast;
// sinkers come in rows of four that all start at once, fall slower and add aimed strings later in
// their descent. In the second round both open with a downward fan and a rapid string of heavy
// twins. Plunger fields: phase (0 waiting, 1 falling), entryCounter (stagger, held at 200), work0
// age, work1 fire counter. Sinkers use only work1, the fire counter.
#include "player/player.h"
#include "sound/sound.h"
#include "stage/kind_shapes.h"

namespace {

inline constexpr int PHASE_FALLING = 1;

// Both plunger pools enter in this order, 20 frames apart.
inline constexpr EntryStep PLUNGER_ENTRY[] = {{0, 2},   {20, 8},  {40, 0},  {60, 6},  {80, 1},
                                              {100, 7}, {120, 9}, {140, 4}, {160, 3}, {180, 5}};
inline constexpr int PLUNGER_STAGGER_HOLD = 200;
inline constexpr int PLUNGER_SPEED = 3;
inline constexpr int PLUNGER_FIRE_AGE = 10;  // fires once its age is above this
inline constexpr int SINKER_SPEED = 2;

// Fire counter values of the volleys.
inline constexpr int SMALL_TWIN_COUNTS[] = {0, 10, 20};
inline constexpr int DOWNWARD_FAN_COUNT = 3;
inline constexpr int HEAVY_TWIN_COUNTS[] = {6, 9, 12, 15, 18};
inline constexpr int SINKER_STRING_COUNTS_ROUND_1[] = {50, 60, 70};
inline constexpr int SINKER_STRING_COUNTS_ROUND_2[] = {40, 50, 60, 70};

// Shot shapes, all from the middle of the lower edge.
inline constexpr double DOWNWARD_FAN_OFFSETS[] = {0.5, 0.7, 0.9, -0.9, -0.7, -0.5};
inline constexpr double DOWNWARD_FAN_SPEEDS[] = {4.0, 3.0};

void FireSmallTwin(const Enemy& e) { FireTwin(e.x + 9, e.y + 18, 4, 5, BULLET_SMALL); }
void FireHeavyTwin(const Enemy& e) { FireTwin(e.x + 9, e.y + 18, 8, 6, BULLET_LARGE); }

// Twelve shots centred straight down (the aim point is one pixel below the origin), then a
// heavy twin.
void FireDownwardFan(const Enemy& e) {
    for (double speed : DOWNWARD_FAN_SPEEDS) {
        FireAtPointFan(ShotOriginX(e), ShotOriginY(e), e.x + 9, e.y + 19, static_cast<float>(speed), DOWNWARD_FAN_OFFSETS,
                       BULLET_SMALL);
    }
    FireHeavyTwin(e);
}

// The aimed strings point exactly at the ship: no jitter.
void FireString(const Enemy& e, std::span<const double> speeds) {
    FireAimedString(ShotOriginX(e), ShotOriginY(e), speeds, 0, BULLET_SMALL);
}

// The opening of both kinds in the second round: a downward fan, then five heavy twins.
void FireRoundTwoOpening(const Enemy& e, int counter) {
    if (counter == DOWNWARD_FAN_COUNT) {
        PlayEnemyFireSound();
        FireDownwardFan(e);
    }
    if (IsOneOf(counter, HEAVY_TWIN_COUNTS)) {
        PlayEnemyFireSound();
        FireHeavyTwin(e);
    }
}

void FirePlunger(Enemy& e) {
    if (g_round == 2) {
        FireRoundTwoOpening(e, e.work1);
    } else if (IsOneOf(e.work1, SMALL_TWIN_COUNTS)) {
        FireSmallTwin(e);
    }
    e.work1 += 1;
}

void FireSinker(Enemy& e) {
    if (g_round == 2) {
        FireRoundTwoOpening(e, e.work1);
        if (IsOneOf(e.work1, SINKER_STRING_COUNTS_ROUND_2)) FireString(e, STRING_SPEEDS_ROUND_2);
    } else {
        if (IsOneOf(e.work1, SMALL_TWIN_COUNTS)) FireSmallTwin(e);
        if (IsOneOf(e.work1, SINKER_STRING_COUNTS_ROUND_1)) FireString(e, STRING_SPEEDS_ROUND_1);
    }
    e.work1 += 1;
}

}  // namespace

void UpdatePlungers(const EnemyPool& pool) {
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == 0) AdvanceStagger(e, pool, PLUNGER_ENTRY, PLUNGER_STAGGER_HOLD);
        if (e.phase != PHASE_FALLING) continue;
        e.y += PLUNGER_SPEED;
        if (e.work0 > PLUNGER_FIRE_AGE) FirePlunger(e);
        e.work0 += 1;
    }
}

// Sinkers have no entry stagger: the whole row falls from the first frame after the spawn.
void UpdateSinkers(const EnemyPool& pool) {
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        e.y += SINKER_SPEED;
        FireSinker(e);
    }
}

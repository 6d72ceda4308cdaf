// The enemy records and their pools: the start values given at the game reset, the picture row
// of each small-enemy pool, and the enemy update that runs every kind and boss once a frame in
// one fixed order. The order is part of the game: it decides which bullets take the free slots
// first, so it never changes from frame to frame.
#include <cstring>

#include "stage/stage.h"

Enemy g_enemies[ENEMY_COUNT] = {};
LargeEnemy g_largeEnemies[LARGE_ENEMY_COUNT] = {};
MidBoss g_midBoss = {};
MidBossEscort g_midBossEscort = {};
MidBossTwo g_midBossTwo = {};
BossOne g_bossOne = {};
BossTwo g_bossTwo = {};
BossThree g_bossThree = {};
BossFour g_bossFour = {};
BossFinal g_bossFinal = {};
int g_enemyAnimX = 0;
int g_largeEnemyAnimX = 0;

namespace {

// Picture rows of the small enemies: from each first index on, the row until the next entry.
struct SpriteRowStart {
    int firstIndex;
    int row;
};
inline constexpr SpriteRowStart SPRITE_ROWS[] = {
    {0, 1},    // droppers
    {10, 2},   // swayers
    {30, 1},   // plungers
    {50, 2},   // wide swayers
    {70, 3},   // fanners
    {90, 1},   // hoverers
    {102, 2},  // strafers and arcers
    {134, 1},  // sinkers
    {158, 3},  // gunners
    {173, 1},  // spinners
};
inline constexpr int SPRITE_ROW_TOPS[4] = {0, 50, 74, 98};

// Puts a record at its resting place below the field with its hit box (x, y, width, height);
// nothing but this ever writes width and height.
void PlaceAtRest(void* record, int width, int height) {
    int32_t fields[4] = {0, 240, width, height};
    std::memcpy(record, fields, sizeof fields);
}

}  // namespace

void ZeroFields(void* record, int first, int last) {
    std::memset(static_cast<char*>(record) + 4 * first, 0, 4 * static_cast<size_t>(last - first + 1));
}

int EnemySpriteTop(int index) {
    int row = 1;
    for (const SpriteRowStart& s : SPRITE_ROWS) {
        if (index >= s.firstIndex) row = s.row;
    }
    return SPRITE_ROW_TOPS[row];
}

void InitEnemyPools() {
    for (Enemy& e : g_enemies) {
        PlaceAtRest(&e, 24, 24);
        ZeroFields(&e, 4, 13);
    }
    // Only fields 4 to 14 of the large records are cleared; 15 to 19 keep their values.
    for (LargeEnemy& e : g_largeEnemies) {
        PlaceAtRest(&e, 48, 48);
        ZeroFields(&e, 4, 14);
    }
    // The bosses' start values clear only part of each record; the spawners clear the rest.
    PlaceAtRest(&g_midBoss, 96, 48);
    ZeroFields(&g_midBoss, 4, 14);
    PlaceAtRest(&g_midBossEscort, 96, 48);
    ZeroFields(&g_midBossEscort, 4, 14);
    PlaceAtRest(&g_midBossTwo, 96, 96);
    ZeroFields(&g_midBossTwo, 4, 5);
    PlaceAtRest(&g_bossOne, 128, 112);
    ZeroFields(&g_bossOne, 4, 20);
    ZeroFields(&g_bossOne, 31, 31);
    PlaceAtRest(&g_bossTwo, 128, 112);
    ZeroFields(&g_bossTwo, 4, 5);
    ZeroFields(&g_bossTwo, 8, 22);
    PlaceAtRest(&g_bossThree, 40, 96);
    ZeroFields(&g_bossThree, 4, 31);
    PlaceAtRest(&g_bossFour, 48, 112);
    ZeroFields(&g_bossFour, 4, 5);
    PlaceAtRest(&g_bossFinal, 104, 128);
    ZeroFields(&g_bossFinal, 4, 5);
}

void UpdateEnemies() {
    // Small enemies, kind by kind, each kind's pools from the end of the array to its start.
    UpdateDroppers(POOL_DROPPERS_RIGHT);
    UpdateDroppers(POOL_DROPPERS_LEFT);
    UpdateSwayers(POOL_SWAYERS_RIGHT_2);
    UpdateSwayers(POOL_SWAYERS_LEFT_2);
    UpdateSwayers(POOL_SWAYERS_RIGHT_1);
    UpdateSwayers(POOL_SWAYERS_LEFT_1);
    UpdatePlungers(POOL_PLUNGERS_B);
    UpdatePlungers(POOL_PLUNGERS_A);
    UpdateWideSwayers(POOL_WIDE_SWAYERS_B);
    UpdateWideSwayers(POOL_WIDE_SWAYERS_A);
    UpdateFanners(POOL_FANNERS_RIGHT_B);
    UpdateFanners(POOL_FANNERS_LEFT_B);
    UpdateFanners(POOL_FANNERS_RIGHT_A);
    UpdateFanners(POOL_FANNERS_LEFT_A);
    UpdateHoverers(POOL_HOVERERS_RIGHT_B);
    UpdateHoverers(POOL_HOVERERS_LEFT_B);
    UpdateHoverers(POOL_HOVERERS_RIGHT_A);
    UpdateHoverers(POOL_HOVERERS_LEFT_A);
    UpdateStrafers(POOL_STRAFERS_RIGHT);
    UpdateStrafers(POOL_STRAFERS_LEFT);
    UpdateArcers(POOL_ARCERS_FROM_RIGHT_B);
    UpdateArcers(POOL_ARCERS_FROM_LEFT_B);
    UpdateArcers(POOL_ARCERS_FROM_RIGHT_A);
    UpdateArcers(POOL_ARCERS_FROM_LEFT_A);
    UpdateSinkers(POOL_SINKERS_MIDDLE_B);
    UpdateSinkers(POOL_SINKERS_RIGHT_B);
    UpdateSinkers(POOL_SINKERS_LEFT_B);
    UpdateSinkers(POOL_SINKERS_MIDDLE_A);
    UpdateSinkers(POOL_SINKERS_RIGHT_A);
    UpdateSinkers(POOL_SINKERS_LEFT_A);
    UpdateGunners(POOL_GUNNERS_C);
    UpdateGunners(POOL_GUNNERS_B);
    UpdateGunners(POOL_GUNNERS_A);
    UpdateSpinners(POOL_SPINNERS_RIGHT_B);
    UpdateSpinners(POOL_SPINNERS_LEFT_B);
    UpdateSpinners(POOL_SPINNERS_RIGHT_A);
    UpdateSpinners(POOL_SPINNERS_LEFT_A);
    // Large enemies.
    UpdateGunship(GUNSHIP_A);
    UpdateGunship(GUNSHIP_B);
    UpdateGunship(GUNSHIP_C);
    UpdateGunship(GUNSHIP_D);
    UpdateCruisers();
    UpdateFrigates();
    // Bosses, the final boss last.
    UpdateMidBoss();
    UpdateMidBossEscort();
    UpdateMidBossTwo();
    UpdateBossOne();
    UpdateBossTwo();
    UpdateBossThree();
    UpdateBossFour();
    UpdateBossFinal();
}

// Stage and enemies: the enemy records and pools, the stage timeline, the spawners and every
// kind of enemy and boss.
#pragma once

#include <cstdint>

struct Enemy {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t phase;         // kind-specific; with an entry stagger 0 = waiting to enter
    int32_t entryCounter;  // kind-specific; mostly the stagger counter
    int32_t work0, work1, work2, work3, work4, work5;
};
static_assert(sizeof(Enemy) == 14 * 4);

struct LargeEnemy {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t phase, entryCounter;
    int32_t work0, work1, work2, work3, work4, work5, work6, work7, work8, work9, work10, work11;
};
static_assert(sizeof(LargeEnemy) == 20 * 4);

// Boss records: x, y, width, height, alive, hitPoints, then the boss's own fields.
struct BossRecord {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t fields[40];
};

inline constexpr int ENEMY_COUNT = 197;
inline constexpr int LARGE_ENEMY_COUNT = 16;

extern Enemy g_enemies[ENEMY_COUNT];
extern LargeEnemy g_largeEnemies[LARGE_ENEMY_COUNT];
extern BossRecord g_midBoss, g_midBossEscort, g_midBossTwo, g_bossOne, g_bossTwo, g_bossThree, g_bossFour,
    g_bossFinal;

// ---- timeline state; reset by ResetGame
extern int g_stageFrame;
extern int g_round;
extern int g_bossTimer;         // seconds left to beat the boss
extern int g_bossTimerVisible;  // 1 while the boss timer is shown
extern int g_bulletSlowdownHigh;  // set at stage and boss starts; picks the slower frame intervals

// Called by ResetGame / InitObjectPools.
void ResetStage();
void InitEnemyPools();
// The in-game frame's steps.
void UpdateEnemies();
void UpdateStageTimeline();

// Stage, first cut: the records and their start values. The pools, timeline and kinds replace this.
#include "stage/stage.h"

Enemy g_enemies[ENEMY_COUNT] = {};
LargeEnemy g_largeEnemies[LARGE_ENEMY_COUNT] = {};
BossRecord g_midBoss, g_midBossEscort, g_midBossTwo, g_bossOne, g_bossTwo, g_bossThree, g_bossFour, g_bossFinal;
int g_stageFrame = 0;
int g_round = 1;
int g_bossTimer = 0;
int g_bossTimerVisible = 0;
int g_bulletSlowdownHigh = 0;

void ResetStage() {
    g_stageFrame = 0;
    g_round = 1;
    g_bossTimer = 0;
    g_bossTimerVisible = 0;
    g_bulletSlowdownHigh = 0;
}
void InitEnemyPools() {
    for (Enemy& e : g_enemies) e = Enemy{0, 240, 24, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}
void UpdateEnemies() {}
void UpdateStageTimeline() {}

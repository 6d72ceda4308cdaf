// Enemy bullets, first cut: the pools and their start values. The bullet update replaces this.
#include "enemyfire/enemyfire.h"

EnemyBullet g_smallBullets[SMALL_BULLET_COUNT] = {};
EnemyBullet g_largeBullets[LARGE_BULLET_COUNT] = {};
int32_t g_enemyBulletCount = 0;
int32_t g_largeBulletAltSprite = 0;

void ResetEnemyFire() {
    g_enemyBulletCount = 0;
    g_largeBulletAltSprite = 0;
}
void InitBulletPools() {
    for (EnemyBullet& b : g_smallBullets) b = EnemyBullet{0.0f, 240.0f, 0, 0.0f, 240.0f};
    for (EnemyBullet& b : g_largeBullets) b = EnemyBullet{0.0f, 240.0f, 0, 0.0f, 240.0f};
}
int UpdateSmallBullets() { return 1; }
int UpdateLargeBullets() { return 1; }
void ClearEnemyBullets() {}

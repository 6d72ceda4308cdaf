// Enemy fire: the two bullet pools and the firing operations through which enemies fire.
#pragma once

#include <cstdint>

struct EnemyBullet {
    float x;
    float y;
    int32_t alive;
    float vx;
    float vy;
};
static_assert(sizeof(EnemyBullet) == 20);

inline constexpr int SMALL_BULLET_COUNT = 500;
inline constexpr int LARGE_BULLET_COUNT = 310;
inline constexpr int BULLET_SMALL = 1;
inline constexpr int BULLET_LARGE = 2;

// Both pools live for the whole run; InitObjectPools frees every record.
extern EnemyBullet g_smallBullets[SMALL_BULLET_COUNT];
extern EnemyBullet g_largeBullets[LARGE_BULLET_COUNT];
extern int32_t g_enemyBulletCount;
extern int32_t g_largeBulletAltSprite;

// Called by ResetGame / InitObjectPools.
void ResetEnemyFire();
void InitBulletPools();
// The in-game frame's steps: cull, hit the ship, draw, move. 1, or 0 when drawing failed.
int UpdateSmallBullets();
int UpdateLargeBullets();
// Switches every live bullet off.
void ClearEnemyBullets();

// Enemy fire: the two bullet pools and the firing operations through which enemies fire.
// Enemies never touch the pools directly; every bullet comes from SpawnEnemyBullet, called by
// one of the firing operations below.
#pragma once

#include <cstdint>

#include "core/record_fields.h"

struct EnemyBullet {
    float x;  // left edge
    float y;  // top edge
    int32_t alive;
    float vx;  // added to x every frame
    float vy;  // added to y every frame
};
static_assert(sizeof(EnemyBullet) == 20);
// Its fields, in order, for the state dump (a new field is one more line here).
// clang-format off
inline constexpr Field ENEMY_BULLET_FIELDS[] = {
    FIELD(EnemyBullet, x, F32),
    FIELD(EnemyBullet, y, F32),
    FIELD(EnemyBullet, alive, I32),
    FIELD(EnemyBullet, vx, F32),
    FIELD(EnemyBullet, vy, F32),
};
// clang-format on
inline constexpr RecordFields ENEMY_BULLET_RECORD = RECORD_FIELDS(EnemyBullet, ENEMY_BULLET_FIELDS, RECORD_OBJECT);

inline constexpr int SMALL_BULLET_COUNT = 500;
inline constexpr int LARGE_BULLET_COUNT = 310;
// A bullet's kind: which pool it goes to.
enum BulletKind { BULLET_SMALL = 1, BULLET_LARGE = 2 };

// Both pools live for the whole run; InitObjectPools frees every record.
extern EnemyBullet g_smallBullets[SMALL_BULLET_COUNT];
extern EnemyBullet g_largeBullets[LARGE_BULLET_COUNT];
// Live bullets of both pools, kept by every spawn and every free; reset by ResetGame.
extern int32_t g_enemyBulletCount;
// 1 from the final boss's arrival until ResetGame: large bullets use their second picture.
extern int32_t g_largeBulletAltSprite;

// The call counters of the timed patterns. They live for the whole run: ResetGame leaves them
// alone; only their own operation and the bosses that use them set them back to 0.
extern int32_t g_crossCounterA;  // FireRotatingCrossA
extern int32_t g_crossCounterB;  // FireRotatingCrossB
extern int32_t g_ringCounter;    // FireRingEvery

// Called by ResetGame / InitObjectPools.
void ResetEnemyFire();
void InitBulletPools();
// The in-game frame's steps: cull, hit the ship, draw, move. 1, or 0 when drawing failed.
int UpdateSmallBullets();
int UpdateLargeBullets();
// Switches every live bullet off. Called by HitPlayer and by the ship while it is down.
void ClearEnemyBullets();

// Puts one bullet (kind BULLET_SMALL or BULLET_LARGE) into the first free slot of its pool,
// stored one pixel up and left of (x, y); dropped when the pool is full. Called by the firing
// operations only.
void SpawnEnemyBullet(int x, int y, float vx, float vy, int kind);

// ---- firing operations; called by the enemy kinds and bosses. kind 1 small, 2 large.
// Angles are radians, positive turns clockwise on screen; speeds are pixels per frame.

// What the enemies take for a full turn: spinning angles start over, and rings stop, there.
inline constexpr double FULL_TURN = 6.28;

// The point aimed shots go at: ship A's hit pixel while ship A is in play, else ship B's.
// Also used by the bosses that capture a target.
void CaptureShipTarget(int32_t* x, int32_t* y);
// -1, 0 or 1.
int Sign(int v);
// One bullet at the ship, `speed` pixels per frame along the larger axis (not normalised).
void FireAimedStraight(float x, float y, int speed, int kind);
// One bullet at the ship's hit pixel, turned by angleOffset, at exactly `speed`.
void FireAimed(float x, float y, float speed, float angleOffset, int kind);
// One bullet at (targetX, targetY), turned by angleOffset, at exactly `speed`.
void FireAtPoint(float x, float y, int targetX, int targetY, float speed, float angleOffset, int kind);
// One bullet with the given velocity.
void FireBullet(int x, int y, float vx, float vy, int kind);
// Two bullets falling side by side, halfGap left and right of x.
void FireTwin(int x, int y, int vy, int halfGap, int kind);
// The sixteen bullets of the ring, rows 1 to 16.
void FireRing16(int x, int y, int speed, int kind);
// One row (1..16) of the ring; any other row fires nothing.
void FireRingBullet(int x, int y, int speed, int row, int kind);
// Eight bullets 45 degrees apart from straight up, clockwise, turned by angleOffset.
void FireRing8(int x, int y, int speed, float angleOffset, int kind);
// Four bullets 90 degrees apart from straight up, clockwise, turned by angleOffset.
void FireCross4(int x, int y, float speed, float angleOffset, int kind);
// A quarter of the ring every `interval` calls, turning clockwise (direction 0) or
// anticlockwise (1). Called every frame by the caller; A and B count separately.
void FireRotatingCrossA(int x, int y, int speed, int interval, int direction, int kind);
void FireRotatingCrossB(int x, int y, int speed, int interval, int direction, int kind);
// The whole ring every `interval` calls.
void FireRingEvery(int x, int y, int speed, int interval, int kind);

// Stage and enemies: the enemy records and pools, the stage timeline, the spawners and every
// kind of enemy and boss. Every enemy lives in a fixed global record; the small and large
// enemies are arrays cut into fixed pools by index, each pool filled by one spawner and moved by
// one kind update; each boss is one record of its own.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "stage/boss_records.h"

// ---- records. Every record starts with x, y, width, height, alive, hitPoints; all fields are
// 32 bits. Fields that hold an angle are floats, in the records' int fields stored bit for bit.

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

// Reads and writes a float kept in an int work field of an Enemy or LargeEnemy.
inline float FloatField(int32_t field) { return std::bit_cast<float>(field); }
inline void SetFloatField(int32_t& field, float value) { field = std::bit_cast<int32_t>(value); }

// The same for a double spread over two int fields, low half first.
struct DoubleHalves {
    int32_t low, high;
};
inline double DoubleField(int32_t low, int32_t high) { return std::bit_cast<double>(DoubleHalves{low, high}); }
inline void SetDoubleField(int32_t& low, int32_t& high, double value) {
    const DoubleHalves halves = std::bit_cast<DoubleHalves>(value);
    low = halves.low;
    high = halves.high;
}

// ---- pools
inline constexpr int ENEMY_COUNT = 197;
inline constexpr int LARGE_ENEMY_COUNT = 16;

// A fixed run of consecutive records of g_enemies; a record's pool, kind and picture follow
// from its index alone.
struct EnemyPool {
    int first;
    int count;
};

inline constexpr EnemyPool POOL_DROPPERS_LEFT{0, 5};
inline constexpr EnemyPool POOL_DROPPERS_RIGHT{5, 5};
inline constexpr EnemyPool POOL_SWAYERS_LEFT_1{10, 5};
inline constexpr EnemyPool POOL_SWAYERS_RIGHT_1{15, 5};
inline constexpr EnemyPool POOL_SWAYERS_LEFT_2{20, 5};
inline constexpr EnemyPool POOL_SWAYERS_RIGHT_2{25, 5};
inline constexpr EnemyPool POOL_PLUNGERS_A{30, 10};
inline constexpr EnemyPool POOL_PLUNGERS_B{40, 10};
inline constexpr EnemyPool POOL_WIDE_SWAYERS_A{50, 10};
inline constexpr EnemyPool POOL_WIDE_SWAYERS_B{60, 10};
inline constexpr EnemyPool POOL_FANNERS_LEFT_A{70, 5};
inline constexpr EnemyPool POOL_FANNERS_RIGHT_A{75, 5};
inline constexpr EnemyPool POOL_FANNERS_LEFT_B{80, 5};
inline constexpr EnemyPool POOL_FANNERS_RIGHT_B{85, 5};
inline constexpr EnemyPool POOL_HOVERERS_LEFT_A{90, 3};
inline constexpr EnemyPool POOL_HOVERERS_RIGHT_A{93, 3};
// Slots 96 to 101 belong to no pool: no wave ever fills them, so they stay free.
inline constexpr EnemyPool POOL_STRAFERS_LEFT{102, 8};
inline constexpr EnemyPool POOL_STRAFERS_RIGHT{110, 8};
inline constexpr EnemyPool POOL_ARCERS_FROM_LEFT_A{118, 4};
inline constexpr EnemyPool POOL_ARCERS_FROM_RIGHT_A{122, 4};
inline constexpr EnemyPool POOL_ARCERS_FROM_LEFT_B{126, 4};
inline constexpr EnemyPool POOL_ARCERS_FROM_RIGHT_B{130, 4};
inline constexpr EnemyPool POOL_SINKERS_LEFT_A{134, 4};
inline constexpr EnemyPool POOL_SINKERS_RIGHT_A{138, 4};
inline constexpr EnemyPool POOL_SINKERS_MIDDLE_A{142, 4};
inline constexpr EnemyPool POOL_SINKERS_LEFT_B{146, 4};
inline constexpr EnemyPool POOL_SINKERS_RIGHT_B{150, 4};
inline constexpr EnemyPool POOL_SINKERS_MIDDLE_B{154, 4};
inline constexpr EnemyPool POOL_GUNNERS_A{158, 5};
inline constexpr EnemyPool POOL_GUNNERS_B{163, 5};
inline constexpr EnemyPool POOL_GUNNERS_C{168, 5};
inline constexpr EnemyPool POOL_SPINNERS_LEFT_A{173, 6};
inline constexpr EnemyPool POOL_SPINNERS_RIGHT_A{179, 6};
inline constexpr EnemyPool POOL_SPINNERS_LEFT_B{185, 6};
inline constexpr EnemyPool POOL_SPINNERS_RIGHT_B{191, 6};

// Slots of g_largeEnemies.
inline constexpr int GUNSHIP_A = 0;  // carries the life and shield items
inline constexpr int GUNSHIP_B = 1;  // carries the bomb item
inline constexpr int GUNSHIP_C = 2;
inline constexpr int GUNSHIP_D = 3;
inline constexpr int FIRST_CRUISER = 4;   // 4-9
inline constexpr int FIRST_FRIGATE = 10;  // 10-15
inline constexpr int FORMATION_COUNT = 6;

// All records live for the whole run; InitObjectPools gives them their start values and the
// spawners refill them.
extern Enemy g_enemies[ENEMY_COUNT];
// The records of a pool, for the kind updates' loops.
inline std::span<Enemy> Members(const EnemyPool& pool) { return {g_enemies + pool.first, static_cast<size_t>(pool.count)}; }
extern LargeEnemy g_largeEnemies[LARGE_ENEMY_COUNT];
extern MidBoss g_midBoss;
extern MidBossEscort g_midBossEscort;
extern MidBossTwo g_midBossTwo;
extern BossOne g_bossOne;
extern BossTwo g_bossTwo;
extern BossThree g_bossThree;
extern BossFour g_bossFour;
extern BossFinal g_bossFinal;

// ---- pictures; reset by ResetGame, advanced by the collision pass after each drawing pass
extern int g_enemyAnimX;       // 0, 24: small enemies' two frames
extern int g_largeEnemyAnimX;  // 0, 48, 96, 144: large enemies' four frames
// Top of a small enemy's picture row on sheet B (rows 1..3 at 50, 74, 98), by record index.
// Called by the collision pass when it draws the small enemies.
int EnemySpriteTop(int index);

// ---- timeline state; reset by ResetGame
extern int g_stageFrame;          // the frame counter the whole level runs on
extern int g_round;               // 1, then 2 from the end of the first round on
extern int g_bossTimer;           // seconds left to beat the boss
extern int g_bossTimerTick;       // frames into the current second
extern int g_bossTimerVisible;    // 1 while the boss timer is shown
extern int g_bulletSlowdownHigh;  // set at stage and boss starts; picks the slower frame intervals
extern int g_dropItemA;           // the next kill of a carrier drops the bomb item
extern int g_dropItemB;           // ... the shield item
extern int g_dropItemC;           // ... the life item

// Called by ResetGame / InitObjectPools.
void ResetStage();
void InitEnemyPools();
// The in-game frame's steps: every kind and boss moves and fires, in a fixed order; then the
// timeline performs this frame's events and counts on.
void UpdateEnemies();
void UpdateStageTimeline();

// ---- spawners, called by the stage timeline: each restarts one whole wave.
void SpawnDroppersLeft();
void SpawnDroppersRight();
void SpawnSwayersLeft1();
void SpawnSwayersRight1();
void SpawnSwayersLeft2();
void SpawnSwayersRight2();
void SpawnPlungersA();
void SpawnPlungersB();
void SpawnWideSwayersA();
void SpawnWideSwayersB();
void SpawnFannersLeftA();
void SpawnFannersRightA();
void SpawnFannersLeftB();
void SpawnFannersRightB();
void SpawnHoverersLeftA();
void SpawnHoverersRightA();
void SpawnStrafersLeft();
void SpawnStrafersRight();
void SpawnArcersFromLeftA();
void SpawnArcersFromRightA();
void SpawnArcersFromLeftB();
void SpawnArcersFromRightB();
void SpawnSinkersLeftA();
void SpawnSinkersRightA();
void SpawnSinkersMiddleA();
void SpawnSinkersLeftB();
void SpawnSinkersRightB();
void SpawnSinkersMiddleB();
void SpawnGunnersA();
void SpawnGunnersB();
void SpawnGunnersC();
void SpawnSpinnersLeftA();
void SpawnSpinnersRightA();
void SpawnSpinnersLeftB();
void SpawnSpinnersRightB();
void SpawnGunshipA();
void SpawnGunshipB();
void SpawnGunshipC();
void SpawnGunshipD();
void SpawnCruisers();
void SpawnFrigates();
void SpawnMidBoss(int variant);  // 0..3
void SpawnMidBossEscort();
void SpawnMidBossTwo();
void SpawnBossOne(int appearance);  // 0 first, 1 second
void SpawnBossTwo(int appearance);  // 0 first, 1 second
void SpawnBossThree();
void SpawnBossFour();
void SpawnBossFinal();

// ---- kind updates, called by UpdateEnemies once a frame for each pool of the kind. Each walks
// its pool in index order and skips records whose alive is not 1.
void UpdateDroppers(const EnemyPool& pool);
void UpdateHoverers(const EnemyPool& pool);
void UpdateSwayers(const EnemyPool& pool);
void UpdateWideSwayers(const EnemyPool& pool);
void UpdatePlungers(const EnemyPool& pool);
void UpdateSinkers(const EnemyPool& pool);
void UpdateFanners(const EnemyPool& pool);
void UpdateGunners(const EnemyPool& pool);
void UpdateStrafers(const EnemyPool& pool);
void UpdateArcers(const EnemyPool& pool);
void UpdateSpinners(const EnemyPool& pool);
void UpdateGunship(int slot);  // GUNSHIP_A..GUNSHIP_D
void UpdateCruisers();
void UpdateFrigates();
// Boss behaviours, called by UpdateEnemies in this order after the large enemies; each does
// nothing unless its boss is alive.
void UpdateMidBoss();
void UpdateMidBossEscort();
void UpdateMidBossTwo();
void UpdateBossOne();
void UpdateBossTwo();
void UpdateBossThree();
void UpdateBossFour();
void UpdateBossFinal();

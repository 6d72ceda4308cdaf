// Stage and enemies: the enemy records and pools, the stage timeline, the spawners and every
// kind of enemy and boss. Every enemy lives in a fixed global record; the small and large
// enemies are arrays cut into fixed pools by index, each pool filled by one spawner and moved by
// one kind update; each boss is one record of its own.
#pragma once

#include <bit>
#include <cstdint>

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

// The recurring mid-boss (four variants).
struct MidBoss {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t motionCounter;  // 6
    int32_t glideSpeed;     // 7; 18 at spawn
    int32_t swingCount;     // 8
    int32_t leaving;        // 9
    int32_t scriptTimer;    // 10
    union {
        int32_t spraySwitch;  // 11
        int32_t fanTick;      // 11, variant 3
    };
    float leftSprayAngle;   // 12
    float rightSprayAngle;  // 13
    int32_t sprayTick;      // 14
    int32_t fanSwitch;      // 15
    int32_t fanTimer;       // 16
    int32_t targetX, targetY;  // 17, 18
    int32_t variant;        // 19; 0..3
    int32_t ringSwitch;     // 20, variant 1
    int32_t ringTick;       // 21, variant 1
    float ringStep;         // 22, variant 1
    float ringTurn;         // 23, variant 1
};
static_assert(sizeof(MidBoss) == 24 * 4);

// The escort that comes with the third appearance of the mid-boss.
struct MidBossEscort {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t motionCounter;  // 6
    int32_t glideSpeed;     // 7; 18 at spawn
    int32_t swingCount;     // 8
    int32_t leaving;        // 9
    int32_t scriptTimer;    // 10
    int32_t spraySwitch;    // 11
    float leftSprayAngle;   // 12
    float rightSprayAngle;  // 13
    int32_t sprayTick;      // 14
    int32_t fanSwitch;      // 15
    int32_t fanTimer;       // 16
    int32_t targetX, targetY;  // 17, 18
};
static_assert(sizeof(MidBossEscort) == 19 * 4);

// The second mid-boss.
struct MidBossTwo {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t entryCounter;   // 6
    int32_t swaySwitch;     // 7
    int32_t scriptTimer;    // 8
    int32_t waveSwitch;     // 9
    int32_t waveTick;       // 10
    int32_t waveDirection;  // 11; 0 rising, 1 falling
    int32_t leftRingSwitch, leftRingTick;    // 12, 13
    int32_t rightRingSwitch, rightRingTick;  // 14, 15
    int32_t burstSwitch, burstTick;          // 16, 17
    int32_t leaving;        // 18
    int32_t unused[3];      // 19-21
    float swayAngle;        // 22
    float waveAngle;        // 23
    float leftRingAngle, leftRingBase;    // 24, 25
    float rightRingAngle, rightRingBase;  // 26, 27
    float burstAngle, burstBase;          // 28, 29
};
static_assert(sizeof(MidBossTwo) == 30 * 4);

// The first boss; its second appearance reuses several fields under other names.
struct BossOne {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t entryCounter;  // 6
    int32_t scriptTimer;   // 7
    int32_t spiral1Switch; // 8
    int32_t swaySwitch;    // 9; 1 at spawn
    union {
        int32_t cross1Switch;  // 10
        int32_t wallState;     // 10, second appearance: 0 off, 1 starting, 2 on
    };
    union {
        int32_t cross2Switch;  // 11
        int32_t wallAimX;      // 11, second appearance
    };
    union {
        int32_t spiral2Switch;  // 12
        int32_t wallAimY;       // 12, second appearance
    };
    union {
        int32_t secondPass;  // 13
        int32_t wallTick;    // 13, second appearance
    };
    union {
        int32_t cross3Switch;     // 14
        int32_t wallVolleyCount;  // 14, second appearance
    };
    union {
        int32_t ringSwitch;       // 15
        int32_t singleShotTick;   // 15, second appearance
    };
    int32_t targetX, targetY;  // 16, 17
    union {
        float leftSpiralAngle;  // 18
        float wallSpread;       // 18, second appearance
    };
    float rightSpiralAngle;  // 19
    union {
        int32_t spiralTick;    // 20
        int32_t sideGunCycle;  // 20, second appearance
    };
    int32_t appearance;        // 21; 0 first, 1 second
    int32_t sideGunTick;       // 22, second appearance
    int32_t twinSpiralSwitch;  // 23, second appearance
    int32_t twinSpiralTick;    // 24, second appearance
    int32_t fanTick;           // 25, second appearance
    int32_t fanSwitch;         // 26, second appearance
    int32_t targetFansSwitch;  // 27, second appearance
    int32_t targetFansCycle;   // 28, second appearance
    int32_t targetFansTick;    // 29, second appearance
    float swayAngle;           // 30
    float twinSpiralAngle1, twinSpiralAngle2;  // 31, 32, second appearance
};
static_assert(sizeof(BossOne) == 33 * 4);

// The second boss; its second appearance reuses several fields under other names.
struct BossTwo {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t appearance;    // 6; 0 first, 1 second
    int32_t entryCounter;  // 7
    int32_t swaySwitch;    // 8; 1 at spawn
    int32_t scriptTimer;   // 9
    int32_t spraySwitch, sprayTick;          // 10, 11
    int32_t wingSpraySwitch, wingSprayTick;  // 12, 13
    int32_t centreFanSwitch, centreFanTick;  // 14, 15
    int32_t passCount;                       // 16
    int32_t crossSwitch, crossTick;          // 17, 18
    int32_t wingFanSwitch, wingFanTick;      // 19, 20
    int32_t ringTick;                        // 21, second appearance
    int32_t centreFansSwitch, centreFansCycle, centreFansTick;  // 22-24, second appearance
    int32_t showerSwitch;                    // 25, second appearance
    int32_t showerTick, showerDelay, showerCrossTick;  // 26-28, second appearance
    float swayAngle;  // 29
    union {
        float sprayAngle;       // 30
        float secondCrossAngle; // 30, second appearance: the cross angle
    };
    union {
        float sprayBase;  // 31
        float ringStep;   // 31, second appearance
    };
    union {
        float leftWingSprayAngle;  // 32
        float ringTurn;            // 32, second appearance
    };
    union {
        float rightWingSprayAngle;  // 33
        float showerAngle2;         // 33, second appearance
    };
    float showerAngle1;  // 34, second appearance
    float crossAngle;    // 35
};
static_assert(sizeof(BossTwo) == 36 * 4);

// The third boss.
struct BossThree {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t partFrame;     // 6; source x of the side parts: 0, 80, 160, 240
    int32_t swaySwitch;    // 7; 1 at spawn
    int32_t entered;       // 8
    int32_t entrySpeed;    // 9; 11 at spawn
    int32_t entryTick;     // 10
    int32_t scriptTimer;   // 11
    int32_t crossSwitch, crossTick;        // 12, 13
    int32_t sideFanSwitch, sideFanTick;    // 14, 15
    int32_t sideFanTargetX, sideFanTargetY;  // 16, 17
    int32_t wallSwitch;          // 18
    int32_t wallTargetCaptured;  // 19
    int32_t wallTargetX, wallTargetY;  // 20, 21
    int32_t wallTick;            // 22
    int32_t wallStage;           // 23; 0 closing, 1 holding, 2 sweeping
    int32_t wallHoldCount;       // 24
    int32_t wallSweepDirection;  // 25
    int32_t wallSweepCount;      // 26
    int32_t doubleFanSwitch;     // 27
    int32_t doubleFanStreamTick; // 28
    int32_t doubleFanFanTick;    // 29
    int32_t twinRingSwitch, twinRingTick;        // 30, 31
    int32_t turningRingASwitch, turningRingATick;  // 32, 33
    int32_t turningRingBSwitch, turningRingBTick;  // 34, 35
    int32_t fanStreamsSwitch;      // 36
    int32_t fanStreamsStreamTick;  // 37
    int32_t fanStreamsFanTick;     // 38
    int32_t burstSwitch, burstTick;  // 39, 40
    float swayAngle;   // 41
    float crossAngle;  // 42
    float wallSpreadLeft, wallSpreadRight;      // 43, 44
    float doubleFanAngleA, doubleFanAngleB;     // 45, 46
    float twinRingStep;                         // 47
    float twinRingAngleC, twinRingAngleD;       // 48, 49
    float turningRingAStep, turningRingATurn;   // 50, 51
    float turningRingBStep, turningRingBTurn;   // 52, 53
    float fanStreamsAngleA, fanStreamsAngleB;   // 54, 55
    float burstStep, burstTurn;                 // 56, 57
};
static_assert(sizeof(BossThree) == 58 * 4);

// The fourth boss.
struct BossFour {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t scriptTimer;     // 6
    int32_t circlingSwitch;  // 7
    int32_t entered;         // 8; 0 while descending
    int32_t entrySpeed;      // 9; 11 at spawn
    int32_t entryTick;       // 10
    int32_t coverOffset;     // 11; 90 at spawn
    int32_t coverSwitch;     // 12
    int32_t podsSwitch;      // 13
    int32_t rightPodOffset;  // 14; 6 at spawn
    int32_t leftPodOffset;   // 15; 2 at spawn
    int32_t patternASwitch;  // 16
    int32_t largeGunTick;    // 17
    int32_t ringTick;        // 18; patterns A and C
    int32_t patternASpiralTick;  // 19
    int32_t patternBSwitch;      // 20
    int32_t patternBRingTick;    // 21
    int32_t twinSpiralTick;      // 22; patterns B and C
    int32_t patternBFanTick;     // 23
    int32_t patternCSwitch;      // 24
    float circlingAngle;   // 25
    float largeGunAngle;   // 26
    float ringAngle;       // 27
    float spiralAngle1, spiralAngle2;  // 28, 29
};
static_assert(sizeof(BossFour) == 30 * 4);

// The final boss.
struct BossFinal {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t pose;            // 6; 0..3, the picture drawn
    int32_t circlingSwitch;  // 7
    int32_t entered;         // 8; 0 while descending
    int32_t entrySpeed;      // 9; 11 at spawn
    int32_t entryTick;       // 10
    int32_t scriptTimer;     // 11
    int32_t patternASwitch;      // 12
    int32_t patternAFanTick;     // 13
    int32_t patternACrossTick;   // 14
    int32_t patternASpiralTick;  // 15
    int32_t patternARingTick;    // 16
    int32_t patternBSwitch;      // 17
    int32_t patternBTick;        // 18
    int32_t patternCSwitch;          // 19
    int32_t patternCTargetCaptured;  // 20
    int32_t patternCTick;            // 21
    int32_t patternCTargetX, patternCTargetY;  // 22, 23
    int32_t patternCVolleyCount;     // 24
    int32_t patternDSwitch;          // 25
    int32_t patternDLeftGunTick;     // 26
    int32_t patternDRightGunTick;    // 27
    int32_t patternDRightGunDelay;   // 28
    int32_t patternDCurtainCycle;    // 29
    int32_t patternDCurtainTick;     // 30
    int32_t lastStand;               // 31
    int32_t lastStandDelay;          // 32
    int32_t lastStandRingSwitch;     // 33
    int32_t lastStandRingTick;       // 34
    float circlingAngle;       // 35
    float patternACrossAngle;  // 36
    float patternASpiralAngle1, patternASpiralAngle2;  // 37, 38
    float patternARingAngle;   // 39
    float patternBLeftAngle, patternBRightAngle;  // 40, 41
    float patternCSweep;       // 42
    float patternDLeftGunAngle, patternDRightGunAngle;  // 43, 44
    float lastStandRingAngle;  // 45
};
static_assert(sizeof(BossFinal) == 46 * 4);

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
inline constexpr EnemyPool POOL_HOVERERS_LEFT_B{96, 3};   // never filled by the timeline
inline constexpr EnemyPool POOL_HOVERERS_RIGHT_B{99, 3};  // never filled by the timeline
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
extern int g_stageFrame;  // the frame counter the whole level runs on
extern int g_round;       // 1, then 2 from the end of the first round on
extern int g_bossTimer;         // seconds left to beat the boss
extern int g_bossTimerTick;     // frames into the current second
extern int g_bossTimerVisible;  // 1 while the boss timer is shown
extern int g_bulletSlowdownHigh;  // set at stage and boss starts; picks the slower frame intervals
extern int g_dropItemA;  // the next kill of a carrier drops the bomb item
extern int g_dropItemB;  // ... the shield item
extern int g_dropItemC;  // ... the life item

// Called by ResetGame / InitObjectPools.
void ResetStage();
void InitEnemyPools();
// The in-game frame's steps: every kind and boss moves and fires, in a fixed order; then the
// timeline performs this frame's events and counts on.
void UpdateEnemies();
void UpdateStageTimeline();

// Zeroes the 32-bit fields first..last (declared order, 0 = x) of a record. Used where only part
// of a record is reset.
void ZeroFields(void* record, int first, int last);

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

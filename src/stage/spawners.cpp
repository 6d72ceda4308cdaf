// The spawners: each puts one whole wave (or one boss) on the field by writing the start values
// of every record of its pool and marking them alive. A spawner never looks at what the pool
// held before, so calling it while the previous wave is still on screen restarts that wave.
// Fields a spawner does not list keep whatever the previous wave left in them; the kinds
// that care set them themselves.
#include "enemyfire/enemyfire.h"
#include "sound/sound.h"
#include "stage/stage.h"

namespace {

// Start values of a small-enemy wave. Record i of the pool starts at
// x = xStart + xStep * (i % xPeriod); work1 is the kind's starting speed or offset, and work0 to
// work4 are written (work1 as given, the others 0), work5 only where the wave says so.
struct SmallWave {
    EnemyPool pool;
    int xStart, xStep, xPeriod;
    int y;
    int hitPoints;
    int work1;
    bool clearsWork5;  // false: work5 keeps what the last wave of the pool left there
};

// Droppers and hoverers start falling at 7 pixels a frame; swayers start their sway 24 pixels
// up, arcers 6.
constexpr SmallWave Dropping(EnemyPool pool, int xStart) { return {pool, xStart, 24, pool.count, -24, 3, 7, false}; }
constexpr SmallWave Swaying(EnemyPool pool) { return {pool, 160, 0, 1, -24, 3, -24, true}; }
constexpr SmallWave Arcing(EnemyPool pool, int x) { return {pool, x, 0, 1, 60, 3, -6, true}; }
constexpr SmallWave Plain(EnemyPool pool, int xStart, int xStep, int xPeriod, int hitPoints) {
    return {pool, xStart, xStep, xPeriod, -24, hitPoints, 0, true};
}

void SpawnWave(const SmallWave& wave) {
    for (int i = 0; i < wave.pool.count; ++i) {
        Enemy& e = g_enemies[wave.pool.first + i];
        e.x = wave.xStart + wave.xStep * (i % wave.xPeriod);
        e.y = wave.y;
        e.alive = 1;
        e.hitPoints = wave.hitPoints;
        e.phase = 0;
        e.entryCounter = 0;
        e.work0 = e.work2 = e.work3 = e.work4 = 0;
        if (wave.clearsWork5) e.work5 = 0;
        e.work1 = wave.work1;
    }
}

// The gunships clear phase, entryCounter, work0 to work4 (to work6 where asked), work10 and
// work11; the fields in between keep what the last gunship of the slot left there.
void SpawnGunship(int slot, int x, bool clearsWork6) {
    LargeEnemy& e = g_largeEnemies[slot];
    e.x = x;
    e.y = -48;
    e.alive = 1;
    e.hitPoints = 70;
    e.phase = e.entryCounter = 0;
    e.work0 = e.work1 = e.work2 = e.work3 = e.work4 = 0;
    if (clearsWork6) e.work5 = e.work6 = 0;
    e.work10 = e.work11 = 0;
}

// Cruisers and frigates fly in the same six-ship formation; work7 is left alone.
void SpawnFormation(int first) {
    static constexpr int FORMATION_X[FORMATION_COUNT] = {10, 58, 94, 142, 58, 94};
    for (int i = 0; i < FORMATION_COUNT; ++i) {
        LargeEnemy& e = g_largeEnemies[first + i];
        e.x = FORMATION_X[i];
        e.y = -48;
        e.alive = 1;
        e.hitPoints = 40;
        e.phase = 0;
        e.entryCounter = 0;
        e.work0 = 6;
        e.work1 = e.work2 = e.work3 = e.work4 = e.work5 = e.work6 = 0;
        e.work8 = e.work9 = e.work10 = e.work11 = 0;
    }
}

// The common start of every boss: its position, full hit points, alive, and every field after
// those cleared; only the hit box is kept.
template <typename Boss>
void StartBoss(Boss& b, int x, int y, int hitPoints) {
    const int32_t width = b.width, height = b.height;
    b = Boss{};
    b.x = x;
    b.y = y;
    b.width = width;
    b.height = height;
    b.alive = 1;
    b.hitPoints = hitPoints;
}

}  // namespace

void SpawnDroppersLeft() { SpawnWave(Dropping(POOL_DROPPERS_LEFT, 0)); }
void SpawnDroppersRight() { SpawnWave(Dropping(POOL_DROPPERS_RIGHT, 80)); }
void SpawnSwayersLeft1() { SpawnWave(Swaying(POOL_SWAYERS_LEFT_1)); }
void SpawnSwayersRight1() { SpawnWave(Swaying(POOL_SWAYERS_RIGHT_1)); }
void SpawnSwayersLeft2() { SpawnWave(Swaying(POOL_SWAYERS_LEFT_2)); }
void SpawnSwayersRight2() { SpawnWave(Swaying(POOL_SWAYERS_RIGHT_2)); }
void SpawnPlungersA() { SpawnWave(Plain(POOL_PLUNGERS_A, 0, 19, 10, 4)); }  // the one small wave with 4 hit points
void SpawnPlungersB() { SpawnWave(Plain(POOL_PLUNGERS_B, 0, 19, 10, 3)); }
void SpawnWideSwayersA() { SpawnWave(Swaying(POOL_WIDE_SWAYERS_A)); }
void SpawnWideSwayersB() { SpawnWave(Swaying(POOL_WIDE_SWAYERS_B)); }
void SpawnFannersLeftA() { SpawnWave(Plain(POOL_FANNERS_LEFT_A, 0, 20, 5, 3)); }
void SpawnFannersRightA() { SpawnWave(Plain(POOL_FANNERS_RIGHT_A, 100, 20, 5, 3)); }
void SpawnFannersLeftB() { SpawnWave(Plain(POOL_FANNERS_LEFT_B, 0, 20, 5, 3)); }
void SpawnFannersRightB() { SpawnWave(Plain(POOL_FANNERS_RIGHT_B, 100, 20, 5, 3)); }
void SpawnHoverersLeftA() { SpawnWave(Dropping(POOL_HOVERERS_LEFT_A, 0)); }
void SpawnHoverersRightA() { SpawnWave(Dropping(POOL_HOVERERS_RIGHT_A, 128)); }
void SpawnStrafersLeft() { SpawnWave(Plain(POOL_STRAFERS_LEFT, 16, 0, 1, 3)); }
void SpawnStrafersRight() { SpawnWave(Plain(POOL_STRAFERS_RIGHT, 168, 0, 1, 3)); }
void SpawnArcersFromLeftA() { SpawnWave(Arcing(POOL_ARCERS_FROM_LEFT_A, -24)); }
void SpawnArcersFromRightA() { SpawnWave(Arcing(POOL_ARCERS_FROM_RIGHT_A, 200)); }
void SpawnArcersFromLeftB() { SpawnWave(Arcing(POOL_ARCERS_FROM_LEFT_B, -24)); }
void SpawnArcersFromRightB() { SpawnWave(Arcing(POOL_ARCERS_FROM_RIGHT_B, 200)); }
void SpawnSinkersLeftA() { SpawnWave(Plain(POOL_SINKERS_LEFT_A, 0, 24, 4, 3)); }
void SpawnSinkersRightA() { SpawnWave(Plain(POOL_SINKERS_RIGHT_A, 104, 24, 4, 3)); }
void SpawnSinkersMiddleA() { SpawnWave(Plain(POOL_SINKERS_MIDDLE_A, 48, 24, 4, 3)); }
void SpawnSinkersLeftB() { SpawnWave(Plain(POOL_SINKERS_LEFT_B, 0, 24, 4, 3)); }
void SpawnSinkersRightB() { SpawnWave(Plain(POOL_SINKERS_RIGHT_B, 104, 24, 4, 3)); }
void SpawnSinkersMiddleB() { SpawnWave(Plain(POOL_SINKERS_MIDDLE_B, 48, 24, 4, 3)); }
void SpawnGunnersA() { SpawnWave(Plain(POOL_GUNNERS_A, 50, 20, 5, 3)); }
void SpawnGunnersB() { SpawnWave(Plain(POOL_GUNNERS_B, 50, 20, 5, 3)); }
void SpawnGunnersC() { SpawnWave(Plain(POOL_GUNNERS_C, 50, 20, 5, 3)); }
// Spinners come in pairs of columns: x alternates between two values.
void SpawnSpinnersLeftA() { SpawnWave(Plain(POOL_SPINNERS_LEFT_A, 24, 24, 2, 3)); }
void SpawnSpinnersRightA() { SpawnWave(Plain(POOL_SPINNERS_RIGHT_A, 128, 24, 2, 3)); }
void SpawnSpinnersLeftB() { SpawnWave(Plain(POOL_SPINNERS_LEFT_B, 24, 24, 2, 3)); }
void SpawnSpinnersRightB() { SpawnWave(Plain(POOL_SPINNERS_RIGHT_B, 128, 24, 2, 3)); }

void SpawnGunshipA() { SpawnGunship(GUNSHIP_A, 48, false); }
void SpawnGunshipB() { SpawnGunship(GUNSHIP_B, 104, true); }
void SpawnGunshipC() { SpawnGunship(GUNSHIP_C, 48, false); }
void SpawnGunshipD() { SpawnGunship(GUNSHIP_D, 104, true); }
void SpawnCruisers() { SpawnFormation(FIRST_CRUISER); }
void SpawnFrigates() { SpawnFormation(FIRST_FRIGATE); }

void SpawnMidBoss(int variant) {
    static constexpr int HIT_POINTS[4] = {600, 300, 120, 500};
    // The variant is stored even when it is not one of the four; nothing else happens then.
    g_midBoss.variant = variant;
    if (variant < 0 || variant > 3) return;
    StartBoss(g_midBoss, -96, variant < 2 ? 60 : 50, HIT_POINTS[variant]);
    g_midBoss.variant = variant;
    g_midBoss.glideSpeed = 18;
    PlaySoundEffect(SoundEffect::MidBossArrival);
}

void SpawnMidBossEscort() {
    StartBoss(g_midBossEscort, 200, 100, 120);
    g_midBossEscort.glideSpeed = 18;
    PlaySoundEffect(SoundEffect::MidBossArrival);
}

void SpawnMidBossTwo() { StartBoss(g_midBossTwo, 52, -96, 600); }

void SpawnBossOne(int appearance) {
    StartBoss(g_bossOne, 36, -112, appearance == 1 ? 2200 : 1500);
    g_bossOne.appearance = appearance;
    g_bossOne.swaySwitch = 1;
}

void SpawnBossTwo(int appearance) {
    StartBoss(g_bossTwo, 36, -112, 2700);
    g_bossTwo.appearance = appearance;
    g_bossTwo.swaySwitch = 1;
}

void SpawnBossThree() {
    StartBoss(g_bossThree, 80, -120, 3500);
    g_bossThree.swaySwitch = 1;
    g_bossThree.entrySpeed = 11;
}

void SpawnBossFour() {
    StartBoss(g_bossFour, 80, -120, 3000);
    g_bossFour.entrySpeed = 11;
    g_bossFour.coverOffset = 90;
    g_bossFour.rightPodOffset = 6;
    g_bossFour.leftPodOffset = 2;
}

void SpawnBossFinal() {
    StartBoss(g_bossFinal, 48, -120, 6000);
    g_bossFinal.entrySpeed = 11;
    // From here to the end of the game every large bullet wears its second picture.
    g_largeBulletAltSprite = 1;
}

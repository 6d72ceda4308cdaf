// The enemy records and their pools: the start values given at the game reset, the picture row
// of each small-enemy pool, and the enemy update that runs every kind and boss once a frame in
// one fixed order. The order is part of the game: it decides which bullets take the free slots
// first, so it never changes from frame to frame.
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

// Puts a record at its resting place below the field with its hit box, not alive and without
// hit points; nothing but this ever writes width and height. Every record starts with these six.
template <typename Record>
void PlaceAtRest(Record& r, int width, int height) {
    r.x = 0;
    r.y = 240;
    r.width = width;
    r.height = height;
    r.alive = 0;
    r.hitPoints = 0;
}

}  // namespace

int EnemySpriteTop(int index) {
    int row = 1;
    for (const SpriteRowStart& s : SPRITE_ROWS) {
        if (index >= s.firstIndex) row = s.row;
    }
    return SPRITE_ROW_TOPS[row];
}

void InitEnemyPools() {
    for (Enemy& e : g_enemies) {
        e = Enemy{};
        PlaceAtRest(e, 24, 24);
    }
    // The large records keep work7 to work11 from before.
    for (LargeEnemy& e : g_largeEnemies) {
        PlaceAtRest(e, 48, 48);
        e.phase = 0;
        e.entryCounter = 0;
        e.work0 = e.work1 = e.work2 = e.work3 = e.work4 = e.work5 = e.work6 = 0;
    }
    // The bosses' start values clear only part of each record; the spawners clear the rest.
    PlaceAtRest(g_midBoss, 96, 48);
    g_midBoss.motionCounter = g_midBoss.glideSpeed = g_midBoss.swingCount = g_midBoss.leaving = 0;
    g_midBoss.scriptTimer = g_midBoss.spraySwitch = g_midBoss.sprayTick = 0;
    g_midBoss.leftSprayAngle = g_midBoss.rightSprayAngle = 0;
    PlaceAtRest(g_midBossEscort, 96, 48);
    MidBossEscort& e = g_midBossEscort;
    e.motionCounter = e.glideSpeed = e.swingCount = e.leaving = e.scriptTimer = e.spraySwitch = e.sprayTick = 0;
    e.leftSprayAngle = e.rightSprayAngle = 0;
    PlaceAtRest(g_midBossTwo, 96, 96);
    PlaceAtRest(g_bossOne, 128, 112);
    BossOne& one = g_bossOne;
    one.entryCounter = one.scriptTimer = one.spiral1Switch = one.swaySwitch = 0;
    one.cross1Switch = one.cross2Switch = one.spiral2Switch = one.secondPass = one.cross3Switch = one.ringSwitch = 0;
    one.targetX = one.targetY = one.spiralTick = 0;
    one.leftSpiralAngle = one.rightSpiralAngle = one.twinSpiralAngle1 = 0;
    PlaceAtRest(g_bossTwo, 128, 112);
    BossTwo& two = g_bossTwo;
    two.swaySwitch = two.scriptTimer = two.spraySwitch = two.sprayTick = two.wingSpraySwitch = two.wingSprayTick = 0;
    two.centreFanSwitch = two.centreFanTick = two.passCount = two.crossSwitch = two.crossTick = 0;
    two.wingFanSwitch = two.wingFanTick = two.ringTick = two.centreFansSwitch = 0;
    PlaceAtRest(g_bossThree, 40, 96);
    BossThree& three = g_bossThree;
    three.partFrame = three.swaySwitch = three.entered = three.entrySpeed = three.entryTick = three.scriptTimer = 0;
    three.crossSwitch = three.crossTick = three.sideFanSwitch = three.sideFanTick = 0;
    three.sideFanTargetX = three.sideFanTargetY = three.wallSwitch = three.wallTargetCaptured = 0;
    three.wallTargetX = three.wallTargetY = three.wallTick = three.wallStage = three.wallHoldCount = 0;
    three.wallSweepDirection = three.wallSweepCount = 0;
    three.doubleFanSwitch = three.doubleFanStreamTick = three.doubleFanFanTick = 0;
    three.twinRingSwitch = three.twinRingTick = 0;
    PlaceAtRest(g_bossFour, 48, 112);
    PlaceAtRest(g_bossFinal, 104, 128);
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

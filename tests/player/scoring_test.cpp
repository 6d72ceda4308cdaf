// The collision pass, the chain, the items and the extends where a frame of hits could go two
// ways: gates, kills out of sight, kills in a boss's last frame, items at a full stock, two
// extends at once. The score, chain and sounds of ordinary kills frame by frame, and what the
// mid-bosses pay and drop, are the goldens'.
// A unit shot of ship B deals 1 and scores nothing itself, so a score is the award alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "app/game.h"
#include "platform/platform.h"
#include "player/combat.h"
#include "player/player.h"
#include "stage/stage.h"
#include "test_support.h"
#include "video/display.h"

namespace {

class CombatScore : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        // Ship A chosen and flying.
        g_playing = 1;
        g_ships[0].active = 1;
        g_ships[0].state = SHIP_STATE_NORMAL;
        g_ships[1].active = 0;
        g_ships[1].state = SHIP_STATE_DOWN;
        for (PlayerShot& s : g_playerShots) s = PlayerShot{-50, 500, 3, 24, 0};
        for (PlayerShot& s : g_unitShotsA) s = PlayerShot{-50, 500, 3, 24, 0};
        for (PlayerShot& s : g_unitShotsB) s = PlayerShot{-50, 500, 8, 16, 0};
        TakeSounds();
    }
    static void PlaceEnemy(int i, int x, int y, int hitPoints) {
        g_enemies[i] = Enemy{x, y, 24, 24, 1, hitPoints, 0, 0, 0, 0, 0, 0, 0, 0};
    }
    // A large enemy, mid-boss or boss record alive at (x, y) with its box and hit points, every
    // other field zero.
    template <typename Record>
    static void PlaceTarget(Record& r, int x, int y, int width, int height, int hitPoints) {
        r = {};
        std::tie(r.x, r.y, r.width, r.height, r.alive, r.hitPoints) = std::tuple(x, y, width, height, 1, hitPoints);
    }
    // Ship A's hit pixel at (hx, hy).
    static void PutShipHitPixelAt(int hx, int hy) {
        g_ships[0].x = hx - 11;
        g_ships[0].y = hy - 15;
    }
};

TEST_F(CombatScore, ShotGateStopsHitsAtX189ButTheEnemyIsStillDrawn) {
    ClearField(15);
    PlaceEnemy(0, 189, 100, 1);
    g_unitShotsB[0] = PlayerShot{190, 105, 8, 16, 1};
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_enemies[0].alive + g_unitShotsB[0].alive, 2);
    EXPECT_TRUE(FieldRectHasColourOtherThan(189, 100, 200, 124, 15));
    g_enemies[0].x = 188;  // one pixel further in, the same shot hits
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_enemies[0].alive + g_unitShotsB[0].alive, 0);
}

TEST_F(CombatScore, KillOutsideTheFieldIsScoredBeforeTheRecordIsDropped) {
    PlaceEnemy(0, 50, 240, 1);
    g_unitShotsB[0] = PlayerShot{55, 238, 8, 16, 1};
    PlaceEnemy(1, -30, 50, 5);  // leaving without being killed: dropped, and scores nothing
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_enemies[0].alive + g_enemies[1].alive, 0);
    EXPECT_EQ(g_score, 460);
}

TEST_F(CombatScore, LargeEnemyHitsHoldTheChainAndItsKillDropsTheArmedItems) {
    PlaceTarget(g_largeEnemies[0], 60, 40, 48, 48, 2);
    g_chain = 4;
    g_chainTimer = 3;
    g_dropItemC = 1;
    g_dropItemB = 1;
    g_dropItemA = 1;  // carried by slot 1, not this one
    g_playerShots[30] = PlayerShot{70, 50, 3, 24, 1};
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_chainTimer, 10);
    EXPECT_EQ(g_largeEnemies[0].alive, 1);
    g_playerShots[31] = PlayerShot{70, 50, 3, 24, 1};
    const int32_t before = g_score;
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_largeEnemies[0].alive, 0);
    EXPECT_EQ(g_chain, 5);
    EXPECT_EQ(g_score - before, 120 + 6850 * 5);
    EXPECT_EQ(std::vector<bool>({g_lifeItem.y == ITEM_PARKED_Y, g_shieldItem.y == ITEM_PARKED_Y, g_bombItem.y == ITEM_PARKED_Y}),
              std::vector<bool>({false, false, true}));
    EXPECT_EQ(std::vector<int>({g_dropItemA, g_dropItemB, g_dropItemC}), std::vector<int>({1, 0, 0}));
    EXPECT_EQ(g_fieldClearColour, 255);
    EXPECT_EQ(g_explosions[7].alive + g_debris[7].alive, 2);  // a burst: eight explosions, eight debris
}

TEST_F(CombatScore, BossTimeOutBlastsWithoutPointsEvenWhenKilledInTheSameFrame) {
    PlaceTarget(g_bossOne, 36, 20, 128, 112, 2);
    g_bossTimerVisible = 1;
    g_bossTimer = 0;
    g_bossTimerTick = 59;
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(std::vector<int>({g_bossOne.alive, g_bossTimer}), std::vector<int>({1, 0}));  // tick 59 -> 60: not over yet
    g_playerShots[0] = PlayerShot{36 + 50, 20 + 30, 3, 24, 1};                              // the kill, in the last frame
    const int32_t before = g_score;
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_score - before, 120);  // the shot's points only
    EXPECT_EQ(std::vector<int>({g_bossTimer, g_bossOne.alive, g_bossTimerVisible, g_bossBlastActive}),
              std::vector<int>({-1, 0, 0, 1}));
    EXPECT_EQ(std::vector<int>({g_ships[0].state, g_invulnTimer, g_playerPhase}),
              std::vector<int>({SHIP_STATE_INVULNERABLE, 120, PLAYER_PHASE_INVULNERABLE}));
}

TEST_F(CombatScore, FinalBossPaysFiveMillionForEachSpareLife) {
    PlaceTarget(g_bossFinal, 48, 10, 104, 128, 1);
    g_bossTimer = 50;
    g_bossTimerVisible = 1;
    g_ships[0].lives = 3;
    g_ships[1].lives = 3;  // not flying: no bonus
    g_unitShotsB[0] = PlayerShot{48 + 40, 10 + 40, 8, 16, 1};
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_bossFinal.alive + g_bossTimerVisible, 0);
    EXPECT_EQ(g_score, 11000000);
}

TEST_F(CombatScore, BossBodyOnTheShipForFourFramesFromAFullShieldCostsALife) {
    PlaceTarget(g_bossTwo, 36, 100, 128, 112, 500);
    g_bossTimer = 50;
    g_scoreLevel = 5;
    PutShipHitPixelAt(36 + 60, 100 + 80);  // inside the body's box
    const int x = g_ships[0].x;
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_EQ(ResolveCollisions(), 1);
        EXPECT_EQ(std::vector<int>({g_shield, g_ships[0].lives, g_ships[0].x}), std::vector<int>({3 - frame, 3, x}));
    }
    EXPECT_EQ(g_scoreLevel, 2);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{109, 109, 109}));
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(std::vector<int>({g_ships[0].lives, g_ships[0].state, g_shield, g_scoreLevel, g_playerPhase, g_respawnDelay,
                                g_bombs, g_fieldClearColour}),
              std::vector<int>({2, SHIP_STATE_DOWN, 3, 1, PLAYER_PHASE_RESPAWN, 40, 2, 249}));
    EXPECT_EQ(TakeSounds(), (std::vector<int>{101, 102}));  // the ship's burst, no hit sound
    // A ship that is down is not hit again, nor one that is invulnerable.
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_shield, 3);
    g_ships[0].state = SHIP_STATE_INVULNERABLE;
    PutShipHitPixelAt(36 + 60, 100 + 80);
    ASSERT_EQ(ResolveCollisions(), 1);
    EXPECT_EQ(g_shield, 3);
}

// An item taken at a full stock pays by the level and raises it; below a full stock it fills the
// stock and pays nothing.
TEST_F(CombatScore, ItemsAtAFullStockPayByTheLevelAndOtherwiseFillIt) {
    const struct {
        void (*drop)(int, int);
        int x, y;  // falls one pixel to y + 1, onto the hit pixel at (100, 150)
        int* stock;
        int full, low, filled, level, points, newLevel;
    } cases[] = {
        {DropBombItem, 92, 140, &g_bombs, 5, 2, 3, 16, 170000, 18},
        {DropShieldItem, 100, 135, &g_shield, 3, 1, 3, 4, 120000, 6},  // the pixel on its left column
    };
    for (const auto& c : cases) {
        SetUp();
        g_scoreLevel = c.level;
        *c.stock = c.full;
        PutShipHitPixelAt(100, 150);
        c.drop(c.x, c.y);
        ASSERT_EQ(UpdateItemsAndGauges(), 1);
        EXPECT_EQ(std::vector<int>({*c.stock, g_score, g_scorePopup.value, g_scoreLevel}),
                  std::vector<int>({c.full, c.points, c.points, c.newLevel}));
        EXPECT_EQ(TakeSounds(), std::vector<int>{108});
        *c.stock = c.low;
        c.drop(c.x, c.y);
        ASSERT_EQ(UpdateItemsAndGauges(), 1);
        EXPECT_EQ(*c.stock, c.filled);
        EXPECT_EQ(g_score, c.points);
    }
    EXPECT_EQ(g_bombItem.y, ITEM_PARKED_Y);
}

TEST_F(CombatScore, ItemsAreCollectedInvulnerableButNotWhileDown) {
    PutShipHitPixelAt(100, 150);
    g_ships[0].state = SHIP_STATE_DOWN;
    DropLifeItem(95, 140);
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(std::vector<int>({g_lifeItem.y, g_ships[0].lives}), std::vector<int>({141, 3}));
    g_ships[0].state = SHIP_STATE_INVULNERABLE;
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(std::vector<int>({g_lifeItem.y, g_ships[0].lives, g_scoreLevel, g_fieldClearColour}),
              std::vector<int>({ITEM_PARKED_Y, 4, 4, 255}));
    // An item nobody takes falls out and stays parked.
    DropBombItem(10, 238);
    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(g_bombItem.y, ITEM_PARKED_Y);
}

TEST_F(CombatScore, TwoExtendThresholdsAtOnceGiveOneLifePerFrameAndStartOverAfterTheReset) {
    g_score = 100000000;
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(std::vector<int>({g_ships[0].lives, g_extendCount}), std::vector<int>({4, 2}));
    EXPECT_EQ(TakeSounds(), std::vector<int>{112});
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(g_ships[0].lives, 5);
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(std::vector<int>({g_ships[0].lives, g_extendCount}), std::vector<int>({5, 3}));
    g_bombs = 120;
    ASSERT_EQ(UpdateItemsAndGauges(), 1);
    EXPECT_EQ(g_bombs, 99);  // the stock shows at most 99
    ResetGame();
    EXPECT_EQ(g_extendCount, 1);  // the extends start over
}

TEST_F(CombatScore, LostDisplayThatCannotBeReloadedAbandonsThePass) {
    PlaceEnemy(0, 50, 50, 5);
    ASSERT_EQ(std::rename("grB.dat", "grB.away"), 0);
    PlatMarkAllSurfacesLost();
    EXPECT_EQ(ResolveCollisions(), 0);
    g_chain = 1;
    g_chainTimer = 5;
    PlatMarkAllSurfacesLost();
    EXPECT_EQ(UpdateChain(), 0);
    ASSERT_EQ(std::rename("grB.away", "grB.dat"), 0);
    EXPECT_EQ(ResolveCollisions(), 1);
}

}  // namespace

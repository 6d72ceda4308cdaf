// The player's side: ship selection, the ship's movement and phases, shots, the bomb, the star
// field and aim jitter, the displays and the frame interval. Every test starts from ResetGame on
// a headless display. (A whole game recorded and watched back is replay_game_test's.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/trace.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/player.h"
#include "player/ship.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "test_support.h"
#include "video/display.h"

namespace {

constexpr int CONTROL_VKS[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_Z, VK_X};

void HoldKeys(std::initializer_list<int> keys) {
    for (int vk : CONTROL_VKS) PlatHeadlessSetKeyDown(vk, false);
    for (int vk : keys) PlatHeadlessSetKeyDown(vk, true);
}

// The player's steps of the in-game frame, in the frame's order, without the enemies, so that
// each test sees only what the ship side does.
void Frame() {
    UpdateAimJitter();
    ASSERT_EQ(UpdateStars(), 1);
    ASSERT_EQ(UpdateShipSelect(), 1);
    ASSERT_EQ(UpdatePlayerShips(), 1);
    if (g_playing) {
        g_idleSpeedBonus = 1;
        ASSERT_EQ(UpdatePlayerShots(), 1);
        ASSERT_EQ(UpdateBomb(), 1);
        ASSERT_EQ(UpdateUnitShotsA(), 1);
        ASSERT_EQ(UpdateUnitShotsB(), 1);
        g_fireArmed = 1;
    }
    if (g_replayFrame < MAX_REPLAY_FRAMES - 1) ++g_replayFrame;
    if (g_playing) {
        ASSERT_EQ(DrawLives(), 1);
        ASSERT_EQ(DrawScoreLevel(), 1);
        ASSERT_EQ(DrawScorePopup(), 1);
        ASSERT_EQ(DrawBulletCountAndTimer(), 1);
    }
    ASSERT_EQ(DrawScores(1), 1);
}

void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
}

int AliveShots(int firstSlot, int count) {
    int n = 0;
    for (int i = firstSlot; i < firstSlot + count; ++i) n += g_playerShots[i].alive;
    return n;
}

class PlayerSide : public ::testing::Test {
  protected:
    void SetUp() override { SetUpHeadlessGame(); }

    // A game with the ship chosen directly: the first frame of play neither moves nor fires.
    void StartWith(int ship) {
        StartGame();
        g_selectCursorX = ship == 0 ? SELECT_CURSOR_A : SELECT_CURSOR_B;
        ConfirmShip();
        g_shipChosen = 1;
        Frame();
        TakeSounds();
    }
};

// ---- ship selection

TEST_F(PlayerSide, PanelsSlideInAndTheCountdownConfirmsShipAByItself) {
    StartGame();
    Frames(19);
    EXPECT_EQ(g_shipSelectReady, 0);
    Frame();  // the 20th frame brings panel 0 to x 4 and makes the screen ready at once
    EXPECT_EQ(g_shipSelectReady, 1);
    // Ten counts of 30 frames, then -1 confirms the ship under the cursor without input.
    Frames(300);
    EXPECT_EQ(g_playing, 0);
    EXPECT_EQ(g_shipSelectCountdown, 0);
    TakeMusic();
    Frame();
    EXPECT_EQ(g_shipSelectCountdown, -1);
    EXPECT_EQ(g_playing, 1);
    EXPECT_EQ(g_shipSelectActive, 0);
    EXPECT_EQ(g_ships[0].active, 1);
    EXPECT_EQ(g_ships[1].active, 0);
    EXPECT_EQ(g_ships[1].state, SHIP_STATE_DOWN);
}

TEST_F(PlayerSide, CursorGlidesTwelveFramesAndConfirmsOnlyOnArrival) {
    StartGame();
    Frames(20);
    HoldKeys({VK_RIGHT});
    Frame();
    EXPECT_EQ(g_selectMove, 1);
    EXPECT_EQ(g_selectCursorX, 68);
    EXPECT_EQ(g_replayRecords[g_replayFrame - 1].right, 1);
    HoldKeys({});
    g_shipSelectCountdown = -1;  // time is up while the cursor is on its way
    for (int i = 0; i < 11; ++i) {
        Frame();
        EXPECT_EQ(g_playing, 0) << "frame " << i;
    }
    EXPECT_EQ(g_selectCursorX, 112);
    TakeSounds();
    Frame();
    EXPECT_EQ(g_playing, 1);
    EXPECT_EQ(g_ships[0].active, 0);
    EXPECT_EQ(g_ships[1].active, 1);
    EXPECT_EQ(CountOf(TakeSounds(), 103), 1);
}

TEST_F(PlayerSide, ShotAndDirectionOnAShipAreBothReadAndRecorded) {
    StartGame();
    Frames(20);
    HoldKeys({VK_Z, VK_RIGHT});
    const int record = g_replayFrame;
    Frame();
    EXPECT_EQ(g_playing, 1);
    EXPECT_EQ(g_selectMove, 1);
    EXPECT_EQ(g_replayRecords[record].shot, 1);
    EXPECT_EQ(g_replayRecords[record].right, 1);
    EXPECT_EQ(g_replayRecords[record].left, 0);
    EXPECT_EQ(g_ships[1].active, 0);  // ship A was under the cursor when the shot was read
}

// ---- the ship

TEST_F(PlayerSide, FirstFrameOfPlayIgnoresControlsAndFiringCostsOnePixel) {
    StartGame();
    g_selectCursorX = SELECT_CURSOR_A;
    ConfirmShip();
    HoldKeys({VK_RIGHT, VK_Z});
    Frame();
    EXPECT_EQ(g_ships[0].x, 64);
    EXPECT_EQ(AliveShots(0, PLAYER_SHOT_COUNT), 0);
    EXPECT_EQ(g_fireArmed, 1);

    HoldKeys({VK_RIGHT});
    int x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x - x, 4);  // idle: speed 3 + 1
    HoldKeys({VK_RIGHT, VK_Z});
    x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x - x, 4);  // the bonus is lost from the next frame on
    x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x - x, 3);
    HoldKeys({VK_RIGHT});
    x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x - x, 3);  // the previous frame still held the shot control
    x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x - x, 4);
    HoldKeys({VK_LEFT, VK_RIGHT});
    x = g_ships[0].x;
    Frame();
    EXPECT_EQ(g_ships[0].x, x);  // opposite directions cancel
}

TEST_F(PlayerSide, ShipStaysBelowTheScoreRowAndInsideTheField) {
    StartWith(0);
    HoldKeys({VK_UP, VK_RIGHT});
    Frames(80);
    EXPECT_EQ(g_ships[0].y, 20);
    EXPECT_EQ(g_ships[0].x, 176);
    HoldKeys({VK_DOWN, VK_LEFT});
    Frames(80);
    EXPECT_EQ(g_ships[0].y, 216);
    EXPECT_EQ(g_ships[0].x, 0);
}

TEST_F(PlayerSide, LastLifeGoneOpensTheContinuePhase) {
    StartWith(1);
    g_ships[1].state = SHIP_STATE_DOWN;
    g_ships[1].lives = 0;
    g_playerPhase = 1;
    g_respawnDelay = 2;
    Frames(2);
    EXPECT_EQ(g_playerPhase, 3);
    EXPECT_EQ(g_ships[1].state, SHIP_STATE_DOWN);
}

// ---- shots

TEST_F(PlayerSide, FreshPressFiresAtOnceAndHoldingFiresEveryThirdFrame) {
    StartWith(0);
    HoldKeys({VK_Z});
    Frame();
    EXPECT_EQ(AliveShots(0, 40), 4);
    EXPECT_EQ(CountOf(TakeSounds(), 104), 1);
    Frames(2);
    EXPECT_EQ(AliveShots(0, 10), 1);
    Frame();
    EXPECT_EQ(AliveShots(0, 10), 2);
    // Letting go for a frame re-arms: the next press fires at once.
    HoldKeys({});
    Frame();
    HoldKeys({VK_Z});
    Frame();
    EXPECT_EQ(AliveShots(0, 10), 3);
}

TEST_F(PlayerSide, FullGroupGetsNoShotAndNoSound) {
    StartWith(0);
    for (int i = 0; i < 10; ++i) g_playerShots[i] = PlayerShot{100, 100, 3, 24, 1};
    HoldKeys({VK_Z});
    Frame();
    EXPECT_EQ(AliveShots(0, 10), 10);
    EXPECT_EQ(AliveShots(10, 30), 3);
    EXPECT_EQ(CountOf(TakeSounds(), 104), 0);
}

// ---- bomb

TEST_F(PlayerSide, ShipABombRisesFiresFollowsAndLeaves) {
    StartWith(0);
    g_scoreLevel = 5;
    g_chain = 7;
    HoldKeys({VK_X});
    Frame();  // trigger and the first rise in the same frame
    EXPECT_EQ(g_bombs, 1);
    EXPECT_EQ(g_scoreLevel, 2);
    EXPECT_EQ(g_bombPhase, BOMB_PHASE_RISING);
    EXPECT_EQ(g_fieldClearColour, 251);
    EXPECT_EQ(g_ships[0].state, SHIP_STATE_INVULNERABLE);
    EXPECT_EQ(CountOf(TakeSounds(), 103), 1);
    HoldKeys({VK_Z});
    Frames(9);
    EXPECT_EQ(g_bombPhase, BOMB_PHASE_RISING);
    EXPECT_EQ(AliveShots(0, 40), 0);  // ship A holds its fire while its units rise
    Frame();                          // in place: the row fires at once
    EXPECT_EQ(g_bombPhase, BOMB_PHASE_FIRING);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(g_unitShotsA[k * 10].alive, 1) << k;
    EXPECT_EQ(AliveShots(0, 40), 0);
    HoldKeys({VK_LEFT, VK_X});
    const int bombRecord = g_replayFrame;
    Frame();
    EXPECT_EQ(g_bombUnitsA[2].x, g_ships[0].x + 4);  // the row follows the ship
    EXPECT_EQ(g_bombs, 1);                           // no second bomb while one is out
    EXPECT_EQ(g_replayRecords[bombRecord].bomb, 0);  // and the control was not read
    HoldKeys({VK_Z});
    // The ship became invulnerable in the trigger frame; 120 frames later it is back.
    Frames(108);
    EXPECT_EQ(g_ships[0].state, SHIP_STATE_INVULNERABLE);
    EXPECT_EQ(g_chain, 7);
    Frame();
    EXPECT_EQ(g_ships[0].state, SHIP_STATE_NORMAL);
    EXPECT_EQ(g_chain, 0);
    EXPECT_EQ(g_bombPhase, BOMB_PHASE_LEAVING);
    EXPECT_EQ(AliveShots(0, 40), 0);  // this frame's fire was read while the units still fired
    Frame();
    EXPECT_EQ(AliveShots(0, 40), 4);
}

TEST_F(PlayerSide, NoBombWithoutStockAndNothingRecorded) {
    StartWith(0);
    g_bombs = 0;
    HoldKeys({VK_X});
    const int record = g_replayFrame;
    Frame();
    EXPECT_EQ(g_bombPhase, BOMB_PHASE_NONE);
    EXPECT_EQ(g_ships[0].state, SHIP_STATE_NORMAL);
    EXPECT_EQ(g_replayRecords[record].bomb, 0);
}

// ---- displays

TEST_F(PlayerSide, BulletCountChoosesTheFrameInterval) {
    const struct {
        int high, count, interval;
    } cases[] = {{0, 119, 28}, {0, 120, 32}, {0, 139, 32}, {0, 140, 36}, {1, 259, 28},
                 {1, 260, 32}, {1, 299, 32}, {1, 300, 36}, {1, 140, 28}};
    for (const auto& c : cases) {
        g_bulletSlowdownHigh = c.high;
        g_enemyBulletCount = c.count;
        ASSERT_EQ(DrawBulletCountAndTimer(), 1);
        EXPECT_EQ(g_frameInterval, c.interval) << c.count << " bullets, high " << c.high;
    }
    g_enemyBulletCount = 0;
}

TEST_F(PlayerSide, ScoreIsCappedAndOnlyLiveGamesRaiseTheHighScore) {
    g_hiScore = 500;
    g_score = 1000000000;
    ASSERT_EQ(DrawScores(1), 1);
    EXPECT_EQ(g_score, MAX_SCORE);
    EXPECT_EQ(g_hiScore, MAX_SCORE);
    g_watchingReplay = 1;
    g_hiScore = 500;
    g_score = 900;
    ASSERT_EQ(DrawScores(1), 1);
    EXPECT_EQ(g_hiScore, 500);
    g_watchingReplay = 0;
    const int32_t saved = g_savedHiScore;
    g_savedHiScore = MAX_SCORE;
    ASSERT_EQ(DrawScores(0), 1);
    EXPECT_EQ(g_savedHiScore, MAX_SCORE);
    g_savedHiScore = saved;
}

TEST_F(PlayerSide, ScoreLevelDoublesItsValueAtSixteenAndIsClampedThere) {
    g_scoreLevel = 15;
    ASSERT_EQ(DrawScoreLevel(), 1);
    EXPECT_EQ(g_scorePerLevel, 120);
    g_scoreLevel = 18;
    ASSERT_EQ(DrawScoreLevel(), 1);
    EXPECT_EQ(g_scoreLevel, 16);
    EXPECT_EQ(g_scorePerLevel, 240);
}

}  // namespace

// The player's side: choosing ship B, the ship's movement, shots, the displays and the frame
// interval. Every test starts from ResetGame on a headless display. Ship A chosen by the countdown,
// the field's edges, its bombs and its phases through a whole game are the goldens'; a whole game
// recorded and watched back is replay_game_test's.
#include <gtest/gtest.h>

#include <vector>

#include "app/game.h"
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

void HoldKeys(const std::vector<int>& keys) {
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

    // A game with ship A chosen directly: the first frame of play neither moves nor fires.
    void StartWithShipA() {
        StartGame();
        g_selectCursorX = SELECT_CURSOR_A;
        ConfirmShip();
        g_shipChosen = 1;
        Frame();
        TakeSounds();
    }
};

// ---- ship selection

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
    EXPECT_EQ(std::vector<int>({g_playing, g_ships[0].active, g_ships[1].active}), std::vector<int>({1, 0, 1}));
    EXPECT_EQ(CountOf(TakeSounds(), 103), 1);
}

TEST_F(PlayerSide, ShotAndDirectionOnAShipAreBothReadAndRecorded) {
    StartGame();
    Frames(20);
    HoldKeys({VK_Z, VK_RIGHT});
    const int record = g_replayFrame;
    Frame();
    EXPECT_EQ(std::vector<int>({g_playing, g_selectMove, g_replayRecords[record].shot, g_replayRecords[record].right,
                                g_replayRecords[record].left}),
              std::vector<int>({1, 1, 1, 1, 0}));
    EXPECT_EQ(g_ships[1].active, 0);  // ship A was under the cursor when the shot was read
}

// ---- the ship

// The first frame of play neither moves nor fires; after it a ship not firing moves one pixel
// faster, and loses that a frame after the shot control is pressed and regains it a frame after
// it is let go.
TEST_F(PlayerSide, FirstFrameOfPlayIgnoresControlsAndFiringCostsOnePixel) {
    StartGame();
    g_selectCursorX = SELECT_CURSOR_A;
    ConfirmShip();
    HoldKeys({VK_RIGHT, VK_Z});
    Frame();
    EXPECT_EQ(std::vector<int>({g_ships[0].x, AliveShots(0, PLAYER_SHOT_COUNT), g_fireArmed}), std::vector<int>({64, 0, 1}));
    const struct {
        std::vector<int> keys;
        int step;
    } frames[] = {{{VK_RIGHT}, 4}, {{VK_RIGHT, VK_Z}, 4}, {{VK_RIGHT, VK_Z}, 3},
                  {{VK_RIGHT}, 3}, {{VK_RIGHT}, 4},       {{VK_LEFT, VK_RIGHT}, 0}};
    for (const auto& f : frames) {
        HoldKeys(f.keys);
        const int x = g_ships[0].x;
        Frame();
        EXPECT_EQ(g_ships[0].x - x, f.step) << "frame " << &f - frames;
    }
}

// ---- shots

TEST_F(PlayerSide, FreshPressFiresAtOnceAndHoldingFiresEveryThirdFrame) {
    StartWithShipA();
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
    StartWithShipA();
    for (int i = 0; i < 10; ++i) g_playerShots[i] = PlayerShot{100, 100, 3, 24, 1};
    HoldKeys({VK_Z});
    Frame();
    EXPECT_EQ(AliveShots(0, 10), 10);
    EXPECT_EQ(AliveShots(10, 30), 3);
    EXPECT_EQ(CountOf(TakeSounds(), 104), 0);
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

// (A watched replay never raising the high score is replay_game_test's.)
TEST_F(PlayerSide, ScoreIsCappedAndTheHighScoreWithIt) {
    g_hiScore = 500;
    g_score = 1000000000;
    ASSERT_EQ(DrawScores(1), 1);
    EXPECT_EQ(g_score, MAX_SCORE);
    EXPECT_EQ(g_hiScore, MAX_SCORE);
}

TEST_F(PlayerSide, ScoreLevelDoublesItsValueAtSixteenAndIsClampedThere) {
    g_scoreLevel = 15;
    ASSERT_EQ(DrawScoreLevel(), 1);
    EXPECT_EQ(g_scorePerLevel, 120);
    g_scoreLevel = 18;
    ASSERT_EQ(DrawScoreLevel(), 1);
    EXPECT_EQ(std::vector<int>({g_scoreLevel, g_scorePerLevel}), std::vector<int>({16, 240}));
}

}  // namespace

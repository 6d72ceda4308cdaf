// The boss blast restarted; the continue screen, and the ending's high-score commit. The
// countdowns' timing, a beaten score saved as the lives run out and a watched replay running out
// of lives are replay_game_test's; the commit rules are records_test's; the explosions' ring is
// the goldens'.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/combat.h"
#include "player/player.h"
#include "stage/stage.h"
#include "test_support.h"
#include "video/display.h"

namespace {

class CombatScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        RemoveRecordFiles();
        StartGame();
        g_shipSelectActive = 0;
        g_playing = 1;
        g_ships[0].active = 1;
        g_ships[1].active = 0;
        TakeSounds();
    }
    void TearDown() override {
        for (int vk = 0; vk < 256; ++vk) PlatHeadlessSetKeyDown(vk, false);
        RemoveRecordFiles();
    }
    // The last life is gone, as the ship update finds it when the respawn delay ends.
    static void LoseLastLife() {
        g_ships[0].lives = 0;
        g_ships[0].state = SHIP_STATE_DOWN;
        g_playerPhase = PLAYER_PHASE_OUT;
        StartContinueScreen();
    }
};

TEST_F(CombatScreens, BlastStartedDuringAnotherRestartsAtTheNewPoint) {
    StartBossBlast(100, 80);
    for (int i = 0; i < 20; ++i) UpdateBossBlast(g_bossBlastX, g_bossBlastY);
    StartBossBlast(30, 40);
    EXPECT_EQ(g_bossBlastTick, 0);
    int frames = 0;
    while (g_bossBlastActive == 1 && frames < 100) {
        UpdateBossBlast(g_bossBlastX, g_bossBlastY);
        ++frames;
    }
    EXPECT_EQ(frames, 53);
}

TEST_F(CombatScreens, BombKeyContinuesButShotKeyDoesNotAndNeitherIsRecorded) {
    g_score = 5000;
    g_ships[0].x = 10;
    LoseLastLife();
    for (int i = 0; i < 30; ++i) ASSERT_EQ(UpdateContinueScreen(), 1);
    PlatHeadlessSetKeyDown(VK_Z, true);
    for (int i = 0; i < 40; ++i) ASSERT_EQ(UpdateContinueScreen(), 1);
    EXPECT_EQ(g_continueActive, 1);
    PlatHeadlessSetKeyDown(VK_Z, false);
    PlatHeadlessSetKeyDown(VK_RETURN, true);
    ASSERT_EQ(UpdateContinueScreen(), 1);
    EXPECT_EQ(std::vector<int>({g_continueActive, g_continued, g_score, g_ships[0].lives, g_ships[0].state, g_ships[0].x,
                                g_playerPhase, g_respawnDelay, g_gameOverPanels[0].state}),
              std::vector<int>({0, 1, 0, 3, SHIP_STATE_DOWN, 64, PLAYER_PHASE_RESPAWN, 10, 0}));
    EXPECT_EQ(g_replayRecords[g_replayFrame].bomb + g_replayRecords[g_replayFrame].shot, 0);
}

// The ending commits the high score of a live game and returns to the splash picture; after a
// continue it saves nothing.
TEST_F(CombatScreens, EndingCommitsTheHighScoreUnlessTheGameWasContinued) {
    for (const int continued : {0, 1}) {
        SetUp();
        g_continued = continued;
        g_endingActive = 1;
        g_hiScore = 2000000;
        for (int i = 0; i < 3000 && g_screenState == SCREEN_GAME; ++i) ASSERT_EQ(UpdateEnding(), 1);
        EXPECT_EQ(std::vector<int>({g_screenState, g_endingActive}), std::vector<int>({SCREEN_SPLASH, 0}));
        EXPECT_EQ(ReadWholeFile("score.dat"), continued ? "" : Le32(2000000));
        RemoveRecordFiles();
    }
}

}  // namespace

// The explosion ring and the boss blast restarted; the continue screen, game over, the ending and the
// high-score commits at the ends of a game; the captions and story lines.
#include <gtest/gtest.h>

#include <algorithm>
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
    static int32_t StoredScore() {
        const std::string bytes = ReadWholeFile("score.dat");
        if (bytes.size() != 4) return -1;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[i]);
        return static_cast<int32_t>(v);
    }
};

TEST_F(CombatScreens, FortyFirstSpawnReusesTheFirstSlot) {
    for (int i = 0; i < 41; ++i) SpawnExplosion(i, 0, 0, 0, BLAST_SOUND_NONE);
    EXPECT_EQ(g_explosions[0].x, 40);
    EXPECT_EQ(g_explosions[1].x, 1);
    EXPECT_EQ(g_explosionNext, 1);
    for (int i = 0; i < 41; ++i) SpawnDebris(i, 0, 0, 0);
    EXPECT_EQ(g_debris[0].x, 40);
    EXPECT_EQ(g_debrisNext, 1);
    // An animation half played restarts from its first cell when overwritten.
    g_explosions[1].frameX = 120;
    g_explosions[1].tick = 2;
    for (int i = 0; i < 40; ++i) SpawnExplosion(7, 7, 0, 0, BLAST_SOUND_NONE);
    EXPECT_EQ(g_explosions[1].frameX, 0);
    EXPECT_EQ(g_explosions[1].tick, 0);
}

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

// 30 frames of sliding; the count shows 5 for the 30 frames after the panels arrive, then 4 ...
// 0; the game ends on the frame the count would go below 0.
TEST_F(CombatScreens, ContinueCountdownTiming) {
    LoseLastLife();
    EXPECT_EQ(g_continueActive, 1);
    EXPECT_EQ(g_continueCount, 5);
    for (int frame = 1; frame <= 30; ++frame) ASSERT_EQ(UpdateContinueScreen(), 1);
    EXPECT_EQ(g_continuePanelsIn, 1);
    std::vector<int> counts;
    int frames = 0;
    while (g_continueActive == 1 && frames < 1000) {
        ASSERT_EQ(UpdateContinueScreen(), 1);
        counts.push_back(g_continueCount);
        ++frames;
    }
    EXPECT_EQ(frames, 6 * 30 + 1);
    EXPECT_EQ(counts[0], 5);
    EXPECT_EQ(counts[29], 5);
    EXPECT_EQ(counts[30], 4);
    EXPECT_EQ(counts[179], 0);
    EXPECT_EQ(counts[180], -1);
    EXPECT_EQ(g_gameOverPanels[0].state, 1);
    EXPECT_EQ(g_gameOverPanels[1].state, 1);
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
    EXPECT_EQ(g_continueActive, 0);
    EXPECT_EQ(g_continued, 1);
    EXPECT_EQ(g_score, 0);
    EXPECT_EQ(g_ships[0].lives, 3);
    EXPECT_EQ(g_ships[0].state, SHIP_STATE_DOWN);
    EXPECT_EQ(g_ships[0].x, 64);
    EXPECT_EQ(g_playerPhase, PLAYER_PHASE_RESPAWN);
    EXPECT_EQ(g_respawnDelay, 10);
    EXPECT_EQ(g_gameOverPanels[0].state, 0);
    EXPECT_EQ(g_replayRecords[g_replayFrame].bomb, 0);
    EXPECT_EQ(g_replayRecords[g_replayFrame].shot, 0);
}

// Panels slide 20 frames; the hold grows by two a frame from the arrival and reaches 120 on
// the 79th frame, which goes back to the splash picture.
TEST_F(CombatScreens, GameOverPanelsSlideHoldAndReturnToTheSplash) {
    g_gameOverPanels[0].state = 1;
    g_gameOverPanels[1].state = 1;
    for (int frame = 1; frame <= 78; ++frame) ASSERT_EQ(UpdateGameOver(), 1);
    EXPECT_EQ(g_screenState, SCREEN_GAME);
    EXPECT_EQ(g_gameOverHold, 118);
    ASSERT_EQ(UpdateGameOver(), 1);
    EXPECT_EQ(g_screenState, SCREEN_SPLASH);
    EXPECT_EQ(g_playing, 0);
    EXPECT_EQ(g_gameOverPanels[0].state, 0);
    EXPECT_EQ(g_gameOverPanels[0].x, -100);
}

TEST_F(CombatScreens, WatchedReplayOutOfLivesGoesStraightToGameOver) {
    g_watchingReplay = 1;
    g_hiScore = 500000;
    LoseLastLife();
    EXPECT_EQ(g_continueActive, 0);
    EXPECT_EQ(g_gameOverPanels[0].state, 1);
    EXPECT_EQ(g_gameOverPanels[1].state, 1);
    EXPECT_EQ(ReadWholeFile("score.dat"), "");
    EXPECT_EQ(ReadWholeFile("replay.rep"), "");
}

TEST_F(CombatScreens, BeatenScoreIsSavedWhenTheLivesRunOutAndNothingAfterAContinue) {
    g_score = 150000;
    g_hiScore = 150000;
    g_replayFrame = 3;
    g_replayRecords[1].shot = 1;
    LoseLastLife();
    EXPECT_EQ(StoredScore(), 150000);
    EXPECT_EQ(g_savedHiScore, 150000);
    EXPECT_EQ(ReadWholeFile("replay.rep").size(), 4u + 3 * 7);
    // Continue, then a better game that also runs out: nothing more is written.
    for (int i = 0; i < 31; ++i) EXPECT_TRUE(UpdateContinueScreen());
    ContinueGame();
    RemoveRecordFiles();
    g_hiScore = 900000;
    LoseLastLife();
    EXPECT_EQ(ReadWholeFile("score.dat"), "");
    EXPECT_EQ(g_savedHiScore, 150000);
}

TEST_F(CombatScreens, ScoreEqualToTheStoredOneIsNotSaved) {
    g_hiScore = g_savedHiScore;
    LoseLastLife();
    EXPECT_EQ(ReadWholeFile("score.dat"), "");
    EXPECT_EQ(ReadWholeFile("replay.rep"), "");
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
        EXPECT_EQ(g_screenState, SCREEN_SPLASH);
        EXPECT_EQ(g_endingActive, 0);
        EXPECT_EQ(StoredScore(), continued ? -1 : 2000000);
        RemoveRecordFiles();
    }
}

TEST_F(CombatScreens, StoryDrawsTheRevealedLinesOnly) {
    ClearField(7);
    g_storyActive = 1;
    g_storyLines = 1;
    ASSERT_EQ(DrawStoryText(), 1);
    bool lineOne = false;
    bool lineTwo = false;
    for (int x = 0; x < FIELD_WIDTH; ++x) {
        for (int y = 75; y < 90; ++y) lineOne = lineOne || FieldPixel(x, y) != 7;
        for (int y = 90; y < 105; ++y) lineTwo = lineTwo || FieldPixel(x, y) != 7;
    }
    EXPECT_TRUE(lineOne);
    EXPECT_FALSE(lineTwo);
}

}  // namespace

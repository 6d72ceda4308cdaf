// Stage: the pools' start values, the spawners (whole-wave restarts, records left to the previous
// wave, the bosses' start values) and the timeline (holds, jumps, the spinner loop, the round
// change and the whole course of both rounds).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

// The music pieces opened since the last call, as their file names.
std::vector<std::string> TakeOpenedPieces() {
    std::vector<std::string> opened;
    for (const std::string& c : TakeMusic()) {
        if (c.rfind("open ", 0) == 0) opened.push_back(c.substr(5, 9));
    }
    return opened;
}

// Runs the timeline until the counter reads `frame` (the event of `frame` not yet performed).
void RunTimelineTo(int frame) {
    for (int guard = 0; g_stageFrame != frame && guard < 20000; ++guard) UpdateStageTimeline();
    ASSERT_EQ(g_stageFrame, frame);
}

class SpawnersTimelineTest : public StageFixture {
  protected:
    void SetUp() override { StartGameInRound(1); }
};

// ---- pools and spawners

TEST_F(SpawnersTimelineTest, ResetPutsEveryRecordAtRestBelowTheField) {
    g_enemies[5].alive = 1;
    g_enemies[5].work5 = 9;
    g_largeEnemies[3].work7 = 77;  // field 15: not cleared by the reset
    g_largeEnemies[3].work6 = 66;  // field 14: cleared
    g_bossOne.alive = 1;
    g_bossOne.twinSpiralAngle1 = 2.5f;  // field 31: cleared
    g_bossOne.twinSpiralAngle2 = 2.5f;  // field 32: kept
    ResetGame();
    EXPECT_EQ(g_enemies[5].y, 240);
    EXPECT_EQ(g_enemies[5].width, 24);
    EXPECT_EQ(g_enemies[5].alive, 0);
    EXPECT_EQ(g_enemies[5].work5, 0);
    EXPECT_EQ(g_largeEnemies[3].height, 48);
    EXPECT_EQ(g_largeEnemies[3].work6, 0);
    EXPECT_EQ(g_largeEnemies[3].work7, 77);
    EXPECT_EQ(g_bossOne.alive, 0);
    EXPECT_EQ(g_bossOne.width, 128);
    EXPECT_EQ(g_bossOne.twinSpiralAngle1, 0.0f);
    EXPECT_EQ(g_bossOne.twinSpiralAngle2, 2.5f);
    EXPECT_EQ(g_bossFinal.y, 240);
    EXPECT_EQ(g_bossFinal.height, 128);
}

TEST_F(SpawnersTimelineTest, SpawnerCalledWhileItsPoolIsBusyRestartsTheWholeWave) {
    SpawnSwayersLeft1();
    for (int i = 10; i < 15; ++i) {
        g_enemies[i].x = 3 * i;
        g_enemies[i].y = 100;
        g_enemies[i].hitPoints = 1;
        g_enemies[i].phase = 2;
        g_enemies[i].entryCounter = 40;
        g_enemies[i].work1 = 5;
        g_enemies[i].work5 = 5;
    }
    g_enemies[12].alive = 0;  // killed meanwhile
    SpawnSwayersLeft1();
    for (int i = 10; i < 15; ++i) {
        EXPECT_EQ(g_enemies[i].x, 160);
        EXPECT_EQ(g_enemies[i].y, -24);
        EXPECT_EQ(g_enemies[i].alive, 1);
        EXPECT_EQ(g_enemies[i].hitPoints, 3);
        EXPECT_EQ(g_enemies[i].phase, 0);
        EXPECT_EQ(g_enemies[i].entryCounter, 0);
        EXPECT_EQ(g_enemies[i].work1, -24);
        EXPECT_EQ(g_enemies[i].work5, 0);
    }
    // Neighbouring pools are untouched.
    EXPECT_EQ(g_enemies[9].alive, 0);
    EXPECT_EQ(g_enemies[15].alive, 0);
}

TEST_F(SpawnersTimelineTest, DroppersLeaveWork5ToThePreviousWaveAndTheSpareHovererPoolsStayEmpty) {
    g_enemies[0].work5 = 11;
    g_enemies[0].work4 = 11;
    SpawnDroppersLeft();
    EXPECT_EQ(g_enemies[0].work5, 11);
    EXPECT_EQ(g_enemies[0].work4, 0);
    SpawnHoverersLeftA();
    SpawnHoverersRightA();
    for (int i = 96; i <= 101; ++i) EXPECT_EQ(g_enemies[i].alive, 0);
}

TEST_F(SpawnersTimelineTest, BossSpawnersClearEverythingButTheHitBox) {
    g_midBoss.ringTurn = 5.0f;
    g_midBoss.fanTimer = 5;
    SpawnMidBoss(2);
    EXPECT_EQ(g_midBoss.variant, 2);
    EXPECT_EQ(g_midBoss.glideSpeed, 18);
    EXPECT_EQ(g_midBoss.width, 96);
    EXPECT_EQ(g_midBoss.ringTurn, 0.0f);
    EXPECT_EQ(g_midBoss.fanTimer, 0);
    EXPECT_EQ(TakeSounds(), std::vector<int>{static_cast<int>(SoundEffect::MidBossArrival)});
    // An unknown variant is stored and nothing else happens.
    g_midBoss.alive = 0;
    SpawnMidBoss(4);
    EXPECT_EQ(g_midBoss.variant, 4);
    EXPECT_EQ(g_midBoss.alive, 0);
    EXPECT_TRUE(TakeSounds().empty());

    g_bossThree.burstTurn = 7.0f;
    g_bossThree.partFrame = 7;
    SpawnBossThree();
    EXPECT_EQ(g_bossThree.burstTurn, 0.0f);
    EXPECT_EQ(g_bossThree.partFrame, 0);
    EXPECT_EQ(g_bossThree.width, 40);
    ASSERT_EQ(g_largeBulletAltSprite, 0);
    SpawnBossFinal();
    EXPECT_EQ(g_largeBulletAltSprite, 1);
}

// ---- timeline

// A boss holds the timeline for as long as it lives.
TEST_F(SpawnersTimelineTest, BossHoldsTheTimelineWhileItLives) {
    RunTimelineTo(1702);
    ASSERT_EQ(g_bossOne.alive, 1);
    for (int i = 0; i < 500; ++i) UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 1702);
    g_bossOne.alive = 0;  // killed, or its time ran out
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 1703);
}

TEST_F(SpawnersTimelineTest, JumpsSkipAheadOnlyOnceTheBossesAreGone) {
    g_stageFrame = 3872;
    g_bossTwo.alive = 1;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 3872);
    g_bossTwo.alive = 0;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 4001);
    RunTimelineTo(4200);
    EXPECT_EQ(g_messageVisible, 0);
    UpdateStageTimeline();
    EXPECT_EQ(g_messageRowY, 40);  // stage 3 comes at 4200, not earlier
    EXPECT_EQ(g_aimJitterWide, 1);

    g_stageFrame = 6042;
    g_midBoss.alive = 0;
    g_midBossEscort.alive = 1;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 6042);
    g_midBossEscort.alive = 0;
    g_midBoss.alive = 1;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 6042);
    g_midBoss.alive = 0;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 6061);
}

TEST_F(SpawnersTimelineTest, SpinnerWavesRepeatWhileTheMidBossLives) {
    g_stageFrame = 7650;
    UpdateStageTimeline();
    ASSERT_EQ(g_midBoss.alive, 1);
    EXPECT_EQ(g_midBoss.variant, 3);
    EXPECT_EQ(g_dropItemB, 1);
    RunTimelineTo(7900);
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 7700);
    g_enemies[185].alive = 0;
    UpdateStageTimeline();  // frame 7700 again: the left spinners B come back
    EXPECT_EQ(g_enemies[185].alive, 1);
    RunTimelineTo(7900);
    g_midBoss.alive = 0;
    UpdateStageTimeline();
    EXPECT_EQ(g_stageFrame, 7901);
}

// Both rounds with every boss beaten the moment it appears: the course of the music, the
// captions and the number of frames played.
TEST_F(SpawnersTimelineTest, BothRoundsRunThroughWhenEveryBossFallsAtOnce) {
    std::vector<std::string> music;
    std::vector<int> captions;
    int calls = 0;
    int lastRowY = -1;
    while (!(g_round == 2 && g_endingActive == 1)) {
        UpdateStageTimeline();
        ++calls;
        ASSERT_LT(calls, 30000);
        for (int32_t* alive : {&g_midBoss.alive, &g_midBossEscort.alive, &g_midBossTwo.alive, &g_bossOne.alive, &g_bossTwo.alive,
                               &g_bossThree.alive, &g_bossFour.alive, &g_bossFinal.alive}) {
            *alive = 0;
        }
        for (const std::string& m : TakeOpenedPieces()) music.push_back(m);
        if (g_messageVisible == 1 && g_messageRowY != lastRowY) {
            captions.push_back(g_messageRowY);
            lastRowY = g_messageRowY;
        }
    }
    const std::vector<std::string> expectedMusic = {"bgm04.mid", "bgm02.mid", "bgm04.mid", "bgm01.mid", "bgm04.mid",
                                                    "bgm02.mid", "bgm04.mid", "bgm05.mid",
                                                    "bgm01.mid",  // round 2
                                                    "bgm04.mid", "bgm02.mid", "bgm04.mid", "bgm01.mid", "bgm04.mid",
                                                    "bgm02.mid", "bgm04.mid", "bgm05.mid", "bgm04.mid", "bgm06.mid"};
    EXPECT_EQ(music, expectedMusic);
    EXPECT_EQ(captions, (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160}));
    // A round is frames 0 to 9600 less the 128 + 18 frames jumped over; round 2 goes on to 9900.
    EXPECT_EQ(calls, (9601 - 146) + (9901 - 146));
    EXPECT_EQ(g_stageFrame, 9901);
}

}  // namespace

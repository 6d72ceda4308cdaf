// Controls, the replay file and the high-score file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/player.h"
#include "test_support.h"

namespace {

class RecordsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        RemoveRecordFiles();
        std::memset(g_replayRecords, 0, sizeof g_replayRecords);
    }
    void TearDown() override { RemoveRecordFiles(); }
};

TEST_F(RecordsTest, JoystickAxisThresholds) {
    const uint8_t buttons[32] = {0, 3};
    JoystickState s;
    const auto read = [&](int32_t x, int32_t y) {
        JoystickStateFromRaw(x, y, buttons, &s);
        return std::vector<int>({s.left, s.right, s.up, s.down});
    };
    EXPECT_EQ(read(14000, 50000), std::vector<int>({1, 0, 0, 1}));
    EXPECT_EQ(std::vector<int>({s.buttons[0], s.buttons[1]}), std::vector<int>({0, 1}));  // any nonzero report is held
    EXPECT_EQ(read(14001, 49999), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(read(50000, 14000), std::vector<int>({0, 1, 1, 0}));
}

TEST_F(RecordsTest, LiveControlsRecordAndReplayReadsOnlyBytesOfOne) {
    g_replayFrame = 5;
    PlatHeadlessSetKeyDown(VK_NUMPAD4, true);
    PlatHeadlessSetKeyDown(VK_LEFT, false);
    EXPECT_TRUE(IsControlPressed(CONTROL_LEFT) && !IsControlPressed(CONTROL_RIGHT));
    EXPECT_EQ(std::vector<int>({g_replayRecords[5].left, g_replayRecords[5].right}), std::vector<int>({1, 0}));
    // Watching: the keys no longer count, and only a byte equal to 1 is a press.
    g_watchingReplay = 1;
    g_replayRecords[5].right = 2;
    EXPECT_TRUE(IsControlPressed(CONTROL_LEFT) && !IsControlPressed(CONTROL_RIGHT));
    PlatHeadlessSetKeyDown(VK_NUMPAD4, false);
    g_replayRecords[5].left = 0;
    PlatHeadlessSetKeyDown(VK_LEFT, true);
    EXPECT_FALSE(IsControlPressed(CONTROL_LEFT));
    PlatHeadlessSetKeyDown(VK_LEFT, false);
    g_watchingReplay = 0;
}

TEST_F(RecordsTest, ReplayFileCases) {
    // No file, a magic number wrong in its first or last byte, or cut short: nothing usable.
    EXPECT_FALSE(LoadReplay());
    for (const std::string& bad : {Le32(REPLAY_MAGIC + 1), Le32(REPLAY_MAGIC ^ 0x80000000u), std::string("\xF2\x9E\x8E", 3)}) {
        WriteWholeFile("replay.rep", bad);
        EXPECT_FALSE(LoadReplay());
    }
    // The magic alone is a replay in which nothing is ever pressed.
    WriteWholeFile("replay.rep", Le32(REPLAY_MAGIC));
    EXPECT_TRUE(LoadReplay());
    // A trailing partial record fills the first bytes of one more record.
    WriteWholeFile("replay.rep", Le32(REPLAY_MAGIC) + std::string("\1\0\1\0\1\0\x20\1\1", 9));
    EXPECT_TRUE(LoadReplay());
    EXPECT_EQ(g_replayRecords[0].fps, 0x20);
    EXPECT_EQ(std::vector<int>({g_replayRecords[1].up, g_replayRecords[1].down, g_replayRecords[1].left}),
              std::vector<int>({1, 1, 0}));
    // More than the whole array: exactly 108000 records are read, the rest ignored.
    std::string big = Le32(REPLAY_MAGIC) + std::string(7 * MAX_REPLAY_FRAMES, '\0') + std::string(70, '\1');
    big[4 + 7 * (MAX_REPLAY_FRAMES - 1)] = 1;
    WriteWholeFile("replay.rep", big);
    EXPECT_TRUE(LoadReplay());
    EXPECT_EQ(g_replayRecords[MAX_REPLAY_FRAMES - 1].up - g_replayRecords[0].up, 1);
}

TEST_F(RecordsTest, HighScoreFileAndCommitRules) {
    ReadHighScoreFile();
    EXPECT_EQ(g_savedHiScore, DEFAULT_HIGH_SCORE);
    WriteWholeFile("score.dat", Le32(123456789));
    LoadHighScore();
    EXPECT_EQ(std::vector<int32_t>({g_savedHiScore, g_hiScore}), std::vector<int32_t>({123456789, 123456789}));
    // A short file replaces only the low bytes of the default it could read.
    WriteWholeFile("score.dat", std::string("\x34\x12", 2));
    ReadHighScoreFile();
    EXPECT_EQ(g_savedHiScore, (DEFAULT_HIGH_SCORE & ~0xFFFF) | 0x1234);
    RemoveRecordFiles();
    ReadHighScoreFile();

    // Equal to the stored score: nothing written.
    g_hiScore = DEFAULT_HIGH_SCORE;
    CommitHighScore();
    EXPECT_EQ(ReadWholeFile("score.dat"), "");
    // After a continue: nothing written, however high.
    g_hiScore = DEFAULT_HIGH_SCORE + 10;
    g_continued = 1;
    CommitHighScore();
    EXPECT_EQ(ReadWholeFile("score.dat"), "");
    // Watching a replay: nothing written.
    g_continued = 0;
    g_watchingReplay = 1;
    CommitHighScore();
    EXPECT_EQ(ReadWholeFile("replay.rep"), "");
    g_watchingReplay = 0;
    // A live game that beat it: the replay and then the score.
    g_replayFrame = 3;
    CommitHighScore();
    EXPECT_EQ(ReadWholeFile("score.dat"), Le32(DEFAULT_HIGH_SCORE + 10));
    EXPECT_EQ(ReadWholeFile("replay.rep").size(), 4u + 21u);
    EXPECT_EQ(g_savedHiScore, DEFAULT_HIGH_SCORE + 10);
}

}  // namespace

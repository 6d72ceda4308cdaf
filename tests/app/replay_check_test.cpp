// Watching the replay to its end (the replay check and the timedemo), and a screenshot taken while
// the game is paused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

class ReplayCheck : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = MakeRunFolder(); }
    void TearDown() override { fs::remove_all(dir_); }
    int Run(const std::string& args) { return RunHeadlessIn(dir_, args); }
    std::string Out() { return ReadWholeFile(dir_ + "/out.txt"); }
    // The number after `key` in the last output.
    long After(const std::string& key) {
        const std::string out = Out();
        const size_t at = out.find(key);
        return at == std::string::npos ? -1 : std::strtol(out.c_str() + at + key.size(), nullptr, 10);
    }
    std::string dir_;
};

// A live game's replay verifies and the timedemo plays the same game, neither touching the
// records; changed or cut short, it fails with the difference.
TEST_F(ReplayCheck, ARecordedReplayVerifiesAndAChangedOrShortenedOneFails) {
    WriteWholeFile(dir_ + "/game.keys", "1 z\n");
    ASSERT_EQ(Run("--keys game.keys --ticks 2500"), 0);
    const std::string s = ReadWholeFile(dir_ + "/score.dat"), replay = ReadWholeFile(dir_ + "/replay.rep");
    ASSERT_EQ(s.size(), 4u);
    const long stored = static_cast<uint8_t>(s[0]) | static_cast<uint8_t>(s[1]) << 8 | static_cast<uint8_t>(s[2]) << 16 |
                        static_cast<long>(static_cast<uint8_t>(s[3])) << 24;
    ASSERT_EQ(Run("--verify-replay"), 0) << Out();
    EXPECT_NE(Out().find("verified"), std::string::npos) << Out();
    EXPECT_EQ(After("replay.rep: score "), stored);
    const long frames = After("after ");
    EXPECT_EQ(frames, static_cast<long>((replay.size() - 4) / 7));
    ASSERT_EQ(Run("--timedemo"), 0);
    EXPECT_EQ(After("timedemo: score "), stored) << Out();
    EXPECT_EQ(After("after "), frames);
    EXPECT_GT(After("frames per second"), -1);
    EXPECT_EQ(Out().find("stopped before"), std::string::npos) << Out();
    EXPECT_EQ(ReadWholeFile(dir_ + "/replay.rep"), replay);

    // The shot released for a stretch of the game: fewer kills, a lower score.
    std::string changed = replay;
    for (size_t record = 300; record < 1300 && 4 + 7 * record + 4 < changed.size(); ++record) changed[4 + 7 * record + 4] = 0;
    WriteWholeFile(dir_ + "/replay.rep", changed);
    EXPECT_EQ(Run("--verify-replay"), 3) << Out();
    const long score = After("replay.rep: score ");
    EXPECT_LT(score, stored);
    EXPECT_EQ(After("differs: the replay scores "), stored - score) << Out();
    EXPECT_NE(Out().find("less"), std::string::npos);

    // The same game, its last records cut off: it still ends as before, but not where the file does.
    WriteWholeFile(dir_ + "/replay.rep", replay.substr(0, replay.size() - 7 * 3));
    EXPECT_EQ(Run("--verify-replay"), 3) << Out();
    EXPECT_NE(Out().find("holds"), std::string::npos) << Out();

    // Without score.dat the stored score is the default one.
    WriteWholeFile(dir_ + "/replay.rep", replay);
    fs::remove(dir_ + "/score.dat");
    EXPECT_EQ(Run("--verify-replay"), 3) << Out();
    EXPECT_NE(Out().find("no file"), std::string::npos) << Out();

    // Without a replay nothing can be checked.
    fs::remove(dir_ + "/replay.rep");
    EXPECT_EQ(Run("--verify-replay"), 1);
}

TEST_F(ReplayCheck, AScreenshotWhilePausedShowsTheLastFramePresented) {
    // Ship A in play by tick 200; P at tick 200 draws the pause label into that frame and stops
    // the ticks after it (the stars, never still in play, show that the frames stood still).
    WriteWholeFile(dir_ + "/pause.keys", "1 z\n90 -\n120 z\n130 -\n200 p\n201 -\n");
    ASSERT_EQ(Run("--keys pause.keys --ticks 240 --shot 199:a.png --shot 200:b.png --shot 230:c.png"), 0);
    EXPECT_NE(ReadWholeFile(dir_ + "/a.png"), ReadWholeFile(dir_ + "/b.png"));
    EXPECT_EQ(ReadWholeFile(dir_ + "/b.png"), ReadWholeFile(dir_ + "/c.png"));
    // A run whose only screenshot falls in the pause shows the same frame.
    ASSERT_EQ(Run("--keys pause.keys --ticks 240 --shot 230:d.png"), 0);
    EXPECT_EQ(ReadWholeFile(dir_ + "/d.png"), ReadWholeFile(dir_ + "/b.png"));
}

}  // namespace

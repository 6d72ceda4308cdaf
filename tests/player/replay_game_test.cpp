// A whole game end to end in the headless runner: a scripted live game that beats the default
// high score and loses every life writes score.dat and replay.rep as the continue screen opens,
// and watching that replay reproduces the game frame by frame until the lives run out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

class CombatGame : public ::testing::Test {
  protected:
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::vector<std::string> Lines(const std::string& name) {
        std::istringstream in(ReadWholeFile(dir_ + "/" + name));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static long Field(const std::string& line, const std::string& key) {
        const size_t at = line.find("\"" + key + "\":");
        if (at == std::string::npos) return -999999;
        return std::strtol(line.c_str() + at + key.size() + 3, nullptr, 10);
    }
    std::string dir_ = MakeRunFolder();
};

// The keys that legitimately differ while watching: the displayed high score starts from the
// stored one and is never raised, and the picture and its drawing calls carry the replay mark,
// the recorded figure and that high score.
std::string WithoutReplayDifferences(std::string line) {
    for (const char* key : {"\"g_hiScore\":", "\"fieldHash\":", "\"draws\":", "\"drawCount\":"}) {
        const size_t at = line.find(key);
        if (at == std::string::npos) continue;
        const size_t end = line.find_first_of(",}", at);
        line.erase(at, end - at);
    }
    return line;
}

TEST_F(CombatGame, LostLiveGameSavesItsReplayAndTheReplayPlaysItBack) {
    // Shot held from the first tick: it starts the game, takes ship A and fires all game long.
    WriteWholeFile(dir_ + "/game.keys", "1 z\n");
    ASSERT_EQ(RunHeadlessIn(dir_, "--keys game.keys --ticks 2500 --trace live.jsonl"), 0);
    const std::vector<std::string> live = Lines("live.jsonl");
    ASSERT_EQ(live.size(), 2500u);

    // The tick the last life ran out: the continue screen opens.
    size_t out = 0;
    while (out < live.size() && Field(live[out], "g_playerPhase") != 3) ++out;
    ASSERT_LT(out, live.size()) << "the scripted game should lose all its lives";
    EXPECT_EQ(Field(live[out], "g_continueActive"), 1);
    const long finalScore = Field(live[out], "g_score");
    ASSERT_GT(finalScore, 100000) << "the scripted game should beat the default high score";

    // Both files, from that moment: the score, and one record for every game frame so far.
    const std::string score = ReadWholeFile(dir_ + "/score.dat");
    EXPECT_EQ(score, Le32(static_cast<uint32_t>(finalScore)));
    EXPECT_EQ(ReadWholeFile(dir_ + "/replay.rep").size(), static_cast<size_t>(4 + 7 * Field(live[out - 1], "g_replayFrame")));

    // Declined continue, game over, splash, and the same game again: its equal score saves
    // nothing more (the files keep their first contents).
    size_t back = out;
    while (back < live.size() && Field(live[back], "g_screenState") != 0) ++back;
    ASSERT_LT(back, live.size());
    EXPECT_EQ(back - out, 210u + 78u);  // 30 sliding + 6 x 30 counts + 1, then 79 frames of panels

    ASSERT_EQ(RunHeadlessIn(dir_, "--watch-replay --ticks " + std::to_string(out + 100) + " --trace watch.jsonl"), 0);
    const std::vector<std::string> watch = Lines("watch.jsonl");
    ASSERT_EQ(watch.size(), out + 100);
    for (size_t i = 0; i < out; ++i) {
        ASSERT_EQ(WithoutReplayDifferences(watch[i]), WithoutReplayDifferences(live[i])) << "tick " << i + 1;
        ASSERT_EQ(Field(watch[i], "g_hiScore"), finalScore) << "tick " << i + 1;
    }
    // A replay never continues: the game-over panels come at once.
    EXPECT_EQ(std::vector<long>({Field(watch[out], "g_playerPhase"), Field(watch[out], "g_continueActive"),
                                 Field(watch[out + 78], "g_screenState")}),
              std::vector<long>({3, 0, 0}));
    EXPECT_EQ(ReadWholeFile(dir_ + "/score.dat"), score);
}

}  // namespace

// The sounds and music commands of a short scripted run of the headless game, in order: silence
// from the start, the title logo's two explosions, the ship-selection music when the start
// control is pressed, the bomb sound and the first stage's music when the ship is confirmed,
// volleys while the shot control is held, and silence again after ESC.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct AudioAtTick {
    long tick;
    std::string sounds;  // the trace's lists as written, e.g. "101,102"
    std::string music;
};

std::string Between(const std::string& line, const std::string& open, char close) {
    const size_t from = line.find(open);
    if (from == std::string::npos) return "?";
    const size_t start = from + open.size();
    return line.substr(start, line.find(close, start) - start);
}

TEST(HeadlessTrace, SoundsAndMusicFollowTheScreens) {
    char folder[] = "/tmp/vorne_trace_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string keys = std::string(folder) + "/run.keys";
    const std::string trace = std::string(folder) + "/run.jsonl";
    {
        std::ofstream out(keys);
        out << "80 space\n84 -\n110 space\n114 -\n160 space\n200 -\n220 esc\n222 -\n";
    }
    const std::string command = std::string("cd '") + VORNE_DATA_DIR + "' && '" + VORNE_BINARY + "' --headless --keys '" + keys +
                                "' --ticks 230 --trace '" + trace + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::vector<AudioAtTick> heard;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        const AudioAtTick at{std::atol(Between(line, "\"tick\":", ',').c_str()), Between(line, "\"sounds\":[", ']'),
                             Between(line, "\"music\":[", ']')};
        if (!at.sounds.empty() || !at.music.empty()) heard.push_back(at);
    }
    std::remove(keys.c_str());
    std::remove(trace.c_str());
    rmdir(folder);

    const std::string stop = "\"stop BGM wait\",\"close BGM wait\"";
    const std::string play = "\"play BGM from 0 notify\"";
    // The music commands, tick by tick.
    std::vector<std::pair<long, std::string>> music;
    for (const AudioAtTick& at : heard) {
        if (!at.music.empty()) music.emplace_back(at.tick, at.music);
    }
    const std::vector<std::pair<long, std::string>> expected = {
        {1, stop},                                                   // the reset at start-up: the splash is silent
        {80, stop + ",\"open bgm03.mid alias BGM wait\"," + play},   // start: ship selection
        {110, stop + ",\"open bgm01.mid alias BGM wait\"," + play},  // ship confirmed: the first stage
        {220, stop}};                                                // ESC: back to the silent splash
    EXPECT_EQ(music, expected);

    // The effects: the logo's explosions, the bomb sound with the confirmation, then volleys only
    // while the shot control is held.
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[1].sounds, "101,102");
    EXPECT_LT(heard[1].tick, 80);
    int volleys = 0;
    for (const AudioAtTick& at : heard) {
        if (at.tick == 110) {
            EXPECT_EQ(at.sounds, "103");
        }
        if (at.sounds == "104") {
            ++volleys;
            const bool held = (at.tick > 110 && at.tick < 114) || (at.tick >= 160 && at.tick < 200);
            EXPECT_TRUE(held) << "a volley at tick " << at.tick;
        }
    }
    EXPECT_GE(volleys, 5);
}

}  // namespace

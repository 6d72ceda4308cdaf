// The sounds and music commands of a short scripted run of the headless game, in order: silence
// from the start, the title logo's two explosions, the ship-selection music when the start
// control is pressed, and silence again after ESC.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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
        out << "80 space\n84 -\n120 esc\n122 -\n";
    }
    const std::string command = std::string("cd '") + VORNE_DATA_DIR + "' && '" + VORNE_BINARY +
                                "' --headless --keys '" + keys + "' --ticks 130 --trace '" + trace + "' 2>/dev/null";
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
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0].tick, 1);  // the reset at start-up: the splash is silent
    EXPECT_EQ(heard[0].music, stop);
    EXPECT_EQ(heard[0].sounds, "");
    EXPECT_EQ(heard[1].sounds, "101,102");  // the logo arrives
    EXPECT_EQ(heard[1].music, "");
    EXPECT_LT(heard[1].tick, 80);
    EXPECT_EQ(heard[2].tick, 80);  // start pressed: ship selection and its music
    EXPECT_EQ(heard[2].music, stop + ",\"open bgm03.mid alias BGM wait\",\"play BGM from 0 notify\"");
    EXPECT_EQ(heard[3].tick, 120);  // ESC: back to the silent splash
    EXPECT_EQ(heard[3].music, stop);
}

}  // namespace

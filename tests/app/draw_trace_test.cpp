// The drawing record of the headless trace: the runner's draws, drawCount and draw log agree with
// each other and are empty while paused, and a sprite drawn one pixel off its source rectangle
// changes the golden traces' draws but none of their logic keys. The golden traces pin what each
// screen draws, call by call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/headless.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/combat.h"
#include "player/player.h"
#include "player/ship.h"
#include "stage/stage.h"
#include "test_support.h"
#include "video/display.h"
#include "video/draw_trace.h"

namespace {

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The value of a key of a trace line as written (strings with their quotes).
std::string Key(const std::string& line, const std::string& name) {
    const size_t from = line.find("\"" + name + "\":");
    if (from == std::string::npos) return "?";
    const size_t start = from + name.size() + 3;
    return line.substr(start, line.find_first_of(",}", start) - start);
}

// Everything of a trace line before the picture's keys (fieldHash, draws, drawCount come last).
std::string LogicKeys(const std::string& line) { return line.substr(0, line.find(",\"fieldHash\":")); }

// Whether ship A ends the tick in play and not down: it was then drawn in the tick's frame
// (nothing brings a ship back from down after the ship update; a bullet may still down it after
// it was drawn, so a ship shown down may have been drawn too).
bool ShipAShown(const std::string& line) {
    int x, y, active, state;
    const size_t at = line.find("\"ships\":[[");
    if (at == std::string::npos) return false;
    const int read = std::sscanf(line.c_str() + at + 10, "%d,%d,%d,%d", &x, &y, &active, &state);
    return read == 4 && active == 1 && state != SHIP_STATE_DOWN;
}

class DrawTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpHeadlessGame();
        PlatCreateWindow(MainWindowProc);
    }
};

// Ship A's frames taken one row too low on its sheet: a fault only the picture can show.
void ShiftShipASourceDownOnePixel(long) { g_ships[0].sheetY = 21; }

// Plays a golden keys script in this process as the runner would from a fresh start (the
// frames-per-second window, the never-seeded generator and the display as at program start,
// nothing heard yet, no score.dat), and returns its trace.
std::string GoldenFile(const std::string& name) { return std::string(VORNE_SOURCE_DIR) + "/tests/golden/" + name; }

Lines RunGoldenScript(const std::string& name, void (*beforeTick)(long)) {
    const std::string keys = GoldenFile(name + ".keys");
    HeadlessOptions options;
    options.keysFile = keys;
    const std::string script = ReadWholeFile(keys);
    const size_t ticksAt = script.find("# ticks:");
    EXPECT_NE(ticksAt, std::string::npos);
    options.ticks = std::atol(script.c_str() + ticksAt + 8);
    options.traceFile = EnterScratchDataDir() + "/golden_in_process.jsonl";
    options.beforeTick = beforeTick;
    RemoveRecordFiles();
    ReleaseDisplay();  // the runner sets up its own
    g_fpsFrameCount = 0;
    g_fpsValue = 0.0f;
    g_fpsNextTick = PlatGetTickCount();
    g_randomSeed = 1;
    TakeSounds();
    EXPECT_EQ(RunHeadless(options), 0);
    const Lines trace = SplitLines(ReadWholeFile(options.traceFile));
    std::remove(options.traceFile.c_str());
    return trace;
}

TEST_F(DrawTraceTest, ASpriteOnePixelOffChangesDrawsButNoLogicKey) {
    for (const std::string name : {"sit_first_waves", "long_two_stages"}) {
        const Lines golden = SplitLines(ReadWholeFile(GoldenFile(name + ".jsonl")));
        // Without the fault the run reproduces the stored trace, so what differs below is the fault's.
        const Lines clean = RunGoldenScript(name, nullptr);
        ASSERT_EQ(clean.size(), golden.size()) << name;
        for (size_t i = 0; i < golden.size(); ++i) ASSERT_EQ(clean[i], golden[i]) << name;
        const Lines faulty = RunGoldenScript(name, ShiftShipASourceDownOnePixel);
        ASSERT_EQ(faulty.size(), golden.size()) << name;
        int changed = 0;
        for (size_t i = 0; i < golden.size(); ++i) {
            const std::string tick = name + " tick " + std::to_string(i + 1);
            ASSERT_EQ(LogicKeys(faulty[i]), LogicKeys(golden[i])) << tick;
            ASSERT_EQ(Key(faulty[i], "drawCount"), Key(golden[i], "drawCount")) << tick;
            const bool drawsDiffer = Key(faulty[i], "draws") != Key(golden[i], "draws");
            EXPECT_TRUE(drawsDiffer || !ShipAShown(golden[i])) << tick;
            EXPECT_TRUE(!drawsDiffer || Key(golden[i], "g_screenState") == "3") << tick;
            changed += drawsDiffer;
        }
        EXPECT_GT(changed, 100) << name;
    }
}

// The runner's draw log holds exactly the lines that draws and drawCount sum up, tick by tick;
// the frame that takes the pause ends with the pause label, and the paused ticks have no lines.
TEST(HeadlessDrawLog, AgreesWithTheTraceAndIsEmptyWhilePaused) {
    const std::string dir = EnterScratchDataDir();
    const std::string keys = dir + "/pause.keys", trace = dir + "/pause.jsonl", log = dir + "/pause.draws";
    WriteWholeFile(keys, "80 space\n84 -\n110 space\n114 -\n120 p\n121 -\n125 p\n126 -\n");
    const std::string command = "cd '" + dir + "' && '" + VORNE_BINARY + "' --headless --keys '" + keys +
                                "' --ticks 130 --trace '" + trace + "' --draw-log '" + log + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::map<long, std::string> linesOfTick;
    for (const std::string& line : SplitLines(ReadWholeFile(log))) {
        const size_t space = line.find(' ');
        linesOfTick[std::atol(line.c_str())] += line.substr(space + 1) + '\n';
    }
    const Lines traceLines = SplitLines(ReadWholeFile(trace));
    ASSERT_EQ(traceLines.size(), 130u);
    for (long tick = 1; tick <= 130; ++tick) {
        const std::string& line = traceLines[tick - 1];
        const std::string& text = linesOfTick[tick];
        char hash[24];
        std::snprintf(hash, sizeof hash, "\"%016llx\"",
                      static_cast<unsigned long long>(HashBytes(FNV_OFFSET_BASIS, text.data(), text.size())));
        EXPECT_EQ(Key(line, "draws"), hash) << "tick " << tick;
        EXPECT_EQ(std::atol(Key(line, "drawCount").c_str()), std::count(text.begin(), text.end(), '\n'))
            << "tick " << tick;
        const bool paused = tick >= 121 && tick <= 124;
        EXPECT_EQ(text.empty(), paused) << "tick " << tick;
    }
    EXPECT_EQ(Key(traceLines[121], "draws"), "\"cbf29ce484222325\"");
    const std::string& pauseFrame = linesOfTick[120];
    const std::string lastCall = pauseFrame.substr(pauseFrame.rfind('\n', pauseFrame.size() - 2) + 1);
    EXPECT_EQ(lastCall, "S 60 80 140 90 B 0 220 80 230 1\n");
    for (const std::string& f : {keys, trace, log}) std::remove(f.c_str());
}

}  // namespace

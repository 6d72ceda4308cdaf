// The drawing record of the headless trace: one frame of play pinned call by call, and a fault only
// the picture shows. The golden traces pin every other screen's drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
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
#include "sound/mix_support.h"
#include "test_support.h"
#include "video/display.h"
#include "video/draw_trace.h"

namespace {

using Lines = std::vector<std::string>;

// The glyph of one digit, 8 x 8 from row 0 of sheet C (digit d at x = 8 (d + 1)), keyed.
std::string Glyph(int x, int y, int digit) {
    const int sx = 8 * (digit + 1);
    std::ostringstream s;
    s << "S " << x << ' ' << y << ' ' << x + 8 << ' ' << y + 8 << " C " << sx << " 0 " << sx + 8 << " 8 1";
    return s.str();
}

// The 60 stars after one frame's fall, every star having stood at (x, y): four layers of
// fifteen falling 2, 3, 1 and 2 pixels, the first thirty 3 x 5, the others 2 x 2 from the
// same cell of sheet B.
Lines StarsFrom(int x, int y) {
    const struct { int fall, width, height; } layers[] = {{2, 3, 5}, {3, 3, 5}, {1, 2, 2}, {2, 2, 2}};
    Lines lines;
    for (const auto& layer : layers) {
        std::ostringstream s;
        s << "S " << x << ' ' << y + layer.fall << ' ' << x + layer.width << ' ' << y + layer.fall + layer.height << " B 0 10 "
          << layer.width << ' ' << 10 + layer.height << " 1";
        lines.insert(lines.end(), 15, s.str());
    }
    return lines;
}

// Everything of a trace line before the picture's keys (fieldHash, draws, drawCount come last).
std::string LogicKeys(const std::string& line) { return line.substr(0, line.find(",\"fieldHash\":")); }

// Whether ship A ends the tick in play and not down, so that it was drawn in the tick's frame.
bool ShipAShown(const std::string& line) {
    int x, y, active, state;
    const size_t at = line.find("\"ships\":[[");
    if (at == std::string::npos) return false;
    const int read = std::sscanf(line.c_str() + at + 10, "%d,%d,%d,%d", &x, &y, &active, &state);
    return read == 4 && active == 1 && state != SHIP_STATE_DOWN;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

class DrawTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        PlatCreateWindow(MainWindowProc);
    }
    void TearDown() override { g_drawTrace = nullptr; }

    // One frame tick with the record kept; checks that the hash and the count describe the lines
    // written to the log, and returns the lines without their tick numbers.
    static Lines RecordFrame() {
        char* text = nullptr;
        size_t size = 0;
        DrawTrace trace;
        trace.tick = 7;
        trace.log = open_memstream(&text, &size);
        g_drawTrace = &trace;
        RunFrame();
        g_drawTrace = nullptr;
        std::fclose(trace.log);
        const std::string log(text, size);
        std::free(text);
        Lines lines;
        std::string unnumbered;
        for (const std::string& line : SplitLines(log)) {
            EXPECT_EQ(line.rfind("7 ", 0), 0u) << line;
            lines.push_back(line.substr(2));
            unnumbered += lines.back() + '\n';
        }
        EXPECT_EQ(trace.count, static_cast<int32_t>(lines.size()));
        EXPECT_EQ(trace.hash, HashBytes(FNV_OFFSET_BASIS, unnumbered.data(), unnumbered.size()));
        return lines;
    }
};

// A frame of play, call by call: an enemy, an explosion, the ship, a shot, a bullet half off the
// field (truncated toward zero), then every display in the frame's order and the pause label last.
TEST_F(DrawTraceTest, PlayFrameWithEnemyBulletsDisplaysAndPause) {
    // A game in play with ship A alone, at a quiet moment of the timeline, every star at (10, 100)
    // and the frames-per-second figure held at 34.
    g_screenState = SCREEN_GAME;
    g_playing = 1;
    g_shipSelectActive = 0;
    g_ships[1].active = 0;
    g_hiScore = 100000;
    g_stageFrame = 50;
    g_fpsValue = 34.0f;
    g_fpsNextTick = 0xFFFFFFFFu;
    for (Star& star : g_stars) star.x = 10, star.y = 100;
    g_fieldClearColour = 249;
    g_ships[0].active = 1;
    g_ships[0].x = 88;
    g_ships[0].frameX = 48;
    g_fireArmed = 1;
    Enemy& dropper = g_enemies[0];
    dropper.x = 40;
    dropper.y = 60;
    dropper.alive = 1;
    dropper.hitPoints = 3;
    dropper.phase = 2;   // stopped ...
    dropper.work4 = 32;  // ... with its firing window over
    g_enemyAnimX = 24;
    g_playerShots[0] = PlayerShot{97, 150, 3, 24, 1};
    g_explosions[0].alive = 1;
    g_explosions[0].x = 20;
    g_explosions[0].y = 200;
    g_explosions[0].frameX = 40;
    SpawnEnemyBullet(101, 101, 0.0f, 2.0f, BULLET_SMALL);
    g_largeBullets[0] = EnemyBullet{-3.5f, 50.25f, 1, 0.0f, 0.0f};
    ++g_enemyBulletCount;
    g_scoreLevel = 3;
    g_shield = 2;
    g_chain = 2;
    g_chainTimer = 20;
    g_bossTimerVisible = 1;
    g_bossTimer = 45;
    g_score = 1234;
    g_pauseRequested = 1;

    const Lines expected = Join({
        {"C 249"},
        StarsFrom(10, 100),
        {"S 40 60 64 84 B 224 50 248 74 1", "S 20 200 60 240 C 40 200 80 240 1", "S 88 180 112 204 B 48 20 72 44 1",
         "S 97 150 100 174 B 170 0 173 24 1", "S 100 100 106 106 B 180 0 186 6 1", "S -3 50 4 58 B 190 0 198 8 1"},
        {"S 0 10 16 26 B 0 120 16 136 1", "S 17 10 33 26 B 0 120 16 136 1"},
        {"S 0 36 8 44 B 30 140 38 148 1", Glyph(16, 36, 3)},
        {"F 2 30 12 34 250", "S 0 224 16 240 B 30 120 46 136 1", Glyph(22, 230, 2)},
        {"S 0 240 16 256 B 30 120 46 136 1", "S 0 240 16 256 B 30 150 46 166 1", "S 0 240 16 256 B 30 170 46 186 1"},
        {Glyph(170, 20, 2), "S 180 20 196 28 C 100 0 116 8 1", "F 168 30 187 34 251"},
        {Glyph(192, 232, 2), "S 68 16 100 26 B 50 130 82 140 1", Glyph(108, 16, 4), Glyph(116, 16, 5)},
        {Glyph(41, 0, 1), Glyph(49, 0, 2), Glyph(57, 0, 3), Glyph(65, 0, 4)},
        {Glyph(110, 0, 1), Glyph(118, 0, 0), Glyph(126, 0, 0), Glyph(134, 0, 0), Glyph(142, 0, 0), Glyph(150, 0, 0)},
        {Glyph(184, 0, 3), Glyph(192, 0, 4)},
        {"S 60 80 140 90 B 0 220 80 230 1"},
    });
    EXPECT_EQ(RecordFrame(), expected);
    EXPECT_EQ(g_paused, 1);
}

// Ship A's frames taken one row too low on its sheet: a fault only the picture can show.
void ShiftShipASourceDownOnePixel(long) { g_ships[0].sheetY = 21; }

// Plays a golden keys script in this process as the runner would from a fresh start, and returns
// its trace.
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
            ASSERT_EQ(TraceValue(faulty[i], "drawCount"), TraceValue(golden[i], "drawCount")) << tick;
            const bool drawsDiffer = TraceValue(faulty[i], "draws") != TraceValue(golden[i], "draws");
            EXPECT_TRUE(drawsDiffer || !ShipAShown(golden[i])) << tick;
            EXPECT_TRUE(!drawsDiffer || TraceValue(golden[i], "g_screenState") == "3") << tick;
            changed += drawsDiffer;
        }
        EXPECT_GT(changed, 100) << name;
    }
}

}  // namespace

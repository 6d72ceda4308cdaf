// Frame benchmark: one whole in-game frame (field clear and UpdateGameFrame) on the headless
// platform with the display loaded from the generated data, at the heaviest load the pools
// allow: all 500 small and 310 large enemy bullets alive and every enemy pool and boss filled.
// The game's tick is 28 ms and more; a frame should stay far below that. Arg(1) keeps the record
// of the drawing calls, as the headless runner does while it writes a trace (no log file).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "video/display.h"
#include "video/draw_trace.h"

namespace {

bool g_benchReady = false;

bool PrepareDisplay() {
    if (g_benchReady) return true;
    PlatformInit(PlatformOptions{});
    const char* dataDir = std::getenv("VORNE_DATA_DIR");
    if (chdir(dataDir != nullptr ? dataDir : VORNE_DATA_DIR) != 0 || InitDisplay() != 1) {
        std::fprintf(stderr, "frame_bench: cannot load the display from the data directory\n");
        return false;
    }
    g_benchReady = true;
    return true;
}

// A game in play with ship A, every wave and boss on the field, the timeline held at the first
// boss, and both bullet pools full of bullets that stand still away from the ship's hit pixel.
void FillTheField() {
    ResetGame();
    g_screenState = SCREEN_GAME;
    g_playing = 1;
    g_playerPhase = 0;
    g_ships[0].active = 1;
    g_ships[0].state = SHIP_STATE_NORMAL;
    g_ships[1].active = 0;
    void (*const waves[])() = {
        SpawnDroppersLeft,    SpawnDroppersRight,    SpawnSwayersLeft1,   SpawnSwayersRight1,   SpawnSwayersLeft2,
        SpawnSwayersRight2,   SpawnPlungersA,        SpawnPlungersB,      SpawnWideSwayersA,    SpawnWideSwayersB,
        SpawnFannersLeftA,    SpawnFannersRightA,    SpawnFannersLeftB,   SpawnFannersRightB,   SpawnHoverersLeftA,
        SpawnHoverersRightA,  SpawnStrafersLeft,     SpawnStrafersRight,  SpawnArcersFromLeftA, SpawnArcersFromRightA,
        SpawnArcersFromLeftB, SpawnArcersFromRightB, SpawnSinkersLeftA,   SpawnSinkersRightA,   SpawnSinkersMiddleA,
        SpawnSinkersLeftB,    SpawnSinkersRightB,    SpawnSinkersMiddleB, SpawnGunnersA,        SpawnGunnersB,
        SpawnGunnersC,        SpawnSpinnersLeftA,    SpawnSpinnersRightA, SpawnSpinnersLeftB,   SpawnSpinnersRightB,
        SpawnGunshipA,        SpawnGunshipB,         SpawnGunshipC,       SpawnGunshipD,        SpawnCruisers,
        SpawnFrigates,        SpawnMidBossEscort,    SpawnMidBossTwo,     SpawnBossThree,       SpawnBossFour,
        SpawnBossFinal};
    for (auto spawn : waves) spawn();
    SpawnMidBoss(0);
    SpawnBossOne(0);
    SpawnBossTwo(0);
    for (Enemy& e : g_enemies) e.alive = 1;  // the two spare hoverer pools too
    g_stageFrame = 1702;                     // held while the first boss lives
    // Bullets on a grid over the field, standing still, none on the ship's hit pixel.
    const int hitX = g_ships[0].x + 11, hitY = g_ships[0].y + 15;
    int placed = 0;
    for (int y = 2; placed < SMALL_BULLET_COUNT + LARGE_BULLET_COUNT; y = (y + 9) % 232) {
        for (int x = 1; x < 192 && placed < SMALL_BULLET_COUNT + LARGE_BULLET_COUNT; x += 7) {
            if (std::abs(x - hitX) < 12 && std::abs(y - hitY) < 12) continue;
            SpawnEnemyBullet(x + placed % 3, y, 0.0f, 0.0f, placed < SMALL_BULLET_COUNT ? BULLET_SMALL : BULLET_LARGE);
            ++placed;
        }
    }
}

bool FieldStillFull() {
    return g_enemyBulletCount == SMALL_BULLET_COUNT + LARGE_BULLET_COUNT && g_stageFrame == 1702 && g_playing == 1;
}

void BM_InGameFrameFullField(benchmark::State& state) {
    if (!PrepareDisplay()) {
        state.SkipWithError("no display data");
        return;
    }
    FillTheField();
    if (!FieldStillFull()) {
        state.SkipWithError("the field could not be filled");
        return;
    }
    int refills = 0;
    const bool traced = state.range(0) != 0;
    DrawTrace draws;
    long long drawCalls = 0;
    for (auto _ : state) {
        draws = DrawTrace{};
        if (traced) g_drawTrace = &draws;
        PlatColourFill(g_fieldSurface, nullptr, g_baseClearColour);
        benchmark::DoNotOptimize(UpdateGameFrame());
        g_drawTrace = nullptr;
        drawCalls += draws.count;
        if (!FieldStillFull()) {
            // Whatever the game did to the load (a hit, a boss leaving) is undone off the clock.
            state.PauseTiming();
            FillTheField();
            ++refills;
            state.ResumeTiming();
        }
    }
    state.counters["refills"] = refills;
    state.counters["bullets"] = g_enemyBulletCount;
    if (traced)
        state.counters["drawCalls"] = benchmark::Counter(static_cast<double>(drawCalls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InGameFrameFullField)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_BulletPoolsOnly(benchmark::State& state) {
    if (!PrepareDisplay()) {
        state.SkipWithError("no display data");
        return;
    }
    FillTheField();
    for (auto _ : state) {
        benchmark::DoNotOptimize(UpdateSmallBullets());
        benchmark::DoNotOptimize(UpdateLargeBullets());
    }
}
BENCHMARK(BM_BulletPoolsOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

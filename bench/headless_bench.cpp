// Headless runner benchmark: the whole scripted game of the golden whole_game.keys (71,400 ticks:
// both rounds, every boss, the ending and back to the splash) played by the headless runner as
// `vorne --headless --keys whole_game.keys --ticks 71400` plays it without a trace, in a scratch
// folder with the generated data. Counters: ticks_per_second, and x_real_time, the game's own
// time over those ticks (its frame interval + 1 ms a tick, as the player would wait for them)
// divided by the time the runner took.
//
// The video export of the first EXPORT_TICKS of the same game, one case per kind of file at the
// default scale: x_real_time is the game's time over the wall-clock time the export took (the
// encoders run threads of their own; run it under `taskset -c 0` for one core).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/headless.h"
#include "input/input.h"
#include "platform/platform.h"
#include "platform/video_export.h"
#include "player/ship.h"
#include "video/display.h"

namespace {

namespace fs = std::filesystem;

constexpr long WHOLE_GAME_TICKS = 71400;
constexpr long EXPORT_TICKS = 2000;

// A scratch folder with links to the generated data, entered; empty when it cannot be made.
std::string EnterScratchFolder() {
    static std::string folder;
    if (folder.empty()) {
        char pattern[] = "/tmp/vorne-bench-XXXXXX";
        if (!mkdtemp(pattern)) return "";
        folder = pattern;
        const char* data = std::getenv("VORNE_DATA_DIR");
        for (const auto& entry : fs::directory_iterator(data != nullptr ? data : VORNE_DATA_DIR)) {
            fs::create_symlink(entry.path(), fs::path(folder) / entry.path().filename());
        }
    }
    return chdir(folder.c_str()) == 0 ? folder : "";
}

// Every run from the program's start: a fresh platform, no records, the unseeded stars.
void StartAfresh() {
    PlatformInit(PlatformOptions{});
    std::remove("score.dat");
    std::remove("replay.rep");
    g_fpsFrameCount = 0;
    g_fpsValue = 0.0f;
    g_fpsNextTick = PlatGetTickCount();
    g_randomSeed = 1;
    std::vector<int> sounds;
    std::vector<std::string> music;
    PlatHeadlessTakeAudioLog(&sounds, &music);
}

// One timed run of the headless runner from a fresh game. The game's time over the run is added
// to *gameSeconds: every tick waited its frame interval + 1 on the virtual clock, which started
// at 0. False, with the benchmark marked failed, when the runner failed.
bool TimedRun(benchmark::State& state, const HeadlessOptions& options, double* gameSeconds) {
    state.PauseTiming();
    StartAfresh();
    state.ResumeTiming();
    if (RunHeadless(options) != 0) {
        state.SkipWithError("the runner failed");
        return false;
    }
    *gameSeconds += PlatTimeGetTime() / 1000.0;
    return true;
}

void BM_HeadlessWholeGame(benchmark::State& state) {
    if (EnterScratchFolder().empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    HeadlessOptions options;
    options.keysFile = std::string(VORNE_SOURCE_DIR) + "/tests/golden/whole_game.keys";
    options.ticks = WHOLE_GAME_TICKS;
    double gameSeconds = 0;
    long ticks = 0;
    // The runner sets up its own display and releases it at the end; one that another benchmark
    // made is put back afterwards.
    const bool hadDisplay = g_primarySurface != nullptr;
    ReleaseDisplay();
    for (auto _ : state) {
        if (!TimedRun(state, options, &gameSeconds)) return;
        ticks += WHOLE_GAME_TICKS;
    }
    if (hadDisplay && !InitDisplay()) state.SkipWithError("the display could not be set up again");
    state.counters["ticks_per_second"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["x_real_time"] = benchmark::Counter(gameSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessWholeGame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportVideo(benchmark::State& state) {
    if (EnterScratchFolder().empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    static const char* const NAMES[] = {"bench.mp4", "bench.webm", "bench.mkv"};
    HeadlessOptions options;
    options.keysFile = std::string(VORNE_SOURCE_DIR) + "/tests/golden/whole_game.keys";
    options.ticks = EXPORT_TICKS;
    options.videoFile = NAMES[state.range(0)];
    options.videoKind = static_cast<int>(state.range(0));
    const bool hadDisplay = g_primarySurface != nullptr;
    ReleaseDisplay();
    double gameSeconds = 0;
    double bytes = 0;
    for (auto _ : state) {
        if (!TimedRun(state, options, &gameSeconds)) return;
        state.PauseTiming();
        std::error_code ignored;
        bytes += static_cast<double>(fs::file_size(options.videoFile, ignored));
        std::remove(options.videoFile.c_str());
        state.ResumeTiming();
    }
    if (hadDisplay && !InitDisplay()) state.SkipWithError("the display could not be set up again");
    state.counters["x_real_time"] = benchmark::Counter(gameSeconds, benchmark::Counter::kIsRate);
    state.counters["mbit_per_s"] = bytes * 8 / 1e6 / std::max(gameSeconds, 1e-9);
}
BENCHMARK(BM_ExportVideo)->DenseRange(VIDEO_H264_MP4, VIDEO_FFV1_MKV)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

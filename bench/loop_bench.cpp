// How the frame loop waits for its next tick on the real SDL back-end: the CPU it burns while
// waiting and how late each tick lands after the moment it became due. Uses the X display when
// DISPLAY is set (run it under Xvfb for a real window), SDL's dummy video driver otherwise.
//
// The loop is the game's own rule: handle waiting messages; a tick when strictly more than
// 28 ms have passed since the last one, with a fresh clock reading; otherwise sleep in
// PlatWaitMessageUntil until the tick is due. With Arg(1) every tick also presents the 640 x 480
// screen, as the game does. Counters: cpu_percent (user + system time over wall time),
// late_ms_mean and late_ms_max (clock reading at the tick minus its due time; the clock counts
// whole milliseconds), within_2ms_percent (ticks at most 2 ms late), ticks, waits_per_tick (how
// often the loop went to sleep per tick: 1 is ideal, more means early wake-ups). The dummy
// driver cannot sleep on events (SDL polls it every millisecond), so its CPU figure is higher
// than a real display's. VORNE_BENCH_TICKS sets the number of ticks.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>

#include "platform/platform.h"

namespace {

constexpr int FRAME_INTERVAL = 28;
constexpr int DEFAULT_TICKS = 175;  // about five seconds; VORNE_BENCH_TICKS changes it

int IgnoringProc(uint32_t, uint32_t) { return 0; }

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_FrameLoopWait(benchmark::State& state) {
    const bool present = state.range(0) != 0;
    const char* ticksText = std::getenv("VORNE_BENCH_TICKS");
    const int tickCount = ticksText ? std::atoi(ticksText) : DEFAULT_TICKS;
    int waits = 0;
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 0);
    PlatformOptions options;
    options.backend = PLATFORM_SDL;
    options.windowed = true;
    if (!PlatformInit(options)) {
        state.SkipWithError("SDL video could not start");
        return;
    }
    PlatCreateWindow(IgnoringProc);
    PlatShowWindow();
    Surface* screen = PlatCreatePrimarySurface(640, 480);
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i) palette[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    PlatSetPalette(screen, palette);

    double lateSum = 0;
    int onTime = 0;  // ticks at most 2 ms after they were due
    uint32_t lateMax = 0;
    double cpu = 0;
    double wall = 0;
    int ticks = 0;
    for (auto _ : state) {
        const double cpuStart = CpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        uint32_t last = PlatTimeGetTime();
        for (int tick = 0; tick < tickCount; ++tick) {
            uint32_t now;
            for (;;) {
                WindowMessage msg;
                while (PlatPeekMessage()) {
                    PlatGetMessage(&msg);
                    PlatDispatchMessage(msg);
                }
                now = PlatTimeGetTime();
                if (now - last > static_cast<uint32_t>(FRAME_INTERVAL)) break;
                PlatWaitMessageUntil(last + FRAME_INTERVAL + 1);
                ++waits;
            }
            const uint32_t late = now - (last + FRAME_INTERVAL + 1);
            lateSum += late;
            if (late <= 2) ++onTime;
            if (late > lateMax) lateMax = late;
            last = now;
            ++ticks;
            if (present) {
                PlatColourFill(screen, nullptr, tick & 0xFF);
                PlatPresent();
            }
        }
        cpu += CpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.counters["late_ms_mean"] = lateSum / ticks;
    state.counters["late_ms_max"] = lateMax;
    state.counters["ticks"] = ticks;
    state.counters["within_2ms_percent"] = 100.0 * onTime / ticks;
    state.counters["waits_per_tick"] = static_cast<double>(waits) / ticks;
    PlatReleaseSurface(screen);
    PlatDestroyWindow();
    PlatformShutdown();
    PlatformInit(PlatformOptions{});
}

}  // namespace

BENCHMARK(BM_FrameLoopWait)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

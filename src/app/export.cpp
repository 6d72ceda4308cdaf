// The video export of the headless runner. Each tick the runner hands over the screen as the
// player sees it after the tick, the game's clock and the tick's effects and music commands; the
// platform's recorder scales, mixes and encodes them. The music's end is the one thing that flows
// back: the recorder's mixer notices a piece played with "notify" coming to its end, and before
// the next tick the game's window procedure hears MM_MCINOTIFY and answers as it does in play,
// so the music loops where and as it would for a player.
//
// The progress bar (ticks done, share, speed, time left) is drawn on stderr only when stderr is a
// terminal, at most a few times a second.
#include "app/export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "platform/video_export.h"
#include "player/player.h"
#include "sound/sound.h"
#include "video/display.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MIX_RATE = 44100;
// A watched replay's game is its records plus the title before it (about 80 ticks) and the
// game-over panels after it (about 80): enough to estimate how long the export will take.
constexpr long TICKS_AROUND_A_REPLAY = 160;
constexpr double PROGRESS_EVERY_S = 0.25;
constexpr int BAR_WIDTH = 24;

// The export under way; lives from BeginVideoExport to EndVideoExport.
struct ExportRun {
    VideoExport* video = nullptr;
    std::string path;
    long expectedTicks = 0;  // 0: unknown
    long ticks = 0;
    long long gameMs = 0;  // the game's clock over the ticks done
    Clock::time_point start;
    Clock::time_point lastProgress;
    bool progress = false;  // stderr is a terminal
    bool progressShown = false;
};

ExportRun g_export;

// How many ticks the run will take, as far as can be told before it starts.
long ExpectedTicks(const HeadlessOptions& options) {
    long expected = options.ticks;
    struct stat info {};
    if (options.watchReplay && stat("replay.rep", &info) == 0 && info.st_size >= 4) {
        const long records = std::min<long>((info.st_size - 4) / static_cast<long>(sizeof(ReplayRecord)), MAX_REPLAY_FRAMES);
        const long game = records + TICKS_AROUND_A_REPLAY;
        expected = expected > 0 ? std::min(expected, game) : game;
    }
    return expected;
}

void FormatDuration(char* text, size_t size, double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    std::snprintf(text, size, "%ld:%02ld", whole / 60, whole % 60);
}

void ShowProgress(bool final) {
    ExportRun& e = g_export;
    const Clock::time_point now = Clock::now();
    if (!e.progress || (!final && std::chrono::duration<double>(now - e.lastProgress).count() < PROGRESS_EVERY_S)) return;
    e.lastProgress = now;
    const double wall = std::max(1e-6, std::chrono::duration<double>(now - e.start).count());
    const double speed = static_cast<double>(e.gameMs) / 1000.0 / wall;
    double share = 1.0;
    if (!final && e.expectedTicks > 0)
        share = std::min(0.999, static_cast<double>(e.ticks) / static_cast<double>(e.expectedTicks));
    char bar[BAR_WIDTH + 1];
    const int filled = static_cast<int>(share * BAR_WIDTH);
    for (int i = 0; i < BAR_WIDTH; ++i) bar[i] = i < filled ? '#' : '.';
    bar[BAR_WIDTH] = '\0';
    char left[32] = "";
    if (final) {
        FormatDuration(left, sizeof left, wall);
        std::fprintf(stderr, "\rvideo [%s] %ld ticks  100%%  %.1fx real time  took %s   \n", bar, e.ticks, speed, left);
    } else if (e.expectedTicks > 0) {
        FormatDuration(left, sizeof left,
                       wall / std::max(1L, e.ticks) * static_cast<double>(std::max(0L, e.expectedTicks - e.ticks)));
        std::fprintf(stderr, "\rvideo [%s] %ld/%ld ticks  %3d%%  %.1fx real time  %s left   ", bar, e.ticks, e.expectedTicks,
                     static_cast<int>(share * 100.0), speed, left);
    } else {
        std::fprintf(stderr, "\rvideo %ld ticks  %.1fx real time   ", e.ticks, speed);
    }
    std::fflush(stderr);
    e.progressShown = !final;
}

void EndProgressLine() {
    if (g_export.progressShown) std::fputc('\n', stderr);
    g_export.progressShown = false;
}

}  // namespace

bool BeginVideoExport(const HeadlessOptions& options) {
    VideoExportSettings settings;
    settings.path = options.videoFile;
    settings.kind = static_cast<VideoKind>(options.videoKind);
    settings.scale = options.videoScale;
    settings.width = SCREEN_WIDTH;
    settings.height = SCREEN_HEIGHT;
    settings.musicVolume = options.videoMusicVolume;
    settings.effectsVolume = options.videoEffectsVolume;
    settings.mute = options.videoMute;
    // The pieces are found as the game finds them; the music is left out only without a soundfont.
    AudioMixer* mixer = MakeGameMixer(MIX_RATE, "", true);
    std::string error;
    VideoExport* video = VideoExportOpen(settings, mixer, &error);
    if (!video) {
        std::fprintf(stderr, "vorne: %s\n", error.c_str());
        return false;
    }
    g_export = ExportRun{};
    g_export.video = video;
    g_export.path = options.videoFile;
    g_export.expectedTicks = ExpectedTicks(options);
    g_export.start = Clock::now();
    g_export.lastProgress = g_export.start;
    g_export.progress = isatty(STDERR_FILENO) == 1;
    return true;
}

bool VideoExportRunning() { return g_export.video != nullptr; }

void DeliverVideoMusicNotice() {
    if (g_export.video && VideoExportTakeEndOfPiece(g_export.video) && PlatWindowExists()) {
        MainWindowProc(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL);
    }
}

bool AddVideoTick(long tick, const std::vector<int>& sounds, const std::vector<std::string>& music) {
    ExportRun& e = g_export;
    if (!e.video) return false;
    if (VideoExportInterrupted()) {
        EndProgressLine();
        std::fprintf(stderr, "vorne: interrupted at tick %ld; %s is not written\n", tick, e.path.c_str());
        return false;
    }
    std::string error;
    if (!g_primarySurface || !VideoExportTick(e.video, g_primarySurface, PlatTimeGetTime(), sounds, music, &error)) {
        EndProgressLine();
        std::fprintf(stderr, "vorne: %s\n", g_primarySurface ? error.c_str() : "no screen to record");
        return false;
    }
    e.ticks = tick;
    e.gameMs += g_frameInterval + 1;
    ShowProgress(false);
    return true;
}

int EndVideoExport(bool complete) {
    ExportRun& e = g_export;
    if (!e.video) return 0;
    VideoExport* video = e.video;
    e.video = nullptr;
    const int signal = VideoExportInterruptSignal();
    if (!complete || signal != 0) {
        VideoExportDiscard(video);
        EndProgressLine();
        return signal != 0 ? 128 + signal : 2;
    }
    // The last frame lasts its tick: until the clock the next tick would have.
    std::string error;
    const uint32_t end = PlatTimeGetTime() + static_cast<uint32_t>(g_frameInterval) + 1;
    if (!VideoExportFinish(video, end, &error)) {
        EndProgressLine();
        std::fprintf(stderr, "vorne: %s\n", error.c_str());
        return 2;
    }
    ShowProgress(true);
    return 0;
}

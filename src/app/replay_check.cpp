// The replay check and the timedemo. Both watch replay.rep's game from the title to the return
// to the title and look at what it reached: the score and the frame count the game notes where
// it would save its record (g_lastGameResult), and how fast the ticks went.
//
// The timedemo runs the ticks back to back instead of one every frame interval. Nothing of the
// game's course depends on the clock (the logic counts frames), so it plays the very game the
// replay holds; what the clock does touch is only shown: the frames-per-second figure in the
// corner counts real seconds, so during a timedemo it shows the real rate (held at 999, as it
// always is), while the figure recorded with the game is shown below it unchanged. The frame
// interval's slow-down (a crowded screen) is still worked out each frame, and the game's own
// pace is the sum of those intervals: the multiple of real time compares with that.
#include "app/replay_check.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/player.h"

namespace {

// Records in replay.rep as the game loads them (a trailing partial record counts as one); -1
// when there is no file.
long ReplayFileRecords() {
    struct stat info {};
    if (stat("replay.rep", &info) != 0) return -1;
    const long bytes = static_cast<long>(info.st_size) - 4;
    if (bytes <= 0) return 0;
    const long records = (bytes + static_cast<long>(sizeof(ReplayRecord)) - 1) / static_cast<long>(sizeof(ReplayRecord));
    return records < MAX_REPLAY_FRAMES ? records : MAX_REPLAY_FRAMES;
}

}  // namespace

void NoteWatchedTick(WatchedGame* game) {
    ++game->ticks;
    game->gameMs += g_frameInterval + 1;
    if (g_screenState == SCREEN_GAME) {
        game->started = true;
    } else if (game->started) {
        game->ended = true;
    }
}

int ReportReplayCheck(const WatchedGame& game) {
    if (g_lastGameResult.games == 0) {
        std::printf("replay.rep: its game did not come to its end in %ld ticks\n", game.ticks);
        return 3;
    }
    const GameResult& r = g_lastGameResult;
    std::printf("replay.rep: score %d after %d game frames (%ld ticks)\n", r.score, r.frames, game.ticks);
    struct stat info {};
    const bool scoreFile = stat("score.dat", &info) == 0;
    std::printf("score.dat: %d%s\n", g_savedHiScore, scoreFile ? "" : " (no file: the default high score)");
    int status = 0;
    if (r.score != g_savedHiScore) {
        const long long difference = static_cast<long long>(r.score) - g_savedHiScore;
        std::printf("differs: the replay scores %lld %s than score.dat\n", difference < 0 ? -difference : difference,
                    difference < 0 ? "less" : "more");
        status = 3;
    }
    const long records = ReplayFileRecords();
    if (records >= 0 && records != r.frames) {
        std::printf("differs: the game saved %d frames but replay.rep holds %ld\n", r.frames, records);
        status = 3;
    }
    if (status == 0) std::printf("verified: the replay reaches the stored score\n");
    return status;
}

void ReportTimedemo(const WatchedGame& game, double seconds) {
    const double wall = seconds > 1e-9 ? seconds : 1e-9;
    const double gameSeconds = static_cast<double>(game.gameMs) / 1000.0;
    std::printf(
        "timedemo: %ld frames in %.3f s: %.1f frames per second, %.1f times real time (the game's own pace: "
        "%.1f s)\n",
        game.ticks, seconds, static_cast<double>(game.ticks) / wall, gameSeconds / wall, gameSeconds);
    if (g_lastGameResult.games > 0) {
        std::printf("timedemo: score %d after %d game frames\n", g_lastGameResult.score, g_lastGameResult.frames);
    }
    if (!game.ended) std::printf("timedemo: stopped before the end of the game\n");
}

int RunTimedemoAfterDialog(int choice) {
    const int status = SetUpAfterDialog(choice);
    if (status >= 0) return status;
    WatchedGame game;
    const auto start = std::chrono::steady_clock::now();
    int exitCode = 0;
    while (!game.ended && game.ticks < WATCH_TICK_LIMIT) {
        bool quit = false;
        while (PlatPeekMessage()) {
            WindowMessage msg;
            if (PlatGetMessage(&msg) == 0) {
                exitCode = static_cast<int>(msg.wParam);
                quit = true;
                break;
            }
            PlatDispatchMessage(msg);
        }
        if (quit || !PlatWindowExists()) break;
        if (g_appActive == 0) {
            PlatWaitMessage();  // in the background, as in play: no ticks
            continue;
        }
        // A tick on every pass: no waiting for the frame interval.
        g_lastFrameTime = PlatTimeGetTime();
        if (g_paused == 0) RunFrame();
        NoteWatchedTick(&game);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ReportTimedemo(game, seconds);
    if (PlatWindowExists()) PlatDestroyWindow();
    return exitCode;
}

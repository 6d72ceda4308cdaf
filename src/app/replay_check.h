// Watching the high-score replay's game to its end: the replay check (--verify-replay) and the
// timedemo (--timedemo), in the headless runner and, for the timedemo, in the real window.
#pragma once

// One watched game, followed tick by tick.
struct WatchedGame {
    bool started = false;  // the game itself (screen state 3) has begun
    bool ended = false;    // and the title has come back
    long ticks = 0;        // frame ticks run
    long long gameMs = 0;  // the game's own pace over them: its frame interval + 1 per tick
};

// A replay's game lasts at most as many frames as a replay holds; a run that watches one to its
// end gives up this many ticks after the start.
inline constexpr long WATCH_TICK_LIMIT = 108000 + 1000;

// Called after each tick (paused ones included) of a run that watches a game to its end.
void NoteWatchedTick(WatchedGame* game);
// --verify-replay: prints the watched game's score and frame count beside score.dat's and
// replay.rep's, and returns the exit status: 0 when they agree, 3 when not (with the difference).
int ReportReplayCheck(const WatchedGame& game);
// --timedemo: prints the frames per second and the multiple of the game's own pace.
void ReportTimedemo(const WatchedGame& game, double seconds);
// `vorne --timedemo`: after the dialog's choice (the replay button), sets the game up and plays
// the replay in the window as fast as the machine allows, presenting every frame, until the
// game returns to the title (or the window is closed); then reports. Returns the exit status.
int RunTimedemoAfterDialog(int choice);

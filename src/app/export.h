// The headless runner's video export (--video): drives the platform's video recorder tick by
// tick with the screen, the game's clock and the tick's sound, hands the game the end of its
// music as the live device would, and shows the progress on a terminal.
#pragma once

#include <string>
#include <vector>

#include "app/headless.h"

// Called by the headless runner before the game starts: opens the video (under a temporary name
// beside the file asked for). False, after a message, when it cannot be written.
[[nodiscard]] bool BeginVideoExport(const HeadlessOptions& options);
// True between BeginVideoExport and EndVideoExport.
bool VideoExportRunning();
// Called before each tick's key messages: the game's window hears that its piece of music came
// to its end (MM_MCINOTIFY), when the sound rendered so far says so.
void DeliverVideoMusicNotice();
// Called after each tick with its effects and music commands. False, after a message, when
// writing failed or the export was interrupted; the run then ends.
[[nodiscard]] bool AddVideoTick(long tick, const std::vector<int>& sounds, const std::vector<std::string>& music);
// Called once at the end of the run: finishes the file (complete) or removes it. Returns the
// exit status: 0 when the file was written, 2 when it could not be, 128 + the signal when the
// export was interrupted.
int EndVideoExport(bool complete);

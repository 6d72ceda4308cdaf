// Background music through MCI-style command strings. Exactly one piece is open at a time, under
// the alias BGM; opening another stops and closes it first. The window procedure restarts the
// piece when it has played to its end, so every piece loops until it is replaced or stopped.
// The pieces are looked up by bare file name in the current directory.
#include <unistd.h>

#include "platform/platform.h"
#include "sound/sound.h"

namespace {

// The size of the buffer the current directory is read into; a longer path is left as it is.
constexpr int CURRENT_DIRECTORY_CHARS = 256;

}  // namespace

void SendMusicCommand(const char* command) { PlatMciSendString(command); }

void StopMusic() {
    SendMusicCommand("stop BGM wait");
    SendMusicCommand("close BGM wait");
}

void RefreshCurrentDirectory() {
    // There are no drives here; reading the current directory and changing into it again still
    // settles a directory that was renamed or replaced under the running program.
    char path[CURRENT_DIRECTORY_CHARS];
    if (getcwd(path, sizeof path) != nullptr && chdir(path) != 0) {
        // The directory is gone; the open that follows fails and the music stays silent.
    }
}

void PlayMusic(const char* openCommand) {
    SendMusicCommand("stop BGM wait");
    SendMusicCommand("close BGM wait");
    RefreshCurrentDirectory();
    SendMusicCommand(openCommand);
    SendMusicCommand("play BGM from 0 notify");
}

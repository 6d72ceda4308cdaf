// Background music through MCI-style command strings. Exactly one piece is open at a time, under
// the alias BGM; the window procedure restarts it when it has played to its end.
#include "platform/platform.h"
#include "sound/sound.h"

void SendMusicCommand(const char* command) { PlatMciSendString(command); }

void StopMusic() {
    SendMusicCommand("stop BGM wait");
    SendMusicCommand("close BGM wait");
}

void PlayMusic(const char* openCommand) {
    StopMusic();
    SendMusicCommand(openCommand);
    SendMusicCommand("play BGM from 0 notify");
}

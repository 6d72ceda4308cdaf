// Sound: the twelve built-in effects (ids 101..112) and the background music (bgm01..06.mid,
// played through MCI-style command strings under the alias BGM).
#pragma once

inline constexpr int SOUND_EFFECT_COUNT = 12;
inline constexpr int FIRST_SOUND_EFFECT = 101;

// Called once by WinMain after the dialog: 1 ready, 0 failed (the program then ends).
int InitSound();
// Stop, rewind and play the effect once. An effect without a buffer does nothing.
void PlaySoundEffect(int effectId);
// Effect 110 once for each active ship in its normal state (enemy fire while the ship can be hit).
void PlayEnemyFireSound();
// Called by the window's destruction. Always 1.
int ReleaseSound();

// Sends one music command string, result ignored.
void SendMusicCommand(const char* command);
// Stops and closes the current piece, opens the given one and plays it from the start.
void PlayMusic(const char* openCommand);
// Stops and closes the current piece ("stop BGM wait", "close BGM wait").
void StopMusic();

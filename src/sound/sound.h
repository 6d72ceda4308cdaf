// Sound: the twelve built-in effects (ids 101..112) and the background music (bgm01..06.mid,
// played through MCI-style command strings under the alias BGM).
#pragma once

#include <cstdint>

#include "platform/platform.h"  // the effects' ids
// The one effect the game cannot start without (the extend fanfare).
inline constexpr int REQUIRED_SOUND_EFFECT = 112;

// Nonzero while effect 101 + i has its buffer; set by InitSound, cleared by ReleaseSound.
extern int g_soundBuffers[SOUND_EFFECT_COUNT];

// Called once by SetUpAfterDialog: 1 ready, 0 failed (the program then ends).
int InitSound();
// Stop, rewind and play the effect once. An effect without a buffer does nothing.
void PlaySoundEffect(int effectId);
// Effect 110 once for each active ship in its normal state (enemy fire while the ship can be hit).
void PlayEnemyFireSound();
// Called by the window's destruction. Always 1.
int ReleaseSound();

// Called by InitSound: finds the effect's resource and makes its buffer. 1 done, 0 failed.
int LoadWaveResource(int resourceId);
// Called by LoadWaveResource: the "fmt " body, the "data" body and its size of a built-in effect.
// 1 found, 0 when the resource is missing or malformed (the outputs are then null and 0).
int FindWaveChunks(int resourceId, const uint8_t** format, const uint8_t** data, uint32_t* size);
// The chunk walk of FindWaveChunks over a RIFF WAVE file in memory; also called by the tests.
int FindWaveChunksInBlock(const uint8_t* block, uint32_t blockSize, const uint8_t** format, const uint8_t** data,
                          uint32_t* size);

// Sends one music command string, result ignored. Called by the window procedure.
void SendMusicCommand(const char* command);
// Stops and closes the current piece, opens the given one and plays it from the start.
// Called by StartGame, the ship confirmation and the stage timeline.
void PlayMusic(const char* openCommand);
// Called by PlayMusic: makes the current directory current again before a piece is opened.
void RefreshCurrentDirectory();
// Stops and closes the current piece ("stop BGM wait", "close BGM wait"). Called by ResetGame
// and the window procedure (minimising, destruction).
void StopMusic();

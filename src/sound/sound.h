// Sound: the twelve built-in effects (ids 101..112) and the background music (bgm01..06.mid,
// played through MCI-style command strings under the alias BGM).
#pragma once

#include <cstdint>

#include "platform/platform.h"  // the effects' ids

// The built-in effects by what they sound for; the values are their resource ids, which the
// platform and the loader go on using as plain numbers.
enum class SoundEffect : int {
    HeavyExplosion = 101,  // the largest blasts (always with Explosion) and the title logo's arrival
    Explosion = 102,       // large blasts; also with the title logo
    Bomb = 103,            // a bomb released, a ship confirmed on the selection screen
    ShotVolley = 104,      // a volley of the ship or of a bomb unit
    MidBossArrival = 105,  // the mid-boss and its escort come in
    SmallExplosion = 106,  // small blasts
    EnemyStruck = 107,     // a player shot strikes an enemy
    ItemCollected = 108,   // bomb or shield item picked up
    PlayerHit = 109,       // the ship is hit and its shield takes it
    EnemyFire = 110,       // enemies firing (PlayEnemyFireSound)
    BossAction = 111,      // a boss opens its parts or changes its pose
    Extend = 112,          // an extra life
};
// The one effect the game cannot start without (the extend fanfare).
inline constexpr int REQUIRED_SOUND_EFFECT = static_cast<int>(SoundEffect::Extend);

// Nonzero while effect 101 + i has its buffer; set by InitSound, cleared by ReleaseSound.
extern int g_soundBuffers[SOUND_EFFECT_COUNT];

// Called once by SetUpAfterDialog: 1 ready, 0 failed (the program then ends).
int InitSound();
// Stop, rewind and play the effect once. An effect without a buffer does nothing.
void PlaySoundEffect(SoundEffect effect);
// Effect 110 once for each active ship in its normal state (enemy fire while the ship can be hit).
void PlayEnemyFireSound();
// Called by the window's destruction. Always 1.
int ReleaseSound();

// Called by InitSound: finds the effect's resource and makes its buffer. 1 done, 0 failed.
int LoadWaveResource(int resourceId);
// A built-in effect's PCM samples and their format, as read from its resource.
struct WaveEffect {
    const uint8_t* data = nullptr;  // inside the program's resources: lives for the whole run
    uint32_t bytes = 0;
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    int channels = 0;
};
// Called by LoadWaveResource and MakeGameMixer: 1 with the effect's samples, 0 when its resource
// is missing, malformed or not PCM.
int ReadWaveEffect(int resourceId, WaveEffect* effect);
// Called by LoadWaveResource: the "fmt " body, the "data" body and its size of a built-in effect.
// 1 found, 0 when the resource is missing or malformed (the outputs are then null and 0).
int FindWaveChunks(int resourceId, const uint8_t** format, const uint8_t** data, uint32_t* size);
// The chunk walk of FindWaveChunks over a RIFF WAVE file in memory; also called by the tests.
int FindWaveChunksInBlock(const uint8_t* block, uint32_t blockSize, const uint8_t** format, const uint8_t** data, uint32_t* size);

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

// ---- the game's sound rendered offline (a video of a run, the sound tests)
struct AudioMixer;
// A mixer at the given rate holding the twelve built-in effects, which finds the pieces of music
// in musicFolder ("": by the data file lookup, as the game does), playing them on the General MIDI
// soundfont when music is true and one is installed (otherwise the music runs silently). The
// caller owns it (MixerDestroy). Called by the video export and the tests.
AudioMixer* MakeGameMixer(int rate, const char* musicFolder, bool music);

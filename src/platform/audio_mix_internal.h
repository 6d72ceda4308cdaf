// Private to the mixer (audio_mix.cpp, audio_music.cpp, audio_effects.cpp): the mixer's record
// and the parts of it each file renders. See audio_mix.h for what the mixer does.
#pragma once

#include <fluidsynth.h>
#include <sys/types.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/audio_mix.h"

// The limiter's look-ahead.
inline constexpr int LIMIT_LOOKAHEAD = 64;
// Frames rendered in one pass of the mixing loop.
inline constexpr int BLOCK_FRAMES = 256;
// How long the synthesiser goes on being rendered after its last voice ended: its reverb's tail.
inline constexpr double SYNTH_IDLE_S = 4.0;
inline constexpr int BANK_CHANNELS = 16;
inline constexpr int SYNTH_CHANNELS = 2 * BANK_CHANNELS;

// A channel message at its sample of the output stream, counted from the start of its piece.
struct TimedEvent {
    int64_t sample;
    uint8_t status, data1, data2;
};

// One piece read from its file. Lives in the cache until the mixer goes (or the cache is full).
struct Piece {
    std::string path;  // absolute path it was read from
    off_t size = 0;    // file size and time when read: a changed file is read again
    int64_t modified = 0;
    std::vector<TimedEvent> events;
    int64_t lengthSamples = 0;
    uint32_t lengthMs = 0;
};

// The MCI device: at most one open piece. Lives from "open" to "close".
struct MusicDevice {
    bool open = false;
    std::string alias;
    std::string file;
    int piece = -1;  // index into the cache
    bool playing = false;
};

// Where the sequencer is in the piece it plays.
struct Sequencer {
    int piece = -1;             // index into the cache; -1 when nothing plays
    int bank = 0;               // the synthesiser's bank the piece plays on
    int64_t position = 0;       // samples played of the piece
    size_t next = 0;            // its next message
    bool restartAtEnd = false;  // "play from 0" came while the end was near: loop exactly at the end
    bool notify = false;        // report the end when it is near
    bool posted = false;        // and it has been reported
};

// A bank whose piece was stopped: its channels' volumes sink to nothing.
struct BankFade {
    bool active = false;
    int64_t left = 0;
    std::array<uint8_t, BANK_CHANNELS> volume{};
};

// One effect's channel: the sound at the output rate and where it plays, and the tail of the
// sound a restart cut off.
struct EffectChannel {
    std::vector<float> samples;
    size_t position = 0;
    bool playing = false;
    size_t tailPosition = 0;
    int tailLeft = 0;
};

// The look-ahead limiter. The gain each sample needs (ceiling / peak) goes through a minimum over
// the look-ahead, an envelope that drops at once and recovers slowly, and a moving average over
// the look-ahead; the audio is delayed by the look-ahead less one. Every value the average takes
// in at a peak's output is at most that peak's gain, so no sample leaves above the ceiling.
struct Limiter {
    std::array<float, LIMIT_LOOKAHEAD> delayLeft{}, delayRight{};
    std::array<float, LIMIT_LOOKAHEAD> minValue{};
    std::array<int64_t, LIMIT_LOOKAHEAD> minIndex{};
    int minHead = 0, minCount = 0;
    std::array<double, LIMIT_LOOKAHEAD> average{};
    double averageSum = LIMIT_LOOKAHEAD;
    int averageAt = 0;
    double envelope = 1.0;
    double release = 0.0;
    int64_t n = 0;
};

// One of the player's loudness controls: the gain now and the one it glides to, at most `step` a
// frame, landing on the target exactly (so 100 multiplies by exactly 1).
struct Loudness {
    float gain = 1.0f;
    float target = 1.0f;
    float step = 0.0f;
};

struct MixerSynth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
};

struct AudioMixer {
    int rate = 44100;
    MixerSynth* synth = nullptr;
    std::string musicFolder;
    std::array<EffectChannel, MIXER_EFFECT_SLOTS> effects;
    std::vector<Piece> pieces;
    MusicDevice device;
    Sequencer sequencer;
    int lastStarted = -1;  // the piece last started and not stopped since (-1: none)
    int lastBank = 1;      // the bank it plays on; the first piece takes bank 0
    std::array<BankFade, 2> fades;
    std::array<uint8_t, SYNTH_CHANNELS> channelVolume{};  // CC7 as the pieces last set it
    int64_t silentFrames = 0;                             // rendered since the synthesiser last had a piece or a voice
    bool endOfPiece = false;
    int notifyLeadMs = MIXER_NOTIFY_LEAD_MS;
    uint32_t lastOpenMicros = 0;
    double dcIn[2] = {0, 0}, dcOut[2] = {0, 0};
    double dcPole = 0.0;
    Limiter limiter;
    MixerStats stats;
    Loudness musicLoudness, effectsLoudness;
    std::array<float, BLOCK_FRAMES> musicLeft{}, musicRight{}, mixLeft{}, mixRight{};
    std::array<float, BLOCK_FRAMES> musicGains{}, effectsGains{};  // the block's gain, frame by frame
};

inline int64_t SecondsToFrames(const AudioMixer* m, double seconds) { return std::llround(seconds * m->rate); }

// The music of the next frames (at most BLOCK_FRAMES) into musicLeft/Right (audio_music.cpp).
void RenderMusic(AudioMixer* m, int frames);
// Adds the effects of the next frames, at the player's loudness, to mixLeft/Right
// (audio_effects.cpp).
void RenderEffects(AudioMixer* m, int frames);
// Puts a bank's channels back to their General MIDI defaults, silencing whatever still sounds
// on them (audio_music.cpp).
void ResetBank(AudioMixer* m, int bank);

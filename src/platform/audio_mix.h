// Private to src/platform (and to what renders the game's sound offline: the game's sound loader
// for the video recorder, the tools and the tests): the final mix of the game's sound. One mixer
// renders everything the player hears into 16-bit stereo frames:
//   - the twelve effect channels, one an effect, each converted once to the output rate;
//   - the music: the MCI-style device (one piece open under an alias) and its sequencer, playing
//     the pieces on a FluidSynth synthesiser sample by sample;
//   - a DC blocker and a look-ahead limiter on the sum, so the output never clips.
// The SDL audio callback renders the live game with it; a recorded game (the effects and music
// commands of a headless trace, tick by tick) renders offline through the very same code, so
// what a test measures or an exported video carries is what a player hears.
// No SDL here. A mixer is not thread-safe: the live device calls it with its audio locked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/mci.h"
#include "platform/platform.h"

struct AudioMixer;  // the whole mixer: effects, music device, sequencer, limiter
struct MixerSynth;  // a FluidSynth synthesiser with a General MIDI soundfont loaded

inline constexpr int MIXER_FIRST_EFFECT_ID = FIRST_SOUND_EFFECT;
inline constexpr int MIXER_EFFECT_SLOTS = SOUND_EFFECT_COUNT;
// How long before the end of a piece played with "notify" its end is reported (by default): time
// enough for the game's answer ("play ... from 0") to arrive before the end, where the restart is
// carried out to the sample.
inline constexpr int MIXER_NOTIFY_LEAD_MS = 40;

// The soundfont to use: $SDL_SOUNDFONTS, else the first General MIDI font installed; nullptr
// when there is none.
const char* MixerFindSoundFont();
// Makes a synthesiser for the output rate and loads the soundfont into it: tens of milliseconds,
// so the live device does it on a thread of its own. nullptr (after a line on stderr) when the
// soundfont cannot be read.
MixerSynth* MixerSynthCreate(const char* soundFontPath, int rate);
void MixerSynthDestroy(MixerSynth* synth);

// A mixer for the output rate (44100 for the game). Until a synthesiser is attached the music
// runs silently, to the same clock.
AudioMixer* MixerCreate(int rate);
void MixerDestroy(AudioMixer* mixer);
// Hands the synthesiser to the mixer, which owns it from here.
void MixerAttachSynth(AudioMixer* mixer, MixerSynth* synth);
bool MixerHasSynth(const AudioMixer* mixer);
// Where the pieces' bare file names are looked up ("" : the current directory, as the game does).
void MixerSetMusicFolder(AudioMixer* mixer, const std::string& folder);
// How long before the end of a piece its end is reported (MIXER_NOTIFY_LEAD_MS unless set). The
// video recorder, whose game hears the report only after the next tick, gives it two ticks.
void MixerSetNotifyLead(AudioMixer* mixer, int milliseconds);

// Effects, by their ids 101..112. SetEffect converts PCM samples (8-bit unsigned or 16-bit
// signed, mono or stereo, any rate) to the output rate; false for anything else.
bool MixerSetEffect(AudioMixer* mixer, int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                    int channels);
void MixerClearEffect(AudioMixer* mixer, int effectId);
bool MixerHasEffect(const AudioMixer* mixer, int effectId);
// Starts the effect from its beginning; an effect still sounding is cut off (with a fade of a
// few milliseconds, so the cut does not click) and starts again.
void MixerStartEffect(AudioMixer* mixer, int effectId);
void MixerStopEffect(AudioMixer* mixer, int effectId);

// Reads a piece into the mixer's cache ahead of its "open" (the live device does this for the
// game's pieces at start-up). False when it is not a MIDI file we can read.
bool MixerPreloadPiece(AudioMixer* mixer, const std::string& file);
// Carries out one MCI command string; what MCI would refuse is ignored.
void MixerCommand(AudioMixer* mixer, const char* command);
MciState MixerMusicState(const AudioMixer* mixer);
// Microseconds the last "open" took (finding or reading the piece), for measurements.
uint32_t MixerLastOpenMicros(const AudioMixer* mixer);

// The player's loudness: music and effects each 0..100 and mute over both. 100 leaves the mix
// exactly as the game makes it; below that a square law (50 is a quarter, -12 dB) makes equal
// steps sound about equal. A change glides over a few milliseconds, so it does not click. Applied
// before the limiter. A new mixer plays at 100, unmuted.
void MixerSetVolume(AudioMixer* mixer, int musicPercent, int effectsPercent, bool mute);

// Renders the next frames (interleaved left, right). Effects and commands given before the call
// take effect at its first frame.
void MixerRender(AudioMixer* mixer, int16_t* stereo, int frames);
// True once when the piece played with "notify" has come within its lead (above) of its end
// during the frames rendered so far: the live device posts MM_MCINOTIFY for it. Stopping,
// closing or replacing the piece disarms it.
bool MixerTakeEndOfPiece(AudioMixer* mixer);
// How many frames the limiter had to turn down so far, and the largest absolute sample it let
// through (of 1.0): for measurements.
struct MixerStats {
    int64_t frames = 0;
    int64_t limitedFrames = 0;
    double largestSample = 0.0;
};
MixerStats MixerGetStats(const AudioMixer* mixer);

// Offline: renders one tick of a recorded game. Starts the tick's effects, sends its music
// commands, renders the frames, and answers the end of a piece played with "notify" as the
// game's window procedure does ("play BGM from 0 notify"), since a recording carries only what
// the game itself sent.
void MixerRenderTick(AudioMixer* mixer, const std::vector<int>& sounds, const std::vector<std::string>& music, int16_t* stereo,
                     int frames);

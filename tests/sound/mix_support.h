// Shared by the tests that read the headless runner's trace and listen to the game's own output
// through its mixer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AudioMixer;

// The lines of a text.
std::vector<std::string> SplitLines(const std::string& text);
// The value of a key of a trace line as written (strings with their quotes, lists with their
// brackets); "?" when the line has no such key.
std::string TraceValue(const std::string& line, const std::string& key);
long TraceNumber(const std::string& line, const std::string& key);

// One line of the trace, the fields the sound tests read.
struct TraceTick {
    int stageFrame = 0;
    int milliseconds = 0;  // the virtual clock's step before this tick: the frame interval + 1
    std::vector<int> sounds;
    std::vector<std::string> music;
};

// Plays the keys script ("TICK KEY ..." lines) in the headless runner for the given ticks, in the
// tests' scratch folder, and reads its trace. Empty when the run failed.
std::vector<TraceTick> RunHeadlessGame(const std::string& keys, long ticks);

// The game's mixer (with its synthesiser when `music`), its music folder the tests' scratch folder
// holding `piece` as piece.mid, opened as BGM.
AudioMixer* MixerWithPiece(const std::vector<uint8_t>& piece, bool music, int rate = 44100);

// Renders ticks [first, last) of a trace through the mixer, tick by tick, each as long as its
// step on the virtual clock. 16-bit stereo, interleaved.
std::vector<int16_t> RenderTicks(AudioMixer* mixer, const std::vector<TraceTick>& trace, size_t first, size_t last);

// Measures of 16-bit stereo.
struct MixMeasures {
    double seconds = 0.0;
    double peak = 0.0;               // of full scale
    long clipped = 0;                // samples at full scale
    double worstSecondOffset = 0.0;  // the largest mean of any one second, of either side
    double rms = 0.0;                // of full scale
    double loudness = 0.0;           // integrated loudness, LUFS (K-weighted, gated)
};
MixMeasures Measure(const std::vector<int16_t>& stereo, int rate = 44100);

// True when a General MIDI soundfont is installed (the music can be rendered).
bool SoundFontAvailable();

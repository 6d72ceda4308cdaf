// assetgen's small score language for the six pieces. A piece is a list of timed MIDI events
// written by a few part writers, then saved as a standard MIDI file whose end falls exactly on
// the last bar line, so the piece loops on the beat:
//   - melodies as note strings, their velocities shaped by the phrase and the beat, with vibrato
//     (CC1) and an expression swell (CC11) on held notes and an occasional pitch-bend scoop;
//   - a second voice that follows a melody on the tones of the chord under each note;
//   - counter-lines that move through the guide tones (thirds, sevenths, ninths) of the chords;
//   - pads voiced from the chords' colour tones and led from chord to chord by the smallest moves;
//   - bass lines and arpeggios from step patterns over the chords;
//   - drums from step patterns, with a fill every fourth bar.
// Markers (MIDI meta events) name the sections, so the tests can find them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int PPQ = 480;       // ticks per quarter note
inline constexpr int STEP = PPQ / 4;  // one sixteenth
inline constexpr int BAR = PPQ * 4;   // one 4/4 bar
inline constexpr int DRUMS = 9;       // General MIDI's drum channel (channel 10)

struct MidiEvent {
    uint32_t tick = 0;
    int order = 0;  // at the same tick: 0 meta, 1 controls, 2 note off, 3 note on
    std::vector<uint8_t> bytes;
};

struct Score {
    std::vector<MidiEvent> events;
    int scale[7] = {0, 2, 3, 5, 7, 8, 10};  // the key's scale, semitones above keyRoot
    int keyRoot = 9;                        // pitch class of the key's tonic
    int leadChannel = 0;                    // the parts under the lead keep clear of each other, not of it
    int bassChannel = 2;                    // and the bass keeps its notes: the others keep clear of it
};

// A chord of a progression: its root, the bass under it (a slash chord's), its tones in semitones
// above the root, and how many beats it lasts.
struct Chord {
    int root = 0;
    int bass = 0;
    std::vector<int> tones;
    int beats = 4;
};

// "Am9 Fmaj7 G6 Em7 Dm7:2 G:2 Esus4:2 E7:2 C/E": chords in time; ":n" gives the beats (4 when
// left out). Qualities: (major) m 7 maj7 m7 6 m6 9 m9 add9 madd9 sus2 sus4 7sus4 dim m7b5 5 13.
std::vector<Chord> Progression(const char* text);
// The same chords moved by semitones.
std::vector<Chord> Transposed(const std::vector<Chord>& chords, int semitones);
// The chord sounding at a tick, for a progression starting at startBar (cycling past its end).
const Chord& ChordAt(const std::vector<Chord>& chords, int startBar, uint32_t tick);

// A part: its channel and instrument, its level (CC7), place (CC10) and reverb and chorus sends.
struct Part {
    int channel;
    int program;
    int volume;
    int pan;
    int reverb;
    int chorus;
};
void SetUpPart(Score& s, const Part& part);
void SetTempo(Score& s, uint32_t tick, double bpm);
// The key the part writers after it take their scale steps in.
void SetKey(Score& s, int root, const int* scale);
void Marker(Score& s, int bar, const char* text);
void AddNote(Score& s, int channel, uint32_t tick, uint32_t length, int key, int velocity);
void AddControl(Score& s, int channel, uint32_t tick, int control, int value);
// A controller moving from one value to another over [fromTick, toTick), in steps of a 32nd.
void Ramp(Score& s, int channel, int control, uint32_t fromTick, uint32_t toTick, int from, int to);

// How a melody is played.
struct Phrasing {
    int velocity = 96;  // the phrase's middle; the contour and the beat move it by some 10
    int transpose = 0;
    bool vibrato = true;   // CC1 rising on notes of a beat and a half or more
    bool swell = true;     // CC11 swelling on notes of a beat and a half or more
    double legato = 0.92;  // how much of its length a note is held
};

// Notes as "A4:4 C5:2 r:2 ..." (name and octave, ':' and the length in sixteenths; "r" rests).
// A '~' before a note scoops up into it with the pitch wheel; a '!' accents it. The melody must
// fill exactly bars bars from bar on (the generator stops on a miscount, which would shift
// everything after it against the chords).
void Melody(Score& s, int channel, int bar, int bars, const char* notes, const Phrasing& phrasing);
// The accompaniment keeps clear of itself: a second voice, a counter-line or an arpeggio never
// strikes a note a minor second or ninth from a note of another part that sounds already (the lead
// and the drums aside), so these are written after the pads and the bass.
//
// A second voice under a melody: each note moves to the highest tone of the chord sounding under
// it that lies a third to a sixth below; quick notes off the beat take the third below in the key.
void SecondVoice(Score& s, int channel, int bar, int bars, const char* notes, const std::vector<Chord>& chords,
                 const Phrasing& phrasing);
// A counter-line through the chords' guide tones: for each chord, the notes of the rhythm (lengths
// in sixteenths, cycled; negative: a rest) each take the guide tone (third, seventh, ninth or
// suspension) nearest the note before, within [low, high], preferring a step to a leap, and
// keeping clear of the lead's notes on the strong beats as well.
void CounterLine(Score& s, int channel, int bar, const std::vector<Chord>& chords, const std::vector<int>& rhythm, int low,
                 int high, const Phrasing& phrasing);
// Pad chords: four voices from each chord's tones (colour tones first: third, seventh, ninth,
// suspension, then fifth and root), within [low, high], each chord voiced to move the voices as
// little as possible from the last and to keep clear of the other parts and of the lead's notes
// on the strong beats. The 16-step rhythm: 'c' strikes the chord, '-' holds, '.'
// rests. With swell, each chord's expression rises from 80 to 120 over its first half.
void Pad(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* rhythm, int low, int high, int velocity,
         bool swell);
// Bass lines and arpeggios over the chords, one 16-step pattern a bar (the chord of each step
// decides its note):
//   '0' the bass note (a slash chord's bass), '1' '2' ... '7' the chord's tones upwards from its
//   root (1 the third, 2 the fifth, 3 the seventh or the octave, ...), '8' the bass an octave up,
//   'a' a semitone under the next chord's bass (an approach), '-' holds the note before, '.'
//   rests, 'g' a ghost of the bass note, '!' accents the next step. low is the lowest the bass
//   note may be. Except in the bass part, a note that would rub against another part moves an
//   octave, or to the chord tone beside it, if that clears it.
void PatternPart(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* pattern, int low, int velocity);
// Drums for bars bars from bar: each line is a GM drum key and a 16-step pattern, 'x' hit, 'X'
// accent, 'g' ghost. Hits on the beat are played a little harder than those between.
struct DrumLine {
    int key;
    const char* pattern;
};
void Drums(Score& s, int bar, int bars, const std::vector<DrumLine>& lines, int velocity);
// A groove for bars bars with a fill in every fourth bar (the fills taken in turn) and a crash
// on the first bar.
void DrumSection(Score& s, int bar, int bars, const std::vector<DrumLine>& groove,
                 const std::vector<std::vector<DrumLine>>& fills, int velocity);

// Writes the score as a format 0 MIDI file that ends at totalBars bars.
std::vector<uint8_t> SaveMidi(Score& s, int totalBars, const char* title);

// The six pieces (music_pieces.cpp).
std::vector<uint8_t> ComposeStageThemeA();
std::vector<uint8_t> ComposeStageThemeB();
std::vector<uint8_t> ComposeShipSelect();
std::vector<uint8_t> ComposeBossTheme();
std::vector<uint8_t> ComposeStory();
std::vector<uint8_t> ComposeEnding();

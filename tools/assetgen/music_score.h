// assetgen's small score language for the six pieces: a piece is a list of timed MIDI events
// written by a few part writers (melodies as note strings, bass, chords and arpeggios from a
// chord progression and a 16-step pattern, drums from step patterns), then saved as a standard
// MIDI file whose end falls exactly on the last bar line, so the piece loops on the beat.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int PPQ = 480;          // ticks per quarter note
inline constexpr int STEP = PPQ / 4;     // one sixteenth
inline constexpr int BAR = PPQ * 4;      // one 4/4 bar
inline constexpr int DRUMS = 9;          // General MIDI's drum channel (channel 10)

struct MidiEvent {
    uint32_t tick = 0;
    int order = 0;  // at the same tick: 0 meta, 1 controls, 2 note off, 3 note on
    std::vector<uint8_t> bytes;
};

struct Score {
    std::vector<MidiEvent> events;
    int scale[7] = {0, 2, 3, 5, 7, 8, 10};  // the key's scale, semitones above keyRoot
    int keyRoot = 9;                        // pitch class of the key's tonic
};

// A chord of a progression: root pitch class, minor or major, optional seventh.
struct Chord {
    int root = 0;
    bool minor = false;
    bool seventh = false;
};

// "Am F G E7 Bb": one chord per bar.
std::vector<Chord> Progression(const char* text);

void SetTempo(Score& s, uint32_t tick, double bpm);
void SetProgram(Score& s, int channel, int program, int volume, int pan);
void AddNote(Score& s, int channel, uint32_t tick, uint32_t length, int key, int velocity);
void AddControl(Score& s, int channel, uint32_t tick, int control, int value);

// Notes as "A4:4 C5:2 r:2 ..." (name and octave, ':' and the length in sixteenths; "r" rests).
// Returns the tick after the last note. With degreesBelow > 0 each note is moved that many
// steps down the score's scale (a second voice in thirds: 2).
uint32_t Melody(Score& s, int channel, uint32_t tick, const char* notes, int velocity, int transpose = 0,
                int degreesBelow = 0);

// One bar per chord from startBar on, each bar following the 16-step pattern:
//   '0'..'9' chord tone number (0 root, 1 third, 2 fifth, 3 root an octave up, ...), 'c' the whole
//   chord, '-' holds the note before, '.' rests. Upper-case 'C' and digits after '!' are accented.
// lowKey is the lowest note the chord's root may take.
void PatternPart(Score& s, int channel, int startBar, const std::vector<Chord>& chords, const char* pattern,
                 int lowKey, int velocity);

// Drums for count bars from startBar: each line is a GM drum key and a 16-step pattern,
// 'x' hit, 'X' accent, 'g' ghost.
struct DrumLine {
    int key;
    const char* pattern;
};
void DrumPart(Score& s, int startBar, int count, const std::vector<DrumLine>& lines, int velocity);

// Writes the score as a format 0 MIDI file that ends at totalBars bars.
std::vector<uint8_t> SaveMidi(Score& s, int totalBars, const char* title);

// The six pieces (music_pieces.cpp).
std::vector<uint8_t> ComposeStageThemeA();
std::vector<uint8_t> ComposeStageThemeB();
std::vector<uint8_t> ComposeShipSelect();
std::vector<uint8_t> ComposeBossTheme();
std::vector<uint8_t> ComposeStory();
std::vector<uint8_t> ComposeEnding();

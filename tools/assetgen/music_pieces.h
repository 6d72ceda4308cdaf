// Private to the pieces (music_pieces.cpp, music_pieces_late.cpp): the instruments, drum keys,
// scales and phrasings they share, and the section table a piece is written in
// (music_sections.cpp).
#pragma once

#include <string>

#include "music_score.h"

// General MIDI programs (numbered from 0) and drum keys used below.
enum Program {
    GRAND_PIANO = 0,
    ELECTRIC_PIANO_2 = 5,
    VIBRAPHONE = 11,
    DISTORTION_GUITAR = 30,
    FINGERED_BASS = 33,
    SYNTH_BASS_1 = 38,
    SYNTH_BASS_2 = 39,
    STRINGS = 48,
    SYNTH_STRINGS = 50,
    TIMPANI = 47,
    FRENCH_HORN = 60,
    BRASS_SECTION = 61,
    SYNTH_BRASS = 62,
    FLUTE = 73,
    SQUARE_LEAD = 80,
    SAW_LEAD = 81,
    CHARANG = 84,
    NEW_AGE_PAD = 88,
    WARM_PAD = 89,
    POLY_SYNTH = 90,
    SWEEP_PAD = 95
};
enum Drum {
    KICK = 36,
    SIDE_STICK = 37,
    SNARE = 38,
    CLAP = 39,
    LOW_FLOOR_TOM = 41,
    CLOSED_HAT = 42,
    HIGH_FLOOR_TOM = 43,
    LOW_TOM = 45,
    OPEN_HAT = 46,
    MID_TOM = 47,
    HIGH_TOM = 50,
    CRASH = 49,
    RIDE = 51
};

inline constexpr int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
inline constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};

inline Phrasing Lead(int velocity, int transpose = 0) {
    Phrasing p;
    p.velocity = velocity;
    p.transpose = transpose;
    return p;
}

// A struck instrument: no vibrato or swell, notes let ring.
inline Phrasing Struck(int velocity, int transpose = 0) {
    Phrasing p = Lead(velocity, transpose);
    p.vibrato = false;
    p.swell = false;
    p.legato = 1.0;
    return p;
}

// A piece's key and tempo, the channel of its bass (the other parts keep clear of it) and its
// parts, set up in this order at the start.
struct PieceSetup {
    int keyRoot;
    const int* scale;
    double bpm;
    int bassChannel;
    std::vector<Part> parts;
};
Score StartPiece(const PieceSetup& setup);

// The lines of a section. `from` counts bars from the section's first; `chords`, where given,
// replace the section's for that line.
struct TuneLine {  // the lead's melody
    int from, bars;
    std::string notes;
    Phrasing phrasing;
};
struct PatternLine {  // a bass line, an arpeggio or a riff (PatternPart)
    int channel;
    const char* pattern;
    int low, velocity;
    int from = 0;
    std::vector<Chord> chords = {};
};
struct PadLine {  // chords or stabs (Pad)
    int channel;
    const char* rhythm;
    int low, high, velocity;
    bool swell = true;
};
struct VoiceLine {  // a second voice under a melody (SecondVoice)
    int channel;
    int from, bars;
    std::string notes;
    std::vector<Chord> chords;
    Phrasing phrasing;
};
struct CounterPart {  // a counter-line through the guide tones (CounterLine)
    int channel;
    std::vector<int> rhythm;
    int low, high;
    Phrasing phrasing;
    int from = 0;
    std::vector<Chord> chords = {};
};
struct Beat {  // with fills, a drum section (a crash on its first bar, a fill every fourth); else the lines every bar
    std::vector<DrumLine> lines;
    std::vector<std::vector<DrumLine>> fills;
    int velocity;
    int from = 0, bars = 0;  // bars 0: to the section's end
};

// A section of a piece: its markers (at its first bar), bars and chords, and what each part plays.
// The parts are written in the order of the fields, the same in every piece, since each keeps
// clear of those written before it: the tune, a riff or stabs, the bass, the pad, arpeggios,
// second voices, counter-lines, and the drums last.
struct Section {
    std::vector<const char*> markers = {};
    int bar, bars;
    std::vector<Chord> chords = {};
    std::vector<TuneLine> tune = {};
    std::vector<PatternLine> riff = {};
    std::vector<PadLine> stabs = {};
    std::vector<PatternLine> bass = {};
    std::vector<PadLine> pad = {};
    std::vector<PatternLine> arp = {};
    std::vector<VoiceLine> voices = {};
    std::vector<CounterPart> counter = {};
    std::vector<Beat> drums = {};
};
void WriteSection(Score& s, const Section& section);

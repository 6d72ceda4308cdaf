// Private to the pieces (music_pieces.cpp, music_pieces_late.cpp): the instruments, drum keys,
// scales and phrasings they share.
#pragma once

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

// Private to the music's writers (music.cpp, music_accompaniment.cpp): the helpers they share
// for reading note strings, shaping lines and keeping parts clear of one another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "music_score.h"

// A mistake in a piece's text (a miscounted bar, an unknown chord) would put everything after it
// out of place: the generator stops and says where.
[[noreturn]] void Fail(const std::string& what);

int Mod12(int v);
// The lowest key of pitch class pc at or above low.
int KeyAtOrAbove(int pc, int low);
uint32_t BarTick(int bar);

// The notes written so far of every part but the lead, the drums and the part being written, to
// ask which of them sound at a tick.
struct Written {
    int key;
    uint32_t on, off;
};
// With theLead, the lead's notes that weigh (on the first or third beat, or two beats long or more)
// are among them: a pad keeps clear of those as well.
std::vector<Written> Accompaniment(const Score& s, int channel, bool theLead = false);
// The keys of the notes sounding at some time in [from, to), or at tick.
std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t from, uint32_t to);
std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t tick);
// A key a minor second or a minor ninth from any of the keys (further apart, the rub is gone).
bool Rubs(int key, const std::vector<int>& keys);
// The chord's colour tones first (third, seventh, ninth, suspension, sixth), then its fifth and
// root: the order in which pads and counter-lines choose them.
std::vector<int> TonesByColour(const Chord& c);

// A note of a line as written: its key and length, and how it is played.
struct WrittenNote {
    int key = -1;  // -1: a rest
    int steps = 0;
    bool scoop = false;
    bool accent = false;
};
// A note's velocity: the phrasing's middle, moved by where the note stands in its phrase's range,
// where it falls in the bar, and whether it closes the phrase or is accented.
std::vector<int> ShapedVelocities(const std::vector<WrittenNote>& notes, int velocity);
// Writes notes from tick on with the phrasing's articulation, vibrato, swell and scoops; keys[i]
// replaces notes[i].key (a second voice writes other keys to the same rhythm).
void WriteLine(Score& s, int channel, uint32_t tick, const std::vector<WrittenNote>& notes, const std::vector<int>& keys,
               const std::vector<int>& velocities, const Phrasing& phrasing);

// The music: six General MIDI pieces, bgm01.mid .. bgm06.mid, written in the score language of
// music_score.h (the pieces themselves are in music_pieces.cpp). This file is the language: the
// chord reader, the part writers and the MIDI writer, which sorts the events, closes a note before
// the same key strikes again, and puts the end of the track on the last bar line so a restart
// joins in time.
#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "assetgen.h"
#include "music_score.h"

namespace {

// A mistake in a piece's text (a miscounted bar, an unknown chord) would put everything after it
// out of place: the generator stops and says where.
[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "assetgen: music: %s\n", what.c_str());
    std::exit(1);
}

int PitchClass(char letter) {
    static constexpr int CLASSES[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const int index = std::toupper(static_cast<unsigned char>(letter)) - 'A';
    if (index < 0 || index > 6) Fail(std::string("no such note: ") + letter);
    return CLASSES[index];
}

int Mod12(int v) { return ((v % 12) + 12) % 12; }

// Reads a pitch class with its accidental from text, moving text on.
int ReadPitchClass(const char*& text) {
    int pc = PitchClass(*text++);
    if (*text == '#') {
        ++pc;
        ++text;
    } else if (*text == 'b') {
        --pc;
        ++text;
    }
    return Mod12(pc);
}

// "C#5" -> 73; the octave may be negative ("C-1"); "B#4" is C5.
int ParsePitch(const std::string& name) {
    const char* p = name.c_str();
    int pc = PitchClass(*p++);
    if (*p == '#') {
        ++pc;
        ++p;
    } else if (*p == 'b') {
        --pc;
        ++p;
    }
    return 12 * (std::atoi(p) + 1) + pc;
}

// Moves a note the given number of steps down the score's scale; a note outside the scale is
// first taken to the scale note below it.
int DegreesDown(const Score& s, int key, int degrees) {
    const int rel = Mod12(key - s.keyRoot);
    int base = key - rel;
    int degree = 0;
    for (int d = 6; d >= 0; --d) {
        if (s.scale[d] <= rel) {
            degree = d;
            break;
        }
    }
    int index = degree - degrees;
    while (index < 0) {
        index += 7;
        base -= 12;
    }
    return base + s.scale[index];
}

// The lowest key of pitch class pc at or above low.
int KeyAtOrAbove(int pc, int low) { return low + Mod12(pc - low); }

// The notes written so far of every part but the lead, the drums and the part being written, to
// ask which of them sound at a tick.
struct Written {
    int key;
    uint32_t on, off;
};

// With theLead, the lead's notes that weigh (on the first or third beat, or two beats long or more)
// are among them: a pad keeps clear of those as well.
std::vector<Written> Accompaniment(const Score& s, int channel, bool theLead = false) {
    std::vector<const MidiEvent*> events;
    for (const MidiEvent& e : s.events) {
        const int kind = e.bytes[0] & 0xF0;
        const int ch = e.bytes[0] & 0x0F;
        if ((kind == 0x80 || kind == 0x90) && ch != channel && ch != DRUMS && (theLead || ch != s.leadChannel)) {
            events.push_back(&e);
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent* a, const MidiEvent* b) {
        return a->tick != b->tick ? a->tick < b->tick : a->order < b->order;
    });
    std::vector<Written> notes;
    std::vector<int> channels;
    std::map<int, std::vector<size_t>> open;  // by channel and key: the notes not yet closed
    for (const MidiEvent* e : events) {
        const int id = (e->bytes[0] & 0x0F) * 128 + e->bytes[1];
        if ((e->bytes[0] & 0xF0) == 0x90) {
            open[id].push_back(notes.size());
            notes.push_back({e->bytes[1], e->tick, UINT32_MAX});
            channels.push_back(e->bytes[0] & 0x0F);
        } else if (!open[id].empty()) {
            notes[open[id].front()].off = e->tick;
            open[id].erase(open[id].begin());
        }
    }
    if (theLead) {
        std::vector<Written> weighty;
        for (size_t i = 0; i < notes.size(); ++i) {
            const Written& n = notes[i];
            if (channels[i] != s.leadChannel || n.on % (2 * PPQ) == 0 || n.off - n.on >= 2 * PPQ) weighty.push_back(n);
        }
        return weighty;
    }
    return notes;
}

// The keys of the notes sounding at some time in [from, to).
std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t from, uint32_t to) {
    std::vector<int> keys;
    for (const Written& n : notes) {
        if (n.on < to && n.off > from) keys.push_back(n.key);
    }
    return keys;
}

std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t tick) { return SoundingKeys(notes, tick, tick + 1); }

// A key a minor second or a minor ninth from any of the keys (further apart, the rub is gone).
bool Rubs(int key, const std::vector<int>& keys) {
    for (int k : keys) {
        const int d = std::abs(k - key);
        if (d == 1 || d == 13) return true;
    }
    return false;
}

bool HasPitchClass(const Chord& c, int pc) {
    for (int t : c.tones) {
        if (Mod12(c.root + t) == pc) return true;
    }
    return Mod12(c.bass) == pc;
}

// The chord's colour tones first (third, seventh, ninth, suspension, sixth), then its fifth and
// root: the order in which pads and counter-lines choose them.
std::vector<int> TonesByColour(const Chord& c) {
    static constexpr int ORDER[] = {3, 4, 10, 11, 2, 14, 5, 9, 21, 7, 6, 0};
    std::vector<int> pcs;
    for (int interval : ORDER) {
        for (int t : c.tones) {
            const int pc = Mod12(c.root + t);
            if (t == interval && std::find(pcs.begin(), pcs.end(), pc) == pcs.end()) pcs.push_back(pc);
        }
    }
    return pcs;
}

// ---- note strings --------------------------------------------------------------------------------

struct WrittenNote {
    int key = -1;  // -1: a rest
    int steps = 0;
    bool scoop = false;
    bool accent = false;
};

std::vector<WrittenNote> ParseNotes(const char* notes) {
    std::vector<WrittenNote> out;
    const char* p = notes;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        std::string word;
        while (*p && *p != ' ') word.push_back(*p++);
        WrittenNote n;
        size_t at = 0;
        while (at < word.size() && (word[at] == '~' || word[at] == '!')) {
            (word[at] == '~' ? n.scoop : n.accent) = true;
            ++at;
        }
        const size_t colon = word.find(':');
        if (colon == std::string::npos) Fail("a note without its length: " + word);
        n.steps = std::atoi(word.c_str() + colon + 1);
        const std::string name = word.substr(at, colon - at);
        if (n.steps <= 0) Fail("a note of no length: " + word);
        n.key = name == "r" ? -1 : ParsePitch(name);
        out.push_back(n);
    }
    return out;
}

uint32_t BarTick(int bar) { return static_cast<uint32_t>(bar) * BAR; }

void CheckLength(const std::vector<WrittenNote>& notes, int bar, int bars) {
    int steps = 0;
    for (const WrittenNote& n : notes) steps += n.steps;
    if (steps != bars * 16) {
        Fail("a line at bar " + std::to_string(bar + 1) + " fills " + std::to_string(steps) + " sixteenths, not " +
             std::to_string(bars * 16));
    }
}

// A note's velocity: the phrasing's middle, moved by where the note stands in its phrase's range,
// where it falls in the bar, and whether it closes the phrase or is accented.
std::vector<int> ShapedVelocities(const std::vector<WrittenNote>& notes, int velocity) {
    std::vector<int> out(notes.size(), 0);
    size_t start = 0;
    int step = 0;
    while (start < notes.size()) {
        // A phrase runs up to the next rest.
        size_t end = start;
        int low = 127, high = 0;
        while (end < notes.size() && notes[end].key >= 0) {
            low = std::min(low, notes[end].key);
            high = std::max(high, notes[end].key);
            ++end;
        }
        for (size_t i = start; i < end; ++i) {
            const WrittenNote& n = notes[i];
            // Higher notes a little louder, and the phrase rising to its middle and falling away.
            const double contour = high > low ? static_cast<double>(n.key - low) / (high - low) : 0.5;
            const double arch = end - start > 1 ? std::sin(3.14159265 * static_cast<double>(i - start) / (end - start - 1)) : 1.0;
            int v = velocity + static_cast<int>(std::lround(contour * 10.0 - 5.0 + arch * 8.0 - 4.0));
            const int inBar = step % 16;
            v += inBar == 0 ? 6 : inBar % 4 == 0 ? 3 : inBar % 2 == 0 ? 0 : -4;
            if (i + 1 == end && end - start > 1 && n.steps < 8) v -= 5;
            if (n.steps >= 8) v += 3;
            if (n.accent) v += 12;
            out[i] = std::clamp(v, 1, 127);
            step += n.steps;
        }
        for (; end < notes.size() && notes[end].key < 0; ++end) step += notes[end].steps;
        start = end;
    }
    return out;
}

// Writes notes from tick on with the phrasing's articulation, vibrato, swell and scoops; keys[i]
// replaces notes[i].key (a second voice writes other keys to the same rhythm).
void WriteLine(Score& s, int channel, uint32_t tick, const std::vector<WrittenNote>& notes, const std::vector<int>& keys,
               const std::vector<int>& velocities, const Phrasing& phrasing) {
    bool vibratoOn = false;
    for (size_t i = 0; i < notes.size(); ++i) {
        const WrittenNote& n = notes[i];
        const uint32_t length = static_cast<uint32_t>(n.steps) * STEP;
        if (keys[i] >= 0) {
            if (vibratoOn) AddControl(s, channel, tick, 1, 0);
            vibratoOn = false;
            const bool held = n.steps >= 6;
            if (held && phrasing.vibrato) {
                Ramp(s, channel, 1, tick + length * 35 / 100, tick + length * 85 / 100, 0, 60);
                vibratoOn = true;
            }
            if (held && phrasing.swell) Ramp(s, channel, 11, tick, tick + length * 6 / 10, 100, 127);
            if (n.scoop) {
                // From a semitone under (the wheel's range is two) up to the note in a 32nd and a bit.
                const uint32_t glide = STEP * 3 / 4;
                for (int k = 0; k <= 6; ++k) {
                    const int bend = 8192 - 4096 * (6 - k) / 6;
                    s.events.push_back({tick + glide * static_cast<uint32_t>(k) / 6, 1,
                                        {static_cast<uint8_t>(0xE0 | channel), static_cast<uint8_t>(bend & 0x7F),
                                         static_cast<uint8_t>(bend >> 7)}});
                }
            }
            const auto held_ticks = static_cast<uint32_t>(std::max<double>(STEP / 2.0, length * phrasing.legato));
            AddNote(s, channel, tick, held_ticks, keys[i] + phrasing.transpose, velocities[i]);
        }
        tick += length;
    }
    if (vibratoOn) AddControl(s, channel, tick, 1, 0);
}

}  // namespace

// ---- chords ------------------------------------------------------------------------------------

std::vector<Chord> Progression(const char* text) {
    static const std::map<std::string, std::vector<int>> QUALITIES = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},           {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}},   {"m7", {0, 3, 7, 10}},      {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},      {"9", {0, 4, 7, 10, 14}},   {"m9", {0, 3, 7, 10, 14}},
        {"maj9", {0, 4, 7, 11, 14}}, {"add9", {0, 4, 7, 14}},  {"madd9", {0, 3, 7, 14}},
        {"sus2", {0, 2, 7}},       {"sus4", {0, 5, 7}},        {"7sus4", {0, 5, 7, 10}},
        {"dim", {0, 3, 6}},        {"m7b5", {0, 3, 6, 10}},    {"5", {0, 7}},
        {"13", {0, 4, 7, 10, 14, 21}}};
    std::vector<Chord> chords;
    const char* p = text;
    while (*p) {
        while (*p == ' ' || *p == '|') ++p;
        if (!*p) break;
        Chord c;
        c.root = ReadPitchClass(p);
        std::string quality;
        while (*p && *p != ' ' && *p != '/' && *p != ':') quality.push_back(*p++);
        const auto found = QUALITIES.find(quality);
        if (found == QUALITIES.end()) Fail("no such chord quality: " + quality);
        c.tones = found->second;
        c.bass = c.root;
        if (*p == '/') {
            ++p;
            c.bass = ReadPitchClass(p);
        }
        if (*p == ':') {
            ++p;
            c.beats = std::atoi(p);
            while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
            if (c.beats <= 0) Fail("a chord of no length");
        }
        chords.push_back(c);
    }
    return chords;
}

std::vector<Chord> Transposed(const std::vector<Chord>& chords, int semitones) {
    std::vector<Chord> out = chords;
    for (Chord& c : out) {
        c.root = Mod12(c.root + semitones);
        c.bass = Mod12(c.bass + semitones);
    }
    return out;
}

const Chord& ChordAt(const std::vector<Chord>& chords, int startBar, uint32_t tick) {
    int total = 0;
    for (const Chord& c : chords) total += c.beats;
    if (chords.empty() || total == 0) Fail("no chords");
    int beat = static_cast<int>((tick - BarTick(startBar)) / PPQ) % total;
    for (const Chord& c : chords) {
        if (beat < c.beats) return c;
        beat -= c.beats;
    }
    return chords.back();
}

namespace {

// The tick a progression starting at startBar ends at.
uint32_t ProgressionEnd(const std::vector<Chord>& chords, int startBar) {
    uint32_t ticks = 0;
    for (const Chord& c : chords) ticks += static_cast<uint32_t>(c.beats) * PPQ;
    return BarTick(startBar) + ticks;
}

// The tick the chord sounding at tick ends at.
uint32_t ChordEnd(const std::vector<Chord>& chords, int startBar, uint32_t tick) {
    uint32_t at = BarTick(startBar);
    for (;;) {
        for (const Chord& c : chords) {
            at += static_cast<uint32_t>(c.beats) * PPQ;
            if (at > tick) return at;
        }
    }
}

}  // namespace

// ---- events --------------------------------------------------------------------------------------

void SetTempo(Score& s, uint32_t tick, double bpm) {
    const auto micros = static_cast<uint32_t>(60000000.0 / bpm + 0.5);
    s.events.push_back({tick, 0, {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                                  static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)}});
}

void SetKey(Score& s, int root, const int* scale) {
    s.keyRoot = root;
    for (int i = 0; i < 7; ++i) s.scale[i] = scale[i];
}

void Marker(Score& s, int bar, const char* text) {
    MidiEvent e{BarTick(bar), 0, {0xFF, 0x06, static_cast<uint8_t>(std::strlen(text))}};
    for (const char* c = text; *c; ++c) e.bytes.push_back(static_cast<uint8_t>(*c));
    s.events.push_back(e);
}

void SetUpPart(Score& s, const Part& part) {
    const auto ch = static_cast<uint8_t>(part.channel);
    if (part.channel != DRUMS) s.events.push_back({0, 1, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(part.program)}});
    AddControl(s, part.channel, 0, 7, part.volume);
    AddControl(s, part.channel, 0, 10, part.pan);
    AddControl(s, part.channel, 0, 91, part.reverb);
    AddControl(s, part.channel, 0, 93, part.chorus);
    AddControl(s, part.channel, 0, 11, 127);
    AddControl(s, part.channel, 0, 1, 0);
}

void AddControl(Score& s, int channel, uint32_t tick, int control, int value) {
    s.events.push_back({tick, 1, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(control),
                                  static_cast<uint8_t>(std::clamp(value, 0, 127))}});
}

void Ramp(Score& s, int channel, int control, uint32_t fromTick, uint32_t toTick, int from, int to) {
    const uint32_t step = STEP / 2;
    const uint32_t span = std::max<uint32_t>(toTick - fromTick, 1);
    for (uint32_t t = fromTick; t < toTick; t += step) {
        AddControl(s, channel, t, control, from + static_cast<int>(std::lround((to - from) * double(t - fromTick) / span)));
    }
    AddControl(s, channel, toTick, control, to);
}

void AddNote(Score& s, int channel, uint32_t tick, uint32_t length, int key, int velocity) {
    if (key < 0 || key > 127 || length == 0) return;
    const auto ch = static_cast<uint8_t>(channel);
    const auto k = static_cast<uint8_t>(key);
    s.events.push_back({tick, 3, {static_cast<uint8_t>(0x90 | ch), k, static_cast<uint8_t>(std::clamp(velocity, 1, 127))}});
    s.events.push_back({tick + length, 2, {static_cast<uint8_t>(0x80 | ch), k, 0}});
}

// ---- part writers --------------------------------------------------------------------------------

void Melody(Score& s, int channel, int bar, int bars, const char* notes, const Phrasing& phrasing) {
    const std::vector<WrittenNote> parsed = ParseNotes(notes);
    CheckLength(parsed, bar, bars);
    std::vector<int> keys;
    for (const WrittenNote& n : parsed) keys.push_back(n.key);
    WriteLine(s, channel, BarTick(bar), parsed, keys, ShapedVelocities(parsed, phrasing.velocity), phrasing);
}

void SecondVoice(Score& s, int channel, int bar, int bars, const char* notes, const std::vector<Chord>& chords,
                 const Phrasing& phrasing) {
    std::vector<WrittenNote> parsed = ParseNotes(notes);
    CheckLength(parsed, bar, bars);
    const std::vector<Written> others = Accompaniment(s, channel);
    std::vector<int> keys;
    uint32_t tick = BarTick(bar);
    for (WrittenNote& n : parsed) {
        n.scoop = false;
        int key = -1;
        if (n.key >= 0) {
            // The chord's tones a third to a sixth below (on the beat), then the third, fourth
            // and sixth below in the key: the first that keeps clear of the other parts.
            const Chord& c = ChordAt(chords, bar, tick);
            std::vector<int> candidates;
            if (tick % PPQ == 0 || n.steps >= 4) {
                for (int k = n.key - 3; k >= n.key - 9; --k) {
                    if (HasPitchClass(c, Mod12(k))) candidates.push_back(k);
                }
            }
            for (int degrees : {2, 3, 5}) candidates.push_back(DegreesDown(s, n.key, degrees));
            const std::vector<int> sounding = SoundingKeys(others, tick);
            key = candidates.front();
            for (int k : candidates) {
                if (!Rubs(k + phrasing.transpose, sounding)) {
                    key = k;
                    break;
                }
            }
        }
        keys.push_back(key);
        tick += static_cast<uint32_t>(n.steps) * STEP;
    }
    WriteLine(s, channel, BarTick(bar), parsed, keys, ShapedVelocities(parsed, phrasing.velocity), phrasing);
}

void CounterLine(Score& s, int channel, int bar, const std::vector<Chord>& chords, const std::vector<int>& rhythm,
                 int low, int high, const Phrasing& phrasing) {
    std::vector<WrittenNote> line;
    std::vector<int> keys;
    int last = (low + high) / 2;
    int repeats = 0;
    const std::vector<Written> others = Accompaniment(s, channel, true);
    uint32_t tick = BarTick(bar);
    for (const Chord& c : chords) {
        const std::vector<int> colour = TonesByColour(c);
        const std::vector<int> guides(colour.begin(), colour.begin() + std::min<size_t>(colour.size(), 3));
        int left = c.beats * 4;
        for (size_t r = 0; left > 0; r = (r + 1) % rhythm.size()) {
            const int steps = std::min(std::abs(rhythm[r]), left);
            left -= steps;
            WrittenNote n;
            n.steps = steps;
            if (rhythm[r] > 0) {
                // The first note of a chord takes a guide tone; the others any tone of it, never
                // the same note three times running.
                const std::vector<int>& choices = r == 0 ? guides : colour;
                const std::vector<int> sounding = SoundingKeys(others, tick);
                int best = -1, bestCost = INT_MAX;
                for (int k = low; k <= high; ++k) {
                    if (std::find(choices.begin(), choices.end(), Mod12(k)) == choices.end()) continue;
                    const int move = std::abs(k - last);
                    int cost = move <= 2 ? move : 2 + (move - 2) * 2;
                    if (move == 0) cost = repeats >= 1 ? 20 : 1;
                    if (Rubs(k + phrasing.transpose, sounding)) cost += 100;
                    if (cost < bestCost) bestCost = cost, best = k;
                }
                if (best < 0) best = last;
                repeats = best == last ? repeats + 1 : 0;
                n.key = last = best;
            }
            line.push_back(n);
            keys.push_back(n.key);
            tick += static_cast<uint32_t>(steps) * STEP;
        }
    }
    WriteLine(s, channel, BarTick(bar), line, keys, ShapedVelocities(line, phrasing.velocity), phrasing);
}

namespace {

// Voices a chord for a pad: its colour tones first, at most four (a root or a fifth may be left
// to the bass), each placed within [low, high] so that the voices move least from the last chord,
// the chord keeps a compact shape, and no two of its notes, nor one of them and a note of the
// parts around it, rub a minor second or ninth (a major seventh is a colour, those are not).
std::vector<int> VoiceChord(const Chord& c, int low, int high, const std::vector<int>& previous,
                            const std::vector<int>& around) {
    std::vector<int> colour = TonesByColour(c);
    if (colour.size() > 4) colour.resize(4);
    std::vector<std::pair<std::vector<int>, int>> sets = {{colour, 0}};  // the tones, and the cost of leaving one out
    if (colour.size() == 4) {
        for (size_t drop = 0; drop < 4; ++drop) {
            std::vector<int> fewer = colour;
            fewer.erase(fewer.begin() + static_cast<long>(drop));
            const int interval = Mod12(colour[drop] - c.root);
            sets.push_back({fewer, interval == 0 ? 3 : interval == 7 ? 2 : 30});
        }
    }
    std::vector<int> best;
    int bestCost = INT_MAX;
    for (const auto& [pcs, dropCost] : sets) {
        std::vector<std::vector<int>> options;
        for (int pc : pcs) {
            std::vector<int> keys;
            for (int k = KeyAtOrAbove(pc, low); k <= high; k += 12) keys.push_back(k);
            if (keys.empty()) keys.push_back(KeyAtOrAbove(pc, low));
            options.push_back(keys);
        }
        std::vector<size_t> choice(pcs.size(), 0);
        for (;;) {
            std::vector<int> v;
            for (size_t i = 0; i < pcs.size(); ++i) v.push_back(options[i][choice[i]]);
            std::sort(v.begin(), v.end());
            int cost = dropCost;
            if (v.back() - v.front() > 14) cost += 6 * (v.back() - v.front() - 14);
            if (v.size() > 1 && v[1] - v[0] < 3) cost += 8;  // no cluster at the bottom
            for (size_t a = 0; a < v.size(); ++a) {
                for (size_t b = a + 1; b < v.size(); ++b) cost += Rubs(v[b], {v[a]}) ? 40 : 0;
                if (Rubs(v[a], around)) cost += 40;
                // From the last chord: the distance to its nearest voice.
                int nearest = previous.empty() ? std::abs(v[a] - (low + high) / 2) : INT_MAX;
                for (int p : previous) nearest = std::min(nearest, std::abs(v[a] - p));
                cost += nearest;
            }
            if (cost < bestCost) bestCost = cost, best = v;
            size_t i = 0;
            while (i < pcs.size() && ++choice[i] >= options[i].size()) choice[i++] = 0;
            if (i == pcs.size()) break;
        }
    }
    return best;
}

}  // namespace

void Pad(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* rhythm, int low, int high,
         int velocity, bool swell) {
    const size_t rhythmSteps = std::strlen(rhythm);
    const uint32_t end = ProgressionEnd(chords, bar);
    std::vector<int> sounding, previous;
    uint32_t struck = 0;
    const Chord* current = nullptr;
    const std::vector<Written> others = Accompaniment(s, channel, true);
    const auto release = [&](uint32_t at) {
        for (int key : sounding) AddNote(s, channel, struck, at - struck, key, velocity);
        sounding.clear();
    };
    for (uint32_t tick = BarTick(bar); tick < end; tick += STEP) {
        const char step = rhythm[((tick - BarTick(bar)) / STEP) % rhythmSteps];
        const Chord& c = ChordAt(chords, bar, tick);
        const bool changed = &c != current;
        current = &c;
        if (step == '.') {
            release(tick);
            continue;
        }
        // A chord is struck where the rhythm says, and again where the chord changes under a hold.
        if (step != 'c' && !(changed && step == '-' && !sounding.empty())) continue;
        release(tick);
        const uint32_t chordEnd = std::min(ChordEnd(chords, bar, tick), end);
        const std::vector<int> best = VoiceChord(c, low, high, previous, SoundingKeys(others, tick, chordEnd));
        sounding = previous = best;
        struck = tick;
        if (swell) {
            Ramp(s, channel, 11, tick, tick + (chordEnd - tick) / 2, 80, 120);
        }
    }
    release(end);
}

void PatternPart(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* pattern, int low,
                 int velocity) {
    std::vector<char> steps;
    std::vector<bool> accents;
    bool accent = false;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '!') {
            accent = true;
            continue;
        }
        steps.push_back(*p);
        accents.push_back(accent);
        accent = false;
    }
    if (steps.size() != 16) Fail(std::string("a pattern of other than 16 steps: ") + pattern);
    const uint32_t end = ProgressionEnd(chords, bar);
    const std::vector<Written> others = Accompaniment(s, channel);
    for (uint32_t tick = BarTick(bar); tick < end; tick += STEP) {
        const size_t i = (tick / STEP) % 16;
        const char ch = steps[i];
        if (ch == '-' || ch == '.') continue;
        const Chord& c = ChordAt(chords, bar, tick);
        const int bassKey = KeyAtOrAbove(c.bass, low);
        const int rootKey = KeyAtOrAbove(c.root, low);
        int key = -1;
        int vel = velocity;
        if (ch == '0' || ch == 'g') {
            key = bassKey;
            if (ch == 'g') vel -= 30;
        } else if (ch == '8') {
            key = bassKey + 12;
        } else if (ch == 'a') {
            const uint32_t next = ChordEnd(chords, bar, tick);
            const Chord& n = next < end ? ChordAt(chords, bar, next) : chords.front();
            key = KeyAtOrAbove(n.bass, low) - 1;
            if (key < low) key += 12;
        } else if (std::isdigit(static_cast<unsigned char>(ch))) {
            const int d = ch - '0';
            const int size = static_cast<int>(c.tones.size());
            key = rootKey + c.tones[static_cast<size_t>(d % size)] + 12 * (d / size);
        } else {
            Fail(std::string("no such pattern step: ") + ch);
        }
        if (channel != s.bassChannel && ch != 'a' && ch != 'g') {
            // A chord tone that would rub against another part moves an octave, or to the chord
            // tone beside it, if that clears it.
            const std::vector<int> sounding = SoundingKeys(others, tick);
            if (Rubs(key, sounding)) {
                const int size = static_cast<int>(c.tones.size());
                const auto tone = [&](int n) {
                    return n < 0 ? rootKey + c.tones.back() - 12 : rootKey + c.tones[static_cast<size_t>(n % size)] + 12 * (n / size);
                };
                const int d = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0' : 0;
                for (int moved : {key + 12, key - 12, tone(d + 1), tone(d - 1)}) {
                    if (moved >= low - 12 && !Rubs(moved, sounding)) {
                        key = moved;
                        break;
                    }
                }
            }
        }
        size_t held = i + 1;  // the note lasts over the holds that follow it (within the bar)
        while (held < 16 && steps[held] == '-') ++held;
        const uint32_t length = static_cast<uint32_t>(held - i) * STEP;
        vel += i == 0 ? 6 : i % 4 == 0 ? 3 : i % 2 == 0 ? 0 : -3;
        if (accents[i]) vel += 14;
        AddNote(s, channel, tick, ch == 'g' ? STEP / 2 : length * 9 / 10, key, vel);
    }
}

void Drums(Score& s, int bar, int bars, const std::vector<DrumLine>& lines, int velocity) {
    for (int b = 0; b < bars; ++b) {
        for (const DrumLine& line : lines) {
            const size_t steps = std::strlen(line.pattern);
            for (size_t i = 0; i < steps; ++i) {
                const char ch = line.pattern[i];
                if (ch != 'x' && ch != 'X' && ch != 'g') continue;
                const uint32_t tick = BarTick(bar + b) + static_cast<uint32_t>(i * BAR / steps);
                int vel = ch == 'X' ? velocity + 22 : ch == 'g' ? velocity - 42 : velocity;
                const size_t sixteenth = i * 16 / steps;
                vel += sixteenth % 4 == 0 ? 5 : sixteenth % 2 == 0 ? 0 : -6;
                vel += static_cast<int>((tick / STEP * 7 + static_cast<uint32_t>(line.key) * 13) % 7) - 3;  // a player's unevenness
                AddNote(s, DRUMS, tick, STEP / 2, line.key, vel);
            }
        }
    }
}

void DrumSection(Score& s, int bar, int bars, const std::vector<DrumLine>& groove,
                 const std::vector<std::vector<DrumLine>>& fills, int velocity) {
    constexpr int CRASH = 49;
    for (int b = 0; b < bars; ++b) {
        const bool fill = b % 4 == 3 && !fills.empty();
        Drums(s, bar + b, 1, fill ? fills[static_cast<size_t>(b / 4) % fills.size()] : groove, velocity);
        if (b % 4 == 0) Drums(s, bar + b, 1, {{CRASH, b == 0 ? "X..............." : "x..............."}}, velocity);
    }
}

// ---- the file ------------------------------------------------------------------------------------

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutVarLen(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t buffer[5];
    int n = 0;
    buffer[n++] = static_cast<uint8_t>(value & 0x7F);
    while ((value >>= 7) != 0) buffer[n++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(buffer[--n]);
}

}  // namespace

std::vector<uint8_t> SaveMidi(Score& s, int totalBars, const char* title) {
    const uint32_t end = static_cast<uint32_t>(totalBars) * BAR;
    // Nothing sounds past the last bar line: a note running over it is cut there.
    std::vector<MidiEvent> events;
    for (MidiEvent e : s.events) {
        if (e.tick >= end && !(e.tick == end && (e.bytes[0] & 0xF0) == 0x80)) {
            if ((e.bytes[0] & 0xF0) != 0x80) continue;
            e.tick = end;
        }
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    // A key struck again while it still sounds is closed first, and its own later note-off
    // dropped, so that it does not cut the new note short.
    std::array<int, 16 * 128> sounding{};
    std::vector<MidiEvent> played;
    for (const MidiEvent& e : events) {
        const int kind = e.bytes[0] & 0xF0;
        if (kind == 0x80 || kind == 0x90) {
            int& count = sounding[static_cast<size_t>((e.bytes[0] & 0x0F) * 128 + e.bytes[1])];
            if (kind == 0x90) {
                if (count > 0) played.push_back({e.tick, 2, {static_cast<uint8_t>(0x80 | (e.bytes[0] & 0x0F)), e.bytes[1], 0}});
                count += 1;
            } else {
                count -= 1;
                if (count > 0) continue;  // an earlier strike's off: the key was closed already
                count = 0;
            }
        }
        played.push_back(e);
    }

    std::vector<uint8_t> track;
    const std::string name(title);
    track.push_back(0);
    track.push_back(0xFF);
    track.push_back(0x03);
    PutVarLen(track, static_cast<uint32_t>(name.size()));
    track.insert(track.end(), name.begin(), name.end());
    const uint8_t timeSignature[] = {0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8};
    for (uint8_t b : timeSignature) track.push_back(b);
    uint32_t last = 0;
    for (const MidiEvent& e : played) {
        PutVarLen(track, e.tick - last);
        last = e.tick;
        for (uint8_t b : e.bytes) track.push_back(b);
    }
    PutVarLen(track, end - last);
    track.push_back(0xFF);
    track.push_back(0x2F);
    track.push_back(0x00);

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    Put(file, 6, 4);
    Put(file, 0, 2);  // format 0: one track
    Put(file, 1, 2);
    Put(file, PPQ, 2);
    for (char c : std::string("MTrk")) file.push_back(static_cast<uint8_t>(c));
    Put(file, static_cast<uint32_t>(track.size()), 4);
    for (uint8_t b : track) file.push_back(b);
    return file;
}

bool WriteMusic(const std::string& outDir) {
    const std::vector<uint8_t> pieces[6] = {ComposeStageThemeA(), ComposeStageThemeB(), ComposeShipSelect(),
                                            ComposeBossTheme(),   ComposeStory(),       ComposeEnding()};
    for (int i = 0; i < 6; ++i) {
        const std::string name = outDir + "/bgm0" + std::to_string(i + 1) + ".mid";
        if (!WriteFileBytes(name, pieces[i])) return false;
    }
    return true;
}

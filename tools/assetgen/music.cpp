// The music: six General MIDI pieces, bgm01.mid .. bgm06.mid, written in the score language of
// music_score.h (the pieces themselves are in music_pieces.cpp). This file is the core of the
// language: pitches, chords, note strings, events and the writers of lines. The accompaniment's
// writers are in music_accompaniment.cpp; the MIDI writer, which sorts the events, closes a note
// before the same key strikes again, and puts the end of the track on the last bar line so a
// restart joins in time, is in music_midi.cpp.
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
#include "music_writing.h"

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "assetgen: music: %s\n", what.c_str());
    std::exit(1);
}

namespace {

int PitchClass(char letter) {
    static constexpr int CLASSES[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const int index = std::toupper(static_cast<unsigned char>(letter)) - 'A';
    if (index < 0 || index > 6) Fail(std::string("no such note: ") + letter);
    return CLASSES[index];
}

}  // namespace

int Mod12(int v) { return ((v % 12) + 12) % 12; }

namespace {

// Reads a note letter and its accidental from text, moving text on: semitones above C, which a
// sharp or a flat may take past either end of the octave (B# is 12, Cb is -1).
int ReadSpelledPitch(const char*& text) {
    int pc = PitchClass(*text++);
    if (*text == '#') {
        ++pc;
        ++text;
    } else if (*text == 'b') {
        --pc;
        ++text;
    }
    return pc;
}

int ReadPitchClass(const char*& text) { return Mod12(ReadSpelledPitch(text)); }

// "C#5" -> 73; the octave may be negative ("C-1"); "B#4" is C5.
int ParsePitch(const std::string& name) {
    const char* p = name.c_str();
    const int pc = ReadSpelledPitch(p);
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

}  // namespace

int KeyAtOrAbove(int pc, int low) { return low + Mod12(pc - low); }

std::vector<Written> Accompaniment(const Score& s, int channel, bool theLead) {
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

std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t from, uint32_t to) {
    std::vector<int> keys;
    for (const Written& n : notes) {
        if (n.on < to && n.off > from) keys.push_back(n.key);
    }
    return keys;
}

std::vector<int> SoundingKeys(const std::vector<Written>& notes, uint32_t tick) { return SoundingKeys(notes, tick, tick + 1); }

bool Rubs(int key, const std::vector<int>& keys) {
    for (int k : keys) {
        const int d = std::abs(k - key);
        if (d == 1 || d == 13) return true;
    }
    return false;
}

namespace {

bool HasPitchClass(const Chord& c, int pc) {
    for (int t : c.tones) {
        if (Mod12(c.root + t) == pc) return true;
    }
    return Mod12(c.bass) == pc;
}

}  // namespace

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

namespace {

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

}  // namespace

uint32_t BarTick(int bar) { return static_cast<uint32_t>(bar) * BAR; }

namespace {

void CheckLength(const std::vector<WrittenNote>& notes, int bar, int bars) {
    int steps = 0;
    for (const WrittenNote& n : notes) steps += n.steps;
    if (steps != bars * 16) {
        Fail("a line at bar " + std::to_string(bar + 1) + " fills " + std::to_string(steps) + " sixteenths, not " +
             std::to_string(bars * 16));
    }
}

}  // namespace

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
                    s.events.push_back({tick + glide * static_cast<uint32_t>(k) / 6,
                                        1,
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

// ---- chords ------------------------------------------------------------------------------------

std::vector<Chord> Progression(const char* text) {
    static const std::map<std::string, std::vector<int>> QUALITIES = {{"", {0, 4, 7}},
                                                                      {"m", {0, 3, 7}},
                                                                      {"7", {0, 4, 7, 10}},
                                                                      {"maj7", {0, 4, 7, 11}},
                                                                      {"m7", {0, 3, 7, 10}},
                                                                      {"6", {0, 4, 7, 9}},
                                                                      {"m6", {0, 3, 7, 9}},
                                                                      {"9", {0, 4, 7, 10, 14}},
                                                                      {"m9", {0, 3, 7, 10, 14}},
                                                                      {"maj9", {0, 4, 7, 11, 14}},
                                                                      {"add9", {0, 4, 7, 14}},
                                                                      {"madd9", {0, 3, 7, 14}},
                                                                      {"sus2", {0, 2, 7}},
                                                                      {"sus4", {0, 5, 7}},
                                                                      {"7sus4", {0, 5, 7, 10}},
                                                                      {"dim", {0, 3, 6}},
                                                                      {"m7b5", {0, 3, 6, 10}},
                                                                      {"5", {0, 7}},
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

// ---- events --------------------------------------------------------------------------------------

void SetTempo(Score& s, uint32_t tick, double bpm) {
    const auto micros = static_cast<uint32_t>(60000000.0 / bpm + 0.5);
    s.events.push_back({tick,
                        0,
                        {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16), static_cast<uint8_t>(micros >> 8),
                         static_cast<uint8_t>(micros)}});
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
    s.events.push_back(
        {tick,
         1,
         {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(control), static_cast<uint8_t>(std::clamp(value, 0, 127))}});
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

// The music: six General MIDI pieces, bgm01.mid .. bgm06.mid, written from the score language
// below (the pieces themselves are in music_pieces.cpp). The language knows notes, chords, step
// patterns and drums; the writer sorts the events, closes every note before the next starts at
// the same tick, and puts the end of the track on the last bar line so a restart joins in time.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assetgen.h"
#include "music_score.h"

namespace {

int PitchClass(char letter) {
    static constexpr int CLASSES[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    return CLASSES[std::toupper(static_cast<unsigned char>(letter)) - 'A'];
}

// "C#5" -> 73; the accidental is optional, the octave may be negative ("C-1").
int ParsePitch(const std::string& name) {
    int pc = PitchClass(name[0]);
    size_t i = 1;
    if (i < name.size() && name[i] == '#') {
        ++pc;
        ++i;
    } else if (i < name.size() && name[i] == 'b') {
        --pc;
        ++i;
    }
    const int octave = std::atoi(name.c_str() + i);
    return 12 * (octave + 1) + pc;
}

// Moves a note the given number of steps down the score's scale; a note outside the scale
// (a leading tone) is first taken to the scale note below it.
int DegreesDown(const Score& s, int key, int degrees) {
    int rel = ((key - s.keyRoot) % 12 + 12) % 12;
    int base = key - rel;
    int degree = -1;
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

std::vector<Chord> Progression(const char* text) {
    std::vector<Chord> chords;
    const char* p = text;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        Chord c;
        c.root = PitchClass(*p++);
        if (*p == '#') {
            ++c.root;
            ++p;
        } else if (*p == 'b') {
            --c.root;
            ++p;
        }
        c.root = (c.root + 12) % 12;
        if (*p == 'm') {
            c.minor = true;
            ++p;
        }
        if (*p == '7') {
            c.seventh = true;
            ++p;
        }
        chords.push_back(c);
    }
    return chords;
}

void SetTempo(Score& s, uint32_t tick, double bpm) {
    const auto micros = static_cast<uint32_t>(60000000.0 / bpm + 0.5);
    s.events.push_back({tick, 0, {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                                  static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)}});
}

void SetProgram(Score& s, int channel, int program, int volume, int pan) {
    const auto ch = static_cast<uint8_t>(channel);
    s.events.push_back({0, 1, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(program)}});
    AddControl(s, channel, 0, 7, volume);
    AddControl(s, channel, 0, 10, pan);
    AddControl(s, channel, 0, 91, 40);  // a little reverb on every part
}

void AddControl(Score& s, int channel, uint32_t tick, int control, int value) {
    s.events.push_back({tick, 1, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(control),
                                  static_cast<uint8_t>(value)}});
}

void AddNote(Score& s, int channel, uint32_t tick, uint32_t length, int key, int velocity) {
    if (key < 0 || key > 127 || length == 0) return;
    const auto ch = static_cast<uint8_t>(channel);
    const auto k = static_cast<uint8_t>(key);
    const auto v = static_cast<uint8_t>(std::clamp(velocity, 1, 127));
    // Drum hits are short triggers; pitched notes end a hair early so repeated notes re-strike.
    const uint32_t held = channel == DRUMS ? std::min<uint32_t>(length, STEP) : length - std::min<uint32_t>(length / 8, 20);
    s.events.push_back({tick, 3, {static_cast<uint8_t>(0x90 | ch), k, v}});
    s.events.push_back({tick + held, 2, {static_cast<uint8_t>(0x80 | ch), k, 0}});
}

uint32_t Melody(Score& s, int channel, uint32_t tick, const char* notes, int velocity, int transpose,
                int degreesBelow) {
    const char* p = notes;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        std::string word;
        while (*p && *p != ' ') word.push_back(*p++);
        const size_t colon = word.find(':');
        const int steps = colon == std::string::npos ? 4 : std::atoi(word.c_str() + colon + 1);
        const std::string name = word.substr(0, colon);
        const uint32_t length = static_cast<uint32_t>(steps) * STEP;
        if (name != "r") {
            int key = ParsePitch(name);
            if (degreesBelow > 0) key = DegreesDown(s, key, degreesBelow);
            AddNote(s, channel, tick, length, key + transpose, velocity);
        }
        tick += length;
    }
    return tick;
}

void PatternPart(Score& s, int channel, int startBar, const std::vector<Chord>& chords, const char* pattern,
                 int lowKey, int velocity) {
    // The pattern's steps, each with its accent; '!' marks the step after it.
    std::vector<char> steps;
    std::vector<bool> accents;
    bool accent = false;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '!') {
            accent = true;
            continue;
        }
        steps.push_back(*p);
        accents.push_back(accent || *p == 'C');
        accent = false;
    }
    const uint32_t stepTicks = static_cast<uint32_t>(BAR) / static_cast<uint32_t>(steps.size());
    for (size_t bar = 0; bar < chords.size(); ++bar) {
        const Chord& c = chords[bar];
        const int root = lowKey + ((c.root - lowKey) % 12 + 12) % 12;
        const int tones[3] = {0, c.minor ? 3 : 4, 7};
        const uint32_t barTick = static_cast<uint32_t>(startBar + static_cast<int>(bar)) * BAR;
        for (size_t i = 0; i < steps.size(); ++i) {
            const char ch = steps[i];
            if (ch == '-' || ch == '.') continue;
            size_t end = i + 1;  // the note lasts over the holds that follow it
            while (end < steps.size() && steps[end] == '-') ++end;
            const uint32_t tick = barTick + static_cast<uint32_t>(i) * stepTicks;
            const uint32_t length = static_cast<uint32_t>(end - i) * stepTicks;
            const int vel = accents[i] ? velocity + 18 : velocity;
            if (ch == 'c' || ch == 'C') {
                for (int t : tones) AddNote(s, channel, tick, length, root + t, vel - 6);
                if (c.seventh) AddNote(s, channel, tick, length, root + 10, vel - 6);
            } else if (std::isdigit(static_cast<unsigned char>(ch))) {
                const int n = ch - '0';
                AddNote(s, channel, tick, length, root + tones[n % 3] + 12 * (n / 3), vel);
            }
        }
    }
}

void DrumPart(Score& s, int startBar, int count, const std::vector<DrumLine>& lines, int velocity) {
    for (int bar = 0; bar < count; ++bar) {
        const uint32_t barTick = static_cast<uint32_t>(startBar + bar) * BAR;
        for (const DrumLine& line : lines) {
            const size_t steps = std::strlen(line.pattern);
            for (size_t i = 0; i < steps; ++i) {
                const char ch = line.pattern[i];
                if (ch != 'x' && ch != 'X' && ch != 'g') continue;
                const int vel = ch == 'X' ? velocity + 20 : ch == 'g' ? velocity - 35 : velocity;
                AddNote(s, DRUMS, barTick + static_cast<uint32_t>(i * BAR / steps), STEP, line.key, vel);
            }
        }
    }
}

std::vector<uint8_t> SaveMidi(Score& s, int totalBars, const char* title) {
    const uint32_t end = static_cast<uint32_t>(totalBars) * BAR;
    // Nothing sounds past the last bar line: a note running over it is cut there.
    std::vector<MidiEvent> events;
    for (MidiEvent e : s.events) {
        if (e.tick > end) {
            if ((e.bytes[0] & 0xF0) != 0x80) continue;
            e.tick = end;
        }
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
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
    for (const MidiEvent& e : events) {
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

// The music's accompaniment, written against the chords and kept clear of the notes already
// written: the counter-line, the pad, the patterned parts (bass lines, arpeggios) and the drums.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "music_writing.h"

void CounterLine(Score& s, int channel, int bar, const std::vector<Chord>& chords, const std::vector<int>& rhythm, int low,
                 int high, const Phrasing& phrasing) {
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

// Voices a chord for a pad: its colour tones first, at most four (a root or a fifth may be left
// to the bass), each placed within [low, high] so that the voices move least from the last chord,
// the chord keeps a compact shape, and no two of its notes, nor one of them and a note of the
// parts around it, rub a minor second or ninth (a major seventh is a colour, those are not).
std::vector<int> VoiceChord(const Chord& c, int low, int high, const std::vector<int>& previous, const std::vector<int>& around) {
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

void Pad(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* rhythm, int low, int high, int velocity,
         bool swell) {
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

void PatternPart(Score& s, int channel, int bar, const std::vector<Chord>& chords, const char* pattern, int low, int velocity) {
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
                    return n < 0 ? rootKey + c.tones.back() - 12
                                 : rootKey + c.tones[static_cast<size_t>(n % size)] + 12 * (n / size);
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
                vel +=
                    static_cast<int>((tick / STEP * 7 + static_cast<uint32_t>(line.key) * 13) % 7) - 3;  // a player's unevenness
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

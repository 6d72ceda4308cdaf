// The six pieces of the soundtrack, written in the score language of music_score.h. Each has an
// intro, an A and a B section, and ends on a chord that leads back into its first bar, because the
// game restarts a piece from its beginning when it ends.
//   bgm01 stage theme A: A minor, 156 bpm, saw lead with a square second voice in thirds.
//   bgm02 stage theme B: D minor, 140 bpm, syncopated, synth brass lead over poly-synth stabs.
//   bgm03 ship selection: D major, 120 bpm, vibraphone over a square-wave arpeggio.
//   bgm04 boss: E minor with a Phrygian F, 170 bpm, low brass over distorted guitar and toms.
//   bgm05 story: D minor, 74 bpm, piano and pads, no drums.
//   bgm06 ending: C major rising to D major, 92 bpm, horn, strings and piano, a held last chord.
#include <cstdio>

#include "music_score.h"

namespace {

// General MIDI programs (numbered from 0) and drum keys used below.
enum Program {
    GRAND_PIANO = 0, VIBRAPHONE = 11, DISTORTION_GUITAR = 30, FINGERED_BASS = 33, SYNTH_BASS_1 = 38,
    SYNTH_BASS_2 = 39, STRINGS = 48, SYNTH_STRINGS = 50, TIMPANI = 47, FRENCH_HORN = 60, BRASS_SECTION = 61,
    SYNTH_BRASS = 62, SQUARE_LEAD = 80, SAW_LEAD = 81, CHARANG = 84, NEW_AGE_PAD = 88, WARM_PAD = 89,
    POLY_SYNTH = 90, SWEEP_PAD = 95
};
enum Drum {
    KICK = 36, SNARE = 38, CLAP = 39, LOW_FLOOR_TOM = 41, CLOSED_HAT = 42, LOW_TOM = 45, OPEN_HAT = 46,
    MID_TOM = 47, HIGH_TOM = 50, CRASH = 49, RIDE = 51
};

constexpr int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};

void SetKey(Score& s, int root, const int* scale) {
    s.keyRoot = root;
    for (int i = 0; i < 7; ++i) s.scale[i] = scale[i];
}

uint32_t BarTick(int bar) { return static_cast<uint32_t>(bar) * BAR; }

// A melody that must fill whole bars from its first bar on; a miscounted line is reported, since
// it would shift everything after it against the chords.
void Line(Score& s, int channel, int bar, int bars, const char* notes, int velocity, int transpose = 0,
          int degreesBelow = 0) {
    const uint32_t end = Melody(s, channel, BarTick(bar), notes, velocity, transpose, degreesBelow);
    if (end != BarTick(bar + bars)) {
        std::fprintf(stderr, "assetgen: a melody at bar %d ends at tick %u, not %u\n", bar, end, BarTick(bar + bars));
    }
}

void Crash(Score& s, int bar) { DrumPart(s, bar, 1, {{CRASH, "x..............."}}, 100); }

// ---- bgm01 -----------------------------------------------------------------------------------

constexpr const char* THEME_A_VERSE =
    "A4:4 C5:2 E5:2 A5:4 G5:2 E5:2  F5:6 E5:2 C5:4 A4:4  B4:4 D5:2 G5:2 F5:2 E5:2 D5:4  E5:8 r:4 B4:2 C5:2 "
    "A4:4 C5:2 E5:2 A5:4 B5:2 C6:2  C6:4 A5:4 F5:4 A5:4  G5:4 D5:2 G5:2 B5:4 A5:2 G5:2  G#5:8 E5:4 B4:4";
constexpr const char* THEME_A_VERSE_2 =
    "A4:4 C5:2 E5:2 A5:4 G5:2 E5:2  F5:6 E5:2 C5:4 A4:4  B4:4 D5:2 G5:2 F5:2 E5:2 D5:4  E5:8 r:4 B4:2 C5:2 "
    "E5:2 A5:2 C6:2 B5:2 A5:4 E5:4  F5:2 A5:2 C6:4 D6:4 C6:4  B5:4 G5:4 D5:4 G5:4  B5:8 G#5:4 E5:4";
constexpr const char* THEME_A_BRIDGE =
    "C6:8 A5:8  B5:8 D6:8  E6:12 D6:2 C6:2  A5:16  F5:4 A5:4 D6:8  E6:4 D6:4 B5:8  C6:4 A5:4 F5:4 C6:4  D6:8 B5:8";
constexpr const char* THEME_A_BRIDGE_END =
    "C6:8 A5:8  B5:8 D6:8  E6:12 D6:2 C6:2  A5:16  F5:4 A5:4 D6:8  E6:4 D6:4 B5:8  C6:4 A5:4 F5:4 C6:4  B5:8 G#5:8";

void ThemeADrums(Score& s, int bar, int count) {
    const std::vector<DrumLine> beat = {{KICK, "x...x...x...x..."}, {SNARE, "....x.......x..."},
                                        {CLOSED_HAT, "x.x.x.x.x.x.x.x."}, {OPEN_HAT, "..............x."}};
    const std::vector<DrumLine> fill = {{KICK, "x...x...x.x....."}, {SNARE, "....x.......xxxx"},
                                        {CLOSED_HAT, "x.x.x.x.x.x....."}};
    DrumPart(s, bar, count - 1, beat, 92);
    DrumPart(s, bar + count - 1, 1, fill, 92);
    Crash(s, bar);
}

}  // namespace

std::vector<uint8_t> ComposeStageThemeA() {
    Score s;
    SetKey(s, 9, MINOR);
    SetTempo(s, 0, 156);
    SetProgram(s, 0, SAW_LEAD, 96, 70);
    SetProgram(s, 1, SQUARE_LEAD, 72, 50);
    SetProgram(s, 2, SYNTH_BASS_1, 110, 64);
    SetProgram(s, 3, WARM_PAD, 70, 64);
    const char* bass = "!0-0-3-0-!0-0-3-2-";
    // Intro: the bass ostinato and pad, the drums coming in, a rising square arpeggio.
    const auto intro = Progression("Am Am F G");
    PatternPart(s, 2, 0, intro, bass, 33, 96);
    PatternPart(s, 3, 0, intro, "c---------------", 57, 70);
    DrumPart(s, 0, 2, {{KICK, "x...x...x...x..."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."}}, 88);
    ThemeADrums(s, 2, 2);
    PatternPart(s, 1, 2, Progression("F G"), "0123450123453210", 57, 70);
    // A, A', B, A, B' (the last one turns on E back to the intro's A minor).
    const auto verse = Progression("Am F G Em Am F G E");
    const auto bridge = Progression("F G Am Am Dm Em F G");
    const auto bridgeEnd = Progression("F G Am Am Dm Em F E");
    const struct {
        int bar;
        const std::vector<Chord>* chords;
        const char* melody;
    } sections[] = {{4, &verse, THEME_A_VERSE},      {12, &verse, THEME_A_VERSE_2},
                    {20, &bridge, THEME_A_BRIDGE},   {28, &verse, THEME_A_VERSE_2},
                    {36, &bridgeEnd, THEME_A_BRIDGE_END}};
    for (const auto& section : sections) {
        PatternPart(s, 2, section.bar, *section.chords, bass, 33, 100);
        PatternPart(s, 3, section.bar, *section.chords, "c---------------", 57, 64);
        Line(s, 0, section.bar, 8, section.melody, 100);
        Line(s, 1, section.bar, 8, section.melody, 78, 0, 2);
        if (section.chords == &verse) {
            ThemeADrums(s, section.bar, 8);
        } else {
            DrumPart(s, section.bar, 7, {{KICK, "x...x...x...x..."}, {SNARE, "....x.......x..."},
                                         {RIDE, "x.x.x.x.x.x.x.x."}}, 90);
            DrumPart(s, section.bar + 7, 1, {{KICK, "x.x.x.x.x.x.x.x."}, {SNARE, "....x...xxxxXXXX"}}, 90);
            Crash(s, section.bar);
        }
    }
    return SaveMidi(s, 44, "Ring Debris");
}

// ---- bgm02 -----------------------------------------------------------------------------------

namespace {

constexpr const char* THEME_B_VERSE =
    "D5:3 F5:3 A5:2 G5:3 F5:3 E5:2  D5:3 F5:3 Bb5:4 A5:2 G5:4  E5:3 G5:3 C6:2 Bb5:3 A5:3 G5:2  A5:10 r:2 F5:2 G5:2 "
    "D5:3 F5:3 A5:2 D6:3 C6:3 A5:2  Bb5:3 A5:3 F5:2 D5:8  G5:3 Bb5:3 D6:2 C6:3 Bb5:3 G5:2  A5:6 C#6:2 E6:4 A5:4";
constexpr const char* THEME_B_BRIDGE =
    "G5:8 Bb5:4 D6:4  C6:6 Bb5:2 A5:4 G5:4  F5:8 A5:4 D6:4  E6:6 D6:2 C6:4 A5:4 "
    "Bb5:4 D6:4 F6:8  E6:4 C6:4 G5:8  F5:3 E5:3 D5:2 A5:8  C#6:8 E6:8";

void ThemeBDrums(Score& s, int bar, int count) {
    DrumPart(s, bar, count - 1,
             {{KICK, "x..x..x...x..x.."}, {SNARE, "....x..g....x.g."}, {CLOSED_HAT, "xgxgxgxgxgxgxgxg"}}, 90);
    DrumPart(s, bar + count - 1, 1,
             {{KICK, "x..x..x...x....."}, {SNARE, "....x..g..xxXxXX"}, {CLOSED_HAT, "xgxgxgxgxg......"}}, 90);
    Crash(s, bar);
}

}  // namespace

std::vector<uint8_t> ComposeStageThemeB() {
    Score s;
    SetKey(s, 2, MINOR);
    SetTempo(s, 0, 140);
    SetProgram(s, 0, SYNTH_BRASS, 100, 64);
    SetProgram(s, 1, POLY_SYNTH, 72, 40);
    SetProgram(s, 2, SYNTH_BASS_2, 112, 64);
    SetProgram(s, 3, SWEEP_PAD, 64, 64);
    SetProgram(s, 4, CHARANG, 70, 88);
    const char* bass = "!0--0--0-!0--3-20-";
    const auto intro = Progression("Dm Dm Bb C");
    PatternPart(s, 2, 0, intro, bass, 38, 96);
    PatternPart(s, 3, 0, intro, "c---------------", 57, 64);
    DrumPart(s, 0, 2, {{KICK, "x..x..x...x..x.."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."}}, 86);
    ThemeBDrums(s, 2, 2);
    const auto verse = Progression("Dm Bb C Dm Dm Bb Gm A");
    const auto bridge = Progression("Gm Gm Dm Dm Bb C Dm A");
    const struct {
        int bar;
        bool isVerse;
        bool counter;
    } sections[] = {{4, true, false}, {12, true, true}, {20, false, false}, {28, true, true}, {36, false, true}};
    for (const auto& section : sections) {
        const auto& chords = section.isVerse ? verse : bridge;
        const char* melody = section.isVerse ? THEME_B_VERSE : THEME_B_BRIDGE;
        PatternPart(s, 2, section.bar, chords, bass, 38, 100);
        PatternPart(s, 1, section.bar, chords, "..c..c....c..c..", 60, 72);
        PatternPart(s, 3, section.bar, chords, "c---------------", 57, 58);
        Line(s, 0, section.bar, 8, melody, 100);
        if (section.counter) Line(s, 4, section.bar, 8, melody, 70, -12, 2);
        ThemeBDrums(s, section.bar, 8);
    }
    return SaveMidi(s, 44, "Carrier Fleet");
}

// ---- bgm03 -----------------------------------------------------------------------------------

namespace {

constexpr const char* SELECT_VERSE =
    "F#5:4 A5:4 D6:6 C#6:2  B5:4 F#5:4 D5:8  G5:4 B5:4 D6:4 B5:4  A5:12 r:4 "
    "F#5:4 A5:4 D6:4 E6:4  C#6:4 A5:4 F#5:8  G5:2 A5:2 B5:4 E6:4 D6:4  C#6:8 E5:4 A5:4";
constexpr const char* SELECT_BRIDGE =
    "D6:6 B5:2 G5:8  E6:6 C#6:2 A5:8  F#6:4 E6:4 C#6:4 A5:4  D6:8 B5:8 "
    "G5:4 B5:4 E6:6 D6:2  C#6:4 E6:4 A6:8  F#6:8 D6:8  E6:8 C#6:8";

void SelectDrums(Score& s, int bar, int count) {
    DrumPart(s, bar, count, {{KICK, "x.......x.x....."}, {CLAP, "....x.......x..."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."}},
             80);
}

}  // namespace

std::vector<uint8_t> ComposeShipSelect() {
    Score s;
    SetKey(s, 2, MAJOR);
    SetTempo(s, 0, 120);
    SetProgram(s, 0, VIBRAPHONE, 104, 64);
    SetProgram(s, 1, SQUARE_LEAD, 62, 44);
    SetProgram(s, 2, FINGERED_BASS, 104, 64);
    SetProgram(s, 3, NEW_AGE_PAD, 60, 84);
    const char* arp = "0123432101234321";
    const char* bass = "0--0--0-0-2-3-2-";
    const auto intro = Progression("D A");
    PatternPart(s, 1, 0, intro, arp, 62, 72);
    PatternPart(s, 2, 1, Progression("A"), bass, 38, 90);
    const auto verse = Progression("D Bm G A D F#m G A");
    const auto bridge = Progression("G A F#m Bm Em A D A");
    const int starts[4] = {2, 10, 18, 26};
    for (int i = 0; i < 4; ++i) {
        const bool isVerse = i % 2 == 0;
        const auto& chords = isVerse ? verse : bridge;
        PatternPart(s, 1, starts[i], chords, arp, 62, 72);
        PatternPart(s, 2, starts[i], chords, bass, 38, 96);
        PatternPart(s, 3, starts[i], chords, "c-------c-------", 57, 60);
        Line(s, 0, starts[i], 8, isVerse ? SELECT_VERSE : SELECT_BRIDGE, 96);
        SelectDrums(s, starts[i], 8);
        Crash(s, starts[i]);
    }
    return SaveMidi(s, 34, "Hangar");
}

// ---- bgm04 -----------------------------------------------------------------------------------

namespace {

constexpr const char* BOSS_VERSE =
    "E4:4 G4:4 B4:6 A4:2  G4:4 F#4:4 E4:8  C5:4 B4:4 G4:4 E4:4  D#5:8 B4:8 "
    "E5:4 D5:4 B4:6 G4:2  A4:4 B4:4 G4:8  F5:4 E5:4 C5:4 A4:4  B4:12 D#5:4";
constexpr const char* BOSS_BRIDGE = "A4:8 C5:8  E5:12 D5:4  B4:8 G4:8  E5:16  G5:8 E5:8  F#5:8 A5:8  B5:16  D#5:8 F#5:8";

void BossRiff(Score& s, int bar, const std::vector<Chord>& chords) {
    const char* riff = "0-0.0.0.0-0.000.";
    PatternPart(s, 1, bar, chords, riff, 40, 100);
    PatternPart(s, 1, bar, chords, "2-2.2.2.2-2.222.", 40, 92);
    PatternPart(s, 2, bar, chords, "0.0.0.0.0.0.0.0.", 28, 104);
}

void BossDrums(Score& s, int bar, int count) {
    DrumPart(s, bar, count - 1,
             {{KICK, "x.x...x.x.x...x."}, {SNARE, "....X.......X..."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."},
              {LOW_FLOOR_TOM, "..........x..x.."}},
             96);
    DrumPart(s, bar + count - 1, 1,
             {{KICK, "x.x.x.x.x.x.x.x."}, {HIGH_TOM, "xx.............."}, {MID_TOM, "....xx.x........"},
              {LOW_TOM, "........xx.x...."}, {LOW_FLOOR_TOM, "............xxXX"}},
             100);
    Crash(s, bar);
}

}  // namespace

std::vector<uint8_t> ComposeBossTheme() {
    Score s;
    SetKey(s, 4, MINOR);
    SetTempo(s, 0, 170);
    SetProgram(s, 0, BRASS_SECTION, 110, 64);
    SetProgram(s, 1, DISTORTION_GUITAR, 86, 44);
    SetProgram(s, 2, SYNTH_BASS_1, 108, 64);
    SetProgram(s, 3, SYNTH_STRINGS, 66, 84);
    // Intro: pounding toms under guitar hits on E, then the riff.
    DrumPart(s, 0, 2, {{LOW_FLOOR_TOM, "x..x..x.x..x..x."}, {LOW_TOM, "......x.......xx"}, {KICK, "x.......x......."}},
             100);
    PatternPart(s, 1, 0, Progression("Em Em"), "0-------0-----0-", 40, 100);
    BossRiff(s, 2, Progression("Em Em"));
    BossDrums(s, 2, 2);
    const auto verse = Progression("Em Em C B Em Em F B");
    const auto bridge = Progression("Am Am Em Em C D B B");
    const int starts[5] = {4, 12, 20, 28, 36};
    for (int i = 0; i < 5; ++i) {
        const bool isVerse = i != 2 && i != 4;
        const auto& chords = isVerse ? verse : bridge;
        BossRiff(s, starts[i], chords);
        PatternPart(s, 3, starts[i], chords, "c---------------", 52, 60);
        Line(s, 0, starts[i], 8, isVerse ? BOSS_VERSE : BOSS_BRIDGE, 104);
        BossDrums(s, starts[i], 8);
    }
    return SaveMidi(s, 44, "Armada Heart");
}

// ---- bgm05 -----------------------------------------------------------------------------------

namespace {

constexpr const char* STORY_VERSE =
    "A5:8 F5:4 E5:4  D5:8 F5:8  C5:4 F5:4 A5:4 G5:4  E5:12 r:4 "
    "D5:4 G5:4 Bb5:8  A5:4 F5:4 D5:8  E5:4 G5:4 C6:4 Bb5:4  A5:12 r:4";
constexpr const char* STORY_BRIDGE =
    "F5:8 D6:8  C6:8 G5:8  A5:4 C6:4 E6:8  D6:12 r:4  Bb5:8 G5:8  E5:4 G5:4 C6:8  A5:8 F5:8  E5:8 C#5:8";

}  // namespace

std::vector<uint8_t> ComposeStory() {
    Score s;
    SetKey(s, 2, MINOR);
    SetTempo(s, 0, 74);
    SetProgram(s, 0, GRAND_PIANO, 127, 70);
    SetProgram(s, 1, GRAND_PIANO, 110, 56);
    SetProgram(s, 2, WARM_PAD, 96, 64);
    SetProgram(s, 3, STRINGS, 84, 64);
    const char* leftHand = "0-2-3-4-5-4-3-2-";
    const auto intro = Progression("Dm Dm");
    PatternPart(s, 1, 0, intro, leftHand, 38, 64);
    PatternPart(s, 2, 0, intro, "c---------------", 53, 60);
    const auto verse = Progression("Dm Bb F C Gm Bb C A");
    const auto bridge = Progression("Bb C Am Dm Gm C F A");
    const int starts[3] = {2, 10, 18};
    for (int i = 0; i < 3; ++i) {
        const bool isVerse = i != 1;
        const auto& chords = isVerse ? verse : bridge;
        PatternPart(s, 1, starts[i], chords, leftHand, 38, 76);
        PatternPart(s, 2, starts[i], chords, "c---------------", 53, 70);
        if (!isVerse) PatternPart(s, 3, starts[i], chords, "c-------c-------", 60, 56);
        Line(s, 0, starts[i], 8, isVerse ? STORY_VERSE : STORY_BRIDGE, 100);
    }
    return SaveMidi(s, 26, "Between the Rings");
}

// ---- bgm06 -----------------------------------------------------------------------------------

namespace {

constexpr const char* ENDING_VERSE =
    "E5:4 G5:4 C6:6 B5:2  B5:4 D6:4 G5:8  A5:4 C6:4 E6:6 D6:2  C6:8 A5:8 "
    "G5:4 E5:4 G5:4 C6:4  D6:6 C6:2 B5:8  A5:4 C6:4 F6:4 E6:4  D6:16";
constexpr const char* ENDING_CODA = "F#5:8 A5:8  B5:8 G5:8  A5:8 C#6:4 E6:4  D6:12 r:4";

}  // namespace

std::vector<uint8_t> ComposeEnding() {
    Score s;
    SetKey(s, 0, MAJOR);
    SetTempo(s, 0, 92);
    SetProgram(s, 0, FRENCH_HORN, 92, 64);
    SetProgram(s, 1, STRINGS, 68, 64);
    SetProgram(s, 2, GRAND_PIANO, 70, 52);
    SetProgram(s, 3, FINGERED_BASS, 84, 64);
    SetProgram(s, 4, TIMPANI, 84, 64);
    const char* arp = "0.2.3.4.3.2.3.4.";
    const char* bass = "0-------0---2---";
    const char* beat = "x.......x.......";
    // Intro, the theme in C, the theme again a tone higher in D, and a coda with a held last chord.
    const auto intro = Progression("C G Am F");
    PatternPart(s, 1, 0, intro, "c---------------", 55, 64);
    PatternPart(s, 2, 0, intro, arp, 48, 70);
    PatternPart(s, 3, 0, intro, bass, 36, 84);
    const auto verse = Progression("C G Am F C G F G");
    PatternPart(s, 1, 4, verse, "c---------------", 55, 72);
    PatternPart(s, 2, 4, verse, arp, 48, 72);
    PatternPart(s, 3, 4, verse, bass, 36, 90);
    Line(s, 0, 4, 8, ENDING_VERSE, 96, -12);
    DrumPart(s, 4, 8, {{KICK, beat}, {RIDE, "x...x...x...x..."}}, 72);
    PatternPart(s, 1, 12, verse, "c-------c-------", 55, 80);
    PatternPart(s, 2, 12, verse, arp, 60, 74);
    PatternPart(s, 3, 12, verse, bass, 36, 94);
    Line(s, 0, 12, 8, ENDING_VERSE, 104, -12);
    Line(s, 1, 12, 8, ENDING_VERSE, 80, 0, 2);
    DrumPart(s, 12, 8, {{KICK, beat}, {SNARE, "....x.......x..."}, {RIDE, "x.x.x.x.x.x.x.x."}}, 78);
    Crash(s, 12);
    // The harmony below is worked out on the written notes, still in C, and then moved up.
    const auto risen = Progression("D A Bm G D A G A");
    PatternPart(s, 1, 20, risen, "c-------c-------", 57, 84);
    PatternPart(s, 2, 20, risen, arp, 50, 76);
    PatternPart(s, 3, 20, risen, bass, 38, 96);
    Line(s, 0, 20, 8, ENDING_VERSE, 108, -10);
    Line(s, 1, 20, 8, ENDING_VERSE, 84, 2, 2);
    DrumPart(s, 20, 7, {{KICK, beat}, {SNARE, "....x.......x..."}, {RIDE, "x.x.x.x.x.x.x.x."}}, 82);
    DrumPart(s, 27, 1, {{KICK, "x.......x.x.x.x."}, {SNARE, "....x...xxxxXXXX"}}, 82);
    Crash(s, 20);
    // Coda: D G A D, the timpani rolling into the last chord, which is held to the end.
    PatternPart(s, 1, 28, Progression("D G A"), "c---------------", 57, 90);
    PatternPart(s, 1, 31, Progression("D"), "c-----------....", 57, 96);
    PatternPart(s, 3, 28, Progression("D G A"), bass, 38, 96);
    Line(s, 0, 28, 4, ENDING_CODA, 110, -12);
    PatternPart(s, 4, 30, Progression("A"), "0000000000000000", 38, 70);
    AddNote(s, 4, BarTick(31), BAR / 2, 38, 120);
    for (int key : {50, 62, 66}) AddNote(s, 2, BarTick(31), BAR - STEP * 4, key, 90);
    AddNote(s, 3, BarTick(31), BAR - STEP * 4, 38, 100);
    Crash(s, 28);
    Crash(s, 31);
    return SaveMidi(s, 32, "Home Orbit");
}

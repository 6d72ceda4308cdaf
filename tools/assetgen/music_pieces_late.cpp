// The soundtrack's last three pieces: the boss (bgm04), the story (bgm05) and the ending (bgm06);
// music_pieces.cpp describes all six.
#include "music_pieces.h"

// ---- bgm04 -----------------------------------------------------------------------------------

namespace boss {

enum Channel { LEAD = 0, GUITAR = 1, BASS = 2, STRINGS_PAD = 3, HORN = 4 };
// clang-format off
const PieceSetup SETUP = {4, MINOR, 170, BASS, {
    {LEAD, BRASS_SECTION, 127, 64, 45, 10}, {GUITAR, DISTORTION_GUITAR, 80, 34, 30, 10}, {BASS, SYNTH_BASS_1, 84, 64, 5, 0},
    {STRINGS_PAD, SYNTH_STRINGS, 64, 94, 70, 50}, {HORN, FRENCH_HORN, 70, 86, 60, 20}, {DRUMS, 0, 92, 64, 25, 0}}};
// clang-format on

constexpr const char* VERSE_1 = "E5:4 G5:4 B5:6 A5:2  G5:3 F#5:3 E5:2 B4:8  C6:4 B5:4 G5:4 E5:4  ~D#6:8 B5:4 F#5:4";
constexpr const char* VERSE_2 = "E6:4 D6:2 B5:2 ~G5:6 B5:2  A5:3 B5:3 G5:2 E5:8  F5:4 A5:4 C6:4 E6:4";
constexpr const char* VERSE_TURN = "E6:6 D#6:2 ~B5:8";
constexpr const char* AGAIN =
    "E5:4 G5:4 B5:6 A5:2  G5:3 F#5:3 E5:2 B5:8  C6:4 E6:4 D6:2 C6:2 B5:4  A5:3 B5:3 D#6:2 F#6:8  "
    "G6:4 F#6:2 E6:2 B5:8  D6:3 E6:3 B5:2 G5:8  A5:4 C6:4 F6:4 E6:4  E6:4 F#6:4 ~D#6:8";
constexpr const char* BRIDGE =
    "~C6:12 B5:2 A5:2  E6:8 D6:4 C6:4  B5:12 A5:2 G5:2  F#5:8 G5:4 B5:4  "
    "E6:8 G6:4 B6:4  A6:8 F#6:4 D6:4  ~D#6:12 F#6:4  E6:4 D#6:4 C6:4 A5:4";
constexpr const char* BREAKDOWN = "r:16  r:16  r:16  r:8 F5:4 G#5:4";
constexpr const char* HOME = "F#6:4 D#6:4 B5:4 A5:4";

const std::vector<DrumLine> GROOVE = {{KICK, "x.x...x.x.x...x."},
                                      {SNARE, "....X.......X..."},
                                      {CLOSED_HAT, "x.x.x.x.x.x.x.x."},
                                      {LOW_FLOOR_TOM, "..........x..x.."}};
const std::vector<DrumLine> FILL = {{KICK, "x.x...x.x......."},
                                    {SNARE, "....X.......gg.."},
                                    {HIGH_TOM, "........xx......"},
                                    {MID_TOM, "..........xx...."},
                                    {LOW_FLOOR_TOM, "..............XX"}};
const std::vector<DrumLine> BIG_FILL = {{KICK, "x.x.x.x.x.x.x.x."},
                                        {HIGH_TOM, "xx.............."},
                                        {MID_TOM, "....xx.x........"},
                                        {LOW_TOM, "........xx.x...."},
                                        {LOW_FLOOR_TOM, "............xxXX"}};

// The riff: power chords (root, fifth, octave) chugging in eighths with a push before the bar.
static std::vector<PatternLine> Riff(int velocity) {
    return {{GUITAR, "0-0.0.0.0-0.000.", 40, velocity},
            {GUITAR, "2-2.2.2.2-2.222.", 40, velocity - 8},
            {GUITAR, "8-8.8.8.8-8.888.", 40, velocity - 12}};
}

}  // namespace boss

std::vector<uint8_t> ComposeBossTheme() {
    using namespace boss;
    Score s = StartPiece(SETUP);
    // clang-format off
    const auto verse = Progression("Em9 Em9 Cmaj7 B7 Em9 Em9 Fmaj7 Bsus4:2 B7:2");
    const char* bass = "0.0.0.0.0.0.0.a.";

    WriteSection(s, {.markers = {"A"}, .bar = 0, .bars = 8, .chords = verse,
                     .tune = {{0, 4, VERSE_1, Lead(100)}, {4, 3, VERSE_2, Lead(102)}, {7, 1, VERSE_TURN, Lead(104)}},
                     .riff = Riff(98), .bass = {{BASS, bass, 40, 96}}, .pad = {{STRINGS_PAD, "c---------------", 52, 71, 60}},
                     .drums = {{GROOVE, {FILL, BIG_FILL}, 98}}});
    WriteSection(s, {.markers = {"A'"}, .bar = 8, .bars = 8, .chords = verse, .tune = {{0, 8, AGAIN, Lead(104)}},
                     .riff = Riff(100), .bass = {{BASS, bass, 40, 98}}, .pad = {{STRINGS_PAD, "c---------------", 52, 71, 60}},
                     .counter = {{HORN, {8, 4, 4}, 59, 72, Lead(80)}}, .drums = {{GROOVE, {FILL, BIG_FILL}, 100}}});
    // B: half-time, the brass high over the strings, the guitar only on the downbeats.
    WriteSection(s, {.markers = {"B"}, .bar = 16, .bars = 8, .chords = Progression("Am9 Am9 Em9 Em9 Cmaj7 D6 B7 B7"),
                     .tune = {{0, 8, BRIDGE, Lead(106)}},
                     .riff = {{GUITAR, "0-------0-----0-", 40, 96}, {GUITAR, "2-------2-----2-", 40, 88}},
                     .bass = {{BASS, "0-----0-0-----a-", 40, 96}}, .pad = {{STRINGS_PAD, "c-------c-------", 52, 74, 68}},
                     .counter = {{HORN, {12, 4}, 57, 72, Lead(80)}},
                     .drums = {{{{KICK, "x.......x.x....."}, {SNARE, "........X......."}, {RIDE, "x.x.x.x.x.x.x.x."}},
                                {FILL, BIG_FILL}, 100}}});
    // Breakdown: pounding toms under muted guitar and the horn, building into the new key.
    WriteSection(s, {.markers = {"breakdown"}, .bar = 24, .bars = 4, .chords = Progression("Cmaj7 Am9 Fmaj7 C#7"),
                     .tune = {{0, 4, BREAKDOWN, Lead(96)}}, .riff = {{GUITAR, "0.0.0.0.0.0.0.0.", 40, 80}},
                     .bass = {{BASS, "0---------------", 40, 92}}, .pad = {{STRINGS_PAD, "c---------------", 52, 74, 70}},
                     .counter = {{HORN, {8, 8}, 57, 72, Lead(84)}},
                     .drums = {{{{LOW_FLOOR_TOM, "x..x..x.x..x..x."}, {LOW_TOM, "......x.......xx"}, {KICK, "x.......x......."}},
                                {}, 96, 0, 3}, {BIG_FILL, {}, 100, 3, 1}}});
    WriteSection(s, {.markers = {"A''", "key change"}, .bar = 28, .bars = 8,
                     .chords = Progression("F#m9 F#m9 Dmaj7 C#7 F#m9 F#m9 Gmaj7 B7"),
                     .tune = {{0, 4, VERSE_1, Lead(106, 2)}, {4, 3, VERSE_2, Lead(108, 2)}, {7, 1, HOME, Lead(106)}},
                     .riff = Riff(102), .bass = {{BASS, bass, 40, 98}}, .pad = {{STRINGS_PAD, "c---------------", 54, 73, 62}},
                     .counter = {{HORN, {6, 6, 4}, 61, 74, Lead(82)}}, .drums = {{GROOVE, {FILL, BIG_FILL}, 102}}});
    // clang-format on
    return SaveMidi(s, 36, "Armada Heart");
}

// ---- bgm05 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeStory() {
    enum Channel { RIGHT_HAND = 0, LEFT_HAND = 1, PAD = 2, STRINGS_PART = 3 };
    // clang-format off
    Score s = StartPiece({2, MINOR, 84, LEFT_HAND, {
        {RIGHT_HAND, GRAND_PIANO, 127, 74, 70, 0}, {LEFT_HAND, GRAND_PIANO, 110, 52, 60, 0}, {PAD, WARM_PAD, 72, 92, 90, 60},
        {STRINGS_PART, STRINGS, 54, 30, 80, 30}}});
    const char* tune =
        "A5:6 F5:2 E5:4 D5:4  D5:6 F5:2 A5:8  Bb5:4 A5:4 G5:4 F5:4  D5:4 E5:4 C#5:8  "
        "C6:6 A5:2 E5:4 F5:4  D5:4 Bb4:4 C#5:4 E5:4  D5:12 r:4";
    const char* leftHand = "0-2-3-4-5-4-3-2-";
    // The tune from the first bar: a question (bars 1-4), its answer (5-6), home on D (7).
    WriteSection(s, {.markers = {"A"}, .bar = 0, .bars = 8,
                     .chords = Progression("Dm9 Bbmaj7 Gm9 Asus4:2 A7:2 Fmaj7 Gm7:2 A7:2 Dmadd9 Dm9"),
                     .tune = {{0, 7, tune, Struck(112)}, {7, 1, "r:8 A4:4 C5:4", Struck(80)}},
                     .bass = {{LEFT_HAND, leftHand, 38, 66}}, .pad = {{PAD, "c---------------", 53, 72, 62}}});
    Marker(s, 6, "cadence");
    WriteSection(s, {.markers = {"B"}, .bar = 8, .bars = 8, .chords = Progression("Bbmaj7 C6 Am7 Dm9 Gm9 C7 Fmaj7 A7sus4:2 A7:2"),
                     .tune = {{0, 8,
                               "D5:6 F5:2 A5:4 C6:4  E6:8 D6:4 C6:4  C6:6 A5:2 E5:4 G5:4  F5:12 E5:4  "
                               "D5:6 G5:2 Bb5:4 A5:4  G5:6 E5:2 Bb5:8  A5:6 G5:2 F5:4 E5:4  D5:8 C#5:8", Struck(112)}},
                     .bass = {{LEFT_HAND, leftHand, 38, 68}}, .pad = {{PAD, "c---------------", 53, 72, 60}},
                     .counter = {{STRINGS_PART, {8, 8}, 55, 70, Lead(70)}}});
    WriteSection(s, {.markers = {"A'"}, .bar = 16, .bars = 8,
                     .chords = Progression("Dm9 Bbmaj7 Gm9 Asus4:2 A7:2 Fmaj7 Gm7:2 A7:2 Dmadd9 Dsus2"),
                     .tune = {{0, 7, tune, Struck(114)}, {7, 1, "r:16", Struck(80)}}, .bass = {{LEFT_HAND, leftHand, 38, 68}},
                     .pad = {{PAD, "c---------------", 53, 72, 62}}, .counter = {{STRINGS_PART, {12, 4}, 57, 72, Lead(72)}}});
    // clang-format on
    return SaveMidi(s, 24, "Between the Rings");
}

// ---- bgm06 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeEnding() {
    enum Channel { LEAD = 0, STRINGS_PART = 1, PIANO = 2, BASS = 3, TIMPANI_PART = 4, DESCANT = 5 };
    // clang-format off
    Score s = StartPiece({0, MAJOR, 96, BASS, {
        {LEAD, FRENCH_HORN, 104, 64, 70, 10}, {STRINGS_PART, STRINGS, 64, 36, 80, 30}, {PIANO, GRAND_PIANO, 120, 90, 70, 0},
        {BASS, FINGERED_BASS, 64, 64, 20, 0}, {TIMPANI_PART, TIMPANI, 84, 64, 60, 0}, {DESCANT, FLUTE, 72, 100, 70, 20},
        {DRUMS, 0, 84, 64, 50, 0}}});
    const char* arp = "0.1.2.3.2.1.2.3.";
    // Intro: the piano alone under the strings.
    WriteSection(s, {.markers = {"intro"}, .bar = 0, .bars = 2, .chords = Progression("Cmaj9 Fmaj9/C"),
                     .bass = {{BASS, "0---------------", 36, 76}}, .pad = {{STRINGS_PART, "c---------------", 55, 72, 60}},
                     .arp = {{PIANO, arp, 48, 78}}});
    // A in C major; its last bar turns on A7 towards D major.
    WriteSection(s, {.markers = {"A"}, .bar = 2, .bars = 8, .chords = Progression("C G/B Am7 Fmaj7 C/E Fmaj7 Dm7 Em7:2 A7:2"),
                     .tune = {{0, 8,
                               "E5:4 G5:4 C6:6 B5:2  B5:4 D6:4 G5:8  A5:4 C6:4 E6:6 D6:2  C6:8 A5:8  "
                               "G5:4 E5:4 G5:4 C6:4  D6:6 C6:2 A5:8  A5:4 C6:4 F6:4 E6:4  D6:8 ~C#6:8", Lead(96, -12)}},
                     .bass = {{BASS, "0-------0---2---", 36, 82}}, .pad = {{STRINGS_PART, "c-------c-------", 55, 74, 66}},
                     .arp = {{PIANO, arp, 48, 80}},
                     .drums = {{{{KICK, "x.......x......."}, {RIDE, "x...x...x...x..."}},
                                {{{KICK, "x.......x......."}, {SIDE_STICK, "............x.x."}, {RIDE, "x...x...x...x..."}},
                                 {{KICK, "x.......x.x....."}, {SNARE, "........g.g.xxXX"}, {RIDE, "x...x...x......."}}}, 64}}});

    // A' a tone higher, in D major, the flute's descant over it; the timpani roll into the last
    // chord. The descant comes after the drums.
    SetKey(s, 2, MAJOR);
    const auto risen = Progression("D A/C# Bm7 Gmaj7 Em7 A7sus4:2 A7:2");
    WriteSection(s, {.markers = {"A'", "key change"}, .bar = 10, .bars = 6, .chords = risen,
                     .tune = {{0, 6,
                               "F#5:4 A5:4 D6:6 C#6:2  C#6:4 E6:4 A5:8  B5:4 D6:4 F#6:6 E6:2  D6:8 B5:8  G5:4 B5:4 E6:4 D6:4  "
                               "E6:6 D6:2 ~C#6:8", Lead(104, -12)}}, .bass = {{BASS, "0-------0---2---", 38, 86}},
                     .pad = {{STRINGS_PART, "c-------c-------", 57, 76, 74}},
                     .arp = {{PIANO, arp, 50, 84}, {TIMPANI_PART, "0000000000000000", 40, 62, 5, Progression("A7")}},
                     .drums = {{{{KICK, "x.......x......."}, {SNARE, "....x.......x..."}, {RIDE, "x.x.x.x.x.x.x.x."}},
                                {{{KICK, "x.......x......."}, {SNARE, "....x.......xgxx"}, {RIDE, "x.x.x.x.x.x....."}}}, 70, 0,
                                5}, {{{KICK, "x.......x.x.x.x."}, {SNARE, "....x...xxxxXXXX"}}, {}, 76, 5, 1}}});
    CounterLine(s, DESCANT, 10, risen, {8, 4, 4}, 76, 88, Lead(70));
    Ramp(s, TIMPANI_PART, 11, BAR * 15, BAR * 16, 70, 127);

    // The last chord, struck at 40 s and held, its tail ringing into the reset.
    WriteSection(s, {.markers = {"final chord"}, .bar = 16, .bars = 4, .chords = Progression("Dadd9:10"),
                     .tune = {{0, 4, "D6:24 r:40", Lead(108, -12)}},
                     .pad = {{STRINGS_PART, "c---------------------------------------", 50, 74, 84, false}}});
    constexpr int ROLLED[] = {38, 50, 57, 62, 66, 69, 76};  // the piano's last chord, rolled upwards
    for (int i = 0; i < 7; ++i) AddNote(s, PIANO, BAR * 16 + static_cast<uint32_t>(i) * 24, BAR * 5 / 2, ROLLED[i], 84);
    AddNote(s, BASS, BAR * 16, BAR * 5 / 2, 38, 96);
    AddNote(s, TIMPANI_PART, BAR * 16, BAR, 38, 118);
    AddNote(s, DESCANT, BAR * 16, BAR * 2, 81, 72);
    Drums(s, 16, 1, {{CRASH, "X..............."}, {KICK, "X..............."}}, 90);
    // clang-format on
    return SaveMidi(s, 20, "Home Orbit");
}

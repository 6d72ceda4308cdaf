// The six pieces of the soundtrack, written in the score language of music_score.h a section at a
// time (the Section table of music_pieces.h: what each part plays over the section's chords). Each is cut
// to the screen it plays under, since the game restarts a piece from its beginning when it ends
// and changes it at fixed moments:
//   bgm01 stage theme A (stages 1 and 3, about 49 s before the first boss): A minor, 160 bpm,
//         A-A'-B-breakdown-A'' in 32 bars (48 s), the last A a tone higher in B minor, turning
//         back on E7 into the first bar. Saw lead, square second voice, synth strings counter.
//   bgm02 stage theme B (stages 2 and 4, the fourth only 41 s long): D minor, 150 bpm,
//         syncopated, A-A'-B-breakdown-A''-coda in 24 bars (38 s), A'' in E minor, the coda's
//         falling bass leading back to D minor. Synth brass lead over poly-synth stabs.
//   bgm03 ship selection (about 10 s): D major, 128 bpm, an 8-bar loop (15 s) that starts on
//         its tune. Vibraphone over a square arpeggio.
//   bgm04 boss: E minor with a Phrygian F, 170 bpm, A-A'-B-breakdown-A'' in 36 bars, A'' in
//         F# minor. Brass over a distorted guitar riff and toms; the bass an octave up from the
//         sub range, where small speakers still carry it.
//   bgm05 story (about 20 s): D minor, 84 bpm, piano and strings, no drums; its tune from the
//         first bar, its cadence on the seventh (17 s), then a B and the tune again.
//   bgm06 ending (about 50 s before the game resets): C major rising to D major at 25 s, 96 bpm,
//         horn, strings and piano, the last chord struck at 40 s and held.
// The parts are set by their CC7 levels with the lead on top and the bass well under it, spread
// across the stereo field, each with its own reverb and chorus send.
// bgm01 to bgm03 are here, bgm04 to bgm06 in music_pieces_late.cpp.
#include "music_pieces.h"

// ---- bgm01 -----------------------------------------------------------------------------------

namespace theme_a {

enum Channel { LEAD = 0, VOICE = 1, BASS = 2, PAD = 3, COUNTER = 4, ARP = 5 };
// clang-format off
const PieceSetup SETUP = {9, MINOR, 160, BASS, {
    {LEAD, SAW_LEAD, 92, 70, 45, 30}, {VOICE, SQUARE_LEAD, 74, 44, 40, 20}, {BASS, SYNTH_BASS_1, 84, 64, 8, 0},
    {PAD, WARM_PAD, 86, 88, 80, 60}, {COUNTER, SYNTH_STRINGS, 80, 28, 70, 40}, {ARP, ELECTRIC_PIANO_2, 88, 100, 50, 50},
    {DRUMS, 0, 100, 64, 35, 0}}};
// clang-format on

constexpr const char* CHORDS = "Am9 Fmaj7 G6 Em7 Am9 Fmaj7 Dm7:2 G:2 Esus4:2 E7:2";
// The tune: a rising call (bars 1-4), its answer climbing higher (5-7), the turn on E (8). The
// varied call of A' keeps the call's first three bars.
constexpr const char* CALL_OPENING =
    "r:2 E5:2 A5:3 B5:1 C6:4 B5:2 A5:2  G5:2 A5:2 E5:6 r:2 C5:2 D5:2  E5:3 D5:3 B4:2 D5:4 G5:4  ";
constexpr const char* CALL_CLOSE = "D5:2 G5:2 ~E5:10 D5:2";
constexpr const char* ANSWER = "r:2 E5:2 A5:3 B5:1 C6:4 D6:2 E6:2  F6:3 E6:3 C6:2 A5:4 C6:4  D6:4 C6:2 A5:2 B5:4 D6:2 B5:2";
constexpr const char* TURN = "A5:6 G#5:2 ~B5:8";
constexpr const char* CALL_2_CLOSE = "B5:3 A5:3 G5:2 ~E5:8";
constexpr const char* ANSWER_2 =
    "A5:2 C6:2 E6:4 D6:2 C6:2 B5:2 C6:2  A5:6 G5:2 F5:4 E5:4  D5:2 F5:2 A5:4 G5:3 B5:3 D6:2  C6:4 B5:4 G#5:4 E5:4";
constexpr const char* BRIDGE = "~C6:6 A5:2 E6:8  D6:6 B5:2 G5:4 E6:4  B5:4 D6:4 G6:6 E6:2  F6:4 D6:4 E6:4 G#5:4";
constexpr const char* BREAKDOWN = "r:16  r:8 A5:2 C6:2 E6:4  D6:6 B5:2 F#5:8  A#5:4 C#6:4 E6:4 F#6:4";

const std::vector<DrumLine> GROOVE = {
    {KICK, "x.....x.x......."}, {SNARE, "....X..g....X.g."}, {CLOSED_HAT, "x.x.x.x.x.x.x..."}, {OPEN_HAT, "..............x."}};
const std::vector<DrumLine> FILL = {{KICK, "x.....x.x......."},
                                    {SNARE, "....X.......X.XX"},
                                    {CLOSED_HAT, "x.x.x.x.x.x....."},
                                    {HIGH_TOM, "..........x....."},
                                    {LOW_TOM, "...........x...."}};
const std::vector<DrumLine> BIG_FILL = {{KICK, "x.......x......."},
                                        {SNARE, "....X...xgXg...."},
                                        {HIGH_TOM, "............xx.."},
                                        {MID_TOM, "..............x."},
                                        {LOW_FLOOR_TOM, "...............x"}};
const std::vector<DrumLine> RIDE_GROOVE = {{KICK, "x..x..x...x..x.."}, {SNARE, "....X.......X..g"}, {RIDE, "x.x.x.x.x.x.x.x."}};

}  // namespace theme_a

std::vector<uint8_t> ComposeStageThemeA() {
    using namespace theme_a;
    Score s = StartPiece(SETUP);
    // clang-format off
    const auto verse = Progression(CHORDS);
    const auto bridge = Progression("Fmaj7 G6 Em7 Dm7:2 E7:2");
    // The last A a tone up, its last bar turning back on E7 to the key of the first bar.
    const auto verseUp = Progression("Bm9 Gmaj7 A6 F#m7 Bm9 Gmaj7 Em7:2 A:2 Esus4:2 E7:2");
    const char* bass = "!0-0-8-0-0-8-0-a-";
    const std::string call = std::string(CALL_OPENING) + CALL_CLOSE;
    const std::string tune = call + " " + ANSWER;
    const std::string again = std::string(CALL_OPENING) + CALL_2_CLOSE + " " + ANSWER_2;

    // A: the tune over bass, pad and a light arpeggio.
    WriteSection(s, {.markers = {"A"}, .bar = 0, .bars = 8, .chords = verse,
                     .tune = {{0, 4, call, Lead(98)}, {4, 3, ANSWER, Lead(100)}, {7, 1, TURN, Lead(100)}},
                     .bass = {{BASS, bass, 33, 92}}, .pad = {{PAD, "c---------------", 55, 74, 68}},
                     .arp = {{ARP, "0.1.2.3.2.1.3.2.", 64, 70}}, .drums = {{GROOVE, {FILL, BIG_FILL}, 92}}});
    // A': the tune varied, the square in harmony under it, the strings' counter-line.
    WriteSection(s, {.markers = {"A'"}, .bar = 8, .bars = 8, .chords = verse, .tune = {{0, 8, again, Lead(100)}},
                     .bass = {{BASS, bass, 33, 94}}, .pad = {{PAD, "c---------------", 55, 74, 62}},
                     .voices = {{VOICE, 0, 8, again, verse, Lead(84)}}, .counter = {{COUNTER, {8, 8}, 60, 76, Lead(76)}},
                     .drums = {{GROOVE, {FILL, BIG_FILL}, 94}}});
    // B: the tune climbs over a syncopated bass and the ride; the arpeggio in sixteenths.
    WriteSection(s, {.markers = {"B"}, .bar = 16, .bars = 4, .chords = bridge, .tune = {{0, 4, BRIDGE, Lead(104)}},
                     .bass = {{BASS, "0--0--0-0--8--a-", 33, 94}}, .pad = {{PAD, "c-------c-------", 55, 74, 64}},
                     .arp = {{ARP, "0123212301232123", 64, 66}}, .counter = {{COUNTER, {12, 4}, 57, 74, Lead(74)}},
                     .drums = {{RIDE_GROOVE, {BIG_FILL}, 94}}});
    // Breakdown: the drums drop out to a pulse, the arpeggio and the pad carry it; a snare roll
    // builds into the new key. Its last bar's pushing bass comes after the pad, which holds its
    // chord against it.
    WriteSection(s, {.markers = {"breakdown"}, .bar = 20, .bars = 4, .chords = Progression("Fmaj7 Dm9 Gmaj7 F#7"),
                     .tune = {{0, 4, BREAKDOWN, Lead(84)}},
                     .bass = {{BASS, "0-----------g-0-", 33, 88, 0, Progression("Fmaj7 Dm9 Gmaj7")}},
                     .pad = {{PAD, "c---------------", 55, 76, 72}},
                     .arp = {{BASS, "0-0-0-0-!0-0-0-0-", 33, 92, 3, Progression("F#7")}, {ARP, "0123432101234321", 60, 74}},
                     .drums = {{{{KICK, "x.......x......."}, {CLOSED_HAT, "..x...x...x...x."}}, {}, 80, 0, 3},
                               {{{KICK, "x...x...x...x..."}, {SNARE, "x.x.x.x.xxxxXXXX"}}, {}, 84, 3, 1}}});
    Ramp(s, DRUMS, 11, BAR * 23, BAR * 24 - STEP, 90, 127);
    // A'': the tune a tone higher, both voices and the counter-line; the turn back in A minor.
    WriteSection(s, {.markers = {"A''", "key change"}, .bar = 24, .bars = 8, .chords = verseUp,
                     .tune = {{0, 7, tune, Lead(106, 2)}, {7, 1, TURN, Lead(104)}}, .bass = {{BASS, "!0-08-0-0-08-0-a-", 33, 96}},
                     .pad = {{PAD, "c---------------", 57, 76, 66}}, .arp = {{ARP, "0.1.2.3.2.1.3.2.", 64, 68}},
                     .voices = {{VOICE, 0, 7, tune, verse, Lead(86, 2)},
                                {VOICE, 7, 1, TURN, Progression("Esus4:2 E7:2"), Lead(86)}},
                     .counter = {{COUNTER, {6, 6, 4}, 62, 78, Lead(76)}}, .drums = {{GROOVE, {FILL, BIG_FILL}, 98}}});
    // clang-format on
    return SaveMidi(s, 32, "Ring Debris");
}

// ---- bgm02 -----------------------------------------------------------------------------------

namespace theme_b {

enum Channel { LEAD = 0, STABS = 1, BASS = 2, PAD = 3, COUNTER = 4 };
// clang-format off
const PieceSetup SETUP = {2, MINOR, 150, BASS, {
    {LEAD, SYNTH_BRASS, 120, 58, 50, 20}, {STABS, POLY_SYNTH, 88, 36, 45, 40}, {BASS, SYNTH_BASS_2, 84, 64, 5, 0},
    {PAD, SWEEP_PAD, 88, 92, 80, 60}, {COUNTER, CHARANG, 84, 98, 40, 30}, {DRUMS, 0, 108, 64, 30, 0}}};
// clang-format on

constexpr const char* VERSE =
    "A4:3 D5:3 F5:2 E5:3 D5:3 A5:2  ~Bb5:6 A5:2 F5:4 D5:4  E5:3 G5:3 C6:2 A5:3 G5:3 E5:2  "
    "D5:4 E5:4 ~C#5:8";
constexpr const char* VERSE_2 =
    "A4:3 D5:3 F5:2 E5:3 D5:3 A5:2  ~Bb5:6 A5:2 F5:4 D6:4  D6:3 Bb5:3 G5:2 F5:3 G5:3 Bb5:2  "
    "A5:4 G5:2 E5:2 ~C#6:8";
constexpr const char* BRIDGE = "~D6:8 A5:4 Bb5:4  G5:6 E5:2 C6:4 Bb5:4  A5:3 C6:3 E6:2 F6:6 E6:2  D6:4 F6:4 E6:4 C#6:4";
constexpr const char* BREAKDOWN = "r:16  r:16  r:16  r:8 D#5:4 F#5:4";
constexpr const char* CODA = "E6:6 D6:2 B5:4 G5:4  F#5:6 D5:2 A5:8  F5:6 D5:2 A5:4 Bb5:4  A5:4 G5:2 E5:2 C#5:8";

const std::vector<DrumLine> GROOVE = {
    {KICK, "x..x..x...x..x.."}, {SNARE, "....X..g....X.g."}, {CLOSED_HAT, "xgxgxg.gxgxgxg.g"}, {OPEN_HAT, "......x.......x."}};
const std::vector<DrumLine> FILL = {{KICK, "x..x..x........."}, {SNARE, "....X..g..xxXxXX"}, {CLOSED_HAT, "xgxgxgxgxg......"}};
const std::vector<DrumLine> TOM_FILL = {{KICK, "x..x..x...x....."},
                                        {SNARE, "....X..g........"},
                                        {HIGH_TOM, "..........xx...."},
                                        {MID_TOM, "............xx.."},
                                        {LOW_FLOOR_TOM, "..............XX"}};

}  // namespace theme_b

std::vector<uint8_t> ComposeStageThemeB() {
    using namespace theme_b;
    Score s = StartPiece(SETUP);
    // clang-format off
    const auto verse2 = Progression("Dm9 Bbmaj7 Gm7 A7");
    const auto bridge = Progression("Gm9 C7 Fmaj7 Bbmaj7:2 A7:2");
    const auto verseUp = Transposed(verse2, 2);
    const char* bass = "0--0--0-0--0-2-a";
    const char* stabs = "..c..c....c..c..";

    WriteSection(s, {.markers = {"A"}, .bar = 0, .bars = 4, .chords = Progression("Dm9 Bbmaj7 C6 A7sus4:2 A7:2"),
                     .tune = {{0, 4, VERSE, Lead(98)}}, .stabs = {{STABS, stabs, 57, 74, 70, false}},
                     .bass = {{BASS, bass, 38, 92}}, .pad = {{PAD, "c---------------", 55, 74, 60}},
                     .drums = {{GROOVE, {FILL}, 92}}});
    WriteSection(s, {.markers = {"A'"}, .bar = 4, .bars = 4, .chords = verse2, .tune = {{0, 4, VERSE_2, Lead(100)}},
                     .stabs = {{STABS, stabs, 57, 74, 70, false}}, .bass = {{BASS, bass, 38, 94}},
                     .pad = {{PAD, "c---------------", 55, 74, 60}}, .counter = {{COUNTER, {6, 6, 4}, 55, 70, Lead(78)}},
                     .drums = {{GROOVE, {TOM_FILL}, 94}}});
    WriteSection(s, {.markers = {"B"}, .bar = 8, .bars = 4, .chords = bridge, .tune = {{0, 4, BRIDGE, Lead(104)}},
                     .stabs = {{STABS, "c--c--c---c--c--", 57, 74, 64, false}}, .bass = {{BASS, "0--0--0-0--8--a-", 38, 94}},
                     .pad = {{PAD, "c---------------", 55, 74, 62}}, .voices = {{COUNTER, 0, 4, BRIDGE, bridge, Lead(80, -12)}},
                     .drums = {{{{KICK, "x..x..x...x..x.."}, {SNARE, "....X.......X..."}, {RIDE, "x.x.x.x.x.x.x.x."}}, {FILL},
                                96}}});
    WriteSection(s, {.markers = {"breakdown"}, .bar = 12, .bars = 4, .chords = Progression("Bbmaj7 Gm9 Cmaj7 B7"),
                     .tune = {{0, 4, BREAKDOWN, Lead(90)}}, .bass = {{BASS, "0-------0-----a-", 38, 88}},
                     .pad = {{PAD, "c---------------", 55, 76, 72}}, .arp = {{STABS, "0.2.3.1.2.3.1.2.", 62, 60}},
                     .counter = {{COUNTER, {4, 4, 8}, 57, 72, Lead(74)}},
                     .drums = {{{{KICK, "x.......x......."}, {RIDE, "x.x.x.x.x.x.x.x."}}, {}, 78, 0, 3},
                               {{{KICK, "x...x...x...x..."}, {SNARE, "x.x.x.x.xxxxXXXX"}}, {}, 84, 3, 1}}});
    WriteSection(s, {.markers = {"A''", "key change"}, .bar = 16, .bars = 4, .chords = verseUp,
                     .tune = {{0, 4, VERSE_2, Lead(106, 2)}}, .stabs = {{STABS, stabs, 57, 76, 72, false}},
                     .bass = {{BASS, bass, 38, 96}}, .pad = {{PAD, "c---------------", 57, 76, 62}},
                     .voices = {{COUNTER, 0, 4, VERSE_2, verse2, Lead(82, 2)}}, .drums = {{GROOVE, {TOM_FILL}, 98}}});
    // Coda: the bass falls C, B, B flat, A, back into the key of the first bar.
    WriteSection(s, {.markers = {"coda"}, .bar = 20, .bars = 4, .chords = Progression("Cmaj7 Bm7 Bbmaj7 A7"),
                     .tune = {{0, 4, CODA, Lead(100)}}, .stabs = {{STABS, stabs, 57, 74, 70, false}},
                     .bass = {{BASS, "0--0--0-0--8-2-8", 36, 94}}, .pad = {{PAD, "c---------------", 55, 74, 62}},
                     .counter = {{COUNTER, {8, 8}, 55, 70, Lead(76)}}, .drums = {{GROOVE, {FILL}, 96}}});
    // clang-format on
    return SaveMidi(s, 24, "Carrier Fleet");
}

// ---- bgm03 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeShipSelect() {
    enum Channel { LEAD = 0, ARP = 1, BASS = 2, PAD = 3, COUNTER = 4 };
    // clang-format off
    Score s = StartPiece({2, MAJOR, 128, BASS, {
        {LEAD, VIBRAPHONE, 122, 72, 60, 20}, {ARP, SQUARE_LEAD, 78, 36, 40, 30}, {BASS, FINGERED_BASS, 80, 64, 10, 0},
        {PAD, NEW_AGE_PAD, 76, 92, 80, 70}, {COUNTER, FLUTE, 80, 24, 60, 20}, {DRUMS, 0, 100, 64, 30, 0}}});
    // The tune from the first beat; its second half answers an octave's reach higher. The flute
    // answers in the second half with a line through the chords' guide tones.
    const char* tune =
        "F#5:4 A5:2 E6:6 C#6:2 A5:2  B5:4 F#5:2 D6:6 C#6:2 B5:2  B5:3 D6:3 F#6:2 E6:4 D6:4  C#6:6 B5:2 D6:8  "
        "F#5:4 A5:2 D6:6 E6:2 F#6:2  G6:4 E6:2 B5:6 A5:2 G5:2  F#5:2 G5:2 B5:4 D6:4 F#6:4  E6:6 D6:2 C#6:4 A5:4";
    WriteSection(s, {.markers = {"A"}, .bar = 0, .bars = 8,
                     .chords = Progression("Dmaj9 Bm7 Gmaj7 A6:2 Asus4:2 Dmaj7/F# Em7 Gmaj7 A7sus4:2 A7:2"),
                     .tune = {{0, 8, tune, Struck(100)}}, .bass = {{BASS, "0--0--0-0-2-8-a-", 38, 90}},
                     .pad = {{PAD, "c---------------", 57, 76, 64}}, .arp = {{ARP, "0123432101234321", 62, 64}},
                     .counter = {{COUNTER, {4, 4, 8}, 66, 81, Lead(72), 4, Progression("Dmaj7/F# Em7 Gmaj7 A7sus4:2 A7:2")}},
                     .drums = {{{{KICK, "x.......x.x....."}, {CLAP, "....x.......x..."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."}},
                                {{{KICK, "x.......x.x.x..."}, {CLAP, "....x.......x..."}, {SNARE, "............g.xx"},
                                  {CLOSED_HAT, "x.x.x.x.x.x....."}}}, 82}}});
    // clang-format on
    return SaveMidi(s, 8, "Hangar");
}

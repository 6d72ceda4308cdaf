// The six pieces of the soundtrack, written in the score language of music_score.h. Each is cut
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

namespace {

namespace theme_a {

enum Channel { LEAD = 0, VOICE = 1, BASS = 2, PAD = 3, COUNTER = 4, ARP = 5 };

constexpr const char* CHORDS = "Am9 Fmaj7 G6 Em7 Am9 Fmaj7 Dm7:2 G:2 Esus4:2 E7:2";
// The tune: a rising call (bars 1-4), its answer climbing higher (5-7), the turn on E (8).
constexpr const char* CALL =
    "r:2 E5:2 A5:3 B5:1 C6:4 B5:2 A5:2  G5:2 A5:2 E5:6 r:2 C5:2 D5:2  E5:3 D5:3 B4:2 D5:4 G5:4  "
    "D5:2 G5:2 ~E5:10 D5:2";
constexpr const char* ANSWER = "r:2 E5:2 A5:3 B5:1 C6:4 D6:2 E6:2  F6:3 E6:3 C6:2 A5:4 C6:4  D6:4 C6:2 A5:2 B5:4 D6:2 B5:2";
constexpr const char* TURN = "A5:6 G#5:2 ~B5:8";
constexpr const char* CALL_2 =
    "r:2 E5:2 A5:3 B5:1 C6:4 B5:2 A5:2  G5:2 A5:2 E5:6 r:2 C5:2 D5:2  E5:3 D5:3 B4:2 D5:4 G5:4  "
    "B5:3 A5:3 G5:2 ~E5:8";
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

}  // namespace

std::vector<uint8_t> ComposeStageThemeA() {
    using namespace theme_a;
    Score s;
    SetKey(s, 9, MINOR);
    SetTempo(s, 0, 160);
    SetUpPart(s, {LEAD, SAW_LEAD, 92, 70, 45, 30});
    SetUpPart(s, {VOICE, SQUARE_LEAD, 74, 44, 40, 20});
    SetUpPart(s, {BASS, SYNTH_BASS_1, 84, 64, 8, 0});
    SetUpPart(s, {PAD, WARM_PAD, 86, 88, 80, 60});
    SetUpPart(s, {COUNTER, SYNTH_STRINGS, 80, 28, 70, 40});
    SetUpPart(s, {ARP, ELECTRIC_PIANO_2, 88, 100, 50, 50});
    SetUpPart(s, {DRUMS, 0, 100, 64, 35, 0});
    const auto verse = Progression(CHORDS);
    const auto bridge = Progression("Fmaj7 G6 Em7 Dm7:2 E7:2");
    const auto breakdown = Progression("Fmaj7 Dm9 Gmaj7 F#7");
    // The last A a tone up, its last bar turning back on E7 to the key of the first bar.
    const auto verseUp = Progression("Bm9 Gmaj7 A6 F#m7 Bm9 Gmaj7 Em7:2 A:2 Esus4:2 E7:2");
    const char* bass = "!0-0-8-0-0-8-0-a-";

    // A: the tune over bass, pad and a light arpeggio.
    Marker(s, 0, "A");
    Melody(s, LEAD, 0, 4, CALL, Lead(98));
    Melody(s, LEAD, 4, 3, ANSWER, Lead(100));
    Melody(s, LEAD, 7, 1, TURN, Lead(100));
    PatternPart(s, BASS, 0, verse, bass, 33, 92);
    Pad(s, PAD, 0, verse, "c---------------", 55, 74, 68, true);
    PatternPart(s, ARP, 0, verse, "0.1.2.3.2.1.3.2.", 64, 70);
    DrumSection(s, 0, 8, GROOVE, {FILL, BIG_FILL}, 92);

    // A': the tune varied, the square in harmony under it, the strings' counter-line.
    Marker(s, 8, "A'");
    Melody(s, LEAD, 8, 8, (std::string(CALL_2) + " " + ANSWER_2).c_str(), Lead(100));
    PatternPart(s, BASS, 8, verse, bass, 33, 94);
    Pad(s, PAD, 8, verse, "c---------------", 55, 74, 62, true);
    SecondVoice(s, VOICE, 8, 8, (std::string(CALL_2) + " " + ANSWER_2).c_str(), verse, Lead(84));
    CounterLine(s, COUNTER, 8, verse, {8, 8}, 60, 76, Lead(76));
    DrumSection(s, 8, 8, GROOVE, {FILL, BIG_FILL}, 94);

    // B: the tune climbs over a syncopated bass and the ride; the arpeggio in sixteenths.
    Marker(s, 16, "B");
    Melody(s, LEAD, 16, 4, BRIDGE, Lead(104));
    PatternPart(s, BASS, 16, bridge, "0--0--0-0--8--a-", 33, 94);
    Pad(s, PAD, 16, bridge, "c-------c-------", 55, 74, 64, true);
    PatternPart(s, ARP, 16, bridge, "0123212301232123", 64, 66);
    CounterLine(s, COUNTER, 16, bridge, {12, 4}, 57, 74, Lead(74));
    DrumSection(s, 16, 4, RIDE_GROOVE, {BIG_FILL}, 94);

    // Breakdown: the drums drop out to a pulse, the arpeggio and the pad carry it; a snare roll
    // builds into the new key.
    Marker(s, 20, "breakdown");
    Melody(s, LEAD, 20, 4, BREAKDOWN, Lead(84));
    PatternPart(s, BASS, 20, Progression("Fmaj7 Dm9 Gmaj7"), "0-----------g-0-", 33, 88);
    Pad(s, PAD, 20, breakdown, "c---------------", 55, 76, 72, true);
    PatternPart(s, BASS, 23, Progression("F#7"), "0-0-0-0-!0-0-0-0-", 33, 92);
    PatternPart(s, ARP, 20, breakdown, "0123432101234321", 60, 74);
    Drums(s, 20, 3, {{KICK, "x.......x......."}, {CLOSED_HAT, "..x...x...x...x."}}, 80);
    Drums(s, 23, 1, {{KICK, "x...x...x...x..."}, {SNARE, "x.x.x.x.xxxxXXXX"}}, 84);
    Ramp(s, DRUMS, 11, BAR * 23, BAR * 24 - STEP, 90, 127);

    // A'': the tune a tone higher, both voices and the counter-line; the turn back in A minor.
    Marker(s, 24, "A''");
    Marker(s, 24, "key change");
    Melody(s, LEAD, 24, 7, (std::string(CALL) + " " + ANSWER).c_str(), Lead(106, 2));
    Melody(s, LEAD, 31, 1, TURN, Lead(104));
    PatternPart(s, BASS, 24, verseUp, "!0-08-0-0-08-0-a-", 33, 96);
    Pad(s, PAD, 24, verseUp, "c---------------", 57, 76, 66, true);
    PatternPart(s, ARP, 24, verseUp, "0.1.2.3.2.1.3.2.", 64, 68);
    SecondVoice(s, VOICE, 24, 7, (std::string(CALL) + " " + ANSWER).c_str(), verse, Lead(86, 2));
    SecondVoice(s, VOICE, 31, 1, TURN, Progression("Esus4:2 E7:2"), Lead(86));
    CounterLine(s, COUNTER, 24, verseUp, {6, 6, 4}, 62, 78, Lead(76));
    DrumSection(s, 24, 8, GROOVE, {FILL, BIG_FILL}, 98);
    return SaveMidi(s, 32, "Ring Debris");
}

// ---- bgm02 -----------------------------------------------------------------------------------

namespace {

namespace theme_b {

enum Channel { LEAD = 0, STABS = 1, BASS = 2, PAD = 3, COUNTER = 4 };

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

}  // namespace

std::vector<uint8_t> ComposeStageThemeB() {
    using namespace theme_b;
    Score s;
    SetKey(s, 2, MINOR);
    SetTempo(s, 0, 150);
    SetUpPart(s, {LEAD, SYNTH_BRASS, 120, 58, 50, 20});
    SetUpPart(s, {STABS, POLY_SYNTH, 88, 36, 45, 40});
    SetUpPart(s, {BASS, SYNTH_BASS_2, 84, 64, 5, 0});
    SetUpPart(s, {PAD, SWEEP_PAD, 88, 92, 80, 60});
    SetUpPart(s, {COUNTER, CHARANG, 84, 98, 40, 30});
    SetUpPart(s, {DRUMS, 0, 108, 64, 30, 0});
    const auto verse = Progression("Dm9 Bbmaj7 C6 A7sus4:2 A7:2");
    const auto verse2 = Progression("Dm9 Bbmaj7 Gm7 A7");
    const auto bridge = Progression("Gm9 C7 Fmaj7 Bbmaj7:2 A7:2");
    const auto breakdown = Progression("Bbmaj7 Gm9 Cmaj7 B7");
    const auto verseUp = Transposed(verse2, 2);
    const auto coda = Progression("Cmaj7 Bm7 Bbmaj7 A7");
    const char* bass = "0--0--0-0--0-2-a";
    const char* stabs = "..c..c....c..c..";

    Marker(s, 0, "A");
    Melody(s, LEAD, 0, 4, VERSE, Lead(98));
    Pad(s, STABS, 0, verse, stabs, 57, 74, 70, false);
    PatternPart(s, BASS, 0, verse, bass, 38, 92);
    Pad(s, PAD, 0, verse, "c---------------", 55, 74, 60, true);
    DrumSection(s, 0, 4, GROOVE, {FILL}, 92);

    Marker(s, 4, "A'");
    Melody(s, LEAD, 4, 4, VERSE_2, Lead(100));
    Pad(s, STABS, 4, verse2, stabs, 57, 74, 70, false);
    PatternPart(s, BASS, 4, verse2, bass, 38, 94);
    Pad(s, PAD, 4, verse2, "c---------------", 55, 74, 60, true);
    CounterLine(s, COUNTER, 4, verse2, {6, 6, 4}, 55, 70, Lead(78));
    DrumSection(s, 4, 4, GROOVE, {TOM_FILL}, 94);

    Marker(s, 8, "B");
    Melody(s, LEAD, 8, 4, BRIDGE, Lead(104));
    Pad(s, STABS, 8, bridge, "c--c--c---c--c--", 57, 74, 64, false);
    PatternPart(s, BASS, 8, bridge, "0--0--0-0--8--a-", 38, 94);
    Pad(s, PAD, 8, bridge, "c---------------", 55, 74, 62, true);
    SecondVoice(s, COUNTER, 8, 4, BRIDGE, bridge, Lead(80, -12));
    DrumSection(s, 8, 4, {{KICK, "x..x..x...x..x.."}, {SNARE, "....X.......X..."}, {RIDE, "x.x.x.x.x.x.x.x."}}, {FILL}, 96);

    Marker(s, 12, "breakdown");
    Melody(s, LEAD, 12, 4, BREAKDOWN, Lead(90));
    PatternPart(s, BASS, 12, breakdown, "0-------0-----a-", 38, 88);
    Pad(s, PAD, 12, breakdown, "c---------------", 55, 76, 72, true);
    PatternPart(s, STABS, 12, breakdown, "0.2.3.1.2.3.1.2.", 62, 60);
    CounterLine(s, COUNTER, 12, breakdown, {4, 4, 8}, 57, 72, Lead(74));
    Drums(s, 12, 3, {{KICK, "x.......x......."}, {RIDE, "x.x.x.x.x.x.x.x."}}, 78);
    Drums(s, 15, 1, {{KICK, "x...x...x...x..."}, {SNARE, "x.x.x.x.xxxxXXXX"}}, 84);

    Marker(s, 16, "A''");
    Marker(s, 16, "key change");
    Melody(s, LEAD, 16, 4, VERSE_2, Lead(106, 2));
    Pad(s, STABS, 16, verseUp, stabs, 57, 76, 72, false);
    PatternPart(s, BASS, 16, verseUp, bass, 38, 96);
    Pad(s, PAD, 16, verseUp, "c---------------", 57, 76, 62, true);
    SecondVoice(s, COUNTER, 16, 4, VERSE_2, verse2, Lead(82, 2));
    DrumSection(s, 16, 4, GROOVE, {TOM_FILL}, 98);

    // Coda: the bass falls C, B, B flat, A, back into the key of the first bar.
    Marker(s, 20, "coda");
    Melody(s, LEAD, 20, 4, CODA, Lead(100));
    Pad(s, STABS, 20, coda, stabs, 57, 74, 70, false);
    PatternPart(s, BASS, 20, coda, "0--0--0-0--8-2-8", 36, 94);
    Pad(s, PAD, 20, coda, "c---------------", 55, 74, 62, true);
    CounterLine(s, COUNTER, 20, coda, {8, 8}, 55, 70, Lead(76));
    DrumSection(s, 20, 4, GROOVE, {FILL}, 96);
    return SaveMidi(s, 24, "Carrier Fleet");
}

// ---- bgm03 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeShipSelect() {
    enum Channel { LEAD = 0, ARP = 1, BASS = 2, PAD = 3, COUNTER = 4 };
    Score s;
    SetKey(s, 2, MAJOR);
    SetTempo(s, 0, 128);
    SetUpPart(s, {LEAD, VIBRAPHONE, 122, 72, 60, 20});
    SetUpPart(s, {ARP, SQUARE_LEAD, 78, 36, 40, 30});
    SetUpPart(s, {BASS, FINGERED_BASS, 80, 64, 10, 0});
    SetUpPart(s, {PAD, NEW_AGE_PAD, 76, 92, 80, 70});
    SetUpPart(s, {COUNTER, FLUTE, 80, 24, 60, 20});
    SetUpPart(s, {DRUMS, 0, 100, 64, 30, 0});
    const auto chords = Progression("Dmaj9 Bm7 Gmaj7 A6:2 Asus4:2 Dmaj7/F# Em7 Gmaj7 A7sus4:2 A7:2");
    // The tune from the first beat; its second half answers an octave's reach higher.
    Marker(s, 0, "A");
    Melody(s, LEAD, 0, 8,
           "F#5:4 A5:2 E6:6 C#6:2 A5:2  B5:4 F#5:2 D6:6 C#6:2 B5:2  B5:3 D6:3 F#6:2 E6:4 D6:4  C#6:6 B5:2 D6:8  "
           "F#5:4 A5:2 D6:6 E6:2 F#6:2  G6:4 E6:2 B5:6 A5:2 G5:2  F#5:2 G5:2 B5:4 D6:4 F#6:4  E6:6 D6:2 C#6:4 A5:4",
           Struck(100));
    PatternPart(s, BASS, 0, chords, "0--0--0-0-2-8-a-", 38, 90);
    Pad(s, PAD, 0, chords, "c---------------", 57, 76, 64, true);
    PatternPart(s, ARP, 0, chords, "0123432101234321", 62, 64);
    // The flute answers in the second half with a line through the chords' guide tones.
    CounterLine(s, COUNTER, 4, Progression("Dmaj7/F# Em7 Gmaj7 A7sus4:2 A7:2"), {4, 4, 8}, 66, 81, Lead(72));
    DrumSection(
        s, 0, 8, {{KICK, "x.......x.x....."}, {CLAP, "....x.......x..."}, {CLOSED_HAT, "x.x.x.x.x.x.x.x."}},
        {{{KICK, "x.......x.x.x..."}, {CLAP, "....x.......x..."}, {SNARE, "............g.xx"}, {CLOSED_HAT, "x.x.x.x.x.x....."}}},
        82);
    return SaveMidi(s, 8, "Hangar");
}

// The soundtrack's last three pieces: the boss (bgm04), the story (bgm05) and the ending (bgm06);
// music_pieces.cpp describes all six.
#include "music_pieces.h"

// ---- bgm04 -----------------------------------------------------------------------------------

namespace {

namespace boss {

enum Channel { LEAD = 0, GUITAR = 1, BASS = 2, STRINGS_PAD = 3, HORN = 4 };

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
void Riff(Score& s, int bar, const std::vector<Chord>& chords, int velocity) {
    const char* rhythm = "0-0.0.0.0-0.000.";
    PatternPart(s, GUITAR, bar, chords, rhythm, 40, velocity);
    PatternPart(s, GUITAR, bar, chords, "2-2.2.2.2-2.222.", 40, velocity - 8);
    PatternPart(s, GUITAR, bar, chords, "8-8.8.8.8-8.888.", 40, velocity - 12);
}

}  // namespace boss

}  // namespace

std::vector<uint8_t> ComposeBossTheme() {
    using namespace boss;
    Score s;
    SetKey(s, 4, MINOR);
    SetTempo(s, 0, 170);
    SetUpPart(s, {LEAD, BRASS_SECTION, 127, 64, 45, 10});
    SetUpPart(s, {GUITAR, DISTORTION_GUITAR, 80, 34, 30, 10});
    SetUpPart(s, {BASS, SYNTH_BASS_1, 84, 64, 5, 0});
    SetUpPart(s, {STRINGS_PAD, SYNTH_STRINGS, 64, 94, 70, 50});
    SetUpPart(s, {HORN, FRENCH_HORN, 70, 86, 60, 20});
    SetUpPart(s, {DRUMS, 0, 92, 64, 25, 0});
    const auto verse = Progression("Em9 Em9 Cmaj7 B7 Em9 Em9 Fmaj7 Bsus4:2 B7:2");
    const auto bridge = Progression("Am9 Am9 Em9 Em9 Cmaj7 D6 B7 B7");
    const auto breakdown = Progression("Cmaj7 Am9 Fmaj7 C#7");
    const auto verseUp = Progression("F#m9 F#m9 Dmaj7 C#7 F#m9 F#m9 Gmaj7 B7");
    const char* bass = "0.0.0.0.0.0.0.a.";

    Marker(s, 0, "A");
    Melody(s, LEAD, 0, 4, VERSE_1, Lead(100));
    Melody(s, LEAD, 4, 3, VERSE_2, Lead(102));
    Melody(s, LEAD, 7, 1, VERSE_TURN, Lead(104));
    Riff(s, 0, verse, 98);
    PatternPart(s, BASS, 0, verse, bass, 40, 96);
    Pad(s, STRINGS_PAD, 0, verse, "c---------------", 52, 71, 60, true);
    DrumSection(s, 0, 8, GROOVE, {FILL, BIG_FILL}, 98);

    Marker(s, 8, "A'");
    Melody(s, LEAD, 8, 8, AGAIN, Lead(104));
    Riff(s, 8, verse, 100);
    PatternPart(s, BASS, 8, verse, bass, 40, 98);
    Pad(s, STRINGS_PAD, 8, verse, "c---------------", 52, 71, 60, true);
    CounterLine(s, HORN, 8, verse, {8, 4, 4}, 59, 72, Lead(80));
    DrumSection(s, 8, 8, GROOVE, {FILL, BIG_FILL}, 100);

    // B: half-time, the brass high over the strings, the guitar only on the downbeats.
    Marker(s, 16, "B");
    Melody(s, LEAD, 16, 8, BRIDGE, Lead(106));
    PatternPart(s, GUITAR, 16, bridge, "0-------0-----0-", 40, 96);
    PatternPart(s, GUITAR, 16, bridge, "2-------2-----2-", 40, 88);
    PatternPart(s, BASS, 16, bridge, "0-----0-0-----a-", 40, 96);
    Pad(s, STRINGS_PAD, 16, bridge, "c-------c-------", 52, 74, 68, true);
    CounterLine(s, HORN, 16, bridge, {12, 4}, 57, 72, Lead(80));
    DrumSection(s, 16, 8, {{KICK, "x.......x.x....."}, {SNARE, "........X......."}, {RIDE, "x.x.x.x.x.x.x.x."}}, {FILL, BIG_FILL},
                100);

    // Breakdown: pounding toms under muted guitar and the horn, building into the new key.
    Marker(s, 24, "breakdown");
    Melody(s, LEAD, 24, 4, BREAKDOWN, Lead(96));
    PatternPart(s, GUITAR, 24, breakdown, "0.0.0.0.0.0.0.0.", 40, 80);
    PatternPart(s, BASS, 24, breakdown, "0---------------", 40, 92);
    Pad(s, STRINGS_PAD, 24, breakdown, "c---------------", 52, 74, 70, true);
    CounterLine(s, HORN, 24, breakdown, {8, 8}, 57, 72, Lead(84));
    Drums(s, 24, 3, {{LOW_FLOOR_TOM, "x..x..x.x..x..x."}, {LOW_TOM, "......x.......xx"}, {KICK, "x.......x......."}}, 96);
    Drums(s, 27, 1, BIG_FILL, 100);

    Marker(s, 28, "A''");
    Marker(s, 28, "key change");
    Melody(s, LEAD, 28, 4, VERSE_1, Lead(106, 2));
    Melody(s, LEAD, 32, 3, VERSE_2, Lead(108, 2));
    Melody(s, LEAD, 35, 1, HOME, Lead(106));
    Riff(s, 28, verseUp, 102);
    PatternPart(s, BASS, 28, verseUp, bass, 40, 98);
    Pad(s, STRINGS_PAD, 28, verseUp, "c---------------", 54, 73, 62, true);
    CounterLine(s, HORN, 28, verseUp, {6, 6, 4}, 61, 74, Lead(82));
    DrumSection(s, 28, 8, GROOVE, {FILL, BIG_FILL}, 102);
    return SaveMidi(s, 36, "Armada Heart");
}

// ---- bgm05 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeStory() {
    enum Channel { RIGHT_HAND = 0, LEFT_HAND = 1, PAD = 2, STRINGS_PART = 3 };
    Score s;
    SetKey(s, 2, MINOR);
    SetTempo(s, 0, 84);
    s.bassChannel = LEFT_HAND;
    SetUpPart(s, {RIGHT_HAND, GRAND_PIANO, 127, 74, 70, 0});
    SetUpPart(s, {LEFT_HAND, GRAND_PIANO, 110, 52, 60, 0});
    SetUpPart(s, {PAD, WARM_PAD, 72, 92, 90, 60});
    SetUpPart(s, {STRINGS_PART, STRINGS, 54, 30, 80, 30});
    const auto tune = Progression("Dm9 Bbmaj7 Gm9 Asus4:2 A7:2 Fmaj7 Gm7:2 A7:2 Dmadd9 Dm9");
    const auto bridge = Progression("Bbmaj7 C6 Am7 Dm9 Gm9 C7 Fmaj7 A7sus4:2 A7:2");
    const auto last = Progression("Dm9 Bbmaj7 Gm9 Asus4:2 A7:2 Fmaj7 Gm7:2 A7:2 Dmadd9 Dsus2");
    const char* tuneNotes =
        "A5:6 F5:2 E5:4 D5:4  D5:6 F5:2 A5:8  Bb5:4 A5:4 G5:4 F5:4  D5:4 E5:4 C#5:8  "
        "C6:6 A5:2 E5:4 F5:4  D5:4 Bb4:4 C#5:4 E5:4  D5:12 r:4";
    // The tune from the first bar: a question (bars 1-4), its answer (5-6), home on D (7).
    Marker(s, 0, "A");
    Melody(s, RIGHT_HAND, 0, 7, tuneNotes, Struck(112));
    Melody(s, RIGHT_HAND, 7, 1, "r:8 A4:4 C5:4", Struck(80));
    Marker(s, 6, "cadence");
    PatternPart(s, LEFT_HAND, 0, tune, "0-2-3-4-5-4-3-2-", 38, 66);
    Pad(s, PAD, 0, tune, "c---------------", 53, 72, 62, true);

    Marker(s, 8, "B");
    Melody(s, RIGHT_HAND, 8, 8,
           "D5:6 F5:2 A5:4 C6:4  E6:8 D6:4 C6:4  C6:6 A5:2 E5:4 G5:4  F5:12 E5:4  "
           "D5:6 G5:2 Bb5:4 A5:4  G5:6 E5:2 Bb5:8  A5:6 G5:2 F5:4 E5:4  D5:8 C#5:8",
           Struck(112));
    PatternPart(s, LEFT_HAND, 8, bridge, "0-2-3-4-5-4-3-2-", 38, 68);
    Pad(s, PAD, 8, bridge, "c---------------", 53, 72, 60, true);
    CounterLine(s, STRINGS_PART, 8, bridge, {8, 8}, 55, 70, Lead(70));

    Marker(s, 16, "A'");
    Melody(s, RIGHT_HAND, 16, 7, tuneNotes, Struck(114));
    Melody(s, RIGHT_HAND, 23, 1, "r:16", Struck(80));
    PatternPart(s, LEFT_HAND, 16, last, "0-2-3-4-5-4-3-2-", 38, 68);
    Pad(s, PAD, 16, last, "c---------------", 53, 72, 62, true);
    CounterLine(s, STRINGS_PART, 16, last, {12, 4}, 57, 72, Lead(72));
    return SaveMidi(s, 24, "Between the Rings");
}

// ---- bgm06 -----------------------------------------------------------------------------------

std::vector<uint8_t> ComposeEnding() {
    enum Channel { LEAD = 0, STRINGS_PART = 1, PIANO = 2, BASS = 3, TIMPANI_PART = 4, DESCANT = 5 };
    Score s;
    SetKey(s, 0, MAJOR);
    SetTempo(s, 0, 96);
    s.bassChannel = BASS;
    SetUpPart(s, {LEAD, FRENCH_HORN, 104, 64, 70, 10});
    SetUpPart(s, {STRINGS_PART, STRINGS, 64, 36, 80, 30});
    SetUpPart(s, {PIANO, GRAND_PIANO, 120, 90, 70, 0});
    SetUpPart(s, {BASS, FINGERED_BASS, 64, 64, 20, 0});
    SetUpPart(s, {TIMPANI_PART, TIMPANI, 84, 64, 60, 0});
    SetUpPart(s, {DESCANT, FLUTE, 72, 100, 70, 20});
    SetUpPart(s, {DRUMS, 0, 84, 64, 50, 0});
    const char* arp = "0.1.2.3.2.1.2.3.";
    // Intro: the piano alone under the strings.
    Marker(s, 0, "intro");
    const auto intro = Progression("Cmaj9 Fmaj9/C");
    PatternPart(s, BASS, 0, intro, "0---------------", 36, 76);
    Pad(s, STRINGS_PART, 0, intro, "c---------------", 55, 72, 60, true);
    PatternPart(s, PIANO, 0, intro, arp, 48, 78);

    // A in C major; its last bar turns on A7 towards D major.
    Marker(s, 2, "A");
    const auto verse = Progression("C G/B Am7 Fmaj7 C/E Fmaj7 Dm7 Em7:2 A7:2");
    Melody(s, LEAD, 2, 8,
           "E5:4 G5:4 C6:6 B5:2  B5:4 D6:4 G5:8  A5:4 C6:4 E6:6 D6:2  C6:8 A5:8  "
           "G5:4 E5:4 G5:4 C6:4  D6:6 C6:2 A5:8  A5:4 C6:4 F6:4 E6:4  D6:8 ~C#6:8",
           Lead(96, -12));
    PatternPart(s, BASS, 2, verse, "0-------0---2---", 36, 82);
    Pad(s, STRINGS_PART, 2, verse, "c-------c-------", 55, 74, 66, true);
    PatternPart(s, PIANO, 2, verse, arp, 48, 80);
    DrumSection(s, 2, 8, {{KICK, "x.......x......."}, {RIDE, "x...x...x...x..."}},
                {{{KICK, "x.......x......."}, {SIDE_STICK, "............x.x."}, {RIDE, "x...x...x...x..."}},
                 {{KICK, "x.......x.x....."}, {SNARE, "........g.g.xxXX"}, {RIDE, "x...x...x......."}}},
                64);

    // A' a tone higher, in D major, the flute's descant over it.
    Marker(s, 10, "A'");
    Marker(s, 10, "key change");
    SetKey(s, 2, MAJOR);
    const auto risen = Progression("D A/C# Bm7 Gmaj7 Em7 A7sus4:2 A7:2");
    Melody(s, LEAD, 10, 6,
           "F#5:4 A5:4 D6:6 C#6:2  C#6:4 E6:4 A5:8  B5:4 D6:4 F#6:6 E6:2  D6:8 B5:8  G5:4 B5:4 E6:4 D6:4  E6:6 D6:2 ~C#6:8",
           Lead(104, -12));
    PatternPart(s, BASS, 10, risen, "0-------0---2---", 38, 86);
    Pad(s, STRINGS_PART, 10, risen, "c-------c-------", 57, 76, 74, true);
    PatternPart(s, PIANO, 10, risen, arp, 50, 84);
    PatternPart(s, TIMPANI_PART, 15, Progression("A7"), "0000000000000000", 40, 62);
    DrumSection(s, 10, 5, {{KICK, "x.......x......."}, {SNARE, "....x.......x..."}, {RIDE, "x.x.x.x.x.x.x.x."}},
                {{{KICK, "x.......x......."}, {SNARE, "....x.......xgxx"}, {RIDE, "x.x.x.x.x.x....."}}}, 70);
    Drums(s, 15, 1, {{KICK, "x.......x.x.x.x."}, {SNARE, "....x...xxxxXXXX"}}, 76);
    CounterLine(s, DESCANT, 10, risen, {8, 4, 4}, 76, 88, Lead(70));
    Ramp(s, TIMPANI_PART, 11, BAR * 15, BAR * 16, 70, 127);

    // The last chord, struck at 40 s and held, its tail ringing into the reset.
    Marker(s, 16, "final chord");
    Melody(s, LEAD, 16, 4, "D6:24 r:40", Lead(108, -12));
    Pad(s, STRINGS_PART, 16, Progression("Dadd9:10"), "c---------------------------------------", 50, 74, 84, false);
    constexpr int ROLLED[] = {38, 50, 57, 62, 66, 69, 76};  // the piano's last chord, rolled upwards
    for (int i = 0; i < 7; ++i) AddNote(s, PIANO, BAR * 16 + static_cast<uint32_t>(i) * 24, BAR * 5 / 2, ROLLED[i], 84);
    AddNote(s, BASS, BAR * 16, BAR * 5 / 2, 38, 96);
    AddNote(s, TIMPANI_PART, BAR * 16, BAR, 38, 118);
    AddNote(s, DESCANT, BAR * 16, BAR * 2, 81, 72);
    Drums(s, 16, 1, {{CRASH, "X..............."}, {KICK, "X..............."}}, 90);
    return SaveMidi(s, 20, "Home Orbit");
}

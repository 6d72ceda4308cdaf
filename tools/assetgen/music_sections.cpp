// The section table's writer and a piece's set-up (music_pieces.h): each part of a section written
// with the writers of music_score.h, in the one order every piece keeps.
#include "music_pieces.h"

Score StartPiece(const PieceSetup& setup) {
    Score s;
    SetKey(s, setup.keyRoot, setup.scale);
    SetTempo(s, 0, setup.bpm);
    s.bassChannel = setup.bassChannel;
    for (const Part& part : setup.parts) SetUpPart(s, part);
    return s;
}

namespace {

const std::vector<Chord>& ChordsOf(const Section& section, const std::vector<Chord>& own) {
    return own.empty() ? section.chords : own;
}

void WritePatterns(Score& s, const Section& section, const std::vector<PatternLine>& lines) {
    for (const PatternLine& p : lines)
        PatternPart(s, p.channel, section.bar + p.from, ChordsOf(section, p.chords), p.pattern, p.low, p.velocity);
}

void WritePads(Score& s, const Section& section, const std::vector<PadLine>& pads) {
    for (const PadLine& p : pads) Pad(s, p.channel, section.bar, section.chords, p.rhythm, p.low, p.high, p.velocity, p.swell);
}

}  // namespace

void WriteSection(Score& s, const Section& section) {
    for (const char* text : section.markers) Marker(s, section.bar, text);
    for (const TuneLine& t : section.tune) Melody(s, s.leadChannel, section.bar + t.from, t.bars, t.notes.c_str(), t.phrasing);
    WritePatterns(s, section, section.riff);
    WritePads(s, section, section.stabs);
    WritePatterns(s, section, section.bass);
    WritePads(s, section, section.pad);
    WritePatterns(s, section, section.arp);
    for (const VoiceLine& v : section.voices)
        SecondVoice(s, v.channel, section.bar + v.from, v.bars, v.notes.c_str(), v.chords, v.phrasing);
    for (const CounterPart& c : section.counter)
        CounterLine(s, c.channel, section.bar + c.from, ChordsOf(section, c.chords), c.rhythm, c.low, c.high, c.phrasing);
    for (const Beat& b : section.drums) {
        const int bars = b.bars ? b.bars : section.bars - b.from;
        if (b.fills.empty())
            Drums(s, section.bar + b.from, bars, b.lines, b.velocity);
        else
            DrumSection(s, section.bar + b.from, bars, b.lines, b.fills, b.velocity);
    }
}

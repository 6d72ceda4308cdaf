// The music layer's text side: reading the command strings, and the length and events of MIDI
// files, within the limits a piece may take.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/mci.h"
#include "sound/midi_bytes.h"

namespace {

// The game's four commands, a flag order and spelling of MCI's own, and what is not a command.
TEST(MciCommands, ReadsTheGamesCommandsAndRejectsTheRest) {
    const struct {
        const char* text;
        MciVerb verb;
        const char* file;
        const char* alias;
        bool wait, notify, hasFrom;
        uint32_t from;
    } commands[] = {
        {"open bgm01.mid alias BGM wait", MCI_VERB_OPEN, "bgm01.mid", "BGM", true, false, false, 0},
        {"play BGM from 0 notify", MCI_VERB_PLAY, "", "BGM", false, true, true, 0},
        {"stop BGM wait", MCI_VERB_STOP, "", "BGM", true, false, false, 0},
        {"close BGM wait", MCI_VERB_CLOSE, "", "BGM", true, false, false, 0},
        {"Play bgm notify from 1500", MCI_VERB_PLAY, "", "bgm", false, true, true, 1500},
    };
    for (const auto& w : commands) {
        MciCommand c;
        ASSERT_TRUE(MciParseCommand(w.text, &c)) << w.text;
        EXPECT_EQ(std::tie(c.verb, c.file, c.alias, c.wait, c.notify, c.hasFrom, c.from),
                  std::make_tuple(w.verb, w.file, w.alias, w.wait, w.notify, w.hasFrom, w.from))
            << w.text;
    }
    MciCommand c;
    for (const char* bad : {"", "pause BGM", "open bgm01.mid wait", "play BGM from x", "stop BGM now", "close BGM alias X"}) {
        EXPECT_FALSE(MciParseCommand(bad, &c)) << bad;
        EXPECT_EQ(c.verb, MCI_VERB_NONE) << bad;
    }
    EXPECT_FALSE(MciParseCommand(nullptr, &c));
}

TEST(MidiLength, FollowsTheTempoMapToTheLastEvent) {
    // 480 ticks a quarter: one bar at 120 bpm (2000 ms), then one bar at 60 bpm (4000 ms).
    MidiBytes m;
    m.Tempo(0, 120);
    m.Note(0, 0, 1920, 60);
    m.Tempo(1920, 60);
    m.Note(0, 1920, 1920, 64);
    EXPECT_EQ(m.Length(3840), 6000u);
    // The end-of-track may lie past the last note: the piece lasts until it.
    EXPECT_EQ(m.Length(3840 + 480), 7000u);

    // The messages after the tempo change fall at its new pace, and all of them in time order:
    // the second note's start and the first note's end at 2 s, the second note's end at 6 s.
    MidiPiece piece;
    ASSERT_TRUE(MidiReadPiece(m.Build(3840), &piece));
    std::vector<std::pair<double, int>> times;  // (ms, note on)
    for (const MidiEvent& e : piece.events) times.push_back({e.micros / 1000.0, (e.status & 0xF0) == 0x90 && e.data2 > 0});
    std::sort(times.begin(), times.end());
    const std::vector<std::pair<double, int>> want = {{0.0, 1}, {2000.0, 0}, {2000.0, 1}, {6000.0, 0}};
    EXPECT_EQ(times, want);
    for (size_t i = 1; i < piece.events.size(); ++i) EXPECT_LE(piece.events[i - 1].micros, piece.events[i].micros);
}

TEST(MidiLength, ReadsRunningStatusSysexAndSeveralTracks) {
    // Track 1: tempo 100 bpm. Track 2: notes with running status and a sysex, ending later.
    std::vector<uint8_t> tempoTrack = {0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x2F, 0x00};
    std::vector<uint8_t> noteTrack = {0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,           // sysex
                                      0x00, 0x90, 60,   100,  0x83, 0x60, 62, 100,  // running status, delta 480
                                      0x83, 0x60, 0x80, 60,   0,    0x00, 62, 0,    // delta 480, then 0
                                      0x00, 0xC1, 5,                                // a program change: one data byte
                                      0x83, 0x60, 0xFF, 0x2F, 0x00};                // end after another 480
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0};
    for (const auto* track : {&tempoTrack, &noteTrack}) {
        file.insert(file.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track->size())});
        file.insert(file.end(), track->begin(), track->end());
    }
    uint32_t ms = 0;
    ASSERT_TRUE(MidiLengthMs(file, &ms));
    EXPECT_EQ(ms, 1800u);  // 1440 ticks at 600 ms a quarter
    // What the synthesiser is sent: the channel messages only, running status spelled out, the
    // one-byte program change whole, at their times through the other track's tempo.
    MidiPiece piece;
    ASSERT_TRUE(MidiReadPiece(file, &piece));
    EXPECT_DOUBLE_EQ(piece.lengthMicros, 1800000.0);
    const MidiEvent expected[] = {{0.0, 0x90, 60, 100},
                                  {600000.0, 0x90, 62, 100},
                                  {1200000.0, 0x80, 60, 0},
                                  {1200000.0, 0x80, 62, 0},
                                  {1200000.0, 0xC1, 5, 0}};
    ASSERT_EQ(piece.events.size(), std::size(expected));
    for (size_t i = 0; i < piece.events.size(); ++i) {
        const MidiEvent &e = piece.events[i], &w = expected[i];
        EXPECT_EQ(std::tie(e.micros, e.status, e.data1, e.data2), std::tie(w.micros, w.status, w.data1, w.data2)) << i;
    }
}

TEST(MidiLength, RejectsWhatIsNotMidi) {
    const std::vector<uint8_t> header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0, 'M', 'T', 'r', 'k'};
    const auto withTrack = [&header](std::vector<uint8_t> track) {
        std::vector<uint8_t> file = header;
        file.insert(file.end(), track.begin(), track.end());
        return file;
    };
    uint32_t ms = 1;
    EXPECT_FALSE(MidiLengthMs({}, &ms));
    EXPECT_EQ(ms, 0u);
    EXPECT_FALSE(MidiLengthMs({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0}, &ms));
    EXPECT_FALSE(MidiLengthMs(withTrack({0, 0, 1, 0, 0}), &ms));              // a track claiming more bytes than there are
    EXPECT_FALSE(MidiLengthMs(withTrack({0, 0, 0, 3, 0x00, 60, 100}), &ms));  // running status with nothing to run on
    EXPECT_FALSE(MidiLengthMs(withTrack({0, 0, 0, 3, 0x00, 0xF3, 1}), &ms));  // a system common byte (song select)
}

// A one-track piece at one tick a quarter (half a second a tick at the default tempo): a delta
// to its end-of-track after `events` note-ons (running status, delta 0), padded with an unknown
// chunk to `padTo` bytes when that is larger.
std::vector<uint8_t> HostilePiece(uint32_t endDelta, size_t events, size_t padTo = 0) {
    std::vector<uint8_t> track;
    if (events > 0) track.insert(track.end(), {0x00, 0x90, 60, 100});
    for (size_t i = 1; i < events; ++i) track.insert(track.end(), {0x00, 60, 100});
    AppendVarLen(track, endDelta);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 1, 'M', 'T', 'r', 'k'};
    const auto put32 = [&file](size_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<uint8_t>(v >> shift));
    };
    put32(track.size());
    file.insert(file.end(), track.begin(), track.end());
    file.insert(file.end(), {'J', 'u', 'n', 'k'});
    const size_t pad = padTo > file.size() + 4 ? padTo - file.size() - 4 : 0;
    put32(pad);
    file.resize(file.size() + pad, 0);
    return file;
}

// Hostile sizes: each limit is taken at its edge and refused one step past it, with the reason.
TEST(MidiLimits, EachLimitHoldsAtItsEdgeAndIsRefusedBeyondIt) {
    MidiPiece piece;
    std::string problem;
    // Length: 7200 ticks of half a second are the hour; one more is too long.
    ASSERT_TRUE(MidiReadPiece(HostilePiece(7200, 0), &piece, &problem));
    EXPECT_EQ(piece.LengthMs(), MIDI_MAX_LENGTH_MS);
    EXPECT_FALSE(MidiReadPiece(HostilePiece(7201, 0), &piece, &problem));
    EXPECT_EQ(problem, "plays for longer than the 60 minutes a piece may last");
    EXPECT_EQ(piece.LengthMs(), 0u);
    // The largest delta there is, at one tick a quarter (over four years): refused, never converted.
    EXPECT_FALSE(MidiReadPiece(HostilePiece(0x0FFFFFFF, 0), &piece, &problem));
    EXPECT_EQ(problem, "plays for longer than the 60 minutes a piece may last");
    // Events.
    ASSERT_TRUE(MidiReadPiece(HostilePiece(1, MIDI_MAX_EVENTS), &piece, &problem)) << problem;
    EXPECT_EQ(piece.events.size(), MIDI_MAX_EVENTS);
    EXPECT_FALSE(MidiReadPiece(HostilePiece(1, MIDI_MAX_EVENTS + 1), &piece, &problem));
    EXPECT_EQ(problem, "holds more than the 200000 events a piece may hold");
    EXPECT_TRUE(piece.events.empty());
    // Bytes.
    ASSERT_TRUE(MidiReadPiece(HostilePiece(1, 1, MIDI_MAX_FILE_BYTES), &piece, &problem)) << problem;
    EXPECT_FALSE(MidiReadPiece(HostilePiece(1, 1, MIDI_MAX_FILE_BYTES + 1), &piece, &problem));
    EXPECT_EQ(problem, "is larger than the 4194304 bytes a piece may hold");
    // The length of a piece never read stays within the clock, however it was made.
    piece.lengthMicros = 1e300;
    EXPECT_EQ(piece.LengthMs(), MIDI_MAX_LENGTH_MS);
}

}  // namespace

// The six pieces against the screens they play under in a whole game, and their balance on the
// game's synthesiser: the lead the loudest pitched part, the bass well under it, no clipping.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/audio_mix.h"
#include "platform/mci.h"
#include "sound/midi_bytes.h"
#include "sound/mix_support.h"
#include "test_support.h"

namespace {

constexpr int RATE = 44100;
constexpr int LEAD = 0;
constexpr int BASS_OF[6] = {2, 2, 2, 2, 1, 3};  // the bass part's channel in each piece
constexpr int DRUM_CHANNEL = 9;

// The single track of one of our format 0 files, event by event: its tick, its bytes.
struct RawEvent {
    uint32_t tick;
    std::vector<uint8_t> bytes;
};

std::vector<RawEvent> TrackEvents(const std::vector<uint8_t>& file) {
    std::vector<RawEvent> out;
    size_t at = 22;  // after the header (14 bytes) and the track's id and length (8)
    uint32_t tick = 0;
    const auto varLen = [&file, &at]() {
        uint32_t v = 0;
        while (at < file.size()) {
            const uint8_t b = file[at++];
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) break;
        }
        return v;
    };
    while (at < file.size()) {
        tick += varLen();
        const size_t start = at;
        if (file[at] == 0xFF) {
            at += 2;
            const uint32_t length = varLen();
            at += length;
        } else if (file[at] & 0x80) {  // our writer gives every message its status byte
            const int kind = file[at] & 0xF0;
            at += (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
        } else {
            return {};
        }
        out.push_back(
            {tick, std::vector<uint8_t>(file.begin() + static_cast<long>(start), file.begin() + static_cast<long>(at))});
    }
    return out;
}

// The file with only the channel messages of one channel (meta events kept).
std::vector<uint8_t> Solo(const std::vector<uint8_t>& file, int channel) {
    std::vector<uint8_t> track;
    uint32_t last = 0;
    for (const RawEvent& e : TrackEvents(file)) {
        if (e.bytes[0] != 0xFF && (e.bytes[0] & 0x0F) != channel) continue;
        AppendVarLen(track, e.tick - last);
        last = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    std::vector<uint8_t> out;
    out.reserve(22 + track.size());  // one allocation; GCC 12 at -O3 misreads the growth
    out.assign(file.begin(), file.begin() + 18);
    const auto n = static_cast<uint32_t>(track.size());
    out.insert(out.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

struct Note {
    int channel, key;
    uint32_t on, off;
};

struct PieceFacts {
    double msPerTick = 0.0;  // one tempo for the whole piece
    uint32_t lengthTicks = 0;
    std::vector<std::pair<uint32_t, std::string>> markers;
    std::vector<Note> notes;
};

PieceFacts Facts(const std::vector<uint8_t>& file) {
    PieceFacts f;
    std::map<std::pair<int, int>, Note> open;
    for (const RawEvent& e : TrackEvents(file)) {
        f.lengthTicks = e.tick;
        const uint8_t s = e.bytes[0];
        if (s == 0xFF) {
            if (e.bytes[1] == 0x51) f.msPerTick = ((e.bytes[3] << 16) | (e.bytes[4] << 8) | e.bytes[5]) / 1000.0 / 480.0;
            if (e.bytes[1] == 0x06) f.markers.emplace_back(e.tick, std::string(e.bytes.begin() + 3, e.bytes.end()));
            continue;
        }
        const int channel = s & 0x0F;
        const int kind = s & 0xF0;
        if (kind == 0x90 && e.bytes[2] > 0) {
            open[{channel, e.bytes[1]}] = Note{channel, e.bytes[1], e.tick, e.tick};
        } else if (kind == 0x80 || kind == 0x90) {
            auto it = open.find({channel, e.bytes[1]});
            if (it != open.end()) {
                it->second.off = e.tick;
                f.notes.push_back(it->second);
                open.erase(it);
            }
        }
    }
    return f;
}

double MarkerMs(const PieceFacts& f, const std::string& name) {
    for (const auto& m : f.markers) {
        if (m.second == name) return m.first * f.msPerTick;
    }
    return -1.0;
}

double FirstLeadNoteMs(const PieceFacts& f) {
    uint32_t first = UINT32_MAX;
    for (const Note& n : f.notes) {
        if (n.channel == LEAD) first = std::min(first, n.on);
    }
    return first * f.msPerTick;
}

// Renders a MIDI file (its bytes) on the game's synthesiser for its length and a tail.
std::vector<int16_t> RenderMidi(const std::vector<uint8_t>& bytes, double seconds, int rate = RATE) {
    AudioMixer* mixer = MixerWithPiece(bytes, true, rate);
    MixerCommand(mixer, "play BGM from 0");
    std::vector<int16_t> out(static_cast<size_t>(seconds * rate) * 2);
    MixerRender(mixer, out.data(), static_cast<int>(out.size() / 2));
    MixerDestroy(mixer);
    return out;
}

// The loudness of one part played alone. The parts are compared with each other only, so they
// are rendered at half the rate: the synthesiser's work halves and the parts' weight stays.
constexpr int PART_RATE = RATE / 2;
double PartLoudness(const std::vector<uint8_t>& bytes, int channel, double seconds) {
    return Measure(RenderMidi(Solo(bytes, channel), seconds, PART_RATE), PART_RATE).loudness;
}

// ---- the screens -----------------------------------------------------------------------------

// The shortest time each piece (1..6) played in a run, from its open to the command that stops it,
// in milliseconds; for the stage themes (1, 2), at most the stage frames passed at the normal pace
// (continues and slowdowns depend on the player).
std::array<double, 7> ShortestScreens(const std::vector<TraceTick>& trace) {
    std::array<double, 7> shortest;
    shortest.fill(1e12);
    double now = 0.0, startMs = 0.0;
    int piece = 0, startFrame = 0;
    for (const TraceTick& t : trace) {
        now += t.milliseconds;
        for (const std::string& command : t.music) {
            if (command.rfind("stop", 0) == 0 && piece > 0) {
                const int frames = t.stageFrame - startFrame;
                const double ms = piece <= 2 && frames > 0 ? std::min(now - startMs, frames * 29.0) : now - startMs;
                shortest[static_cast<size_t>(piece)] = std::min(shortest[static_cast<size_t>(piece)], ms);
                piece = 0;
            }
            if (command.rfind("open bgm0", 0) == 0) piece = command[9] - '0', startMs = now, startFrame = t.stageFrame;
        }
    }
    return shortest;
}

class Score : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < 6; ++i) {
            const std::string bytes = ReadWholeFile(std::string(VORNE_DATA_DIR) + "/bgm0" + std::to_string(i + 1) + ".mid");
            files[i].assign(bytes.begin(), bytes.end());
            facts[i] = Facts(files[i]);
        }
    }
    static double LengthMs(int i) { return facts[i].lengthTicks * facts[i].msPerTick; }
    static double BarMs(int i) { return 1920 * facts[i].msPerTick; }
    static std::vector<uint8_t> files[6];
    static PieceFacts facts[6];
};
std::vector<uint8_t> Score::files[6];
PieceFacts Score::facts[6];

TEST_F(Score, EveryPieceFitsTheScreenItPlaysUnder) {
    // The whole game of the golden trace: both rounds, continues taken with the bomb control, the
    // story and the ending, back on the splash at tick 71339.
    constexpr long TICKS = 71400;
    const std::vector<TraceTick> trace =
        RunHeadlessGame(ReadWholeFile(std::string(VORNE_SOURCE_DIR) + "/tests/golden/whole_game.keys"), TICKS);
    ASSERT_GE(trace.size(), static_cast<size_t>(TICKS));
    std::array<double, 7> shortest = ShortestScreens(trace);
    // Ship selection in this run is cut short by the held shot control: left to its countdown
    // instead, the game started and nothing touched.
    shortest[3] = ShortestScreens(RunHeadlessGame("1 z\n90 -\n", 500))[3];
    for (int i = 0; i < 6; ++i) {
        std::printf("[ measure  ] bgm0%d: %.1f s long, tune at %.2f s; its shortest screen %.1f s\n", i + 1, LengthMs(i) / 1000,
                    FirstLeadNoteMs(facts[i]) / 1000, shortest[i + 1] / 1000);
        SCOPED_TRACE("bgm0" + std::to_string(i + 1));
        ASSERT_LT(shortest[i + 1], 1e11) << "the piece was never played";
        // Whole bars, so that a restart joins on the beat.
        EXPECT_EQ(facts[i].lengthTicks % 1920, 0u);
        // A loop comes back to the tune at once, never to a long intro.
        EXPECT_LE(FirstLeadNoteMs(facts[i]), std::min(2 * BarMs(i), 5000.0));
    }
    // The stage themes play their whole form before the stage's boss (stages 1 and 3 for bgm01, 2
    // and 4 for bgm02); the story's cadence and the ending's last chord (heard for a bar) come
    // before their screens end.
    for (int i : {0, 1}) EXPECT_LE(LengthMs(i), shortest[i + 1]) << "bgm0" << i + 1;
    EXPECT_GT(MarkerMs(facts[4], "cadence"), 0.0);
    EXPECT_LE(MarkerMs(facts[4], "cadence") + BarMs(4) / 2, shortest[5]);
    EXPECT_GT(MarkerMs(facts[5], "final chord"), 0.0);
    EXPECT_LE(MarkerMs(facts[5], "final chord") + BarMs(5), shortest[6]);
}

// The parts' loudness when each plays alone, and the whole piece's levels, on the game's
// synthesiser.
TEST_F(Score, TheLeadIsTheLoudestPartAndNoPieceClips) {
    if (!SoundFontAvailable()) GTEST_SKIP() << "no General MIDI soundfont installed";
    std::printf("[ measure  ] piece  peak   rms     loudness  parts (channel: LUFS alone)\n");
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("bgm0" + std::to_string(i + 1));
        const double seconds = LengthMs(i) / 1000 + 1.5;
        const std::vector<int16_t> rendered = RenderMidi(files[i], seconds);
        const MixMeasures whole = Measure(rendered);
        std::set<int> channels;
        for (const Note& n : facts[i].notes) {
            if (n.channel != DRUM_CHANNEL) channels.insert(n.channel);  // the drums are no pitched part
        }
        std::string parts;
        std::map<int, double> level;
        for (int channel : channels) {
            level[channel] = PartLoudness(files[i], channel, seconds);
            parts += std::to_string(channel) + ": " + std::to_string(level[channel]).substr(0, 5) + "  ";
        }
        int loudest = LEAD;
        for (const auto& [channel, lufs] : level) {
            if (lufs > level[loudest]) loudest = channel;
        }
        std::printf("[ measure  ] bgm0%d  %.3f  %.4f  %5.1f     loudest pitched part %d; %s\n", i + 1, whole.peak, whole.rms,
                    whole.loudness, loudest, parts.c_str());
        EXPECT_LT(whole.peak, 0.89);  // the music alone never reaches the limiter
        EXPECT_EQ(loudest, LEAD);
        EXPECT_LE(level[BASS_OF[i]], level[LEAD] - 3.0);
    }
}

}  // namespace

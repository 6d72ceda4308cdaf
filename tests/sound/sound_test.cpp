// The twelve built-in sound effects: the WAVE chunk walk that finds them, and how they sound.
// Which effect sounds on which tick (and so that each was loaded) is the golden traces'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assetgen/loudness.h"
#include "sound/sound.h"

namespace {

// ---- a small RIFF writer for the chunk-walk cases

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct Chunk {
    const char* id;
    std::vector<uint8_t> body;
};

// A format chunk's body of the given size (PCM, mono, 11025 Hz, 8 bits).
std::vector<uint8_t> Format(uint32_t bytes) {
    std::vector<uint8_t> f = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};
    f.resize(bytes, 0);
    return f;
}

// A RIFF WAVE file of the chunks (odd ones padded); riffSize 0 means the true size.
std::vector<uint8_t> Riff(const std::vector<Chunk>& chunks, uint32_t riffSize = 0) {
    std::vector<uint8_t> body;
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id, c.id + 4);
        Put32(body, static_cast<uint32_t>(c.body.size()));
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() & 1) body.push_back(0xEE);
    }
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put32(b, riffSize ? riffSize : static_cast<uint32_t>(4 + body.size()));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// Each file, and where the walk must find the format and the data (byte offsets, -1: refused).
TEST(WaveChunks, FindsFormatAndDataWhereverTheyAreAndRefusesBrokenFiles) {
    std::vector<uint8_t> wrongId = Riff({{"fmt ", Format(18)}, {"data", {1}}});
    wrongId[0] = 'X';
    std::vector<uint8_t> overrun = Riff({{"fmt ", Format(18)}});
    overrun.insert(overrun.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0, 0, 1, 2});
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        long format, data;
        uint32_t size;
    } cases[] = {
        {"other chunks first", Riff({{"fmt ", Format(18)}, {"fact", {4, 0, 0, 0}}, {"data", {10, 20, 30, 40}}}), 20, 58, 4},
        {"odd chunk padded, later format ignored",
         Riff({{"LIST", {1, 2, 3}}, {"data", {5, 6, 7, 8, 9}}, {"fmt ", Format(18)}, {"fmt ", Format(10)}}), 46, 32, 5},
        {"empty data passed over", Riff({{"data", {}}, {"fmt ", Format(16)}, {"data", {7, 8, 9}}}), 28, 52, 3},
        {"fourteen-byte format", Riff({{"fmt ", Format(14)}, {"data", {1, 2}}}), 20, 42, 2},
        {"short format", Riff({{"fmt ", Format(13)}, {"data", {1, 2}}}), -1, -1, 0},
        {"not RIFF", wrongId, -1, -1, 0},
        {"RIFF ends before data", Riff({{"fmt ", Format(18)}, {"data", {1, 2, 3, 4}}}, 4 + 26), -1, -1, 0},
        {"data past the block", overrun, -1, -1, 0},
        {"nothing", {}, -1, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const uint8_t *format = c.file.data(), *data = c.file.data();
        uint32_t size = 7;
        const int found = FindWaveChunksInBlock(c.file.empty() ? nullptr : c.file.data(), static_cast<uint32_t>(c.file.size()),
                                                &format, &data, &size);
        ASSERT_EQ(found, c.format >= 0 ? 1 : 0);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(format, c.format < 0 ? nullptr : c.file.data() + c.format);  // nothing half found is handed out
        EXPECT_EQ(data, c.data < 0 ? nullptr : c.file.data() + c.data);
    }
}

// ---- how they sound, measured on their samples (the table is printed for the record)

constexpr int RATE = 11025;

std::vector<double> EffectSamples(int id) {
    const uint8_t *format = nullptr, *data = nullptr;
    uint32_t size = 0;
    std::vector<double> v;
    if (FindWaveChunks(id, &format, &data, &size) != 1) return v;
    for (uint32_t i = 0; i < size; ++i) v.push_back((data[i] - 128) / 128.0);
    return v;
}

// Levels (rms) of consecutive 10 ms windows.
std::vector<double> Levels(const std::vector<double>& v) {
    const size_t window = RATE / 100;
    std::vector<double> levels;
    for (size_t at = 0; at + window <= v.size(); at += window) {
        double sum = 0.0;
        for (size_t i = at; i < at + window; ++i) sum += v[i] * v[i];
        levels.push_back(std::sqrt(sum / window));
    }
    return levels;
}

struct EffectMeasures {
    double seconds, attackMs, soundMs, peak, rms, offset, loudness;
};

EffectMeasures MeasureEffect(const std::vector<double>& v) {
    EffectMeasures m{};
    m.seconds = static_cast<double>(v.size()) / RATE;
    double sum = 0.0, squares = 0.0;
    for (double s : v) {
        m.peak = std::max(m.peak, std::fabs(s));
        sum += s;
        squares += s * s;
    }
    m.offset = sum / static_cast<double>(v.size());
    m.rms = std::sqrt(squares / static_cast<double>(v.size()));
    const std::vector<double> levels = Levels(v);
    const auto loudest = std::max_element(levels.begin(), levels.end());
    m.attackMs = 10.0 * static_cast<double>(loudest - levels.begin());
    // The sound lasts until its level stays 40 dB under its loudest 10 ms.
    size_t last = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] > *loudest / 100.0) last = i + 1;
    }
    m.soundMs = 10.0 * static_cast<double>(last);
    m.loudness = loudness::LoudestWindowDb(v, RATE, 0.1);
    return m;
}

TEST(EffectSound, EveryEffectIsCentredEndsAtRestAndFrequentOnesAreShort) {
    std::printf("[ measure  ] effect  length  attack  sounds  peak   rms     offset    loudest 100 ms\n");
    EffectMeasures all[SOUND_EFFECT_COUNT];
    for (int i = 0; i < SOUND_EFFECT_COUNT; ++i) {
        const int id = FIRST_SOUND_EFFECT + i;
        const std::vector<double> v = EffectSamples(id);
        ASSERT_FALSE(v.empty()) << id;
        const EffectMeasures m = MeasureEffect(v);
        all[i] = m;
        std::printf("[ measure  ] %d     %.2f s  %4.0f ms %5.0f ms %.3f  %.4f  %+.5f  %6.1f dB\n", id, m.seconds, m.attackMs,
                    m.soundMs, m.peak, m.rms, m.offset, m.loudness);
        SCOPED_TRACE(id);
        EXPECT_LT(std::fabs(m.offset), 0.002);  // no offset from centre
        EXPECT_GT(m.loudness, -40.0);           // audible
        EXPECT_LT(m.peak, 1.0);
        EXPECT_NEAR(v.back(), 0.0, 2.0 / 128);  // ends at rest, so a restart does not click
    }
    const auto of = [&all](int id) { return all[id - FIRST_SOUND_EFFECT]; };
    // The volley starts again every third frame (87 ms at the least), an enemy hit about seven
    // times a second, enemy fire as often as enemies shoot: each is over before it comes again.
    EXPECT_LE(of(104).soundMs, 80.0);
    EXPECT_LE(of(107).soundMs, 130.0);
    EXPECT_LE(of(110).soundMs, 80.0);
    // The bomb hits at once and swells after.
    EXPECT_LE(of(103).attackMs, 20.0);
    // The cues stand clearly above the loudest of the frequent sounds.
    const double bed = std::max({of(104).loudness, of(107).loudness, of(110).loudness, of(106).loudness});
    for (int cue : {101, 103, 108, 109, 112}) EXPECT_GE(of(cue).loudness, bed + 6.0) << cue;
}

}  // namespace

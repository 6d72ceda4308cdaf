// How the twelve built-in effects sound, measured on their samples: none carries an offset, the
// ones that restart every few frames are over before they start again, the bomb hits at once,
// and the cues the player must not miss are clearly louder than the bed of shots and hits. The
// table of measures is printed for the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "assetgen/loudness.h"
#include "sound/sound.h"

namespace {

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

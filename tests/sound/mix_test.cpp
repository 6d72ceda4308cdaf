// The game's own output over a minute of the first stage, firing all the time or never, through
// the mixer the live device uses: no clipping, no offset, and firing adds at most 3 dB.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/audio_mix.h"
#include "sound/mix_support.h"
#include "test_support.h"
#include "sound/sound.h"

namespace {

constexpr long RUN_TICKS = 2300;
constexpr double STRETCH_S = 60.0;

// Start the game and choose ship A with the shot control, then sway left and right; firing all
// the while or not at all.
std::string SwayKeys(bool fire) {
    const std::string shot = fire ? "z " : "";
    std::string keys = "1 z\n";
    const char* moves[4] = {"left", "", "right", ""};
    const int lengths[4] = {50, 40, 50, 40};
    long tick = 98;  // the ship is confirmed on tick 97
    for (int i = 0; tick < RUN_TICKS; ++i) {
        const std::string held = shot + moves[i % 4];
        keys += std::to_string(tick) + " " + (held.empty() ? "-" : held) + "\n";
        tick += lengths[i % 4];
    }
    return keys;
}

// The first tick whose music commands open the first stage's piece.
size_t StageStart(const std::vector<TraceTick>& trace) {
    for (size_t i = 0; i < trace.size(); ++i) {
        for (const std::string& command : trace[i].music) {
            if (command.find("open bgm01.mid") == 0) return i;
        }
    }
    return trace.size();
}

// The ticks from start that make up the stretch's length on the virtual clock.
size_t StretchEnd(const std::vector<TraceTick>& trace, size_t start) {
    long ms = 0;
    size_t end = start;
    while (end < trace.size() && ms < STRETCH_S * 1000) ms += trace[end++].milliseconds;
    return end;
}

TEST(GameMix, FiringSitsUnderTheMusicWithoutClippingOrOffset) {
    if (!SoundFontAvailable()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MixMeasures measures[2];
    const char* names[2] = {"firing", "not firing"};
    for (int run = 0; run < 2; ++run) {
        const std::vector<TraceTick> trace = RunHeadlessGame(SwayKeys(run == 0), RUN_TICKS);
        ASSERT_GE(trace.size(), static_cast<size_t>(RUN_TICKS));
        const size_t start = StageStart(trace);
        const size_t end = StretchEnd(trace, start);
        ASSERT_LT(end, trace.size()) << "the run is shorter than the stretch";
        // The runs differ as intended: a volley every few frames, or none.
        int volleys = 0;
        for (size_t i = start; i < end; ++i) volleys += CountOf(trace[i].sounds, 104);
        EXPECT_EQ(volleys > 500, run == 0) << volleys;

        // The run through the game's mixer, with or without the music.
        const auto render = [start, end](const std::vector<TraceTick>& ticks, bool music) {
            AudioMixer* mixer = MakeGameMixer(44100, VORNE_DATA_DIR, music);
            const MixMeasures m = Measure(RenderTicks(mixer, ticks, start, end));
            MixerDestroy(mixer);
            return m;
        };
        const MixMeasures& m = measures[run] = render(trace, true);
        std::printf("[ measure  ] stage 1 %-10s %.1f s: peak %.3f, clipped %ld, worst second's offset %.5f, loudness %.1f LUFS\n",
                    names[run], m.seconds, m.peak, m.clipped, m.worstSecondOffset, m.loudness);
        if (run == 0) {
            // The firing run's effects without music, and its music without effects: the shots
            // and hits under the music, but heard.
            std::vector<TraceTick> silent = trace;
            for (TraceTick& t : silent) t.sounds.clear();
            const double effects = render(trace, false).loudness, music = render(silent, true).loudness;
            std::printf("[ measure  ] stage 1 firing: the effects alone %.1f LUFS, the music alone %.1f LUFS\n", effects, music);
            EXPECT_LT(effects, music);
            EXPECT_GT(effects, music - 12.0);
        }
        SCOPED_TRACE(names[run]);
        EXPECT_GT(m.seconds, STRETCH_S - 0.1);
        EXPECT_EQ(m.clipped, 0);
        EXPECT_LT(m.worstSecondOffset, 0.005);
        EXPECT_GT(m.loudness, -30.0);  // the music is there
    }
    const double added = measures[0].loudness - measures[1].loudness;
    std::printf("[ measure  ] stage 1: firing adds %.2f LU of loudness (%.2f dB of rms)\n", added,
                20.0 * std::log10(measures[0].rms / measures[1].rms));
    EXPECT_LE(added, 3.0);
}

}  // namespace

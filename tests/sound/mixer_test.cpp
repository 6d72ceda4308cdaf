// The mixer on its own, offline: the effects, the player's loudness, the limiter, and the music's
// commands as the synthesiser carries them out.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <string>
#include <vector>

#include "platform/audio_mix.h"
#include "mix_support.h"
#include "sound/midi_bytes.h"
#include "sound/sound.h"
#include "test_support.h"

namespace {

constexpr int RATE = 44100;
constexpr double PI = 3.14159265358979323846;

// 16-bit mono PCM of a sine at the given rate, level (of full scale) and length.
std::vector<uint8_t> Sine(double hz, int rate, double level, double seconds) {
    std::vector<uint8_t> bytes;
    const int count = static_cast<int>(seconds * rate);
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<int16_t>(std::lround(32767.0 * level * std::sin(2 * PI * hz * i / rate)));
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return bytes;
}

std::vector<double> Left(const std::vector<int16_t>& stereo) {
    std::vector<double> out(stereo.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = stereo[2 * i] / 32768.0;
    return out;
}

double Peak(const std::vector<double>& v, size_t from = 0, size_t to = SIZE_MAX) {
    double peak = 0.0;
    for (size_t i = from; i < std::min(to, v.size()); ++i) peak = std::max(peak, std::fabs(v[i]));
    return peak;
}

// A mixer at the output rate holding one effect (16-bit mono unless said otherwise).
AudioMixer* MixerWith(int id, const std::vector<uint8_t>& bytes, int rate = RATE, int bits = 16) {
    AudioMixer* mixer = MixerCreate(RATE);
    EXPECT_TRUE(MixerSetEffect(mixer, id, bytes.data(), static_cast<uint32_t>(bytes.size()), rate, bits, 1));
    return mixer;
}

// Renders frames into a fresh buffer and returns its left side.
std::vector<double> RenderLeft(AudioMixer* mixer, int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    MixerRender(mixer, out.data(), frames);
    return Left(out);
}

// The largest move from one sample to the next.
double LargestStep(const std::vector<double>& v) {
    double largest = 0.0;
    for (size_t i = 1; i < v.size(); ++i) largest = std::max(largest, std::fabs(v[i] - v[i - 1]));
    return largest;
}

// The level of one frequency in a stretch (a single-bin transform with a Hann window), of full scale.
double LevelAt(const std::vector<double>& v, size_t from, size_t count, double hz) {
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * PI * i / count);
        re += v[from + i] * w * std::cos(2 * PI * hz * i / RATE);
        im += v[from + i] * w * std::sin(2 * PI * hz * i / RATE);
    }
    return 4.0 * std::sqrt(re * re + im * im) / count;
}

TEST(Mixer, TheLimiterHoldsAPileUpUnderFullScaleAndLeavesOneSoundAlone) {
    const std::vector<uint8_t> loud = Sine(220.0, RATE, 1.0, 1.0);
    AudioMixer* mixer = MixerWith(MIXER_FIRST_EFFECT_ID, loud);
    const int lastId = MIXER_FIRST_EFFECT_ID + MIXER_EFFECT_SLOTS - 1;
    for (int id = MIXER_FIRST_EFFECT_ID + 1; id <= lastId; ++id) {
        ASSERT_TRUE(MixerSetEffect(mixer, id, loud.data(), static_cast<uint32_t>(loud.size()), RATE, 16, 1));
    }
    // One effect alone: through at its gain, the limiter idle.
    MixerStartEffect(mixer, 101);
    const double alone = Peak(RenderLeft(mixer, RATE / 2), RATE / 10);
    EXPECT_GT(alone, 0.2);
    EXPECT_LT(alone, 0.89);
    EXPECT_EQ(MixerGetStats(mixer).limitedFrames, 0);
    // All twelve at once, in phase: several times full scale before the limiter.
    for (int id = MIXER_FIRST_EFFECT_ID; id <= lastId; ++id) MixerStartEffect(mixer, id);
    const std::vector<double> piled = RenderLeft(mixer, RATE / 2);
    EXPECT_LE(Peak(piled), 0.8912);
    EXPECT_GT(Peak(piled), 0.85);  // held at the ceiling, not squashed far below it
    EXPECT_GT(MixerGetStats(mixer).limitedFrames, 0);
    // After the pile-up the gain comes back within a fraction of a second.
    for (int id = MIXER_FIRST_EFFECT_ID; id <= lastId; ++id) MixerStopEffect(mixer, id);
    RenderLeft(mixer, RATE / 10);
    MixerStartEffect(mixer, 101);
    EXPECT_NEAR(Peak(RenderLeft(mixer, RATE / 2), RATE / 5), alone, 0.01);
    MixerDestroy(mixer);
}

// An effect is taken in 8 or 16 bits, mono or stereo, whole samples, in one of the twelve slots.
TEST(Mixer, EffectsTakeOnlyWhatTheyCanPlay) {
    AudioMixer* mixer = MixerCreate(RATE);
    const uint8_t samples[100] = {};
    const int bad[][5] = {{100, 100, 11025, 8, 1}, {113, 100, 11025, 8, 1}, {101, 100, 11025, 12, 1},
                          {101, 100, 11025, 8, 3}, {101, 0, 11025, 8, 1},   {101, 1, 11025, 16, 1}};
    for (const auto& b : bad) {
        EXPECT_FALSE(MixerSetEffect(mixer, b[0], samples, static_cast<uint32_t>(b[1]), b[2], b[3], b[4])) << b[0] << " " << b[1];
    }
    EXPECT_FALSE(MixerHasEffect(mixer, 101));
    EXPECT_TRUE(MixerSetEffect(mixer, 101, samples, 100, 22050, 16, 2));
    MixerDestroy(mixer);
}

TEST(Mixer, EffectsComeToTheOutputRateWithoutMirrorImagesOrOffset) {
    // An 11025 Hz effect holding a 3 kHz tone and a tenth of full scale of offset: the tone arrives
    // without its image at 11025 - 3000 Hz, the offset not at all.
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 11025; ++i) {
        bytes.push_back(static_cast<uint8_t>(std::lround(128 + 127 * (0.1 + 0.5 * std::sin(2 * PI * 3000.0 * i / 11025)))));
    }
    AudioMixer* mixer = MixerWith(104, bytes, 11025, 8);
    MixerStartEffect(mixer, 104);
    const std::vector<double> left = RenderLeft(mixer, RATE);
    const double tone = LevelAt(left, RATE / 2, 8192, 3000.0);
    const double image = LevelAt(left, RATE / 2, 8192, 8025.0);
    double mean = 0.0;
    for (size_t i = RATE / 2; i < left.size(); ++i) mean += left[i];
    mean /= static_cast<double>(left.size() - RATE / 2);
    EXPECT_GT(tone, 0.1);
    EXPECT_LT(20 * std::log10(image / tone), -50.0);
    EXPECT_LT(std::fabs(mean), 0.002);
    MixerDestroy(mixer);
}

TEST(Mixer, ARestartedEffectFadesTheOldSoundOut) {
    // A steady tone cut at its loudest by a restart: the output moves smoothly into the new start.
    AudioMixer* mixer = MixerWith(110, Sine(100.0, RATE, 1.0, 1.0));
    MixerStartEffect(mixer, 110);
    std::vector<double> out = RenderLeft(mixer, RATE / 400);  // up to the quarter cycle: the tone at its crest
    MixerStartEffect(mixer, 110);
    const std::vector<double> after = RenderLeft(mixer, RATE / 50);
    out.insert(out.end(), after.begin(), after.end());
    const double largestStep = LargestStep(out);
    // A sine of this level and pitch moves at most 0.006 a sample; a cut would jump by 0.4.
    EXPECT_LT(largestStep, 0.02);
    MixerDestroy(mixer);
}

// The player's loudness on the effects: a square law, exact silence at 0 and under mute, a
// glide instead of a jump when it changes mid-sound, and the chosen level from the first sample.
TEST(Mixer, ThePlayersLoudnessScalesTheEffectsWithoutAClick) {
    const std::vector<uint8_t> tone = Sine(440.0, RATE, 0.5, 2.0);
    const auto render = [&](int effects, bool mute) {
        AudioMixer* mixer = MixerWith(101, tone);
        MixerSetVolume(mixer, 100, effects, mute);
        MixerStartEffect(mixer, 101);
        const std::vector<double> out = RenderLeft(mixer, RATE / 4);
        MixerDestroy(mixer);
        return out;
    };
    const std::vector<double> full = render(100, false);
    const std::vector<double> half = render(50, false);
    ASSERT_GT(Peak(full), 0.1);
    EXPECT_NEAR(Peak(half) / Peak(full), 0.25, 0.005);
    // From the very first samples: no glide down from full loudness at the start.
    EXPECT_NEAR(Peak(half, 0, RATE / 200) / Peak(full, 0, RATE / 200), 0.25, 0.01);
    EXPECT_EQ(Peak(render(0, false)), 0.0);
    EXPECT_EQ(Peak(render(100, true)), 0.0);

    // Muted in the middle of the tone: down to silence within a few hundredths of a second, never
    // in one jump; unmuted, back to where it was.
    AudioMixer* mixer = MixerWith(101, tone);
    MixerStartEffect(mixer, 101);
    const double before = Peak(RenderLeft(mixer, RATE / 4), RATE / 8);
    MixerSetVolume(mixer, 100, 100, true);
    const std::vector<double> muting = RenderLeft(mixer, RATE / 4);
    EXPECT_LT(LargestStep(muting), 0.05);             // a 440 Hz tone of this level moves at most 0.03 a sample
    EXPECT_LE(Peak(muting, RATE / 20), 1.0 / 32768);  // the DC blocker's last breath at most
    MixerSetVolume(mixer, 100, 100, false);
    EXPECT_NEAR(Peak(RenderLeft(mixer, RATE / 4), RATE / 20), before, 0.002);
    MixerDestroy(mixer);
}

class MixerMusic : public ::testing::Test {
  protected:
    void SetUp() override {
        MidiBytes piece;
        piece.Tempo(0, 120);
        piece.Note(0, 0, 480, 60);
        mixer = MixerWithPiece(piece.Build(960), false);  // one second, played silently to the same clock
    }
    void TearDown() override { MixerDestroy(mixer); }
    AudioMixer* mixer = nullptr;
};

TEST_F(MixerMusic, TheEndOfAPieceIsReportedOnceJustBeforeItOrAnsweredWhenRendered) {
    ASSERT_EQ(MixerMusicState(mixer).lengthMs, 1000u);
    // The commands, 10 ms of play after each, then 10 ms steps to 1.5 s: the times of the reports.
    const auto reports = [this](std::initializer_list<const char*> commands) {
        for (const char* command : commands) {
            MixerCommand(mixer, command);
            RenderLeft(mixer, RATE / 100);
        }
        std::vector<int> at;
        for (int ms = 10 * static_cast<int>(commands.size()) + 10; ms <= 1500; ms += 10) {
            RenderLeft(mixer, RATE / 100);
            if (MixerTakeEndOfPiece(mixer)) at.push_back(ms);
        }
        return at;
    };
    const std::vector<int> once = reports({"play BGM from 0 notify"});
    ASSERT_EQ(once.size(), 1u);
    EXPECT_GE(once[0], 1000 - MIXER_NOTIFY_LEAD_MS);
    EXPECT_LT(once[0], 1000);
    EXPECT_FALSE(MixerMusicState(mixer).notifyPending);
    // Played without notify, stopped or closed before its end: nothing is reported. Replaced as
    // PlayMusic does it: only the new piece's end.
    EXPECT_TRUE(reports({"play BGM from 0"}).empty());
    EXPECT_TRUE(reports({"play BGM from 0 notify", "stop BGM wait"}).empty());
    EXPECT_TRUE(reports({"play BGM from 0 notify", "close BGM wait"}).empty());
    EXPECT_EQ(reports({"open piece.mid alias BGM wait", "play BGM from 0 notify", "stop BGM wait", "close BGM wait",
                       "open piece.mid alias BGM wait", "play BGM from 0 notify"})
                  .size(),
              1u);

    // Rendered tick by tick from a trace, the renderer answers the end itself: the piece loops on.
    std::vector<int16_t> out(RATE / 1000 * 29 * 2);
    MixerRenderTick(mixer, {}, {"play BGM from 0 notify"}, out.data(), RATE / 1000 * 29);
    for (int tick = 1; tick < 120; ++tick) {  // about 3.5 s: three ends
        MixerRenderTick(mixer, {}, {}, out.data(), RATE / 1000 * 29);
        const MciState state = MixerMusicState(mixer);
        ASSERT_TRUE(state.playing) << tick;
        ASSERT_TRUE(state.notifyPending) << tick;
    }
}

// Music at 0 leaves exactly what the effects alone give.
TEST(MixerLoudness, MusicAtZeroLeavesOnlyTheEffects) {
    if (!SoundFontAvailable()) GTEST_SKIP() << "no General MIDI soundfont installed";
    const auto render = [](bool withMusic, int musicVolume) {
        AudioMixer* mixer = MakeGameMixer(44100, VORNE_DATA_DIR, true);
        MixerSetVolume(mixer, musicVolume, 100, false);
        if (withMusic) {
            MixerCommand(mixer, "open bgm01.mid alias BGM wait");
            MixerCommand(mixer, "play BGM from 0 notify");
        }
        std::vector<int16_t> out(RATE * 2 * 2);
        MixerRender(mixer, out.data(), RATE / 2);
        MixerStartEffect(mixer, 104);
        MixerRender(mixer, out.data() + RATE, RATE * 3 / 2);
        MixerDestroy(mixer);
        return out;
    };
    const std::vector<int16_t> effectsAlone = render(false, 100);
    const std::vector<int16_t> musicAtZero = render(true, 0);
    const std::vector<int16_t> musicAtFull = render(true, 100);
    EXPECT_GT(Peak(Left(effectsAlone)), 0.01);
    EXPECT_EQ(musicAtZero, effectsAlone);
    EXPECT_GT(Peak(Left(musicAtFull), 0, RATE / 2), 0.01);  // the piece does sound at 100
}

// A piece cut short releases its notes (a fade, never a chop), and opened again later it starts
// clean: nothing of the notes sounding when it was stopped comes back with it.
TEST(MixerLoudness, APieceCutShortReleasesItsNotesAndStartsCleanNextTime) {
    if (!SoundFontAvailable()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MidiBytes late;  // six tenths of a second of silence, then a held chord
    late.Tempo(0, 120);
    late.Program(0, 48);
    for (int key : {48, 55, 60, 64}) late.Note(0, 576, 2304, key);
    AudioMixer* mixer = MixerWithPiece(late.Build(2880), true);
    // The chord sounds; stopped, 1.5 s pass; played again, still inside its silent beginning.
    const std::pair<const char*, int> steps[] = {{"play BGM from 0 notify", 1100},
                                                 {"stop BGM wait", 0},
                                                 {"close BGM wait", 1500},
                                                 {"open piece.mid alias BGM wait", 0},
                                                 {"play BGM from 0 notify", 450}};
    std::vector<double> out;
    for (const auto& [command, ms] : steps) {
        MixerCommand(mixer, command);
        const std::vector<double> part = RenderLeft(mixer, RATE / 1000 * ms);
        out.insert(out.end(), part.begin(), part.end());
    }
    MixerDestroy(mixer);
    // In 10 ms windows: the chord, its release from the stop, then silence to the end.
    std::vector<double> level;
    for (size_t at = 0; at + RATE / 100 <= out.size(); at += RATE / 100) level.push_back(Peak(out, at, at + RATE / 100));
    size_t chordStart = 0;
    while (chordStart < level.size() && level[chordStart] < 0.01) ++chordStart;
    ASSERT_LT(chordStart + 20, level.size()) << "the chord was not heard";
    const double chord = level[chordStart + 20];
    size_t released = chordStart + 20;  // where the level first falls under half the chord's
    while (released < level.size() && level[released] > chord / 2) ++released;
    size_t faded = released;  // and under a thirtieth of it
    while (faded < level.size() && level[faded] > chord / 30) ++faded;
    EXPECT_NEAR(static_cast<double>(released * 10), 1100.0, 100.0) << "the chord fades from when it is stopped";
    // A second after the stop the tail is gone, and nothing comes back with the next play.
    const double afterwards = Peak(level, released + 100);
    std::printf("[ measure  ] cut-short chord %.4f: released over %zu ms; loudest 10 ms from a second after the stop: %.5f\n",
                chord, (faded - released) * 10, afterwards);
    EXPECT_GT(chord, 0.02);
    EXPECT_GE(faded - released, 5u);  // a release, not a cut
    EXPECT_LT(afterwards, 0.001);
}

// A soundfont named by SDL_SOUNDFONTS that is no regular file (a FIFO would hold its loader, and
// the end of the game with it) is refused at once.
TEST(Mixer, ASoundFontThatIsNoRegularFileIsRefused) {
    const SavedEnvironment environment({"SDL_SOUNDFONTS"});
    const std::string fifo = EnterScratchDataDir() + "/font.sf2";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    setenv("SDL_SOUNDFONTS", fifo.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MixerFindSoundFont(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vorne: the soundfont " + fifo + " is not a regular file\n");
    WriteWholeFile(fifo + ".real", "sfbk");
    setenv("SDL_SOUNDFONTS", (fifo + ".real").c_str(), 1);
    EXPECT_STREQ(MixerFindSoundFont(), (fifo + ".real").c_str());
    unlink(fifo.c_str());
    unlink((fifo + ".real").c_str());
}

}  // namespace

// The mixer on its own, offline: the limiter that keeps any pile-up of sounds under full scale and
// leaves normal levels alone, the conversion of the effects to the output rate, the fade that
// keeps a restarted effect from clicking, and the end of a piece reported to the caller (and
// answered, when a recorded game is rendered tick by tick).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
    AudioMixer* mixer = MixerCreate(RATE);
    const std::vector<uint8_t> loud = Sine(220.0, RATE, 1.0, 1.0);
    for (int id = MIXER_FIRST_EFFECT_ID; id < MIXER_FIRST_EFFECT_ID + MIXER_EFFECT_SLOTS; ++id) {
        ASSERT_TRUE(MixerSetEffect(mixer, id, loud.data(), static_cast<uint32_t>(loud.size()), RATE, 16, 1));
    }
    // One effect alone: through at its gain, the limiter idle.
    MixerStartEffect(mixer, 101);
    std::vector<int16_t> out(RATE / 2 * 2);
    MixerRender(mixer, out.data(), RATE / 2);
    const double alone = Peak(Left(out), RATE / 10);
    EXPECT_GT(alone, 0.2);
    EXPECT_LT(alone, 0.89);
    EXPECT_EQ(MixerGetStats(mixer).limitedFrames, 0);
    // All twelve at once, in phase: several times full scale before the limiter.
    for (int id = MIXER_FIRST_EFFECT_ID; id < MIXER_FIRST_EFFECT_ID + MIXER_EFFECT_SLOTS; ++id) MixerStartEffect(mixer, id);
    MixerRender(mixer, out.data(), RATE / 2);
    const std::vector<double> piled = Left(out);
    EXPECT_LE(Peak(piled), 0.8912);
    EXPECT_GT(Peak(piled), 0.85);  // held at the ceiling, not squashed far below it
    EXPECT_LT(*std::min_element(out.begin(), out.end()), -29000);
    EXPECT_GT(MixerGetStats(mixer).limitedFrames, 0);
    // After the pile-up the gain comes back within a fraction of a second.
    MixerStopEffect(mixer, 101);
    for (int id = 102; id < MIXER_FIRST_EFFECT_ID + MIXER_EFFECT_SLOTS; ++id) MixerStopEffect(mixer, id);
    MixerRender(mixer, out.data(), RATE / 10);
    MixerStartEffect(mixer, 101);
    MixerRender(mixer, out.data(), RATE / 2);
    EXPECT_NEAR(Peak(Left(out), RATE / 5), alone, 0.01);
    MixerDestroy(mixer);
}

TEST(Mixer, EffectsComeToTheOutputRateWithoutMirrorImagesOrOffset) {
    // An 11025 Hz effect (as the game's are) holding a 3 kHz tone and an offset of a tenth of
    // full scale: the tone must arrive clean (no image at 11025 - 3000 Hz) and the offset must
    // not reach the output.
    AudioMixer* mixer = MixerCreate(RATE);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 11025; ++i) {
        const double v = 0.1 + 0.5 * std::sin(2 * PI * 3000.0 * i / 11025);
        bytes.push_back(static_cast<uint8_t>(std::lround(128 + 127 * v)));
    }
    ASSERT_TRUE(MixerSetEffect(mixer, 104, bytes.data(), static_cast<uint32_t>(bytes.size()), 11025, 8, 1));
    MixerStartEffect(mixer, 104);
    std::vector<int16_t> out(RATE * 2);
    MixerRender(mixer, out.data(), RATE);
    const std::vector<double> left = Left(out);
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
    // A steady tone cut at its loudest by a restart: the output moves smoothly into the new
    // start instead of jumping from the old level to the new one's first sample.
    AudioMixer* mixer = MixerCreate(RATE);
    const std::vector<uint8_t> tone = Sine(100.0, RATE, 1.0, 1.0);
    ASSERT_TRUE(MixerSetEffect(mixer, 110, tone.data(), static_cast<uint32_t>(tone.size()), RATE, 16, 1));
    MixerStartEffect(mixer, 110);
    std::vector<int16_t> before(RATE / 400 * 2);  // up to the quarter cycle: the tone at its crest
    MixerRender(mixer, before.data(), RATE / 400);
    MixerStartEffect(mixer, 110);
    std::vector<int16_t> after(RATE / 50 * 2);
    MixerRender(mixer, after.data(), RATE / 50);
    double largestStep = 0.0;
    int16_t last = before[before.size() - 2];
    for (size_t i = 0; i < after.size(); i += 2) {
        largestStep = std::max(largestStep, std::fabs(after[i] - last) / 32768.0);
        last = after[i];
    }
    // A sine of this level and pitch moves at most 0.006 a sample; a cut would jump by 0.4.
    EXPECT_LT(largestStep, 0.02);
    MixerDestroy(mixer);
}

// The player's loudness on the effects: a square law, exact silence at 0 and under mute, a
// glide instead of a jump when it changes mid-sound, and the chosen level from the first sample.
TEST(Mixer, ThePlayersLoudnessScalesTheEffectsWithoutAClick) {
    const std::vector<uint8_t> tone = Sine(440.0, RATE, 0.5, 2.0);
    const auto render = [&](int effects, bool mute, int frames) {
        AudioMixer* mixer = MixerCreate(RATE);
        EXPECT_TRUE(MixerSetEffect(mixer, 101, tone.data(), static_cast<uint32_t>(tone.size()), RATE, 16, 1));
        MixerSetVolume(mixer, 100, effects, mute);
        MixerStartEffect(mixer, 101);
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        MixerRender(mixer, out.data(), frames);
        MixerDestroy(mixer);
        return Left(out);
    };
    const std::vector<double> full = render(100, false, RATE / 4);
    const std::vector<double> half = render(50, false, RATE / 4);
    const std::vector<double> tenth = render(10, false, RATE / 4);
    ASSERT_GT(Peak(full), 0.1);
    EXPECT_NEAR(Peak(half) / Peak(full), 0.25, 0.005);
    EXPECT_NEAR(Peak(tenth) / Peak(full), 0.01, 0.002);
    // From the very first samples: no glide down from full loudness at the start.
    EXPECT_NEAR(Peak(half, 0, RATE / 200) / Peak(full, 0, RATE / 200), 0.25, 0.01);
    EXPECT_EQ(Peak(render(0, false, RATE / 4)), 0.0);
    EXPECT_EQ(Peak(render(100, true, RATE / 4)), 0.0);

    // Muted in the middle of the tone: down to silence within a few hundredths of a second, never
    // in one jump; unmuted, back to where it was.
    AudioMixer* mixer = MixerCreate(RATE);
    ASSERT_TRUE(MixerSetEffect(mixer, 101, tone.data(), static_cast<uint32_t>(tone.size()), RATE, 16, 1));
    MixerStartEffect(mixer, 101);
    std::vector<int16_t> out(RATE / 4 * 2);
    MixerRender(mixer, out.data(), RATE / 4);
    const double before = Peak(Left(out), RATE / 8);
    MixerSetVolume(mixer, 100, 100, true);
    MixerRender(mixer, out.data(), RATE / 4);
    const std::vector<double> muting = Left(out);
    double largestStep = 0.0;
    for (size_t i = 1; i < muting.size(); ++i) largestStep = std::max(largestStep, std::fabs(muting[i] - muting[i - 1]));
    EXPECT_LT(largestStep, 0.05);                     // a 440 Hz tone of this level moves at most 0.03 a sample
    EXPECT_LE(Peak(muting, RATE / 20), 1.0 / 32768);  // the DC blocker's last breath at most
    MixerSetVolume(mixer, 100, 100, false);
    MixerRender(mixer, out.data(), RATE / 4);
    EXPECT_NEAR(Peak(Left(out), RATE / 20), before, 0.002);
    MixerDestroy(mixer);
}

class MixerMusic : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = EnterScratchDataDir();
        MidiBytes piece;
        piece.Tempo(0, 120);
        piece.Note(0, 0, 480, 60);
        ASSERT_TRUE(piece.Save(folder + "/mixer_test.mid", 960));  // one second
        mixer = MixerCreate(RATE);                                 // no synthesiser: the music runs silently, to the same clock
        MixerSetMusicFolder(mixer, folder);
        MixerCommand(mixer, "open mixer_test.mid alias BGM wait");
    }
    void TearDown() override {
        MixerDestroy(mixer);
        std::remove((folder + "/mixer_test.mid").c_str());
    }
    std::string folder;
    AudioMixer* mixer = nullptr;
};

TEST_F(MixerMusic, TheEndOfAPiecePlayedWithNotifyIsReportedOnceJustBeforeIt) {
    ASSERT_EQ(MixerMusicState(mixer).lengthMs, 1000u);
    MixerCommand(mixer, "play BGM from 0 notify");
    std::vector<int16_t> out(RATE / 100 * 2);
    int reportedAt = -1, reports = 0;
    for (int ms = 10; ms <= 1500; ms += 10) {
        MixerRender(mixer, out.data(), RATE / 100);
        if (MixerTakeEndOfPiece(mixer)) {
            ++reports;
            if (reportedAt < 0) reportedAt = ms;
        }
    }
    EXPECT_EQ(reports, 1);
    EXPECT_GE(reportedAt, 1000 - MIXER_NOTIFY_LEAD_MS);
    EXPECT_LT(reportedAt, 1000);
    EXPECT_FALSE(MixerMusicState(mixer).notifyPending);
    // Played without notify, or stopped before its end: nothing is reported.
    MixerCommand(mixer, "play BGM from 0");
    for (int ms = 0; ms < 1500; ms += 10) {
        MixerRender(mixer, out.data(), RATE / 100);
        EXPECT_FALSE(MixerTakeEndOfPiece(mixer));
    }
    MixerCommand(mixer, "play BGM from 0 notify");
    MixerRender(mixer, out.data(), RATE / 100);
    MixerCommand(mixer, "stop BGM wait");
    for (int ms = 0; ms < 1500; ms += 10) {
        MixerRender(mixer, out.data(), RATE / 100);
        EXPECT_FALSE(MixerTakeEndOfPiece(mixer));
    }
}

TEST_F(MixerMusic, ARecordedGameRenderedTickByTickLoopsThePieceAsTheGameWould) {
    // The recording holds the game's own commands only; the answer to the end of the piece is
    // the renderer's to give, so the piece goes on looping across its end.
    std::vector<int16_t> out(RATE / 1000 * 29 * 2);
    MixerRenderTick(mixer, {}, {"play BGM from 0 notify"}, out.data(), RATE / 1000 * 29);
    for (int tick = 1; tick < 120; ++tick) {  // about 3.5 s: three ends
        MixerRenderTick(mixer, {}, {}, out.data(), RATE / 1000 * 29);
        const MciState state = MixerMusicState(mixer);
        ASSERT_TRUE(state.playing) << tick;
        ASSERT_TRUE(state.notifyPending) << tick;
    }
}

// Music at 0 leaves exactly what the effects alone give: not a sample of the piece gets through.
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

}  // namespace

namespace {

// A soundfont named by SDL_SOUNDFONTS that is no regular file (a FIFO would hold its loader, and
// the end of the game with it) is refused at once.
TEST(Mixer, ASoundFontThatIsNoRegularFileIsRefused) {
    const char* before = std::getenv("SDL_SOUNDFONTS");
    const std::string saved = before ? before : "";
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
    if (before) {
        setenv("SDL_SOUNDFONTS", saved.c_str(), 1);
    } else {
        unsetenv("SDL_SOUNDFONTS");
    }
}

}  // namespace

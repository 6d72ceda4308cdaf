// The SDL sound back-end without a sound card: SDL's dummy audio driver for the music device's
// state and its end-of-piece notification, and the disk driver (which writes what would be heard
// to a file) for real output: an effect, a piece, and the join when a piece loops.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/mci.h"
#include "platform/sdl_backend.h"
#include "sound/midi_bytes.h"
#include "sound/sound.h"

namespace {

// A piece of the given length in milliseconds at 120 bpm (1 tick = 1000/960 ms): one organ chord
// held from its first tick to its last, so it sounds without a break until it ends.
MidiBytes HeldChord(uint32_t ms) {
    MidiBytes m;
    const uint32_t ticks = ms * 960 / 1000;
    m.Tempo(0, 120);
    m.Program(0, 19);
    for (int key : {48, 55, 60}) m.Note(0, 0, ticks, key);
    return m;
}

uint32_t TicksFor(uint32_t ms) { return ms * 960 / 1000; }

// The two pieces every test finds in its folder: bgm01 and bgm02, held chords of these lengths.
constexpr uint32_t SHORT_MS = 600;
constexpr uint32_t LONGER_MS = 900;
// How late a notification may come. It is counted in mixed samples, and on a busy machine the
// dummy driver's mixing falls behind the wall clock; still far from the 2.8 s that FluidSynth
// itself would take to report the end.
constexpr int NOTIFY_SLACK_MS = 600;
// The notification comes a little before the end, so that the restart it asks for is there in
// time to be carried out at the end itself; never more than this early.
constexpr int NOTIFY_LEAD_MS = 50;
// The earliest a notification for a piece of this length may come: the lead, and the dummy
// driver's clock running a little fast.
int EarliestNotification(uint32_t lengthMs) { return (static_cast<int>(lengthMs) - NOTIFY_LEAD_MS) * 9 / 10; }

bool SoundFontInstalled() {
    const char* env = std::getenv("SDL_SOUNDFONTS");
    struct stat info {};
    return (env && *env) || stat("/usr/share/sounds/sf2/TimGM6mb.sf2", &info) == 0 ||
           stat("/usr/share/sounds/sf2/default-GM.sf2", &info) == 0;
}

// Waits for the end-of-piece notification, as the game's event pump would see it. Returns the
// milliseconds waited, or -1 when none came within timeoutMs.
int WaitForNotification(int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        const int left = timeoutMs - static_cast<int>(waited.count());
        if (left <= 0) return -1;
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, left) && event.type == SDL_USEREVENT &&
            event.user.code == static_cast<Sint32>(MM_MCINOTIFY)) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(event.user.data1), 1u);  // MCI_NOTIFY_SUCCESSFUL
            return static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        }
    }
}

// Each test runs in a fresh folder holding its pieces, with the audio device opened there (so its
// bgm files are the ones loaded at start-up).
class SdlAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        home = cwd;
        char pattern[] = "/tmp/vorne_audio_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        ASSERT_TRUE(HeldChord(SHORT_MS).Save("bgm01.mid", TicksFor(SHORT_MS)));
        ASSERT_TRUE(HeldChord(LONGER_MS).Save("bgm02.mid", TicksFor(LONGER_MS)));
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        savedDriver = driver ? driver : "";
    }
    void TearDown() override {
        SdlSoundShutdown();
        if (savedDriver.empty()) {
            unsetenv("SDL_AUDIODRIVER");
        } else {
            setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
        }
        unsetenv("SDL_DISKAUDIOFILE");
        ASSERT_EQ(chdir(home.c_str()), 0);
        for (const char* name : {"bgm01.mid", "bgm02.mid", "extra.mid", "out.raw"}) {
            std::remove((folder + "/" + name).c_str());
        }
        rmdir(folder.c_str());
    }
    void Open(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (std::string(driver) == "disk") setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
        ASSERT_TRUE(SdlSoundInit());
        SDL_FlushEvent(SDL_USEREVENT);
    }
    // Waits until the pieces loaded at start-up are ready, as they are long before a game starts.
    void WaitForLoads() {
        const auto start = std::chrono::steady_clock::now();
        while (SdlMciPendingLoads() > 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            SDL_Delay(5);
        }
        ASSERT_EQ(SdlMciPendingLoads(), 0);
    }
    // The disk driver's output (signed 16-bit stereo at 44.1 kHz) as mono levels of 1.0 full scale.
    std::vector<double> Recorded() {
        std::ifstream in(folder + "/out.raw", std::ios::binary);
        const std::vector<char> raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<double> mono(raw.size() / 4);
        for (size_t i = 0; i < mono.size(); ++i) {
            int16_t left, right;
            std::memcpy(&left, &raw[i * 4], 2);
            std::memcpy(&right, &raw[i * 4 + 2], 2);
            mono[i] = (left + right) / 65536.0;
        }
        return mono;
    }
    std::string home;
    std::string folder;
    std::string savedDriver;
};

double Rms(const std::vector<double>& samples, size_t from, size_t to);

// The level of the loudest 50 ms of a recording.
double LoudestStretch(const std::vector<double>& samples) {
    const size_t window = 44100 / 20;
    double loudest = 0.0;
    for (size_t at = 0; at + window <= samples.size(); at += window / 2) {
        loudest = std::max(loudest, Rms(samples, at, at + window));
    }
    return loudest;
}

double Rms(const std::vector<double>& samples, size_t from, size_t to) {
    double sum = 0.0;
    to = std::min(to, samples.size());
    if (from >= to) return 0.0;
    for (size_t i = from; i < to; ++i) sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

TEST_F(SdlAudio, MusicDeviceOpensPlaysStopsAndCloses) {
    Open("dummy");
    SdlMciSendString("play BGM from 0 notify");  // nothing open: ignored
    EXPECT_FALSE(SdlMciState().playing);
    SdlMciSendString("open bgm01.mid alias BGM wait");
    MciState s = SdlMciState();
    EXPECT_TRUE(s.open);
    EXPECT_EQ(s.file, "bgm01.mid");
    EXPECT_EQ(s.lengthMs, SHORT_MS);
    EXPECT_FALSE(s.playing);
    EXPECT_EQ(s.audible, SoundFontInstalled());

    // The alias is taken: a second open fails and the first piece stays.
    SdlMciSendString("open bgm02.mid alias BGM wait");
    EXPECT_EQ(SdlMciState().file, "bgm01.mid");
    SdlMciSendString("play OTHER from 0 notify");  // another alias: ignored
    SdlMciSendString("play BGM from 250 notify");  // cannot seek: ignored
    SdlMciSendString("rewind BGM wait");           // unknown: ignored
    EXPECT_FALSE(SdlMciState().playing);

    SdlMciSendString("play BGM from 0 notify");
    s = SdlMciState();
    EXPECT_TRUE(s.playing);
    EXPECT_TRUE(s.notifyPending);
    SdlMciSendString("stop BGM wait");
    s = SdlMciState();
    EXPECT_TRUE(s.open);
    EXPECT_FALSE(s.playing);
    EXPECT_FALSE(s.notifyPending);
    SdlMciSendString("close BGM wait");
    EXPECT_FALSE(SdlMciState().open);
    SdlMciSendString("close BGM wait");  // closing twice is harmless

    // A missing file does not open; the next open still works.
    SdlMciSendString("open nothere.mid alias BGM wait");
    EXPECT_FALSE(SdlMciState().open);
    SdlMciSendString("open bgm02.mid alias BGM wait");
    EXPECT_EQ(SdlMciState().lengthMs, LONGER_MS);
}

TEST_F(SdlAudio, OpeningALoadedPieceIsFastAndAChangedFileIsReadAgain) {
    Open("dummy");
    WaitForLoads();
    // bgm01 and bgm02 were loaded when the device opened: opening them only looks them up.
    SdlMciSendString("open bgm02.mid alias BGM wait");
    EXPECT_LT(SdlMciLastOpenMicroseconds(), 3000u);
    SdlMciSendString("close BGM wait");
    // A file that was not there at start-up is loaded when it is opened.
    ASSERT_TRUE(HeldChord(700).Save("extra.mid", TicksFor(700)));
    SdlMciSendString("open extra.mid alias BGM wait");
    EXPECT_EQ(SdlMciState().lengthMs, 700u);
    SdlMciSendString("close BGM wait");
    // A piece replaced on disk is read again.
    MidiBytes longer = HeldChord(1200);
    longer.Note(0, 0, 10, 72);
    ASSERT_TRUE(longer.Save("bgm01.mid", TicksFor(1200)));
    SdlMciSendString("open bgm01.mid alias BGM wait");
    EXPECT_EQ(SdlMciState().lengthMs, 1200u);
}

TEST_F(SdlAudio, NotifiesAtTheEndAndRestartsWhenPlayedAgain) {
    Open("dummy");
    SdlMciSendString("open bgm01.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    const int first = WaitForNotification(3000);
    EXPECT_GE(first, EarliestNotification(SHORT_MS));
    EXPECT_LE(first, static_cast<int>(SHORT_MS) + NOTIFY_SLACK_MS);
    EXPECT_FALSE(SdlMciState().notifyPending);
    // What the window procedure does with the notification: play again, and it ends again.
    SdlMciSendString("play BGM from 0 notify");
    const int second = WaitForNotification(3000);
    EXPECT_GE(second, EarliestNotification(SHORT_MS));
    EXPECT_LE(second, static_cast<int>(SHORT_MS) + NOTIFY_SLACK_MS);
    // Played without notify: it ends silently.
    SdlMciSendString("play BGM from 0");
    EXPECT_EQ(WaitForNotification(SHORT_MS + NOTIFY_SLACK_MS), -1);
}

TEST_F(SdlAudio, StoppedClosedOrReplacedPiecesDoNotNotify) {
    Open("dummy");
    SdlMciSendString("open bgm01.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    EXPECT_EQ(WaitForNotification(SHORT_MS / 2), -1);
    SdlMciSendString("stop BGM wait");
    EXPECT_EQ(WaitForNotification(SHORT_MS), -1);

    // Replaced as PlayMusic does it: the new piece's end is the only notification.
    SdlMciSendString("play BGM from 0 notify");
    EXPECT_EQ(WaitForNotification(SHORT_MS / 2), -1);
    SdlMciSendString("stop BGM wait");
    SdlMciSendString("close BGM wait");
    SdlMciSendString("open bgm02.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    const int ended = WaitForNotification(3000);
    EXPECT_GE(ended, EarliestNotification(LONGER_MS));
    EXPECT_LE(ended, static_cast<int>(LONGER_MS) + NOTIFY_SLACK_MS);

    // Closing while playing, and closing the device altogether.
    SdlMciSendString("play BGM from 0 notify");
    SdlMciSendString("close BGM wait");
    EXPECT_EQ(WaitForNotification(LONGER_MS + 200), -1);
}

TEST_F(SdlAudio, EffectBuffersTakeOnlyWhatTheyCanPlay) {
    Open("dummy");
    const uint8_t samples[100] = {};
    EXPECT_FALSE(SdlSoundCreateBuffer(100, samples, 100, 11025, 8, 1));  // no such effect
    EXPECT_FALSE(SdlSoundCreateBuffer(113, samples, 100, 11025, 8, 1));
    EXPECT_FALSE(SdlSoundCreateBuffer(101, samples, 100, 11025, 12, 1));
    EXPECT_FALSE(SdlSoundCreateBuffer(101, samples, 100, 11025, 8, 3));
    EXPECT_FALSE(SdlSoundCreateBuffer(101, samples, 0, 11025, 8, 1));
    EXPECT_FALSE(SdlSoundCreateBuffer(101, samples, 1, 11025, 16, 1));  // not one whole sample
    EXPECT_TRUE(SdlSoundCreateBuffer(101, samples, 100, 11025, 8, 1));
    EXPECT_TRUE(SdlSoundCreateBuffer(101, samples, 100, 22050, 16, 2));  // made again over the first
    SdlSoundPlay(101);
    SdlSoundPlay(102);  // no buffer: nothing
    SdlSoundReleaseBuffer(101);
    SdlSoundPlay(101);
}

// ---- real output through the disk driver

TEST_F(SdlAudio, Effect104IsHeard) {
    Open("disk");
    const uint8_t *format = nullptr, *data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindWaveChunks(104, &format, &data, &size), 1);
    ASSERT_TRUE(SdlSoundCreateBuffer(104, data, size, 11025, 8, 1));
    SDL_Delay(100);
    SdlSoundPlay(104);
    SDL_Delay(500);
    SdlSoundShutdown();
    const std::vector<double> out = Recorded();
    ASSERT_GT(out.size(), 44100u / 5);
    const double rms = LoudestStretch(out);
    const double peak =
        std::fabs(*std::max_element(out.begin(), out.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }));
    std::printf("[ measure  ] effect 104 on the disk driver: loudest 50 ms rms %.4f, peak %.3f\n", rms, peak);
    EXPECT_GT(rms, 0.03);
    EXPECT_LT(peak, 1.0);
}

TEST_F(SdlAudio, Bgm01IsHeard) {
    if (!SoundFontInstalled()) GTEST_SKIP() << "no General MIDI soundfont installed";
    ASSERT_EQ(chdir(VORNE_DATA_DIR), 0);  // the generated pieces are loaded at start-up from here
    const auto opening = std::chrono::steady_clock::now();
    Open("disk");
    const auto opened = std::chrono::steady_clock::now();
    EXPECT_GT(SdlMciPendingLoads(), 0);  // the soundfont loads in the background
    while (SdlMciPendingLoads() > 0 && std::chrono::steady_clock::now() - opened < std::chrono::seconds(10)) {
        SDL_Delay(5);
    }
    ASSERT_EQ(SdlMciPendingLoads(), 0);
    std::printf("[ measure  ] opening the device: %.0f ms; the soundfont loaded in the background %.0f ms later\n",
                std::chrono::duration<double, std::milli>(opened - opening).count(),
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - opened).count());
    const auto start = std::chrono::steady_clock::now();
    SdlMciSendString("stop BGM wait");
    SdlMciSendString("close BGM wait");
    SdlMciSendString("open bgm01.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(SdlMciState().audible);
    std::printf("[ measure  ] switching to bgm01: %.2f ms (open %.2f ms)\n", took.count() / 1000.0,
                SdlMciLastOpenMicroseconds() / 1000.0);
    EXPECT_LT(took.count(), 10000);  // well under one 29 ms tick
    SDL_Delay(2000);
    SdlSoundShutdown();
    const std::vector<double> out = Recorded();
    size_t onset = 0;
    while (onset < out.size() && std::fabs(out[onset]) < 0.005) ++onset;
    ASSERT_LT(onset + 44100 / 2, out.size()) << "bgm01 was not heard";
    const double rms = Rms(out, onset, out.size());
    std::printf("[ measure  ] bgm01 on the disk driver: rms %.4f over its first %.2f s\n", rms, (out.size() - onset) / 44100.0);
    EXPECT_GT(rms, 0.02);
}

// The join when a piece loops: a piece of evenly spaced wood-block strokes, restarted on its
// notification as the window procedure does, must keep its beat across the join. Everything is
// measured in the output stream's own samples, so the driver's clock does not enter into it.
TEST_F(SdlAudio, LoopKeepsTheBeatAcrossTheJoin) {
    if (!SoundFontInstalled()) GTEST_SKIP() << "no General MIDI soundfont installed";
    constexpr uint32_t BEAT_MS = 100;
    MidiBytes strokes;
    strokes.Tempo(0, 120);
    for (uint32_t at = 0; at < SHORT_MS; at += BEAT_MS) strokes.Note(9, TicksFor(at), TicksFor(20), 76, 127);
    ASSERT_TRUE(strokes.Save("extra.mid", TicksFor(SHORT_MS)));
    Open("disk");
    WaitForLoads();
    SdlMciSendString("open extra.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    for (int loop = 0; loop < 2; ++loop) {
        ASSERT_GE(WaitForNotification(2000), 0);
        SdlMciSendString("play BGM from 0 notify");
    }
    SDL_Delay(SHORT_MS / 2);
    SdlSoundShutdown();
    const std::vector<double> out = Recorded();
    // Stroke onsets: a millisecond louder than 0.06 where 15 ms earlier it was under 0.02.
    std::vector<double> level;
    const size_t ms = 44100 / 1000;
    for (size_t at = 0; at + ms <= out.size(); at += ms) level.push_back(Rms(out, at, at + ms));
    std::vector<double> onsetsMs;
    for (size_t i = 15; i < level.size(); ++i) {
        const bool rises = level[i] > 0.06 && level[i - 15] < 0.02;
        if (rises && (onsetsMs.empty() || static_cast<double>(i) - onsetsMs.back() > BEAT_MS / 2)) {
            onsetsMs.push_back(static_cast<double>(i));
        }
    }
    std::string onsets;
    for (double at : onsetsMs) onsets += std::to_string(static_cast<int>(at)) + " ";
    // Two whole plays and at least one stroke after the second join (the disk driver's clock does
    // not keep to the wall clock, so the last play may come out shorter or longer).
    ASSERT_GE(onsetsMs.size(), 2 * SHORT_MS / BEAT_MS + 1) << "strokes at " << onsets;
    double worst = 0.0;
    for (size_t i = 1; i < onsetsMs.size(); ++i) worst = std::max(worst, std::fabs(onsetsMs[i] - onsetsMs[i - 1] - BEAT_MS));
    std::printf("[ measure  ] loop join: %zu strokes, worst beat error %.1f ms (two joins)\n", onsetsMs.size(), worst);
    EXPECT_LE(worst, 12.0) << "strokes at " << onsets;  // one mixing pass
}

// A piece cut short releases its notes (their release and the reverb's tail are heard, faded out
// within a fraction of a second, never chopped), and when it is opened again later it starts
// clean: nothing of the notes that were sounding when it was stopped comes back with it.
TEST_F(SdlAudio, APieceCutShortReleasesItsNotesAndStartsCleanNextTime) {
    if (!SoundFontInstalled()) GTEST_SKIP() << "no General MIDI soundfont installed";
    // Six tenths of a second of silence, then a held chord.
    MidiBytes late;
    late.Tempo(0, 120);
    late.Program(0, 48);
    for (int key : {48, 55, 60, 64}) late.Note(0, TicksFor(600), TicksFor(2400), key);
    ASSERT_TRUE(late.Save("bgm01.mid", TicksFor(3000)));
    Open("disk");
    WaitForLoads();
    SdlMciSendString("open bgm01.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    SDL_Delay(1100);  // the chord sounds
    SdlMciSendString("stop BGM wait");
    SdlMciSendString("close BGM wait");
    SDL_Delay(1500);
    SdlMciSendString("open bgm01.mid alias BGM wait");
    SdlMciSendString("play BGM from 0 notify");
    SDL_Delay(450);  // still inside the silent beginning
    SdlSoundShutdown();
    const std::vector<double> out = Recorded();
    // In 10 ms windows: the chord, its release from the moment it was stopped, then silence to the
    // end, the next play's beginning included.
    const size_t window = 44100 / 100;
    std::vector<double> level;
    for (size_t at = 0; at + window <= out.size(); at += window) level.push_back(Rms(out, at, at + window));
    size_t chordStart = 0;
    while (chordStart < level.size() && level[chordStart] < 0.01) ++chordStart;
    ASSERT_LT(chordStart + 20, level.size()) << "the chord was not heard";
    const double chord = level[chordStart + 20];
    size_t released = chordStart + 20;  // where the level first falls under half the chord's
    while (released < level.size() && level[released] > chord / 2) ++released;
    size_t faded = released;  // and under a thirtieth of it
    while (faded < level.size() && level[faded] > chord / 30) ++faded;
    // A second after the stop the tail is gone, and nothing comes back with the next play (it
    // starts half a second before the end of the recording, inside its silent beginning).
    double afterwards = 0.0;
    for (size_t i = released + 100; i < level.size(); ++i) afterwards = std::max(afterwards, level[i]);
    std::printf(
        "[ measure  ] cut-short chord %.4f: released over %zu ms; loudest 10 ms from a second after the stop "
        "on, the next play's start included: %.5f\n",
        chord, (faded - released) * 10, afterwards);
    EXPECT_GT(chord, 0.02);
    EXPECT_GE(faded - released, 5u);  // a release, not a cut
    ASSERT_GT(level.size(), released + 130) << "the silence and the next play were not recorded";
    EXPECT_LT(afterwards, 0.001);
}

}  // namespace

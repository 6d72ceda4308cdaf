// The SDL sound back-end without a sound card: the music device's commands on SDL's dummy driver,
// and the beat across a looping piece's join as the disk driver records it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/mci.h"
#include "platform/sdl_backend.h"
#include "sound/midi_bytes.h"
#include "sound/mix_support.h"
#include "test_support.h"

namespace {

uint32_t TicksFor(uint32_t ms) { return ms * 960 / 1000; }  // at 120 bpm

// A piece of the given length in milliseconds: one organ chord held from its start to its end.
MidiBytes HeldChord(uint32_t ms) {
    MidiBytes m;
    m.Tempo(0, 120);
    m.Program(0, 19);
    for (int key : {48, 55, 60}) m.Note(0, 0, TicksFor(ms), key);
    return m;
}

// The two pieces every test finds in its folder: bgm01 and bgm02, held chords of these lengths.
constexpr uint32_t SHORT_MS = 600;
constexpr uint32_t LONGER_MS = 900;

// Waits for the end-of-piece notification, as the game's event pump would see it. Returns the
// milliseconds waited, or -1 when none came within timeoutMs.
int WaitForNotification(int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    const auto waited = [&start] {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    };
    for (int left = timeoutMs; left > 0; left = timeoutMs - waited()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, left) && event.type == SDL_USEREVENT &&
            event.user.code == static_cast<Sint32>(MM_MCINOTIFY)) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(event.user.data1), 1u);  // MCI_NOTIFY_SUCCESSFUL
            return waited();
        }
    }
    return -1;
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
    }
    void TearDown() override {
        SdlSoundShutdown();
        ASSERT_EQ(chdir(home.c_str()), 0);
        for (const char* name : {"bgm01.mid", "bgm02.mid", "extra.mid", "out.raw"}) std::remove((folder + "/" + name).c_str());
        rmdir(folder.c_str());
    }
    void Open(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (std::string(driver) == "disk") setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
        ASSERT_TRUE(SdlSoundInit());
        SDL_FlushEvent(SDL_USEREVENT);
    }
    // Waits until the pieces loaded at start-up are ready, as they are long before a game starts.
    static void WaitForLoads() {
        const auto start = std::chrono::steady_clock::now();
        while (SdlMciPendingLoads() > 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) SDL_Delay(5);
        ASSERT_EQ(SdlMciPendingLoads(), 0);
    }
    // Closes the device and reads the disk driver's output: the rms level of each millisecond.
    std::vector<double> RecordedLevels() {
        SdlSoundShutdown();
        const std::string raw = ReadWholeFile(folder + "/out.raw");
        constexpr size_t MS = 44100 / 1000 * 4;
        std::vector<double> levels;
        for (size_t at = 0; at + MS <= raw.size(); at += MS) {
            double sum = 0.0;
            for (size_t i = at; i < at + MS; i += 4) {
                int16_t sides[2];
                std::memcpy(sides, &raw[i], 4);
                sum += (sides[0] + sides[1]) / 65536.0 * (sides[0] + sides[1]) / 65536.0;
            }
            levels.push_back(std::sqrt(sum / (MS / 4)));
        }
        return levels;
    }
    std::string home;
    std::string folder;
    SavedEnvironment environment{{"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE"}};
};

// The music device's commands; the pieces there at start-up are loaded then, so that opening them
// only looks them up, and a piece changed later is read again when it is opened.
TEST_F(SdlAudio, MusicDeviceOpensPlaysStopsAndCloses) {
    Open("dummy");
    WaitForLoads();
    SdlMciSendString("open bgm01.mid alias BGM wait");
    EXPECT_LT(SdlMciLastOpenMicroseconds(), 3000u);
    MciState s = SdlMciState();
    EXPECT_EQ(std::tie(s.open, s.file, s.lengthMs, s.playing, s.audible),
              std::make_tuple(true, "bgm01.mid", SHORT_MS, false, SoundFontAvailable()));
    SdlMciSendString("open bgm02.mid alias BGM wait");  // the alias is taken: the first piece stays
    EXPECT_EQ(SdlMciState().file, "bgm01.mid");

    SdlMciSendString("play BGM from 0 notify");
    s = SdlMciState();
    EXPECT_TRUE(s.playing && s.notifyPending);
    SdlMciSendString("stop BGM wait");
    s = SdlMciState();
    EXPECT_TRUE(s.open);
    EXPECT_FALSE(s.playing || s.notifyPending);
    SdlMciSendString("close BGM wait");
    EXPECT_FALSE(SdlMciState().open);

    MidiBytes longer = HeldChord(1200);
    longer.Note(0, 0, 10, 72);
    ASSERT_TRUE(longer.Save("bgm01.mid", TicksFor(1200)));
    SdlMciSendString("open bgm01.mid alias BGM wait");
    EXPECT_EQ(SdlMciState().lengthMs, 1200u);
}

// Evenly spaced strokes, restarted on their notification as the window procedure does, keep their
// beat across the join, measured in the output stream's own samples.
TEST_F(SdlAudio, LoopKeepsTheBeatAcrossTheJoin) {
    if (!SoundFontAvailable()) GTEST_SKIP() << "no General MIDI soundfont installed";
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
    // Stroke onsets: a millisecond louder than 0.06 where 15 ms earlier it was under 0.02.
    const std::vector<double> level = RecordedLevels();
    std::vector<double> onsetsMs;
    std::string onsets;
    for (size_t i = 15; i < level.size(); ++i) {
        const bool rises = level[i] > 0.06 && level[i - 15] < 0.02;
        if (rises && (onsetsMs.empty() || static_cast<double>(i) - onsetsMs.back() > BEAT_MS / 2)) {
            onsetsMs.push_back(static_cast<double>(i));
            onsets += std::to_string(i) + " ";
        }
    }
    // Two whole plays and at least one stroke after the second join (the disk driver's clock does
    // not keep to the wall clock, so the last play may come out shorter or longer).
    ASSERT_GE(onsetsMs.size(), 2 * SHORT_MS / BEAT_MS + 1) << "strokes at " << onsets;
    double worst = 0.0;
    for (size_t i = 1; i < onsetsMs.size(); ++i) worst = std::max(worst, std::fabs(onsetsMs[i] - onsetsMs[i - 1] - BEAT_MS));
    std::printf("[ measure  ] loop join: %zu strokes, worst beat error %.1f ms (two joins)\n", onsetsMs.size(), worst);
    EXPECT_LE(worst, 12.0) << "strokes at " << onsets;  // one mixing pass
}

}  // namespace

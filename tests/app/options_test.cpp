// The command line: what each option sets, the numbers at both sides of their limits, the
// combinations that are refused, and a parser that can be run again and again.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/dialog.h"
#include "app/options.h"
#include "platform/video_export.h"

namespace {

struct Parsed {
    bool ok = false;
    CommandLine line;
    std::string error;
    std::vector<std::string> argvAfter;  // argv as the parser left it
};

Parsed Parse(const std::vector<std::string>& args) {
    std::vector<std::string> storage = {"vorne"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);
    Parsed p;
    p.ok = ParseCommandLine(static_cast<int>(storage.size()), argv.data(), &p.line, &p.error);
    for (size_t i = 0; i + 1 < argv.size(); ++i) p.argvAfter.push_back(argv[i]);
    return p;
}

std::string Refusal(const std::vector<std::string>& args) {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.ok) << "accepted: " << (args.empty() ? "" : args[0]);
    EXPECT_FALSE(p.error.empty());
    return p.error;
}

const std::string LONG_MAX_TEXT = std::to_string(LONG_MAX);
const std::string BEYOND_LONG = "9223372036854775808";  // LONG_MAX + 1

TEST(CommandLine, EachOptionSetsWhatItNamesInEitherSpelling) {
    Parsed p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.presetButton, -1);
    EXPECT_FALSE(p.line.headless);

    p = Parse({"--joystick", "--windowed", "--data", "some/dir"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.presetButton, DIALOG_BUTTON_JOYSTICK);
    EXPECT_TRUE(p.line.windowed);
    EXPECT_EQ(p.line.dataDir, "some/dir");

    p = Parse({"--headless", "--keys=game.keys", "--ticks", "400", "--trace=t.jsonl", "--draw-log", "d.txt", "--shot",
               "30:a.png", "--shot=400:b.png", "--state", "end.json"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.line.headless);
    EXPECT_EQ(p.line.run.keysFile, "game.keys");
    EXPECT_EQ(p.line.run.ticks, 400);
    EXPECT_EQ(p.line.run.traceFile, "t.jsonl");
    EXPECT_EQ(p.line.run.drawLogFile, "d.txt");
    EXPECT_EQ(p.line.run.stateFile, "end.json");
    ASSERT_EQ(p.line.run.shots.size(), 2u);
    EXPECT_EQ(p.line.run.shots[0].tick, 30);
    EXPECT_EQ(p.line.run.shots[0].path, "a.png");
    EXPECT_EQ(p.line.run.shots[1].tick, 400);
    EXPECT_EQ(p.line.run.shots[1].path, "b.png");

    // A file name may hold a colon after the first one; an unambiguous abbreviation is the option.
    p = Parse({"--head", "--watch-replay", "--shot", "5:dir:x.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.line.headless);
    EXPECT_TRUE(p.line.run.watchReplay);
    EXPECT_EQ(p.line.presetButton, DIALOG_BUTTON_REPLAY);
    EXPECT_EQ(p.line.run.shots[0].path, "dir:x.png");

    // Help and version win over the rest of the line, even a line that would be refused.
    EXPECT_TRUE(Parse({"-h"}).line.help);
    EXPECT_TRUE(Parse({"--keyboard", "--joystick", "--help"}).line.help);
    EXPECT_TRUE(Parse({"--version", "--ticks", "5"}).line.version);
}

TEST(CommandLine, TickCountsAreWholeNumbersWithinTheCountersRange) {
    EXPECT_EQ(Parse({"--headless", "--ticks", "0"}).line.run.ticks, 0);
    EXPECT_EQ(Parse({"--headless", "--ticks", "007"}).line.run.ticks, 7);
    const Parsed largest = Parse({"--headless", "--ticks", LONG_MAX_TEXT});
    ASSERT_TRUE(largest.ok) << largest.error;
    EXPECT_EQ(largest.line.run.ticks, LONG_MAX);

    EXPECT_NE(Refusal({"--headless", "--ticks", BEYOND_LONG}).find(LONG_MAX_TEXT), std::string::npos);
    EXPECT_NE(Refusal({"--headless", "--ticks", ""}).find("--ticks"), std::string::npos);
    EXPECT_NE(Refusal({"--headless", "--ticks="}).find("--ticks"), std::string::npos);
    for (const char* bad : {"-1", "+5", " 5", "5 ", "12x", "0x10", "1e3", "abc", "-0"}) {
        EXPECT_NE(Refusal({"--headless", "--ticks", bad}).find(std::string("'") + bad + "'"), std::string::npos) << bad;
    }
}

TEST(CommandLine, ShotTicksKeepTheirFullValueAndStayWithinTheRun) {
    // Beyond 32 bits: not cut to tick 1.
    Parsed p = Parse({"--headless", "--shot", "4294967297:a.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.run.shots[0].tick, 4294967297L);
    p = Parse({"--headless", "--ticks", "4294967297", "--shot", "4294967297:a.png"});
    ASSERT_TRUE(p.ok) << p.error;

    // Ticks start at 1; the last tick of the run is the last that can be shot.
    EXPECT_TRUE(Parse({"--headless", "--shot", "1:a.png"}).ok);
    Refusal({"--headless", "--shot", "0:a.png"});
    EXPECT_TRUE(Parse({"--headless", "--ticks", "400", "--shot", "400:a.png"}).ok);
    EXPECT_NE(Refusal({"--headless", "--shot", "401:a.png", "--ticks", "400"}).find("--ticks 400"), std::string::npos);
    Refusal({"--headless", "--ticks", "10", "--shot", "4294967297:a.png"});
    // --ticks 0 runs until the program ends by itself: any later tick may come.
    EXPECT_TRUE(Parse({"--headless", "--ticks", "0", "--shot", "99999:a.png"}).ok);

    for (const char* bad : {"a.png", "5:", ":a.png", "x:a.png", "-3:a.png", "9223372036854775808:a.png"}) {
        Refusal({"--headless", "--shot", bad});
    }
}

TEST(CommandLine, RefusesWhatDoesNotGoTogetherOrIsNotAnOption) {
    for (const char* option : {"--keys", "--ticks", "--trace", "--draw-log", "--shot", "--state", "--video"}) {
        const std::string value = std::string(option) == "--ticks" ? "5" : std::string(option) == "--shot" ? "1:a.png" : "f";
        EXPECT_NE(Refusal({option, value}).find("--headless"), std::string::npos) << option;
    }
    Refusal({"--headless", "--keyboard"});
    Refusal({"--headless", "--joystick"});
    Refusal({"--keyboard", "--joystick"});
    Refusal({"--watch-replay", "--keyboard"});
    Refusal({"--headless", "--watch-replay", "--keys", "k"});

    EXPECT_NE(Refusal({"--frobnicate"}).find("--frobnicate"), std::string::npos);
    EXPECT_NE(Refusal({"-x"}).find("-x"), std::string::npos);
    EXPECT_NE(Refusal({"--help=now"}).find("--help=now"), std::string::npos);
    EXPECT_NE(Refusal({"--w"}).find("--w"), std::string::npos);  // --watch-replay or --windowed
    EXPECT_NE(Refusal({"--headless", "--trace"}).find("--trace"), std::string::npos);
    EXPECT_NE(Refusal({"--data", ""}).find("--data"), std::string::npos);
    EXPECT_NE(Refusal({"--headless", "play.keys"}).find("play.keys"), std::string::npos);
}

TEST(CommandLine, VideoAndTheWatchingModesAreCheckedBeforeAnyWork) {
    // The container comes from the name, in any case; a lossless video goes in Matroska.
    Parsed p = Parse({"--headless", "--watch-replay", "--video", "run.MP4"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.run.videoKind, VIDEO_H264_MP4);
    EXPECT_EQ(p.line.run.videoScale, 2);
    p = Parse({"--headless", "--keys", "k", "--ticks", "300", "--video=clips/run.webm", "--video-scale", "3"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.run.videoKind, VIDEO_VP9_WEBM);
    EXPECT_EQ(p.line.run.videoScale, 3);
    p = Parse({"--headless", "--watch-replay", "--video", "a.mkv", "--video-lossless", "--video-scale=1"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.run.videoKind, VIDEO_FFV1_MKV);
    EXPECT_EQ(p.line.run.videoScale, 1);
    EXPECT_TRUE(p.line.run.videoLossless);
    EXPECT_EQ(p.line.run.videoMusicVolume, 100);
    p = Parse({"--headless", "--watch-replay", "--video", "a.mp4", "--music-volume", "40", "--mute"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.run.videoMusicVolume, 40);
    EXPECT_EQ(p.line.run.videoEffectsVolume, 100);
    EXPECT_TRUE(p.line.run.videoMute);
    for (const char* name : {"run.avi", "run", "mp4", ".mp4", "dir.mp4/run", "run.mp4.part"}) {
        EXPECT_NE(Refusal({"--headless", "--watch-replay", "--video", name}).find(".mkv"), std::string::npos) << name;
    }
    EXPECT_NE(Refusal({"--headless", "--watch-replay", "--video", "a.mp4", "--video-lossless"}).find("Matroska"),
              std::string::npos);
    for (const char* scale : {"0", "4", "2x", "", "-1", "02"}) {
        Refusal({"--headless", "--watch-replay", "--video", "a.mp4", "--video-scale", scale});
    }
    // A video needs a run that ends: the replay's game, or --ticks with a keys script.
    Refusal({"--headless", "--video", "a.mp4"});
    EXPECT_NE(Refusal({"--headless", "--keys", "k", "--video", "a.mp4"}).find("--ticks"), std::string::npos);
    Refusal({"--headless", "--keys", "k", "--ticks", "0", "--video", "a.mp4"});
    Refusal({"--headless", "--watch-replay", "--video-scale", "2"});
    Refusal({"--headless", "--watch-replay", "--video-lossless"});
    EXPECT_NE(Refusal({"--watch-replay", "--video", "a.mp4"}).find("--headless"), std::string::npos);

    // The replay check and the timedemo watch the replay; each mode excludes the others.
    p = Parse({"--headless", "--verify-replay"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.line.run.verifyReplay);
    EXPECT_TRUE(p.line.run.watchReplay);
    p = Parse({"--timedemo", "--windowed"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.line.timedemo);
    EXPECT_FALSE(p.line.headless);
    EXPECT_EQ(p.line.presetButton, DIALOG_BUTTON_REPLAY);
    EXPECT_TRUE(Parse({"--headless", "--timedemo", "--watch-replay"}).line.run.timedemo);
    Refusal({"--verify-replay"});
    Refusal({"--timedemo", "--keyboard"});
    Refusal({"--headless", "--timedemo", "--keys", "k"});
    Refusal({"--headless", "--verify-replay", "--keys", "k"});
    Refusal({"--headless", "--verify-replay", "--timedemo"});
    Refusal({"--headless", "--watch-replay", "--verify-replay", "--video", "a.mp4"});
}

TEST(CommandLine, CanBeReadAgainAndLeavesArgvInItsOrder) {
    // A refusal in the middle of a line leaves getopt half way; the next reading starts afresh.
    Refusal({"--headless", "--ticks", "x", "--trace", "a"});
    Refusal({"-hx"});
    const std::vector<std::string> args = {"--windowed", "stray", "--keyboard"};
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.argvAfter, (std::vector<std::string>{"vorne", "--windowed", "stray", "--keyboard"}));
    const Parsed again = Parse({"--headless", "--ticks", "12"});
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(again.line.run.ticks, 12);
    EXPECT_TRUE(again.line.run.shots.empty());
}

TEST(CommandLine, RelativePathsAreTakenFromTheStartFolder) {
    Parsed p = Parse({"--headless", "--keys", "k.keys", "--trace", "/abs/t.jsonl", "--draw-log", "d.txt", "--state",
                      "../s.json", "--shot", "2:shots/a.png", "--data", "data", "--ticks", "9", "--video", "v.mp4"});
    ASSERT_TRUE(p.ok) << p.error;
    ResolveCommandLinePaths("/home/player/games", &p.line);
    EXPECT_EQ(p.line.run.keysFile, "/home/player/games/k.keys");
    EXPECT_EQ(p.line.run.traceFile, "/abs/t.jsonl");
    EXPECT_EQ(p.line.run.drawLogFile, "/home/player/games/d.txt");
    EXPECT_EQ(p.line.run.stateFile, "/home/player/games/../s.json");
    EXPECT_EQ(p.line.run.shots[0].path, "/home/player/games/shots/a.png");
    EXPECT_EQ(p.line.run.videoFile, "/home/player/games/v.mp4");
    EXPECT_EQ(p.line.dataDir, "data");  // entered from the start folder anyway

    CommandLine none;
    ResolveCommandLinePaths("/", &none);
    EXPECT_TRUE(none.run.keysFile.empty());
    EXPECT_TRUE(none.run.traceFile.empty());
    Parsed root = Parse({"--headless", "--trace", "t.jsonl"});
    ResolveCommandLinePaths("/", &root.line);
    EXPECT_EQ(root.line.run.traceFile, "/t.jsonl");
}

TEST(CommandLine, HelpDescribesEveryOption) {
    const std::string help = CommandLineHelp();
    const std::vector<std::string> names = CommandLineOptionNames();
    EXPECT_GE(names.size(), 14u);
    for (const std::string& name : names) EXPECT_NE(help.find("--" + name), std::string::npos) << name;
}

}  // namespace

namespace {

// The options that override the settings file: loudness at both ends of its range and just past
// them, and what each puts onto the settings read from the file.
TEST(CommandLine, LoudnessAndWindowOverrideTheSettingsFile) {
    Parsed p = Parse({"--music-volume", "0", "--effects-volume=100", "--mute", "--fullscreen"});
    ASSERT_TRUE(p.ok) << p.error;
    PlayerSettings fromFile;
    fromFile.musicVolume = 40;
    fromFile.effectsVolume = 30;
    fromFile.fullscreen = false;
    ApplyCommandLineSettings(p.line, &fromFile);
    EXPECT_EQ(fromFile.musicVolume, 0);
    EXPECT_EQ(fromFile.effectsVolume, 100);
    EXPECT_TRUE(fromFile.mute);
    EXPECT_TRUE(fromFile.fullscreen);

    // Options not given leave the file's values alone; --windowed takes full screen away.
    p = Parse({"--windowed"});
    ASSERT_TRUE(p.ok) << p.error;
    PlayerSettings untouched;
    untouched.musicVolume = 40;
    untouched.mute = false;
    ApplyCommandLineSettings(p.line, &untouched);
    EXPECT_EQ(untouched.musicVolume, 40);
    EXPECT_EQ(untouched.effectsVolume, 100);
    EXPECT_FALSE(untouched.mute);
    EXPECT_FALSE(untouched.fullscreen);

    for (const char* bad : {"101", "-1", "+5", "50%", " 50", "5 ", "", "1e2", "0x10", "99999999999"}) {
        const std::string error = Refusal({"--music-volume", bad});
        if (*bad) {
            EXPECT_NE(error.find("0 to 100"), std::string::npos) << bad << ": " << error;
        }
        Refusal({std::string("--effects-volume=") + bad});
    }
    Refusal({"--music-volume"});
    Refusal({"--mute=yes"});
    EXPECT_NE(Refusal({"--windowed", "--fullscreen"}).find("exclude"), std::string::npos);
}

}  // namespace

// The command line: what each option sets, the numbers at both sides of their limits, the
// combinations that are refused, and a parser that can be run again and again.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "app/dialog.h"
#include "app/options.h"
#include "platform/video_export.h"

namespace {

using Args = std::vector<std::string>;

struct Parsed {
    bool ok = false;
    CommandLine line;
    std::string error, text;  // the parser's reason; the line as typed
    Args argvAfter;           // argv as the parser left it
};

Parsed Parse(const Args& args) {
    Args storage = {"vorne"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    Parsed p;
    for (std::string& s : storage) argv.push_back(s.data()), p.text += s + " ";
    argv.push_back(nullptr);
    p.ok = ParseCommandLine(static_cast<int>(storage.size()), argv.data(), &p.line, &p.error);
    p.argvAfter.assign(argv.begin(), argv.end() - 1);
    return p;
}

// Parses a line that must be accepted.
CommandLine Accepted(const Args& args) {
    const Parsed p = Parse(args);
    EXPECT_TRUE(p.ok) << p.text << ": " << p.error;
    return p.line;
}

// Parses a line that must be refused, with a reason that names `mention`.
void ExpectRefused(const Args& args, const std::string& mention = "") {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.ok) << "accepted: " << p.text;
    EXPECT_FALSE(p.error.empty()) << p.text;
    EXPECT_NE(p.error.find(mention), std::string::npos) << p.text << ": " << p.error;
}

TEST(CommandLine, EachOptionSetsWhatItNamesInEitherSpelling) {
    CommandLine line = Accepted({});
    EXPECT_EQ(std::tie(line.presetButton, line.headless), std::make_tuple(-1, false));

    line = Accepted({"--joystick", "--windowed", "--data", "some/dir"});
    EXPECT_EQ(std::tie(line.presetButton, line.windowed, line.dataDir),
              std::make_tuple(DIALOG_BUTTON_JOYSTICK, true, "some/dir"));

    // Values after "=" or as the next word; --shot any number of times. (Every option at work is
    // the golden traces', the runner's and the export's tests'.)
    line = Accepted({"--headless", "--keys=game.keys", "--shot", "30:a.png", "--shot=400:b.png"});
    const HeadlessOptions& run = line.run;
    ASSERT_EQ(run.shots.size(), 2u);
    EXPECT_EQ(std::tie(run.keysFile, run.shots[0].tick, run.shots[1].tick, run.shots[1].path),
              std::make_tuple("game.keys", 30L, 400L, "b.png"));

    // A file name may hold a colon after the first one; an unambiguous abbreviation is the option.
    line = Accepted({"--head", "--watch-replay", "--shot", "5:dir:x.png"});
    EXPECT_EQ(std::tie(line.headless, run.watchReplay, line.presetButton, run.shots[0].path),
              std::make_tuple(true, true, DIALOG_BUTTON_REPLAY, "dir:x.png"));

    // The container comes from the name, in any case; a lossless video goes in Matroska.
    line = Accepted({"--headless", "--watch-replay", "--video", "run.MP4"});
    EXPECT_EQ(std::tie(run.videoKind, run.videoScale, run.videoMusicVolume), std::make_tuple(VIDEO_H264_MP4, 2, 100));
    line = Accepted({"--headless", "--keys", "k", "--ticks", "300", "--video=clips/run.webm", "--video-scale", "3"});
    EXPECT_EQ(std::tie(run.videoKind, run.videoScale), std::make_tuple(VIDEO_VP9_WEBM, 3));
    line = Accepted({"--headless", "--watch-replay", "--video", "a.mkv", "--video-lossless", "--video-scale=1", "--music-volume",
                     "40", "--mute"});
    EXPECT_EQ(
        std::tie(run.videoKind, run.videoScale, run.videoLossless, run.videoMusicVolume, run.videoEffectsVolume, run.videoMute),
        std::make_tuple(VIDEO_FFV1_MKV, 1, true, 40, 100, true));

    // The replay check and the timedemo watch the replay.
    EXPECT_TRUE(Accepted({"--headless", "--verify-replay"}).run.watchReplay);
    EXPECT_EQ(Accepted({"--timedemo", "--windowed"}).presetButton, DIALOG_BUTTON_REPLAY);

    // Help and version win over the rest of the line, even a line that would be refused.
    EXPECT_TRUE(Parse({"-h"}).line.help);
    EXPECT_TRUE(Parse({"--keyboard", "--joystick", "--help"}).line.help);
    EXPECT_TRUE(Parse({"--version", "--ticks", "5"}).line.version);
}

// Every number at the edges of its range, and just past them.
TEST(CommandLine, NumbersAreWholeAndWithinTheirRanges) {
    const std::string longMax = std::to_string(LONG_MAX);
    EXPECT_EQ(Accepted({"--headless", "--ticks", "0"}).run.ticks, 0);
    EXPECT_EQ(Accepted({"--headless", "--ticks", "007"}).run.ticks, 7);
    EXPECT_EQ(Accepted({"--headless", "--ticks", longMax}).run.ticks, LONG_MAX);
    ExpectRefused({"--headless", "--ticks", "9223372036854775808"}, longMax);
    ExpectRefused({"--headless", "--ticks", ""}, "--ticks");
    ExpectRefused({"--headless", "--ticks="}, "--ticks");
    for (const char* bad : {"-1", "+5", " 5", "5 ", "12x", "0x10", "1e3", "abc", "-0"}) {
        ExpectRefused({"--headless", "--ticks", bad}, std::string("'") + bad + "'");
    }

    // Shot ticks beyond 32 bits are not cut to tick 1; ticks start at 1 and the run's last tick is
    // the last that can be shot (--ticks 0 runs until the program ends by itself).
    EXPECT_EQ(Accepted({"--headless", "--shot", "4294967297:a.png"}).run.shots[0].tick, 4294967297L);
    Accepted({"--headless", "--ticks", "4294967297", "--shot", "4294967297:a.png"});
    Accepted({"--headless", "--shot", "1:a.png"});
    Accepted({"--headless", "--ticks", "400", "--shot", "400:a.png"});
    Accepted({"--headless", "--ticks", "0", "--shot", "99999:a.png"});
    ExpectRefused({"--headless", "--shot", "0:a.png"});
    ExpectRefused({"--headless", "--shot", "401:a.png", "--ticks", "400"}, "--ticks 400");
    ExpectRefused({"--headless", "--ticks", "10", "--shot", "4294967297:a.png"});
    for (const char* bad : {"a.png", "5:", ":a.png", "x:a.png", "-3:a.png", "9223372036854775808:a.png"}) {
        ExpectRefused({"--headless", "--shot", bad}, "--shot");
    }

    // The loudness: 0 to 100.
    const CommandLine line = Accepted({"--music-volume", "0", "--effects-volume=100"});
    EXPECT_EQ(line.musicVolume, 0);
    EXPECT_EQ(line.effectsVolume, 100);
    for (const char* bad : {"101", "-1", "+5", "50%", " 50", "5 ", "1e2", "0x10", "99999999999"}) {
        ExpectRefused({"--music-volume", bad}, "0 to 100");
        ExpectRefused({std::string("--effects-volume=") + bad}, "0 to 100");
    }
    ExpectRefused({"--music-volume", ""});
    ExpectRefused({"--music-volume"});

    for (const char* scale : {"0", "4", "2x", "", "-1", "02"}) {
        ExpectRefused({"--headless", "--watch-replay", "--video", "a.mp4", "--video-scale", scale}, "--video-scale");
    }
}

TEST(CommandLine, RefusesWhatDoesNotGoTogetherOrIsNotAnOption) {
    for (const char* option : {"--keys", "--ticks", "--trace", "--draw-log", "--shot", "--state", "--video"}) {
        const std::string value = std::string(option) == "--ticks" ? "5" : std::string(option) == "--shot" ? "1:a.png" : "f";
        ExpectRefused({option, value}, "--headless");
    }
    for (const char* name : {"run.avi", "run", "mp4", ".mp4", "dir.mp4/run", "run.mp4.part"}) {
        ExpectRefused({"--headless", "--watch-replay", "--video", name}, ".mkv");
    }
    const struct {
        Args args;
        const char* mention;
    } refused[] = {
        {{"--headless", "--keyboard"}, ""},
        {{"--keyboard", "--joystick"}, ""},
        {{"--watch-replay", "--keyboard"}, ""},
        {{"--headless", "--watch-replay", "--keys", "k"}, ""},
        {{"--windowed", "--fullscreen"}, "exclude"},
        {{"--mute=yes"}, ""},
        {{"--frobnicate"}, "--frobnicate"},
        {{"-x"}, "-x"},
        {{"--help=now"}, "--help=now"},
        {{"--w"}, "--w"},  // --watch-replay or --windowed
        {{"--headless", "--trace"}, "--trace"},
        {{"--data", ""}, "--data"},
        {{"--headless", "play.keys"}, "play.keys"},
        // A video needs a run that ends (the replay's game, or --ticks with a keys script), and
        // its own options go with it.
        {{"--headless", "--watch-replay", "--video", "a.mp4", "--video-lossless"}, "Matroska"},
        {{"--headless", "--video", "a.mp4"}, ""},
        {{"--headless", "--keys", "k", "--video", "a.mp4"}, "--ticks"},
        {{"--headless", "--keys", "k", "--ticks", "0", "--video", "a.mp4"}, ""},
        {{"--headless", "--watch-replay", "--video-scale", "2"}, ""},
        {{"--watch-replay", "--video", "a.mp4"}, "--headless"},
        // The video, the replay check and the timedemo exclude each other.
        {{"--verify-replay"}, ""},
        {{"--timedemo", "--keyboard"}, ""},
        {{"--headless", "--verify-replay", "--timedemo"}, ""},
        {{"--headless", "--watch-replay", "--verify-replay", "--video", "a.mp4"}, ""},
    };
    for (const auto& r : refused) ExpectRefused(r.args, r.mention);
}

TEST(CommandLine, CanBeReadAgainAndLeavesArgvInItsOrder) {
    // A refusal in the middle of a line leaves getopt half way; the next reading starts afresh.
    ExpectRefused({"--headless", "--ticks", "x", "--trace", "a"});
    ExpectRefused({"-hx"});
    const Parsed p = Parse({"--windowed", "stray", "--keyboard"});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.argvAfter, (Args{"vorne", "--windowed", "stray", "--keyboard"}));
    const CommandLine again = Accepted({"--headless", "--ticks", "12"});
    EXPECT_EQ(again.run.ticks, 12);
    EXPECT_TRUE(again.run.shots.empty());
}

TEST(CommandLine, RelativePathsAreTakenFromTheStartFolder) {
    CommandLine line = Accepted({"--headless", "--keys", "k.keys", "--trace", "/abs/t.jsonl", "--draw-log", "d.txt", "--state",
                                 "../s.json", "--shot", "2:shots/a.png", "--data", "data", "--ticks", "9", "--video", "v.mp4"});
    ResolveCommandLinePaths("/home/player/games", &line);
    const HeadlessOptions& run = line.run;
    EXPECT_EQ(std::tie(run.keysFile, run.traceFile, run.drawLogFile, run.stateFile, run.shots[0].path, run.videoFile),
              std::make_tuple("/home/player/games/k.keys", "/abs/t.jsonl", "/home/player/games/d.txt",
                              "/home/player/games/../s.json", "/home/player/games/shots/a.png", "/home/player/games/v.mp4"));
    EXPECT_EQ(line.dataDir, "data");  // entered from the start folder anyway
    line = Accepted({"--headless", "--trace", "t.jsonl"});
    ResolveCommandLinePaths("/", &line);
    EXPECT_EQ(line.run.traceFile, "/t.jsonl");
}

TEST(CommandLine, HelpDescribesEveryOption) {
    const std::string help = CommandLineHelp();
    const std::vector<std::string> names = CommandLineOptionNames();
    EXPECT_GE(names.size(), 14u);
    for (const std::string& name : names) EXPECT_NE(help.find("--" + name), std::string::npos) << name;
}

// What the options put onto the settings read from the file; options not given leave the file's
// values alone, and --windowed takes full screen away.
TEST(CommandLine, LoudnessAndWindowOverrideTheSettingsFile) {
    PlayerSettings s;
    s.musicVolume = 40;
    s.effectsVolume = 30;
    s.fullscreen = false;
    ApplyCommandLineSettings(Accepted({"--music-volume", "0", "--effects-volume=100", "--mute", "--fullscreen"}), &s);
    EXPECT_EQ(std::tie(s.musicVolume, s.effectsVolume, s.mute, s.fullscreen), std::make_tuple(0, 100, true, true));
    s = PlayerSettings{};
    s.musicVolume = 40;
    s.fullscreen = true;
    ApplyCommandLineSettings(Accepted({"--windowed"}), &s);
    EXPECT_EQ(std::tie(s.musicVolume, s.effectsVolume, s.mute, s.fullscreen), std::make_tuple(40, 100, false, false));
}

}  // namespace

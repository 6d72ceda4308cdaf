// The command line, read with glibc's getopt_long: long options with their values given as
// "--ticks 400" or "--ticks=400", unambiguous abbreviations, "-h" for help, and nothing else.
// Numbers are read whole and checked: an empty value, a sign, any stray character or a value
// beyond the tick counter's range is refused rather than guessed at.
#include "app/options.h"

#include <getopt.h>

#include <charconv>
#include <climits>

#include "app/dialog.h"
#include "platform/video_export.h"

namespace {

enum OptionCode {
    OPT_HELP = 'h',
    OPT_VERSION = 256,
    OPT_KEYBOARD,
    OPT_JOYSTICK,
    OPT_WATCH_REPLAY,
    OPT_WINDOWED,
    OPT_FULLSCREEN,
    OPT_MUSIC_VOLUME,
    OPT_EFFECTS_VOLUME,
    OPT_MUTE,
    OPT_DATA,
    OPT_HEADLESS,
    // From here to OPT_VERIFY_REPLAY: the options only the headless runner takes.
    OPT_KEYS,
    OPT_TICKS,
    OPT_TRACE,
    OPT_DRAW_LOG,
    OPT_SHOT,
    OPT_STATE,
    OPT_VIDEO,
    OPT_VIDEO_SCALE,
    OPT_VIDEO_LOSSLESS,
    OPT_VERIFY_REPLAY,
    OPT_TIMEDEMO,
};

constexpr option OPTIONS[] = {
    {"help", no_argument, nullptr, OPT_HELP},
    {"version", no_argument, nullptr, OPT_VERSION},
    {"keyboard", no_argument, nullptr, OPT_KEYBOARD},
    {"joystick", no_argument, nullptr, OPT_JOYSTICK},
    {"watch-replay", no_argument, nullptr, OPT_WATCH_REPLAY},
    {"windowed", no_argument, nullptr, OPT_WINDOWED},
    {"fullscreen", no_argument, nullptr, OPT_FULLSCREEN},
    {"music-volume", required_argument, nullptr, OPT_MUSIC_VOLUME},
    {"effects-volume", required_argument, nullptr, OPT_EFFECTS_VOLUME},
    {"mute", no_argument, nullptr, OPT_MUTE},
    {"data", required_argument, nullptr, OPT_DATA},
    {"headless", no_argument, nullptr, OPT_HEADLESS},
    {"keys", required_argument, nullptr, OPT_KEYS},
    {"ticks", required_argument, nullptr, OPT_TICKS},
    {"trace", required_argument, nullptr, OPT_TRACE},
    {"draw-log", required_argument, nullptr, OPT_DRAW_LOG},
    {"shot", required_argument, nullptr, OPT_SHOT},
    {"state", required_argument, nullptr, OPT_STATE},
    {"video", required_argument, nullptr, OPT_VIDEO},
    {"video-scale", required_argument, nullptr, OPT_VIDEO_SCALE},
    {"video-lossless", no_argument, nullptr, OPT_VIDEO_LOSSLESS},
    {"verify-replay", no_argument, nullptr, OPT_VERIFY_REPLAY},
    {"timedemo", no_argument, nullptr, OPT_TIMEDEMO},
    {nullptr, 0, nullptr, 0},
};

// '+': stop at the first word that is not an option (and so never reorder argv); ':': report a
// missing value apart from an unknown option.
constexpr const char* SHORT_OPTIONS = "+:h";

constexpr const char* HELP =
    "  -h, --help             this text\n"
    "      --version          the game's name and version\n"
    "      --keyboard         play with the keyboard (skips the dialog)\n"
    "      --joystick         play with a joystick or game pad (skips the dialog)\n"
    "      --watch-replay     watch the high-score replay (skips the dialog)\n"
    "      --windowed         a resizable window instead of full screen\n"
    "      --fullscreen       full screen, whatever the settings file says\n"
    "      --music-volume N   the music's loudness, 0 (silent) to 100 (the default)\n"
    "      --effects-volume N the sound effects' loudness, 0 to 100 (the default)\n"
    "      --mute             no sound at all (M or F8 in the game brings it back)\n"
    "      --data DIR         change into DIR first: the data files are looked up there\n"
    "                         first, and the records are kept there\n"
    "      --timedemo         play the high-score replay as fast as the machine allows,\n"
    "                         showing every frame, then print the frames per second and\n"
    "                         how many times faster than the game's own pace it ran\n"
    "\n"
    "Headless runner (no window, no sound, a virtual clock; for tests and tools):\n"
    "  vorne --headless [--watch-replay | --keys FILE] [--ticks N] [--trace FILE]\n"
    "                   [--draw-log FILE] [--shot TICK:FILE.png]... [--state FILE]\n"
    "  vorne --headless (--watch-replay | --keys FILE --ticks N) --video FILE\n"
    "                   [--video-scale 1|2|3] [--video-lossless]\n"
    "  vorne --headless --verify-replay | --timedemo\n"
    "      --headless         run the game without a window\n"
    "      --keys FILE        lines 'TICK KEY KEY ...' (from TICK on exactly these keys are\n"
    "                         held) or 'TICK -' (none); keys: up down left right numpad2\n"
    "                         numpad4 numpad6 numpad8 z x ctrl shift space return esc p;\n"
    "                         '#' starts a comment\n"
    "      --ticks N          run N ticks (0, the default: until the program ends by itself)\n"
    "      --trace FILE       one JSON object per tick\n"
    "      --draw-log FILE    every drawing call of every tick, one line each after the\n"
    "                         number of its tick\n"
    "      --shot TICK:FILE   after tick TICK (1 or more, not past --ticks), the screen as a\n"
    "                         PNG (may be repeated)\n"
    "      --state FILE       at the end, every game variable and record as JSON\n"
    "      --video FILE       a video of the run with its sound, until --ticks or the\n"
    "                         return to the title: FILE.mp4 H.264 and AAC, FILE.webm VP9\n"
    "                         and Opus, FILE.mkv lossless FFV1 and FLAC; a progress bar\n"
    "                         on a terminal; nothing is left under FILE if it fails or\n"
    "                         is interrupted\n"
    "      --video-scale N    every screen pixel becomes N x N (1, 2 or 3; 2: 1280 x 960)\n"
    "      --video-lossless   lossless video (FFV1 in Matroska: FILE.mkv)\n"
    "                         (--music-volume, --effects-volume and --mute set the loudness\n"
    "                         of the video's sound)\n"
    "      --verify-replay    watch replay.rep to the end of its game and check its score\n"
    "                         against score.dat (exit 0 when they agree, 3 when not)\n"
    "      --timedemo         watch replay.rep to the end of its game as fast as possible\n"
    "                         and print the ticks per second and the multiple of real time\n"
    "  Relative paths of these files are taken from the folder the game was started in.\n";

// A whole number of ticks, 0 or more, within the tick counter's range. False with the reason.
bool ParseTickCount(const char* option, const std::string& text, long* value, std::string* error) {
    const auto refuse = [&](const std::string& why) {
        *error = std::string(option) + " takes " + why + ", not '" + text + "'";
        return false;
    };
    if (text.empty() || text[0] < '0' || text[0] > '9') return refuse("a whole number of ticks, 0 or more");
    long parsed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, parsed);
    if (status == std::errc::result_out_of_range) return refuse("a number of ticks up to " + std::to_string(LONG_MAX));
    if (status != std::errc() || stop != end) return refuse("a whole number of ticks, 0 or more");
    *value = parsed;
    return true;
}

bool ParseVideoScale(const std::string& value, int* scale, std::string* error) {
    if (value != "1" && value != "2" && value != "3") {
        *error = "--video-scale takes 1, 2 or 3, not '" + value + "'";
        return false;
    }
    *scale = value[0] - '0';
    return true;
}

// A loudness, a whole number from 0 to 100. False with the reason.
bool ParseVolume(const char* option, const std::string& text, int* volume, std::string* error) {
    if (ParseVolumeText(text, volume)) return true;
    *error = std::string(option) + " takes a whole number from 0 to 100, not '" + text + "'";
    return false;
}

bool ParseShot(const std::string& value, HeadlessShot* shot, std::string* error) {
    const size_t colon = value.find(':');
    if (colon == std::string::npos || colon + 1 == value.size()) {
        *error = "--shot takes TICK:FILE.png, not '" + value + "'";
        return false;
    }
    if (!ParseTickCount("--shot", value.substr(0, colon), &shot->tick, error)) return false;
    if (shot->tick < 1) {
        *error = "--shot takes a tick of 1 or more, not '" + value + "'";
        return false;
    }
    shot->path = value.substr(colon + 1);
    return true;
}

// The modes that watch one game to its end: a video, the replay check, the timedemo. Each needs
// a game to watch and excludes the others; the timedemo and the check watch the replay.
bool CheckWatchingModes(CommandLine* line, bool ticksGiven, bool videoOptions, std::string* error) {
    HeadlessOptions& run = line->run;
    const bool video = !run.videoFile.empty();
    if (video + run.verifyReplay + line->timedemo > 1) {
        *error = "--video, --verify-replay and --timedemo exclude each other";
        return false;
    }
    if (videoOptions && !video) {
        *error = "--video-scale and --video-lossless go with --video";
        return false;
    }
    if ((run.verifyReplay || line->timedemo) && !run.keysFile.empty()) {
        *error = std::string(run.verifyReplay ? "--verify-replay" : "--timedemo") + " watches replay.rep: it takes no --keys";
        return false;
    }
    if (line->timedemo && (line->presetButton == DIALOG_BUTTON_KEYBOARD || line->presetButton == DIALOG_BUTTON_JOYSTICK)) {
        *error = "--timedemo watches replay.rep: it goes with neither --keyboard nor --joystick";
        return false;
    }
    if (run.verifyReplay || line->timedemo) {
        run.watchReplay = true;
        line->presetButton = DIALOG_BUTTON_REPLAY;
    }
    if (video) {
        if (run.keysFile.empty() && !run.watchReplay) {
            *error = "--video records --watch-replay or a --keys script";
            return false;
        }
        if (!run.keysFile.empty() && (!ticksGiven || run.ticks == 0)) {
            *error = "--video with --keys needs --ticks N to know where the run ends";
            return false;
        }
        VideoKind kind = VIDEO_H264_MP4;
        if (!VideoKindFromName(run.videoFile, run.videoLossless, &kind, error)) return false;
        run.videoKind = kind;
        if (line->musicVolume >= 0) run.videoMusicVolume = line->musicVolume;
        if (line->effectsVolume >= 0) run.videoEffectsVolume = line->effectsVolume;
        run.videoMute = line->mute;
    }
    return true;
}

}  // namespace

bool ParseCommandLine(int argc, char* const argv[], CommandLine* line, std::string* error) {
    *line = CommandLine{};
    bool headlessOnly = false;  // an option that only the headless runner takes was given
    bool ticksGiven = false;
    bool videoOptions = false;  // --video-scale or --video-lossless
    int buttons = 0;            // how many of --keyboard, --joystick, --watch-replay
    optind = 0;                 // glibc: start afresh, also after an earlier, unfinished scan
    opterr = 0;                 // the messages are ours
    for (;;) {
        int index = -1;
        const int code = getopt_long(argc, argv, SHORT_OPTIONS, OPTIONS, &index);
        if (code == -1) break;
        const std::string value = optarg ? optarg : "";
        // The word that held the option: a value given apart has moved optind one further.
        const std::string given = optind >= 1 && optind <= argc ? argv[optind - 1] : "";
        if (code != '?' && code != ':' && optarg && value.empty()) {
            *error = std::string("--") + OPTIONS[index].name + " needs a value that is not empty";
            return false;
        }
        if (code >= OPT_KEYS && code <= OPT_VERIFY_REPLAY) headlessOnly = true;
        if (code == OPT_VIDEO_SCALE || code == OPT_VIDEO_LOSSLESS) videoOptions = true;
        switch (code) {
            case OPT_HELP: line->help = true; break;
            case OPT_VERSION: line->version = true; break;
            case OPT_KEYBOARD:
                line->presetButton = DIALOG_BUTTON_KEYBOARD;
                ++buttons;
                break;
            case OPT_JOYSTICK:
                line->presetButton = DIALOG_BUTTON_JOYSTICK;
                ++buttons;
                break;
            case OPT_WATCH_REPLAY:
                line->presetButton = DIALOG_BUTTON_REPLAY;
                line->run.watchReplay = true;
                ++buttons;
                break;
            case OPT_WINDOWED: line->windowed = true; break;
            case OPT_FULLSCREEN: line->fullscreen = true; break;
            case OPT_MUSIC_VOLUME:
                if (!ParseVolume("--music-volume", value, &line->musicVolume, error)) return false;
                break;
            case OPT_EFFECTS_VOLUME:
                if (!ParseVolume("--effects-volume", value, &line->effectsVolume, error)) return false;
                break;
            case OPT_MUTE: line->mute = true; break;
            case OPT_DATA: line->dataDir = value; break;
            case OPT_HEADLESS: line->headless = true; break;
            case OPT_KEYS: line->run.keysFile = value; break;
            case OPT_TICKS:
                if (!ParseTickCount("--ticks", value, &line->run.ticks, error)) return false;
                ticksGiven = true;
                break;
            case OPT_TRACE: line->run.traceFile = value; break;
            case OPT_DRAW_LOG: line->run.drawLogFile = value; break;
            case OPT_SHOT: {
                HeadlessShot shot;
                if (!ParseShot(value, &shot, error)) return false;
                line->run.shots.push_back(shot);
                break;
            }
            case OPT_STATE: line->run.stateFile = value; break;
            case OPT_VIDEO: line->run.videoFile = value; break;
            case OPT_VIDEO_SCALE:
                if (!ParseVideoScale(value, &line->run.videoScale, error)) return false;
                break;
            case OPT_VIDEO_LOSSLESS: line->run.videoLossless = true; break;
            case OPT_VERIFY_REPLAY: line->run.verifyReplay = true; break;
            case OPT_TIMEDEMO:
                line->timedemo = true;
                line->run.timedemo = true;
                break;
            case ':': *error = "option '" + given + "' needs a value"; return false;
            default:  // '?': unknown, ambiguous, or a value given to an option that takes none
                if (given.rfind("--", 0) == 0) {
                    *error = "unknown option or unexpected value '" + given + "'";
                } else {
                    *error = std::string("unknown option '-") + static_cast<char>(optopt) + "'";
                }
                return false;
        }
    }
    if (optind < argc) {
        *error = std::string("unexpected argument '") + argv[optind] + "'";
        return false;
    }
    if (line->help || line->version) return true;
    if (line->windowed && line->fullscreen) {
        *error = "--windowed and --fullscreen exclude each other";
        return false;
    }
    if (buttons > 1) {
        *error = "--keyboard, --joystick and --watch-replay exclude each other";
        return false;
    }
    if (!line->headless && headlessOnly) {
        *error = "--keys, --ticks, --trace, --draw-log, --shot, --state, --video and --verify-replay go with --headless";
        return false;
    }
    if (!CheckWatchingModes(line, ticksGiven, videoOptions, error)) return false;
    if (line->headless && (line->presetButton == DIALOG_BUTTON_KEYBOARD || line->presetButton == DIALOG_BUTTON_JOYSTICK)) {
        *error = "the headless runner plays with its keys file or watches the replay";
        return false;
    }
    if (line->run.watchReplay && !line->run.keysFile.empty()) {
        *error = "--watch-replay and --keys exclude each other";
        return false;
    }
    if (ticksGiven && line->run.ticks > 0) {
        for (const HeadlessShot& shot : line->run.shots) {
            if (shot.tick > line->run.ticks) {
                *error = "--shot " + std::to_string(shot.tick) + ":" + shot.path + " comes after the last tick (--ticks " +
                         std::to_string(line->run.ticks) + ")";
                return false;
            }
        }
    }
    return true;
}

void ApplyCommandLineSettings(const CommandLine& line, PlayerSettings* settings) {
    if (line.windowed) settings->fullscreen = false;
    if (line.fullscreen) settings->fullscreen = true;
    if (line.musicVolume >= 0) settings->musicVolume = line.musicVolume;
    if (line.effectsVolume >= 0) settings->effectsVolume = line.effectsVolume;
    if (line.mute) settings->mute = true;
}

void ResolveCommandLinePaths(const std::string& startFolder, CommandLine* line) {
    if (startFolder.empty()) return;
    const auto resolve = [&startFolder](std::string* path) {
        if (!path->empty() && (*path)[0] != '/') *path = startFolder + (startFolder.back() == '/' ? "" : "/") + *path;
    };
    resolve(&line->run.keysFile);
    resolve(&line->run.traceFile);
    resolve(&line->run.drawLogFile);
    resolve(&line->run.stateFile);
    resolve(&line->run.videoFile);
    for (HeadlessShot& shot : line->run.shots) resolve(&shot.path);
}

const char* CommandLineHelp() { return HELP; }

std::vector<std::string> CommandLineOptionNames() {
    std::vector<std::string> names;
    for (const option& o : OPTIONS) {
        if (o.name) names.push_back(o.name);
    }
    return names;
}

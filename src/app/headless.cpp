// The headless runner. Tick k is the k-th pass of the frame loop's "interval has passed" branch:
// the key-down messages of keys that become held at this tick reach the window procedure, the
// virtual clock moves on by g_frameInterval + 1 ms, RunFrame runs unless the game is paused, and
// one trace line is written (also while paused, so a later P can end the pause). While a trace or
// a draw log is written, the drawing calls of the tick's frame are recorded (video/draw_trace.h).
//
// Nothing looks at the 640 x 480 screen between screenshots, so after the last screenshot (and in
// a run with none) the frame is not copied onto it: that copy is most of a headless tick's work.
// A video looks at every frame. The runs that watch one game to its end (a video, the replay
// check, the timedemo) stop when the title comes back.
#include "app/headless.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/dialog.h"
#include "app/export.h"
#include "app/game.h"
#include "app/replay_check.h"
#include "app/trace.h"
#include "input/input.h"
#include "platform/file_io.h"
#include "platform/platform.h"
#include "player/player.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw_trace.h"

namespace {

struct KeyName {
    const char* name;
    int vk;
};

constexpr KeyName KEY_NAMES[] = {
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"numpad2", VK_NUMPAD2},
    {"numpad4", VK_NUMPAD4},
    {"numpad6", VK_NUMPAD6},
    {"numpad8", VK_NUMPAD8},
    {"z", VK_Z},
    {"x", VK_X},
    {"ctrl", VK_CONTROL},
    {"shift", VK_SHIFT},
    {"space", VK_SPACE},
    {"return", VK_RETURN},
    {"esc", VK_ESCAPE},
    {"p", VK_P},
};

int KeyFromName(const std::string& name) {
    for (const KeyName& k : KEY_NAMES) {
        if (name == k.name) return k.vk;
    }
    return -1;
}

// A keys file longer than any game could use (a change of keys on every one of 108000 frames
// takes about 3 MB) is refused unread.
constexpr size_t MAX_KEYS_FILE_BYTES = 16 * 1024 * 1024;

bool ReadKeysFile(const std::string& path, std::string* text) {
    std::vector<uint8_t> bytes;
    const FileStatus status = PlatReadWholeFile(path.c_str(), MAX_KEYS_FILE_BYTES, &bytes);
    if (status != FILE_OK) {
        std::fprintf(stderr, "vorne: keys file %s %s\n", path.c_str(), PlatFileStatusText(status, MAX_KEYS_FILE_BYTES).c_str());
        return false;
    }
    text->assign(bytes.begin(), bytes.end());
    return true;
}

// An output file of the runner: its name and what it is, for the messages.
struct Output {
    const char* what;
    std::string path;
    std::FILE* file = nullptr;
    bool failed = false;  // a write failed and was reported
};

// Says once that the output cannot be written, with the system's reason; false.
bool OutputFailed(Output* out) {
    if (!out->failed)
        std::fprintf(stderr, "vorne: cannot write %s file %s: %s\n", out->what, out->path.c_str(), std::strerror(errno));
    out->failed = true;
    return false;
}

// Opens an output file named by an option (none when the name is empty). False, with a
// message, when it cannot be written.
bool OpenOutput(Output* out) {
    if (out->path.empty()) return true;
    out->file = std::fopen(out->path.c_str(), "w");
    return out->file ? true : OutputFailed(out);
}

// False, with a message, once a write to the file has failed (a full disk, say); the stream keeps
// the error, so a check after the writes of a tick catches every one of them.
bool OutputHealthy(Output* out) { return !out->file || !std::ferror(out->file) ? true : OutputFailed(out); }

// Closes the file; false, with a message, when what was written did not all reach it.
bool CloseOutput(Output* out) {
    if (!out->file) return !out->failed;
    const bool ok = OutputHealthy(out) && (std::fflush(out->file) == 0 || OutputFailed(out));
    const bool closed = std::fclose(out->file) == 0 || OutputFailed(out);
    out->file = nullptr;
    return ok && closed;
}

bool CloseOutputs(Output* trace, Output* drawLog) {
    const bool traceOk = CloseOutput(trace);
    const bool drawLogOk = CloseOutput(drawLog);
    if (VideoExportRunning()) (void)EndVideoExport(false);
    return traceOk && drawLogOk;
}

// Reads a tick number: digits only, 1 or more, within a long.
bool ParseTick(const std::string& word, long* tick) {
    const char* end = word.data() + word.size();
    const auto [stop, status] = std::from_chars(word.data(), end, *tick);
    return !word.empty() && word[0] != '-' && status == std::errc() && stop == end;
}

// The screen is looked at after this tick or a later one: a video frame or a screenshot to come.
bool ScreenNeededFrom(const HeadlessOptions& options, long tick) {
    if (!options.videoFile.empty()) return true;
    for (const HeadlessShot& shot : options.shots) {
        if (shot.tick >= tick) return true;
    }
    return false;
}

}  // namespace

bool ParseKeysScript(const std::string& text, std::vector<KeyChange>* changes, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    long lastTick = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;  // blank or comment
        KeyChange change{};
        if (!ParseTick(word, &change.tick) || change.tick < 1 || change.tick <= lastTick) {
            *error = "line " + std::to_string(lineNumber) + ": expected a tick greater than the previous one";
            return false;
        }
        lastTick = change.tick;
        bool release = false;
        while (words >> word) {
            if (word == "-") {
                release = true;
                continue;
            }
            const int vk = KeyFromName(word);
            if (vk < 0) {
                *error = "line " + std::to_string(lineNumber) + ": unknown key '" + word + "'";
                return false;
            }
            change.keys.push_back(vk);
        }
        if (release && !change.keys.empty()) {
            *error = "line " + std::to_string(lineNumber) + ": '-' stands alone";
            return false;
        }
        changes->push_back(change);
    }
    return true;
}

bool WriteScreenshot(const char* path) { return PlatWriteScreenPng(path); }

int RunHeadless(const HeadlessOptions& options) {
    std::vector<KeyChange> changes;
    if (!options.keysFile.empty()) {
        std::string text, error;
        if (!ReadKeysFile(options.keysFile, &text)) return 2;
        if (!ParseKeysScript(text, &changes, &error)) {
            std::fprintf(stderr, "vorne: %s: %s\n", options.keysFile.c_str(), error.c_str());
            return 2;
        }
    }
    Output trace{"trace", options.traceFile};
    Output drawLog{"draw log", options.drawLogFile};
    if (!OpenOutput(&trace) || !OpenOutput(&drawLog) || (!options.videoFile.empty() && !BeginVideoExport(options))) {
        CloseOutputs(&trace, &drawLog);
        return 2;
    }

    PlatCreateWindow(MainWindowProc);
    const int button = options.watchReplay ? DIALOG_BUTTON_REPLAY : DIALOG_BUTTON_KEYBOARD;
    const int choice = StartupDialogCommand(button, true);
    if (choice < 0) {
        CloseOutputs(&trace, &drawLog);
        return 1;
    }
    g_appActive = 1;  // a headless game never loses the focus
    // A set-up that fails (a data file missing or refused, said on stderr) ends the game with
    // status 0 as designed; a script needs to see it, so the runner fails.
    if (SetUpAfterDialog(choice) >= 0) {
        CloseOutputs(&trace, &drawLog);
        return 1;
    }

    std::vector<int> sounds;
    std::vector<std::string> music;
    std::string traceLine;
    std::vector<int> held;
    size_t nextChange = 0;
    int status = 0;
    const bool video = !options.videoFile.empty();
    const bool toTheEnd = video || options.verifyReplay || options.timedemo;
    const long lastTick = options.ticks > 0 ? options.ticks : (toTheEnd && options.watchReplay ? WATCH_TICK_LIMIT : 0);
    WatchedGame watched;
    bool videoComplete = true;
    const auto start = std::chrono::steady_clock::now();
    for (long tick = 1; lastTick == 0 || tick <= lastTick; ++tick) {
        if (options.beforeTick) options.beforeTick(tick);
        if (video) DeliverVideoMusicNotice();
        if (nextChange < changes.size() && changes[nextChange].tick == tick) {
            const std::vector<int>& now = changes[nextChange].keys;
            for (int vk : held) PlatHeadlessSetKeyDown(vk, false);
            for (int vk : now) PlatHeadlessSetKeyDown(vk, true);
            // Keys that become held deliver one key-down message before the tick runs.
            for (int vk : now) {
                bool wasHeld = false;
                for (int h : held) wasHeld = wasHeld || h == vk;
                if (!wasHeld && PlatWindowExists()) MainWindowProc(WM_KEYDOWN, static_cast<uint32_t>(vk));
            }
            held = now;
            ++nextChange;
        }
        if (!PlatWindowExists()) break;  // ESC on the splash or title ended the program
        PlatHeadlessAdvanceClock(static_cast<uint32_t>(g_frameInterval) + 1);
        g_screenNeeded = ScreenNeededFrom(options, tick) ? 1 : 0;
        // The record covers the frame only; a paused tick has no drawing calls.
        DrawTrace draws;
        draws.tick = tick;
        draws.log = drawLog.file;
        if (g_paused == 0) {
            if (trace.file || drawLog.file) g_drawTrace = &draws;
            RunFrame();
            g_drawTrace = nullptr;
        }
        for (const HeadlessShot& shot : options.shots) {
            if (shot.tick == tick && !WriteScreenshot(shot.path.c_str())) {
                std::fprintf(stderr, "vorne: cannot write screenshot %s\n", shot.path.c_str());
                status = 2;
            }
        }
        PlatHeadlessTakeAudioLog(&sounds, &music);
        if (trace.file) {
            TraceLine(tick, sounds, music, draws, &traceLine);
            std::fputs(traceLine.c_str(), trace.file);
            std::fputc('\n', trace.file);
        }
        // An output that cannot be written ends the run: nothing after it could be trusted, and a
        // video cut short there is not kept.
        if (!OutputHealthy(&trace) || !OutputHealthy(&drawLog)) {
            status = 2;
            videoComplete = false;
            break;
        }
        if (video && !AddVideoTick(tick, sounds, music)) {
            videoComplete = false;
            break;
        }
        if (toTheEnd) {
            NoteWatchedTick(&watched);
            if (watched.ended) break;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g_screenNeeded = 1;
    if (video) {
        const int videoStatus = EndVideoExport(videoComplete);
        if (videoStatus != 0) status = videoStatus;
    }
    if (options.verifyReplay) {
        const int checked = ReportReplayCheck(watched);
        if (status == 0) status = checked;
    }
    if (options.timedemo) ReportTimedemo(watched, seconds);
    if (!options.stateFile.empty()) {
        Output state{"state", options.stateFile};
        if (OpenOutput(&state)) std::fputs(StateDump().c_str(), state.file);
        if (!CloseOutput(&state)) status = 2;
    }
    if (PlatWindowExists()) PlatDestroyWindow();
    if (!CloseOutputs(&trace, &drawLog)) status = 2;
    return status;
}

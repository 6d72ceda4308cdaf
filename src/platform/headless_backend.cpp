// The headless back-end: no window, no audio, a virtual clock. It succeeds at every set-up step
// and records what it was asked to do (sounds started, music commands, frames presented), so
// the headless runner and the tests can look at it; the runner and the tests set the keys held,
// the joystick and the messages to come.
#include <array>
#include <cstdio>

#include "platform/platform_internal.h"

namespace {

uint32_t g_virtualClock = 0;
std::array<bool, 256> g_keys{};
bool g_joystickPresent = false;
bool g_joystickOpen = false;
PlatJoystickRaw g_joystick;
std::array<bool, 256> g_soundBuffers{};
// What was started and sent since the last PlatHeadlessTakeAudioLog.
std::vector<int> g_sounds;
std::vector<std::string> g_music;

// The messages the tests scheduled, in the order given (times increasing); those before
// g_scheduleFirst are posted already.
struct ScheduledMessage {
    uint32_t at;
    WindowMessage message;
};
constexpr int SCHEDULE_SIZE = 64;
std::array<ScheduledMessage, SCHEDULE_SIZE> g_schedule;
int g_scheduleFirst = 0;
int g_scheduleCount = 0;

// The virtual times of the last presentations: a ring, g_presentNext the oldest once full.
constexpr int PRESENT_TIMES_KEPT = 64;
std::array<uint32_t, PRESENT_TIMES_KEPT> g_presentTimes{};
int g_presentTimesCount = 0;
int g_presentNext = 0;

bool ScheduleEmpty() { return g_scheduleFirst == g_scheduleCount; }

// Posts the scheduled messages that are due at the virtual time now.
void PostDueMessages() {
    while (!ScheduleEmpty() && static_cast<int32_t>(g_virtualClock - g_schedule[g_scheduleFirst].at) >= 0) {
        const WindowMessage& m = g_schedule[g_scheduleFirst].message;
        QueuePost(m.message, m.wParam);
        ++g_scheduleFirst;
    }
    if (ScheduleEmpty()) g_scheduleFirst = g_scheduleCount = 0;
}

// Moves the clock to `until` unless it is there already.
void AdvanceClockTo(uint32_t until) {
    if (static_cast<int32_t>(until - g_virtualClock) > 0) g_virtualClock = until;
}

bool Init(const PlatformOptions&) {
    g_virtualClock = 0;
    g_joystickOpen = false;
    g_scheduleFirst = g_scheduleCount = 0;
    g_presentTimesCount = g_presentNext = 0;
    return true;
}

void Nothing() {}

void PollEvents() { PostDueMessages(); }

bool WaitEvents(bool useDeadline, uint32_t deadlineMs) {
    // Time jumps to the next scheduled message, or to the deadline when that comes first. With
    // nothing scheduled and no deadline, nothing will ever arrive.
    if (!useDeadline && ScheduleEmpty()) return false;
    uint32_t until = deadlineMs;
    if (!ScheduleEmpty() && (!useDeadline || static_cast<int32_t>(g_schedule[g_scheduleFirst].at - until) < 0)) {
        until = g_schedule[g_scheduleFirst].at;
    }
    AdvanceClockTo(until);
    PostDueMessages();
    return true;
}

void ShowCursor(bool) {}

void MessageBox(const char* text, const char*) { std::fprintf(stderr, "%s\n", text); }

int RunDialog(const DialogTemplate& dialog, DialogProc proc) {
    // No window to show it in: as if the window manager had closed it at once.
    for (;;) {
        const int result = proc(dialog.closeButtonId);
        if (result != DIALOG_STAY) return result;
    }
}

uint32_t Time() { return g_virtualClock; }

bool IsKeyDown(int vk) { return g_keys[static_cast<size_t>(vk)]; }

bool JoystickPresent() { return g_joystickPresent; }

int JoystickOpen() {
    if (!g_joystickPresent) return 5;
    g_joystickOpen = true;
    return 0;
}

bool JoystickPoll(PlatJoystickRaw* raw) {
    if (!g_joystickOpen || !g_joystickPresent) {
        *raw = PlatJoystickRaw{};
        return false;
    }
    *raw = g_joystick;
    return true;
}

void JoystickClose() { g_joystickOpen = false; }

bool SoundInit() { return true; }

bool KnownEffect(int effectId) { return effectId >= 0 && effectId < 256; }

bool SoundCreateBuffer(int effectId, const uint8_t*, uint32_t, int, int, int) {
    if (!KnownEffect(effectId)) return false;
    g_soundBuffers[static_cast<size_t>(effectId)] = true;
    return true;
}

void SoundPlay(int effectId) {
    if (KnownEffect(effectId) && g_soundBuffers[static_cast<size_t>(effectId)]) g_sounds.push_back(effectId);
}

void SoundStop(int) {}

void SoundReleaseBuffer(int effectId) {
    if (KnownEffect(effectId)) g_soundBuffers[static_cast<size_t>(effectId)] = false;
}

void MciSendString(const char* command) { g_music.emplace_back(command); }

void Present(const Surface*) {
    g_presentTimes[static_cast<size_t>(g_presentNext)] = g_virtualClock;
    g_presentNext = (g_presentNext + 1) % PRESENT_TIMES_KEPT;
    if (g_presentTimesCount < PRESENT_TIMES_KEPT) ++g_presentTimesCount;
}

}  // namespace

const PlatformBackendCalls HEADLESS_BACKEND = {
    .init = Init,
    .shutdown = Nothing,
    .createWindow = Nothing,
    .showWindow = Nothing,
    .destroyWindow = Nothing,
    .pollEvents = PollEvents,
    .waitEvents = WaitEvents,
    .showCursor = ShowCursor,
    .messageBox = MessageBox,
    .runDialog = RunDialog,
    .time = Time,
    .isKeyDown = IsKeyDown,
    .joystickPresent = JoystickPresent,
    .joystickOpen = JoystickOpen,
    .joystickPoll = JoystickPoll,
    .joystickClose = JoystickClose,
    .soundInit = SoundInit,
    .soundCreateBuffer = SoundCreateBuffer,
    .soundPlay = SoundPlay,
    .soundStop = SoundStop,
    .soundReleaseBuffer = SoundReleaseBuffer,
    .soundShutdown = Nothing,
    .mciSendString = MciSendString,
    .present = Present,
};

// ---- what the runner and the tests set and read ----------------------------------------------

void PlatHeadlessAdvanceClock(uint32_t ms) { g_virtualClock += ms; }

void PlatHeadlessSetKeyDown(int vk, bool down) {
    if (vk >= 0 && vk < 256) g_keys[static_cast<size_t>(vk)] = down;
}

void PlatHeadlessSetJoystick(bool present, const PlatJoystickRaw& raw) {
    g_joystickPresent = present;
    g_joystick = raw;
}

void PlatHeadlessTakeAudioLog(std::vector<int>* sounds, std::vector<std::string>* music) {
    sounds->swap(g_sounds);
    music->swap(g_music);
    g_sounds.clear();
    g_music.clear();
}

void PlatHeadlessScheduleMessage(uint32_t atMs, uint32_t message, uint32_t wParam) {
    if (g_scheduleCount == SCHEDULE_SIZE) return;  // more than any test needs: dropped
    g_schedule[static_cast<size_t>(g_scheduleCount++)] = ScheduledMessage{atMs, WindowMessage{message, wParam}};
}

void PlatHeadlessPresentTimes(std::vector<uint32_t>* times) {
    times->clear();
    const int oldest = g_presentTimesCount < PRESENT_TIMES_KEPT ? 0 : g_presentNext;
    for (int i = 0; i < g_presentTimesCount; ++i) {
        times->push_back(g_presentTimes[static_cast<size_t>((oldest + i) % PRESENT_TIMES_KEPT)]);
    }
}

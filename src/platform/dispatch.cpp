// The platform's front: keeps the one message queue and the window procedure, and sends every
// other call to the back-end chosen at start-up. The headless back-end lives here as well: it
// has no devices, so each of its calls is a line or two of bookkeeping.
#include <array>
#include <cstdio>

#include "platform/platform_internal.h"

namespace {

PlatformBackend g_backend = PLATFORM_HEADLESS;
WindowProc g_windowProc = nullptr;
bool g_windowExists = false;

// A small ring of pending window messages. The game posts very few (a music notification, a
// quit); the SDL pump posts key presses, focus changes and the like.
constexpr int QUEUE_SIZE = 256;
std::array<WindowMessage, QUEUE_SIZE> g_queue;
int g_queueHead = 0;
int g_queueCount = 0;

// ---- headless state
uint32_t g_virtualClock = 0;
std::array<bool, 256> g_headlessKeys{};
bool g_headlessJoystickPresent = false;
bool g_headlessJoystickOpen = false;
PlatJoystickRaw g_headlessJoystick;
std::array<bool, 256> g_headlessSoundBuffers{};
std::vector<int> g_headlessSounds;
struct ScheduledMessage {
    uint32_t at;
    WindowMessage message;
};
std::vector<ScheduledMessage> g_headlessSchedule;  // in the order given (times increasing)
std::vector<uint32_t> g_headlessPresentTimes;

// Posts the scheduled messages that are due at the virtual time now.
void PostDueMessages() {
    size_t done = 0;
    while (done < g_headlessSchedule.size() && static_cast<int32_t>(g_virtualClock - g_headlessSchedule[done].at) >= 0) {
        QueuePost(g_headlessSchedule[done].message.message, g_headlessSchedule[done].message.wParam);
        ++done;
    }
    g_headlessSchedule.erase(g_headlessSchedule.begin(), g_headlessSchedule.begin() + static_cast<long>(done));
}
std::vector<std::string> g_headlessMusic;

bool Sdl() { return g_backend == PLATFORM_SDL; }

}  // namespace

void QueuePost(uint32_t message, uint32_t wParam) {
    if (g_queueCount == QUEUE_SIZE) return;  // a flood of events: drop the newest
    g_queue[(g_queueHead + g_queueCount) % QUEUE_SIZE] = WindowMessage{message, wParam};
    ++g_queueCount;
}

bool QueueEmpty() { return g_queueCount == 0; }

bool PlatformInit(const PlatformOptions& options) {
    g_backend = options.backend;
    g_virtualClock = 0;
    g_headlessSchedule.clear();
    g_headlessPresentTimes.clear();
    if (Sdl()) return SdlInit(options);
    return true;
}

void PlatformShutdown() {
    if (Sdl()) SdlShutdown();
}

PlatformBackend PlatformGetBackend() { return g_backend; }

// ---- window and messages --------------------------------------------------------------------

void PlatCreateWindow(WindowProc proc) {
    g_windowProc = proc;
    g_windowExists = true;
    g_queueHead = 0;
    g_queueCount = 0;
    if (Sdl()) SdlCreateWindow();
}

void PlatShowWindow() {
    if (Sdl()) SdlShowWindow();
}

void PlatDestroyWindow() {
    if (!g_windowExists) return;
    // As DestroyWindow does: the procedure hears WM_DESTROY while the window still exists.
    if (g_windowProc) g_windowProc(WM_DESTROY, 0);
    g_windowExists = false;
    if (Sdl()) SdlDestroyWindow();
}

bool PlatWindowExists() { return g_windowExists; }

bool PlatPeekMessage() {
    if (Sdl() && QueueEmpty()) SdlPumpEvents(false, 0, false);
    if (!Sdl()) PostDueMessages();
    return !QueueEmpty();
}

int PlatGetMessage(WindowMessage* msg) {
    while (QueueEmpty()) {
        if (!Sdl()) {
            // Headless: time jumps to the next scheduled message; with none, nothing will ever
            // arrive, which ends the loop as a quit would.
            if (g_headlessSchedule.empty()) {
                *msg = WindowMessage{WM_QUIT, 0};
                return 0;
            }
            g_virtualClock = g_headlessSchedule.front().at;
            PostDueMessages();
            continue;
        }
        SdlPumpEvents(true, 0, false);
    }
    *msg = g_queue[g_queueHead];
    g_queueHead = (g_queueHead + 1) % QUEUE_SIZE;
    --g_queueCount;
    return msg->message == WM_QUIT ? 0 : 1;
}

void PlatDispatchMessage(const WindowMessage& msg) {
    if (g_windowProc && g_windowExists) g_windowProc(msg.message, msg.wParam);
}

void PlatPostMessage(uint32_t message, uint32_t wParam) { QueuePost(message, wParam); }

void PlatPostQuitMessage(int exitCode) { QueuePost(WM_QUIT, static_cast<uint32_t>(exitCode)); }

void PlatWaitMessage() {
    if (!QueueEmpty()) return;
    if (Sdl()) {
        SdlPumpEvents(true, 0, false);
    } else if (!g_headlessSchedule.empty()) {
        if (static_cast<int32_t>(g_headlessSchedule.front().at - g_virtualClock) > 0) {
            g_virtualClock = g_headlessSchedule.front().at;
        }
        PostDueMessages();
    } else {
        QueuePost(WM_QUIT, 0);  // headless with nothing to wait for: end the loop
    }
}

void PlatWaitMessageUntil(uint32_t deadlineMs) {
    if (!QueueEmpty()) return;
    if (Sdl()) {
        SdlPumpEvents(true, deadlineMs, true);
        return;
    }
    // Headless: time jumps to the deadline or to the next scheduled message, whichever is first.
    uint32_t until = deadlineMs;
    if (!g_headlessSchedule.empty() && static_cast<int32_t>(g_headlessSchedule.front().at - until) < 0) {
        until = g_headlessSchedule.front().at;
    }
    if (static_cast<int32_t>(until - g_virtualClock) > 0) g_virtualClock = until;
    PostDueMessages();
}

void PlatShowCursor(bool show) {
    if (Sdl()) SdlShowCursor(show);
}

void PlatMessageBox(const char* text, const char* caption) {
    if (Sdl()) {
        SdlMessageBox(text, caption);
    } else {
        std::fprintf(stderr, "%s\n", text);
    }
    (void)caption;
}

// ---- clock ----------------------------------------------------------------------------------

uint32_t PlatTimeGetTime() { return Sdl() ? SdlTimeGetTime() : g_virtualClock; }
uint32_t PlatGetTickCount() { return Sdl() ? SdlTimeGetTime() : g_virtualClock; }
void PlatHeadlessAdvanceClock(uint32_t ms) { g_virtualClock += ms; }

// ---- keyboard -------------------------------------------------------------------------------

bool PlatIsKeyDown(int vk) {
    if (vk < 0 || vk > 255) return false;
    return Sdl() ? SdlIsKeyDown(vk) : g_headlessKeys[vk];
}

void PlatHeadlessSetKeyDown(int vk, bool down) {
    if (vk >= 0 && vk < 256) g_headlessKeys[vk] = down;
}

// ---- joystick -------------------------------------------------------------------------------

bool PlatJoystickPresent() { return Sdl() ? SdlJoystickPresent() : g_headlessJoystickPresent; }

int PlatJoystickOpen() {
    if (Sdl()) return SdlJoystickOpen();
    if (!g_headlessJoystickPresent) return 5;
    g_headlessJoystickOpen = true;
    return 0;
}

bool PlatJoystickPoll(PlatJoystickRaw* raw) {
    if (Sdl()) return SdlJoystickPoll(raw);
    if (!g_headlessJoystickOpen || !g_headlessJoystickPresent) {
        *raw = PlatJoystickRaw{};
        return false;
    }
    *raw = g_headlessJoystick;
    return true;
}

void PlatJoystickClose() {
    if (Sdl()) SdlJoystickClose();
    g_headlessJoystickOpen = false;
}

void PlatHeadlessSetJoystick(bool present, const PlatJoystickRaw& raw) {
    g_headlessJoystickPresent = present;
    g_headlessJoystick = raw;
}

// ---- sound and music ------------------------------------------------------------------------

bool PlatSoundInit() { return Sdl() ? SdlSoundInit() : true; }

bool PlatSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond,
                           int bitsPerSample, int channels) {
    if (Sdl()) return SdlSoundCreateBuffer(effectId, data, bytes, samplesPerSecond, bitsPerSample, channels);
    if (effectId < 0 || effectId > 255) return false;
    g_headlessSoundBuffers[effectId] = true;
    return true;
}

void PlatSoundPlay(int effectId) {
    if (Sdl()) {
        SdlSoundPlay(effectId);
    } else if (effectId >= 0 && effectId < 256 && g_headlessSoundBuffers[effectId]) {
        g_headlessSounds.push_back(effectId);
    }
}

void PlatSoundStop(int effectId) {
    if (Sdl()) SdlSoundStop(effectId);
}

void PlatSoundReleaseBuffer(int effectId) {
    if (Sdl()) {
        SdlSoundReleaseBuffer(effectId);
    } else if (effectId >= 0 && effectId < 256) {
        g_headlessSoundBuffers[effectId] = false;
    }
}

void PlatSoundShutdown() {
    if (Sdl()) SdlSoundShutdown();
}

void PlatMciSendString(const char* command) {
    if (Sdl()) {
        SdlMciSendString(command);
    } else {
        g_headlessMusic.emplace_back(command);
    }
}

void PlatHeadlessTakeAudioLog(std::vector<int>* sounds, std::vector<std::string>* music) {
    sounds->swap(g_headlessSounds);
    music->swap(g_headlessMusic);
    g_headlessSounds.clear();
    g_headlessMusic.clear();
}

// ---- presentation ---------------------------------------------------------------------------

namespace {
uint64_t g_presentCount = 0;
}

void PlatPresent() {
    ++g_presentCount;
    if (Sdl()) {
        SdlPresent(SurfacePrimary());
        return;
    }
    if (g_headlessPresentTimes.size() == 64) g_headlessPresentTimes.erase(g_headlessPresentTimes.begin());
    g_headlessPresentTimes.push_back(g_virtualClock);
}

void PlatHeadlessScheduleMessage(uint32_t atMs, uint32_t message, uint32_t wParam) {
    g_headlessSchedule.push_back(ScheduledMessage{atMs, WindowMessage{message, wParam}});
}

void PlatHeadlessPresentTimes(std::vector<uint32_t>* times) { *times = g_headlessPresentTimes; }

uint64_t PlatPresentCount() { return g_presentCount; }

bool PlatWriteScreenPng(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = SurfaceWriteScreenPng(file);
    return std::fclose(file) == 0 && written;
}

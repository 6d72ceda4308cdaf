// The platform's front: keeps the one message queue and the window procedure, and hands every
// call that needs a device to the back-end chosen at start-up (platform_internal.h).
#include <array>
#include <cstdio>

#include "platform/platform_internal.h"

namespace {

const PlatformBackendCalls* g_backend = &HEADLESS_BACKEND;
WindowProc g_windowProc = nullptr;
bool g_windowExists = false;
uint64_t g_presentCount = 0;

// A small ring of pending window messages. The game posts very few (a music notification, a
// quit); the SDL event pump posts key presses, focus changes and the like.
constexpr int QUEUE_SIZE = 256;
std::array<WindowMessage, QUEUE_SIZE> g_queue;
int g_queueHead = 0;
int g_queueCount = 0;

}  // namespace

void QueuePost(uint32_t message, uint32_t wParam) {
    if (g_queueCount == QUEUE_SIZE) return;  // a flood of events: drop the newest
    g_queue[static_cast<size_t>((g_queueHead + g_queueCount) % QUEUE_SIZE)] = WindowMessage{message, wParam};
    ++g_queueCount;
}

bool QueueEmpty() { return g_queueCount == 0; }

bool PlatformInit(const PlatformOptions& options) {
    g_backend = options.backend == PLATFORM_SDL ? &SDL_BACKEND : &HEADLESS_BACKEND;
    return g_backend->init(options);
}

void PlatformShutdown() { g_backend->shutdown(); }

// ---- window and messages --------------------------------------------------------------------

void PlatCreateWindow(WindowProc proc) {
    g_windowProc = proc;
    g_windowExists = true;
    g_queueHead = 0;
    g_queueCount = 0;
    g_backend->createWindow();
}

void PlatShowWindow() { g_backend->showWindow(); }

void PlatDestroyWindow() {
    if (!g_windowExists) return;
    // As DestroyWindow does: the procedure hears WM_DESTROY while the window still exists.
    if (g_windowProc) g_windowProc(WM_DESTROY, 0);
    g_windowExists = false;
    g_backend->destroyWindow();
}

bool PlatWindowExists() { return g_windowExists; }

bool PlatPeekMessage() {
    g_backend->pollEvents();
    return !QueueEmpty();
}

int PlatGetMessage(WindowMessage* msg) {
    while (QueueEmpty()) {
        if (!g_backend->waitEvents(false, 0)) {
            // Nothing will ever arrive (the headless back-end with nothing scheduled): that ends
            // the loop as a quit would.
            *msg = WindowMessage{WM_QUIT, 0};
            return 0;
        }
    }
    *msg = g_queue[static_cast<size_t>(g_queueHead)];
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
    if (!g_backend->waitEvents(false, 0)) QueuePost(WM_QUIT, 0);  // nothing to wait for: end the loop
}

void PlatWaitMessageUntil(uint32_t deadlineMs) {
    if (QueueEmpty()) g_backend->waitEvents(true, deadlineMs);
}

void PlatShowCursor(bool show) { g_backend->showCursor(show); }

void PlatMessageBox(const char* text, const char* caption) { g_backend->messageBox(text, caption); }

int PlatRunDialog(const DialogTemplate& dialog, DialogProc proc) { return g_backend->runDialog(dialog, proc); }

// ---- clock, keyboard, joystick --------------------------------------------------------------

uint32_t PlatTimeGetTime() { return g_backend->time(); }
uint32_t PlatGetTickCount() { return g_backend->time(); }

bool PlatIsKeyDown(int vk) { return vk >= 0 && vk <= 255 && g_backend->isKeyDown(vk); }

bool PlatJoystickPresent() { return g_backend->joystickPresent(); }
int PlatJoystickOpen() { return g_backend->joystickOpen(); }
bool PlatJoystickPoll(PlatJoystickRaw* raw) { return g_backend->joystickPoll(raw); }
void PlatJoystickClose() { g_backend->joystickClose(); }

// ---- sound and music ------------------------------------------------------------------------

bool PlatSoundInit() { return g_backend->soundInit(); }

bool PlatSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                           int channels) {
    return g_backend->soundCreateBuffer(effectId, data, bytes, samplesPerSecond, bitsPerSample, channels);
}

void PlatSoundPlay(int effectId) { g_backend->soundPlay(effectId); }
void PlatSoundStop(int effectId) { g_backend->soundStop(effectId); }
void PlatSoundReleaseBuffer(int effectId) { g_backend->soundReleaseBuffer(effectId); }
void PlatSoundShutdown() { g_backend->soundShutdown(); }
void PlatMciSendString(const char* command) { g_backend->mciSendString(command); }

// ---- presentation ---------------------------------------------------------------------------

void PlatPresent() {
    ++g_presentCount;
    g_backend->present(SurfacePrimary());
}

uint64_t PlatPresentCount() { return g_presentCount; }

bool PlatWriteScreenPng(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = SurfaceWriteScreenPng(file);
    return std::fclose(file) == 0 && written;
}

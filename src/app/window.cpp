// The game window: start-up in its fixed order, the window procedure, the message loop that
// paces the frame ticks, and the frame tick itself.
#include <cstdio>
#include <string>

#include "app/dialog.h"
#include "app/game.h"
#include "input/input.h"
#include "platform/file_io.h"
#include "platform/platform.h"
#include "player/player.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw_trace.h"

int g_appActive = 0;
int g_paused = 0;
int g_pauseRequested = 0;
uint32_t g_lastFrameTime = 0;
int g_screenNeeded = 1;

namespace {

// The presentation's blit is repeated until it succeeds; a blit that keeps failing for another
// reason than a lost display is given up after this many tries (the next tick tries again).
constexpr int PRESENT_ATTEMPTS = 8;

bool PresentField() {
    if (g_screenNeeded == 0) {
        PlatPresent();  // counted as shown; the screen's pixels are not looked at
        return true;
    }
    const PlatRect source{0, 0, FIELD_WIDTH, FIELD_HEIGHT};
    const int w = g_screenWidth;
    const int h = g_screenHeight;
    for (int attempt = 0; attempt < PRESENT_ATTEMPTS; ++attempt) {
        BlitResult result;
        // The display always runs at 640 x 480 here (g_largeDisplay is 1), so the magnification
        // alone chooses between the doubled and the actual-size field.
        if (g_magnify == 1) {
            const PlatRect dest{w / 2 - 200, h / 2 - 240, w / 2 + 200, h / 2 + 240};
            result = PlatBltStretch(g_primarySurface, dest, g_fieldSurface, source);
        } else {
            result = PlatBltFast(g_primarySurface, w / 2 - 100, h / 2 - 120, g_fieldSurface, source, false);
        }
        if (result == BLIT_OK) break;
        if (result == BLIT_SURFACE_LOST && !RestoreSurfaces()) return false;
    }
    PlatPresent();
    return true;
}

void LogStartupFailure(const char* what) { std::fprintf(stderr, "vorne: %s\n", what); }

// The display's set-up failed: says which picture file stopped it, and where it was looked for.
void LogImageFailure() {
    std::string path;
    if (g_failedImageFile[0] == '\0') {
        LogStartupFailure("cannot create the display's surfaces");
    } else if (!PlatFindDataFile(g_failedImageFile, &path) && PlatFileStatusText(FILE_MISSING) == g_failedImageReason) {
        std::fprintf(stderr, "vorne: %s is missing: not found in %s\n", g_failedImageFile, PlatDataFolderList().c_str());
    } else {
        std::fprintf(stderr, "vorne: cannot load %s: it %s\n", path.empty() ? g_failedImageFile : path.c_str(),
                     g_failedImageReason);
    }
}

}  // namespace

bool FrameTickDue(uint32_t now, uint32_t lastFrameTime) { return now - lastFrameTime > static_cast<uint32_t>(g_frameInterval); }

bool RunFrame() {
    if (g_useJoystick == 1) PollJoystick(&g_joystickState);
    // The effect colour lasts exactly one frame.
    const int colour = g_fieldClearColour;
    g_fieldClearColour = g_baseClearColour;
    if (g_drawTrace) TraceFieldClear(colour);
    if (PlatColourFill(g_fieldSurface, nullptr, colour) == BLIT_SURFACE_LOST && !RestoreSurfaces()) return false;
    if (!UpdateTitleScreen()) return false;
    if (!UpdateGameFrame()) return false;
    return PresentField();
}

int MainWindowProc(uint32_t message, uint32_t wParam) {
    switch (message) {
        case WM_ACTIVATEAPP: g_appActive = static_cast<int>(wParam); return 0;
        case WM_KEYDOWN:
            if (wParam == static_cast<uint32_t>(VK_ESCAPE)) {
                if (g_screenState > SCREEN_TITLE) {
                    ResetGame();
                } else {
                    PlatDestroyWindow();
                }
            } else if (wParam == static_cast<uint32_t>(VK_P)) {
                if (g_screenState == SCREEN_GAME && g_paused == 0 && g_playing == 1) {
                    g_pauseRequested = 1;
                } else {
                    g_paused = 0;
                    g_pauseRequested = 0;
                }
            } else if (wParam == static_cast<uint32_t>(VK_TAB) && g_primarySurface) {
                // TAB switches between the doubled field and the field at its own size; the screen
                // is repainted with its backdrop so nothing of the other size stays behind (a
                // backdrop that cannot be read leaves the old picture there).
                g_magnify = g_magnify ? 0 : 1;
                static_cast<void>(LoadImageFile(g_primarySurface, "palette.dat"));
            }
            return 0;
        case MM_MCINOTIFY:
            if (wParam == MCI_NOTIFY_SUCCESSFUL) SendMusicCommand("play BGM from 0 notify");
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                StopMusic();
                PlatShowCursor(true);
                PlatMessageBox("VORNEを強制終了します。", "VORNE");
                PlatDestroyWindow();
            }
            return 0;
        case WM_DESTROY:
            StopMusic();
            PlatShowCursor(true);
            ReleaseDisplay();
            ReleaseSound();
            ReleaseInput();
            PlatPostQuitMessage(0);
            return 0;
        default: return 0;
    }
}

int RunMessageLoop() {
    bool clockStarted = false;
    for (;;) {
        if (PlatPeekMessage()) {
            WindowMessage msg;
            if (PlatGetMessage(&msg) == 0) return static_cast<int>(msg.wParam);
            PlatDispatchMessage(msg);
            continue;
        }
        if (g_appActive == 0) {
            PlatWaitMessage();  // no ticks while the game is in the background
            continue;
        }
        if (!clockStarted) {
            g_lastFrameTime = PlatTimeGetTime();
            clockStarted = true;
        }
        if (FrameTickDue(PlatTimeGetTime(), g_lastFrameTime)) {
            g_lastFrameTime = PlatTimeGetTime();  // a fresh reading: lateness is not made up
            if (g_paused == 0) RunFrame();
        } else {
            // Sleep until the tick is due or a message arrives, instead of spinning.
            PlatWaitMessageUntil(g_lastFrameTime + static_cast<uint32_t>(g_frameInterval) + 1);
        }
    }
}

int SetUpAfterDialog(int choice) {
    if (choice == 0) {
        PlatDestroyWindow();
        return 0;
    }
    PlatShowWindow();
    ResetGame();
    PlatShowCursor(false);
    if (!InitSound()) {
        LogStartupFailure("no sound device could be opened (SDL_AUDIODRIVER=dummy plays without sound)");
        PlatDestroyWindow();
        return 0;
    }
    if (g_useJoystick == 1 && !InitJoystick()) {
        PlatDestroyWindow();
        return 0;
    }
    if (!InitDisplay()) {
        LogImageFailure();
        PlatDestroyWindow();
        return 0;
    }
    return -1;
}

int RunGameAfterDialog(int choice) {
    const int status = SetUpAfterDialog(choice);
    return status >= 0 ? status : RunMessageLoop();
}

// The application shell: the screen states, the in-game frame, the reset to the start, the
// window procedure, the frame loop and the frame tick.
#pragma once

#include <cstdint>

// Screen states (g_screenState).
inline constexpr int SCREEN_SPLASH = 0;
inline constexpr int SCREEN_TITLE_SLIDE = 1;
inline constexpr int SCREEN_TITLE = 2;
inline constexpr int SCREEN_GAME = 3;

struct TitleLogoPiece {
    int x, y, width, height;
};

// ---- window and frame loop; set once at start-up or by the window procedure
extern int g_appActive;
extern int g_paused;
extern int g_pauseRequested;
extern uint32_t g_lastFrameTime;
// 0: the frame tick leaves the screen as it is instead of copying the finished field onto it.
// Only the headless runner clears it, for ticks after which nobody looks at the screen (no
// screenshot or video frame to come); the field, its hash and every drawing call are the same.
extern int g_screenNeeded;

// ---- screen states; reset by ResetGame
extern int g_screenState;
extern int g_splashTimer;
extern int g_titleInputDelay;
extern int g_blinkTimer;
extern TitleLogoPiece g_titleLogoUpper;
extern TitleLogoPiece g_titleLogoLower;

// ---- frames-per-second figure; kept across resets
extern int g_fpsFrameCount;
extern float g_fpsValue;
extern uint32_t g_fpsNextTick;

// Called by RunFrame before UpdateGameFrame: splash, sliding logo, title. False when drawing failed.
[[nodiscard]] bool UpdateTitleScreen();
// Called by the title when the start control is found: the game begins with ship selection.
void StartGame();
// Called by RunFrame every tick: the whole in-game frame in its fixed order. False when drawing
// failed and the frame was abandoned.
[[nodiscard]] bool UpdateGameFrame();
// Every game variable back to its start value, the splash screen, the music stopped. Called at
// start-up, on ESC in a game, and through g_endGame after the game-over panels and the ending.
void ResetGame();
// Every record of every pool to its start value; called only by ResetGame.
void InitObjectPools();

// One frame tick: joystick poll, field clear, title and game frames, presentation. False when
// the frame was abandoned (the message loop goes on either way).
bool RunFrame();
// The game window's procedure (activation, ESC, P, TAB, music end, minimising, destruction).
int MainWindowProc(uint32_t message, uint32_t wParam);
// The message loop; returns the quit message's code.
int RunMessageLoop();
// The tick rule of the message loop: true when a tick is due at time now, given the time of
// the last tick (strictly more than g_frameInterval milliseconds have passed).
bool FrameTickDue(uint32_t now, uint32_t lastFrameTime);

// Start-up in its fixed order after the dialog's choice (0 quit, 1 play): show the window, reset
// the game, hide the cursor, set up sound, the joystick (joystick play) and the display. Returns
// -1 when the game is ready for its frame loop, otherwise the program's exit code (the window
// has then been destroyed).
int SetUpAfterDialog(int choice);
// SetUpAfterDialog, then the message loop. Returns the program's exit code.
int RunGameAfterDialog(int choice);

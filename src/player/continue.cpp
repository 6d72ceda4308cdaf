// The end of the lives: the continue screen and game over. When the respawn delay ends with no
// life left, the continue screen slides its two panels in and counts five seconds down; the bomb
// control (read live, never recorded) takes the continue: a fresh stock and a score of 0. The
// high score and its replay are committed as the screen opens, before any continue. When the
// count runs out, or at once in a watched replay, the two game-over panels slide in, rest a
// moment and the game returns to the splash picture.
#include "input/input.h"
#include "player/combat.h"
#include "player/player.h"
#include "video/display.h"

// Continue screen and game-over state; reset by ResetGame.
GameOverPanel g_gameOverPanels[2] = {};
int g_gameOverHold = 0;
int g_continuePanelsIn = 0;
int g_continueCount = 0;
int g_continueTick = 0;
int g_continuePanelX[2] = {-96, 200};
int g_continuePanelY[2] = {80, 80};

namespace {

inline constexpr int CONTINUE_SECONDS = 5;
inline constexpr int CONTINUE_FRAMES_PER_COUNT = 30;
inline constexpr int CONTINUE_PANEL_STEP = 4;
inline constexpr int GAME_OVER_PANEL_STEP = 5;
inline constexpr int GAME_OVER_HOLD = 120;

void ShowGameOverPanels() {
    g_gameOverPanels[0].state = 1;
    g_gameOverPanels[1].state = 1;
}

bool DrawContinuePanel(int k) {
    constexpr const atlas::Region* PANELS[2] = {&atlas::Get("continuePanel0"), &atlas::Get("continuePanel1")};
    return DrawRegion(*PANELS[k], g_continuePanelX[k], g_continuePanelY[k]);
}

// The count, the accept and the end of the count, once the panels are in.
bool RunContinueCount() {
    StepCountdown(g_continueCount, g_continueTick, CONTINUE_FRAMES_PER_COUNT);
    if (g_continueCount >= 0) {
        if (IsControlHeldLive(CONTROL_BOMB)) ContinueGame();
        if (!DrawNumber(96, 130, g_continueCount)) return false;
    }
    if (g_continueCount < 0) {
        g_continueActive = 0;
        ShowGameOverPanels();
    }
    return DrawRegion(atlas::Get("continueLabel"), 52, 110);
}

}  // namespace

void PlaceContinuePanels() {
    g_continuePanelX[0] = -96;
    g_continuePanelY[0] = 80;
    g_continuePanelX[1] = 200;
    g_continuePanelY[1] = 80;
}

void InitGameOverPanels() {
    g_gameOverPanels[0] = GameOverPanel{-100, 80, 100, 50, 0};
    g_gameOverPanels[1] = GameOverPanel{200, 80, 100, 50, 0};
}

void StartContinueScreen() {
    // What the player reached before any continue is what can be saved (a watched replay saves
    // nothing, but its result is noted).
    CommitHighScore();
    // A replay never continues: it ends at once.
    if (g_watchingReplay) {
        ShowGameOverPanels();
        return;
    }
    g_continuePanelsIn = 0;
    g_continueTick = 0;
    g_continueActive = 1;
    g_continueCount = CONTINUE_SECONDS;
    PlaceContinuePanels();
}

// The frame in which the panels arrive does not count down yet.
bool UpdateContinueScreen() {
    if (g_continueActive != 1) return true;
    if (g_continuePanelsIn == 0) {
        g_continuePanelX[0] += CONTINUE_PANEL_STEP;
        g_continuePanelX[1] -= CONTINUE_PANEL_STEP;
        if (g_continuePanelX[0] > 20) g_continuePanelsIn = 1;
    } else if (!RunContinueCount()) {
        return false;
    }
    if (!DrawContinuePanel(0)) return false;
    return DrawContinuePanel(1);
}

void ContinueGame() {
    g_continueActive = 0;
    g_continued = 1;
    RestockPlayer(10);
    g_score = 0;
    for (int s = 0; s < 2; ++s) {
        if (g_ships[s].active == 0) continue;
        g_ships[s].lives = 3;
        SendShipToStart(s);
    }
}

// A panel that comes to rest adds to the hold in the same frame; with both resting the hold
// grows by two a frame.
bool UpdateGameOver() {
    constexpr const atlas::Region* PANELS[2] = {&atlas::Get("gameOverPanel0"), &atlas::Get("gameOverPanel1")};
    constexpr int STEP[2] = {GAME_OVER_PANEL_STEP, -GAME_OVER_PANEL_STEP};
    for (int k = 0; k < 2; ++k) {
        GameOverPanel& p = g_gameOverPanels[k];
        if (p.state < 1) continue;
        if (!DrawRegionPart(*PANELS[k], p.x, p.y, p.width, p.height)) return false;
        if (p.state == 1) {
            p.x += STEP[k];
            if (g_gameOverPanels[0].x >= 0) p.state = 2;
        }
        if (p.state == 2 && ++g_gameOverHold == GAME_OVER_HOLD) g_endGame();
    }
    return true;
}

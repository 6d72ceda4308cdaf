// The numbers around the action: score and high score along the top (and the title's
// nine-digit high score), the spare lives under them, the floating bonus number, the count of
// live enemy bullets in the bottom-right corner with the boss timer. The bullet count also sets
// the frame interval of the frame loop: the more bullets, the slower the game runs.
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/player.h"
#include "player/ship.h"
#include "stage/stage.h"
#include "video/display.h"

int g_frameInterval = 28;

namespace {

// Spare-life icons of one ship, continuing the row at *x.
bool DrawShipLives(const PlayerShip& ship, const atlas::Region& icon, int* x) {
    if (ship.active != 1 || ship.lives < 2) return true;
    for (int i = 0; i < ship.lives - 1; ++i) {
        if (!DrawRegion(icon, *x, 10)) return false;
        *x += 17;
    }
    return true;
}

}  // namespace

void ShowScorePopup(int x, int y, int value) {
    g_scorePopup.x = x;
    g_scorePopup.y = y;
    g_scorePopup.value = value;
    g_scorePopup.active = 1;
    g_scorePopup.age = 0;
}

bool DrawScorePopup() {
    if (g_scorePopup.active != 1) return true;
    if (!DrawNumber(g_scorePopup.x, g_scorePopup.y, g_scorePopup.value)) return false;
    --g_scorePopup.y;
    ++g_scorePopup.age;
    if (g_scorePopup.age == 20) g_scorePopup.active = 0;
    return true;
}

bool DrawScores(int mode) {
    if (g_score > MAX_SCORE) g_score = MAX_SCORE;
    if (g_savedHiScore >= MAX_SCORE) g_savedHiScore = MAX_SCORE;
    if (mode == 1) {
        // A watched replay never raises the high score.
        if (!g_watchingReplay && g_score >= g_hiScore) g_hiScore = g_score;
        if (!DrawNumber(65, 0, g_score)) return false;
        return DrawNumber(150, 0, g_hiScore);
    }
    if (mode == 0) {
        // Leading zeros to nine digits, one glyph per power of ten the value is below.
        int power = 100000000;
        for (int x = 86; x <= 142; x += 8, power /= 10) {
            if (g_savedHiScore < power && !DrawNumberText(x, 0, "0$")) return false;
        }
        return DrawNumber(150, 0, g_savedHiScore);
    }
    return true;
}

bool DrawLives() {
    int x = 0;
    if (!DrawShipLives(g_ships[0], atlas::Get("unitA"), &x)) return false;
    return DrawShipLives(g_ships[1], atlas::Get("unitB"), &x);
}

bool DrawBulletCountAndTimer() {
    const int n = g_enemyBulletCount;
    const int slowAt = g_bulletSlowdownHigh == 1 ? 260 : 120;
    const int slowerAt = g_bulletSlowdownHigh == 1 ? 300 : 140;
    if (n < slowAt) {
        g_frameInterval = 28;
    } else if (n < slowerAt) {
        g_frameInterval = 32;
    } else {
        g_frameInterval = 36;
    }
    if (!DrawNumber(192, 232, n)) return false;
    if (g_bossTimerVisible == 1) {
        if (!DrawRegion(atlas::Get("timerLabel"), 68, 16)) return false;
        if (!DrawNumber(116, 16, g_bossTimer)) return false;
    }
    return true;
}

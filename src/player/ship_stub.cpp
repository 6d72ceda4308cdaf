// Ship side, first cut: start values and drawing-free steps. The ship, shots, bomb, stars and
// displays replace this file.
#include <cstdlib>

#include "player/player.h"

void ResetShipSide() {
    g_playing = 0;
    g_playerPhase = 0;
    g_idleSpeedBonus = 0;
    g_scoreLevel = 1;
    g_scorePerLevel = 120;
    g_fireArmed = 0;
    g_bombs = 2;
    g_bombPhase = 0;
    g_aimJitter = 0.0f;
    g_aimJitterWide = 0;
}
void InitSelectionPools() {}
void InitStars() {
    for (int i = 0; i < 60; ++i) {
        (void)(std::rand() % 197);
        (void)(std::rand() % 240);
    }
}
void InitShips() {
    g_ships[0] = PlayerShip{64, 180, 24, 24, 0, 20, 0, 3, SHIP_STATE_NORMAL, 3};
    g_ships[1] = PlayerShip{112, 180, 24, 24, 0, 70, 0, 2, SHIP_STATE_NORMAL, 3};
}
void InitShotPools() {}
void UpdateAimJitter() {}
int UpdateStars() { return 1; }
int UpdateShipSelect() { return 1; }
int UpdatePlayerShips() { return 1; }
int UpdatePlayerShots() { return 1; }
int UpdateBomb() { return 1; }
int UpdateUnitShotsA() { return 1; }
int UpdateUnitShotsB() { return 1; }
int DrawLives() { return 1; }
int DrawScoreLevel() { return 1; }
int DrawScorePopup() { return 1; }
int DrawBulletCountAndTimer() { return 1; }
int DrawScores(int) { return 1; }

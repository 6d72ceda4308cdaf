// The player side's shared globals: the ships, the play flags, the score state, the shot and
// bomb-unit pools. They live for the whole run; ResetGame and InitObjectPools give them their
// start values again for every game.
#include "player/player.h"

// ---- ships and play flags
PlayerShip g_ships[2] = {};
int g_playing = 0;
int g_playerPhase = 0;
int g_shipSelectActive = 0;
int g_idleSpeedBonus = 0;
int g_fireArmed = 0;
int g_continueActive = 0;
int g_continued = 0;
int g_bombPhase = 0;
// ---- score state (the displayed high score survives ResetGame)
int32_t g_score = 0;
int32_t g_hiScore = 0;
int g_scoreLevel = 1;
int g_scorePerLevel = 120;
int g_chain = 0;
int g_chainTimer = 0;
int g_shield = 3;
int g_bombs = 2;
float g_aimJitter = 0.0f;
int g_aimJitterWide = 0;
int g_bossBlastX = 0;
int g_bossBlastY = 0;
// ---- shots, bomb units and their fire timing
PlayerShot g_playerShots[PLAYER_SHOT_COUNT] = {};
BombUnit g_bombUnitsA[BOMB_UNIT_COUNT_A] = {};
BombUnit g_bombUnitsB[BOMB_UNIT_COUNT_B] = {};
PlayerShot g_unitShotsA[UNIT_SHOT_COUNT_A] = {};
PlayerShot g_unitShotsB[UNIT_SHOT_COUNT_B] = {};
int g_fireInterval = 3;
int g_fireCounter = 2;
int g_unitFireCounterA = 3;
int g_unitFireCounterB = 3;
// ---- lost-life phases and the pop-up
int g_respawnDelay = 0;
int g_invulnTimer = 0;
ScorePopup g_scorePopup = {};

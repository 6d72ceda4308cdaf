// The player side's shared globals.
#include "player/player.h"

PlayerShip g_ships[2] = {};
int g_playing = 0;
int g_playerPhase = 0;
int g_shipSelectActive = 0;
int g_idleSpeedBonus = 0;
int g_fireArmed = 0;
int g_continueActive = 0;
int g_continued = 0;
int g_bombPhase = 0;
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

// Combat side, first cut: start values and empty steps. Collisions, items, explosions and the
// continue, game-over and ending screens replace this file.
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"

int g_messageVisible = 0;
int g_messageRowY = 0;
int g_storyActive = 0;
int g_storyLines = 0;
int g_endingActive = 0;

void ResetCombatSide() {
    g_score = 0;
    g_shield = 3;
    g_chain = 0;
    g_chainTimer = 0;
    g_continueActive = 0;
    g_continued = 0;
    g_bossBlastX = 0;
    g_bossBlastY = 0;
    g_messageRowY = 0;
    g_storyActive = 0;
    g_storyLines = 0;
    g_endingActive = 0;
}
void InitGameOverPanels() {}
void InitMessagePicture() { g_messageVisible = 0; }
// A hit clears the sky first; the shield and lives come with the collision pass.
void HitPlayer() { ClearEnemyBullets(); }
void ShowMessageImage(int n) {
    const int m = n > 0 ? n - 1 : n;
    g_messageVisible = 1;
    g_messageRowY = 20 * (g_round == 2 ? m + 4 : m);
}
void HideMessageImage() { g_messageVisible = 0; }
void InitExplosionPools() {}
int ResolveCollisions() { return 1; }
int UpdateExplosions() { return 1; }
int UpdateDebris() { return 1; }
void UpdateBossBlast(int, int) {}
int DrawMessageImage() { return 1; }
int DrawStoryText() { return 1; }
int UpdateItemsAndGauges() { return 1; }
int UpdateChain() { return 1; }
int UpdateEnding() { return 1; }
int UpdateContinueScreen() { return 1; }
int UpdateGameOver() { return 1; }
void StartContinueScreen() {}

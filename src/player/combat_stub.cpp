// Combat side, first cut: start values and empty steps. Collisions, items, explosions and the
// continue, game-over and ending screens replace this file.
#include "player/player.h"

void ResetCombatSide() {
    g_score = 0;
    g_shield = 3;
    g_chain = 0;
    g_chainTimer = 0;
    g_continueActive = 0;
    g_continued = 0;
    g_bossBlastX = 0;
    g_bossBlastY = 0;
}
void InitGameOverPanels() {}
void InitMessagePicture() {}
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

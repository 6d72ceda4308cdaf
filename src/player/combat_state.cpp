// The combat side's start values: score, shield and chain, the collision pass's picture
// counters, the items, the boss blast, the continue screen, the ending and the story. The pools
// and panels get theirs from InitObjectPools (InitExplosionPools, InitGameOverPanels,
// InitMessagePicture).
#include "player/combat.h"
#include "player/player.h"

// Chain state and picture counters; reset by ResetGame.
int g_chainWindow = CHAIN_WINDOW;
int g_chainDecayTick = 0;
int g_bossPartAnimA = 0;
int g_bossPartAnimB = 0;
int g_midBossAnimX = 0;
int g_bossPartAnimC = 0;

void ResetCombatSide() {
    g_score = 0;
    g_shield = 3;
    g_chain = 0;
    g_chainTimer = 0;
    g_chainWindow = CHAIN_WINDOW;
    g_chainDecayTick = 0;
    g_bossPartAnimA = 0;
    g_bossPartAnimB = 0;
    g_midBossAnimX = 0;
    g_bossPartAnimC = 0;
    g_bombItem = ItemPosition{0, ITEM_PARKED_Y};
    g_shieldItem = ItemPosition{0, ITEM_PARKED_Y};
    g_lifeItem = ItemPosition{0, ITEM_PARKED_Y};
    // Not in the reset's own list, but a new game must earn its extends from the first again.
    g_extendCount = 1;
    g_bossBlastActive = 0;
    g_bossBlastTick = 0;
    g_bossBlastX = 0;
    g_bossBlastY = 0;
    g_storyActive = 0;
    g_storyLines = 0;
    g_messageRowY = 0;
    g_continueActive = 0;
    g_continuePanelsIn = 0;
    g_continueCount = 0;
    g_continueTick = 0;
    g_continued = 0;
    PlaceContinuePanels();
    g_gameOverHold = 0;
    g_endingActive = 0;
    g_endingTick = 0;
    g_endingHold = 0;
    for (int k = 0; k < ENDING_PICTURES; ++k) {
        g_endingSlotActive[k] = 0;
        g_endingY[k] = -20;
        g_endingX[k] = 25;
    }
}

// The reset to the start: every game variable to its start value, every pool record to its
// start value, the splash screen, the music stopped. The displayed and stored high scores, the
// mode flags and the frames-per-second count survive it.
#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "video/display.h"

void (*g_endGame)() = ResetGame;

void ResetGame() {
    g_screenState = SCREEN_SPLASH;
    g_splashTimer = 0;
    g_titleInputDelay = 0;
    g_blinkTimer = 0;
    g_paused = 0;
    g_pauseRequested = 0;
    g_replayFrame = 0;
    g_frameInterval = 28;
    g_fieldClearColour = 0;
    g_baseClearColour = 15;
    ResetShipSide();
    ResetCombatSide();
    ResetStage();
    ResetEnemyFire();
    InitObjectPools();
    StopMusic();  // the title has no music
}

void InitObjectPools() {
    // The order matters only for the stars, the one user of the random generator here.
    InitGameOverPanels();
    g_titleLogoUpper = TitleLogoPiece{55, -100, 90, 100};
    g_titleLogoLower = TitleLogoPiece{55, 230, 90, 100};
    InitSelectionPools();
    InitStars();
    InitShips();
    InitShotPools();
    InitMessagePicture();
    InitExplosionPools();
    InitEnemyPools();
    InitBulletPools();
}

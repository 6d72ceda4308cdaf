// The combat side's own details: explosions and debris, the items, the chain's window, the boss
// blast, the continue and game-over panels, the ending pictures and the stage caption. What the
// rest of the game needs from here (HitPlayer, the caption and story switches) is in player.h.
#pragma once

#include <cstdint>

#include "core/record_fields.h"

// ---- explosions and debris: two rings of short animations
struct Explosion {
    int32_t x, y, vx, vy, alive, width, height, frameX, tick;
};
// Its fields, in order, for the state dump (a new field is one more line here).
// clang-format off
inline constexpr Field EXPLOSION_FIELDS[] = {
    FIELD(Explosion, x, I32),
    FIELD(Explosion, y, I32),
    FIELD(Explosion, vx, I32),
    FIELD(Explosion, vy, I32),
    FIELD(Explosion, alive, I32),
    FIELD(Explosion, width, I32),
    FIELD(Explosion, height, I32),
    FIELD(Explosion, frameX, I32),
    FIELD(Explosion, tick, I32),
};
// clang-format on
inline constexpr RecordFields EXPLOSION_RECORD = RECORD_FIELDS(Explosion, EXPLOSION_FIELDS, RECORD_OBJECT);

inline constexpr int EXPLOSION_COUNT = 40;
inline constexpr int DEBRIS_COUNT = 40;

// What an explosion sounds like as it starts.
enum BlastSound {
    BLAST_SOUND_NONE = 0,
    BLAST_SOUND_SMALL = 1,  // effect 106
    BLAST_SOUND_LARGE = 2,  // effect 102
    BLAST_SOUND_BOTH = 3,   // effects 101 and 102
};

// Start values from InitObjectPools; each spawn takes the next slot of its ring.
extern Explosion g_explosions[EXPLOSION_COUNT];
extern Explosion g_debris[DEBRIS_COUNT];
extern int g_explosionNext;
extern int g_debrisNext;

// The boss blast, started by StartBossBlast; reset by ResetGame.
extern int g_bossBlastActive;
extern int g_bossBlastTick;
inline constexpr int BOSS_BLAST_LAST_TICK = 52;

// Called by the collision pass and the boss blast. Each always takes the next slot of its ring.
void SpawnExplosion(int x, int y, int vx, int vy, BlastSound sound);
void SpawnDebris(int x, int y, int vx, int vy);
// Eight explosions and eight debris flying apart from (x, y): the kill of a large target.
void SpawnBurst(int x, int y);
// Called by the collision pass when a boss dies or runs out of time: the ship turns invulnerable
// and the 53-frame blast starts at (x, y).
void StartBossBlast(int x, int y);

// ---- score and chain; reset by ResetGame
inline constexpr int CHAIN_WINDOW = 32;
extern int g_chainWindow;     // frames a chain kill gives the chain
extern int g_chainDecayTick;  // second round: the slow decay's frame counter
// The collision pass's picture counters, advanced once per frame after the targets that use them.
extern int g_bossPartAnimA;  // third boss's core: 0..120, step 40
extern int g_bossPartAnimB;  // second boss's parts: 0..104, step 26
extern int g_midBossAnimX;   // recurring mid-boss: 0..192, step 96
extern int g_bossPartAnimC;  // first boss's and second mid-boss's parts: 0..144, step 36
// Adds to the score with the wrap of a 32-bit register (the display clamps it later).
void AddScore(int32_t value);

// ---- items; parked at y 240 at reset, after collection and after falling out
struct ItemPosition {
    int32_t x, y;
};
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field ITEM_POSITION_FIELDS[] = {
    FIELD(ItemPosition, x, I32),
    FIELD(ItemPosition, y, I32),
};
inline constexpr RecordFields ITEM_POSITION_RECORD = RECORD_FIELDS(ItemPosition, ITEM_POSITION_FIELDS, RECORD_OBJECT);
inline constexpr int ITEM_PARKED_Y = 240;
inline constexpr int ITEM_SIZE = 16;
inline constexpr int32_t EXTEND_STEP = 50000000;
extern ItemPosition g_bombItem;
extern ItemPosition g_shieldItem;
extern ItemPosition g_lifeItem;
extern int g_extendCount;  // the next extra life comes at EXTEND_STEP x this; 1 at reset

// Called by the collision pass when a carrier dies: the item starts falling from (x, y),
// replacing one still on the field.
void DropBombItem(int x, int y);
void DropShieldItem(int x, int y);
void DropLifeItem(int x, int y);

// ---- continue screen and game over; reset by ResetGame
struct GameOverPanel {
    int32_t x, y, width, height, state;  // state 0 hidden, 1 sliding, 2 resting
};
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field GAME_OVER_PANEL_FIELDS[] = {
    BOX_FIELDS(GameOverPanel),
    FIELD(GameOverPanel, state, I32),
};
inline constexpr RecordFields GAME_OVER_PANEL_RECORD = RECORD_FIELDS(GameOverPanel, GAME_OVER_PANEL_FIELDS, RECORD_OBJECT);
extern GameOverPanel g_gameOverPanels[2];
extern int g_gameOverHold;
extern int g_continuePanelsIn;
extern int g_continueCount;
extern int g_continueTick;
extern int g_continuePanelX[2];
extern int g_continuePanelY[2];
// The continue panels at their start, just off the field's sides. Called as the continue screen
// opens and by ResetCombatSide.
void PlaceContinuePanels();
// Called by the continue screen when the bomb control is held: a fresh stock and a score of 0.
void ContinueGame();
// A lost life and a continue both start over with a full shield, two bombs, score level 1 and no
// chain, the ships away for respawnDelay frames. Called by HitPlayer and ContinueGame.
void RestockPlayer(int respawnDelay);
// The ship's way back after a lost life or a continue: down, at its start point.
void SendShipToStart(int ship);

// ---- ending; reset by ResetGame
inline constexpr int ENDING_PICTURES = 6;
extern int g_endingTick;
extern int g_endingSlotActive[ENDING_PICTURES];
extern int g_endingX[ENDING_PICTURES];
extern int g_endingY[ENDING_PICTURES];
extern int g_endingHold;

// ---- stage caption picture; InitObjectPools places it
struct MessagePicture {
    int32_t x, y, width, height;
};
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field MESSAGE_PICTURE_FIELDS[] = {
    BOX_FIELDS(MessagePicture),
};
inline constexpr RecordFields MESSAGE_PICTURE_RECORD = RECORD_FIELDS(MessagePicture, MESSAGE_PICTURE_FIELDS, RECORD_OBJECT);
extern MessagePicture g_messagePicture;

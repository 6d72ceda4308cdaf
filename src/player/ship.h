// The ship side's own details: the selection screen, the volley spawners, the bomb units'
// volleys, the star field and the counters of the displays. What the rest of the game shares
// lives in player.h.
#pragma once

#include <cstdint>

#include "core/record_fields.h"
#include "player/player.h"

// ---- ship selection; reset by ResetGame (panels and cursor by InitObjectPools)
struct SelectPanel {
    int32_t x, y, width, height;
};
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field SELECT_PANEL_FIELDS[] = {
    BOX_FIELDS(SelectPanel),
};
inline constexpr RecordFields SELECT_PANEL_RECORD = RECORD_FIELDS(SelectPanel, SELECT_PANEL_FIELDS, RECORD_OBJECT);

inline constexpr int SELECT_CURSOR_A = 64;   // the cursor stands on ship A
inline constexpr int SELECT_CURSOR_B = 112;  // the cursor stands on ship B
inline constexpr int SELECT_CURSOR_Y = 180;

extern int g_shipSelectReady;      // 1 once the panels have slid in
extern int g_shipSelectCountdown;  // 9..0, then -1 confirms the ship under the cursor
extern int g_shipSelectTick;       // frames of the current countdown step
extern int g_selectCursorX;
extern int g_shipChosen;         // 1 once ConfirmShip has run
extern int g_selectMove;         // 1 gliding right, 2 gliding left
extern int g_selectCursorBlink;  // 1..6; the cursor shows on 2 frames of 6
extern SelectPanel g_selectPanels[2];

// Called by UpdateShipSelect when a ship is chosen: the other ship off, the shot sizes, the music.
void ConfirmShip();

// ---- volleys; called by UpdatePlayerShots and the unit-shot updates only
void HandleFireInput();
void SpawnVolley();
void SpawnUnitVolleyA();
void SpawnUnitVolleyB();

// ---- score level display counters; reset by ResetGame
extern int g_scoreLevelBlink;  // 0..20, the level is shown while below 10
extern int g_scoreBadgeAnim;   // 0, 10, .. 40: the level-16 badge's animation row

// ---- star field and aim jitter; stars from InitObjectPools, the tick reset by ResetGame
struct Star {
    int32_t x, y, width, height;
};
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field STAR_FIELDS[] = {
    BOX_FIELDS(Star),
};
inline constexpr RecordFields STAR_RECORD = RECORD_FIELDS(Star, STAR_FIELDS, RECORD_OBJECT);

inline constexpr int STAR_COUNT = 60;
extern Star g_stars[STAR_COUNT];
extern int g_aimJitterTick;  // 0..9, the step of the jitter table

// ---- the star field's random generator: its state, 1 at program start and never reset
extern uint32_t g_randomSeed;
// The next value, 0..32767, of the original runtime's rand(); the stars' only source.
int NextRandom();

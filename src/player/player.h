// The player's side: the ships, shots and bomb, collisions and score, items, explosions, the
// displays, the continue screen, game over and the ending, the stars and the aim jitter.
// This header holds what the rest of the game shares; each family keeps its own details in its
// own header (ship.h, combat.h).
#pragma once

#include <cstdint>

#include "core/record_fields.h"

// A ship's state.
enum ShipState : int32_t { SHIP_STATE_DOWN = 0, SHIP_STATE_NORMAL = 1, SHIP_STATE_INVULNERABLE = 2 };

struct PlayerShip {
    int32_t x, y, width, height;
    int32_t frameX;  // source x of the animation frame on sheet B: 0, 24, 48, 72
    int32_t sheetY;  // source y of the ship's row on sheet B
    int32_t active;
    int32_t speed;
    int32_t state;
    int32_t lives;
};
// Its fields, in order, for the state dump (a new field is one more line here).
// clang-format off
inline constexpr Field PLAYER_SHIP_FIELDS[] = {
    BOX_FIELDS(PlayerShip),
    FIELD(PlayerShip, frameX, I32),
    FIELD(PlayerShip, sheetY, I32),
    FIELD(PlayerShip, active, I32),
    FIELD(PlayerShip, speed, I32),
    FIELD(PlayerShip, state, I32),
    FIELD(PlayerShip, lives, I32),
};
// clang-format on
inline constexpr RecordFields PLAYER_SHIP_RECORD = RECORD_FIELDS(PlayerShip, PLAYER_SHIP_FIELDS, RECORD_OBJECT);

// Ship A at 0, ship B at 1; start values from InitObjectPools.
extern PlayerShip g_ships[2];

// The ship is hit (and aimed at) through one pixel: ship A's at (11, 15), ship B's at (11, 8) of
// its 24 x 24 picture. Used by the collision pass, the enemy bullets and the aimed shots.
inline int32_t ShipHitX(int ship) { return g_ships[ship].x + 11; }
inline int32_t ShipHitY(int ship) { return g_ships[ship].y + (ship == 0 ? 15 : 8); }

// Player shots, bomb-unit shots and the bomb's escort craft share one record: a box on the field
// and whether it is in use.
struct PlayerShot {
    int32_t x, y, width, height, alive;
};
using BombUnit = PlayerShot;
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field PLAYER_SHOT_FIELDS[] = {
    BOX_FIELDS(PlayerShot),
    FIELD(PlayerShot, alive, I32),
};
inline constexpr RecordFields PLAYER_SHOT_RECORD = RECORD_FIELDS(PlayerShot, PLAYER_SHOT_FIELDS, RECORD_OBJECT);

inline constexpr int PLAYER_SHOT_COUNT = 40;  // four groups of ten
inline constexpr int BOMB_UNIT_COUNT_A = 5;
inline constexpr int BOMB_UNIT_COUNT_B = 10;
inline constexpr int UNIT_SHOT_COUNT_A = 50;   // ten per ship A unit
inline constexpr int UNIT_SHOT_COUNT_B = 100;  // ten per ship B unit
inline constexpr int MAX_SCORE_LEVEL = 16;
inline constexpr int32_t MAX_SCORE = 999999990;

// The bomb's phases (g_bombPhase) and the player's after a lost life (g_playerPhase).
enum BombPhase : int32_t { BOMB_PHASE_NONE = 0, BOMB_PHASE_RISING = 1, BOMB_PHASE_FIRING = 2, BOMB_PHASE_LEAVING = 3 };
enum PlayerPhase : int32_t {
    PLAYER_PHASE_NORMAL = 0,
    PLAYER_PHASE_RESPAWN = 1,
    PLAYER_PHASE_INVULNERABLE = 2,
    PLAYER_PHASE_OUT = 3
};

// ---- shot pools; start values from InitObjectPools, shot sizes set by ConfirmShip
extern PlayerShot g_playerShots[PLAYER_SHOT_COUNT];
extern BombUnit g_bombUnitsA[BOMB_UNIT_COUNT_A];
extern BombUnit g_bombUnitsB[BOMB_UNIT_COUNT_B];
extern PlayerShot g_unitShotsA[UNIT_SHOT_COUNT_A];
extern PlayerShot g_unitShotsB[UNIT_SHOT_COUNT_B];
extern int g_fireInterval;      // frames between volleys (3)
extern int g_fireCounter;       // frames since the last volley
extern int g_unitFireCounterA;  // the same for the bomb units' volleys
extern int g_unitFireCounterB;

// ---- a lost life sets these (with g_playerPhase 1); the ship update counts them down
extern int g_respawnDelay;  // frames left before the ship returns
extern int g_invulnTimer;   // frames left of invulnerability

// The floating score number after a bonus; reset by ResetGame.
struct ScorePopup {
    int32_t x, y, value, active, age;
};
// Its fields, in order, for the state dump (a new field is one more line here).
// clang-format off
inline constexpr Field SCORE_POPUP_FIELDS[] = {
    FIELD(ScorePopup, x, I32),
    FIELD(ScorePopup, y, I32),
    FIELD(ScorePopup, value, I32),
    FIELD(ScorePopup, active, I32),
    FIELD(ScorePopup, age, I32),
};
// clang-format on
inline constexpr RecordFields SCORE_POPUP_RECORD = RECORD_FIELDS(ScorePopup, SCORE_POPUP_FIELDS, RECORD_OBJECT);
extern ScorePopup g_scorePopup;

// ---- play flags; reset by ResetGame
extern int g_playing;
extern int g_playerPhase;
extern int g_shipSelectActive;
extern int g_idleSpeedBonus;
extern int g_fireArmed;
extern int g_continueActive;
extern int g_continued;
extern int g_bombPhase;

// ---- score state; reset by ResetGame except the displayed high score
extern int32_t g_score;
extern int32_t g_hiScore;
extern int g_scoreLevel;
extern int g_scorePerLevel;
extern int g_chain;
extern int g_chainTimer;
extern int g_shield;
extern int g_bombs;

// ---- aim jitter: the angle offset added to aimed enemy shots; reset by ResetGame
extern float g_aimJitter;
extern int g_aimJitterWide;  // 1: the wide table (set by the stage timeline)

// ---- the frame loop's pace in milliseconds: DrawBulletCountAndTimer slows the game down while
// many enemy bullets fly; ResetGame sets 28
extern int g_frameInterval;

// ---- the end of a game: the game-over panels and the ending hand back to the splash screen
// through the application shell's reset (ResetGame), which defines this
extern void (*g_endGame)();

// ---- resets, called by ResetGame and InitObjectPools
void ResetShipSide();    // the ship, selection, shots, bomb, score level, pop-up, jitter values
void ResetCombatSide();  // score, chain, shield, items, blast, continue, ending, messages values
void InitGameOverPanels();
void InitSelectionPools();  // selection panels and cursor
void InitStars();           // draws from the unseeded random generator, star by star, x then y
void InitShips();
void InitShotPools();  // player shots, bomb units and their shots
void InitMessagePicture();
void InitExplosionPools();  // explosions and debris

// ---- the in-game frame's steps (each returns false when drawing failed: the display was lost and
// could not be restored; the step stops where it was and the frame is abandoned)
void UpdateAimJitter();
[[nodiscard]] bool UpdateStars();
[[nodiscard]] bool UpdateShipSelect();
[[nodiscard]] bool ResolveCollisions();
[[nodiscard]] bool UpdateExplosions();
[[nodiscard]] bool UpdateDebris();
[[nodiscard]] bool UpdatePlayerShips();
[[nodiscard]] bool UpdatePlayerShots();
[[nodiscard]] bool UpdateBomb();
[[nodiscard]] bool UpdateUnitShotsA();
[[nodiscard]] bool UpdateUnitShotsB();
void UpdateBossBlast(int x, int y);
[[nodiscard]] bool DrawMessageImage();
[[nodiscard]] bool DrawStoryText();
[[nodiscard]] bool DrawLives();
[[nodiscard]] bool DrawScoreLevel();
[[nodiscard]] bool UpdateItemsAndGauges();
[[nodiscard]] bool UpdateChain();
[[nodiscard]] bool DrawScorePopup();
[[nodiscard]] bool UpdateEnding();
[[nodiscard]] bool UpdateContinueScreen();
[[nodiscard]] bool UpdateGameOver();
[[nodiscard]] bool DrawBulletCountAndTimer();
[[nodiscard]] bool DrawScores(int mode);  // mode 0 the title's form, 1 the play form

// Called by the collision pass after a boss bonus: a number rising 20 pixels over 20 frames.
void ShowScorePopup(int x, int y, int value);
// A count shown on screen (ship selection, continue, boss time limit): one step down every
// framesPerCount frames until it is below 0; tick counts the frames of the current step.
void StepCountdown(int& count, int& tick, int framesPerCount);
// Called by the ship update when the last life is gone: opens the continue screen.
void StartContinueScreen();

// One hit on the ship (shield, then a life). Called by the enemy bullets and the collision pass.
void HitPlayer();

// ---- stage caption, end-of-round story and ending switches; set by the stage timeline,
// reset by ResetGame
extern int g_messageVisible;
extern int g_messageRowY;
extern int g_storyActive;
extern int g_storyLines;
extern int g_endingActive;
// The stage caption n (1..5; rows move down by four in the second round) and its removal.
// Called by the stage timeline.
void ShowMessageImage(int n);
void HideMessageImage();

// The boss blast's position (read by the in-game frame).
extern int g_bossBlastX;
extern int g_bossBlastY;

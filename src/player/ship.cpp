// The two ships: the selection screen that opens every game (two panels slide in, a countdown
// runs, a blinking cursor glides between the ships and the shot control or the end of the
// countdown confirms the ship under it), and the chosen ship in flight: movement and its clamps,
// the phases after a lost life (respawn delay, invulnerability, out of lives), drawing and the
// four-frame animation. Every control read here goes through IsControlPressed, which records it
// in live play and reads the recording in a watched replay, so the choice of ship replays too.
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/player.h"
#include "player/ship.h"
#include "sound/sound.h"
#include "video/display.h"

// Selection screen state; reset by ResetGame, panels and cursor by InitObjectPools.
int g_shipSelectReady = 0;
int g_shipSelectCountdown = 9;
int g_shipSelectTick = 0;
int g_selectCursorX = SELECT_CURSOR_A;
int g_shipChosen = 0;
int g_selectMove = 0;
int g_selectCursorBlink = 0;
SelectPanel g_selectPanels[2] = {{-96, 40, 96, 24}, {200, 40, 96, 24}};

namespace {

inline constexpr int SELECT_PANEL_STEP = 5;  // pixels per frame while the panels slide in
inline constexpr int SELECT_GLIDE_STEP = 4;  // pixels per frame of the cursor: 12 frames per ship
inline constexpr int SELECT_FRAMES_PER_COUNT = 30;
inline constexpr int RESPAWN_INVULN_FRAMES = 120;
inline constexpr int SHIP_TOP = 20;  // the top row is left to the score display
inline constexpr int SHIP_RIGHT = FIELD_WIDTH - 24;
inline constexpr int SHIP_BOTTOM = FIELD_HEIGHT - 24;

void ChooseShipUnderCursor() {
    if (g_shipChosen == 0) ConfirmShip();
    g_shipChosen = 1;
}

// The cursor reacts only while it stands exactly on a ship. Both the shot control and the
// direction are read (and so recorded) in the same frame; the end of the countdown confirms
// without reading anything.
void ReadSelectInput() {
    Control glideControl;
    int glideMove;
    if (g_selectCursorX == SELECT_CURSOR_A) {
        glideControl = CONTROL_RIGHT;
        glideMove = 1;
    } else if (g_selectCursorX == SELECT_CURSOR_B) {
        glideControl = CONTROL_LEFT;
        glideMove = 2;
    } else {
        return;
    }
    if (g_shipSelectCountdown < 0) {
        ChooseShipUnderCursor();
        return;
    }
    if (IsControlPressed(CONTROL_SHOT)) ChooseShipUnderCursor();
    if (IsControlPressed(glideControl)) g_selectMove = glideMove;
}

bool DrawSelectPanels() {
    const SelectPanel& p0 = g_selectPanels[0];
    const SelectPanel& p1 = g_selectPanels[1];
    if (!DrawRegionPart(atlas::Get("selectPanel0"), p0.x, p0.y, p0.width, p0.height)) return false;
    return DrawRegionPart(atlas::Get("selectPanel1"), p1.x, p1.y, p1.width, p1.height);
}

void MoveShip(PlayerShip& ship) {
    if (ship.state != SHIP_STATE_DOWN && g_fireArmed == 1) {
        // Opposite directions both apply and cancel; every pressed direction is recorded.
        const int step = ship.speed + g_idleSpeedBonus;
        if (IsControlPressed(CONTROL_UP)) ship.y -= step;
        if (IsControlPressed(CONTROL_DOWN)) ship.y += step;
        if (IsControlPressed(CONTROL_LEFT)) ship.x -= step;
        if (IsControlPressed(CONTROL_RIGHT)) ship.x += step;
    }
    if (ship.x < 0) ship.x = 0;
    if (ship.y < SHIP_TOP) ship.y = SHIP_TOP;
    if (ship.x > SHIP_RIGHT) ship.x = SHIP_RIGHT;
    if (ship.y > SHIP_BOTTOM) ship.y = SHIP_BOTTOM;
}

// The respawn delay and the invulnerability never both count in one frame, so the ship shows
// its invulnerable picture for exactly 120 frames after the delay.
void StepLostLifePhases(PlayerShip& ship) {
    if (g_playerPhase == PLAYER_PHASE_RESPAWN) {
        if (g_respawnDelay > 0) --g_respawnDelay;
        if (g_respawnDelay == 0) {
            if (ship.lives != 0) {
                g_invulnTimer = RESPAWN_INVULN_FRAMES;
                ship.state = SHIP_STATE_INVULNERABLE;
                g_playerPhase = PLAYER_PHASE_INVULNERABLE;
            } else {
                StartContinueScreen();
                g_playerPhase = PLAYER_PHASE_OUT;
            }
        }
    } else if (g_playerPhase == PLAYER_PHASE_INVULNERABLE) {
        if (g_invulnTimer > 0) --g_invulnTimer;
        if (g_invulnTimer == 0) {
            ship.state = SHIP_STATE_NORMAL;
            g_playerPhase = PLAYER_PHASE_NORMAL;
        }
    }
}

// The ships' four rows lie one under the other from shipA's corner; the record keeps its own
// row's top (sheetY) and its animation frame in pixels (frameX).
bool DrawShip(const PlayerShip& ship) {
    constexpr const atlas::Region& ROWS = atlas::Get("shipA");
    constexpr int INVULNERABLE_ROW = atlas::Get("shipAInvulnerable").y - ROWS.y;
    int sourceY;
    if (ship.state == SHIP_STATE_NORMAL) {
        sourceY = ship.sheetY;
    } else if (ship.state == SHIP_STATE_INVULNERABLE) {
        sourceY = ship.sheetY + INVULNERABLE_ROW;
    } else {
        return true;
    }
    return DrawRegionPart(ROWS, ship.x, ship.y, ship.width, ship.height, ship.frameX, sourceY - ROWS.y);
}

}  // namespace

void StepCountdown(int& count, int& tick, int framesPerCount) {
    if (count < 0) return;
    if (tick == framesPerCount) {
        tick = 0;
        --count;
    }
    ++tick;
}

void ResetShipSide() {
    g_playing = 0;
    g_playerPhase = PLAYER_PHASE_NORMAL;
    g_respawnDelay = 0;
    g_invulnTimer = 0;
    g_idleSpeedBonus = 0;
    g_shipSelectActive = 0;
    g_shipSelectReady = 0;
    g_shipSelectCountdown = 9;
    g_shipSelectTick = 0;
    g_shipChosen = 0;
    g_selectMove = 0;
    g_selectCursorBlink = 0;
    g_scoreLevel = 1;
    g_scorePerLevel = 120;
    g_fireArmed = 0;
    g_scoreLevelBlink = 0;
    g_scoreBadgeAnim = 0;
    g_bombs = 2;
    g_bombPhase = BOMB_PHASE_NONE;
    g_scorePopup = ScorePopup{0, 0, 0, 0, 0};
    g_aimJitter = 0.0f;
    g_aimJitterTick = 0;
    g_aimJitterWide = 0;
}

void InitSelectionPools() {
    g_selectPanels[0] = SelectPanel{-96, 40, 96, 24};
    g_selectPanels[1] = SelectPanel{200, 40, 96, 24};
    g_selectCursorX = SELECT_CURSOR_A;
}

void InitShips() {
    g_ships[0] = PlayerShip{64, 180, 24, 24, 0, atlas::Get("shipA").y, 0, 3, SHIP_STATE_NORMAL, 3};
    g_ships[1] = PlayerShip{112, 180, 24, 24, 0, atlas::Get("shipB").y, 0, 2, SHIP_STATE_NORMAL, 3};
}

bool UpdateShipSelect() {
    if (g_shipSelectActive != 1) return true;
    if (g_shipSelectReady == 1) {
        if (!DrawRegion(atlas::Get("timerLabel"), 84, 80)) return false;
        StepCountdown(g_shipSelectCountdown, g_shipSelectTick, SELECT_FRAMES_PER_COUNT);
        if (g_shipSelectCountdown >= 0 && !DrawNumber(96, 90, g_shipSelectCountdown)) return false;
        ReadSelectInput();
        if (g_selectMove == 1 && g_selectCursorX < SELECT_CURSOR_B) g_selectCursorX += SELECT_GLIDE_STEP;
        if (g_selectMove == 2 && g_selectCursorX >= SELECT_CURSOR_A + 1) g_selectCursorX -= SELECT_GLIDE_STEP;
        if (g_selectCursorBlink < 3 && !DrawRegion(atlas::Get("selectCursor"), g_selectCursorX, SELECT_CURSOR_Y)) {
            return false;
        }
        if (g_selectCursorBlink == 6) g_selectCursorBlink = 0;
        ++g_selectCursorBlink;
    }
    // The panels slide in; the frame in which they arrive already makes the screen ready.
    if (g_selectPanels[0].x < 0) {
        g_selectPanels[0].x += SELECT_PANEL_STEP;
        g_selectPanels[1].x -= SELECT_PANEL_STEP;
    }
    if (g_selectPanels[0].x >= 0) g_shipSelectReady = 1;
    return DrawSelectPanels();
}

void ConfirmShip() {
    g_shipSelectReady = 0;
    g_playing = 1;
    g_shipSelectActive = 0;
    PlaySoundEffect(SoundEffect::Bomb);
    // Per ship: where the cursor stands on it and the size of its shots.
    constexpr int CURSOR[2] = {SELECT_CURSOR_A, SELECT_CURSOR_B};
    constexpr int SHOT_WIDTH[2] = {3, 8};
    constexpr int SHOT_HEIGHT[2] = {24, 16};
    for (int chosen = 0; chosen < 2; ++chosen) {
        if (g_selectCursorX != CURSOR[chosen]) continue;
        g_ships[1 - chosen].active = 0;
        g_ships[1 - chosen].state = SHIP_STATE_DOWN;
        for (PlayerShot& s : g_playerShots) {
            s.width = SHOT_WIDTH[chosen];
            s.height = SHOT_HEIGHT[chosen];
        }
    }
    PlayMusic("open bgm01.mid alias BGM wait");
}

bool UpdatePlayerShips() {
    for (PlayerShip& ship : g_ships) {
        if (ship.active != 1) continue;
        if (g_playing == 1) MoveShip(ship);
        // While the ship is away or invulnerable, no enemy bullet survives a frame.
        if (g_playerPhase == PLAYER_PHASE_RESPAWN || g_playerPhase == PLAYER_PHASE_INVULNERABLE) {
            ClearEnemyBullets();
        }
        StepLostLifePhases(ship);
        if (!DrawShip(ship)) return false;
        ship.frameX += 24;
        if (ship.frameX == 96) ship.frameX = 0;
    }
    return true;
}

// The bomb: a squadron of escort units called in from the bottom of the field. Ship A's five
// units rise to a row just above the ship and follow it; ship B's ten spread over the whole
// width and drift upward by themselves. While they rise and fire the ship is invulnerable (and
// the ship update wipes every enemy bullet each frame); when the invulnerability ends the chain
// is cleared and the units leave at the top. The phases run one after another within a frame:
// a phase entered in a frame is already carried out in that frame.
#include "input/input.h"
#include "player/player.h"
#include "player/ship.h"
#include "sound/sound.h"
#include "video/display.h"

namespace {

inline constexpr int BOMB_INVULN_FRAMES = 120;
inline constexpr int BOMB_LEVEL_COST = 3;
inline constexpr int UNIT_ROW_ABOVE_SHIP = 25;  // ship A's units fly this far above the ship's top
inline constexpr int UNIT_START_Y = 240;
inline constexpr int UNIT_B_FIRING_Y = 224;
inline constexpr int UNIT_RISE_A = 8;
inline constexpr int UNIT_LEAVE = 8;
inline constexpr int UNIT_SHOT_GROUP = 10;

// Ship A's row: unit 2 at the ship's x + 4, the others 18 pixels apart on either side.
int FormationX(int unit) { return g_ships[0].x + 4 + (unit - 2) * 18; }

void TriggerBomb(int ship) {
    PlayerShip& p = g_ships[ship];
    g_scoreLevel -= BOMB_LEVEL_COST;
    if (g_scoreLevel < 1) g_scoreLevel = 1;
    --g_bombs;
    g_bombPhase = BOMB_PHASE_RISING;
    g_playerPhase = PLAYER_PHASE_INVULNERABLE;
    g_invulnTimer = BOMB_INVULN_FRAMES;
    p.state = SHIP_STATE_INVULNERABLE;
    g_fieldClearColour = 251;  // one frame of flash
    PlaySoundEffect(SoundEffect::Bomb);
    if (ship == 0) {
        for (int k = 0; k < BOMB_UNIT_COUNT_A; ++k) {
            g_bombUnitsA[k].alive = 1;
            g_bombUnitsA[k].y = UNIT_START_Y;
            g_bombUnitsA[k].x = FormationX(k);
        }
    } else {
        for (int k = 0; k < BOMB_UNIT_COUNT_B; ++k) {
            g_bombUnitsB[k].alive = 1;
            g_bombUnitsB[k].x = 2 + 20 * k;
            g_bombUnitsB[k].y = UNIT_START_Y;
        }
    }
}

void RiseUnits(bool shipA) {
    if (shipA) {
        const int rowY = g_ships[0].y - UNIT_ROW_ABOVE_SHIP;
        for (int k = 0; k < BOMB_UNIT_COUNT_A; ++k) {
            BombUnit& u = g_bombUnitsA[k];
            if (u.y > rowY) {
                u.x = FormationX(k);
                u.y -= UNIT_RISE_A;
            }
            if (u.y <= rowY) g_bombPhase = BOMB_PHASE_FIRING;
        }
    } else {
        for (BombUnit& u : g_bombUnitsB) {
            if (u.y > UNIT_B_FIRING_Y) u.y -= 1;
            if (u.y <= UNIT_B_FIRING_Y) g_bombPhase = BOMB_PHASE_FIRING;
        }
    }
}

void HoldUnitsFiring(bool shipA, const PlayerShip& ship) {
    if (shipA) {
        for (int k = 0; k < BOMB_UNIT_COUNT_A; ++k) {
            g_bombUnitsA[k].y = ship.y - UNIT_ROW_ABOVE_SHIP;
            g_bombUnitsA[k].x = FormationX(k);
        }
    } else {
        for (BombUnit& u : g_bombUnitsB) u.y -= 1;
    }
    // The chain ends when the units start to leave, not when the bomb starts.
    if (ship.state == SHIP_STATE_NORMAL) {
        g_chain = 0;
        g_bombPhase = BOMB_PHASE_LEAVING;
    }
}

void LeaveUnits(BombUnit* units, int count) {
    for (int k = 0; k < count; ++k) {
        BombUnit& u = units[k];
        if (u.alive != 1) continue;
        u.y -= UNIT_LEAVE;
        if (u.y < -16) {
            u.alive = 0;
            g_bombPhase = BOMB_PHASE_NONE;
        }
    }
}

bool DrawUnits(const BombUnit* units, int count, const atlas::Region& sprite) {
    for (int k = 0; k < count; ++k) {
        const BombUnit& u = units[k];
        if (u.alive != 1) continue;
        if (!DrawRegion(sprite, u.x, u.y)) return false;
    }
    return true;
}

// One volley from every unit: the first free slot of each unit's ten takes a shot.
void SpawnUnitVolley(int* counter, PlayerShot* shots, const BombUnit* units, int unitCount, int dx, int dy) {
    ++*counter;
    g_idleSpeedBonus = 0;
    if (*counter < 3) return;
    *counter = 0;
    for (int k = 0; k < unitCount; ++k) {
        for (int slot = k * UNIT_SHOT_GROUP; slot < (k + 1) * UNIT_SHOT_GROUP; ++slot) {
            PlayerShot& s = shots[slot];
            if (s.alive != 0) continue;
            s.alive = 1;
            s.x = units[k].x + dx;
            s.y = units[k].y + dy;
            if (k == 0) PlaySoundEffect(SoundEffect::ShotVolley);
            break;
        }
    }
}

bool MoveAndDrawUnitShots(PlayerShot* shots, int count, int rise, const atlas::Region& sprite) {
    for (int i = 0; i < count; ++i) {
        PlayerShot& s = shots[i];
        if (s.alive != 1) continue;
        if (!DrawRegionPart(sprite, s.x, s.y, s.width, s.height)) return false;
        s.y -= rise;
        if (s.y < -48 || s.x < -48 || s.x > FIELD_WIDTH) {
            s.x = -50;
            s.y = 500;
            s.alive = 0;
        }
    }
    return true;
}

}  // namespace

bool UpdateBomb() {
    // The control is only read (and recorded) while a bomb could be triggered.
    if (g_bombs > 0 && g_bombPhase == BOMB_PHASE_NONE && IsControlPressed(CONTROL_BOMB)) {
        for (int ship = 0; ship < 2; ++ship) {
            const PlayerShip& p = g_ships[ship];
            if (p.active == 1 && (p.state == SHIP_STATE_NORMAL || p.state == SHIP_STATE_INVULNERABLE)) {
                TriggerBomb(ship);
            }
        }
    }
    const bool shipA = g_ships[0].active == 1;
    const PlayerShip& ship = g_ships[shipA ? 0 : 1];
    if (g_bombPhase == BOMB_PHASE_RISING) RiseUnits(shipA);
    if (g_bombPhase == BOMB_PHASE_FIRING) HoldUnitsFiring(shipA, ship);
    if (g_bombPhase == BOMB_PHASE_LEAVING) {
        if (shipA) {
            LeaveUnits(g_bombUnitsA, BOMB_UNIT_COUNT_A);
        } else {
            LeaveUnits(g_bombUnitsB, BOMB_UNIT_COUNT_B);
        }
    }
    if (!DrawUnits(g_bombUnitsA, BOMB_UNIT_COUNT_A, atlas::Get("unitA"))) return false;
    return DrawUnits(g_bombUnitsB, BOMB_UNIT_COUNT_B, atlas::Get("unitB"));
}

void SpawnUnitVolleyA() { SpawnUnitVolley(&g_unitFireCounterA, g_unitShotsA, g_bombUnitsA, BOMB_UNIT_COUNT_A, 7, -18); }

void SpawnUnitVolleyB() { SpawnUnitVolley(&g_unitFireCounterB, g_unitShotsB, g_bombUnitsB, BOMB_UNIT_COUNT_B, 4, -14); }

bool UpdateUnitShotsA() {
    if (g_ships[0].active != 1) return true;
    if (g_bombPhase == BOMB_PHASE_FIRING) {
        SpawnUnitVolleyA();
    } else {
        g_unitFireCounterA = 3;  // the first volley of the next bomb comes at once
    }
    return MoveAndDrawUnitShots(g_unitShotsA, UNIT_SHOT_COUNT_A, 14, atlas::Get("shotA"));
}

bool UpdateUnitShotsB() {
    if (g_ships[1].active != 1) return true;
    if (g_bombPhase == BOMB_PHASE_FIRING) {
        SpawnUnitVolleyB();
    } else {
        g_unitFireCounterB = 3;
    }
    return MoveAndDrawUnitShots(g_unitShotsB, UNIT_SHOT_COUNT_B, 12, atlas::Get("shotB"));
}

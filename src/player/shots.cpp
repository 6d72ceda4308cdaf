// The player's shots and the score level. While the shot control is held the ship fires a volley
// every third frame, one shot into each of four groups of ten slots (two straight, one slanting
// left, one slanting right); a fresh press fires at once. The score level multiplies what a hit
// earns; its display blinks below 16 and turns into an animated badge at 16, where the value of
// a level doubles.
#include "input/input.h"
#include "player/player.h"
#include "player/ship.h"
#include "sound/sound.h"
#include "video/display.h"

// Score level display counters; reset by ResetGame.
int g_scoreLevelBlink = 0;
int g_scoreBadgeAnim = 0;

namespace {

inline constexpr int SHOT_GROUP_SIZE = 10;
inline constexpr int SHOT_GROUPS = 4;

// One group's path and picture: the step per frame and the picture.
struct ShotPath {
    int dx, dy;
    const atlas::Region& picture;
};

// Slots 0-19 fly straight, 20-29 slant left, 30-39 slant right.
constexpr const atlas::Region& SHOT_A = atlas::Get("shotA");
constexpr const atlas::Region& SHOT_B = atlas::Get("shotB");
constexpr ShotPath SHIP_A_PATHS[SHOT_GROUPS] = {{0, -14, SHOT_A}, {0, -14, SHOT_A}, {-1, -14, SHOT_A}, {1, -14, SHOT_A}};
constexpr ShotPath SHIP_B_PATHS[SHOT_GROUPS] = {
    {0, -13, SHOT_B}, {0, -13, SHOT_B}, {-2, -12, atlas::Get("shotBLeft")}, {2, -12, atlas::Get("shotBRight")}};

// Start points of the four groups relative to the ship's top-left corner.
struct ShotOffset {
    int dx, dy;
};
constexpr ShotOffset SHIP_A_STARTS[SHOT_GROUPS] = {{8, -14}, {12, -14}, {3, -5}, {17, -5}};
constexpr ShotOffset SHIP_B_STARTS[SHOT_GROUPS] = {{0, -14}, {15, -14}, {0, -8}, {15, -8}};

void FreeShot(PlayerShot& s) {
    s.x = -50;
    s.y = 500;
    s.alive = 0;
}

bool ShotOffField(const PlayerShot& s) { return s.y < -48 || s.x < -48 || s.x > FIELD_WIDTH; }

// Draws the shot where it was, moves it one step, and frees it once it has left the field.
bool MoveAndDrawShot(PlayerShot& s, const ShotPath& path) {
    if (!DrawRegionPart(path.picture, s.x, s.y, s.width, s.height)) return false;
    s.x += path.dx;
    s.y += path.dy;
    if (ShotOffField(s)) FreeShot(s);
    return true;
}

}  // namespace

void InitShotPools() {
    for (PlayerShot& s : g_playerShots) s = PlayerShot{-50, 500, 0, 0, 0};
    g_fireInterval = 3;
    g_fireCounter = 2;
    for (BombUnit& u : g_bombUnitsA) u = BombUnit{0, 0, 16, 16, 0};
    for (PlayerShot& s : g_unitShotsA) s = PlayerShot{-50, 500, 3, 24, 0};
    g_unitFireCounterA = 3;
    for (PlayerShot& s : g_unitShotsB) s = PlayerShot{-50, 500, 8, 16, 0};
    g_unitFireCounterB = 3;
    for (BombUnit& u : g_bombUnitsB) u = BombUnit{0, 0, 16, 16, 0};
}

void SpawnVolley() {
    ++g_fireCounter;
    g_idleSpeedBonus = 0;  // firing costs the idle ship's extra pixel from the next frame on
    if (g_fireCounter < g_fireInterval) return;
    g_fireCounter = 0;
    for (int ship = 0; ship < 2; ++ship) {
        const PlayerShip& p = g_ships[ship];
        if (p.active != 1 || (p.state != SHIP_STATE_NORMAL && p.state != SHIP_STATE_INVULNERABLE)) continue;
        const ShotOffset* starts = ship == 0 ? SHIP_A_STARTS : SHIP_B_STARTS;
        for (int group = 0; group < SHOT_GROUPS; ++group) {
            // The first free slot of the group takes the shot; a full group gets none.
            for (int slot = group * SHOT_GROUP_SIZE; slot < (group + 1) * SHOT_GROUP_SIZE; ++slot) {
                PlayerShot& s = g_playerShots[slot];
                if (s.alive != 0) continue;
                s.alive = 1;
                s.x = p.x + starts[group].dx;
                s.y = p.y + starts[group].dy;
                if (group == 0) PlaySoundEffect(SoundEffect::ShotVolley);
                break;
            }
        }
    }
}

void HandleFireInput() {
    if (IsControlPressed(CONTROL_SHOT)) {
        SpawnVolley();
    } else {
        g_fireCounter = g_fireInterval - 1;  // so that the next press fires at once
    }
}

bool UpdatePlayerShots() {
    const bool shipA = g_ships[0].active == 1;
    if (g_fireArmed == 1) {
        // Ship A's units fly in the ship's own line of fire: it holds its shots while they rise
        // and fire. Ship B's units spread over the field and never block it.
        const bool unitsInTheWay = shipA && (g_bombPhase == BOMB_PHASE_RISING || g_bombPhase == BOMB_PHASE_FIRING);
        if (!unitsInTheWay) HandleFireInput();
    }
    const ShotPath* paths = shipA ? SHIP_A_PATHS : SHIP_B_PATHS;
    for (int slot = 0; slot < PLAYER_SHOT_COUNT; ++slot) {
        PlayerShot& s = g_playerShots[slot];
        if (s.alive != 1) continue;
        if (!MoveAndDrawShot(s, paths[slot / SHOT_GROUP_SIZE])) return false;
    }
    return true;
}

bool DrawScoreLevel() {
    if (g_scoreLevel < MAX_SCORE_LEVEL) {
        g_scorePerLevel = 120;
        ++g_scoreLevelBlink;
        if (g_scoreLevelBlink < 10) {
            if (!DrawRegion(atlas::Get("scoreLevelIcon"), 0, 36)) return false;
            if (!DrawNumber(16, 36, g_scoreLevel)) return false;
        }
        if (g_scoreLevelBlink == 20) g_scoreLevelBlink = 0;
        return true;
    }
    // A pick-up may have lifted the level past 16 since the last frame: the clamp is here.
    g_scoreLevel = MAX_SCORE_LEVEL;
    g_scorePerLevel = 240;
    const atlas::Region& badge = atlas::Get("scoreLevelBadge");
    if (!DrawRegionPart(badge, 0, 36, badge.w, badge.h, 0, g_scoreBadgeAnim)) return false;
    g_scoreBadgeAnim += 10;
    if (g_scoreBadgeAnim == 50) g_scoreBadgeAnim = 0;
    return true;
}

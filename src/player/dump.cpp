// The player side's section of the state dump.
#include "app/state_dump.h"
#include "player/combat.h"
#include "player/player.h"
#include "player/ship.h"

namespace {

// Shots and bomb units share one shape of record: x, y, width, height, alive.
template <typename Record>
void DumpShots(JsonWriter& w, const char* name, const Record* records, int count) {
    JsonBeginArray(w, name);
    for (int i = 0; i < count; ++i) {
        const Record& r = records[i];
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", r.x);
        JsonInt(w, "y", r.y);
        JsonInt(w, "width", r.width);
        JsonInt(w, "height", r.height);
        JsonInt(w, "alive", r.alive);
        JsonEndObject(w);
    }
    JsonEndArray(w);
}

}  // namespace

void DumpPlayerState(JsonWriter& w) {
    JsonBeginArray(w, "g_ships");
    for (const PlayerShip& s : g_ships) {
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", s.x);
        JsonInt(w, "y", s.y);
        JsonInt(w, "width", s.width);
        JsonInt(w, "height", s.height);
        JsonInt(w, "frameX", s.frameX);
        JsonInt(w, "sheetY", s.sheetY);
        JsonInt(w, "active", s.active);
        JsonInt(w, "speed", s.speed);
        JsonInt(w, "state", s.state);
        JsonInt(w, "lives", s.lives);
        JsonEndObject(w);
    }
    JsonEndArray(w);
    JsonInt(w, "g_playing", g_playing);
    JsonInt(w, "g_playerPhase", g_playerPhase);
    JsonInt(w, "g_shipSelectActive", g_shipSelectActive);
    JsonInt(w, "g_idleSpeedBonus", g_idleSpeedBonus);
    JsonInt(w, "g_fireArmed", g_fireArmed);
    JsonInt(w, "g_continueActive", g_continueActive);
    JsonInt(w, "g_continued", g_continued);
    JsonInt(w, "g_bombPhase", g_bombPhase);
    JsonInt(w, "g_score", g_score);
    JsonInt(w, "g_hiScore", g_hiScore);
    JsonInt(w, "g_scoreLevel", g_scoreLevel);
    JsonInt(w, "g_scorePerLevel", g_scorePerLevel);
    JsonInt(w, "g_chain", g_chain);
    JsonInt(w, "g_chainTimer", g_chainTimer);
    JsonInt(w, "g_shield", g_shield);
    JsonInt(w, "g_bombs", g_bombs);
    JsonFloat(w, "g_aimJitter", g_aimJitter);
    JsonInt(w, "g_aimJitterWide", g_aimJitterWide);
    JsonInt(w, "g_bossBlastX", g_bossBlastX);
    JsonInt(w, "g_bossBlastY", g_bossBlastY);
    JsonInt(w, "g_respawnDelay", g_respawnDelay);
    JsonInt(w, "g_invulnTimer", g_invulnTimer);
    JsonInt(w, "g_shipSelectReady", g_shipSelectReady);
    JsonInt(w, "g_shipSelectCountdown", g_shipSelectCountdown);
    JsonInt(w, "g_shipSelectTick", g_shipSelectTick);
    JsonInt(w, "g_selectCursorX", g_selectCursorX);
    JsonInt(w, "g_shipChosen", g_shipChosen);
    JsonInt(w, "g_selectMove", g_selectMove);
    JsonInt(w, "g_selectCursorBlink", g_selectCursorBlink);
    JsonBeginArray(w, "g_selectPanels");
    for (const SelectPanel& p : g_selectPanels) {
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", p.x);
        JsonInt(w, "y", p.y);
        JsonInt(w, "width", p.width);
        JsonInt(w, "height", p.height);
        JsonEndObject(w);
    }
    JsonEndArray(w);
    JsonInt(w, "g_fireInterval", g_fireInterval);
    JsonInt(w, "g_fireCounter", g_fireCounter);
    JsonInt(w, "g_unitFireCounterA", g_unitFireCounterA);
    JsonInt(w, "g_unitFireCounterB", g_unitFireCounterB);
    JsonInt(w, "g_scoreLevelBlink", g_scoreLevelBlink);
    JsonInt(w, "g_scoreBadgeAnim", g_scoreBadgeAnim);
    JsonInt(w, "g_aimJitterTick", g_aimJitterTick);
    JsonBeginObject(w, "g_scorePopup");
    JsonInt(w, "x", g_scorePopup.x);
    JsonInt(w, "y", g_scorePopup.y);
    JsonInt(w, "value", g_scorePopup.value);
    JsonInt(w, "active", g_scorePopup.active);
    JsonInt(w, "age", g_scorePopup.age);
    JsonEndObject(w);
    DumpShots(w, "g_playerShots", g_playerShots, PLAYER_SHOT_COUNT);
    DumpShots(w, "g_bombUnitsA", g_bombUnitsA, BOMB_UNIT_COUNT_A);
    DumpShots(w, "g_bombUnitsB", g_bombUnitsB, BOMB_UNIT_COUNT_B);
    DumpShots(w, "g_unitShotsA", g_unitShotsA, UNIT_SHOT_COUNT_A);
    DumpShots(w, "g_unitShotsB", g_unitShotsB, UNIT_SHOT_COUNT_B);
    JsonBeginArray(w, "g_stars");
    for (const Star& s : g_stars) {
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", s.x);
        JsonInt(w, "y", s.y);
        JsonInt(w, "width", s.width);
        JsonInt(w, "height", s.height);
        JsonEndObject(w);
    }
    JsonEndArray(w);
    JsonInt(w, "g_randomSeed", g_randomSeed);
    DumpCombatState(w);
}

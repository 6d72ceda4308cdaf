// The player side's section of the state dump.
#include "app/state_dump.h"
#include "player/player.h"

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
}

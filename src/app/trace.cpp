// The headless runner's per-tick trace line, written with the state dump's JSON writer.
#include <cstdio>
#include <string>

#include "app/game.h"
#include "app/json.h"
#include "app/trace.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/player.h"
#include "stage/stage.h"
#include "video/display.h"

unsigned long long FieldHash() {
    uint64_t hash = FNV_OFFSET_BASIS;
    if (!g_fieldSurface) return hash;
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(g_fieldSurface, &pitch);
    for (int y = 0; y < FIELD_HEIGHT; ++y) hash = HashBytes(hash, pixels + y * pitch, FIELD_WIDTH);
    return hash;
}

namespace {

// The live records of a pool as [index, x, y, hitPoints].
template <typename Record>
void WriteRecords(JsonWriter& w, const char* name, const Record* records, int count) {
    JsonBeginArray(w, name);
    for (int i = 0; i < count; ++i) {
        const Record& r = records[i];
        if (r.alive != 1) continue;
        JsonBeginArray(w, nullptr);
        for (long long value : {static_cast<long long>(i), static_cast<long long>(r.x), static_cast<long long>(r.y),
                                static_cast<long long>(r.hitPoints)}) {
            JsonInt(w, nullptr, value);
        }
        JsonEndArray(w);
    }
    JsonEndArray(w);
}

// Live bullets of both pools: [small count, large count, sum of x, sum of y] (positions truncated).
void WriteBulletSums(JsonWriter& w) {
    long long small = 0, large = 0, sumX = 0, sumY = 0;
    for (const EnemyBullet& b : g_smallBullets) {
        if (b.alive != 1) continue;
        ++small;
        sumX += static_cast<long long>(b.x);
        sumY += static_cast<long long>(b.y);
    }
    for (const EnemyBullet& b : g_largeBullets) {
        if (b.alive != 1) continue;
        ++large;
        sumX += static_cast<long long>(b.x);
        sumY += static_cast<long long>(b.y);
    }
    JsonBeginArray(w, "bullets");
    for (long long value : {small, large, sumX, sumY}) JsonInt(w, nullptr, value);
    JsonEndArray(w);
}

struct NamedBoss {
    const char* name;
    int32_t x, y, alive, hitPoints;
};

#define NAMED_BOSS(record) \
    NamedBoss { #record, record.x, record.y, record.alive, record.hitPoints }

void WriteHash(JsonWriter& w, const char* name, unsigned long long hash) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", hash);
    JsonString(w, name, text);
}

}  // namespace

void TraceLine(long tick, const std::vector<int>& sounds, const std::vector<std::string>& music, const DrawTrace& draws,
               std::string* line) {
    JsonWriter w;
    w.text.swap(*line);
    w.text.clear();
    w.text += '{';
    JsonInt(w, "tick", tick);
    JsonInt(w, "g_screenState", g_screenState);
    JsonInt(w, "g_stageFrame", g_stageFrame);
    JsonInt(w, "g_round", g_round);
    JsonInt(w, "g_score", g_score);
    JsonInt(w, "g_hiScore", g_hiScore);
    JsonInt(w, "g_chain", g_chain);
    JsonInt(w, "g_chainTimer", g_chainTimer);
    JsonInt(w, "g_shield", g_shield);
    JsonInt(w, "g_bombs", g_bombs);
    JsonInt(w, "g_scoreLevel", g_scoreLevel);
    JsonInt(w, "g_playerPhase", g_playerPhase);
    JsonInt(w, "g_playing", g_playing);
    JsonInt(w, "g_replayFrame", g_replayFrame);
    JsonInt(w, "g_enemyBulletCount", g_enemyBulletCount);
    JsonInt(w, "g_frameInterval", g_frameInterval);
    JsonInt(w, "g_bombPhase", g_bombPhase);
    JsonInt(w, "g_continueActive", g_continueActive);
    JsonBeginArray(w, "ships");
    for (const PlayerShip& s : g_ships) {
        JsonBeginArray(w, nullptr);
        for (int32_t value : {s.x, s.y, s.active, s.state, s.lives}) JsonInt(w, nullptr, value);
        JsonEndArray(w);
    }
    JsonEndArray(w);
    WriteRecords(w, "enemies", g_enemies, ENEMY_COUNT);
    WriteRecords(w, "large", g_largeEnemies, LARGE_ENEMY_COUNT);
    const NamedBoss bosses[] = {NAMED_BOSS(g_midBoss),  NAMED_BOSS(g_midBossEscort), NAMED_BOSS(g_midBossTwo),
                                NAMED_BOSS(g_bossOne),  NAMED_BOSS(g_bossTwo),       NAMED_BOSS(g_bossThree),
                                NAMED_BOSS(g_bossFour), NAMED_BOSS(g_bossFinal)};
    JsonBeginObject(w, "bosses");
    for (const NamedBoss& b : bosses) {
        JsonBeginArray(w, b.name);
        for (int32_t value : {b.x, b.y, b.alive, b.hitPoints}) JsonInt(w, nullptr, value);
        JsonEndArray(w);
    }
    JsonEndObject(w);
    WriteBulletSums(w);
    JsonBeginArray(w, "sounds");
    for (int id : sounds) JsonInt(w, nullptr, id);
    JsonEndArray(w);
    JsonBeginArray(w, "music");
    for (const std::string& command : music) JsonString(w, nullptr, command);
    JsonEndArray(w);
    WriteHash(w, "fieldHash", FieldHash());
    WriteHash(w, "draws", draws.hash);
    JsonInt(w, "drawCount", draws.count);
    w.text += '}';
    line->swap(w.text);
}

// The headless runner's per-tick trace line and its final state dump, both JSON.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "app/game.h"
#include "app/trace.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/player.h"
#include "stage/stage.h"
#include "video/display.h"

unsigned long long FieldHash() {
    uint64_t hash = 14695981039346656037ull;
    if (!g_fieldSurface) return hash;
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(g_fieldSurface, &pitch);
    for (int y = 0; y < FIELD_HEIGHT; ++y) {
        for (int x = 0; x < FIELD_WIDTH; ++x) {
            hash ^= pixels[y * pitch + x];
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

namespace {

void AppendInt(std::string& out, const char* name, long long value) {
    out += '"';
    out += name;
    out += "\":";
    out += std::to_string(value);
    out += ',';
}

template <typename Record>
void AppendRecords(std::string& out, const char* name, const Record* records, int count) {
    out += '"';
    out += name;
    out += "\":[";
    bool first = true;
    for (int i = 0; i < count; ++i) {
        const Record& r = records[i];
        if (r.alive != 1) continue;
        if (!first) out += ',';
        first = false;
        out += '[' + std::to_string(i) + ',' + std::to_string(r.x) + ',' + std::to_string(r.y) + ',' +
               std::to_string(r.hitPoints) + ']';
    }
    out += "],";
}

void AppendBulletSums(std::string& out) {
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
    out += "\"bullets\":[" + std::to_string(small) + ',' + std::to_string(large) + ',' + std::to_string(sumX) + ',' +
           std::to_string(sumY) + "],";
}

struct NamedBoss {
    const char* name;
    int32_t x, y, alive, hitPoints;
};

#define NAMED_BOSS(record) NamedBoss{#record, record.x, record.y, record.alive, record.hitPoints}

}  // namespace

std::string TraceLine(long tick, const std::vector<int>& sounds, const std::vector<std::string>& music) {
    std::string out = "{";
    AppendInt(out, "tick", tick);
    AppendInt(out, "g_screenState", g_screenState);
    AppendInt(out, "g_stageFrame", g_stageFrame);
    AppendInt(out, "g_round", g_round);
    AppendInt(out, "g_score", g_score);
    AppendInt(out, "g_hiScore", g_hiScore);
    AppendInt(out, "g_chain", g_chain);
    AppendInt(out, "g_chainTimer", g_chainTimer);
    AppendInt(out, "g_shield", g_shield);
    AppendInt(out, "g_bombs", g_bombs);
    AppendInt(out, "g_scoreLevel", g_scoreLevel);
    AppendInt(out, "g_playerPhase", g_playerPhase);
    AppendInt(out, "g_playing", g_playing);
    AppendInt(out, "g_replayFrame", g_replayFrame);
    AppendInt(out, "g_enemyBulletCount", g_enemyBulletCount);
    AppendInt(out, "g_frameInterval", g_frameInterval);
    AppendInt(out, "g_bombPhase", g_bombPhase);
    AppendInt(out, "g_continueActive", g_continueActive);
    out += "\"ships\":[";
    for (int i = 0; i < 2; ++i) {
        const PlayerShip& s = g_ships[i];
        if (i) out += ',';
        out += '[' + std::to_string(s.x) + ',' + std::to_string(s.y) + ',' + std::to_string(s.active) + ',' +
               std::to_string(s.state) + ',' + std::to_string(s.lives) + ']';
    }
    out += "],";
    AppendRecords(out, "enemies", g_enemies, ENEMY_COUNT);
    AppendRecords(out, "large", g_largeEnemies, LARGE_ENEMY_COUNT);
    const NamedBoss bosses[] = {NAMED_BOSS(g_midBoss), NAMED_BOSS(g_midBossEscort), NAMED_BOSS(g_midBossTwo),
                                NAMED_BOSS(g_bossOne), NAMED_BOSS(g_bossTwo),       NAMED_BOSS(g_bossThree),
                                NAMED_BOSS(g_bossFour), NAMED_BOSS(g_bossFinal)};
    out += "\"bosses\":{";
    bool first = true;
    for (const NamedBoss& b : bosses) {
        if (!first) out += ',';
        first = false;
        out += '"';
        out += b.name;
        out += "\":[" + std::to_string(b.x) + ',' + std::to_string(b.y) + ',' + std::to_string(b.alive) + ',' +
               std::to_string(b.hitPoints) + ']';
    }
    out += "},";
    AppendBulletSums(out);
    out += "\"sounds\":[";
    for (size_t i = 0; i < sounds.size(); ++i) out += (i ? "," : "") + std::to_string(sounds[i]);
    out += "],\"music\":[";
    for (size_t i = 0; i < music.size(); ++i) out += std::string(i ? "," : "") + '"' + music[i] + '"';
    out += "],";
    char hash[40];
    std::snprintf(hash, sizeof hash, "\"fieldHash\":\"%016llx\"", FieldHash());
    out += hash;
    out += '}';
    return out;
}

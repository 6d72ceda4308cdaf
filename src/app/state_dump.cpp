// The end-of-run state dump of the headless runner: every game global and every record of every
// pool, by the game's own names, as one JSON object. One table lists what is written, in order;
// each record is read through its type's field list (the fields.h beside its definition), so a
// new global is one line here and a new field one line in its record's list.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/game.h"
#include "app/json.h"
#include "app/trace.h"
#include "core/record_fields.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "player/combat.h"
#include "player/player.h"
#include "player/ship.h"
#include "stage/fields.h"
#include "video/display.h"

namespace {

inline constexpr Field TITLE_LOGO_PIECE_FIELDS[] = {
    BOX_FIELDS(TitleLogoPiece),
};
inline constexpr RecordFields TITLE_LOGO_PIECE_RECORD = RECORD_FIELDS(TitleLogoPiece, TITLE_LOGO_PIECE_FIELDS, RECORD_OBJECT);

enum EntryKind : uint8_t {
    ENTRY_VALUE,       // one global value
    ENTRY_VALUES,      // an array of values
    ENTRY_RECORD,      // one record
    ENTRY_RECORDS,     // an array of records
    ENTRY_FIELD_HASH,  // the hash of the field's pixels
};

struct DumpEntry {
    const char* name;
    EntryKind kind;
    const void* address;
    FieldKind valueKind;         // ENTRY_VALUE and ENTRY_VALUES
    int count;                   // ENTRY_VALUES and ENTRY_RECORDS
    const RecordFields* record;  // ENTRY_RECORD and ENTRY_RECORDS
};

constexpr FieldKind KindOf(const int32_t*) { return FIELD_I32; }
constexpr FieldKind KindOf(const uint8_t*) { return FIELD_U8; }
constexpr FieldKind KindOf(const uint32_t*) { return FIELD_U32; }
constexpr FieldKind KindOf(const float*) { return FIELD_F32; }

// A record's description must fit the global it reads; a mismatch does not compile.
constexpr const RecordFields* Fitting(const RecordFields& record, size_t recordSize) {
    if (record.size != recordSize) throw "the field list does not describe this global's records";
    return &record;
}

// One line of the table, the key being the global's own name.
#define VALUE(global) \
    DumpEntry { #global, ENTRY_VALUE, &global, KindOf(&global), 1, nullptr }
#define VALUES(global) \
    DumpEntry { #global, ENTRY_VALUES, global, KindOf(global), static_cast < int>(std::size(global)), nullptr }
#define RECORD(global, fields) \
    DumpEntry { #global, ENTRY_RECORD, &global, FIELD_I32, 1, Fitting(fields, sizeof(global)) }
#define RECORDS(global, fields)                                                                                              \
    DumpEntry {                                                                                                              \
#global, ENTRY_RECORDS, global, FIELD_I32, static_cast < int>(std::size(global)), Fitting(fields, sizeof(global[0])) \
    }

constexpr DumpEntry STATE_DUMP[] = {
    // ---- application shell, display and frame loop
    VALUE(g_useJoystick),
    VALUE(g_watchingReplay),
    VALUE(g_appActive),
    VALUE(g_paused),
    VALUE(g_pauseRequested),
    VALUE(g_lastFrameTime),
    VALUE(g_frameInterval),
    VALUE(g_fieldClearColour),
    VALUE(g_baseClearColour),
    VALUE(g_largeDisplay),
    VALUE(g_magnify),
    VALUE(g_screenWidth),
    VALUE(g_screenHeight),
    VALUE(g_screenState),
    VALUE(g_splashTimer),
    VALUE(g_titleInputDelay),
    VALUE(g_blinkTimer),
    RECORD(g_titleLogoUpper, TITLE_LOGO_PIECE_RECORD),
    RECORD(g_titleLogoLower, TITLE_LOGO_PIECE_RECORD),
    VALUE(g_fpsFrameCount),
    VALUE(g_fpsValue),
    VALUE(g_fpsNextTick),
    DumpEntry{"fieldHash", ENTRY_FIELD_HASH, nullptr, FIELD_I32, 1, nullptr},
    // ---- input and records
    RECORD(g_joystickState, JOYSTICK_STATE_RECORD),
    VALUE(g_replayFrame),
    VALUE(g_savedHiScore),
    // ---- the player's side
    RECORDS(g_ships, PLAYER_SHIP_RECORD),
    VALUE(g_playing),
    VALUE(g_playerPhase),
    VALUE(g_shipSelectActive),
    VALUE(g_idleSpeedBonus),
    VALUE(g_fireArmed),
    VALUE(g_continueActive),
    VALUE(g_continued),
    VALUE(g_bombPhase),
    VALUE(g_score),
    VALUE(g_hiScore),
    VALUE(g_scoreLevel),
    VALUE(g_scorePerLevel),
    VALUE(g_chain),
    VALUE(g_chainTimer),
    VALUE(g_shield),
    VALUE(g_bombs),
    VALUE(g_aimJitter),
    VALUE(g_aimJitterWide),
    VALUE(g_bossBlastX),
    VALUE(g_bossBlastY),
    VALUE(g_respawnDelay),
    VALUE(g_invulnTimer),
    VALUE(g_shipSelectReady),
    VALUE(g_shipSelectCountdown),
    VALUE(g_shipSelectTick),
    VALUE(g_selectCursorX),
    VALUE(g_shipChosen),
    VALUE(g_selectMove),
    VALUE(g_selectCursorBlink),
    RECORDS(g_selectPanels, SELECT_PANEL_RECORD),
    VALUE(g_fireInterval),
    VALUE(g_fireCounter),
    VALUE(g_unitFireCounterA),
    VALUE(g_unitFireCounterB),
    VALUE(g_scoreLevelBlink),
    VALUE(g_scoreBadgeAnim),
    VALUE(g_aimJitterTick),
    RECORD(g_scorePopup, SCORE_POPUP_RECORD),
    RECORDS(g_playerShots, PLAYER_SHOT_RECORD),
    RECORDS(g_bombUnitsA, PLAYER_SHOT_RECORD),
    RECORDS(g_bombUnitsB, PLAYER_SHOT_RECORD),
    RECORDS(g_unitShotsA, PLAYER_SHOT_RECORD),
    RECORDS(g_unitShotsB, PLAYER_SHOT_RECORD),
    RECORDS(g_stars, STAR_RECORD),
    VALUE(g_randomSeed),
    // ---- chain, items, explosions, continue, game over, ending and captions
    VALUE(g_chainWindow),
    VALUE(g_chainDecayTick),
    VALUE(g_bossPartAnimA),
    VALUE(g_bossPartAnimB),
    VALUE(g_midBossAnimX),
    VALUE(g_bossPartAnimC),
    RECORD(g_bombItem, ITEM_POSITION_RECORD),
    RECORD(g_shieldItem, ITEM_POSITION_RECORD),
    RECORD(g_lifeItem, ITEM_POSITION_RECORD),
    VALUE(g_extendCount),
    RECORDS(g_explosions, EXPLOSION_RECORD),
    VALUE(g_explosionNext),
    RECORDS(g_debris, EXPLOSION_RECORD),
    VALUE(g_debrisNext),
    VALUE(g_bossBlastActive),
    VALUE(g_bossBlastTick),
    VALUE(g_continuePanelsIn),
    VALUE(g_continueCount),
    VALUE(g_continueTick),
    VALUES(g_continuePanelX),
    VALUES(g_continuePanelY),
    RECORDS(g_gameOverPanels, GAME_OVER_PANEL_RECORD),
    VALUE(g_gameOverHold),
    VALUE(g_endingActive),
    VALUE(g_endingTick),
    VALUES(g_endingSlotActive),
    VALUES(g_endingX),
    VALUES(g_endingY),
    VALUE(g_endingHold),
    VALUE(g_storyActive),
    VALUE(g_storyLines),
    VALUE(g_messageVisible),
    VALUE(g_messageRowY),
    RECORD(g_messagePicture, MESSAGE_PICTURE_RECORD),
    // ---- enemy fire
    VALUE(g_enemyBulletCount),
    VALUE(g_largeBulletAltSprite),
    VALUE(g_crossCounterA),
    VALUE(g_crossCounterB),
    VALUE(g_ringCounter),
    RECORDS(g_smallBullets, ENEMY_BULLET_RECORD),
    RECORDS(g_largeBullets, ENEMY_BULLET_RECORD),
    // ---- the stage
    VALUE(g_stageFrame),
    VALUE(g_round),
    VALUE(g_bossTimer),
    VALUE(g_bossTimerTick),
    VALUE(g_bossTimerVisible),
    VALUE(g_bulletSlowdownHigh),
    VALUE(g_dropItemA),
    VALUE(g_dropItemB),
    VALUE(g_dropItemC),
    VALUE(g_enemyAnimX),
    VALUE(g_largeEnemyAnimX),
    RECORDS(g_enemies, ENEMY_RECORD),
    RECORDS(g_largeEnemies, LARGE_ENEMY_RECORD),
    RECORD(g_midBoss, MID_BOSS_RECORD),
    RECORD(g_midBossEscort, MID_BOSS_ESCORT_RECORD),
    RECORD(g_midBossTwo, MID_BOSS_TWO_RECORD),
    RECORD(g_bossOne, BOSS_ONE_RECORD),
    RECORD(g_bossTwo, BOSS_TWO_RECORD),
    RECORD(g_bossThree, BOSS_THREE_RECORD),
    RECORD(g_bossFour, BOSS_FOUR_RECORD),
    RECORD(g_bossFinal, BOSS_FINAL_RECORD),
};

#undef VALUE
#undef VALUES
#undef RECORD
#undef RECORDS

void WriteValue(JsonWriter& w, const char* name, const unsigned char* at, FieldKind kind) {
    int32_t i32 = 0;
    uint32_t u32 = 0;
    float f32 = 0.0f;
    switch (kind) {
        case FIELD_I32:
        case FIELD_F32_BITS:
            std::memcpy(&i32, at, sizeof i32);
            JsonInt(w, name, i32);
            break;
        case FIELD_U8: JsonInt(w, name, *at); break;
        case FIELD_U32:
            std::memcpy(&u32, at, sizeof u32);
            JsonInt(w, name, u32);
            break;
        case FIELD_F32:
            std::memcpy(&f32, at, sizeof f32);
            JsonFloat(w, name, f32);
            break;
    }
}

// A record as an object of named fields (array members as arrays), or as the array of its
// values with array members flattened.
void WriteRecord(JsonWriter& w, const char* name, const unsigned char* at, const RecordFields& record) {
    const bool object = record.shape == RECORD_OBJECT;
    if (object) {
        JsonBeginObject(w, name);
    } else {
        JsonBeginArray(w, name);
    }
    for (const Field& f : record.fields) {
        const unsigned char* first = at + f.offset;
        const size_t step = FieldKindSize(f.kind);
        if (object && f.count > 1) {
            JsonBeginArray(w, f.name);
            for (int i = 0; i < f.count; ++i) WriteValue(w, nullptr, first + i * step, f.kind);
            JsonEndArray(w);
        } else {
            for (int i = 0; i < f.count; ++i) WriteValue(w, object ? f.name : nullptr, first + i * step, f.kind);
        }
    }
    if (object) {
        JsonEndObject(w);
    } else {
        JsonEndArray(w);
    }
}

void WriteEntry(JsonWriter& w, const DumpEntry& e) {
    const auto* at = static_cast<const unsigned char*>(e.address);
    switch (e.kind) {
        case ENTRY_VALUE: WriteValue(w, e.name, at, e.valueKind); break;
        case ENTRY_VALUES:
            JsonBeginArray(w, e.name);
            for (int i = 0; i < e.count; ++i) WriteValue(w, nullptr, at + i * FieldKindSize(e.valueKind), e.valueKind);
            JsonEndArray(w);
            break;
        case ENTRY_RECORD: WriteRecord(w, e.name, at, *e.record); break;
        case ENTRY_RECORDS:
            JsonBeginArray(w, e.name);
            for (int i = 0; i < e.count; ++i) WriteRecord(w, nullptr, at + i * e.record->size, *e.record);
            JsonEndArray(w);
            break;
        case ENTRY_FIELD_HASH: {
            char hash[24];
            std::snprintf(hash, sizeof hash, "%016llx", FieldHash());
            JsonString(w, e.name, hash);
            break;
        }
    }
}

}  // namespace

std::string StateDump() {
    JsonWriter w;
    w.text.push_back('{');
    for (const DumpEntry& e : STATE_DUMP) WriteEntry(w, e);
    w.text += "}\n";
    return w.text;
}

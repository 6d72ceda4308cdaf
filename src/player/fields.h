// The player side's records described field by field for the state dump, which writes each as
// an object of named fields. A new field of a record is one more line in its list, in its place.
#pragma once

#include "core/record_fields.h"
#include "player/combat.h"
#include "player/player.h"
#include "player/ship.h"

inline constexpr Field PLAYER_SHIP_FIELDS[] = {
    FIELD(PlayerShip, x, I32),
    FIELD(PlayerShip, y, I32),
    FIELD(PlayerShip, width, I32),
    FIELD(PlayerShip, height, I32),
    FIELD(PlayerShip, frameX, I32),
    FIELD(PlayerShip, sheetY, I32),
    FIELD(PlayerShip, active, I32),
    FIELD(PlayerShip, speed, I32),
    FIELD(PlayerShip, state, I32),
    FIELD(PlayerShip, lives, I32),
};
inline constexpr RecordFields PLAYER_SHIP_RECORD = RECORD_FIELDS(PlayerShip, PLAYER_SHIP_FIELDS, RECORD_OBJECT);

inline constexpr Field PLAYER_SHOT_FIELDS[] = {
    FIELD(PlayerShot, x, I32),
    FIELD(PlayerShot, y, I32),
    FIELD(PlayerShot, width, I32),
    FIELD(PlayerShot, height, I32),
    FIELD(PlayerShot, alive, I32),
};
inline constexpr RecordFields PLAYER_SHOT_RECORD = RECORD_FIELDS(PlayerShot, PLAYER_SHOT_FIELDS, RECORD_OBJECT);

inline constexpr Field BOMB_UNIT_FIELDS[] = {
    FIELD(BombUnit, x, I32),
    FIELD(BombUnit, y, I32),
    FIELD(BombUnit, width, I32),
    FIELD(BombUnit, height, I32),
    FIELD(BombUnit, alive, I32),
};
inline constexpr RecordFields BOMB_UNIT_RECORD = RECORD_FIELDS(BombUnit, BOMB_UNIT_FIELDS, RECORD_OBJECT);

inline constexpr Field SCORE_POPUP_FIELDS[] = {
    FIELD(ScorePopup, x, I32),
    FIELD(ScorePopup, y, I32),
    FIELD(ScorePopup, value, I32),
    FIELD(ScorePopup, active, I32),
    FIELD(ScorePopup, age, I32),
};
inline constexpr RecordFields SCORE_POPUP_RECORD = RECORD_FIELDS(ScorePopup, SCORE_POPUP_FIELDS, RECORD_OBJECT);

inline constexpr Field SELECT_PANEL_FIELDS[] = {
    FIELD(SelectPanel, x, I32),
    FIELD(SelectPanel, y, I32),
    FIELD(SelectPanel, width, I32),
    FIELD(SelectPanel, height, I32),
};
inline constexpr RecordFields SELECT_PANEL_RECORD = RECORD_FIELDS(SelectPanel, SELECT_PANEL_FIELDS, RECORD_OBJECT);

inline constexpr Field STAR_FIELDS[] = {
    FIELD(Star, x, I32),
    FIELD(Star, y, I32),
    FIELD(Star, width, I32),
    FIELD(Star, height, I32),
};
inline constexpr RecordFields STAR_RECORD = RECORD_FIELDS(Star, STAR_FIELDS, RECORD_OBJECT);

inline constexpr Field EXPLOSION_FIELDS[] = {
    FIELD(Explosion, x, I32),
    FIELD(Explosion, y, I32),
    FIELD(Explosion, vx, I32),
    FIELD(Explosion, vy, I32),
    FIELD(Explosion, alive, I32),
    FIELD(Explosion, width, I32),
    FIELD(Explosion, height, I32),
    FIELD(Explosion, frameX, I32),
    FIELD(Explosion, tick, I32),
};
inline constexpr RecordFields EXPLOSION_RECORD = RECORD_FIELDS(Explosion, EXPLOSION_FIELDS, RECORD_OBJECT);

inline constexpr Field ITEM_POSITION_FIELDS[] = {
    FIELD(ItemPosition, x, I32),
    FIELD(ItemPosition, y, I32),
};
inline constexpr RecordFields ITEM_POSITION_RECORD = RECORD_FIELDS(ItemPosition, ITEM_POSITION_FIELDS, RECORD_OBJECT);

inline constexpr Field GAME_OVER_PANEL_FIELDS[] = {
    FIELD(GameOverPanel, x, I32),
    FIELD(GameOverPanel, y, I32),
    FIELD(GameOverPanel, width, I32),
    FIELD(GameOverPanel, height, I32),
    FIELD(GameOverPanel, state, I32),
};
inline constexpr RecordFields GAME_OVER_PANEL_RECORD = RECORD_FIELDS(GameOverPanel, GAME_OVER_PANEL_FIELDS, RECORD_OBJECT);

inline constexpr Field MESSAGE_PICTURE_FIELDS[] = {
    FIELD(MessagePicture, x, I32),
    FIELD(MessagePicture, y, I32),
    FIELD(MessagePicture, width, I32),
    FIELD(MessagePicture, height, I32),
};
inline constexpr RecordFields MESSAGE_PICTURE_RECORD = RECORD_FIELDS(MessagePicture, MESSAGE_PICTURE_FIELDS, RECORD_OBJECT);

// Enemy fire's bullet record described field by field for the state dump (an object of named
// fields). A new field is one more line in the list, in its place.
#pragma once

#include "core/record_fields.h"
#include "enemyfire/enemyfire.h"

inline constexpr Field ENEMY_BULLET_FIELDS[] = {
    FIELD(EnemyBullet, x, F32),
    FIELD(EnemyBullet, y, F32),
    FIELD(EnemyBullet, alive, I32),
    FIELD(EnemyBullet, vx, F32),
    FIELD(EnemyBullet, vy, F32),
};
inline constexpr RecordFields ENEMY_BULLET_RECORD = RECORD_FIELDS(EnemyBullet, ENEMY_BULLET_FIELDS, RECORD_OBJECT);

// The collision pass: the one place where the player hurts enemies. Once a frame, right after the
// enemies have moved and before the ship does, every live target is taken in a fixed order (the
// final boss first, the small enemies last) and, for each, in this order: the boss body against
// the ship, the player's shots and the bomb units' shots against its vulnerable box, the boss
// time limit, the kill, the removal once it has left the field, and its drawing. The pass also
// holds HitPlayer, the one operation a hit on the ship runs (the enemy bullets call it too).
#include "enemyfire/enemyfire.h"
#include "player/combat.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "video/display.h"

namespace {

// A target's vulnerable box, right and bottom exclusive.
struct Box {
    int left, top, right, bottom;
};

// How a target answers a hit.
enum TargetKind {
    TARGET_BOSS = 0,     // sound 107 on every hit
    TARGET_WEARING = 1,  // the same, and a player-shot hit keeps the chain alive (mid-bosses, large enemies)
    TARGET_SMALL = 2,    // small enemies are hit without a sound
};

// Damage of each shot pool; player shots 0..19 are the heavy pair of the volley.
inline constexpr int HEAVY_SHOT_SLOTS = 20;
inline constexpr int HEAVY_SHOT_DAMAGE = 2;
inline constexpr int LIGHT_SHOT_DAMAGE = 1;
inline constexpr int UNIT_SHOT_A_DAMAGE = 3;
inline constexpr int UNIT_SHOT_B_DAMAGE = 1;
// A player-shot hit on a mid-boss or large enemy lifts the chain timer to at least this.
inline constexpr int WEARING_CHAIN_HOLD = 10;

// Chain-kill awards per chain step, and the fixed awards of the bosses.
inline constexpr int32_t SMALL_KILL_AWARD = 460;
inline constexpr int32_t LARGE_KILL_AWARD = 6850;
inline constexpr int32_t MID_BOSS_KILL_AWARD = 45000;
inline constexpr int32_t MID_BOSS_TWO_AWARD = 100000;
inline constexpr int32_t BOSS_ONE_AWARD = 100000;
inline constexpr int32_t BOSS_TWO_AWARD = 200000;
inline constexpr int32_t BOSS_THREE_AWARD = 300000;
inline constexpr int32_t BOSS_FOUR_AWARD = 400000;
inline constexpr int32_t FINAL_BOSS_AWARD = 1000000;
inline constexpr int32_t FINAL_BOSS_LIFE_BONUS = 5000000;  // per spare life of each ship still flying

bool Overlaps(const Box& a, const Box& b) { return a.right > b.left && b.right > a.left && a.bottom > b.top && b.bottom > a.top; }

bool HitPixelInside(int ship, const Box& box) {
    const int hx = ShipHitX(ship);
    const int hy = ShipHitY(ship);
    return Overlaps(Box{hx, hy, hx + 1, hy + 1}, box);
}

// The shot gate: a target is hit only once this much of it is on the field.
bool InShotGate(int x, int y, int minY, int minX, int maxX) { return y >= minY && x >= minX && x <= maxX; }

// A boss body touching the hit pixel of a ship that can be hit costs a shield point per frame.
void TestBossBody(const Box& box) {
    for (int s = 0; s < 2; ++s) {
        if (g_ships[s].active != 0 && g_ships[s].state == SHIP_STATE_NORMAL && HitPixelInside(s, box)) HitPlayer();
    }
}

// Every live shot of one pool that overlaps the box is spent on this target, even after its hit
// points have run out.
void TestShotPool(PlayerShot* shots, int count, int32_t& hitPoints, const Box& box, int kind, bool playerShots) {
    for (int i = 0; i < count; ++i) {
        PlayerShot& s = shots[i];
        if (s.alive == 0) continue;
        if (!Overlaps(Box{s.x, s.y, s.x + s.width, s.y + s.height}, box)) continue;
        s.alive = 0;
        if (playerShots) {
            hitPoints -= i < HEAVY_SHOT_SLOTS ? HEAVY_SHOT_DAMAGE : LIGHT_SHOT_DAMAGE;
            if (kind == TARGET_WEARING && g_chainTimer <= WEARING_CHAIN_HOLD) g_chainTimer = WEARING_CHAIN_HOLD;
            AddScore(g_scoreLevel * g_scorePerLevel);
        } else {
            hitPoints -= shots == g_unitShotsA ? UNIT_SHOT_A_DAMAGE : UNIT_SHOT_B_DAMAGE;
        }
        if (kind != TARGET_SMALL) PlaySoundEffect(SoundEffect::EnemyStruck);
    }
}

// The first boss takes the units' wider shots on a wider box than the player's.
void TestShots(int32_t& hitPoints, const Box& playerBox, const Box& unitBox, int kind) {
    TestShotPool(g_playerShots, PLAYER_SHOT_COUNT, hitPoints, playerBox, kind, true);
    TestShotPool(g_unitShotsA, UNIT_SHOT_COUNT_A, hitPoints, unitBox, kind, false);
    TestShotPool(g_unitShotsB, UNIT_SHOT_COUNT_B, hitPoints, unitBox, kind, false);
}

// The boss time limit, one step per frame of a live boss (two live bosses count it down twice).
// Returns true when time ran out: the boss explodes without award.
bool RunBossTimer(int32_t& alive, int killX, int killY) {
    StepCountdown(g_bossTimer, g_bossTimerTick, 60);
    if (g_bossTimer >= 0) return false;
    g_bossTimerVisible = 0;
    StartBossBlast(killX, killY);
    alive = 0;
    return true;
}

// Time limit, kill and removal of a boss. A boss timed out in the frame its hit points ran out
// ends by the time-out: blast, no award.
void FinishBoss(int32_t& alive, int32_t hitPoints, int32_t y, int killX, int killY, int32_t award) {
    const bool timedOut = RunBossTimer(alive, killX, killY);
    if (!timedOut && hitPoints <= 0) {
        alive = 0;
        AddScore(award);
        g_bossTimerVisible = 0;
        StartBossBlast(killX, killY);
    }
    if (y >= FIELD_HEIGHT) alive = 0;
}

// A chain kill counts first, then pays with the new chain.
void ChainKill(int32_t awardPerStep) {
    ++g_chain;
    g_chainTimer = g_chainWindow;
    AddScore(awardPerStep * g_chain);
}

// A body at the record's size; an animated part at its region's size, its frame counted in pixels
// along the strip.
bool DrawBody(const atlas::Region& body, int x, int y, int width, int height, int frameX = 0) {
    return DrawRegionPart(body, x, y, width, height, frameX);
}

bool DrawPart(const atlas::Region& part, int x, int y, int frameX = 0) {
    return DrawRegionPart(part, x, y, part.w, part.h, frameX);
}

int32_t FinalBossAward() {
    int32_t award = FINAL_BOSS_AWARD;
    for (const PlayerShip& s : g_ships) {
        if (s.active != 0 && s.lives >= 1) award += FINAL_BOSS_LIFE_BONUS * (s.lives - 1);
    }
    return award;
}

bool ResolveBossFinal() {
    auto& b = g_bossFinal;
    if (b.alive != 1) return true;
    const Box box{b.x + 30, b.y + 8, b.x + b.width - 30, b.y + b.height - 8};
    TestBossBody(box);
    if (InShotGate(b.x, b.y, -56, -20, 180)) TestShots(b.hitPoints, box, box, TARGET_BOSS);
    FinishBoss(b.alive, b.hitPoints, b.y, b.x + 32, b.y + 38, FinalBossAward());
    switch (b.pose) {
        case 0: return DrawBody(atlas::Get("bossFinalPose0"), b.x, b.y, b.width, b.height);
        case 1: return DrawBody(atlas::Get("bossFinalPose1"), b.x, b.y, b.width, b.height);
        case 2: return DrawBody(atlas::Get("bossFinalPose2"), b.x, b.y, b.width, b.height);
        case 3: return DrawBody(atlas::Get("bossFinalPose3"), b.x, b.y, b.width, b.height);
        default: return true;
    }
}

bool ResolveBossFour() {
    auto& b = g_bossFour;
    if (b.alive != 1) return true;
    const Box box{b.x, b.y + 56, b.x + b.width, b.y + b.height - 6};
    TestBossBody(box);
    if (InShotGate(b.x, b.y, -56, -20, 180)) TestShots(b.hitPoints, box, box, TARGET_BOSS);
    FinishBoss(b.alive, b.hitPoints, b.y, b.x + 4, b.y + 58, BOSS_FOUR_AWARD);
    // Cover plate and pods first; the body covers them where it is not transparent.
    if (!DrawPart(atlas::Get("bossFourCover"), b.x + 6, b.y + b.coverOffset)) return false;
    if (!DrawPart(atlas::Get("bossFourRightPod"), b.x + b.rightPodOffset, b.y + 59)) return false;
    if (!DrawPart(atlas::Get("bossFourLeftPod"), b.x + b.leftPodOffset, b.y + 59)) return false;
    return DrawBody(atlas::Get("bossFourBody"), b.x, b.y, b.width, b.height);
}

bool ResolveBossThree() {
    auto& b = g_bossThree;
    if (b.alive != 1) return true;
    const Box box{b.x, b.y + 28, b.x + b.width, b.y + b.height - 28};
    TestBossBody(box);
    if (InShotGate(b.x, b.y, -56, -20, 180)) TestShots(b.hitPoints, box, box, TARGET_BOSS);
    FinishBoss(b.alive, b.hitPoints, b.y, b.x, b.y + 28, BOSS_THREE_AWARD);
    // The right side part's strip runs backwards: it is the mirror of the left one.
    const int p = b.partFrame;
    if (!DrawPart(atlas::Get("bossThreeLeftPart"), b.x - 56, b.y + 38, p)) return false;
    if (!DrawPart(atlas::Get("bossThreeRightPart"), b.x + 16, b.y + 38, -p)) return false;
    return DrawBody(atlas::Get("bossThreeCore"), b.x, b.y, b.width, b.height, g_bossPartAnimA);
}

bool ResolveMidBossTwo() {
    auto& b = g_midBossTwo;
    if (b.alive != 1) return true;
    const Box box{b.x + 24, b.y + 24, b.x + b.width - 24, b.y + b.height - 24};
    if (InShotGate(b.x, b.y, -48, -96, 104)) TestShots(b.hitPoints, box, box, TARGET_BOSS);
    if (b.hitPoints <= 0) {
        b.alive = 0;
        AddScore(MID_BOSS_TWO_AWARD);
        if (g_dropItemB == 1) {
            DropShieldItem(b.x + 40, b.y + 30);
            g_dropItemB = 0;
        }
        SpawnBurst(b.x + 23, b.y + 26);
    }
    if (b.y >= FIELD_HEIGHT) b.alive = 0;
    constexpr const atlas::Region& PART = atlas::Get("bossPartAnimC");
    if (!DrawPart(PART, b.x + 30, b.y, g_bossPartAnimC)) return false;
    if (!DrawPart(PART, b.x + 2, b.y + 10, g_bossPartAnimC)) return false;
    if (!DrawPart(PART, b.x + 58, b.y + 10, g_bossPartAnimC)) return false;
    return DrawBody(atlas::Get("midBossTwoBody"), b.x, b.y, b.width, b.height);
}

bool ResolveBossTwo() {
    auto& b = g_bossTwo;
    if (b.alive != 1) return true;
    const Box box{b.x + 34, b.y + 64, b.x + b.width - 34, b.y + b.height - 10};
    TestBossBody(box);
    if (InShotGate(b.x, b.y, -56, -64, 136)) TestShots(b.hitPoints, box, box, TARGET_BOSS);
    FinishBoss(b.alive, b.hitPoints, b.y, b.x + 34, b.y + 56, BOSS_TWO_AWARD);
    constexpr int PARTS[4][2] = {{30, 42}, {73, 42}, {7, 66}, {96, 66}};
    for (const auto& part : PARTS) {
        if (!DrawPart(atlas::Get("bossPartAnimB"), b.x + part[0], b.y + part[1], g_bossPartAnimB)) return false;
    }
    return DrawBody(atlas::Get("bossTwoBody"), b.x, b.y, b.width, b.height);
}

// The recurring mid-boss and its escort share their box, award and picture: worn down with the
// chain kept alive, killed as a chain kill. Only the mid-boss itself carries the shield item.
bool ResolveMidBossRecord(int32_t x, int32_t y, int32_t width, int32_t height, int32_t& alive, int32_t& hitPoints,
                          bool carriesShield) {
    if (alive != 1) return true;
    const Box box{x + 12, y + 12, x + width - 12, y + height - 12};
    if (InShotGate(x, y, -24, -48, 152)) TestShots(hitPoints, box, box, TARGET_WEARING);
    if (hitPoints <= 0) {
        alive = 0;
        ChainKill(MID_BOSS_KILL_AWARD);
        if (g_dropItemA == 1) {
            DropBombItem(x + 40, y + 16);
            g_dropItemA = 0;
        }
        if (carriesShield && g_dropItemB == 1) {
            DropShieldItem(x + 40, y + 16);
            g_dropItemB = 0;
        }
        SpawnBurst(x + 24, y + 12);
    }
    if (y >= FIELD_HEIGHT) alive = 0;
    return DrawBody(atlas::Get("midBoss"), x, y, width, height, g_midBossAnimX);
}

bool ResolveMidBoss() {
    auto& b = g_midBoss;
    return ResolveMidBossRecord(b.x, b.y, b.width, b.height, b.alive, b.hitPoints, true);
}

bool ResolveMidBossEscort() {
    auto& b = g_midBossEscort;
    return ResolveMidBossRecord(b.x, b.y, b.width, b.height, b.alive, b.hitPoints, false);
}

bool ResolveBossOne() {
    auto& b = g_bossOne;
    if (b.alive != 1) return true;
    const Box box{b.x + 45, b.y + 24, b.x + b.width - 45, b.y + b.height - 54};
    const Box unitBox{b.x + 34, b.y + 24, b.x + b.width - 34, b.y + b.height - 54};
    TestBossBody(box);
    if (InShotGate(b.x, b.y, -56, -64, 136)) TestShots(b.hitPoints, box, unitBox, TARGET_BOSS);
    FinishBoss(b.alive, b.hitPoints, b.y, b.x + 34, b.y + 26, BOSS_ONE_AWARD);
    constexpr const atlas::Region& PART = atlas::Get("bossPartAnimC");
    if (!DrawPart(PART, b.x + 46, b.y, g_bossPartAnimC)) return false;
    if (!DrawPart(PART, b.x + 10, b.y + 11, g_bossPartAnimC)) return false;
    if (!DrawPart(PART, b.x + 82, b.y + 11, g_bossPartAnimC)) return false;
    return DrawBody(atlas::Get("bossOneBody"), b.x, b.y, b.width, b.height);
}

bool LeftField(int x, int y) { return y >= FIELD_HEIGHT || x <= -30 || x >= 230; }

// The enemies of both pools are hit over their whole picture once the shot gate (gateMargin
// pixels beyond the top and left edges, as far from the right) lets shots at them; worn down,
// they pay their chain award and are gone. One that has left the field is gone too (a kill
// outside it has been scored already). True when the enemy was killed this frame: the caller
// adds its kind's explosion.
bool ResolveEnemy(int x, int y, int width, int height, int32_t& alive, int32_t& hitPoints, int gateMargin, TargetKind kind,
                  int32_t award) {
    const Box box{x, y, x + width, y + height};
    if (InShotGate(x, y, -gateMargin, -gateMargin, FIELD_WIDTH - gateMargin)) TestShots(hitPoints, box, box, kind);
    const bool killed = hitPoints <= 0;
    if (killed) ChainKill(award);
    if (killed || LeftField(x, y)) alive = 0;
    return killed;
}

bool ResolveLargeEnemies() {
    for (int i = 0; i < LARGE_ENEMY_COUNT; ++i) {
        LargeEnemy& e = g_largeEnemies[i];
        if (e.alive != 1) continue;
        if (ResolveEnemy(e.x, e.y, e.width, e.height, e.alive, e.hitPoints, 24, TARGET_WEARING, LARGE_KILL_AWARD)) {
            // The first two gunship slots carry the items the timeline has armed.
            if (i == 0) {
                if (g_dropItemC == 1) {
                    DropLifeItem(e.x + 16, e.y + 16);
                    g_dropItemC = 0;
                }
                if (g_dropItemB == 1) {
                    DropShieldItem(e.x + 16, e.y + 16);
                    g_dropItemB = 0;
                }
            } else if (i == 1 && g_dropItemA == 1) {
                DropBombItem(e.x + 16, e.y + 16);
                g_dropItemA = 0;
            }
            g_fieldClearColour = 255;
            SpawnBurst(e.x + 4, e.y + 4);
        }
        if (!DrawBody(atlas::Get("largeEnemy"), e.x, e.y, e.width, e.height, g_largeEnemyAnimX)) return false;
    }
    return true;
}

bool ResolveSmallEnemies() {
    for (int i = 0; i < ENEMY_COUNT; ++i) {
        Enemy& e = g_enemies[i];
        if (e.alive != 1) continue;
        if (ResolveEnemy(e.x, e.y, e.width, e.height, e.alive, e.hitPoints, 12, TARGET_SMALL, SMALL_KILL_AWARD)) {
            SpawnExplosion(e.x - 8, e.y - 8, 0, 4, BLAST_SOUND_SMALL);
        }
        // The kinds' rows lie one under the other from the first; the frame counts in pixels.
        constexpr const atlas::Region& ROWS = atlas::Get("enemyRow1");
        const int row = EnemySpriteTop(i) - ROWS.y;
        if (!DrawRegionPart(ROWS, e.x, e.y, e.width, e.height, g_enemyAnimX, row)) return false;
    }
    return true;
}

// Advances a picture counter by one step, back to 0 at its end.
void StepAnimation(int& counter, int step, int end) {
    counter += step;
    if (counter == end) counter = 0;
}

}  // namespace

void AddScore(int32_t value) { g_score = static_cast<int32_t>(static_cast<uint32_t>(g_score) + static_cast<uint32_t>(value)); }

bool ResolveCollisions() {
    // Each picture counter steps once the last target that uses it has been drawn.
    if (!ResolveBossFinal() || !ResolveBossFour() || !ResolveBossThree()) return false;
    StepAnimation(g_bossPartAnimA, 40, 160);
    if (!ResolveMidBossTwo() || !ResolveBossTwo()) return false;
    StepAnimation(g_bossPartAnimB, 26, 130);
    if (!ResolveMidBoss() || !ResolveMidBossEscort()) return false;
    StepAnimation(g_midBossAnimX, 96, 288);
    if (!ResolveBossOne()) return false;
    StepAnimation(g_bossPartAnimC, 36, 180);
    if (!ResolveLargeEnemies()) return false;
    StepAnimation(g_largeEnemyAnimX, 48, 192);
    if (!ResolveSmallEnemies()) return false;
    StepAnimation(g_enemyAnimX, 24, 48);
    return true;
}

void HitPlayer() {
    ClearEnemyBullets();
    --g_shield;
    if (g_scoreLevel > 1) --g_scoreLevel;
    g_fieldClearColour = 249;
    // The shield absorbs three hits with no invulnerable time; the fourth costs a life.
    if (g_shield >= 0) {
        PlaySoundEffect(SoundEffect::PlayerHit);
        return;
    }
    RestockPlayer(40);
    for (int s = 0; s < 2; ++s) {
        PlayerShip& ship = g_ships[s];
        if (ship.active == 0 || ship.state != SHIP_STATE_NORMAL) continue;
        --ship.lives;
        SpawnBurst(ship.x - 8, ship.y - 8);
        SendShipToStart(s);
    }
}

void RestockPlayer(int respawnDelay) {
    g_chain = 0;
    g_shield = 3;
    g_scoreLevel = 1;
    g_playerPhase = PLAYER_PHASE_RESPAWN;
    g_respawnDelay = respawnDelay;
    g_bombs = 2;
}

void SendShipToStart(int ship) {
    constexpr int START_X[2] = {64, 112};
    g_ships[ship].state = SHIP_STATE_DOWN;
    g_ships[ship].x = START_X[ship];
    g_ships[ship].y = 180;
}

void StartBossBlast(int x, int y) {
    for (PlayerShip& ship : g_ships) {
        if (ship.active == 0 || ship.state == SHIP_STATE_DOWN) continue;
        ship.state = SHIP_STATE_INVULNERABLE;
        g_invulnTimer = 120;
        g_playerPhase = PLAYER_PHASE_INVULNERABLE;
    }
    g_bossBlastX = x;
    g_bossBlastY = y;
    g_bossBlastActive = 1;
    g_bossBlastTick = 0;
}

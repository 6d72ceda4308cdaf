// Items, extends, gauges and the chain display. Three items exist once each (bomb, shield, life):
// a carrier's kill drops the item at its kill point, from where it falls a pixel a frame until it
// leaves the field or a ship's hit pixel touches it. A bomb or shield collected with that stock
// already full pays points instead. The same frame step draws the shield gauge and the bomb
// stock and grants an extra life every 50,000,000 points, one per frame at most. The chain
// display shows the chain count and its shrinking bar, and decays the chain timer.
#include <cstdint>

#include "player/combat.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "video/display.h"

// Item positions; parked at reset (InitObjectPools leaves them to ResetCombatSide).
ItemPosition g_bombItem = {0, ITEM_PARKED_Y};
ItemPosition g_shieldItem = {0, ITEM_PARKED_Y};
ItemPosition g_lifeItem = {0, ITEM_PARKED_Y};
int g_extendCount = 1;

namespace {

inline constexpr int MAX_BOMB_DISPLAY = 99;

// The two items that fill a stock: the bomb adds one bomb up to five, the shield fills at once to
// three. Collected with the stock full, they pay points for each score level above `freeLevels`.
struct StockItem {
    int full;
    bool fillsAtOnce;
    int32_t fullStockPoints;
    int freeLevels;
};
inline constexpr StockItem BOMB_STOCK = {5, false, 10000, 1};
inline constexpr StockItem SHIELD_STOCK = {3, true, 30000, 2};

// The item falls one pixel and stays parked once it reaches the bottom.
void FallItem(ItemPosition& item) {
    ++item.y;
    if (item.y > ITEM_PARKED_Y) item.y = ITEM_PARKED_Y;
}

// A ship in states 1 or 2 (invulnerable ships collect too) whose hit pixel lies on the item.
bool ShipTouchesItem(int ship, const ItemPosition& item) {
    const PlayerShip& s = g_ships[ship];
    if (s.active == 0 || s.state == SHIP_STATE_DOWN) return false;
    const int hx = ShipHitX(ship);
    const int hy = ShipHitY(ship);
    return hx >= item.x && hx < item.x + ITEM_SIZE && hy >= item.y && hy < item.y + ITEM_SIZE;
}

bool DrawItem(const ItemPosition& item, const atlas::Region& picture) { return DrawRegion(picture, item.x, item.y); }

// Points for an item whose stock is already full; the level has already been raised.
void PayFullStock(int ship, int32_t value) {
    ShowScorePopup(g_ships[ship].x + 24, g_ships[ship].y, value);
    AddScore(value);
}

bool DrawShieldGauge() {
    switch (g_shield) {
        case 3: return FillFieldRect(2, 30, 18, 34, 250);
        case 2: return FillFieldRect(2, 30, 12, 34, 250);
        case 1: return FillFieldRect(2, 30, 6, 34, 249);
        default: return true;
    }
}

// Collecting raises the score level by two before the stock is looked at.
void UpdateStockItem(ItemPosition& item, int& stock, const StockItem& kind) {
    FallItem(item);
    for (int s = 0; s < 2; ++s) {
        if (!ShipTouchesItem(s, item)) continue;
        PlaySoundEffect(SoundEffect::ItemCollected);
        g_scoreLevel += 2;
        if (stock < kind.full) {
            stock = kind.fillsAtOnce ? kind.full : stock + 1;
        } else {
            PayFullStock(s, kind.fullStockPoints * (g_scoreLevel - kind.freeLevels));
        }
        item.y = ITEM_PARKED_Y;
    }
}

// One extra life per frame at most: a score past two thresholds gives the second next frame.
void CheckExtend() {
    if (g_score < EXTEND_STEP * g_extendCount) return;
    g_fieldClearColour = 255;
    ++g_extendCount;
    for (PlayerShip& ship : g_ships) {
        if (ship.active == 0) continue;
        PlaySoundEffect(SoundEffect::Extend);
        ++ship.lives;
    }
}

void UpdateLifeItem() {
    FallItem(g_lifeItem);
    for (int s = 0; s < 2; ++s) {
        if (!ShipTouchesItem(s, g_lifeItem)) continue;
        g_fieldClearColour = 255;
        PlaySoundEffect(SoundEffect::Extend);
        g_scoreLevel += 3;
        g_lifeItem.y = ITEM_PARKED_Y;
        ++g_ships[s].lives;
    }
}

}  // namespace

void DropBombItem(int x, int y) { g_bombItem = ItemPosition{x, y}; }
void DropShieldItem(int x, int y) { g_shieldItem = ItemPosition{x, y}; }
void DropLifeItem(int x, int y) { g_lifeItem = ItemPosition{x, y}; }

// The level raised here may pass 16; the score level display clamps it next frame, and the
// points above use the raised, unclamped level.
bool UpdateItemsAndGauges() {
    if (!DrawShieldGauge()) return false;
    if (!DrawRegion(atlas::Get("bombIcon"), 0, 224)) return false;
    if (g_bombs >= MAX_BOMB_DISPLAY + 1) g_bombs = MAX_BOMB_DISPLAY;
    if (!DrawNumber(22, 230, g_bombs)) return false;
    UpdateStockItem(g_bombItem, g_bombs, BOMB_STOCK);
    if (!DrawItem(g_bombItem, atlas::Get("bombIcon"))) return false;
    CheckExtend();
    UpdateLifeItem();
    if (!DrawItem(g_lifeItem, atlas::Get("lifeItem"))) return false;
    UpdateStockItem(g_shieldItem, g_shield, SHIELD_STOCK);
    return DrawItem(g_shieldItem, atlas::Get("shieldItem"));
}

bool UpdateChain() {
    if (g_chainTimer > 0) {
        if (g_chain > 0) {
            if (!DrawNumber(170, 20, g_chain)) return false;
            if (!DrawRegion(atlas::Get("chainLabel"), 180, 20)) return false;
        }
        // The second round is kinder: below 20 frames the chain runs out at half speed.
        if (g_round == 1 || g_chainTimer >= 20) {
            --g_chainTimer;
        } else if (++g_chainDecayTick == 2) {
            g_chainDecayTick = 0;
            --g_chainTimer;
        }
        if (g_chain > 0 && !FillFieldRect(168, 30, 168 + g_chainTimer, 34, 251)) return false;
    }
    if (g_chainTimer == 0) g_chain = 0;
    return true;
}

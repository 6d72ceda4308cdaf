// Composed previews for the contact sheet: the pictures put together the way the game draws
// them (bosses over their parts at the game's offsets, the closed logo, the panels side by side,
// and a staged moment of play on the field with the HUD), so whoever changes the art sees at a
// glance whether the pieces still fit and whether bullets still read over everything.
#include <string>
#include <utility>
#include <vector>

#include "art.h"

namespace art {

namespace {

// Draws frame `frame` of a region at (x, y), keyed like the game's DrawSprite mode 1.
void Draw(Canvas& dst, const Canvas sheets[7], const char* name, int frame, int x, int y, bool keyed = true) {
    const atlas::Region& r = R(name);
    const Canvas& s = sheets[r.sheet - 'A'];
    for (int v = 0; v < r.h; ++v)
        for (int u = 0; u < r.w; ++u) {
            const uint8_t p = s.Get(r.x + frame * r.dx + u, r.y + frame * r.dy + v);
            if (!keyed || p != KEY) dst.Set(x + u, y + v, p);
        }
}

void Number(Canvas& dst, const Canvas sheets[7], int value, int lastX, int y) {
    const std::string text = std::to_string(value);
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n; ++i)
        Draw(dst, sheets, ("digit" + text.substr(static_cast<size_t>(i), 1)).c_str(), 0, lastX - 8 * (n - 1 - i), y);
}

// A screen of the game's size with regions drawn at their places, in order.
struct Placement {
    const char* region;
    int frame, x, y;
};
Canvas Scene(const Canvas sheets[7], std::initializer_list<Placement> placements) {
    Canvas c(200, 240, CLEAR);
    for (const Placement& p : placements) Draw(c, sheets, p.region, p.frame, p.x, p.y);
    return c;
}

Canvas PlayScene(const Canvas sheets[7]) {
    Canvas f(200, 240, CLEAR);
    Rng rng(5);
    for (int k = 0; k < 60; ++k) {
        const int x = rng.Range(0, 197), y = rng.Range(0, 235);
        if (k < 30)
            Draw(f, sheets, "star", 0, x, y);
        else
            f.Set(x, y, sheets[1].Get(0, 10)), f.Set(x + 1, y, sheets[1].Get(1, 10));
    }
    Draw(f, sheets, "bossPartAnimC", 1, 36 + 46, 20);
    Draw(f, sheets, "bossPartAnimC", 2, 36 + 10, 31);
    Draw(f, sheets, "bossPartAnimC", 3, 36 + 82, 31);
    Draw(f, sheets, "bossOneBody", 0, 36, 20);
    Draw(f, sheets, "largeEnemy", 1, 4, 120);
    Draw(f, sheets, "enemyRow2", 0, 150, 100);
    Draw(f, sheets, "enemyRow1", 1, 160, 140);
    Draw(f, sheets, "explosion", 3, 120, 118);
    Draw(f, sheets, "debris", 2, 30, 100);
    for (int k = 0; k < 16; ++k) {
        const int x = 100 + static_cast<int>(k * 6 - 48), y = 140 + (k % 4) * 9 - (k % 3) * 4;
        Draw(f, sheets, k % 3 ? "smallBullet" : "largeBullet", 0, x, y);
    }
    Draw(f, sheets, "largeBullet", 0, 130, 130);
    Draw(f, sheets, "smallBullet", 0, 138, 126);
    Draw(f, sheets, "shotA", 0, 93, 150);
    Draw(f, sheets, "shotA", 0, 100, 140);
    Draw(f, sheets, "shipA", 1, 86, 180);
    Draw(f, sheets, "lifeItem", 0, 40, 200);
    // HUD.
    Number(f, sheets, 1234560, 65, 0);
    Number(f, sheets, 50000000, 150, 0);
    Number(f, sheets, 34, 192, 0);
    Draw(f, sheets, "unitA", 0, 0, 10);
    Draw(f, sheets, "unitA", 0, 17, 10);
    Number(f, sheets, 12, 170, 20);
    Draw(f, sheets, "chainLabel", 0, 180, 20);
    FillRect(f, 168, 30, 190, 34, BOMB_FLASH);
    FillRect(f, 2, 30, 18, 34, GAUGE);
    Draw(f, sheets, "scoreLevelIcon", 0, 0, 36);
    Number(f, sheets, 7, 16, 36);
    Draw(f, sheets, "timerLabel", 0, 68, 16);
    Number(f, sheets, 58, 116, 16);
    Draw(f, sheets, "bombIcon", 0, 0, 224);
    Number(f, sheets, 2, 22, 230);
    Number(f, sheets, 87, 192, 232);
    return f;
}

}  // namespace

std::vector<std::pair<std::string, Canvas>> ComposedPreviews(const Canvas sheets[7]) {
    std::vector<std::pair<std::string, Canvas>> out;
    out.emplace_back("PLAY", PlayScene(sheets));
    out.emplace_back("TITLE", Scene(sheets, {{"titleHiLabel", 0, 50, 0},
                                             {"titleLogoUpper", 0, 55, 20},
                                             {"titleLogoLower", 0, 55, 110},
                                             {"pushStartLine", 0, 20, 220}}));
    out.emplace_back("SELECT CONTINUE GAMEOVER", Scene(sheets, {{"selectPanel0", 0, 4, 40},
                                                                {"selectPanel1", 0, 100, 40},
                                                                {"timerLabel", 0, 84, 80},
                                                                {"digit9", 0, 96, 90},
                                                                {"selectCursor", 0, 64, 180},
                                                                {"shipA", 0, 64, 180},
                                                                {"shipB", 2, 112, 180},
                                                                {"continuePanel0", 0, 24, 120},
                                                                {"continuePanel1", 0, 80, 120},
                                                                {"gameOverPanel0", 0, 0, 150},
                                                                {"gameOverPanel1", 0, 100, 150},
                                                                {"stageCaption160", 0, 50, 205}}));
    {
        Canvas c(280, 150, CLEAR);
        for (int k = 0; k < 3; ++k) {
            static const int PX[3] = {46, 10, 82}, PY[3] = {0, 11, 11};
            Draw(c, sheets, "bossPartAnimC", k, 4 + PX[k], 4 + PY[k]);
        }
        Draw(c, sheets, "bossOneBody", 0, 4, 4);
        static const int BX[4] = {30, 73, 7, 96}, BY[4] = {42, 42, 66, 66};
        for (int k = 0; k < 4; ++k) Draw(c, sheets, "bossPartAnimB", k, 140 + BX[k], 4 + BY[k]);
        Draw(c, sheets, "bossTwoBody", 0, 140, 4);
        out.emplace_back("BOSS ONE AND TWO WITH PARTS", c);
    }
    {
        Canvas c(410, 150, CLEAR);
        static const int PX[3] = {30, 2, 58}, PY[3] = {0, 10, 10};
        for (int k = 0; k < 3; ++k) Draw(c, sheets, "bossPartAnimC", k, 4 + PX[k], 4 + PY[k]);
        Draw(c, sheets, "midBossTwoBody", 0, 4, 4);
        // Third boss, wings fully open: left at (-56,38), right at (16,38), core over them.
        Draw(c, sheets, "bossThreeLeftPart", 3, 170 - 56, 4 + 38);
        Draw(c, sheets, "bossThreeRightPart", 3, 170 + 16, 4 + 38);
        Draw(c, sheets, "bossThreeCore", 1, 170, 4);
        // Fourth boss, pods out and jaw down.
        Draw(c, sheets, "bossFourRightPod", 0, 320 + 46, 4 + 59);
        Draw(c, sheets, "bossFourLeftPod", 0, 320 - 38, 4 + 59);
        Draw(c, sheets, "bossFourCover", 0, 320 + 6, 4 + 101);
        Draw(c, sheets, "bossFourBody", 0, 320, 4);
        out.emplace_back("MID BOSS TWO, BOSS THREE AND FOUR ASSEMBLED", c);
    }
    return out;
}

}  // namespace art

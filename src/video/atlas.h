// The picture atlas: every rectangle the game copies from the seven sheets, one row per distinct
// region (name, sheet letter, first frame's top-left corner and size, frame count and the step
// from one frame to the next, and whether it is drawn with the colour key). The game draws by
// these names (DrawRegion); the art generator paints into exactly these rectangles, the contact
// sheet shows them, and the asset tests check each of them.
#pragma once

namespace atlas {

// One region of one sheet. Frame i lies at (x + i*dx, y + i*dy).
struct Region {
    const char* name;
    char sheet;  // 'A' .. 'G'
    int x, y, w, h;
    int frames, dx, dy;
    bool keyed;  // false only for the splash, which is copied opaque
};

inline constexpr Region REGIONS[] = {
    {"splash", 'A', 0, 0, 200, 240, 1, 0, 0, false},
    {"titleLogoUpper", 'A', 200, 0, 90, 100, 1, 0, 0, true},
    {"titleLogoLower", 'A', 200, 100, 90, 100, 1, 0, 0, true},
    {"pushStartLine", 'B', 0, 0, 160, 10, 1, 0, 0, true},
    {"star", 'B', 0, 10, 3, 5, 1, 0, 0, true},
    {"shipA", 'B', 0, 20, 24, 24, 4, 24, 0, true},
    {"shipAInvulnerable", 'B', 0, 45, 24, 24, 4, 24, 0, true},
    {"shipB", 'B', 0, 70, 24, 24, 4, 24, 0, true},
    {"shipBInvulnerable", 'B', 0, 95, 24, 24, 4, 24, 0, true},
    {"selectCursor", 'B', 100, 20, 24, 24, 1, 0, 0, true},
    {"shotB", 'B', 130, 20, 8, 16, 1, 0, 0, true},
    {"shotBLeft", 'B', 140, 20, 8, 16, 1, 0, 0, true},
    {"shotBRight", 'B', 150, 20, 8, 16, 1, 0, 0, true},
    {"shotA", 'B', 170, 0, 3, 24, 1, 0, 0, true},
    {"smallBullet", 'B', 180, 0, 6, 6, 1, 0, 0, true},
    {"largeBullet", 'B', 190, 0, 8, 8, 1, 0, 0, true},
    {"largeBulletAlt", 'B', 190, 10, 8, 8, 1, 0, 0, true},
    {"selectPanel0", 'B', 200, 0, 96, 24, 1, 0, 0, true},
    {"selectPanel1", 'B', 200, 24, 96, 24, 1, 0, 0, true},
    {"enemyRow1", 'B', 200, 50, 24, 24, 2, 24, 0, true},
    {"enemyRow2", 'B', 200, 74, 24, 24, 2, 24, 0, true},
    {"enemyRow3", 'B', 200, 98, 24, 24, 2, 24, 0, true},
    {"scoreLevelBadge", 'B', 250, 50, 30, 10, 5, 0, 10, true},
    {"stageCaption0", 'B', 100, 50, 100, 20, 1, 0, 0, true},
    {"stageCaption20", 'B', 100, 70, 100, 20, 1, 0, 0, true},
    {"stageCaption40", 'B', 100, 90, 100, 20, 1, 0, 0, true},
    {"stageCaption60", 'B', 100, 110, 100, 20, 1, 0, 0, true},
    {"stageCaption80", 'B', 100, 130, 100, 20, 1, 0, 0, true},
    {"stageCaption100", 'B', 100, 150, 100, 20, 1, 0, 0, true},
    {"stageCaption120", 'B', 100, 170, 100, 20, 1, 0, 0, true},
    {"stageCaption140", 'B', 100, 190, 100, 20, 1, 0, 0, true},
    {"stageCaption160", 'B', 100, 210, 100, 20, 1, 0, 0, true},
    {"unitA", 'B', 0, 120, 16, 16, 1, 0, 0, true},
    {"unitB", 'B', 0, 140, 16, 16, 1, 0, 0, true},
    {"bombIcon", 'B', 30, 120, 16, 16, 1, 0, 0, true},
    {"scoreLevelIcon", 'B', 30, 140, 8, 8, 1, 0, 0, true},
    {"lifeItem", 'B', 30, 150, 16, 16, 1, 0, 0, true},
    {"shieldItem", 'B', 30, 170, 16, 16, 1, 0, 0, true},
    {"titleHiLabel", 'B', 50, 120, 25, 10, 1, 0, 0, true},
    {"timerLabel", 'B', 50, 130, 32, 10, 1, 0, 0, true},
    {"replayMark", 'B', 50, 150, 26, 20, 1, 0, 0, true},
    {"pauseLabel", 'B', 0, 220, 80, 10, 1, 0, 0, true},
    {"continueLabel", 'B', 220, 130, 96, 12, 1, 0, 0, true},
    {"continuePanel0", 'B', 220, 150, 96, 24, 1, 0, 0, true},
    {"continuePanel1", 'B', 220, 174, 96, 24, 1, 0, 0, true},
    {"digit0", 'C', 8, 0, 8, 8, 1, 0, 0, true},
    {"digit1", 'C', 16, 0, 8, 8, 1, 0, 0, true},
    {"digit2", 'C', 24, 0, 8, 8, 1, 0, 0, true},
    {"digit3", 'C', 32, 0, 8, 8, 1, 0, 0, true},
    {"digit4", 'C', 40, 0, 8, 8, 1, 0, 0, true},
    {"digit5", 'C', 48, 0, 8, 8, 1, 0, 0, true},
    {"digit6", 'C', 56, 0, 8, 8, 1, 0, 0, true},
    {"digit7", 'C', 64, 0, 8, 8, 1, 0, 0, true},
    {"digit8", 'C', 72, 0, 8, 8, 1, 0, 0, true},
    {"digit9", 'C', 80, 0, 8, 8, 1, 0, 0, true},
    {"chainLabel", 'C', 100, 0, 16, 8, 1, 0, 0, true},
    {"largeEnemy", 'C', 0, 10, 48, 48, 4, 48, 0, true},
    {"midBossTwoBody", 'C', 200, 0, 96, 96, 1, 0, 0, true},
    {"gameOverPanel0", 'C', 0, 100, 100, 50, 1, 0, 0, true},
    {"gameOverPanel1", 'C', 100, 100, 100, 50, 1, 0, 0, true},
    {"debris", 'C', 0, 170, 20, 20, 8, 20, 0, true},
    {"explosion", 'C', 0, 200, 40, 40, 8, 40, 0, true},
    {"bossOneBody", 'D', 0, 0, 128, 112, 1, 0, 0, true},
    {"bossTwoBody", 'D', 150, 0, 128, 112, 1, 0, 0, true},
    {"bossPartAnimC", 'D', 0, 120, 36, 10, 5, 36, 0, true},
    {"midBoss", 'D', 0, 140, 96, 48, 3, 96, 0, true},
    {"bossPartAnimB", 'D', 0, 200, 26, 10, 5, 26, 0, true},
    {"bossThreeCore", 'E', 0, 0, 40, 96, 4, 40, 0, true},
    {"bossFinalPose3", 'E', 215, 0, 104, 128, 1, 0, 0, true},
    {"bossFourBody", 'E', 0, 100, 48, 112, 1, 0, 0, true},
    {"bossFourCover", 'E', 60, 100, 36, 11, 1, 0, 0, true},
    {"bossFourLeftPod", 'E', 120, 100, 40, 40, 1, 0, 0, true},
    {"bossFourRightPod", 'E', 170, 100, 40, 40, 1, 0, 0, true},
    {"storyRound2Line0", 'E', 120, 150, 200, 15, 1, 0, 0, true},
    {"storyRound2Line1", 'E', 120, 165, 200, 15, 1, 0, 0, true},
    {"storyRound2Line2", 'E', 120, 180, 200, 15, 1, 0, 0, true},
    {"storyRound2Line3", 'E', 120, 195, 200, 15, 1, 0, 0, true},
    {"storyRound2Line4", 'E', 120, 210, 200, 15, 1, 0, 0, true},
    {"bossThreeLeftPart", 'F', 0, 0, 80, 80, 4, 80, 0, true},
    {"bossThreeRightPart", 'F', 240, 80, 80, 80, 4, -80, 0, true},
    {"storyRound1Line0", 'F', 0, 160, 200, 15, 1, 0, 0, true},
    {"storyRound1Line1", 'F', 0, 175, 200, 15, 1, 0, 0, true},
    {"storyRound1Line2", 'F', 0, 190, 200, 15, 1, 0, 0, true},
    {"storyRound1Line3", 'F', 0, 205, 200, 15, 1, 0, 0, true},
    {"storyRound1Line4", 'F', 0, 220, 200, 15, 1, 0, 0, true},
    {"bossFinalPose0", 'G', 0, 0, 104, 128, 1, 0, 0, true},
    {"bossFinalPose1", 'G', 105, 0, 104, 128, 1, 0, 0, true},
    {"bossFinalPose2", 'G', 210, 0, 104, 128, 1, 0, 0, true},
    {"ending0", 'G', 0, 130, 150, 30, 1, 0, 0, true},
    {"ending1", 'G', 0, 165, 150, 30, 1, 0, 0, true},
    {"ending2", 'G', 0, 200, 150, 30, 1, 0, 0, true},
    {"ending3", 'G', 160, 130, 150, 30, 1, 0, 0, true},
    {"ending4", 'G', 160, 165, 150, 30, 1, 0, 0, true},
    {"ending5", 'G', 160, 200, 150, 30, 1, 0, 0, true},
};

inline constexpr int REGION_COUNT = static_cast<int>(sizeof(REGIONS) / sizeof(REGIONS[0]));

// The index of the region of that name in REGIONS; -1 when there is none.
constexpr int FindRegionIndex(const char* name) {
    for (int i = 0; i < REGION_COUNT; ++i) {
        const char* a = REGIONS[i].name;
        const char* b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return i;
    }
    return -1;
}

// Looks a region up by name; nullptr when there is none. Used by the painters and the tests.
constexpr const Region* FindRegion(const char* name) {
    const int i = FindRegionIndex(name);
    return i < 0 ? nullptr : &REGIONS[i];
}

// The region of that name, looked up while compiling: a name that is not in the table does not
// compile. Used by the drawing code.
consteval const Region& Get(const char* name) {
    const int i = FindRegionIndex(name);
    if (i < 0) throw "no atlas region of that name";
    return REGIONS[i];
}

}  // namespace atlas

// The stage timeline: the whole level as one table of frame numbers and actions. One counter,
// g_stageFrame, runs through four stages; at each frame listed, the actions of that frame run in
// the order written, and then the counter counts on. Waves are spawned here, music and captions
// change, bosses start with their time limit, and hold rows keep the counter on one frame while
// a boss lives. The game plays the table twice: at 9600 of the first round the counter starts
// again from 0 in round 2, which instead goes on to the final boss and the ending.
#include <algorithm>
#include <iterator>

#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"

int g_stageFrame = 0;
int g_round = 1;
int g_bossTimer = 0;
int g_bossTimerTick = 0;
int g_bossTimerVisible = 0;
int g_bulletSlowdownHigh = 0;
int g_dropItemA = 0;
int g_dropItemB = 0;
int g_dropItemC = 0;

namespace {

inline constexpr const char* MUSIC_BGM01 = "open bgm01.mid alias BGM wait";
inline constexpr const char* MUSIC_BGM02 = "open bgm02.mid alias BGM wait";
inline constexpr const char* MUSIC_BGM04 = "open bgm04.mid alias BGM wait";
inline constexpr const char* MUSIC_BGM05 = "open bgm05.mid alias BGM wait";
inline constexpr const char* MUSIC_BGM06 = "open bgm06.mid alias BGM wait";

enum class TimelineOp {
    SPAWN,         // spawn()
    SPAWN_WITH,    // spawnWith(value)
    SET,           // *target = value
    HIDE_MESSAGE,  // the stage caption goes
    MUSIC,         // play music
    STAGE_START,   // stage `value` begins: slowdown, aim jitter, music (if any), caption
    BOSS_START,    // slowdown, music (if any), a time limit of `value` seconds shown
    HOLD,          // stay on this frame while *alive is 1
    HOLD_OR_JUMP,  // stay while *alive or *alsoAlive is 1, else go on from frame value + 1
    LOOP_WHILE,    // while *alive is 1 go back to frame value + 1, else go on
    ROUND_END,     // round 1 starts round 2 from frame 0; round 2 shows the final caption
};

struct TimelineStep {
    int frame;
    TimelineOp op;
    int value = 0;
    void (*spawn)() = nullptr;
    void (*spawnWith)(int) = nullptr;
    int* target = nullptr;
    const int32_t* alive = nullptr;
    const int32_t* alsoAlive = nullptr;
    const char* music = nullptr;
};

constexpr TimelineStep Spawn(int frame, void (*spawner)()) { return {.frame = frame, .op = TimelineOp::SPAWN, .spawn = spawner}; }
constexpr TimelineStep SpawnWith(int frame, void (*spawner)(int), int argument) {
    return {.frame = frame, .op = TimelineOp::SPAWN_WITH, .value = argument, .spawnWith = spawner};
}
constexpr TimelineStep Set(int frame, int* target, int value) {
    return {.frame = frame, .op = TimelineOp::SET, .value = value, .target = target};
}
constexpr TimelineStep HideMessage(int frame) { return {.frame = frame, .op = TimelineOp::HIDE_MESSAGE}; }
constexpr TimelineStep Music(int frame, const char* music) { return {.frame = frame, .op = TimelineOp::MUSIC, .music = music}; }
constexpr TimelineStep StageStart(int frame, int stage, const char* music) {
    return {.frame = frame, .op = TimelineOp::STAGE_START, .value = stage, .music = music};
}
constexpr TimelineStep BossStart(int frame, int seconds, const char* music) {
    return {.frame = frame, .op = TimelineOp::BOSS_START, .value = seconds, .music = music};
}
constexpr TimelineStep HoldWhile(int frame, const int32_t* alive) {
    return {.frame = frame, .op = TimelineOp::HOLD, .alive = alive};
}
constexpr TimelineStep HoldOrJump(int frame, const int32_t* alive, const int32_t* alsoAlive, int jumpTo) {
    return {.frame = frame, .op = TimelineOp::HOLD_OR_JUMP, .value = jumpTo, .alive = alive, .alsoAlive = alsoAlive};
}
constexpr TimelineStep LoopWhile(int frame, const int32_t* alive, int backTo) {
    return {.frame = frame, .op = TimelineOp::LOOP_WHILE, .value = backTo, .alive = alive};
}
constexpr TimelineStep RoundEnd(int frame) { return {.frame = frame, .op = TimelineOp::ROUND_END}; }

// The level. Stage 1 from 0, stage 2 from 1900, stage 3 from 4200, stage 4 from 6700, the end of
// the round from 8900; the final boss and the ending only in round 2.
constexpr TimelineStep TIMELINE[] = {
    StageStart(0, 1, nullptr),  // stage 1's music comes with the ship selection (round 1) or at 9600 (round 2)
    Spawn(100, SpawnDroppersLeft),
    HideMessage(100),
    Spawn(200, SpawnDroppersRight),
    Spawn(250, SpawnSwayersLeft1),
    Spawn(250, SpawnSwayersRight1),
    Spawn(300, SpawnSwayersLeft2),
    Spawn(300, SpawnSwayersRight2),
    Spawn(400, SpawnGunshipA),
    Set(470, &g_dropItemA, 1),
    Spawn(470, SpawnGunshipB),
    Spawn(600, SpawnSwayersLeft1),
    Spawn(650, SpawnSwayersRight1),
    Spawn(700, SpawnSwayersLeft2),
    Spawn(750, SpawnSwayersRight2),
    Spawn(750, SpawnPlungersA),
    Spawn(800, SpawnWideSwayersA),
    Spawn(900, SpawnGunshipA),
    Spawn(900, SpawnPlungersB),
    Spawn(950, SpawnWideSwayersB),
    Spawn(1050, SpawnPlungersA),
    Spawn(1100, SpawnFannersLeftA),
    Spawn(1100, SpawnWideSwayersA),
    Spawn(1150, SpawnFannersRightA),
    Spawn(1200, SpawnFannersLeftB),
    Spawn(1200, SpawnPlungersB),
    Spawn(1250, SpawnFannersRightB),
    Spawn(1300, SpawnWideSwayersB),
    Spawn(1450, SpawnGunshipB),
    Spawn(1500, SpawnSwayersLeft1),
    Spawn(1500, SpawnSwayersRight1),
    BossStart(1700, 50, MUSIC_BGM04),
    SpawnWith(1700, SpawnBossOne, 0),
    HoldWhile(1702, &g_bossOne.alive),
    StageStart(1900, 2, MUSIC_BGM02),
    HideMessage(2000),
    Spawn(2000, SpawnHoverersLeftA),
    Spawn(2050, SpawnFannersRightB),
    Spawn(2100, SpawnHoverersRightA),
    Spawn(2100, SpawnFannersRightA),
    Spawn(2150, SpawnFannersLeftB),
    Spawn(2200, SpawnFannersLeftA),
    Set(2250, &g_dropItemA, 1),
    Spawn(2250, SpawnGunshipB),
    Set(2400, &g_bulletSlowdownHigh, 1),
    Set(2400, &g_dropItemA, 1),
    SpawnWith(2400, SpawnMidBoss, 0),
    HoldWhile(2402, &g_midBoss.alive),
    Set(2410, &g_bulletSlowdownHigh, 1),
    Spawn(2410, SpawnHoverersLeftA),
    Spawn(2410, SpawnSwayersLeft1),
    Spawn(2460, SpawnHoverersRightA),
    Spawn(2460, SpawnSwayersRight1),
    Spawn(2510, SpawnSwayersLeft2),
    Spawn(2560, SpawnSwayersRight2),
    Spawn(2610, SpawnFannersLeftB),
    Spawn(2610, SpawnFannersRightB),
    Spawn(2680, SpawnStrafersLeft),
    Spawn(2680, SpawnStrafersRight),
    Spawn(2780, SpawnGunshipA),
    Spawn(2840, SpawnGunshipB),
    Spawn(2900, SpawnGunshipC),
    Spawn(2960, SpawnGunshipD),
    Spawn(3120, SpawnArcersFromLeftA),
    Spawn(3150, SpawnArcersFromRightA),
    Spawn(3180, SpawnArcersFromLeftB),
    Spawn(3210, SpawnArcersFromRightB),
    Set(3290, &g_dropItemB, 1),
    Spawn(3290, SpawnGunshipA),
    Spawn(3290, SpawnGunshipB),
    Spawn(3420, SpawnSinkersLeftA),
    Spawn(3450, SpawnSinkersRightA),
    Spawn(3480, SpawnSinkersMiddleA),
    Spawn(3510, SpawnSinkersLeftB),
    Spawn(3540, SpawnSinkersRightB),
    Spawn(3570, SpawnSinkersMiddleB),
    Spawn(3620, SpawnWideSwayersA),
    Spawn(3620, SpawnArcersFromLeftA),
    Spawn(3620, SpawnArcersFromRightA),
    Spawn(3670, SpawnArcersFromLeftB),
    Spawn(3670, SpawnArcersFromRightB),
    BossStart(3870, 60, MUSIC_BGM04),
    SpawnWith(3870, SpawnBossTwo, 0),
    HoldOrJump(3872, &g_bossTwo.alive, nullptr, 4000),
    StageStart(4200, 3, MUSIC_BGM01),
    HideMessage(4300),
    Spawn(4300, SpawnFannersLeftA),
    Spawn(4330, SpawnFannersRightA),
    Spawn(4330, SpawnArcersFromLeftA),
    HideMessage(4360),
    Spawn(4360, SpawnFannersLeftB),
    Spawn(4360, SpawnArcersFromRightA),
    Spawn(4390, SpawnFannersRightB),
    Spawn(4390, SpawnArcersFromLeftB),
    Spawn(4450, SpawnArcersFromRightB),
    Set(4500, &g_dropItemC, 1),
    Set(4500, &g_dropItemA, 1),
    Spawn(4500, SpawnGunshipA),
    Spawn(4550, SpawnGunshipB),
    Spawn(4700, SpawnWideSwayersA),
    Spawn(4700, SpawnGunnersA),
    Spawn(4700, SpawnHoverersLeftA),
    Spawn(4750, SpawnGunnersB),
    Spawn(4750, SpawnHoverersRightA),
    Spawn(4750, SpawnSwayersLeft1),
    Spawn(4800, SpawnGunnersC),
    Spawn(4800, SpawnSwayersRight1),
    Spawn(4850, SpawnGunnersA),
    Spawn(4850, SpawnDroppersLeft),
    Spawn(4850, SpawnSwayersLeft2),
    Spawn(4900, SpawnGunnersB),
    Spawn(4900, SpawnArcersFromLeftA),
    Spawn(4900, SpawnSwayersRight2),
    Spawn(4950, SpawnDroppersRight),
    Spawn(4950, SpawnArcersFromRightA),
    Spawn(4950, SpawnGunnersC),
    Spawn(5000, SpawnArcersFromLeftB),
    Spawn(5000, SpawnGunnersA),
    Spawn(5050, SpawnArcersFromRightB),
    Spawn(5050, SpawnGunnersB),
    Set(5100, &g_bulletSlowdownHigh, 1),
    SpawnWith(5100, SpawnMidBoss, 1),
    Spawn(5100, SpawnGunnersC),
    HoldWhile(5102, &g_midBoss.alive),
    Set(5200, &g_dropItemB, 1),
    Set(5200, &g_bulletSlowdownHigh, 1),
    Spawn(5200, SpawnMidBossTwo),
    HoldWhile(5202, &g_midBossTwo.alive),
    Set(5300, &g_bulletSlowdownHigh, 1),
    Spawn(5300, SpawnWideSwayersA),
    Spawn(5300, SpawnGunnersA),
    Spawn(5300, SpawnHoverersLeftA),
    Spawn(5350, SpawnGunnersB),
    Spawn(5350, SpawnHoverersRightA),
    Spawn(5350, SpawnSwayersLeft1),
    Spawn(5400, SpawnGunnersC),
    Spawn(5400, SpawnSwayersRight1),
    Spawn(5450, SpawnGunnersA),
    Spawn(5450, SpawnDroppersLeft),
    Spawn(5450, SpawnSwayersLeft2),
    Spawn(5500, SpawnGunnersB),
    Spawn(5500, SpawnArcersFromLeftA),
    Spawn(5500, SpawnSwayersRight2),
    Spawn(5550, SpawnDroppersRight),
    Spawn(5550, SpawnArcersFromRightA),
    Spawn(5550, SpawnGunnersC),
    Spawn(5600, SpawnArcersFromLeftB),
    Spawn(5600, SpawnGunnersA),
    Spawn(5650, SpawnCruisers),
    Spawn(5650, SpawnArcersFromRightB),
    Spawn(5650, SpawnGunnersB),
    Spawn(5700, SpawnGunnersC),
    Spawn(5930, SpawnHoverersLeftA),
    Spawn(5930, SpawnHoverersRightA),
    Spawn(5930, SpawnWideSwayersB),
    Set(5980, &g_bulletSlowdownHigh, 1),
    Spawn(5980, SpawnFannersLeftB),
    Spawn(5980, SpawnFannersRightB),
    SpawnWith(6030, SpawnMidBoss, 2),
    Spawn(6040, SpawnMidBossEscort),
    HoldOrJump(6042, &g_midBossEscort.alive, &g_midBoss.alive, 6060),
    Set(6200, &g_bulletSlowdownHigh, 1),
    Spawn(6200, SpawnWideSwayersB),
    Set(6200, &g_dropItemA, 1),
    Set(6200, &g_dropItemB, 1),
    Spawn(6200, SpawnGunshipA),
    Spawn(6200, SpawnGunshipB),
    BossStart(6500, 70, MUSIC_BGM04),
    Spawn(6500, SpawnBossThree),
    HoldWhile(6502, &g_bossThree.alive),
    StageStart(6700, 4, MUSIC_BGM02),
    HideMessage(6800),
    Spawn(6800, SpawnFrigates),
    Spawn(6850, SpawnGunnersB),
    Spawn(7050, SpawnHoverersLeftA),
    Spawn(7050, SpawnHoverersRightA),
    Spawn(7100, SpawnWideSwayersB),
    Spawn(7150, SpawnGunnersB),
    Set(7230, &g_dropItemB, 1),
    Set(7230, &g_dropItemA, 1),
    Spawn(7230, SpawnGunshipA),
    Spawn(7230, SpawnGunshipB),
    Spawn(7400, SpawnGunnersA),
    Spawn(7400, SpawnStrafersLeft),
    Spawn(7400, SpawnStrafersRight),
    Spawn(7450, SpawnGunnersB),
    Spawn(7500, SpawnGunnersC),
    Spawn(7550, SpawnSinkersLeftA),
    Spawn(7550, SpawnSinkersRightA),
    Spawn(7600, SpawnSpinnersLeftA),
    Set(7650, &g_dropItemB, 1),
    SpawnWith(7650, SpawnMidBoss, 3),
    Spawn(7650, SpawnSpinnersRightA),
    Spawn(7700, SpawnSpinnersLeftB),
    Spawn(7750, SpawnSpinnersRightB),
    Spawn(7800, SpawnSpinnersLeftA),
    Spawn(7850, SpawnSpinnersRightA),
    // While the mid-boss lives, the spinner waves of 7700 to 7850 come round again.
    LoopWhile(7900, &g_midBoss.alive, 7699),
    BossStart(8100, 60, MUSIC_BGM04),
    SpawnWith(8100, SpawnBossOne, 1),
    HoldWhile(8102, &g_bossOne.alive),
    BossStart(8300, 60, nullptr),
    SpawnWith(8300, SpawnBossTwo, 1),
    HoldWhile(8302, &g_bossTwo.alive),
    Set(8500, &g_dropItemB, 1),
    Set(8500, &g_dropItemA, 1),
    Spawn(8500, SpawnGunshipA),
    Spawn(8500, SpawnGunshipB),
    BossStart(8700, 70, nullptr),
    Spawn(8700, SpawnBossFour),
    HoldWhile(8702, &g_bossFour.alive),
    Music(8900, MUSIC_BGM05),
    Set(8900, &g_storyActive, 1),
    Set(8900, &g_storyLines, 0),
    Set(9030, &g_storyLines, 1),
    Set(9160, &g_storyLines, 2),
    Set(9290, &g_storyLines, 3),
    Set(9420, &g_storyLines, 4),
    Set(9600, &g_storyActive, 0),
    RoundEnd(9600),
    Set(9700, &g_bulletSlowdownHigh, 1),
    HideMessage(9700),
    BossStart(9700, 99, nullptr),
    Spawn(9700, SpawnBossFinal),
    HoldWhile(9702, &g_bossFinal.alive),
    Music(9900, MUSIC_BGM06),
    Set(9900, &g_endingActive, 1),
};

constexpr bool TimelineIsSorted() {
    for (size_t i = 1; i < std::size(TIMELINE); ++i) {
        if (TIMELINE[i].frame < TIMELINE[i - 1].frame) return false;
    }
    return true;
}
static_assert(TimelineIsSorted(), "the timeline is looked up by frame and must stay in frame order");

bool IsAlive(const int32_t* alive) { return alive != nullptr && *alive == 1; }

// The counter is written before the increment that follows every call, so writing frame - 1
// keeps the timeline on this frame and writing n makes n + 1 the next frame.
void PerformStep(const TimelineStep& step) {
    switch (step.op) {
        case TimelineOp::SPAWN: step.spawn(); break;
        case TimelineOp::SPAWN_WITH: step.spawnWith(step.value); break;
        case TimelineOp::SET: *step.target = step.value; break;
        case TimelineOp::HIDE_MESSAGE: HideMessageImage(); break;
        case TimelineOp::MUSIC: PlayMusic(step.music); break;
        case TimelineOp::STAGE_START:
            g_bulletSlowdownHigh = 1;
            // The first two stages aim tighter in the first round; the last two never do.
            g_aimJitterWide = step.value <= 2 ? (g_round == 2 ? 1 : 0) : 1;
            if (step.music != nullptr) PlayMusic(step.music);
            ShowMessageImage(step.value);
            break;
        case TimelineOp::BOSS_START:
            g_bulletSlowdownHigh = 1;
            if (step.music != nullptr) PlayMusic(step.music);
            g_bossTimerVisible = 1;
            g_bossTimer = step.value;
            g_bossTimerTick = 0;
            break;
        case TimelineOp::HOLD:
            if (IsAlive(step.alive)) g_stageFrame = step.frame - 1;
            break;
        case TimelineOp::HOLD_OR_JUMP:
            g_stageFrame = IsAlive(step.alive) || IsAlive(step.alsoAlive) ? step.frame - 1 : step.value;
            break;
        case TimelineOp::LOOP_WHILE:
            if (IsAlive(step.alive)) g_stageFrame = step.value;
            break;
        case TimelineOp::ROUND_END:
            if (g_round == 1) {
                PlayMusic(MUSIC_BGM01);
                g_stageFrame = -1;  // the next call is frame 0 of round 2
                g_round = 2;
            } else {
                PlayMusic(MUSIC_BGM04);
                g_bulletSlowdownHigh = 1;
                ShowMessageImage(5);
            }
            break;
    }
}

}  // namespace

void ResetStage() {
    g_stageFrame = 0;
    g_round = 1;
    g_bossTimer = 0;
    g_bossTimerTick = 0;
    g_bossTimerVisible = 0;
    g_bulletSlowdownHigh = 0;
    g_dropItemA = 0;
    g_dropItemB = 0;
    g_dropItemC = 0;
    g_enemyAnimX = 0;
    g_largeEnemyAnimX = 0;
}

void UpdateStageTimeline() {
    const int frame = g_stageFrame;
    const TimelineStep* step = std::lower_bound(std::begin(TIMELINE), std::end(TIMELINE), frame,
                                                [](const TimelineStep& s, int f) { return s.frame < f; });
    for (; step != std::end(TIMELINE) && step->frame == frame; ++step) PerformStep(*step);
    ++g_stageFrame;
}

// The screen states and the in-game frame. The title shows the splash, slides the logo in and
// waits for the start control; the in-game frame calls every part of the game in one fixed order
// that everything else relies on: enemies move and are hit before the player moves, the player's
// shots are spawned after the enemies were tested against the previous frame's, enemy bullets
// move after the player, the timeline spawns what appears next frame, and the displays come last.
#include <cstring>
#include <span>

#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "video/display.h"

int g_screenState = SCREEN_SPLASH;
int g_splashTimer = 0;
int g_titleInputDelay = 0;
int g_blinkTimer = 0;
TitleLogoPiece g_titleLogoUpper = {55, -100, 90, 100};
TitleLogoPiece g_titleLogoLower = {55, 230, 90, 100};
int g_fpsFrameCount = 0;
float g_fpsValue = 0.0f;
uint32_t g_fpsNextTick = 0;

namespace {

// A step of the in-game frame that draws: false when the display was lost and could not be
// restored. The first step that fails abandons the frame; the steps after it do not run.
using DrawingStep = bool (*)();

bool RunSteps(std::span<const DrawingStep> steps) {
    for (const DrawingStep step : steps) {
        if (!step()) return false;
    }
    return true;
}

constexpr DrawingStep OPENING_STEPS[] = {UpdateStars, UpdateShipSelect};
constexpr DrawingStep EFFECT_STEPS[] = {UpdateExplosions, UpdateDebris, UpdatePlayerShips};
constexpr DrawingStep SHOT_STEPS[] = {UpdatePlayerShots, UpdateBomb, UpdateUnitShotsA, UpdateUnitShotsB};
// The pictures and figures around the fight, in their drawing order; the game-over panels and
// the ending may reset the game on the way, and the steps after them still run.
constexpr DrawingStep DISPLAY_STEPS[] = {
    DrawMessageImage,
    DrawStoryText,
    DrawLives,
    DrawScoreLevel,
    UpdateItemsAndGauges,
    UpdateChain,
    DrawScorePopup,
    UpdateEnding,
    UpdateContinueScreen,
    UpdateGameOver,
    DrawBulletCountAndTimer,
};

bool DrawTitleLogo() {
    const TitleLogoPiece& u = g_titleLogoUpper;
    const TitleLogoPiece& l = g_titleLogoLower;
    if (!DrawRegionPart(atlas::Get("titleLogoUpper"), u.x, u.y, u.width, u.height)) return false;
    return DrawRegionPart(atlas::Get("titleLogoLower"), l.x, l.y, l.width, l.height);
}

bool StartControlHeld() {
    if (g_useJoystick == 0) return IsKeyDown(VK_Z) || IsKeyDown(VK_CONTROL) || IsKeyDown(VK_SPACE);
    return g_joystickState.buttons[0] != 0;
}

void CountFramesPerSecond() {
    const uint32_t now = PlatGetTickCount();
    int count = g_fpsFrameCount;
    if (now >= g_fpsNextTick) {
        g_fpsValue = static_cast<float>(g_fpsFrameCount);
        g_fpsNextTick = PlatGetTickCount() + 1000;
        count = 0;
    }
    g_fpsFrameCount = count + 1 > 999 ? 999 : count + 1;
}

}  // namespace

bool UpdateTitleScreen() {
    if (g_screenState == SCREEN_SPLASH) {
        if (!DrawRegion(atlas::Get("splash"), 0, 0)) return false;
        if (++g_splashTimer == 60) {
            g_screenState = SCREEN_TITLE_SLIDE;
            g_splashTimer = 0;
        }
    }
    if (g_screenState == SCREEN_TITLE_SLIDE) {
        if (g_titleLogoUpper.y < 20) {
            g_titleLogoUpper.y += 10;
            g_titleLogoLower.y -= 10;
        } else {
            g_fieldClearColour = 249;  // the logo's arrival flashes for one frame
            PlaySoundEffect(SoundEffect::HeavyExplosion);
            PlaySoundEffect(SoundEffect::Explosion);
            g_screenState = SCREEN_TITLE;
        }
        if (!DrawTitleLogo()) return false;
    }
    if (g_screenState == SCREEN_TITLE) {
        if (!DrawScores(0)) return false;
        if (!DrawRegion(atlas::Get("titleHiLabel"), 50, 0)) return false;
        if (g_titleInputDelay >= 5) {
            g_titleInputDelay = 5;
            // A watched replay starts by itself; otherwise the shot control starts the game.
            if (g_watchingReplay == 1 || StartControlHeld()) StartGame();
        }
        ++g_titleInputDelay;
        if (g_blinkTimer <= 15 && !DrawRegion(atlas::Get("pushStartLine"), 20, 220)) return false;
        if (++g_blinkTimer == 30) g_blinkTimer = 0;
        if (!DrawTitleLogo()) return false;
    }
    return true;
}

void StartGame() {
    g_hiScore = g_savedHiScore;
    g_ships[0].active = 1;
    g_ships[1].active = 1;
    g_shipSelectActive = 1;
    g_screenState = SCREEN_GAME;
    g_replayFrame = 0;
    // A live game starts a clean recording; a watched replay keeps the loaded one.
    if (!g_watchingReplay) std::memset(g_replayRecords, 0, sizeof g_replayRecords);
    PlayMusic("open bgm03.mid alias BGM wait");
}

bool UpdateGameFrame() {
    if (g_screenState != SCREEN_GAME) return true;
    UpdateAimJitter();
    if (!RunSteps(OPENING_STEPS)) return false;
    if (g_playing) {
        if (g_continueActive == 0) UpdateEnemies();
        if (!ResolveCollisions()) return false;
    }
    if (!RunSteps(EFFECT_STEPS)) return false;
    if (g_playing) {
        g_idleSpeedBonus = 1;
        if (!RunSteps(SHOT_STEPS)) return false;
        g_fireArmed = 1;
    }
    CountFramesPerSecond();
    // The record of this frame: recording writes its figure here, and playback shows the figure
    // from this same record below.
    const int32_t frameRecord = g_replayFrame;
    if (!g_watchingReplay) g_replayRecords[frameRecord].fps = static_cast<int8_t>(static_cast<int>(g_fpsValue));
    if (g_replayFrame < MAX_REPLAY_FRAMES - 1) ++g_replayFrame;
    if (g_playing) {
        if (!UpdateSmallBullets() || !UpdateLargeBullets()) return false;
        if (g_continueActive == 0) UpdateStageTimeline();
        UpdateBossBlast(g_bossBlastX, g_bossBlastY);
        if (!RunSteps(DISPLAY_STEPS)) return false;
    }
    if (!DrawScores(1)) return false;
    if (!DrawNumber(192, 0, static_cast<int>(g_fpsValue))) return false;
    if (g_watchingReplay) {
        if (!DrawNumber(192, 10, g_replayRecords[frameRecord].fps)) return false;
        if (!DrawRegion(atlas::Get("replayMark"), 158, 0)) return false;
    }
    if (g_pauseRequested == 1) {
        if (!DrawRegion(atlas::Get("pauseLabel"), 60, 80)) return false;
        g_paused = 1;
    }
    return true;
}

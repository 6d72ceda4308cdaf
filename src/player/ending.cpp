// The pictures the stage timeline shows around the fight: the stage caption, the story text
// between the loops (revealed a line at a time), and the ending after the final boss, six
// pictures falling down the field one after another, the last one coming to rest before the
// game commits its high score and returns to the splash picture.
#include "input/input.h"
#include "player/combat.h"
#include "player/player.h"
#include "stage/stage.h"
#include "video/display.h"

// Caption, story and ending state; set by the stage timeline, reset by ResetGame.
int g_messageVisible = 0;
int g_messageRowY = 0;
int g_storyActive = 0;
int g_storyLines = 0;
int g_endingActive = 0;
int g_endingTick = 0;
int g_endingSlotActive[ENDING_PICTURES] = {};
int g_endingX[ENDING_PICTURES] = {25, 25, 25, 25, 25, 25};
int g_endingY[ENDING_PICTURES] = {-20, -20, -20, -20, -20, -20};
int g_endingHold = 0;
// The caption's place on the field; InitObjectPools sets it.
MessagePicture g_messagePicture = {50, 100, 100, 20};

namespace {

inline constexpr int ENDING_START_TICKS[ENDING_PICTURES] = {100, 350, 600, 850, 1100, 1350};
inline constexpr const atlas::Region* ENDING_PICTURE[ENDING_PICTURES] = {
    &atlas::Get("ending0"), &atlas::Get("ending1"), &atlas::Get("ending2"),
    &atlas::Get("ending3"), &atlas::Get("ending4"), &atlas::Get("ending5"),
};
inline constexpr int ENDING_LAST = ENDING_PICTURES - 1;
inline constexpr int ENDING_REST_Y = 100;
inline constexpr int ENDING_HOLD = 250;
inline constexpr int STORY_LAST_LINE = 4;
// The story's lines, one set a round.
inline constexpr const atlas::Region* STORY_LINE[2][STORY_LAST_LINE + 1] = {
    {&atlas::Get("storyRound1Line0"), &atlas::Get("storyRound1Line1"), &atlas::Get("storyRound1Line2"),
     &atlas::Get("storyRound1Line3"), &atlas::Get("storyRound1Line4")},
    {&atlas::Get("storyRound2Line0"), &atlas::Get("storyRound2Line1"), &atlas::Get("storyRound2Line2"),
     &atlas::Get("storyRound2Line3"), &atlas::Get("storyRound2Line4")},
};

}  // namespace

void InitMessagePicture() {
    g_messagePicture = MessagePicture{50, 100, 100, 20};
    g_messageVisible = 0;
}

// Captions 1..4 are the stages, 5 the warning before the final boss; the second round's rows
// lie four below the first round's.
void ShowMessageImage(int n) {
    const int m = n > 0 ? n - 1 : n;
    g_messageVisible = 1;
    g_messageRowY = 20 * (g_round == 2 ? m + 4 : m);
}

void HideMessageImage() { g_messageVisible = 0; }

bool DrawMessageImage() {
    if (g_messageVisible != 1) return true;
    const MessagePicture& p = g_messagePicture;
    return DrawRegionPart(atlas::Get("stageCaption0"), p.x, p.y, p.width, p.height, 0, g_messageRowY);
}

bool DrawStoryText() {
    if (g_storyActive != 1) return true;
    for (int k = 0; k <= g_storyLines && k <= STORY_LAST_LINE; ++k) {
        if (!DrawRegion(*STORY_LINE[g_round == 1 ? 0 : 1][k], 0, 60 + 15 * k)) return false;
    }
    return true;
}

bool UpdateEnding() {
    if (g_endingActive != 1) return true;
    for (int k = 0; k < ENDING_PICTURES; ++k) {
        if (g_endingTick == ENDING_START_TICKS[k]) g_endingSlotActive[k] = 1;
    }
    ++g_endingTick;
    for (int k = 0; k < ENDING_PICTURES; ++k) {
        if (g_endingSlotActive[k] != 1) continue;
        ++g_endingY[k];
        if (k == ENDING_LAST && g_endingY[k] >= ENDING_REST_Y) {
            g_endingY[k] = ENDING_REST_Y;
            // The game is over: the record, then back to the splash picture. The last picture is
            // still drawn into this frame, from its reset place.
            if (++g_endingHold == ENDING_HOLD) {
                CommitHighScore();
                g_endGame();
            }
        }
        if (g_endingY[k] >= FIELD_HEIGHT) g_endingSlotActive[k] = 0;
        if (!DrawRegion(*ENDING_PICTURE[k], g_endingX[k], g_endingY[k])) return false;
    }
    return true;
}

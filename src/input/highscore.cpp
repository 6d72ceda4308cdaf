// The high score: four bytes in score.dat, written together with the replay of the game that set
// it.
#include <cstdio>

#include "input/input.h"
#include "player/player.h"

int32_t g_savedHiScore = DEFAULT_HIGH_SCORE;
GameResult g_lastGameResult;

void ReadHighScoreFile() {
    g_savedHiScore = DEFAULT_HIGH_SCORE;
    std::FILE* f = std::fopen("score.dat", "rb");
    if (!f) return;
    uint8_t b[4] = {};
    // A short file leaves the bytes it could not read as they were.
    const size_t got = std::fread(b, 1, 4, f);
    std::fclose(f);
    if (got == 0) return;
    uint32_t value = static_cast<uint32_t>(g_savedHiScore);
    for (size_t i = 0; i < got; ++i) value = (value & ~(0xFFu << (8 * i))) | static_cast<uint32_t>(b[i]) << (8 * i);
    g_savedHiScore = static_cast<int32_t>(value);
}

void WriteHighScoreFile() {
    std::FILE* f = std::fopen("score.dat", "wb");
    if (!f) return;  // cannot be written: nothing is, and play goes on
    const auto v = static_cast<uint32_t>(g_savedHiScore);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    std::fwrite(b, 1, 4, f);
    std::fclose(f);
}

void LoadHighScore() {
    ReadHighScoreFile();
    g_hiScore = g_savedHiScore;
}

void CommitHighScore() {
    if (g_continued != 0) return;
    g_lastGameResult = GameResult{g_score, g_replayFrame, g_lastGameResult.games + 1};
    if (g_watchingReplay != 0) return;
    if (!(g_hiScore > g_savedHiScore)) return;
    SaveReplay();
    g_savedHiScore = g_hiScore;
    WriteHighScoreFile();
}

// The high score: four bytes in score.dat, written together with the replay of the game that set
// it. The two are saved as one commit (platform/file_commit.cpp): after a crash, a full disk or a
// file in the way, the next start finds the old pair or the new pair, never one of each.
#include <cstdio>
#include <vector>

#include "input/input.h"
#include "input/record_files.h"
#include "player/player.h"

int32_t g_savedHiScore = DEFAULT_HIGH_SCORE;
GameResult g_lastGameResult;

namespace {

// The bytes of the file being written; lives for the one save.
uint8_t g_scoreBytes[4] = {};

PlatRecordFile HighScoreFileContent() {
    const auto v = static_cast<uint32_t>(g_savedHiScore);
    g_scoreBytes[0] = static_cast<uint8_t>(v);
    g_scoreBytes[1] = static_cast<uint8_t>(v >> 8);
    g_scoreBytes[2] = static_cast<uint8_t>(v >> 16);
    g_scoreBytes[3] = static_cast<uint8_t>(v >> 24);
    PlatRecordFile file;
    file.name = "score.dat";
    file.head = g_scoreBytes;
    file.headBytes = sizeof g_scoreBytes;
    return file;
}

}  // namespace

int32_t HighScoreFromBytes(const uint8_t* bytes, size_t size) {
    // A short file replaces only the low bytes it holds; the rest keep the default's.
    uint32_t value = static_cast<uint32_t>(DEFAULT_HIGH_SCORE);
    for (size_t i = 0; i < size && i < 4; ++i) value = (value & ~(0xFFu << (8 * i))) | static_cast<uint32_t>(bytes[i]) << (8 * i);
    return static_cast<int32_t>(value);
}

void ReadHighScoreFile() {
    std::vector<uint8_t> bytes;
    g_savedHiScore = ReadRecordFile("score.dat", 4, &bytes) ? HighScoreFromBytes(bytes.data(), bytes.size()) : DEFAULT_HIGH_SCORE;
}

bool WriteHighScoreFile() {
    const PlatRecordFile file = HighScoreFileContent();
    return CommitRecords(&file, 1, "the high score");
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
    // The game goes on with the new high score whether or not it could be saved.
    g_savedHiScore = g_hiScore;
    // The replay and the score in one commit, the replay renamed into place first.
    const PlatRecordFile files[2] = {ReplayFileContent(), HighScoreFileContent()};
    CommitRecords(files, 2, "the new high score and its replay");
}

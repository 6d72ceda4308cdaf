// The replay: seven bytes per in-game frame (six controls and the frames-per-second figure),
// saved as replay.rep after a new high score and played back by the dialog's third button.
#include <cstdio>
#include <cstring>

#include "input/input.h"

ReplayRecord g_replayRecords[MAX_REPLAY_FRAMES] = {};
int32_t g_replayFrame = 0;

void SaveReplay() {
    // A file that cannot be created is simply not written; play goes on.
    std::FILE* f = std::fopen("replay.rep", "wb");
    if (!f) return;
    const uint32_t magic = REPLAY_MAGIC;
    uint8_t bytes[4] = {static_cast<uint8_t>(magic), static_cast<uint8_t>(magic >> 8),
                        static_cast<uint8_t>(magic >> 16), static_cast<uint8_t>(magic >> 24)};
    std::fwrite(bytes, 1, 4, f);
    std::fwrite(g_replayRecords, sizeof(ReplayRecord), static_cast<size_t>(g_replayFrame), f);
    std::fclose(f);
}

bool LoadReplay() {
    std::FILE* f = std::fopen("replay.rep", "rb");
    if (!f) return false;
    uint8_t bytes[4] = {};
    if (std::fread(bytes, 1, 4, f) != 4) {
        std::fclose(f);
        return false;
    }
    const uint32_t magic = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    if (magic != REPLAY_MAGIC) {
        std::fclose(f);
        return false;
    }
    // At most the whole record array; a shorter file fills only the first records (a trailing
    // partial record fills the first bytes of one more), a longer one is cut.
    [[maybe_unused]] const size_t read = std::fread(g_replayRecords, 1, sizeof g_replayRecords, f);
    std::fclose(f);
    return true;
}

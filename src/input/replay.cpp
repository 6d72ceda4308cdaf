// The replay: seven bytes per in-game frame (six controls and the frames-per-second figure),
// saved as replay.rep after a new high score and played back by the dialog's third button.
#include <cstring>
#include <vector>

#include "input/input.h"
#include "input/record_files.h"

ReplayRecord g_replayRecords[MAX_REPLAY_FRAMES] = {};
int32_t g_replayFrame = 0;

namespace {

// The magic number as it stands in the file, little-endian.
constexpr uint8_t MAGIC_BYTES[4] = {static_cast<uint8_t>(REPLAY_MAGIC), static_cast<uint8_t>(REPLAY_MAGIC >> 8),
                                    static_cast<uint8_t>(REPLAY_MAGIC >> 16), static_cast<uint8_t>(REPLAY_MAGIC >> 24)};

}  // namespace

PlatRecordFile ReplayFileContent() {
    PlatRecordFile file;
    file.name = "replay.rep";
    file.head = MAGIC_BYTES;
    file.headBytes = sizeof MAGIC_BYTES;
    file.body = g_replayRecords;
    file.bodyBytes = sizeof(ReplayRecord) * static_cast<size_t>(g_replayFrame);
    return file;
}

bool ReadReplayBytes(const uint8_t* bytes, size_t size) {
    if (size < sizeof MAGIC_BYTES || std::memcmp(bytes, MAGIC_BYTES, sizeof MAGIC_BYTES) != 0) return false;
    // At most the whole record array; a shorter file fills only the first records (a trailing
    // partial record fills the first bytes of one more), a longer one is cut.
    size_t rest = size - sizeof MAGIC_BYTES;
    if (rest > sizeof g_replayRecords) rest = sizeof g_replayRecords;
    if (rest > 0) std::memcpy(g_replayRecords, bytes + sizeof MAGIC_BYTES, rest);
    return true;
}

bool LoadReplay() {
    // Read once, at the dialog: the file's first 4 + 756000 bytes at most.
    std::vector<uint8_t> bytes;
    return ReadRecordFile("replay.rep", sizeof MAGIC_BYTES + sizeof g_replayRecords, &bytes) &&
           ReadReplayBytes(bytes.data(), bytes.size());
}

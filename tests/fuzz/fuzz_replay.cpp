// Fuzz target: the reader of replay.rep on the file's bytes. An accepted file must read back as
// the records it holds: the bytes after the magic, up to the record array's size.
#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "input/input.h"

FUZZ_TARGET {
    std::memset(g_replayRecords, 0, sizeof g_replayRecords);
    if (!ReadReplayBytes(data, size)) {
        Require(size < 4 || data[0] != 0xF2 || data[1] != 0x9E || data[2] != 0x8E || data[3] != 0x02);
        return 0;
    }
    const size_t held = std::min(size - 4, sizeof g_replayRecords);
    Require(std::memcmp(g_replayRecords, data + 4, held) == 0);
    // Saving what was read (whole records only) gives the same bytes back.
    g_replayFrame = static_cast<int32_t>(held / sizeof(ReplayRecord));
    const PlatRecordFile file = ReplayFileContent();
    Require(file.headBytes == 4 && std::memcmp(file.head, data, 4) == 0);
    Require(file.bodyBytes == held - held % sizeof(ReplayRecord));
    return 0;
}

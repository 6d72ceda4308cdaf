// Fuzz target: the reader of replay.rep on the file's bytes. An accepted file must read back as
// the records it holds: the bytes after the magic, up to the record array's size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "input/input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::memset(g_replayRecords, 0, sizeof g_replayRecords);
    if (!ReadReplayBytes(data, size)) {
        if (size >= 4 && data[0] == 0xF2 && data[1] == 0x9E && data[2] == 0x8E && data[3] == 0x02) __builtin_trap();
        return 0;
    }
    const size_t held = size - 4 < sizeof g_replayRecords ? size - 4 : sizeof g_replayRecords;
    if (std::memcmp(g_replayRecords, data + 4, held) != 0) __builtin_trap();
    // Saving what was read (whole records only) gives the same bytes back.
    g_replayFrame = static_cast<int32_t>(held / sizeof(ReplayRecord));
    const PlatRecordFile file = ReplayFileContent();
    if (file.headBytes != 4 || std::memcmp(file.head, data, 4) != 0) __builtin_trap();
    if (file.bodyBytes != held - held % sizeof(ReplayRecord)) __builtin_trap();
    return 0;
}

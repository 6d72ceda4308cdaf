// Fuzz target: the chunk walk of FindWaveChunks over a RIFF WAVE block. What it finds must lie
// inside the block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that a read past its end is caught.
    const std::vector<uint8_t> block(data, data + size);
    const uint8_t* format = nullptr;
    const uint8_t* samples = nullptr;
    uint32_t bytes = 0;
    const uint8_t* begin = block.data();
    const int found = FindWaveChunksInBlock(begin, static_cast<uint32_t>(block.size()), &format, &samples, &bytes);
    if (found == 1) {
        if (!format || !samples || bytes == 0) __builtin_trap();
        if (format < begin || format + 14 > begin + size) __builtin_trap();
        if (samples < begin || samples + bytes > begin + size) __builtin_trap();
    } else if (format || samples || bytes != 0) {
        __builtin_trap();
    }
    return 0;
}

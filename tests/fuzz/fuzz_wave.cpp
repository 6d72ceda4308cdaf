// Fuzz target: the chunk walk of FindWaveChunks over a RIFF WAVE block. What it finds must lie
// inside the block.
#include "fuzz_support.h"
#include "sound/sound.h"

FUZZ_TARGET {
    // A copy of exactly the input's size, so that a read past its end is caught.
    const std::vector<uint8_t> block(data, data + size);
    const uint8_t *format = nullptr, *samples = nullptr, *begin = block.data(), *end = begin + size;
    uint32_t bytes = 0;
    if (FindWaveChunksInBlock(begin, static_cast<uint32_t>(size), &format, &samples, &bytes) == 1) {
        Require(format && samples && bytes != 0);
        Require(format >= begin && format + 14 <= end && samples >= begin && samples + bytes <= end);
    } else {
        Require(!format && !samples && bytes == 0);
    }
    return 0;
}

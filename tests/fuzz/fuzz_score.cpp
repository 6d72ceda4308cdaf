// Fuzz target: the reader of score.dat on the file's bytes: a short file replaces only the low
// bytes of the default, a longer one is read for its first four.
#include "fuzz_support.h"
#include "input/input.h"

FUZZ_TARGET {
    const auto value = static_cast<uint32_t>(HighScoreFromBytes(data, size));
    for (size_t i = 0; i < 4; ++i) {
        const auto expected = i < size ? data[i] : static_cast<uint8_t>(static_cast<uint32_t>(DEFAULT_HIGH_SCORE) >> (8 * i));
        Require(static_cast<uint8_t>(value >> (8 * i)) == expected);
    }
    return 0;
}

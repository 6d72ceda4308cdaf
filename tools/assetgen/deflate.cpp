// Deflate with fixed Huffman codes. The bit order is the format's: values and extra bits go into
// the stream from their lowest bit up, Huffman codes from their highest bit down.
#include "deflate.h"

#include <algorithm>

namespace {

constexpr int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                   193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int WINDOW = 32768;
constexpr int MAX_MATCH = 258;
constexpr int HASH_SIZE = 1 << 15;
constexpr int CHAIN_STEPS = 64;  // earlier places with the same three bytes tried per position

struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t pending = 0;
    int count = 0;

    void Bits(uint32_t value, int n) {
        pending |= value << count;
        count += n;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(pending));
            pending >>= 8;
            count -= 8;
        }
    }
    void Code(uint32_t code, int n) {
        uint32_t reversed = 0;
        for (int i = 0; i < n; ++i) reversed |= ((code >> i) & 1u) << (n - 1 - i);
        Bits(reversed, n);
    }
    void Flush() {
        if (count > 0) out.push_back(static_cast<uint8_t>(pending));
        pending = 0;
        count = 0;
    }
};

// A literal byte, the end of the block (256) or a length code (257..285).
void Symbol(BitWriter& w, int symbol) {
    if (symbol < 144) {
        w.Code(0x30u + static_cast<uint32_t>(symbol), 8);
    } else if (symbol < 256) {
        w.Code(0x190u + static_cast<uint32_t>(symbol - 144), 9);
    } else if (symbol < 280) {
        w.Code(static_cast<uint32_t>(symbol - 256), 7);
    } else {
        w.Code(0xC0u + static_cast<uint32_t>(symbol - 280), 8);
    }
}

void Match(BitWriter& w, int length, int distance) {
    int l = 28;
    while (LENGTH_BASE[l] > length) --l;
    Symbol(w, 257 + l);
    w.Bits(static_cast<uint32_t>(length - LENGTH_BASE[l]), LENGTH_EXTRA[l]);
    int d = 29;
    while (DISTANCE_BASE[d] > distance) --d;
    w.Code(static_cast<uint32_t>(d), 5);
    w.Bits(static_cast<uint32_t>(distance - DISTANCE_BASE[d]), DISTANCE_EXTRA[d]);
}

}  // namespace

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    BitWriter w{out};
    w.Bits(1, 1);  // the last block
    w.Bits(1, 2);  // of fixed codes
    const long size = static_cast<long>(bytes.size());
    std::vector<long> head(HASH_SIZE, -1);
    std::vector<long> previous(bytes.size(), -1);
    const auto hash = [&](long i) {
        return ((bytes[static_cast<size_t>(i)] << 10) ^ (bytes[static_cast<size_t>(i + 1)] << 5) ^
                bytes[static_cast<size_t>(i + 2)]) & (HASH_SIZE - 1);
    };
    const auto remember = [&](long i) {
        if (i + 2 >= size) return;
        const int h = hash(i);
        previous[static_cast<size_t>(i)] = head[static_cast<size_t>(h)];
        head[static_cast<size_t>(h)] = i;
    };
    long i = 0;
    while (i < size) {
        int bestLength = 0;
        long bestDistance = 0;
        if (i + 2 < size) {
            const int longest = static_cast<int>(std::min<long>(MAX_MATCH, size - i));
            long candidate = head[static_cast<size_t>(hash(i))];
            for (int step = 0; candidate >= 0 && i - candidate <= WINDOW && step < CHAIN_STEPS; ++step) {
                int length = 0;
                while (length < longest && bytes[static_cast<size_t>(candidate + length)] == bytes[static_cast<size_t>(i + length)]) {
                    ++length;
                }
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                    if (length == longest) break;
                }
                candidate = previous[static_cast<size_t>(candidate)];
            }
        }
        if (bestLength >= 3) {
            Match(w, bestLength, static_cast<int>(bestDistance));
            for (int k = 0; k < bestLength; ++k) remember(i + k);
            i += bestLength;
        } else {
            Symbol(w, bytes[static_cast<size_t>(i)]);
            remember(i);
            ++i;
        }
    }
    Symbol(w, 256);
    w.Flush();
    return out;
}

// The record of a frame's drawing calls, kept only while the headless runner writes a trace or a
// draw log. Each call becomes one text line: the field clear "C colour", a sprite "S dstLeft
// dstTop dstRight dstBottom sheet srcLeft srcTop srcRight srcBottom mode" with its arguments as
// passed (sheet A to G, or ? for any other surface), a colour fill "F left top right bottom
// colour". The lines are folded into an FNV-1a hash and counted, and may be written out as
// they come. While no record is kept, each drawing call pays one test of a null pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/platform.h"

// FNV-1a, 64 bits: the hash of the trace's fieldHash and draws keys.
inline constexpr uint64_t FNV_OFFSET_BASIS = 14695981039346656037ull;
inline constexpr uint64_t FNV_PRIME = 1099511628211ull;

inline uint64_t HashBytes(uint64_t hash, const void* bytes, size_t count) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < count; ++i) {
        hash ^= p[i];
        hash *= FNV_PRIME;
    }
    return hash;
}

struct DrawTrace {
    uint64_t hash = FNV_OFFSET_BASIS;  // over the lines so far, each with its "\n"
    int32_t count = 0;                 // lines so far
    long tick = 0;                     // written before each line of the log
    std::FILE* log = nullptr;          // when set, every line also goes here
};

// The record the drawing calls write into: set by the headless runner around the frame of a
// tick while it writes a trace or a draw log, null at every other time.
extern DrawTrace* g_drawTrace;

// Called by RunFrame, DrawSprite and FillFieldRect when g_drawTrace is set.
void TraceFieldClear(int colour);
void TraceSprite(int dstLeft, int dstTop, int dstRight, int dstBottom, const Surface* source, int srcLeft, int srcTop,
                 int srcRight, int srcBottom, int mode);
void TraceFill(int left, int top, int right, int bottom, int colour);

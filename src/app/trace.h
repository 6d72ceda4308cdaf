// The headless trace: one JSON object per tick, and the end-of-run state dump.
#pragma once

#include <string>
#include <vector>

#include "video/draw_trace.h"

// The trace line of a tick (keys and order fixed; see the headless runner's interface); draws
// is the record of the drawing calls of the tick's frame (empty when no frame ran). The line
// replaces line's text; a line kept from tick to tick keeps its memory, so writing a trace
// takes none from the heap once the first lines are written.
void TraceLine(long tick, const std::vector<int>& sounds, const std::vector<std::string>& music, const DrawTrace& draws,
               std::string* line);
// One JSON object with every game global and every record of every pool.
std::string StateDump();
// FNV-1a 64-bit over the field's pixels, row by row.
unsigned long long FieldHash();

// Writing the lines of the drawing record: numbers in decimal with a minus sign where negative,
// fields separated by one space, each line ending in "\n". A line is built in a small buffer
// on the stack, so keeping the record costs no allocation.
#include "video/draw_trace.h"

#include <charconv>

#include "video/display.h"

DrawTrace* g_drawTrace = nullptr;

namespace {

struct LineText {
    char text[128];  // the longest line, a sprite with nine numbers of 11 characters, needs 112
    size_t length = 0;
};

void Put(LineText& line, char c) {
    if (line.length < sizeof line.text) line.text[line.length++] = c;
}

void Put(LineText& line, int value) {
    Put(line, ' ');
    const auto result = std::to_chars(line.text + line.length, line.text + sizeof line.text, value);
    line.length = static_cast<size_t>(result.ptr - line.text);
}

char SheetLetter(const Surface* source) {
    const Surface* const sheets[] = {g_sheetA, g_sheetB, g_sheetC, g_sheetD, g_sheetE, g_sheetF, g_sheetG};
    for (int i = 0; i < 7; ++i) {
        if (source != nullptr && source == sheets[i]) return static_cast<char>('A' + i);
    }
    return '?';
}

void Finish(LineText& line) {
    Put(line, '\n');
    DrawTrace& trace = *g_drawTrace;
    trace.hash = HashBytes(trace.hash, line.text, line.length);
    ++trace.count;
    if (trace.log) {
        std::fprintf(trace.log, "%ld ", trace.tick);
        std::fwrite(line.text, 1, line.length, trace.log);
    }
}

}  // namespace

void TraceFieldClear(int colour) {
    LineText line;
    Put(line, 'C');
    Put(line, colour);
    Finish(line);
}

void TraceSprite(int dstLeft, int dstTop, int dstRight, int dstBottom, const Surface* source, int srcLeft, int srcTop,
                 int srcRight, int srcBottom, int mode) {
    LineText line;
    Put(line, 'S');
    for (int value : {dstLeft, dstTop, dstRight, dstBottom}) Put(line, value);
    Put(line, ' ');
    Put(line, SheetLetter(source));
    for (int value : {srcLeft, srcTop, srcRight, srcBottom, mode}) Put(line, value);
    Finish(line);
}

void TraceFill(int left, int top, int right, int bottom, int colour) {
    LineText line;
    Put(line, 'F');
    for (int value : {left, top, right, bottom, colour}) Put(line, value);
    Finish(line);
}

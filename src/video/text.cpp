// Numbers on the field: 8 x 8 digit glyphs from row 0 of a sheet (digit d at x = 8 (d + 1)),
// right-aligned, texts terminated by '$'.
#include <cstdio>

#include "video/display.h"

int DrawNumberText(Surface* sheet, int x, int y, const char* text) {
    int n = 0;
    while (text[n] != '$' && text[n] != '\0') ++n;
    for (int i = 0; i < n; ++i) {
        const int cellLeft = x - 8 * (n - 1 - i);
        const char c = text[i];
        if (c < '0' || c > '9') continue;  // a minus sign takes its cell and draws nothing
        const int glyphX = 8 * (c - '0' + 1);
        if (!DrawSprite(cellLeft, y, cellLeft + 8, y + 8, sheet, glyphX, 0, glyphX + 8, 8, 1)) return 0;
    }
    return 1;
}

void FormatNumberText(char* buffer, int value) { std::snprintf(buffer, 16, "%d%s", value, "$"); }

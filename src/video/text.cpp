// Numbers on the field: the 8 x 8 digit glyphs of the atlas, right-aligned, texts terminated by '$'.
#include <cstdio>

#include "video/display.h"

namespace {

constexpr const atlas::Region* DIGITS[10] = {
    &atlas::Get("digit0"), &atlas::Get("digit1"), &atlas::Get("digit2"), &atlas::Get("digit3"), &atlas::Get("digit4"),
    &atlas::Get("digit5"), &atlas::Get("digit6"), &atlas::Get("digit7"), &atlas::Get("digit8"), &atlas::Get("digit9"),
};

}  // namespace

bool DrawNumberText(int x, int y, const char* text) {
    int n = 0;
    while (text[n] != '$' && text[n] != '\0') ++n;
    for (int i = 0; i < n; ++i) {
        const int cellLeft = x - 8 * (n - 1 - i);
        const char c = text[i];
        if (c < '0' || c > '9') continue;  // a minus sign takes its cell and draws nothing
        if (!DrawRegion(*DIGITS[c - '0'], cellLeft, y)) return false;
    }
    return true;
}

bool DrawNumber(int x, int y, int value) {
    char text[16];
    FormatNumberText(text, value);
    return DrawNumberText(x, y, text);
}

void FormatNumberText(char* buffer, int value) { std::snprintf(buffer, 16, "%d%s", value, "$"); }

// Dialog templates turned into pixels: base units from the dialog's font, dialog units to pixels,
// which push button a point falls on and where the keyboard focus goes next. These follow the
// rules Windows applies to a dialog template, so the start-up dialog keeps its original proportions
// whatever font draws it.
#include "platform/dialog.h"

namespace {

// MulDiv for the non-negative values of a layout: a * b / c rounded to the nearest integer.
int MulDivRounded(int a, int b, int c) {
    if (c == 0) return 0;
    const long long product = static_cast<long long>(a) * b;
    if (product >= 0) return static_cast<int>((product + c / 2) / c);
    return -static_cast<int>((-product + c / 2) / c);
}

}  // namespace

DialogBaseUnits DialogBaseUnitsFromFont(int alphabetWidth, int fontHeight) {
    // The average of the 52 letters, rounded: (width / 26 + 1) / 2.
    return DialogBaseUnits{(alphabetWidth / 26 + 1) / 2, fontHeight};
}

int DialogUnitsToPixelsX(int units, DialogBaseUnits base) { return MulDivRounded(units, base.x, 4); }

int DialogUnitsToPixelsY(int units, DialogBaseUnits base) { return MulDivRounded(units, base.y, 8); }

PlatRect DialogItemRect(const DialogItem& item, DialogBaseUnits base) {
    const int left = DialogUnitsToPixelsX(item.x, base);
    const int top = DialogUnitsToPixelsY(item.y, base);
    return PlatRect{left, top, left + DialogUnitsToPixelsX(item.width, base), top + DialogUnitsToPixelsY(item.height, base)};
}

int DialogHitTest(const DialogTemplate& dialog, DialogBaseUnits base, int x, int y) {
    for (int i = 0; i < dialog.itemCount; ++i) {
        if (dialog.items[i].kind != DIALOG_PUSH_BUTTON) continue;
        const PlatRect r = DialogItemRect(dialog.items[i], base);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
    }
    return -1;
}

int DialogNextFocus(const DialogTemplate& dialog, int current, int step) {
    const int n = dialog.itemCount;
    if (n <= 0) return -1;
    const int direction = step < 0 ? -1 : 1;
    int index = current;
    if (index < 0 || index >= n) index = direction > 0 ? n - 1 : 0;  // the search starts past the end
    for (int tries = 0; tries < n; ++tries) {
        index = (index + direction + n) % n;
        if (dialog.items[index].kind == DIALOG_PUSH_BUTTON) return index;
    }
    return -1;
}

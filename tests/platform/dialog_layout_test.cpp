// The start-up dialog's layout: dialog units to pixels as Windows converts them and which button
// a point reaches.
#include <gtest/gtest.h>

#include "app/dialog.h"
#include "platform/dialog.h"
#include "platform/platform.h"

namespace {

int IndexOfId(int id) {
    for (int i = 0; i < STARTUP_DIALOG.itemCount; ++i) {
        if (STARTUP_DIALOG.items[i].id == id && STARTUP_DIALOG.items[i].kind == DIALOG_PUSH_BUTTON) return i;
    }
    return -1;
}

TEST(DialogUnits, BaseUnitsAndConversionRoundAsWindowsDoes) {
    // The average width of the 52 letters, rounded to the nearest pixel: 6.48, then 6.5.
    EXPECT_EQ(DialogBaseUnitsFromFont(337, 12).x, 6);
    EXPECT_EQ(DialogBaseUnitsFromFont(338, 13).x, 7);
    EXPECT_EQ(DialogBaseUnitsFromFont(338, 13).y, 13);
    // Halves round up: 322.5 at 6 x 12 base units (the original desktop's), 367.5 at 7 x 13.
    const DialogBaseUnits classic{6, 12};
    EXPECT_EQ(DialogUnitsToPixelsY(215, classic), 323);
    EXPECT_EQ(DialogUnitsToPixelsX(210, DialogBaseUnits{7, 13}), 368);
    EXPECT_EQ(DialogUnitsToPixelsY(215, DialogBaseUnits{7, 13}), 349);  // 349.375

    // Origin and size are converted separately, so the right edge is not the converted x + width.
    const DialogItem keyboard = STARTUP_DIALOG.items[IndexOfId(DIALOG_BUTTON_KEYBOARD)];
    const PlatRect r = DialogItemRect(keyboard, classic);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.top, 38);     // 37.5
    EXPECT_EQ(r.right, 300);  // 15 + 285
    EXPECT_EQ(r.bottom, 61);  // 38 + 23 (22.5), where converting 40 units would give 60
}

TEST(DialogLayout, TemplateFitsItsDialogAndButtonsDoNotOverlap) {
    for (const DialogBaseUnits base : {DialogBaseUnits{6, 12}, DialogBaseUnits{7, 12}, DialogBaseUnits{8, 16}}) {
        const int w = DialogUnitsToPixelsX(STARTUP_DIALOG.width, base);
        const int h = DialogUnitsToPixelsY(STARTUP_DIALOG.height, base);
        for (int i = 0; i < STARTUP_DIALOG.itemCount; ++i) {
            const PlatRect a = DialogItemRect(STARTUP_DIALOG.items[i], base);
            EXPECT_GE(a.left, 0);
            EXPECT_GE(a.top, 0);
            EXPECT_LE(a.right, w) << STARTUP_DIALOG.items[i].text;
            EXPECT_LE(a.bottom, h) << STARTUP_DIALOG.items[i].text;
            if (STARTUP_DIALOG.items[i].kind != DIALOG_PUSH_BUTTON) continue;
            for (int j = i + 1; j < STARTUP_DIALOG.itemCount; ++j) {
                if (STARTUP_DIALOG.items[j].kind != DIALOG_PUSH_BUTTON) continue;
                const PlatRect b = DialogItemRect(STARTUP_DIALOG.items[j], base);
                const bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
                EXPECT_TRUE(apart) << STARTUP_DIALOG.items[i].text << " / " << STARTUP_DIALOG.items[j].text;
            }
        }
    }
}

TEST(DialogHitTest, ButtonsHoldTheirLeftAndTopEdgesOnly) {
    const DialogBaseUnits base{6, 12};
    const int keyboard = IndexOfId(DIALOG_BUTTON_KEYBOARD);
    const int joystick = IndexOfId(DIALOG_BUTTON_JOYSTICK);
    const int replay = IndexOfId(DIALOG_BUTTON_REPLAY);
    const int quit = IndexOfId(DIALOG_BUTTON_QUIT);
    const PlatRect k = DialogItemRect(STARTUP_DIALOG.items[keyboard], base);  // 15, 38, 300, 61
    // Its corners inside, then the points just outside its edges (the last in the gap above the
    // joystick button).
    const int corners[][2] = {{k.left, k.top},  {k.right - 1, k.bottom - 1}, {k.left - 1, k.top},
                              {k.right, k.top}, {k.left, k.top - 1},         {k.left, k.bottom}};
    for (const auto& c : corners) EXPECT_EQ(DialogHitTest(STARTUP_DIALOG, base, c[0], c[1]), &c - corners < 2 ? keyboard : -1);

    // Each button's centre, in the order they stand on screen.
    const int rows[] = {keyboard, joystick, replay, quit};
    for (const int index : rows) {
        const PlatRect r = DialogItemRect(STARTUP_DIALOG.items[index], base);
        EXPECT_EQ(DialogHitTest(STARTUP_DIALOG, base, (r.left + r.right) / 2, (r.top + r.bottom) / 2), index);
    }
    // Texts and group boxes are not buttons: inside the keyboard group box, the title.
    EXPECT_EQ(DialogHitTest(STARTUP_DIALOG, base, 60, 240) + DialogHitTest(STARTUP_DIALOG, base, 150, 10), -2);
}

}  // namespace

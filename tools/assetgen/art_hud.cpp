// The interface pictures: the bold score digits, the HUD labels and icons, the title's labels,
// the pause and replay marks, the ship-selection and continue panels, and the stage captions.
// Labels use the 5x7 font with a one-pixel shadow so they read over the action and over every
// flash colour; panels and captions sit on bevelled backing plates.
#include <cstring>
#include <string>

#include "art.h"

namespace art {

namespace {

// Bold 6x7 digits (two-pixel strokes), drawn with a shadow into 8x8 cells.
const char* const DIGITS[10][7] = {
    {".####.", "##..##", "##.###", "######", "###.##", "##..##", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "######"},
    {".####.", "##..##", "....##", "..###.", ".##...", "##....", "######"},
    {"#####.", "....##", "....##", ".####.", "....##", "....##", "#####."},
    {"...##.", "..###.", ".#.##.", "##.##.", "######", "...##.", "...##."},
    {"######", "##....", "#####.", "....##", "....##", "##..##", ".####."},
    {".####.", "##....", "##....", "#####.", "##..##", "##..##", ".####."},
    {"######", "##..##", "...##.", "..##..", "..##..", ".##...", ".##..."},
    {".####.", "##..##", "##..##", ".####.", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", ".#####", "....##", "....##", ".####."},
};

void PaintDigits(Canvas& c) {
    // White tops running into the interface cyan: the classic arcade score look.
    const uint8_t rows[7] = {GREY + 7, GREY + 7, UICYAN + 6, UICYAN + 6, UICYAN + 5, UICYAN + 4, UICYAN + 4};
    for (int d = 0; d < 10; ++d) {
        Canvas cell(8, 8);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 6; ++x)
                if (DIGITS[d][y][x] == '#') cell.Set(x, y, rows[y]);
        DropShadow(cell, UICYAN + 0, 1, 1);
        PutFrame(c, ("digit" + std::to_string(d)).c_str(), 0, cell);
    }
}

// A one-line label in gold with a shadow, centred in a w x h cell.
Canvas Label(int w, int h, const char* text, uint8_t ramp = UIGOLD) {
    Canvas cell(w, h);
    uint8_t rows[7];
    RampRows(rows, ramp, 7, 3);
    DrawTextShadowed(cell, 0, w - 1, (h - 8) / 2, text, rows, ramp + 0);
    return cell;
}

void PaintLabels(Canvas& b, Canvas& c) {
    PutFrame(b, "pushStartLine", 0, Label(160, 10, "PUSH  SHOT  BUTTON"));
    PutFrame(b, "titleHiLabel", 0, Label(25, 10, "HI"));
    PutFrame(b, "timerLabel", 0, Label(32, 10, "TIME"));
    PutFrame(b, "pauseLabel", 0, Label(80, 10, "- PAUSE -", UICYAN));

    // Chain label: "HITS" in the mini font, shadowed, beside the chain count.
    Canvas chain(16, 8);
    DrawMiniText(chain, 0, 1, "HITS", UIGOLD + 6);
    for (int x = 0; x < 16; ++x) chain.SetOn(x, 1, UIGOLD + 7);
    DropShadow(chain, UIGOLD + 0, 1, 1);
    PutFrame(c, "chainLabel", 0, chain);

    // Score level icon: "Lv" in the mini font.
    Canvas level(8, 8);
    DrawMiniText(level, 0, 1, "L", UICYAN + 6);
    DrawMiniText(level, 4, 1, "v", UICYAN + 6);
    DropShadow(level, UICYAN + 0, 1, 1);
    PutFrame(b, "scoreLevelIcon", 0, level);

    // The maximum level badge: a gold plate with "MAX" and a light band sweeping across it.
    for (int f = 0; f < 5; ++f) {
        Canvas badge(30, 10);
        Plate(badge, 0, 0, 30, 10, GOLD, GOLD + 2);
        for (int y = 1; y < 9; ++y)
            for (int x = 1; x < 29; ++x) {
                const int band = x + y / 2 - (f * 8 - 4);
                if (band >= 0 && band < 4) badge.Set(x, y, GOLD + 4);
            }
        uint8_t rows[7];
        RampRows(rows, GREY, 7, 6);
        const uint8_t shadow[7] = {GOLD, GOLD, GOLD, GOLD, GOLD, GOLD, GOLD};
        DrawText(badge, 7, 2, "MAX", shadow);
        DrawText(badge, 6, 1, "MAX", rows);
        PutFrame(b, "scoreLevelBadge", f, badge);
    }

    // Replay mark: a small plate with "REPLAY" and a play arrow.
    Canvas replay(26, 20);
    Plate(replay, 0, 0, 26, 20, UICYAN, PLATE_DARK);
    DrawMiniText(replay, 2, 3, "REPLAY", UICYAN + 6);
    for (int i = 0; i < 4; ++i) DrawLine(replay, 10 + i, 10 + i, 10 + i, 16 - i, PINK + 5 - i / 2);
    DrawLine(replay, 4, 13, 7, 13, UICYAN + 3);
    DrawLine(replay, 17, 13, 21, 13, UICYAN + 3);
    PutFrame(b, "replayMark", 0, replay);
}

// Selection panel: ship name on the first line, its character in the mini font below.
Canvas SelectPanel(const char* name, const char* line1, uint8_t ramp) {
    Canvas p(96, 24);
    Plate(p, 0, 0, 96, 24, ramp, PLATE_DARK);
    uint8_t rows[7];
    RampRows(rows, UIGOLD, 7, 4);
    DrawTextShadowed(p, 0, 96, 3, name, rows, PLATE_DARK);
    DrawMiniText(p, (96 - MiniTextWidth(line1)) / 2, 14, line1, ramp + 6);
    return p;
}

void PaintPanels(Canvas& b) {
    PutFrame(b, "selectPanel0", 0, SelectPanel("TYPE-A", "FAST - NARROW SHOT", UICYAN));
    PutFrame(b, "selectPanel1", 0, SelectPanel("TYPE-B", "SLOW - WIDE SHOT", UICYAN));

    // Continue: panel 0 is a hazard-striped cap with a warning sign (its right 40 columns lie
    // under panel 1 once both rest), panel 1 carries the words.
    Canvas p0(96, 24);
    Plate(p0, 0, 0, 96, 24, BLOOD, PLATE_DARK);
    for (int y = 2; y < 22; ++y)
        for (int x = 2; x < 94; ++x)
            if (((x + y) / 4) % 2 == 0 && (x < 22 || x > 56))
                p0.Set(x, y, UIGOLD + 4);
            else if (x < 22 || x > 56)
                p0.Set(x, y, PLATE_DARK);
    ShadePoly(p0, {39, 3, 50, 21, 28, 21}, UIGOLD, ShadeOptions{2.0f});
    FillRect(p0, 38, 9, 40, 16, BLOOD + 1);
    FillRect(p0, 38, 17, 40, 19, BLOOD + 1);
    PutFrame(b, "continuePanel0", 0, p0);
    Canvas p1(96, 24);
    Plate(p1, 0, 0, 96, 24, BLOOD, PLATE_DARK);
    uint8_t rows[7];
    RampRows(rows, BLOOD, 7, 4);
    DrawTextShadowed(p1, 0, 96, 4, "SHIP  LOST", rows, BLOOD + 0);
    DrawMiniText(p1, (96 - MiniTextWidth("BOMB KEY TO GO ON")) / 2, 14, "BOMB KEY TO GO ON", GREY + 5);
    PutFrame(b, "continuePanel1", 0, p1);

    Canvas label(96, 12);
    uint8_t gold[7];
    RampRows(gold, UIGOLD, 7, 3);
    DrawTextShadowed(label, 0, 96, 1, "CONTINUE?", gold, UIGOLD + 0);
    for (int x = 20; x < 76; ++x) label.Set(x, 10, (x & 1) ? UIGOLD + 3 : UIGOLD + 1);
    PutFrame(b, "continueLabel", 0, label);
}

// Stage captions: a plate with the stage number and, below it, the place's name.
void Caption(Canvas& b, int row, const char* title, const char* place, uint8_t ramp, bool warning) {
    Canvas p(100, 20);
    Plate(p, 0, 0, 100, 20, ramp, PLATE_DARK);
    if (warning)
        for (int y = 2; y < 18; ++y)
            for (int x = 2; x < 98; ++x)
                if ((x < 10 || x > 89) && ((x + y) / 3) % 2 == 0) p.Set(x, y, UIGOLD + 4);
    uint8_t rows[7];
    RampRows(rows, warning ? BLOOD : UIGOLD, 7, 4);
    DrawTextShadowed(p, 0, 100, 2, title, rows, PLATE_DARK);
    DrawMiniText(p, (100 - MiniTextWidth(place)) / 2, 12, place, ramp + 6);
    PutFrame(b, ("stageCaption" + std::to_string(row)).c_str(), 0, p);
}

void PaintCaptions(Canvas& b) {
    Caption(b, 0, "STAGE 1-1", "OUTER RING", UICYAN, false);
    Caption(b, 20, "STAGE 1-2", "CARRIER FLEET", UICYAN, false);
    Caption(b, 40, "STAGE 1-3", "MACHINE REEF", UICYAN, false);
    Caption(b, 60, "STAGE 1-4", "ARMADA HEART", UICYAN, false);
    Caption(b, 80, "STAGE 2-1", "THE RING BURNS", BLOOD, false);
    Caption(b, 100, "STAGE 2-2", "FLEET REBORN", BLOOD, false);
    Caption(b, 120, "STAGE 2-3", "REEF OF TEETH", BLOOD, false);
    Caption(b, 140, "STAGE 2-4", "THE HEART BEATS", BLOOD, false);
    Caption(b, 160, "WARNING", "THE CORE AWAKENS", BLOOD, true);
}

}  // namespace

void Plate(Canvas& c, int x0, int y0, int x1, int y1, uint8_t ramp, uint8_t fill) {
    FillRect(c, x0, y0, x1, y1, ramp + 0);
    FillRect(c, x0 + 1, y0 + 1, x1 - 1, y1 - 1, ramp + 2);
    FillRect(c, x0 + 1, y0 + 1, x1 - 1, y0 + 2, ramp + 5);
    FillRect(c, x0 + 1, y0 + 1, x0 + 2, y1 - 1, ramp + 4);
    FillRect(c, x0 + 2, y0 + 2, x1 - 2, y1 - 2, fill);
    // Faint scanlines on dark plates, as on the monitors of the time.
    if (fill == PLATE_DARK)
        for (int y = y0 + 3; y < y1 - 2; y += 2) FillRect(c, x0 + 2, y, x1 - 2, y + 1, SPACE + 1);
}

void PaintHud(Canvas& b, Canvas& c) {
    PaintDigits(c);
    PaintLabels(b, c);
    PaintPanels(b);
    PaintCaptions(b);
}

}  // namespace art

// The display and its surfaces: set-up, restoration after the display was lost, and release.
// Every picture comes from palette.dat and grA.dat .. grG.dat, found by the data file lookup
// (the current directory first).
#include "video/display.h"

Surface* g_primarySurface = nullptr;
Surface* g_fieldSurface = nullptr;
Surface* g_sheetA = nullptr;
Surface* g_sheetB = nullptr;
Surface* g_sheetC = nullptr;
Surface* g_sheetD = nullptr;
Surface* g_sheetE = nullptr;
Surface* g_sheetF = nullptr;
Surface* g_sheetG = nullptr;
int g_displayCreated = 0;
int g_largeDisplay = 0;
int g_magnify = 1;
int g_screenWidth = 0;
int g_screenHeight = 0;
int g_fieldClearColour = 0;
int g_baseClearColour = 15;

namespace {

constexpr const char* SHEET_FILES[7] = {"grA.dat", "grB.dat", "grC.dat", "grD.dat", "grE.dat", "grF.dat", "grG.dat"};

Surface** SheetSlot(int i) {
    Surface** slots[7] = {&g_sheetA, &g_sheetB, &g_sheetC, &g_sheetD, &g_sheetE, &g_sheetF, &g_sheetG};
    return slots[i];
}

}  // namespace

bool InitDisplay() {
    // The display mode is fixed: a 640 x 480 screen of 256 colours, which the platform then
    // scales to the window. It cannot be refused here.
    g_displayCreated = 1;
    g_failedImageFile[0] = '\0';
    g_largeDisplay = 1;
    g_screenWidth = SCREEN_WIDTH;
    g_screenHeight = SCREEN_HEIGHT;
    g_primarySurface = PlatCreatePrimarySurface(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (!g_primarySurface) return false;
    g_fieldSurface = PlatCreateSurface(FIELD_WIDTH, FIELD_HEIGHT);
    if (!g_fieldSurface) return false;
    for (int i = 0; i < 7; ++i) {
        *SheetSlot(i) = PlatCreateSurface(SHEET_WIDTH, SHEET_HEIGHT);
        if (!*SheetSlot(i)) return false;
    }
    for (int i = 0; i < 7; ++i) PlatSetColourKey(*SheetSlot(i), COLOUR_KEY_INDEX);
    if (!LoadImageFile(g_primarySurface, "palette.dat")) return false;
    if (!LoadImageFile(g_fieldSurface, "palette.dat")) return false;
    for (int i = 0; i < 7; ++i) {
        if (!LoadImageFile(*SheetSlot(i), SHEET_FILES[i])) return false;
    }
    return true;
}

bool RestoreSurfaces() {
    // Order: primary, field, A .. G. A surface that cannot be restored now is passed over; a
    // reload that fails ends the restoration (the next lost blit tries again).
    struct Entry {
        Surface* surface;
        const char* file;
    };
    const Entry entries[9] = {{g_primarySurface, "palette.dat"}, {g_fieldSurface, "palette.dat"}, {g_sheetA, SHEET_FILES[0]},
                              {g_sheetB, SHEET_FILES[1]},        {g_sheetC, SHEET_FILES[2]},      {g_sheetD, SHEET_FILES[3]},
                              {g_sheetE, SHEET_FILES[4]},        {g_sheetF, SHEET_FILES[5]},      {g_sheetG, SHEET_FILES[6]}};
    for (const Entry& e : entries) {
        if (!e.surface || !PlatRestoreSurface(e.surface)) continue;
        if (!LoadImageFile(e.surface, e.file)) return false;
    }
    return true;
}

void ReleaseDisplay() {
    if (!g_displayCreated) return;
    for (int i = 6; i >= 0; --i) {
        if (*SheetSlot(i)) {
            PlatReleaseSurface(*SheetSlot(i));
            *SheetSlot(i) = nullptr;
        }
    }
    if (g_fieldSurface) {
        PlatReleaseSurface(g_fieldSurface);
        g_fieldSurface = nullptr;
    }
    if (g_primarySurface) {
        PlatReleaseSurface(g_primarySurface);
        g_primarySurface = nullptr;
    }
    g_displayCreated = 0;
}

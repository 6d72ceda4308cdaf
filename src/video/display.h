// The display: the screen (primary surface), the off-screen play field, the seven image sheets,
// and the drawing primitives every other part of the game uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

inline constexpr int FIELD_WIDTH = 200;
inline constexpr int FIELD_HEIGHT = 240;
inline constexpr int SCREEN_WIDTH = 640;
inline constexpr int SCREEN_HEIGHT = 480;
inline constexpr int SHEET_WIDTH = 320;
inline constexpr int SHEET_HEIGHT = 240;
inline constexpr int COLOUR_KEY_INDEX = 254;

// Surfaces: created by InitDisplay, released by ReleaseDisplay; live for the whole run.
extern Surface* g_primarySurface;
extern Surface* g_fieldSurface;
extern Surface* g_sheetA;
extern Surface* g_sheetB;
extern Surface* g_sheetC;
extern Surface* g_sheetD;
extern Surface* g_sheetE;
extern Surface* g_sheetF;
extern Surface* g_sheetG;
extern int g_displayCreated;  // 1 between InitDisplay's first step and ReleaseDisplay
extern int g_largeDisplay;    // 1: the display runs at 640 x 480 (always, here)
extern int g_magnify;         // 1: the field is presented doubled; TAB toggles it
extern int g_screenWidth;
extern int g_screenHeight;

// Called once by WinMain after sound and input set-up. 1 on success, 0 on any failure.
int InitDisplay();
// Called when a blit reports a lost surface: restores and reloads every surface. 0 when a
// reload failed (the caller abandons its frame).
int RestoreSurfaces();
// Called by the window's destruction. Always 1.
int ReleaseDisplay();

// The widest and tallest picture the loader takes: far beyond the largest surface (the 640 x 480
// screen), so every picture the game can show loads (one larger than its surface is cut), while
// a header claiming more is refused before its pixels are read.
inline constexpr int MAX_IMAGE_SIDE = 4096;
// Reads an uncompressed 8-bit bitmap into a surface and attaches a fresh palette made from its
// colour table. 1 on success, 0 on any failure (no message). Called by InitDisplay and
// RestoreSurfaces.
int LoadImageFile(Surface* surface, const char* fileName);
// The reader of LoadImageFile on the file's bytes in memory. 1 on success; 0 with the reason in
// *problem (may be null). Also called by the fuzz target.
int LoadImageBytes(Surface* surface, const uint8_t* bytes, size_t size, const char** problem);
// The name the last failed LoadImageFile was given ("" until one fails) and why it failed ("is
// missing", "is not an uncompressed 8-bit bitmap", ...), so that the start-up can say which file
// stopped it. Live for the whole run.
extern char g_failedImageFile[64];
extern const char* g_failedImageReason;

// Copies a rectangle of an image sheet onto the play field, clipped at the field's edges.
// mode 0 opaque, 1 with the colour key (index 254 not drawn), anything else draws nothing.
// Returns 1, or 0 when the display was lost and could not be restored.
int DrawSprite(int dstLeft, int dstTop, int dstRight, int dstBottom, Surface* source, int srcLeft, int srcTop,
               int srcRight, int srcBottom, int mode);
// Fills a rectangle of the field with one palette index (bars and gauges). 1, or 0 as above.
int FillFieldRect(int left, int top, int right, int bottom, int colour);
// Draws the digits of a '$'-terminated text right-aligned so its last cell starts at x.
// 1, or 0 when a sprite failed.
int DrawNumberText(Surface* sheet, int x, int y, const char* text);
// Formats value with "%d%s" and the "$" terminator into buffer (at least 16 bytes).
void FormatNumberText(char* buffer, int value);

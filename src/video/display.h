// The display: the screen (primary surface), the off-screen play field, the seven image sheets,
// and the drawing primitives every other part of the game uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "video/atlas.h"

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

// The colour the next frame tick clears the field with, taken and set back to the base colour
// as it is used, so an effect's flash colour lasts one frame; ResetGame sets 0 and 15.
extern int g_fieldClearColour;
extern int g_baseClearColour;

// Results: every operation here that can fail returns true on success. A drawing call returns
// false only when the display was lost and restoring it failed; its caller then stops at once and
// the frame is abandoned (the next frame tries again).

// Called once by SetUpAfterDialog (and the headless runner) after sound and input set-up.
[[nodiscard]] bool InitDisplay();
// Called when a blit reports a lost surface: restores and reloads every surface. False when a
// reload failed.
[[nodiscard]] bool RestoreSurfaces();
// Called by the window's destruction.
void ReleaseDisplay();

// The widest and tallest picture the loader takes: far beyond the largest surface (the 640 x 480
// screen), so every picture the game can show loads (one larger than its surface is cut), while
// a header claiming more is refused before its pixels are read.
inline constexpr int MAX_IMAGE_SIDE = 4096;
// Reads an uncompressed 8-bit bitmap into a surface and attaches a fresh palette made from its
// colour table. False on any failure (no message). Called by InitDisplay, RestoreSurfaces and TAB.
[[nodiscard]] bool LoadImageFile(Surface* surface, const char* fileName);
// The reader of LoadImageFile on the file's bytes in memory. False with the reason in *problem
// (may be null) on any failure. Also called by the fuzz target.
[[nodiscard]] bool LoadImageBytes(Surface* surface, const uint8_t* bytes, size_t size, const char** problem);
// The name the last failed LoadImageFile was given ("" until one fails) and why it failed ("is
// missing", "is not an uncompressed 8-bit bitmap", ...), so that the start-up can say which file
// stopped it. Live for the whole run.
extern char g_failedImageFile[64];
extern const char* g_failedImageReason;

// Copies a rectangle of an image sheet onto the play field, clipped at the field's edges.
// mode 0 opaque, 1 with the colour key (index 254 not drawn), anything else draws nothing.
[[nodiscard]] bool DrawSprite(int dstLeft, int dstTop, int dstRight, int dstBottom, Surface* source, int srcLeft, int srcTop,
                              int srcRight, int srcBottom, int mode);
// The sheet surface of a region's sheet letter ('A' .. 'G').
Surface* SheetSurface(char sheet);
// Draws frame `frame` of an atlas region with its top-left corner at (x, y), at the region's
// size, keyed or opaque as the region is.
[[nodiscard]] bool DrawRegion(const atlas::Region& region, int x, int y, int frame = 0);
// Draws width x height of a region, starting (offsetX, offsetY) pixels from its first frame's
// corner, at (x, y): for records that carry their own size or count their animation in pixels.
[[nodiscard]] bool DrawRegionPart(const atlas::Region& region, int x, int y, int width, int height, int offsetX = 0,
                                  int offsetY = 0);
// Draws a region's first frame into the rectangle given edge by edge (right and bottom exclusive),
// for positions that are cut to whole pixels edge by edge.
[[nodiscard]] bool DrawRegionTo(const atlas::Region& region, int left, int top, int right, int bottom);
// Fills a rectangle of the field with one palette index (bars and gauges).
[[nodiscard]] bool FillFieldRect(int left, int top, int right, int bottom, int colour);
// Draws the digits (atlas digit0 .. digit9) of a '$'-terminated text right-aligned so its last
// cell starts at x.
[[nodiscard]] bool DrawNumberText(int x, int y, const char* text);
// FormatNumberText and DrawNumberText in one: a number drawn so its last digit starts at x.
[[nodiscard]] bool DrawNumber(int x, int y, int value);
// Formats value with "%d%s" and the "$" terminator into buffer (at least 16 bytes).
void FormatNumberText(char* buffer, int value);

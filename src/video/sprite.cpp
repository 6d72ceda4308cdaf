// The sprite blitter and the colour fill: the only two ways anything is drawn onto the field.
#include "video/display.h"
#include "video/draw_trace.h"

namespace {

// Clips one axis of a sprite to the field's 0 .. limit, trimming the source by what the
// destination loses; false when nothing of the sprite is left on this axis.
bool ClipAxis(int& first, int& end, int& srcFirst, int& srcEnd, int limit) {
    bool visible = true;
    if (first < 0) {
        srcFirst -= first;
        first = 0;
    }
    if (end <= 0) visible = false;
    if (end > limit) {
        srcEnd -= end - limit;
        end = limit;
    }
    if (first >= limit) visible = false;
    return visible;
}

}  // namespace

bool DrawSprite(int dstLeft, int dstTop, int dstRight, int dstBottom, Surface* source, int srcLeft, int srcTop, int srcRight,
                int srcBottom, int mode) {
    // A traced call is recorded with its arguments as passed, also when it draws nothing.
    if (g_drawTrace) {
        TraceSprite(dstLeft, dstTop, dstRight, dstBottom, source, srcLeft, srcTop, srcRight, srcBottom, mode);
    }
    // Clipping trims the source rectangle, rows then columns; a sprite wholly outside is skipped.
    const bool rowsShow = ClipAxis(dstTop, dstBottom, srcTop, srcBottom, FIELD_HEIGHT);
    const bool columnsShow = ClipAxis(dstLeft, dstRight, srcLeft, srcRight, FIELD_WIDTH);
    if (!rowsShow || !columnsShow) return true;
    if (mode != 0 && mode != 1) return true;

    const PlatRect srcRect{srcLeft, srcTop, srcRight, srcBottom};
    // The original repeats a failed copy until it succeeds. A copy that can never succeed (a
    // source rectangle outside its sheet) would hang the game, so here it is tried a few times
    // and then given up for this frame, the sprite simply missing.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const BlitResult result = PlatBltFast(g_fieldSurface, dstLeft, dstTop, source, srcRect, mode == 1);
        if (result == BLIT_OK) return true;
        if (result == BLIT_SURFACE_LOST && !RestoreSurfaces()) return false;
    }
    return true;
}

bool FillFieldRect(int left, int top, int right, int bottom, int colour) {
    if (g_drawTrace) TraceFill(left, top, right, bottom, colour);
    const PlatRect rect{left, top, right, bottom};
    if (PlatColourFill(g_fieldSurface, &rect, colour) == BLIT_SURFACE_LOST) {
        // The bar is simply missing for this frame.
        return RestoreSurfaces();
    }
    return true;
}

Surface* SheetSurface(char sheet) {
    Surface* const sheets[] = {g_sheetA, g_sheetB, g_sheetC, g_sheetD, g_sheetE, g_sheetF, g_sheetG};
    return sheets[sheet - 'A'];
}

bool DrawRegion(const atlas::Region& region, int x, int y, int frame) {
    return DrawRegionPart(region, x, y, region.w, region.h, frame * region.dx, frame * region.dy);
}

bool DrawRegionTo(const atlas::Region& region, int left, int top, int right, int bottom) {
    return DrawSprite(left, top, right, bottom, SheetSurface(region.sheet), region.x, region.y, region.x + region.w,
                      region.y + region.h, region.keyed ? 1 : 0);
}

bool DrawRegionPart(const atlas::Region& region, int x, int y, int width, int height, int offsetX, int offsetY) {
    const int left = region.x + offsetX;
    const int top = region.y + offsetY;
    return DrawSprite(x, y, x + width, y + height, SheetSurface(region.sheet), left, top, left + width, top + height,
                      region.keyed ? 1 : 0);
}

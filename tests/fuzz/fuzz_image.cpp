// Fuzz target: the picture reader of LoadImageFile, on in-memory surfaces of the headless
// back-end: a small one (a picture larger than its surface is cut) and one of a sheet's size.
#include "fuzz_support.h"
#include "platform/platform.h"
#include "video/display.h"

namespace {

Surface* g_small = nullptr;
Surface* g_sheet = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PlatformOptions options;
    options.backend = PLATFORM_HEADLESS;
    PlatformInit(options);
    g_small = PlatCreateSurface(16, 8);
    g_sheet = PlatCreateSurface(SHEET_WIDTH, SHEET_HEIGHT);
    return 0;
}

FUZZ_TARGET {
    for (Surface* surface : {g_small, g_sheet}) {
        const char* problem = nullptr;
        if (!LoadImageBytes(surface, data, size, &problem)) continue;
        // A picture that loaded gives its surface the file's own colour table.
        const PaletteEntry* palette = PlatGetPalette(surface);
        for (int i = 0; i < 256; ++i) Require(palette[i].red == data[54 + i * 4 + 2] && palette[i].blue == data[54 + i * 4]);
    }
    return 0;
}

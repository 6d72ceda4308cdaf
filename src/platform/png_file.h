// PNG files, written with libpng: the game's screenshots (F12 in the window, --shot in the
// headless runner), which keep the screen's 256-colour palette, and the asset generator's icons
// and review pictures, in RGB or RGB with alpha. No SDL here, so the asset generator compiles
// this file too.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/platform.h"

// A picture to write. channels 1: palette indices, shown through palette (256 entries);
// 3: red, green, blue bytes; 4: red, green, blue, alpha (0 = transparent). Rows are pitch bytes
// apart, top row first.
struct PngImage {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int channels = 3;
    const PaletteEntry* palette = nullptr;
};

// Writes the picture to an open file (from its current position). False when libpng refuses it
// or the file cannot take it; the file is left open either way.
[[nodiscard]] bool PngWrite(std::FILE* file, const PngImage& image);
// Creates (or replaces) the file at path and writes the picture into it. False on any failure.
[[nodiscard]] bool PngWriteFile(const char* path, const PngImage& image);

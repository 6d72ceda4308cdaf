// A small PNG encoder for the review pictures and the icons: 8-bit RGB or RGBA, compressed by our
// own deflate encoder, with the CRC and Adler checksums the format asks for. assetgen links no
// libraries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes w x h pixels of packed RGB (3 bytes each, top row first). Called by the contact sheet.
bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgb);
// The same with an alpha channel (4 bytes a pixel, 0 = transparent). Called by the icon writer.
bool WritePngRgba(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba);

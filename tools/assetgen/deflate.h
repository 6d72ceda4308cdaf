// A small deflate encoder for the PNG writer: greedy LZ77 matches over a 32 KB window, coded with
// the fixed Huffman codes of the format (one block). Pixel art magnified by whole factors is
// nearly all repeats of the pixel before or the row above, which this finds; assetgen links no
// compression library.
#pragma once

#include <cstdint>
#include <vector>

// The raw deflate stream (no zlib header or checksum) of the bytes.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes);

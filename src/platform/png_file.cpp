// PNG writing through libpng (see png_file.h). libpng reports errors by a long jump back into
// PngWrite; nothing between the jump's target and the calls that may jump owns a resource of
// its own, so the jump leaves nothing behind but the write structures, freed on both ways out.
#include "platform/png_file.h"

#include <png.h>

#include <csetjmp>

namespace {

bool Valid(const PngImage& image) {
    if (!image.pixels || image.width <= 0 || image.height <= 0) return false;
    if (image.channels != 1 && image.channels != 3 && image.channels != 4) return false;
    if (image.channels == 1 && !image.palette) return false;
    return image.pitch >= image.width * image.channels;
}

int ColourType(int channels) {
    switch (channels) {
        case 1: return PNG_COLOR_TYPE_PALETTE;
        case 4: return PNG_COLOR_TYPE_RGB_ALPHA;
        default: return PNG_COLOR_TYPE_RGB;
    }
}

// libpng's default warning handler prints to stderr; a warning does not stop the write.
void IgnoreWarning(png_structp, png_const_charp) {}

// Its default error handler prints too; the caller says in its own words what could not be
// written (a full disk, say), so an error only ends the write.
[[noreturn]] void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

}  // namespace

bool PngWrite(std::FILE* file, const PngImage& image) {
    if (!file || !Valid(image)) return false;
    png_color colours[256];
    if (image.channels == 1) {
        for (int i = 0; i < 256; ++i) {
            colours[i] = png_color{image.palette[i].red, image.palette[i].green, image.palette[i].blue};
        }
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, IgnoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 ColourType(image.channels), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.channels == 1) png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, image.pixels + static_cast<size_t>(y) * static_cast<size_t>(image.pitch));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file) == 0 && !std::ferror(file);
}

bool PngWriteFile(const char* path, const PngImage& image) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = PngWrite(file, image);
    return std::fclose(file) == 0 && written;
}

// The picture files: paints the seven sheets and palette.dat's screen picture with the art
// painters, and writes them as uncompressed 8-bit BMPs in exactly the layout the game's loader
// reads (full 256-entry table, pixels right after it, bottom-up rows of exactly `width` bytes).
// Also renders the contact sheet, every atlas region enlarged on a grid with its name.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "art.h"
#include "assetgen.h"
#include "platform/png_file.h"

namespace {

using art::Canvas;

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

std::vector<uint8_t> Bmp8(const Canvas& c, const uint8_t rgb[256][3]) {
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, static_cast<uint32_t>(54 + 1024 + c.w * c.h));
    Put32(b, 0);
    Put32(b, 54 + 1024);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(c.w));
    Put32(b, static_cast<uint32_t>(c.h));
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 0);                                 // no compression
    Put32(b, static_cast<uint32_t>(c.w * c.h));  // image size
    Put32(b, 2835);                              // 72 dpi
    Put32(b, 2835);
    Put32(b, 256);  // colours used
    Put32(b, 0);
    for (int i = 0; i < 256; ++i) {
        b.push_back(rgb[i][2]);
        b.push_back(rgb[i][1]);
        b.push_back(rgb[i][0]);
        b.push_back(0);
    }
    for (int y = c.h - 1; y >= 0; --y) b.insert(b.end(), c.px.begin() + y * c.w, c.px.begin() + (y + 1) * c.w);
    return b;
}

struct AllSheets {
    Canvas sheet[7];
};

AllSheets PaintAllSheets() {
    AllSheets s;
    for (Canvas& c : s.sheet) c = Canvas(art::SHEET_W, art::SHEET_H);
    Canvas& a = s.sheet[0];
    Canvas& b = s.sheet[1];
    Canvas& c = s.sheet[2];
    Canvas& d = s.sheet[3];
    Canvas& e = s.sheet[4];
    Canvas& f = s.sheet[5];
    Canvas& g = s.sheet[6];
    art::PaintHud(b, c);
    art::PaintShips(b);
    art::PaintEnemies(b, c, d);
    art::PaintEffects(c);
    art::PaintBossesOneTwo(c, d);
    art::PaintBossesLate(e, f, g);
    art::PaintScreens(a, c, e, f, g);
    return s;
}

}  // namespace

bool WriteImages(const std::string& outDir) {
    uint8_t rgb[256][3];
    art::BuildPalette(rgb);
    Canvas screen(640, 480, art::CLEAR);
    art::PaintStrips(screen);
    if (!WriteFileBytes(outDir + "/palette.dat", Bmp8(screen, rgb))) return false;
    const AllSheets s = PaintAllSheets();
    for (int i = 0; i < 7; ++i) {
        const std::string name = outDir + "/gr" + std::string(1, static_cast<char>('A' + i)) + ".dat";
        if (!WriteFileBytes(name, Bmp8(s.sheet[i], rgb))) return false;
    }
    return true;
}

bool WriteContactSheet(const std::string& pngPath) {
    uint8_t rgb[256][3];
    art::BuildPalette(rgb);
    const AllSheets s = PaintAllSheets();

    // Tiles flow left to right in rows; each tile is the region's frames side by side, enlarged,
    // with the region's name above. Transparent pixels show as a dark checker.
    const int pageW = 1800, gap = 12;
    struct Tile {
        const atlas::Region* r;
        int scale, x, y, w, h;
    };
    std::vector<Tile> tiles;
    int x = gap, y = gap, rowH = 0;
    for (const atlas::Region& r : atlas::REGIONS) {
        const int scale = r.w * r.frames <= 60 && r.h <= 40 ? 4 : (r.w <= 110 && r.h <= 130 ? 3 : 2);
        const int stripW = r.frames * (r.w * scale + 4) - 4;
        std::string label = std::string(r.name) + " " + r.sheet;
        for (char& ch : label) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const int w = std::max(stripW, art::TextWidth(label.c_str()));
        const int h = r.h * scale + 12;
        if (x + w + gap > pageW) x = gap, y += rowH + gap, rowH = 0;
        tiles.push_back({&r, scale, x, y, w, h});
        x += w + gap;
        rowH = std::max(rowH, h);
    }
    // Below the regions, the composed previews at double size.
    const auto previews = art::ComposedPreviews(s.sheet);
    struct Placed {
        int x, y;
    };
    std::vector<Placed> placed;
    x = gap, y += rowH + gap * 3, rowH = 0;
    for (const auto& [name, pic] : previews) {
        const int w = pic.w * 2, h = pic.h * 2 + 12;
        if (x + w + gap > pageW) x = gap, y += rowH + gap, rowH = 0;
        placed.push_back({x, y});
        x += w + gap;
        rowH = std::max(rowH, h);
    }
    const int pageH = y + rowH + gap;
    Canvas page(pageW, pageH, 1);  // index 1: dark space blue
    for (size_t i = 0; i < previews.size(); ++i) {
        uint8_t gold[7];
        art::RampRows(gold, art::UIGOLD, 6, 4);
        art::DrawText(page, placed[i].x, placed[i].y, ("COMPOSED: " + previews[i].first).c_str(), gold);
        const Canvas& pic = previews[i].second;
        for (int v = 0; v < pic.h * 2; ++v)
            for (int u = 0; u < pic.w * 2; ++u) page.Set(placed[i].x + u, placed[i].y + 10 + v, pic.Get(u / 2, v / 2));
    }
    for (const Tile& t : tiles) {
        std::string label = std::string(t.r->name) + " " + t.r->sheet;
        for (char& ch : label) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        uint8_t white[7];
        art::RampRows(white, art::GREY, 7, 5);
        art::DrawText(page, t.x, t.y, label.c_str(), white);
        const Canvas& sheet = s.sheet[t.r->sheet - 'A'];
        for (int f = 0; f < t.r->frames; ++f) {
            const int sx = t.r->x + f * t.r->dx, sy = t.r->y + f * t.r->dy;
            const int ox = t.x + f * (t.r->w * t.scale + 4), oy = t.y + 10;
            for (int v = 0; v < t.r->h * t.scale; ++v)
                for (int u = 0; u < t.r->w * t.scale; ++u) {
                    uint8_t p = sheet.Get(sx + u / t.scale, sy + v / t.scale);
                    // The key shows as black and grey squares.
                    if (p == art::KEY) p = ((u / 6 + v / 6) & 1) ? art::GREY + 1 : art::BLACK;
                    page.Set(ox + u, oy + v, p);
                }
        }
    }
    std::vector<uint8_t> out(static_cast<size_t>(pageW * pageH * 3));
    for (size_t i = 0; i < page.px.size(); ++i)
        for (int k = 0; k < 3; ++k) out[i * 3 + static_cast<size_t>(k)] = rgb[page.px[i]][k];
    return PngWriteFile(pngPath.c_str(), PngImage{out.data(), pageW, pageH, pageW * 3, 3, nullptr});
}

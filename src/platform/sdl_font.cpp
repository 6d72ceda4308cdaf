// SDL back-end: finds, opens and keeps the font of the dialog and the message boxes, and lays out
// their text. Fontconfig is asked for the dialog's family (a Japanese Gothic face) with Japanese
// as the language; it sorts every installed font by preference, and the first whose character
// set holds all the characters of the texts is opened with SDL_ttf at the template's point size
// and 96 dots per inch, so a 9-point font is 12 pixels high as on the Windows desktop of its time.
#include "platform/sdl_font.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>

namespace {

// The open font, its file and size, and the characters it holds (lives until SdlCloseUiFont).
TTF_Font* g_uiFont = nullptr;
int g_uiFontPoints = 0;
FcCharSet* g_uiFontCharSet = nullptr;
std::vector<std::string> g_uiFontTexts;  // every text the font was chosen to cover
std::string g_uiFontFile;
int g_uiFontIndex = 0;
// Horizontally condensed openings of the same face, by width percentage (opened when first asked).
constexpr int CONDENSED_SLOTS = 101;
TTF_Font* g_condensed[CONDENSED_SLOTS] = {};

constexpr int SCREEN_DPI = 96;

// The dialog was drawn for a proportional Japanese Gothic; these free faces of the same kind are
// preferred, in this order, after the family the caller asks for. Without any of them fontconfig's
// own choice for Japanese is taken (often a fixed-width face, which makes the texts wider).
constexpr const char* PROPORTIONAL_GOTHICS[] = {
    "VL PGothic", "IPAPGothic", "IPAexGothic", "TakaoPGothic", "Noto Sans CJK JP", "Source Han Sans JP",
};

FcCharSet* CharSetOf(const std::vector<std::string>& texts) {
    FcCharSet* set = FcCharSetCreate();
    for (const std::string& text : texts) {
        for (const uint32_t c : Utf8CodePoints(text.c_str())) {
            if (c >= 0x20) FcCharSetAddChar(set, c);
        }
    }
    return set;
}

// Characters that never begin a line in Japanese text: closing brackets, the comma and full
// stop, middle dots, the long-vowel mark and the small kana.
bool IsLineStartForbidden(uint32_t c) {
    static const uint32_t FORBIDDEN[] = {
        0x3001, 0x3002, 0xFF0C, 0xFF0E, 0xFF09, 0x300D, 0x300F, 0x3011, 0xFF01, 0xFF1F, 0x30FB, 0x30FC, 0xFF1A,
        0xFF1B, 0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085, 0x3087, 0x30A1, 0x30A3, 0x30A5,
        0x30A7, 0x30A9, 0x30C3, 0x30E3, 0x30E5, 0x30E7, 0xFF65, 0xFF70, ',',    '.',    ')',    ':',
    };
    for (const uint32_t f : FORBIDDEN) {
        if (c == f) return true;
    }
    return false;
}

// Japanese (and other wide) characters, between which a line may break anywhere.
bool IsBreakableAnywhere(uint32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

void AppendUtf8(std::string* out, uint32_t c) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Utf8Of(const std::vector<uint32_t>& codes, size_t begin, size_t end) {
    std::string s;
    for (size_t i = begin; i < end; ++i) AppendUtf8(&s, codes[i]);
    return s;
}

// Breaks one paragraph (no line breaks in it) into lines.
void WrapParagraph(TTF_Font* font, const std::vector<uint32_t>& codes, int maxWidth, std::vector<std::string>* lines) {
    size_t start = 0;
    const size_t n = codes.size();
    while (start < n) {
        while (start < n && codes[start] == ' ') ++start;  // a break eats the spaces at it
        if (start == n) break;
        size_t end = start + 1;
        size_t lastBreak = start;  // start: no break found on this line yet
        while (end < n && SdlTextWidth(font, Utf8Of(codes, start, end + 1)) <= maxWidth) ++end;
        if (end < n) {
            // The character at end does not fit: break at the last opportunity within the line.
            for (size_t i = end; i > start; --i) {
                const uint32_t before = codes[i - 1];
                const uint32_t at = codes[i];
                const bool allowed = at == ' ' || before == ' ' ||
                                     ((IsBreakableAnywhere(at) || IsBreakableAnywhere(before)) && !IsLineStartForbidden(at));
                if (allowed) {
                    lastBreak = i;
                    break;
                }
            }
            if (lastBreak > start) end = lastBreak;
        }
        size_t trimmed = end;
        while (trimmed > start && codes[trimmed - 1] == ' ') --trimmed;
        lines->push_back(Utf8Of(codes, start, trimmed));
        start = end;
    }
}

}  // namespace

std::vector<uint32_t> Utf8CodePoints(const char* text) {
    std::vector<uint32_t> codes;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t c = *p;
        int extra = 0;
        if (c >= 0xF0 && c < 0xF8) {
            c &= 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            c &= 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            c &= 0x1F;
            extra = 1;
        } else if (c >= 0x80) {
            codes.push_back(0xFFFD);
            ++p;
            continue;
        }
        ++p;
        bool valid = c < 0x80 || extra > 0;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (*p & 0x3F);
            ++p;
        }
        codes.push_back(valid ? c : 0xFFFD);
    }
    return codes;
}

namespace {

// The search itself; *charSet (when asked for) receives a copy of the chosen font's characters.
bool FindFontCovering(const char* family, const std::vector<std::string>& texts, std::string* file, int* faceIndex,
                      FcCharSet** charSet) {
    if (!FcInit()) return false;
    FcCharSet* needed = CharSetOf(texts);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    for (const char* alike : PROPORTIONAL_GOTHICS) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(alike));
    }
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    bool found = false;
    for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcCharSet* has = nullptr;
        FcChar8* path = nullptr;
        FcBool scalable = FcFalse;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) != FcResultMatch) continue;
        if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch) continue;
        if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) continue;
        if (!FcCharSetIsSubset(needed, has)) continue;
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        *file = reinterpret_cast<const char*>(path);
        *faceIndex = index;
        if (charSet) *charSet = FcCharSetCopy(has);
        found = true;
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(needed);
    return found;
}

}  // namespace

bool SdlFindFontCovering(const char* family, const std::vector<std::string>& texts, std::string* file, int* faceIndex) {
    return FindFontCovering(family, texts, file, faceIndex, nullptr);
}

TTF_Font* SdlUiFont(const char* family, int points, const std::vector<std::string>& texts) {
    if (g_uiFont && g_uiFontPoints == points) {
        FcCharSet* needed = CharSetOf(texts);
        const bool covered = FcCharSetIsSubset(needed, g_uiFontCharSet);
        FcCharSetDestroy(needed);
        if (covered) return g_uiFont;
    }
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::fprintf(stderr, "vorne: SDL_ttf cannot start: %s\n", TTF_GetError());
        return nullptr;
    }
    // The new font must also cover what the old one was chosen for.
    std::vector<std::string> all = g_uiFontTexts;
    all.insert(all.end(), texts.begin(), texts.end());
    std::string file;
    int faceIndex = 0;
    FcCharSet* has = nullptr;
    if (!FindFontCovering(family, all, &file, &faceIndex, &has)) {
        std::fprintf(stderr,
                     "vorne: no installed font holds every character of the dialog's texts "
                     "(install a Japanese font such as fonts-vlgothic)\n");
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFontIndexDPI(file.c_str(), points, faceIndex, SCREEN_DPI, SCREEN_DPI);
    if (!font) {
        std::fprintf(stderr, "vorne: cannot open the font %s: %s\n", file.c_str(), TTF_GetError());
        FcCharSetDestroy(has);
        return nullptr;
    }
    SdlCloseUiFont();
    g_uiFont = font;
    g_uiFontPoints = points;
    g_uiFontCharSet = has;
    g_uiFontTexts = all;
    g_uiFontFile = file;
    g_uiFontIndex = faceIndex;
    return g_uiFont;
}

TTF_Font* SdlUiFontCondensed(int percent) {
    if (!g_uiFont || percent >= 100 || percent <= 0) return g_uiFont;
    if (!g_condensed[percent]) {
        // A lower horizontal resolution than vertical one draws the same face narrower but as tall.
        const unsigned hdpi = static_cast<unsigned>(SCREEN_DPI * percent / 100);
        g_condensed[percent] = TTF_OpenFontIndexDPI(g_uiFontFile.c_str(), g_uiFontPoints, g_uiFontIndex, hdpi, SCREEN_DPI);
    }
    return g_condensed[percent] ? g_condensed[percent] : g_uiFont;
}

void SdlCloseUiFont() {
    for (TTF_Font*& font : g_condensed) {
        if (font) TTF_CloseFont(font);
        font = nullptr;
    }
    if (g_uiFont) TTF_CloseFont(g_uiFont);
    if (g_uiFontCharSet) FcCharSetDestroy(g_uiFontCharSet);
    g_uiFont = nullptr;
    g_uiFontCharSet = nullptr;
    g_uiFontPoints = 0;
    g_uiFontTexts.clear();
}

int SdlTextWidth(TTF_Font* font, const std::string& text) {
    int w = 0;
    int h = 0;
    if (text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

std::vector<std::string> SdlWrapText(TTF_Font* font, const char* text, int maxWidth) {
    std::vector<std::string> lines;
    const std::vector<uint32_t> codes = Utf8CodePoints(text);
    size_t begin = 0;
    for (size_t i = 0; i <= codes.size(); ++i) {
        if (i == codes.size() || codes[i] == '\n') {
            const std::vector<uint32_t> paragraph(codes.begin() + static_cast<long>(begin), codes.begin() + static_cast<long>(i));
            const size_t before = lines.size();
            WrapParagraph(font, paragraph, maxWidth, &lines);
            if (lines.size() == before) lines.emplace_back();  // an empty paragraph is an empty line
            begin = i + 1;
        }
    }
    return lines;
}

void SdlDrawTextLine(SDL_Surface* target, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour,
                     const SDL_Rect& clip) {
    if (text.empty()) return;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), colour);
    if (!rendered) return;
    SDL_Rect oldClip;
    SDL_GetClipRect(target, &oldClip);
    SDL_SetClipRect(target, &clip);
    SDL_Rect dest{x, y, rendered->w, rendered->h};
    SDL_BlitSurface(rendered, nullptr, target, &dest);
    SDL_SetClipRect(target, &oldClip);
    SDL_FreeSurface(rendered);
}

// SDL back-end: the font of the platform's own windows (the start-up dialog and the message
// boxes) and the text layout they share. The font is found through fontconfig and must really
// hold every character it is asked to draw; fontconfig always answers with some font, so the
// coverage of each candidate is checked before it is taken.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <vector>

// Called by the font lookup and the text layout: the code points of a UTF-8 text (an invalid
// byte counts as U+FFFD).
std::vector<uint32_t> Utf8CodePoints(const char* text);

// Called by SdlUiFont and the tests: the file (and face index) of the first font, in fontconfig's
// order of preference for family and Japanese, that covers every character of the texts. False
// when no installed font covers them all.
bool SdlFindFontCovering(const char* family, const std::vector<std::string>& texts, std::string* file, int* faceIndex);

// Called by the dialog and the message box: the font at points (at 96 dots per inch) covering
// every character of texts. The font is kept and shared; it is looked up again only when a text
// needs a character it lacks or another size is asked for. nullptr (after a line on stderr) when
// no installed font covers the texts.
TTF_Font* SdlUiFont(const char* family, int points, const std::vector<std::string>& texts);
// Called by the dialog for a text too long for its item: the kept font drawn narrower, at percent
// of its width (1 to 99) but at its full height. The kept font itself for 100 or when none is open.
TTF_Font* SdlUiFontCondensed(int percent);
// Called at shut-down of the SDL back-end's windows: closes the kept font.
void SdlCloseUiFont();

// Called by the dialog and the message box: the pixel width of a line of text.
int SdlTextWidth(TTF_Font* font, const std::string& text);
// Called by the dialog and the message box: text broken into lines no wider than maxWidth, the
// way a Windows static breaks it: at spaces and explicit line breaks, and between any two
// Japanese characters, but never before closing punctuation such as "、" and "。". A single word
// wider than the line is broken where it overflows.
std::vector<std::string> SdlWrapText(TTF_Font* font, const char* text, int maxWidth);
// Called by the dialog and the message box: draws one line with its top-left corner at (x, y),
// clipped to clip.
void SdlDrawTextLine(SDL_Surface* target, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour,
                     const SDL_Rect& clip);

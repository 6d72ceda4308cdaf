// The font of the dialog and the message boxes: the one found really holds every character the
// game shows in them (so nothing is drawn as an empty box), and text is broken into lines as a
// Windows static breaks it. Needs no display, only the installed fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog.h"
#include "platform/sdl_font.h"

namespace {

std::vector<std::string> EverythingShown() {
    std::vector<std::string> texts;
    for (int i = 0; i < STARTUP_DIALOG.itemCount; ++i) texts.emplace_back(STARTUP_DIALOG.items[i].text);
    texts.emplace_back(MESSAGE_NO_JOYSTICK);
    texts.emplace_back(MESSAGE_NO_REPLAY);
    texts.emplace_back(MESSAGE_MINIMISED);
    texts.emplace_back(MESSAGE_CAPTION);
    return texts;
}

class UiFont : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
        font_ = SdlUiFont(STARTUP_DIALOG.fontFamily, STARTUP_DIALOG.fontPoints, EverythingShown());
        ASSERT_NE(font_, nullptr) << "no installed font covers the dialog (fonts-vlgothic is expected)";
    }
    TTF_Font* font_ = nullptr;
};

TEST_F(UiFont, HoldsEveryCharacterTheDialogAndMessagesShow) {
    for (const std::string& text : EverythingShown()) {
        for (const uint32_t c : Utf8CodePoints(text.c_str())) {
            EXPECT_TRUE(TTF_GlyphIsProvided32(font_, c)) << "U+" << std::hex << c << " in " << text;
        }
    }
    // 9 points at 96 dpi: about 12 pixels high.
    EXPECT_TRUE(TTF_FontHeight(font_) >= 11 && TTF_FontHeight(font_) <= 16) << TTF_FontHeight(font_);
    // A character no font here has is never claimed as covered.
    std::string file;
    int index = 0;
    EXPECT_FALSE(SdlFindFontCovering("sans", {"\xF4\x8F\xBF\xBD"}, &file, &index));  // U+10FFFD
    EXPECT_TRUE(SdlFindFontCovering("sans", {MESSAGE_NO_REPLAY}, &file, &index));
    EXPECT_FALSE(file.empty());
    // The joystick set-up's messages use half-width katakana; asking for them keeps a font that
    // also still holds everything asked for before.
    TTF_Font* wider = SdlUiFont(STARTUP_DIALOG.fontFamily, STARTUP_DIALOG.fontPoints, {"ｴﾗｰﾁｪｯｸ"});
    ASSERT_NE(wider, nullptr);
    for (const uint32_t c : Utf8CodePoints("ｴﾗｰﾁｪｯｸ キーボードでプレイする")) EXPECT_TRUE(TTF_GlyphIsProvided32(wider, c));
}

TEST_F(UiFont, CondensedFaceIsNarrowerButAsTall) {
    const std::string text = "SPACE or Z or CTRL・・・ショット";
    TTF_Font* narrow = SdlUiFontCondensed(80);
    ASSERT_NE(narrow, nullptr);
    const int full = SdlTextWidth(font_, text);
    const int condensed = SdlTextWidth(narrow, text);
    // About 80 % (advances are rounded to whole pixels per glyph).
    EXPECT_TRUE(condensed < full * 90 / 100 && condensed > full * 70 / 100) << condensed << " of " << full;
    EXPECT_EQ(TTF_FontHeight(narrow), TTF_FontHeight(font_));
    EXPECT_EQ(SdlUiFontCondensed(100), font_);
}

TEST_F(UiFont, WrapsAtSpacesAndBetweenJapaneseCharacters) {
    // Latin text breaks at a space, and the space goes.
    const int quick = SdlTextWidth(font_, "The quick brown");
    EXPECT_EQ(SdlWrapText(font_, "The quick brown fox", quick - 1), (std::vector<std::string>{"The quick", "brown fox"}));
    // Explicit line breaks, an empty line included.
    EXPECT_EQ(SdlWrapText(font_, "a\n\nb", 1000), (std::vector<std::string>{"a", "", "b"}));
    // Japanese breaks anywhere, but a full stop never begins a line.
    const int five = SdlTextWidth(font_, "あいうえお");
    EXPECT_EQ(SdlWrapText(font_, "あいうえおかき", five), (std::vector<std::string>{"あいうえお", "かき"}));
    EXPECT_EQ(SdlWrapText(font_, "あいうえお。", five), (std::vector<std::string>{"あいうえ", "お。"}));
    // A word longer than the line is cut where it overflows rather than lost.
    const std::vector<std::string> cut = SdlWrapText(font_, "ABCDEFGHIJ", SdlTextWidth(font_, "ABCD"));
    ASSERT_GE(cut.size(), 2u);
    EXPECT_EQ(cut[0], "ABCD");

    // The dialog's long note: every line fits, nothing is lost or added.
    const char* note = STARTUP_DIALOG.items[13].text;
    const std::vector<std::string> lines = SdlWrapText(font_, note, 270);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(SdlTextWidth(font_, line), 270) << line;
        EXPECT_NE(line.rfind("、", 0), 0u) << line;
        EXPECT_NE(line.rfind("。", 0), 0u) << line;
        joined += line;
    }
    EXPECT_GE(lines.size(), 2u);
    EXPECT_EQ(joined, note);
}

}  // namespace

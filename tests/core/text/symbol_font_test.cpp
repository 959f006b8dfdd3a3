#include "core/text/symbol_font.h"

#include <gtest/gtest.h>

#include "core/text/code_page.h"
#include "core/text/utf8.h"

namespace qw::text {
namespace {

TEST(SymbolFont, BytesAreTheCharactersTheFontDraws) {
  // What lists, formulas and Greek text in documents from Windows programs are made of.
  EXPECT_EQ(decodeCodePage("\xb7\t\x61\x62\x57 \x22\xd6\xa5\xae\xb9\xe5", kSymbolFontCodePage),
            "•\tαβΩ ∀√∞→≠∑");
  EXPECT_EQ(decodeCodePage("09+=[]{|}", kSymbolFontCodePage), "09+=[]{|}");
  // Bytes the encoding leaves empty keep their private-use place, as the other symbol fonts'.
  EXPECT_EQ(decodeCodePage("\x7f\x80\xf0\xff\x60", kSymbolFontCodePage),
            "\uF07F\uF080\uF0F0\uF0FF\uF060");
}

TEST(SymbolFont, PrivateUseCharactersOfTheFontAreTakenOut) {
  EXPECT_TRUE(isSymbolFontPrivateUse(0xF0B7));
  EXPECT_TRUE(isSymbolFontPrivateUse(0xF020));
  EXPECT_FALSE(isSymbolFontPrivateUse(0xF01F));
  EXPECT_FALSE(isSymbolFontPrivateUse(0xF100));
  EXPECT_FALSE(isSymbolFontPrivateUse(0xF07F));  // nothing stands there
  EXPECT_FALSE(isSymbolFontPrivateUse(U'•'));

  const auto split = [](std::string_view text) {
    std::string out;
    splitSymbolFontPrivateUse(
        text, [&](std::string_view kept) { out += "[" + std::string(kept) + "]"; },
        [&](char32_t drawn) { appendUtf8(out, drawn); });
    return out;
  };
  EXPECT_EQ(split("a\uF0B7\t\uF061\uF061\xEF\uF07F"), "[a]•[\t]αα[\xEF\uF07F]");
  EXPECT_EQ(split("\uF0B7"), "•");
  EXPECT_EQ(split("plain"), "[plain]");
  EXPECT_TRUE(hasSymbolFontPrivateUse("x\uF0B7"));
  EXPECT_FALSE(hasSymbolFontPrivateUse("x\uF07F\xEF"));  // an empty place, a cut sequence
}

TEST(SymbolFont, FamilyNameInAnyCase) {
  EXPECT_TRUE(isSymbolFontFamily("Symbol"));
  EXPECT_TRUE(isSymbolFontFamily("SYMBOL"));
  EXPECT_FALSE(isSymbolFontFamily("Symbol MT"));
  EXPECT_FALSE(isSymbolFontFamily("Wingdings"));
  EXPECT_FALSE(isSymbolFontFamily(""));
}

}  // namespace
}  // namespace qw::text

#include "core/text/stored_position.h"

#include <gtest/gtest.h>

#include "core/text/plain_text.h"

namespace qw::text {
namespace {

TEST(StoredPosition, LineBreaksCountTwoStoredAndOneFlat) {
  const std::string_view text = "ab\r\ncd";  // stored: a0 b1 CR2 LF3 c4 d5 end6
  EXPECT_EQ(storedLength(text), 6);
  EXPECT_EQ(storedToFlat(text, 0), 0);
  EXPECT_EQ(storedToFlat(text, 2), 2);  // before the break
  EXPECT_EQ(storedToFlat(text, 3), 2);  // between CR and LF: the start of the break
  EXPECT_EQ(storedToFlat(text, 4), 3);
  EXPECT_EQ(storedToFlat(text, 6), 5);
  EXPECT_EQ(flatToStored(text, 2), 2);
  EXPECT_EQ(flatToStored(text, 3), 4);
  EXPECT_EQ(flatToStored(text, 5), 6);
}

TEST(StoredPosition, EveryKindOfBreakCountsAlike) {
  // LF, lone CR, U+2028 (a \line) and U+2029 (the GUI's paragraph separator).
  const std::string_view text = "a\nb\rc\u2028d\u2029e";
  EXPECT_EQ(storedLength(text), 13);
  EXPECT_EQ(storedToFlat(text, 12), 8);
  EXPECT_EQ(flatToStored(text, 8), 12);
  EXPECT_EQ(flatToStored(text, 7), 10);  // before the U+2029
  EXPECT_EQ(storedToFlat(text, 10), 7);
  EXPECT_EQ(storedToFlat(text, 11), 7);  // inside it
}

TEST(StoredPosition, CharactersBeyondTheBmpAreTwoFlatUnits) {
  const std::string_view text = "a😊b";  // stored: a0 😊1 b2 end3; flat: a0 😊1..2 b3 end4
  EXPECT_EQ(storedLength(text), 3);
  EXPECT_EQ(storedToFlat(text, 2), 3);
  EXPECT_EQ(storedToFlat(text, 3), 4);
  EXPECT_EQ(flatToStored(text, 2), 1);  // inside the pair: the start of the character
  EXPECT_EQ(flatToStored(text, 3), 2);
  EXPECT_EQ(storedToFlat("é€", 2), 2);  // multi-byte UTF-8 inside the BMP is one unit
}

TEST(StoredPosition, OutOfRangePositionsAreClamped) {
  EXPECT_EQ(storedToFlat("abc", -5), 0);
  EXPECT_EQ(flatToStored("abc", -1), 0);
  EXPECT_EQ(storedToFlat("a\r\nb", 999), 3);
  EXPECT_EQ(flatToStored("a\r\nb", 999), 4);
  EXPECT_EQ(storedToFlat("", 3), 0);
}

TEST(StoredPosition, ConversionsInvertEachOtherOnBoundaries) {
  const RichText model{
      {Paragraph{{text::Run{"x😊\u2028y", {}}}}, Paragraph{}, Paragraph{{text::Run{"Жz", {}}}}}};
  const std::string text = plainText(model);
  const std::int64_t length = storedLength(text);
  EXPECT_EQ(length, 11);
  for (std::int64_t stored = 0; stored <= length; ++stored) {
    const std::int64_t flat = storedToFlat(text, stored);
    const std::int64_t back = flatToStored(text, flat);
    EXPECT_LE(back, stored);
    EXPECT_GE(back, stored - 1);  // one less only inside a CR LF
    EXPECT_EQ(storedToFlat(text, back), flat);
  }
}

}  // namespace
}  // namespace qw::text

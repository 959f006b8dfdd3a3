#include "core/notebook/caret_line.h"

#include <gtest/gtest.h>

namespace qw::notebook {
namespace {

TEST(CaretLine, SingularBelowTwoLinesPluralFromTwoWithTheFinalSpace) {
  const auto english = i18n::StringTable::forLanguage("Anglais");
  EXPECT_EQ(caretLineDisplay(0, 1, english), "1 / 1 Line ");
  EXPECT_EQ(caretLineDisplay(1, 2, english), "2 / 2 Lines ");
  // A count of 0 never comes from an editor, but still takes the singular.
  EXPECT_EQ(caretLineDisplay(0, 0, english), "1 / 0 Line ");
}

TEST(CaretLine, FrenchWordsAndLargeNumbers) {
  const auto french = i18n::StringTable::forLanguage("Français");
  EXPECT_EQ(caretLineDisplay(2, 10, french), "3 / 10 Lignes ");
  EXPECT_EQ(caretLineDisplay(0, 1, french), "1 / 1 Ligne ");
  EXPECT_EQ(caretLineDisplay(12344, 100000, french), "12345 / 100000 Lignes ");
}

}  // namespace
}  // namespace qw::notebook

#include "gui/global_keys.h"

#include <gtest/gtest.h>

#include <set>

namespace qw::gui {
namespace {

using platform::HotKey;

TEST(GlobalKeys, TwentyOneDistinctCombinationsEachLeadingBackToItsAction) {
  for (bool controlAlt : {false, true}) {
    const auto table = globalKeyTable(controlAlt);
    ASSERT_EQ(table.size(), 21u);
    std::set<std::pair<unsigned, int>> combinations;
    std::set<int> ids;
    int copies = 0, feeds = 0;
    for (const HotKey& key : table) {
      combinations.insert({key.modifiers, key.key});
      ids.insert(key.id);
      const auto action = globalKeyOf(key.id);
      ASSERT_TRUE(action.has_value()) << key.id;
      const unsigned base = controlAlt ? (HotKey::Control | HotKey::Alt) : HotKey::Super;
      switch (action->action) {
        case GlobalKey::ShowWindow:
          EXPECT_EQ(key.key, Qt::Key_F2);
          EXPECT_EQ(key.modifiers, base);
          break;
        case GlobalKey::CopySlot:
          ++copies;
          EXPECT_EQ(key.key, Qt::Key_0 + action->slot);
          EXPECT_EQ(key.modifiers, base);
          break;
        case GlobalKey::StartLineFeed:
          ++feeds;
          EXPECT_EQ(key.key, Qt::Key_0 + action->slot);
          EXPECT_EQ(key.modifiers, base | HotKey::Shift);
          break;
        case GlobalKey::NewCardFromClipboard:
          EXPECT_EQ(key.key, Qt::Key_V);
          break;
        case GlobalKey::NextFeedLine:
          EXPECT_EQ(key.key, Qt::Key_C);
          break;
      }
    }
    EXPECT_EQ(combinations.size(), 21u);
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(copies, 9);
    EXPECT_EQ(feeds, 9);
  }
  EXPECT_FALSE(globalKeyOf(10).has_value());
  EXPECT_FALSE(globalKeyOf(-1).has_value());
}

}  // namespace
}  // namespace qw::gui

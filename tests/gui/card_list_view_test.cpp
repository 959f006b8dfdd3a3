// The card list widget: its columns, the header-click sorts and the key release that opens a card.

#include "gui/card_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

namespace qw::gui {
namespace {

using notebook::CardListRow;

std::vector<CardListRow> sampleRows() {
  return {{"-2", "quillWick", "Default", "default.kvn", notebook::kMainCard},
          {"0", "banana", "Standard", "1.kvn", 0},
          {"1", "Apple", "Work", "", 1},
          {"10", "cherry", "", "/home/me/c.txt", 10},
          {"2", "date", "Home", "3.kvn", 2}};
}

class CardListViewTest : public ::testing::Test {
 protected:
  CardListView view;

  CardListViewTest() {
    view.resize(500, 300);
    view.setRows(sampleRows());
    view.show();
    view.setFocus();
  }

  QStringList column(int c) const {
    QStringList texts;
    for (int i = 0; i < view.topLevelItemCount(); ++i) texts << view.topLevelItem(i)->text(c);
    return texts;
  }
  void clickHeader(int c) {
    QHeaderView* header = view.header();
    const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  QPoint centreOfRow(int index) const {
    return view.visualItemRect(view.topLevelItem(index)).center();
  }
};

TEST_F(CardListViewTest, FourFixedColumnsReadOnlyWholeRowsAndRowsShownInTheGivenOrder) {
  EXPECT_EQ(view.objectName(), "ListView1");
  ASSERT_EQ(view.columnCount(), 4);
  const QTreeWidgetItem* header = view.headerItem();
  EXPECT_EQ(header->text(0), "Num");
  EXPECT_EQ(header->text(1), "Title");
  EXPECT_EQ(header->text(2), "Groupe");
  EXPECT_EQ(header->text(3), "Fichiers");
  // At least 30 pixels, and never narrower than its caption.
  EXPECT_GE(view.columnWidth(0), 30);
  EXPECT_GE(view.columnWidth(0), view.header()->sectionSizeHint(0));
  EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(view.topLevelItem(1)->flags() & Qt::ItemIsEditable);

  EXPECT_EQ(column(0), (QStringList{"-2", "0", "1", "10", "2"}));
  EXPECT_EQ(column(1), (QStringList{"quillWick", "banana", "Apple", "cherry", "date"}));
  EXPECT_EQ(column(2), (QStringList{"Default", "Standard", "Work", "", "Home"}));
  EXPECT_EQ(column(3), (QStringList{"default.kvn", "1.kvn", "", "/home/me/c.txt", "3.kvn"}));
}

TEST_F(CardListViewTest, RowsGivenWhileHiddenAreMadeWhenTheListShows) {
  view.hide();
  auto rows = sampleRows();
  rows.pop_back();
  view.setRows(rows);
  EXPECT_EQ(view.rows().size(), rows.size());
  EXPECT_NE(view.topLevelItemCount(), static_cast<int>(rows.size())) << "made while hidden";
  view.show();
  ASSERT_EQ(view.topLevelItemCount(), static_cast<int>(rows.size()));
  EXPECT_EQ(view.topLevelItem(0)->text(1), QString::fromStdString(rows[0].title));
}

TEST_F(CardListViewTest, NumClickedThreeTimesSortsAscendingDescendingAscendingByValue) {
  clickHeader(0);
  EXPECT_EQ(column(0), (QStringList{"-2", "0", "1", "2", "10"}));
  clickHeader(0);
  EXPECT_EQ(column(0), (QStringList{"10", "2", "1", "0", "-2"}));
  clickHeader(0);
  EXPECT_EQ(column(0), (QStringList{"-2", "0", "1", "2", "10"}));
  EXPECT_EQ(view.sortState(), 1);
}

TEST_F(CardListViewTest, TextColumnsAlternateAndARefillKeepsTheStateWithoutSorting) {
  clickHeader(1);
  EXPECT_EQ(column(1), (QStringList{"Apple", "banana", "cherry", "date", "quillWick"}));
  clickHeader(1);
  EXPECT_EQ(column(1), (QStringList{"quillWick", "date", "cherry", "banana", "Apple"}));
  EXPECT_EQ(view.sortState(), 3);

  view.setRows(sampleRows());
  EXPECT_EQ(column(0), (QStringList{"-2", "0", "1", "10", "2"}));
  EXPECT_EQ(view.sortState(), 3);
  // Coming back to Num from another column starts descending.
  clickHeader(0);
  EXPECT_EQ(column(0), (QStringList{"10", "2", "1", "0", "-2"}));
}

TEST_F(CardListViewTest, TheSelectedRowStaysSelectedThroughASort) {
  view.setCurrentItem(view.topLevelItem(3));  // card 10
  clickHeader(2);
  ASSERT_TRUE(view.selectedRow());
  EXPECT_EQ(view.selectedRow()->card, 10);
  EXPECT_EQ(view.selectedRow()->title, "cherry");
}

TEST_F(CardListViewTest, ReleasingAKeyOpensTheSelectedRowsCard) {
  QSignalSpy opened(&view, &CardListView::openCard);
  view.setCurrentItem(view.topLevelItem(0));
  QTest::keyRelease(&view, Qt::Key_Shift);
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened.takeFirst().at(0).toInt(), notebook::kMainCard);

  // The press moves the selection, the release opens the row it moved to.
  QTest::keyClick(&view, Qt::Key_Down);
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened.takeFirst().at(0).toInt(), 0);
  EXPECT_EQ(view.selectedRow()->title, "banana");
}

TEST_F(CardListViewTest, AMouseClickOnlySelectsAndNothingOpensWithoutASelection) {
  QSignalSpy opened(&view, &CardListView::openCard);
  QTest::keyRelease(&view, Qt::Key_A);
  EXPECT_EQ(opened.count(), 0);

  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centreOfRow(2));
  ASSERT_TRUE(view.selectedRow());
  EXPECT_EQ(view.selectedRow()->card, 1);
  EXPECT_EQ(opened.count(), 0);
}

TEST_F(CardListViewTest, AHeldKeyOpensOnlyWhenItComesUp) {
  QSignalSpy opened(&view, &CardListView::openCard);
  view.setCurrentItem(view.topLevelItem(1));
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(&view, &repeated);
  EXPECT_EQ(opened.count(), 0);
  QKeyEvent last(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&view, &last);
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened.takeFirst().at(0).toInt(), 0);
}

}  // namespace
}  // namespace qw::gui

// The category manager wired to the store: what it shows, and what the keys and buttons do.

#include "gui/categories_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "gui/store_folder.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CategoriesDialogTest : public fixtures::StoreFolder {
 protected:
  std::optional<CategoriesDialog> dialog;

  // The program started on the data folder, with these card lines in the index.
  void open(const std::string& categories, std::vector<std::string> cards = {}) {
    writeBytes(data / "categ.kvn", categories);
    loadStore();
    cards.push_back("100");
    store->cardIndex.setLines(std::move(cards));
    dialog.emplace(*store, strings, &prompts);
  }

  void show() { fixtures::showActive(&*dialog); }

  template <typename T>
  T* child(const char* name) {
    return fixtures::namedChild<T>(&*dialog, name);
  }
  QLineEdit* name() { return child<QLineEdit>("EAjout"); }
  QListWidget* list() { return child<QListWidget>("LBCategorie"); }

  QStringList shown() {
    QStringList names;
    for (int row = 0; row < list()->count(); ++row) names << list()->item(row)->text();
    return names;
  }
};

TEST_F(CategoriesDialogTest, EachShowSetsTheCaptionsEmptiesTheNameAndRebuildsTheList) {
  open("1;:A\r\n3;:B\r\n4\r\n");
  EXPECT_EQ(dialog->objectName(), "TFCategorie");
  name()->setText("left over");
  show();
  EXPECT_EQ(dialog->windowTitle(), "Template management");
  EXPECT_EQ(child<QPushButton>("BAdd")->text(), "Add");
  EXPECT_EQ(child<QPushButton>("BSuppr")->text(), "Delete");
  EXPECT_EQ(child<QPushButton>("BClose")->text(), "Close");
  EXPECT_EQ(name()->accessibleName(), "Template name");
  EXPECT_EQ(name()->text(), "");
  EXPECT_EQ(shown(), (QStringList{"A", "B"}));
  EXPECT_EQ(QApplication::focusWidget(), name());

  dialog->hide();
  store->categories.setLines({"3;:B", "5;:C", "6"});
  show();
  EXPECT_EQ(shown(), (QStringList{"B", "C"}));
}

TEST_F(CategoriesDialogTest, EnterInTheNameAddsItOnceAndKeepsItTyped) {
  open("1\r\n");
  show();
  QTest::keyClicks(name(), "Work");
  QTest::keyClick(name(), Qt::Key_Return);
  EXPECT_EQ(shown(), QStringList{"Work"});
  EXPECT_EQ(readBytes(data / "categ.kvn"), "1;:Work\r\n2\r\n");
  EXPECT_EQ(store->settings.categoryFilter(), "-0-1-");
  EXPECT_EQ(name()->text(), "Work");
  EXPECT_TRUE(dialog->isVisible());

  // The same name again, in another case, adds nothing and says nothing.
  name()->setText("WORK");
  QTest::keyClick(name(), Qt::Key_Return);
  EXPECT_EQ(shown(), QStringList{"Work"});
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(CategoriesDialogTest, DeleteActsOnTheSelectionAfterTheQuestion) {
  open("1;:A\r\n2;:B\r\n3;:C\r\n4\r\n", {"9;-2-0:Card in B"});
  show();
  auto* remove = child<QPushButton>("BSuppr");
  QTest::mouseClick(remove, Qt::LeftButton);  // nothing selected: nothing asked
  EXPECT_TRUE(prompts.questions.empty());

  list()->setCurrentRow(1);
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{strings[i18n::Str::sErrCategoryInUse]});
  EXPECT_EQ(shown(), (QStringList{"A", "B", "C"}));

  list()->setCurrentRow(2);
  prompts.answers = {false};
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(prompts.questions.back(),
            "Delete confirmation|Do you really want to delete the Template : C");
  EXPECT_EQ(shown(), (QStringList{"A", "B", "C"}));

  // The Delete key on the list does what the button does.
  list()->setFocus();
  list()->setCurrentRow(0);
  prompts.answers = {true};
  QTest::keyClick(list(), Qt::Key_Delete);
  EXPECT_EQ(shown(), (QStringList{"B", "C"}));
  EXPECT_EQ(readBytes(data / "categ.kvn"), "2;:B\r\n3;:C\r\n4\r\n");
}

TEST_F(CategoriesDialogTest, AWriteFailureIsReportedAndTheListStaysAsTheFile) {
  open("1\r\n");
  show();
  fs::remove(data / "categ.kvn");
  fs::create_directory(data / "categ.kvn");  // the atomic writer cannot replace a folder
  name()->setText("Work");
  QTest::mouseClick(child<QPushButton>("BAdd"), Qt::LeftButton);
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(shown().isEmpty());
  EXPECT_EQ(store->categories.count(), 0);
}

TEST_F(CategoriesDialogTest, TabWalksNameAddListDeleteCloseAndEscapeOrCloseEndsIt) {
  open("1;:A\r\n2\r\n");
  show();
  const char* order[] = {"BAdd", "LBCategorie", "BSuppr", "BClose", "EAjout"};
  for (const char* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
  // Enter on the list adds nothing, even with a name typed.
  name()->setText("Typed");
  list()->setFocus();
  QTest::keyClick(list(), Qt::Key_Return);
  EXPECT_EQ(shown(), QStringList{"A"});

  QTest::keyClick(list(), Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  show();
  QTest::mouseClick(child<QPushButton>("BClose"), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace qw::gui

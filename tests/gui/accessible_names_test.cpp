// What a screen reader announces: every control of the main window, the dialogs and the card
// menu has a name, as Qt's accessibility layer exposes it (own name, caption or buddy label).

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "gui/about_dialog.h"
#include "gui/card_properties_dialog.h"
#include "gui/categories_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/options_dialog.h"
#include "gui/password_dialog.h"
#include "gui/store_folder.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

using fixtures::FullWindow;
using fixtures::interactiveWidgets;

std::string accessibleName(QObject* object) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
  return face ? face->text(QAccessible::Name).trimmed().toStdString() : std::string();
}

// The controls under `root` that a screen reader would announce without a name; those shown
// right now, or all of them, hidden ones included.
std::string unnamed(QWidget* root, bool shownOnly = false) {
  QStringList missing;
  for (QWidget* w : interactiveWidgets(root, shownOnly))
    if (accessibleName(w).empty())
      missing << w->objectName() + " (" + w->metaObject()->className() + ")";
  return missing.join("\n").toStdString();
}

// Names that only repeat a one-letter caption tell nothing either.
std::string meaningless(QWidget* root) {
  QStringList found;
  for (QWidget* w : interactiveWidgets(root, false)) {
    const QString name = QString::fromStdString(accessibleName(w));
    if (!name.isEmpty() && (name.size() < 2 || name == "..."))
      found << w->objectName() + ": " + name;
  }
  return found.join("\n").toStdString();
}

TEST_F(FullWindow, EveryControlOfTheMainWindowAndItsMenuHasAName) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  EXPECT_EQ(unnamed(&window), "");
  EXPECT_EQ(meaningless(&window), "");
  // A sample of what the names say, in the interface language.
  EXPECT_EQ(accessibleName(window.findChild<QToolButton*>("BBold")), "Bold");
  EXPECT_EQ(accessibleName(window.findChild<QWidget*>("MMain")), "Gamma");
  EXPECT_EQ(accessibleName(window.findChild<QWidget*>("ESearch")), "Search :");

  // The strip's card names are read out as they are shown.
  QStringList strip;
  for (auto* label : window.findChild<QWidget*>("SBLabelCanvas")->findChildren<QLabel*>())
    if (label->isVisibleTo(&window)) strip << QString::fromStdString(accessibleName(label));
  EXPECT_TRUE(strip.contains("Alpha") && strip.contains("Gamma")) << strip.join(", ").toStdString();

  auto* menu = window.findChild<QMenu*>("PMFiche1");
  ASSERT_NE(menu, nullptr);
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
  ASSERT_NE(face, nullptr);
  ASSERT_GT(face->childCount(), 10);
  for (int i = 0; i < face->childCount(); ++i) {
    QAccessibleInterface* item = face->child(i);
    if (item->role() == QAccessible::Separator) continue;
    EXPECT_FALSE(item->text(QAccessible::Name).isEmpty()) << "menu item " << i;
  }
}

TEST_F(FullWindow, TheFormatBarNamesFollowTheInterfaceLanguage) {
  fixtures::write(data / "param.ini",
                  "Langue=Fran\xE7"
                  "ais\r\nDefaultFiche=Gamma\r\n");
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  EXPECT_EQ(accessibleName(window.findChild<QToolButton*>("BBold")), "Gras");
  EXPECT_EQ(accessibleName(window.findChild<QToolButton*>("IListPrecise")),
            "Afficher la liste des fiches");
  EXPECT_EQ(unnamed(&window), "");
}

// A combo box goes by its label, not by the item it shows, in the interface language; the item
// is its value.
TEST_F(FullWindow, ComboBoxesAreNamedByTheirLabelsNotByTheirItems) {
  fixtures::write(data / "param.ini",
                  "Langue=Fran\xE7"
                  "ais\r\nDefaultFiche=Gamma\r\n");
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  const auto value = [](QObject* o) {
    return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Value).toStdString();
  };
  auto* colour = window.findChild<QWidget*>("CBColor");
  EXPECT_EQ(accessibleName(colour), "Couleur du texte");
  EXPECT_EQ(value(colour), "Black");
  auto* function = window.findChild<QWidget*>("CBFonction");
  EXPECT_EQ(accessibleName(function), "Fonction");  // from its buddy label
  EXPECT_EQ(value(function), "Recharger");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(function)->role(), QAccessible::ComboBox);
}

using DialogNames = fixtures::StoreFolder;

TEST_F(DialogNames, ThePropertiesListsAreNamedByTheirLabels) {
  loadStore();
  CardPropertiesDialog properties;
  QTimer::singleShot(0, [&] {
    auto* category = properties.findChild<QWidget*>("CBCategorie");
    auto* hotKey = properties.findChild<QWidget*>("CBHotKeys");
    EXPECT_EQ(accessibleName(category), "Template list");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(category)->text(QAccessible::Value),
              "Standard");
    EXPECT_EQ(accessibleName(hotKey), "Choose a HotKey");
    // The list that drops down is the box's child.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(hotKey);
    ASSERT_EQ(box->childCount(), 1);
    EXPECT_EQ(box->child(0)->role(), QAccessible::List);
    EXPECT_EQ(box->indexOfChild(box->child(0)), 0);
    properties.reject();
  });
  properties.ask(CardPropertiesDialog::Mode::Add, {"Notes", "", "", "0", 0}, *store, strings);
}

TEST_F(DialogNames, EveryDialogControlHasAName) {
  loadStore();
  CategoriesDialog categories(*store, strings, &prompts);
  categories.show();
  EXPECT_EQ(unnamed(&categories, true), "");
  categories.hide();

  OptionsDialog options(*store, strings, platform, &prompts);
  options.show();
  EXPECT_EQ(unnamed(&options, true), "");
  options.hide();

  AboutDialog about;
  about.setStrings(strings);
  about.setPerUserDataFolder("/home/me/.local/share/dataQuillWick");
  about.show();
  EXPECT_EQ(unnamed(&about, true), "");
  about.hide();

  // The two dialogs that set their captions when asked are looked at while they show.
  CardPropertiesDialog properties;
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(unnamed(&properties, true), "");
    EXPECT_EQ(meaningless(&properties), "");
    properties.reject();
  });
  properties.ask(CardPropertiesDialog::Mode::Modify, {"Notes", "", "", "0", 0}, *store, strings);

  PasswordDialog password;
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(unnamed(&password, true), "");
    password.reject();
  });
  password.ask(strings, "Bank", false);
}

}  // namespace
}  // namespace qw::gui

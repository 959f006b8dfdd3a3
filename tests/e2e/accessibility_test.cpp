// What a screen reader finds in the real program, read over AT-SPI as Orca would: the strip of
// cards is a list with the current card selected and walked with the arrow keys, and the combo
// boxes go by their labels.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

class ScreenReader : public DesktopTest {
 protected:
  void SetUp() override {
    desktop.startAccessibilityBus();
    // The index is in the Windows code page: "Téléphones" in Latin-1.
    program.writeCards({{"Courses", "lait"}, {"Projets", "lundi"}, {"T\xE9l\xE9phones", "Anna"}});
    std::string settings = englishSettings("Projets");
    settings.replace(0, std::string("Langue=Anglais").size(),
                     "Langue=Fran\xE7"
                     "ais");
    program.writeData("param.ini", settings);
    running = &program.start();
    const bool shown = program.waitForMainWindow();
    if (!shown) screenshot("screen-reader-start.png");
    ASSERT_TRUE(shown);
    ASSERT_TRUE(desktop.focus(program.mainWindow()));
  }

  // The lists and combo boxes of the program's windows (tests/e2e/atspi_tree.py).
  QJsonObject tree() const {
    const CommandResult read = tool({"dump", pid()});
    EXPECT_EQ(read.exitCode, 0) << read.out.toStdString();
    return QJsonDocument::fromJson(read.out.toUtf8()).object();
  }
  CommandResult tool(QStringList args) const {
    args.prepend(QW_SOURCE_DIR "/tests/e2e/atspi_tree.py");
    return desktop.run("/usr/bin/python3", args, 60s);
  }
  QString pid() const { return QString::number(running->processId()); }

  static QJsonObject listNamed(const QJsonObject& tree, const QString& name) {
    for (const QJsonValue list : tree["lists"].toArray())
      if (list["name"].toString() == name) return list.toObject();
    return {};
  }
  static QStringList items(const QJsonObject& list, const QString& state = {}) {
    QStringList names;
    for (const QJsonValue item : list["items"].toArray())
      if (state.isEmpty() || item["states"].toArray().contains(state))
        names << item["name"].toString();
    return names;
  }
  static QStringList comboNames(const QJsonObject& tree) {
    QStringList names;
    for (const QJsonValue combo : tree["combos"].toArray()) names << combo["name"].toString();
    return names;
  }

  QProcess* running = nullptr;
};

TEST_F(ScreenReader, TheStripIsAListOfTheCardsWalkedWithTheArrowKeys) {
  const QJsonObject before = tree();
  const QJsonObject strip = listNamed(before, "Fiches");
  ASSERT_FALSE(strip.isEmpty()) << QJsonDocument(before).toJson().toStdString();
  EXPECT_EQ(items(strip), (QStringList{"ktrquillWick", "Courses", "Projets",
                                       QString::fromUtf8("T\xC3\xA9l\xC3\xA9phones")}));
  for (const QJsonValue item : strip["items"].toArray())
    EXPECT_EQ(item["role"].toString(), "list item");
  EXPECT_EQ(items(strip, "selected"), QStringList{"Projets"});

  // With the strip given the keyboard, Down opens the next card, and the screen reader hears of
  // it: selected and focused.
  const CommandResult focused = tool({"focus", pid(), "Fiches"});
  ASSERT_EQ(focused.exitCode, 0) << focused.out.toStdString();
  desktop.key("Down");
  const QString next = QString::fromUtf8("T\xC3\xA9l\xC3\xA9phones");
  QJsonObject after;
  waitUntil([&] {
    after = listNamed(tree(), "Fiches");
    return items(after, "selected") == QStringList{next};
  });
  EXPECT_EQ(items(after, "selected"), QStringList{next});
  EXPECT_EQ(items(after, "focused"), QStringList{next});
  desktop.key("Up");
  desktop.key("Up");
  EXPECT_TRUE(waitUntil(
      [&] { return items(listNamed(tree(), "Fiches"), "selected") == QStringList{"Courses"}; }));
  screenshot("screen-reader-strip.png");
}

TEST_F(ScreenReader, ComboBoxesGoByTheirLabelsNotByTheItemTheyShow) {
  const QStringList main = comboNames(tree());
  for (const char* label : {"Fonction", "Police", "Couleur du texte", "Couleur du fond"})
    EXPECT_TRUE(main.contains(QString::fromUtf8(label)))
        << label << " in " << main.join(", ").toStdString();
  for (const char* item : {"Recharger", "Black", "White"})
    EXPECT_FALSE(main.contains(item)) << item << " in " << main.join(", ").toStdString();

  // The card properties: category and hot key.
  desktop.key("ctrl+r");
  const QString dialog = desktop.waitForWindow("^Ajouter une Fiche$");
  ASSERT_FALSE(dialog.isEmpty());
  const QStringList properties = comboNames(tree());
  for (const char* label : {"Liste des Categories", "Raccourci"})
    EXPECT_TRUE(properties.contains(label))
        << label << " in " << properties.join(", ").toStdString();
  EXPECT_FALSE(properties.contains("Standard")) << properties.join(", ").toStdString();
  EXPECT_TRUE(desktop.answer(dialog, "Escape"));
}

}  // namespace
}  // namespace qw::e2e

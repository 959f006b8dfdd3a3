// The options dialog wired to the settings: what a show loads, the live sample, and what
// saving, the default button and cancelling leave in memory and in param.ini.

#include "gui/options_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

#include "gui/colour_list.h"
#include "gui/store_folder.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;
using ::testing::_;

const QColor kBlueGrey(0x67, 0x74, 0xA6);

class OptionsDialogTest : public fixtures::StoreFolder {
 protected:
  std::optional<OptionsDialog> dialog;

  // The program started on the data folder with these card lines; `settings` are the lines of
  // param.ini, or nothing for a first start.
  void open(const std::string& settings = {}, std::vector<std::string> cards = {}) {
    if (!settings.empty()) writeBytes(data / "param.ini", settings);
    loadStore();
    strings = i18n::StringTable::forLanguage(store->language);
    cards.push_back("100");
    store->cardIndex.setLines(std::move(cards));
    dialog.emplace(*store, strings, platform, &prompts);
  }

  void show() { fixtures::showActive(&*dialog); }

  template <typename T>
  T* child(const char* name) {
    return fixtures::namedChild<T>(&*dialog, name);
  }
  QColor background() { return child<QFrame>("PExample")->palette().color(QPalette::Window); }
  QColor ink(const char* label) {
    return child<QLabel>(label)->palette().color(QPalette::WindowText);
  }
  QComboBox* cards() { return child<QComboBox>("CBDefaultFiche"); }
  void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
  // What the user does with a colour list: choose one of its items.
  void choose(const char* list, int item) { emit child<ColourList>(list)->activated(item); }
  std::string saved() { return readBytes(data / "param.ini"); }
};

std::string englishSettings(const std::string& defaultCard, const std::string& colours,
                            const std::string& launch, const std::string& hidden) {
  return "Langue=Anglais\r\nDefaultFiche=" + defaultCard + "\r\n" + colours +
         "LCategories=-0-3-\r\nAffichList=1\r\nLaunch=" + launch + "\r\nHidden=" + hidden + "\r\n";
}

const std::string kDefaultColours =
    "BGMenuColor=$00A67467\r\nLDMenuColor=clYellow\r\nLSMenuColor=clWhite\r\n";

TEST_F(OptionsDialogTest, AShowLoadsCaptionsListsSampleAndTicksFromTheSettings) {
  open(englishSettings("Beta", kDefaultColours, "Startup", "Hide"),
       {"1;-0-0:Alpha", "2;-3-H1-0:Beta"});
  show();
  EXPECT_EQ(dialog->objectName(), "TFOptions");
  EXPECT_EQ(dialog->windowTitle(), "Setup");
  EXPECT_EQ(child<QLabel>("LLanguage")->text(), "Language :");
  EXPECT_EQ(child<QLabel>("LEx2")->text(), "Card 2");
  EXPECT_EQ(child<QPushButton>("BDefault")->text(), "Default parameter");
  EXPECT_EQ(cards()->accessibleName(), "Default card :");
  for (const char* name :
       {"PTop", "PForm", "LDefaultFiche", "LBGColor", "ColorBox3", "LDColor", "ColorBox4",
        "LSColor", "ColorBox5", "LEx1", "LEx3", "BSaveAndClose", "BCancel"})
    EXPECT_NE(dialog->findChild<QWidget*>(name), nullptr) << name;

  auto* language = child<QComboBox>("CBLanguage");
  ASSERT_EQ(language->count(), 2);
  EXPECT_EQ(language->itemText(0), "Français");
  EXPECT_EQ(language->itemText(1), "Anglais");
  EXPECT_EQ(language->currentText(), "Anglais");

  ASSERT_EQ(cards()->count(), 3);
  EXPECT_EQ(cards()->itemText(0), "ktrquillWick");
  EXPECT_EQ(cards()->itemText(2), "Beta");
  EXPECT_EQ(cards()->currentIndex(), 2);

  EXPECT_EQ(background(), kBlueGrey);
  EXPECT_EQ(ink("LEx1"), QColor(Qt::yellow));
  EXPECT_EQ(ink("LEx2"), QColor(Qt::white));
  EXPECT_EQ(ink("LEx3"), QColor(Qt::yellow));
  // The lists show the same colours: a standard one by its item, any other as the custom item.
  EXPECT_EQ(child<ColourList>("ColorBox4")->currentText(), "Yellow");
  EXPECT_EQ(child<ColourList>("ColorBox5")->currentText(), "White");
  auto* backgrounds = child<ColourList>("ColorBox3");
  EXPECT_EQ(backgrounds->currentIndex(), ColourList::kCustomItem);
  EXPECT_EQ(backgrounds->customColour(), kBlueGrey);
  EXPECT_TRUE(child<QCheckBox>("CBStartup")->isChecked());
  auto* hide = child<QCheckBox>("CBHideAtStartup");
  EXPECT_TRUE(hide->isChecked());
  EXPECT_FALSE(hide->isVisible());
}

// Windows starts the program from its Run key; elsewhere the desktop session does.
TEST_F(OptionsDialogTest, TheStartBoxNamesWhatStartsTheProgram) {
#ifdef Q_OS_WIN
  const char* expected[] = {"Lancer KTRquillWick au démarrage de Windows",
                            "Load KTRquillWick at startup"};
#else
  const char* expected[] = {"Lancer KTRquillWick à l'ouverture de la session",
                            "Launch KTRquillWick when the session starts"};
#endif
  open();
  show();
  EXPECT_EQ(child<QCheckBox>("CBStartup")->text(), QString::fromUtf8(expected[0]));
  dialog.reset();
  open(englishSettings("", kDefaultColours, "Manual", "Show"));
  show();
  EXPECT_EQ(child<QCheckBox>("CBStartup")->text(), QString::fromUtf8(expected[1]));
}

TEST_F(OptionsDialogTest, AFirstStartSelectsNoCardAndAnUnknownLanguageShowsFrench) {
  // The default "DefaultFiche" is the stored main card name, which the list does not hold.
  open();
  show();
  EXPECT_EQ(cards()->currentIndex(), -1);
  EXPECT_EQ(child<QComboBox>("CBLanguage")->currentText(), "Français");
  EXPECT_EQ(dialog->windowTitle(), "Options");
  dialog->hide();

  std::vector<std::string> lines = store->settings.lines();
  lines[0] = "Langue=Klingon";
  store->settings = store::Settings::fromLines(lines);
  show();
  EXPECT_EQ(child<QComboBox>("CBLanguage")->currentText(), "Français");
}

TEST_F(OptionsDialogTest, ColourListsRecolourOnlyTheirPartOfTheSampleAndSavingWritesThem) {
  open(englishSettings("", kDefaultColours, "Manual", "Show"));
  show();
  choose("ColorBox4", 13);  // Blue
  EXPECT_EQ(ink("LEx1"), QColor(Qt::blue));
  EXPECT_EQ(ink("LEx3"), QColor(Qt::blue));
  EXPECT_EQ(ink("LEx2"), QColor(Qt::white));
  EXPECT_EQ(background(), kBlueGrey);

  child<ColourList>("ColorBox3")->setCustomColour(QColor(0x12, 0x34, 0x56));
  choose("ColorBox3", ColourList::kCustomItem);
  EXPECT_EQ(background(), QColor(0x12, 0x34, 0x56));
  choose("ColorBox5", 10);  // Red
  EXPECT_EQ(ink("LEx2"), QColor(Qt::red));

  // Nothing is stored until the dialog is saved.
  EXPECT_EQ(store->settings.lines()[3], "LDMenuColor=clYellow");
  click("BSaveAndClose");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(saved(), englishSettings("",
                                     "BGMenuColor=$00563412\r\nLDMenuColor=clBlue\r\n"
                                     "LSMenuColor=clRed\r\n",
                                     "Manual", "Show"));
}

TEST_F(OptionsDialogTest, TheDefaultButtonThenCancelStoresNothing) {
  open(englishSettings("Alpha", "BGMenuColor=clRed\r\nLDMenuColor=clBlue\r\nLSMenuColor=clLime\r\n",
                       "Startup", "Hide"),
       {"1;-0-0:Alpha"});
  const std::string before = saved();
  const store::Settings inMemory = store->settings;
  show();
  EXPECT_EQ(background(), QColor(Qt::red));
  EXPECT_EQ(cards()->currentIndex(), 1);
  child<QComboBox>("CBLanguage")->setCurrentIndex(0);
  child<QCheckBox>("CBStartup")->setChecked(false);

  click("BDefault");
  EXPECT_EQ(background(), kBlueGrey);
  EXPECT_EQ(ink("LEx1"), QColor(Qt::yellow));
  EXPECT_EQ(ink("LEx2"), QColor(Qt::white));
  EXPECT_EQ(ink("LEx3"), QColor(Qt::yellow));
  EXPECT_EQ(cards()->currentIndex(), 0);
  // Language and the tick are the user's, not defaults.
  EXPECT_EQ(child<QComboBox>("CBLanguage")->currentIndex(), 0);
  EXPECT_FALSE(child<QCheckBox>("CBStartup")->isChecked());

  EXPECT_CALL(platform, setStartAtLogon(_, _)).Times(0);
  click("BCancel");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(store->settings, inMemory);
  EXPECT_EQ(saved(), before);

  // The next show starts again from the settings.
  show();
  EXPECT_EQ(background(), QColor(Qt::red));
  EXPECT_TRUE(child<QCheckBox>("CBStartup")->isChecked());
}

TEST_F(OptionsDialogTest, SavingWritesEveryValueAndTheLogonEntryButNotTheLanguageInUse) {
  open(
      "Langue=Fran\xE7"
      "ais\r\nDefaultFiche=Alpha\r\n" +
          kDefaultColours +
          "LCategories=-0-3-\r\nAffichList=1\r\nLaunch=Startup\r\nHidden=anything\r\n",
      {"1;-0-0:Alpha", "2;-0-0:Beta"});
  show();
  EXPECT_TRUE(child<QCheckBox>("CBStartup")->isChecked());
  child<QComboBox>("CBLanguage")->setCurrentIndex(1);
  cards()->setCurrentIndex(2);
  child<QCheckBox>("CBStartup")->setChecked(false);

  EXPECT_CALL(platform, setStartAtLogon(false, temp.path() / "quillwick"));
  click("BSaveAndClose");
  EXPECT_EQ(saved(), englishSettings("Beta", kDefaultColours, "Manual", "Show"));
  EXPECT_EQ(store->settings.language(), store::Language::English);
  // The table in use stays French until the next start.
  show();
  EXPECT_EQ(dialog->windowTitle(), "Options");
  EXPECT_EQ(child<QComboBox>("CBLanguage")->currentText(), "Anglais");
}

TEST_F(OptionsDialogTest, ColourNamesOnlyThePaletteResolvesAreKeptAndNonsenseBecomesDefault) {
  open(englishSettings("",
                       "BGMenuColor=clBtnFace\r\nLDMenuColor=nonsense\r\nLSMenuColor=16711680\r\n",
                       "Manual", "Show"));
  show();
  EXPECT_EQ(background(), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(ink("LEx1"), QColor(Qt::yellow));
  EXPECT_EQ(ink("LEx2"), QColor(Qt::blue));
  click("BSaveAndClose");
  EXPECT_EQ(store->settings.lines()[2], "BGMenuColor=clBtnFace");
  EXPECT_EQ(store->settings.lines()[3], "LDMenuColor=clYellow");
  EXPECT_EQ(store->settings.lines()[4], "LSMenuColor=16711680");
}

TEST_F(OptionsDialogTest, AFailedSaveIsReportedAndKeepsTheDialogAndTheSettings) {
  open(englishSettings("", kDefaultColours, "Manual", "Show"));
  show();
  fs::remove(data / "param.ini");
  fs::create_directory(data / "param.ini");  // the atomic writer cannot replace a folder
  const store::Settings before = store->settings;
  child<QCheckBox>("CBStartup")->setChecked(true);
  // The start at logon goes back with the settings: half applied, the program would start at
  // logon while the options say it does not.
  {
    ::testing::InSequence order;
    EXPECT_CALL(platform, setStartAtLogon(true, _));
    EXPECT_CALL(platform, setStartAtLogon(false, _));
  }
  click("BSaveAndClose");
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(store->settings, before);
}

TEST_F(OptionsDialogTest, EnterSavesEscapeCancelsAndRunTellsWhich) {
  open(englishSettings("", kDefaultColours, "Manual", "Show"));
  QTimer::singleShot(0, [this] { QTest::keyClick(&*dialog, Qt::Key_Escape); });
  EXPECT_FALSE(dialog->run());

  QTimer::singleShot(0, [this] {
    child<QCheckBox>("CBStartup")->setChecked(true);
    QTest::keyClick(child<QComboBox>("CBLanguage"), Qt::Key_Return);
  });
  EXPECT_CALL(platform, setStartAtLogon(true, _));
  EXPECT_TRUE(dialog->run());
  EXPECT_TRUE(store->settings.startAtLogon());
}

TEST_F(OptionsDialogTest, TheGlobalKeysChoiceIsATenthLineOnlyForCtrlAlt) {
  open(englishSettings("quillWick", kDefaultColours, "Manual", "Show") + "GlobalKeys=CtrlAlt\r\n");
  show();
  auto* keys = child<QComboBox>("CBGlobalKeys");
  EXPECT_EQ(keys->currentText(), "Ctrl+Shift+F1 … F12");
  EXPECT_EQ(child<QLabel>("LGlobalKeys")->text(), "Global keys :");
  QTimer::singleShot(0, [&] { click("BSaveAndClose"); });
  ASSERT_TRUE(dialog->run());
  EXPECT_NE(saved().find("Hidden=Show\r\nGlobalKeys=CtrlAlt\r\n"), std::string::npos) << saved();

  QTimer::singleShot(0, [&] {
    keys->setCurrentIndex(0);
    click("BSaveAndClose");
  });
  ASSERT_TRUE(dialog->run());
  EXPECT_EQ(store->settings.globalKeys(), store::GlobalKeys::Win);
  EXPECT_EQ(saved().find("GlobalKeys"), std::string::npos) << saved();
}

TEST_F(OptionsDialogTest, TabFollowsTheControlsTopToBottom) {
  open();
  show();
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "CBLanguage");
  for (const char* next : {"CBStartup", "CBGlobalKeys", "CBDefaultFiche", "ColorBox3", "ColorBox4",
                           "ColorBox5", "BDefault", "BSaveAndClose", "BCancel", "CBLanguage"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
}

}  // namespace
}  // namespace qw::gui

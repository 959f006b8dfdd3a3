#include "core/store/store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/store/colour.h"
#include "core/store/index_line.h"
#include "core/store/mock_platform.h"
#include "core/store/store_error.h"
#include "core/store/temp_folder.h"
#include "core/store/text_file.h"

namespace qw::store {
namespace {

using namespace std::string_literals;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::NiceMock;
using ::testing::Return;
using namespace qw::store::fixtures;
namespace fs = std::filesystem;

const std::string kDefaultParamIni =
    "Langue=Fran\xE7"
    "ais\r\nDefaultFiche=quillWick\r\nBGMenuColor=$00A67467\r\n"
    "LDMenuColor=clYellow\r\nLSMenuColor=clWhite\r\nLCategories=-0-\r\nAffichList=0\r\n"
    "Launch=Manual\r\nHidden=Hide\r\n";

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() {
    fs::create_directories(root_.path() / "bin");
    ON_CALL(platform_, browserPath()).WillByDefault(Return(""));
  }

  StoreLocation location() const { return {executable(), root_.path() / "user"}; }
  fs::path executable() const { return root_.path() / "bin" / "quillwick"; }
  fs::path data() const { return root_.path() / "bin" / "dataQuillWick"; }
  fs::path data(const std::string& name) const { return data() / name; }

  // A data folder that already holds everything, so that a load writes nothing.
  void prepare(const std::string& index, const std::string& categories = "1\r\n",
               const std::string& settings = kDefaultParamIni) {
    writeBytes(data("fiches.kvn"), index);
    writeBytes(data("categ.kvn"), categories);
    writeBytes(data("param.ini"), settings);
  }
  // A card with its settings file naming its own content file.
  void addCardFiles(const std::string& number, const std::string& content) {
    writeBytes(data(number + ".kvo"), number + ".kvn\r\n0\r\n");
    writeBytes(data(number + ".kvn"), content);
  }

  Store load() { return loadStore(location(), platform_); }

  TempFolder root_;
  NiceMock<MockPlatform> platform_;
};

TEST_F(StoreTest, FirstStartCreatesTheFolderAndItsThreeFiles) {
  EXPECT_CALL(platform_, setStartAtLogon(false, executable())).Times(1);
  EXPECT_CALL(platform_, browserPath()).WillOnce(Return("/usr/bin/firefox"));
  const Store store = load();

  EXPECT_EQ(store.dataFolder, data());
  EXPECT_FALSE(store.dataFolderIsPerUser);
  EXPECT_EQ(store.executable, executable());
  EXPECT_THAT(entriesOf(data()), ElementsAre("categ.kvn", "fiches.kvn", "param.ini"));
  EXPECT_EQ(readBytes(data("param.ini")), kDefaultParamIni);
  EXPECT_EQ(readBytes(data("fiches.kvn")), "1\r\n");
  EXPECT_EQ(readBytes(data("categ.kvn")), "1\r\n");
  EXPECT_EQ(store.settings, Settings::defaults());
  EXPECT_EQ(store.language, Language::French);
  EXPECT_EQ(store.browserPath, "/usr/bin/firefox");
  EXPECT_EQ(store.cardIndex.count(), 0);
  EXPECT_EQ(store.categories.count(), 0);
  for (int slot = 1; slot <= 10; ++slot) EXPECT_EQ(store.hotKeys[slot], HotKeySlot{});
}

TEST_F(StoreTest, ExistingFilesAreReadAndNotRewritten) {
  const std::string shortSettings =
      "Langue=Anglais\r\nDefaultFiche=Notes\r\nBGMenuColor=clNavy\r\n"
      "LDMenuColor=clRed\r\nLSMenuColor\r\n";
  prepare("1;-0-0:Notes\r\n2\r\n", "1;:Work\r\n2\r\n", shortSettings);
  addCardFiles("1", "text");
  EXPECT_CALL(platform_, setStartAtLogon(_, _)).Times(0);

  const Store store = load();
  EXPECT_EQ(store.settings.language(), Language::English);
  EXPECT_EQ(store.language, Language::English);
  EXPECT_EQ(store.settings.stripBackground(), *parseColour("clNavy"));
  EXPECT_EQ(store.settings.lines()[4], "LSMenuColor=LSMenuColor");  // no "=": the whole line
  EXPECT_EQ(store.settings.categoryFilter(), "-0-");
  EXPECT_TRUE(store.settings.hiddenStart());
  EXPECT_EQ(readBytes(data("param.ini")), shortSettings);
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("1;-0-0:Notes", "2"));
  EXPECT_EQ(store.categories.name(0), "Work");
  EXPECT_THAT(entriesOf(data()),
              ElementsAre("1.kvn", "1.kvo", "categ.kvn", "fiches.kvn", "param.ini"));
}

TEST_F(StoreTest, SavingSettingsFollowsTheLaunchValue) {
  Store store = load();
  store.settings.setStartAtLogon(true);
  store.settings.setLanguage(Language::English);
  EXPECT_CALL(platform_, setStartAtLogon(true, executable())).Times(1);
  saveSettings(store, platform_);
  EXPECT_EQ(readBytes(data("param.ini")).substr(0, 16), "Langue=Anglais\r\n");

  std::vector<std::string> lines = store.settings.lines();
  lines[7] = "Launch=startup";  // only the exact text registers
  store.settings = Settings::fromLines(lines);
  EXPECT_CALL(platform_, setStartAtLogon(false, executable())).Times(1);
  saveSettings(store, platform_);
  EXPECT_NE(readBytes(data("param.ini")).find("\r\nLaunch=startup\r\nHidden=Hide\r\n"),
            std::string::npos);
}

TEST_F(StoreTest, OlderIndexIsConvertedSavedAndReloaded) {
  prepare("3:0:Courses\r\n5:1:Liens: web\r\n6\r\n");
  addCardFiles("3", "x");
  addCardFiles("5", "y");
  const Store store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("3;-0-0:Courses", "5;-0-1:Liens: web", "6"));
  EXPECT_EQ(readBytes(data("fiches.kvn")), "3;-0-0:Courses\r\n5;-0-1:Liens: web\r\n6\r\n");

  const Store again = load();
  EXPECT_EQ(again.cardIndex.lines(), store.cardIndex.lines());
  EXPECT_EQ(readBytes(data("fiches.kvn")), "3;-0-0:Courses\r\n5;-0-1:Liens: web\r\n6\r\n");
}

TEST_F(StoreTest, DeadEntryIsDroppedAndLaterHotKeysShift) {
  const std::string index = "1;-0-0:A\r\n2;-0-H1-0:Dead\r\n\r\n3;-0-H4-0:C\r\n4\r\n";
  prepare(index);
  addCardFiles("1", "a");
  addCardFiles("3", "hello\r\n");
  Store store = load();

  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("1;-0-0:A", "3;-0-H4-0:C", "4"));
  EXPECT_EQ(store.cardIndex.count(), 1 + 1);
  EXPECT_EQ(store.hotKeys[4], (HotKeySlot{"hello", "C", 1}));
  EXPECT_EQ(store.hotKeys[1], HotKeySlot{});  // the dead card binds nothing
  // The content files read at load follow the cards that stay.
  EXPECT_THAT(*store.contentPathsAtLoad, ElementsAre(data("1.kvn"), data("3.kvn")));
  EXPECT_EQ(readBytes(data("fiches.kvn")), index);  // dropped for good only at the next save
  saveCardIndex(store);
  EXPECT_EQ(readBytes(data("fiches.kvn")), "1;-0-0:A\r\n3;-0-H4-0:C\r\n4\r\n");
}

TEST_F(StoreTest, HotKeyTextIsTheContentFile) {
  prepare(
      "1;-0-H1-0:One line\r\n2;-0-H2-0:Lines\r\n3;-0-H3-0:Empty\r\n4;-0-H4-0:Missing\r\n"
      "5;-0-H5-1:Linked\r\n6;-0-H6-0:No path\r\n7;-2-H3-0:a:b-c-1:d\r\n8\r\n");
  addCardFiles("1", "only\r\n");
  addCardFiles("2", "a\nb\r\n\r\nc");
  addCardFiles("3", "");
  writeBytes(data("4.kvo"), "4.kvn\r\n");
  const auto elsewhere = root_.path() / "linked" / "notes.txt";
  writeBytes(elsewhere, "linked\r\ntext\r\n");
  writeBytes(data("5.kvo"), elsewhere.string() + "\r\n");
  writeBytes(data("6.kvo"), "");
  writeBytes(data("7.kvo"), "7.kvn\r\n");
  writeBytes(data("7.kvn"), "Caf\xE9");

  const Store store = load();
  EXPECT_EQ(store.cardIndex.count(), 7);
  EXPECT_EQ(store.hotKeys[1], (HotKeySlot{"only", "One line", 0}));
  EXPECT_EQ(store.hotKeys[2], (HotKeySlot{"a\r\nb\r\n\r\nc\r\n", "Lines", 1}));
  EXPECT_EQ(store.hotKeys[4], (HotKeySlot{"", "Missing", 3}));
  EXPECT_EQ(store.hotKeys[5], (HotKeySlot{"linked\r\ntext\r\n", "Linked", 4}));
  EXPECT_EQ(store.hotKeys[6], (HotKeySlot{"", "No path", 5}));
  // The later card on slot 3 wins, with its whole name.
  EXPECT_EQ(store.hotKeys[3], (HotKeySlot{"Café", "a:b-c-1:d", 6}));
}

TEST_F(StoreTest, ContentPathIsRelativeToTheDataFolderUnlessAbsolute) {
  prepare("1;-0-0:A\r\n2;-0-1:B\r\n3;-0-0:C\r\n4\r\n");
  addCardFiles("1", "");
#ifdef _WIN32
  const std::string elsewhere = "D:\\somewhere\\else.rtf";
#else
  const std::string elsewhere = "/somewhere/else.rtf";
#endif
  writeBytes(data("2.kvo"), elsewhere + "\r\n");
  writeBytes(data("3.kvo"), "");
  Store store = load();
  EXPECT_THAT(*store.contentPathsAtLoad,
              ElementsAre(data("1.kvn"), fs::path(elsewhere), fs::path()));
  EXPECT_EQ(readContentPath(store, 0), data() / "1.kvn");
  EXPECT_EQ(readContentPath(store, 1), fs::path(elsewhere));
  EXPECT_EQ(readContentPath(store, 2), fs::path());
  fs::remove(data("1.kvo"));
  EXPECT_EQ(readContentPath(store, 0), fs::path());
  EXPECT_THROW(readContentPath(store, 3), std::out_of_range);
}

TEST_F(StoreTest, SettingsFileThatIsAFolderIsKeptAndLoadingBindsNothing) {
  prepare("1;-0-H2-0:A\r\n2\r\n");
  fs::create_directory(data("1.kvo"));
  const Store store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("1;-0-H2-0:A", "2"));
  EXPECT_EQ(store.hotKeys[2], (HotKeySlot{"", "A", 0}));
  EXPECT_THAT(*store.contentPathsAtLoad, ElementsAre(std::nullopt));
  EXPECT_THROW(readContentPath(store, 0), StoreError);
}

TEST_F(StoreTest, BlankLinesAnywhereInTheCountedFilesAreDropped) {
  // One blank line after the counter, as a hand edit or another tool leaves it.
  prepare("3;-0-0:Courses\r\n6\r\n\r\n", "\r\n1;:Work\r\n\r\n2\r\n\r\n");
  addCardFiles("3", "milk");
  const Store store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("3;-0-0:Courses", "6"));
  EXPECT_THAT(store.categories.lines(), ElementsAre("1;:Work", "2"));
  EXPECT_FALSE(store.indexRepair);
  EXPECT_FALSE(fs::exists(data("fiches.kvn.bad")));
  EXPECT_FALSE(fs::exists(data("categ.kvn.bad")));
  EXPECT_EQ(readBytes(data("3.kvn")), "milk");
}

TEST_F(StoreTest, AnIndexWithoutItsCounterKeepsEveryCardLineItCanRead) {
  // The counter is lost; nothing else is: the file is mended in place.
  prepare("3;-0-0:A\r\n9;-0-H2-0:B\r\n");
  addCardFiles("3", "a");
  addCardFiles("9", "b");
  Store store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("3;-0-0:A", "9;-0-H2-0:B", "10"));
  EXPECT_EQ(store.hotKeys[2], (HotKeySlot{"b", "B", 1}));
  EXPECT_EQ(readBytes(data("fiches.kvn")), "3;-0-0:A\r\n9;-0-H2-0:B\r\n10\r\n");
  EXPECT_FALSE(store.indexRepair);
  EXPECT_FALSE(fs::exists(data("fiches.kvn.bad")));

  // A last line that is no number, and a line that is no card: both go, the file kept aside.
  const std::string broken = "3;-0-0:A\r\nnot a card\r\n9;-0-0:B\r\nabc\r\n";
  writeBytes(data("fiches.kvn"), broken);
  store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("3;-0-0:A", "9;-0-0:B", "10"));
  EXPECT_EQ(readBytes(data("fiches.kvn.bad")), broken);
  ASSERT_TRUE(store.indexRepair);
  EXPECT_EQ(store.indexRepair->cards, 2);
  EXPECT_EQ(store.indexRepair->keptAside, data("fiches.kvn.bad"));
  EXPECT_EQ(readBytes(data("fiches.kvn")), "3;-0-0:A\r\n9;-0-0:B\r\n10\r\n");
}

TEST_F(StoreTest, AnIndexOfWhichNoCardLineCanBeReadIsRebuiltFromTheSettingsFiles) {
  const fs::path outside = root_.path() / "notes.txt";
  writeBytes(outside, "\r\n   Outside notes  \r\nmore");
  prepare("garbage\r\n");
  addCardFiles("12", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\par Shopping list\\par milk}");
  writeBytes(data("5.kvo"), outside.string() + "\r\n0\r\n");
  addCardFiles("7", "");
  writeBytes(data("2.kvo"), "2.kvc\r\n");
  writeBytes(data("2.kvc"), "\x20sealed");
  writeBytes(data("3.kvo"), "3.kvn\r\n");  // its content file is gone
  writeBytes(data("a.kvo"), "not a card's\r\n");
  writeBytes(data("default.kvo"), "default.kvn\r\n");
  addCardFiles("40", std::string(60, 'x') + "\r\n");

  const Store store = load();
  EXPECT_THAT(
      store.cardIndex.lines(),
      ElementsAre("2;-0-0:Fiche 2", "3;-0-0:Fiche 3", "5;-0-1:Outside notes", "7;-0-0:Fiche 7",
                  "12;-0-0:Shopping list", "40;-0-0:" + std::string(40, 'x'), "41"));
  EXPECT_EQ(readBytes(data("fiches.kvn.bad")), "garbage\r\n");
  ASSERT_TRUE(store.indexRepair);
  EXPECT_EQ(store.indexRepair->cards, 6);
  EXPECT_EQ(store.indexRepair->keptAside, data("fiches.kvn.bad"));
  EXPECT_EQ(*readTextLines(data("fiches.kvn")), store.cardIndex.lines());
  EXPECT_EQ(readBytes(data("2.kvc")), "\x20sealed");

  // In the interface language of param.ini; an empty file is as unreadable as garbage.
  std::string english = kDefaultParamIni;
  english.replace(0, english.find("\r\n"), "Langue=Anglais");
  writeBytes(data("param.ini"), english);
  writeBytes(data("fiches.kvn"), "");
  EXPECT_EQ(load().cardIndex.line(0), "2;-0-0:Card 2");
  EXPECT_EQ(readBytes(data("fiches.kvn.bad.2")), "");
}

TEST_F(StoreTest, AMissingIndexBesideCardFilesIsRebuiltAndSaidSo) {
  prepare("1\r\n");
  fs::remove(data("fiches.kvn"));
  addCardFiles("4", "Groceries");
  const Store store = load();
  EXPECT_THAT(store.cardIndex.lines(), ElementsAre("4;-0-0:Groceries", "5"));
  ASSERT_TRUE(store.indexRepair);
  EXPECT_EQ(store.indexRepair->cards, 1);
  EXPECT_TRUE(store.indexRepair->keptAside.empty());
  EXPECT_EQ(readBytes(data("fiches.kvn")), "4;-0-0:Groceries\r\n5\r\n");
}

TEST_F(StoreTest, CategoriesWithoutTheirCounterKeepEveryCategoryTheyCanRead) {
  prepare("1\r\n", "1;:Work\r\n4;:Home\r\n");
  Store store = load();
  EXPECT_THAT(store.categories.lines(), ElementsAre("1;:Work", "4;:Home", "5"));
  EXPECT_EQ(readBytes(data("categ.kvn")), "1;:Work\r\n4;:Home\r\n5\r\n");
  EXPECT_FALSE(fs::exists(data("categ.kvn.bad")));

  const std::string broken = "1;:Work\r\nno id\r\n4;:Home\r\nxx\r\n";
  writeBytes(data("categ.kvn"), broken);
  store = load();
  EXPECT_THAT(store.categories.lines(), ElementsAre("1;:Work", "4;:Home", "5"));
  EXPECT_EQ(readBytes(data("categ.kvn.bad")), broken);

  writeBytes(data("categ.kvn"), "");
  EXPECT_THAT(load().categories.lines(), ElementsAre("1"));
}

TEST_F(StoreTest, AwkwardIndexBytesLoadAndSaveUnchanged) {
  const std::string name(3 * 1024 * 1024, 'n');
  const std::string index = "1;-0-0:nul\0inside\r\n2;-0-0:"s + name + "\r\n3";
  prepare(index);
  addCardFiles("1", "");
  addCardFiles("2", "");
  Store store = load();
  ASSERT_EQ(store.cardIndex.count(), 2);
  EXPECT_EQ(displayName(store.cardIndex.line(0)), std::string("nul\0inside", 10));
  EXPECT_EQ(displayName(store.cardIndex.line(1)), name);
  EXPECT_EQ(store.cardIndex.counter(), 3);
  saveCardIndex(store);
  EXPECT_EQ(readBytes(data("fiches.kvn")), index + "\r\n");
}

TEST_F(StoreTest, NamesOutsideTheCodePageAreStoredAsUtf8WithBom) {
  Store store = load();
  store.cardIndex.addCard("0", std::nullopt, false, "Café");
  saveCardIndex(store);
  EXPECT_EQ(readBytes(data("fiches.kvn")), "1;-0-0:Caf\xE9\r\n2\r\n");

  store.cardIndex.addCard("0", 1, false, "Привет");
  saveCardIndex(store);
  EXPECT_EQ(readBytes(data("fiches.kvn")),
            "\xEF\xBB\xBF"
            "1;-0-0:Café\r\n2;-0-H1-0:Привет\r\n3\r\n");
  addCardFiles("1", "");
  addCardFiles("2", "");
  const Store again = load();
  EXPECT_EQ(again.cardIndex.lines(), store.cardIndex.lines());
  EXPECT_EQ(again.hotKeys[1].name, "Привет");
}

TEST_F(StoreTest, FallsBackToThePerUserFolder) {
  writeBytes(data(), "a file where the folder should be");
  EXPECT_CALL(platform_, setStartAtLogon(false, executable()));
  const Store store = load();
  EXPECT_TRUE(store.dataFolderIsPerUser);
  EXPECT_EQ(store.dataFolder, root_.path() / "user" / "dataQuillWick");
  EXPECT_EQ(readBytes(store.dataFolder / "fiches.kvn"), "1\r\n");
  EXPECT_EQ(readBytes(data()), "a file where the folder should be");
}

TEST_F(StoreTest, AnInstalledProgramKeepsItsDataInThePerUserFolderOnly) {
  StoreLocation installed = location();
  installed.portable = false;
  EXPECT_CALL(platform_, setStartAtLogon(false, executable()));
  const Store store = loadStore(installed, platform_);
  EXPECT_TRUE(store.dataFolderIsPerUser);
  EXPECT_EQ(store.dataFolder, root_.path() / "user" / "dataQuillWick");
  EXPECT_EQ(readBytes(store.dataFolder / "fiches.kvn"), "1\r\n");
  EXPECT_FALSE(fs::exists(data())) << "nothing is written beside the executable";

  // A data folder left beside it by a portable copy is not taken either.
  prepare("1\r\n");
  EXPECT_EQ(loadStore(installed, platform_).dataFolder, root_.path() / "user" / "dataQuillWick");
  installed.perUserData.clear();
  EXPECT_THROW(loadStore(installed, platform_), StoreError);
}

TEST_F(StoreTest, NoUsableFolderIsAnError) {
  writeBytes(data(), "blocked");
  writeBytes(root_.path() / "user" / "dataQuillWick", "blocked too");
  EXPECT_THROW(load(), StoreError);
  EXPECT_THROW(loadStore({executable(), {}}, platform_), StoreError);
}

TEST_F(StoreTest, UnreadableStoredFileIsAnError) {
  prepare("1\r\n");
  fs::remove(data("param.ini"));
  fs::create_directory(data("param.ini"));
  EXPECT_THROW(load(), StoreError);
}

}  // namespace
}  // namespace qw::store

namespace qw::store {
namespace {

TEST_F(StoreTest, TheStoredLanguageIsReadWithoutCreatingAnything) {
  EXPECT_FALSE(storedLanguage(location()).has_value());
  EXPECT_FALSE(fs::exists(data()));
  EXPECT_FALSE(fs::exists(root_.path() / "user" / "dataQuillWick"));

  // The per-user folder answers when there is none beside the program, or when it is installed.
  writeBytes(root_.path() / "user" / "dataQuillWick" / "param.ini", "Langue=Anglais\r\n");
  EXPECT_EQ(storedLanguage(location()), Language::English);
  writeBytes(data("param.ini"), kDefaultParamIni);
  EXPECT_EQ(storedLanguage(location()), Language::French);
  EXPECT_EQ(storedLanguage({executable(), root_.path() / "user", false}), Language::English);
}

}  // namespace
}  // namespace qw::store

namespace qw::store {
namespace {

TEST_F(StoreTest, AFirstStartWritesTheDesktopsLanguageAndLaterStartsKeepTheStoredOne) {
  StoreLocation english = location();
  english.desktopLanguage = Language::English;
  EXPECT_EQ(interfaceLanguage(english), Language::English);

  const Store first = loadStore(english, platform_);
  EXPECT_EQ(first.language, Language::English);
  // Only the language line differs from the French first start.
  std::string expected = kDefaultParamIni;
  expected.replace(0, expected.find("\r\n"), "Langue=Anglais");
  EXPECT_EQ(readBytes(data("param.ini")), expected);

  // The file decides from now on, whatever the desktop says.
  writeBytes(data("param.ini"), kDefaultParamIni);
  EXPECT_EQ(interfaceLanguage(english), Language::French);
  EXPECT_EQ(loadStore(english, platform_).language, Language::French);
  EXPECT_EQ(readBytes(data("param.ini")), kDefaultParamIni);
}

}  // namespace
}  // namespace qw::store

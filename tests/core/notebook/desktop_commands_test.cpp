// The system-wide keys and the clipboard items: what reaches the clipboard, the cards' files
// and the strip.

#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"
#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

TEST(PopupText, ThirtyThreeCharactersWholeLongerCutAtThirty) {
  const std::string a33(33, 'a');
  EXPECT_EQ(popupText(a33), a33);
  EXPECT_EQ(popupText(a33 + "b"), std::string(30, 'a') + "...");
  EXPECT_EQ(popupText(""), "");
  // Line breaks show as spaces; a final one shows as nothing.
  EXPECT_EQ(popupText("a\r\nb\nc\r\n"), "a b c");
  // Characters, not bytes: 33 accented letters are two bytes each and still shown whole.
  std::string e33;
  for (int i = 0; i < 33; ++i) e33 += "\xC3\xA9";
  EXPECT_EQ(popupText(e33), e33);
  EXPECT_EQ(popupText(e33 + "\xE2\x82\xAC"), e33.substr(0, 60) + "...");
}

TEST(ClipboardCardName, OneMoreThanTheGreatestNumberAfterTheWord) {
  const auto strip = [](std::vector<std::string> names) {
    std::vector<StripEntry> entries{{kMainCard, "KTRquillWick 99", {}}};  // the main card: ignored
    for (int i = 0; i < static_cast<int>(names.size()); ++i) entries.push_back({i, names[i], {}});
    return entries;
  };
  EXPECT_EQ(nextClipboardCardName(strip({})), "KTRquillWick 1");
  EXPECT_EQ(nextClipboardCardName(strip({"KTRquillWick 1", "KTRquillWick 4", "KTRquillWick 2"})),
            "KTRquillWick 5");
  EXPECT_EQ(nextClipboardCardName(strip({"KTRquillWickX", "Notes 9", "ktrquillwick 7"})),
            "KTRquillWick 1");
  EXPECT_EQ(nextClipboardCardName(strip({"KTRquillWick   12abc"})), "KTRquillWick 13");
  // A run of digits beyond any integer neither overflows nor wraps to a small number.
  EXPECT_EQ(nextClipboardCardName(strip({"KTRquillWick 99999999999999999999999"})),
            "KTRquillWick 2147483647");
}

class DesktopCommands : public fixtures::NotebookFolder {
 protected:
  explicit DesktopCommands(std::string_view language = "Anglais") : NotebookFolder(language) {}

  fixtures::FakeClipboard clipboard;

  // Card 1 "Lines" on slot 1 (three lines), card 2 "Rich" as RTF, card 3 "Plain"; the main
  // card is shown.
  Notebook& open() {
    makeCards({"1;-0-H1-0:Lines", "2;-0-0:Rich", "3;-0-0:Plain"});
    writeBytes(data / "1.kvn", "one\r\ntwo\r\nthree");
    text::RichText rich = text::fromPlainText("bold start");
    rich.paragraphs[0].runs[0].format.bold = true;
    writeBytes(data / "2.kvn", text::writeRtf(rich));
    return start();
  }
};

TEST_F(DesktopCommands, HotKeyTextGoesOnTheClipboard) {
  Notebook& notebook = open();
  // The slot holds the card's text as its lines, each with its break.
  const Notice notice = notebook.copyHotKeyText(1, clipboard);
  EXPECT_EQ(clipboard.held, "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(notice, (Notice{"one two three", false}));
}

TEST_F(DesktopCommands, TheLineFeedStepsThroughTheLinesAndWraps) {
  Notebook& notebook = open();
  EXPECT_FALSE(notebook.nextFeedLine(clipboard).has_value());  // no feed yet
  EXPECT_EQ(clipboard.writes, 0);

  EXPECT_EQ(notebook.startLineFeed(1, clipboard), (Notice{"one\nLine 1/3", false}));
  EXPECT_EQ(clipboard.held, "one");
  for (const char* line : {"two", "three", "one", "two"}) {
    ASSERT_TRUE(notebook.nextFeedLine(clipboard).has_value());
    EXPECT_EQ(clipboard.held, line);
  }
  // The feed keeps its copy when the card's slot changes.
  store->hotKeys[1].text = "changed";
  notebook.nextFeedLine(clipboard);
  EXPECT_EQ(clipboard.held, "three");

  // An empty slot stops the feed.
  EXPECT_TRUE(notebook.startLineFeed(4, clipboard).failed);
  EXPECT_FALSE(notebook.nextFeedLine(clipboard).has_value());
  EXPECT_EQ(clipboard.held, "three");
}

TEST_F(DesktopCommands, PastingIntoCardsKeepsEachFilesForm) {
  Notebook& notebook = open();
  clipboard.held = "new line\r\nsecond";
  // Strip positions: 0 main, 1 Lines, 2 Rich, 3 Plain.
  EXPECT_FALSE(notebook.appendClipboardTo(3, clipboard).has_value());
  EXPECT_EQ(readBytes(data / "3.kvn"), "text of 3\r\nnew line\r\nsecond\r\n");

  EXPECT_FALSE(notebook.appendClipboardTo(2, clipboard).has_value());
  const text::RichText rich = text::readRtf(readBytes(data / "2.kvn"));
  ASSERT_EQ(rich.paragraphs.size(), 3u);
  EXPECT_EQ(rich.paragraphs[0].runs[0].text, "bold start");
  EXPECT_TRUE(rich.paragraphs[0].runs[0].format.bold);
  EXPECT_EQ(rich.paragraphs[1].runs[0].text, "new line");
  EXPECT_EQ(rich.paragraphs[2].runs[0].text, "second");

  // The open card takes the lines through the editor, and is saved.
  ASSERT_EQ(notebook.current().number, kMainCard);
  const std::string before = editor.content;
  clipboard.held = "";
  notebook.appendClipboardTo(0, clipboard);
  EXPECT_EQ(editor.content, before + "\r\n");  // an empty clipboard is one empty line
  EXPECT_EQ(readBytes(data / "default.kvn"), editor.rtf());
}

TEST_F(DesktopCommands, CopyingACardGivesItsPlainTextAsLastSaved) {
  Notebook& notebook = open();
  EXPECT_FALSE(notebook.copyCardToClipboard(1, clipboard).has_value());
  EXPECT_EQ(clipboard.held, "one\r\ntwo\r\nthree");
  EXPECT_FALSE(notebook.copyCardToClipboard(2, clipboard).has_value());
  EXPECT_EQ(clipboard.held, "bold start");  // not its RTF source

  // A plain card is decoded and loses its final break.
  const std::pair<std::string, std::string> cases[] = {
      {"one\r\n", "one"},
      {"caf\xE9\rb\n", "caf\xC3\xA9\r\nb"},
      {"\xEF\xBB\xBF\xC4\x89", "\xC4\x89"},
      {"a\r\n\r\n", "a\r\n"},
      {"", ""},
  };
  for (const auto& [file, copied] : cases) {
    SCOPED_TRACE(file);
    writeBytes(data / "3.kvn", file);
    clipboard.held = "old";
    EXPECT_FALSE(notebook.copyCardToClipboard(3, clipboard).has_value());
    EXPECT_EQ(clipboard.held, copied);
  }
  // The open card gives what its file holds, not its unsaved edits.
  notebook.switchToPosition(1);
  editor.type("unsaved");
  notebook.copyCardToClipboard(1, clipboard);
  EXPECT_EQ(clipboard.held, "one\r\ntwo\r\nthree");
}

TEST_F(DesktopCommands, ProtectedCardsAreRefusedBothWays) {
  makeCards({"1;-0-H2-0:Secret"});
  sealFile1("\x05sealed bytes");
  Notebook& notebook = start();
  clipboard.held = "plain";
  ASSERT_EQ(notebook.strip().size(), 2u);
  const auto into = notebook.appendClipboardTo(1, clipboard);
  ASSERT_TRUE(into && into->failed);
  EXPECT_EQ(readBytes(data / "1.kvc"), "\x05sealed bytes");
  const auto from = notebook.copyCardToClipboard(1, clipboard);
  ASSERT_TRUE(from && from->failed);
  EXPECT_TRUE(notebook.copyHotKeyText(2, clipboard).failed);
  EXPECT_TRUE(notebook.startLineFeed(2, clipboard).failed);
  EXPECT_EQ(clipboard.held, "plain");
}

TEST_F(DesktopCommands, TheCommandLineReachesCardsByNumberWhateverTheFilterShows) {
  makeCards({"1;-0-0:Secret", "2;-0-H1-0:Lines", "3;-7-0:Hidden"});
  sealFile1("\x05sealed bytes");
  writeBytes(data / "2.kvn", "one\r\ntwo");
  writeBytes(data / "3.kvn", "in a hidden category");
  loadStore().settings.setCategoryFilter("-0-");
  Notebook& notebook = openNotebook();
  ASSERT_EQ(notebook.strip().size(), 3u);  // the main card, Secret, Lines

  // Plain text with "\n" after every line, a file as last saved.
  EXPECT_EQ(notebook.savedPlainText(1), "one\ntwo\n");
  EXPECT_EQ(notebook.savedPlainText(2), "in a hidden category\n");
  EXPECT_FALSE(notebook.savedPlainText(0).has_value());
  EXPECT_TRUE(notebook.cardIsProtected(0));
  EXPECT_FALSE(notebook.cardIsProtected(2));
  EXPECT_FALSE(notebook.cardIsProtected(kMainCard));

  // Appending is "Paste into": lines at the end, and the bound key gives the new text.
  EXPECT_FALSE(notebook.appendText(2, "added\nlast\n").has_value());
  EXPECT_EQ(readBytes(data / "3.kvn"), "in a hidden category\r\nadded\r\nlast\r\n");
  EXPECT_FALSE(notebook.appendText(1, "three").has_value());
  EXPECT_EQ(store->hotKeys[1].text, "one\r\ntwo\r\nthree\r\n");
  const auto refused = notebook.appendText(0, "never");
  ASSERT_TRUE(refused && refused->failed);
  EXPECT_EQ(readBytes(data / "1.kvc"), "\x05sealed bytes");

  // The open main card takes the text through the editor, and is saved.
  ASSERT_EQ(notebook.current().number, kMainCard);
  const std::string before = editor.content;
  notebook.appendText(kMainCard, "end");
  EXPECT_EQ(editor.content, before + "end\r\n");
  EXPECT_EQ(readBytes(data / "default.kvn"), editor.rtf());
}

TEST_F(DesktopCommands, PasteInCurrentCardAppendsAndSaves) {
  Notebook& notebook = open();
  notebook.switchToPosition(3);
  clipboard.held = "appended";
  notebook.pasteIntoCurrentCard(clipboard);
  EXPECT_EQ(editor.content, "text of 3\r\nappended\r\n");
  EXPECT_NE(readBytes(data / "3.kvn").find("appended"), std::string::npos);
}

TEST_F(DesktopCommands, ANewCardFromTheClipboardIsWrittenAddedAndOpened) {
  Notebook& notebook = open();
  editor.editorLook.fontSize = 14;
  clipboard.held = "from the clipboard";
  EXPECT_EQ(notebook.newCardFromClipboard(clipboard), "KTRquillWick 1");
  EXPECT_EQ(readBytes(data / "fiches.kvn"),
            "1;-0-H1-0:Lines\r\n2;-0-0:Rich\r\n3;-0-0:Plain\r\n50;-0-0:KTRquillWick 1\r\n51\r\n");
  EXPECT_EQ(readBytes(data / "50.kvn"), "from the clipboard\r\n");
  EXPECT_EQ(readBytes(data / "50.kvo"),
            "50.kvn\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(names().back(), "KTRquillWick 1");
  EXPECT_EQ(notebook.selectedPosition(), 4);
  EXPECT_EQ(notebook.current().name, "KTRquillWick 1");
  EXPECT_EQ(editor.editorLook.fontSize, 14);

  clipboard.held = "";
  EXPECT_EQ(notebook.newCardFromClipboard(clipboard), "KTRquillWick 2");
  EXPECT_EQ(readBytes(data / "51.kvn"), "\r\n");
}

TEST_F(DesktopCommands, ANewCardFromTheClipboardStopsAt500) {
  Notebook& notebook = open();
  std::vector<std::string> lines;
  for (int n = 1; n <= 500; ++n) lines.push_back(std::to_string(n) + ";-0-0:Card");
  lines.push_back("600");
  store->cardIndex.setLines(lines);
  const std::string index = readBytes(data / "fiches.kvn");
  clipboard.held = "x";
  EXPECT_FALSE(notebook.newCardFromClipboard(clipboard).has_value());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Err#100 : You can create new card");
  EXPECT_EQ(readBytes(data / "fiches.kvn"), index);
  EXPECT_FALSE(fs::exists(data / "600.kvn"));
}

TEST_F(DesktopCommands, EmptySlotsAndSlotsWithoutAKeyAreEmptyShortcuts) {
  Notebook& notebook = open();
  store->hotKeys[10].text = "tenth";
  clipboard.held = "kept";
  for (int slot : {2, 0, 10, 11, -1}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(notebook.copyHotKeyText(slot, clipboard), (Notice{"ERR#108 : Empty shortcut", true}));
    EXPECT_TRUE(notebook.startLineFeed(slot, clipboard).failed);
    EXPECT_FALSE(notebook.nextFeedLine(clipboard).has_value());
  }
  EXPECT_EQ(clipboard.writes, 0);
}

TEST_F(DesktopCommands, TheFeedSplitsAtEveryKindOfLineEnd) {
  Notebook& notebook = open();
  const std::string long40(40, 'x');
  struct Case {
    std::string slotText;
    std::vector<std::string> lines;  // what the clipboard gets, from the start on
  };
  const Case cases[] = {
      {"a\rb\nc\r\n", {"a", "b", "c", "a"}},
      // An empty line empties the clipboard at that step.
      {"a\r\n\r\nb", {"a", "", "b", "a"}},
      {long40 + "\r\nend", {long40, "end", long40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slotText);
    store->hotKeys[1].text = c.slotText;
    const Notice first = notebook.startLineFeed(1, clipboard);
    EXPECT_FALSE(first.failed);
    EXPECT_EQ(clipboard.held, c.lines[0]);
    for (std::size_t i = 1; i < c.lines.size(); ++i) {
      ASSERT_TRUE(notebook.nextFeedLine(clipboard).has_value());
      EXPECT_EQ(clipboard.held, c.lines[i]);
    }
  }
  // The notice cuts a long line as the popup does, and counts from 1.
  EXPECT_EQ(notebook.startLineFeed(1, clipboard).text, std::string(30, 'x') + "...\nLine 1/2");

  // A one-line feed gives that line each time.
  store->hotKeys[1].text = "only";
  notebook.startLineFeed(1, clipboard);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(notebook.nextFeedLine(clipboard)->text, "only\nLine 1/1");
}

TEST_F(DesktopCommands, AGoneFileFailsCopyAndPasteAndIsNotCreated) {
  Notebook& notebook = open();
  fs::remove(data / "3.kvn");
  clipboard.held = "lost";
  EXPECT_EQ(notebook.copyCardToClipboard(3, clipboard),
            (Notice{"ERR#106 : File not accessible", true}));
  EXPECT_EQ(clipboard.held, "lost");
  EXPECT_THROW(notebook.appendClipboardTo(3, clipboard), store::StoreError);
  EXPECT_FALSE(fs::exists(data / "3.kvn"));
}

TEST_F(DesktopCommands, PastingIntoABoundCardChangesWhatItsKeyGives) {
  Notebook& notebook = open();
  clipboard.held = "four";
  notebook.appendClipboardTo(1, clipboard);
  EXPECT_EQ(readBytes(data / "1.kvn"), "one\r\ntwo\r\nthree\r\nfour\r\n");
  notebook.copyHotKeyText(1, clipboard);
  EXPECT_EQ(clipboard.held, "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST_F(DesktopCommands, PastingIntoAPlainCardKeepsItsEncodingRules) {
  Notebook& notebook = open();
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    std::string before;
    std::string pasted;  // UTF-8
    std::string after;
  };
  const Case cases[] = {
      // Windows-1252 stays so while the new text fits it.
      {"caf\xE9",
       "\xE2\x82\xAC"
       "5",
       "caf\xE9\r\n\x80"
       "5\r\n"},
      // A character outside it turns the whole file into UTF-8 behind a BOM.
      {"caf\xE9", "\xC4\x89", bom + "caf\xC3\xA9\r\n\xC4\x89\r\n"},
      {bom + "\xC4\x89", "x", bom + "\xC4\x89\r\nx\r\n"},
      // Only the clipboard's lines are added: its final break adds no empty line.
      {"a\r\n", "b\r\n", "a\r\nb\r\n"},
      {"", "", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pasted);
    writeBytes(data / "3.kvn", c.before);
    clipboard.held = c.pasted;
    EXPECT_FALSE(notebook.appendClipboardTo(3, clipboard).has_value());
    EXPECT_EQ(readBytes(data / "3.kvn"), c.after);
  }
}

TEST_F(DesktopCommands, ANewCardKeepsTheClipboardTextAndItsFinalBreak) {
  Notebook& notebook = open();
  struct Case {
    std::string clipboard;
    std::string file;
  };
  const Case cases[] = {
      {"a\nb\r\n", "a\r\nb\r\n\r\n"},
      {"a\rb", "a\r\nb\r\n"},
      {"\xC4\x89", "\xEF\xBB\xBF\xC4\x89\r\n"},
      {"caf\xC3\xA9", "caf\xE9\r\n"},
  };
  int id = 50;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    clipboard.held = c.clipboard;
    ASSERT_TRUE(notebook.newCardFromClipboard(clipboard).has_value());
    EXPECT_EQ(readBytes(data / (std::to_string(id++) + ".kvn")), c.file);
  }
}

TEST_F(DesktopCommands, ANewCardIsNumberedAfterTheStripAndOpensInTheEditorsLook) {
  makeCards({"1;-0-0:KTRquillWick 4", "2;-0-0:KTRquillWick 1", "3;-0-0:KTRquillWickX"});
  Notebook& notebook = start();
  notebook.switchToPosition(2);
  editor.type("unsaved edit");
  editor.editorLook.fontSize = 20;
  editor.editorLook.fontItem = 3;
  clipboard.held = "x";
  EXPECT_EQ(notebook.newCardFromClipboard(clipboard), "KTRquillWick 5");
  // The card that was shown is saved first.
  EXPECT_NE(readBytes(data / "2.kvn").find("unsaved edit"), std::string::npos);
  EXPECT_EQ(notebook.strip().back().contentFile, data / "50.kvn");
  EXPECT_EQ(notebook.current().number, 3);
  EXPECT_EQ(editor.content, "x\r\n");
  EXPECT_EQ(editor.editorLook.fontSize, 20);
  EXPECT_EQ(editor.editorLook.fontItem, 3);
}

TEST_F(DesktopCommands, ANewCardWhoseIndexCannotBeSavedIsNotInTheIndex) {
  Notebook& notebook = open();
  fs::remove(data / "fiches.kvn");
  writeBytes(data / "fiches.kvn" / "blocker", "");  // a folder where the index should go
  const auto linesBefore = store->cardIndex.lines();
  const auto stripBefore = names();
  clipboard.held = "x";
  EXPECT_THROW(notebook.newCardFromClipboard(clipboard), store::StoreError);
  EXPECT_EQ(store->cardIndex.lines(), linesBefore);
  EXPECT_EQ(names(), stripBefore);
  EXPECT_EQ(notebook.current().number, kMainCard);
}

}  // namespace
}  // namespace qw::notebook

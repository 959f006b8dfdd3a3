// The line functions on the shown card: each one's effect on the text, none of them saving.

#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"

namespace qw::notebook {
namespace {

using store::fixtures::readBytes;

class CardLines : public fixtures::NotebookFolder {
 protected:
  using F = Notebook::LineFunction;

  Notebook& openCard() {
    makeCards({"1;-0-0:Lines"});
    loadStore();
    store->settings.setDefaultCard("Lines");
    return openNotebook();
  }

  static int byteOrder(const std::string& a, const std::string& b) { return a.compare(b); }
};

TEST_F(CardLines, EachFunctionRewritesTheWholeTextAndNothingIsSaved) {
  struct Case {
    F function;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {F::SortNormal, "b\r\nc\r\na", "a\r\nb\r\nc\r\n"},
      {F::SortInverse, "b\r\nc\r\na", "c\r\nb\r\na\r\n"},
      {F::SortNumeric, "10\r\n9\r\n100\r\n-5", "-5\r\n9\r\n10\r\n100\r\n"},
      {F::SortNumericInverse, "10\r\n9\r\n100\r\n-5", "100\r\n10\r\n9\r\n-5\r\n"},
      {F::RemoveEmptyLines, "a\r\n\r\n\r\nb\r\n", "a\r\nb\r\n"},
      // The lines a, empty, empty: the last one stays, shown as two empty lines below a.
      {F::RemoveEmptyLines, "a\r\n\r\n\r\n", "a\r\n\r\n"},
      {F::RemoveEmptyLines, "a\r\n\r\n", "a\r\n\r\n"},
      {F::RemoveLeadingSpaces, "   x\r\n\ty\r\n z ", "x\r\n\ty\r\nz "},
  };
  Notebook& notebook = openCard();
  for (const Case& c : cases) {
    editor.type(c.before);
    notebook.runLineFunction(c.function, byteOrder);
    EXPECT_EQ(editor.content, c.after) << static_cast<int>(c.function);
    EXPECT_TRUE(editor.isModified());
  }
  EXPECT_EQ(readBytes(data / "1.kvn"), "text of 1");
}

TEST_F(CardLines, SortingASortedTextAgainAddsNoBlankLine) {
  Notebook& notebook = openCard();
  editor.type("b\r\na\r\n");
  for (F function : {F::SortNormal, F::SortNormal, F::SortNumeric, F::SortNumericInverse}) {
    notebook.runLineFunction(function, byteOrder);
    EXPECT_EQ(editor.content.size(), std::string("a\r\nb\r\n").size());
  }
  // Blank lines the user wrote are sorted like any other line.
  editor.type("b\r\n\r\na\r\n");
  notebook.runLineFunction(F::SortNormal, byteOrder);
  EXPECT_EQ(editor.content, "\r\na\r\nb\r\n");
}

TEST_F(CardLines, ReloadDropsTheTypingAndShowsTheSavedText) {
  Notebook& notebook = openCard();
  editor.type("typed but not saved");
  notebook.runLineFunction(F::Reload, byteOrder);
  EXPECT_EQ(editor.content, "text of 1");
  EXPECT_FALSE(editor.isModified());
  EXPECT_EQ(notebook.current().name, "Lines");
}

TEST_F(CardLines, NothingHappensWhenNoCardIsShown) {
  // A linked card whose file is gone: its load fails and the editor shows nothing.
  store::fixtures::writeBytes(data / "1.kvo", (temp.path() / "gone.txt").string() +
                                                  "\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n"
                                                  "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  store::fixtures::writeBytes(data / "fiches.kvn", "1;-0-1:Linked\r\n50\r\n");
  loadStore();
  store->settings.setDefaultCard("Linked");
  Notebook& notebook = openNotebook();
  ASSERT_EQ(notebook.current().number, kFailedCard);
  const int loads = editor.loads;
  editor.content = "b\r\na";
  for (F function : {F::Reload, F::SortNormal, F::RemoveEmptyLines})
    notebook.runLineFunction(function, byteOrder);
  EXPECT_EQ(editor.content, "b\r\na");
  EXPECT_EQ(editor.loads, loads);
}

}  // namespace
}  // namespace qw::notebook

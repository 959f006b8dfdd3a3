#include "gui/draft_keeper.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <fstream>
#include <iterator>

namespace qw::gui {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The keeper over a bare editor: its draft is the plain text, taken while modified.
struct KeptEditor {
  QTemporaryDir folder;
  fs::path draft = fs::path(folder.path().toStdString()) / "1.draft";
  std::shared_ptr<notebook::DraftSequence> sequence = std::make_shared<notebook::DraftSequence>();
  QTextEdit editor;
  int taken = 0;
  DraftKeeper keeper{[this]() -> std::optional<notebook::DraftJob> {
                       ++taken;
                       if (!editor.document()->isModified()) return std::nullopt;
                       return notebook::DraftJob(sequence, draft,
                                                 editor.toPlainText().toStdString(), {});
                     },
                     std::chrono::milliseconds(1500)};
  const QMetaObject::Connection typing =
      QObject::connect(&editor, &QTextEdit::textChanged, &keeper, &DraftKeeper::textChanged);
};

TEST(DraftKeeper, WritesOnceTheTypingPausesAndNotBefore) {
  KeptEditor kept;
  // Keys 50 ms apart keep restarting the wait.
  for (const char* text : {"a", "ab", "abc", "abcd"}) {
    kept.editor.setPlainText(text);
    kept.editor.document()->setModified(true);
    QTest::qWait(50);
  }
  EXPECT_EQ(kept.taken, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(kept.draft); }, 5000));
  EXPECT_EQ(kept.taken, 1);
  EXPECT_EQ(readFile(kept.draft), "abcd");
}

TEST(DraftKeeper, AnUnmodifiedTextWritesNothing) {
  KeptEditor kept;
  kept.editor.setPlainText("as loaded");
  kept.editor.document()->setModified(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return kept.taken == 1; }, 5000));
  QTest::qWait(100);
  EXPECT_FALSE(fs::exists(kept.draft));
}

}  // namespace
}  // namespace qw::gui

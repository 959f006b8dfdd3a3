#include "gui/card_printer.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

namespace qw::gui {
namespace {

// What poppler reads back from a PDF: its text, or its metadata.
QString pdfTool(const QString& tool, const QString& pdf) {
  QProcess process;
  process.start(tool, tool == "pdftotext" ? QStringList{pdf, "-"} : QStringList{pdf});
  if (!process.waitForFinished(20000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

class CardPrinter : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString pdf = folder.filePath("card.pdf");
  QPrinter printer{QPrinter::HighResolution};

  void SetUp() override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
  }
};

TEST_F(CardPrinter, OneJobTitledWithTheCardNameHoldingTheWholeText) {
  QTextDocument document;
  QTextCursor cursor(&document);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertText("Shopping list", bold);
  cursor.insertText("\nmilk\nbread\nété");
  printCard(document, "Courses: été", printer);

  const QString info = pdfTool("pdfinfo", pdf);
  EXPECT_TRUE(info.contains("Title:           quillWick : Courses: été")) << info.toStdString();
  EXPECT_TRUE(info.contains("Pages:           1")) << info.toStdString();
  const QString text = pdfTool("pdftotext", pdf);
  for (const char* line : {"Shopping list", "milk", "bread", "été"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
  // No page number added at the foot of the page.
  EXPECT_FALSE(
      text.contains(QRegularExpression("^\\s*1\\s*$", QRegularExpression::MultilineOption)))
      << text.toStdString();
}

TEST_F(CardPrinter, ALongCardTakesAsManyPagesAsItNeedsAndKeepsEveryLine) {
  QTextDocument document;
  QStringList lines;
  for (int i = 1; i <= 300; ++i) lines << QString("line number %1").arg(i);
  document.setPlainText(lines.join('\n'));
  printCard(document, "Long", printer);

  const QString info = pdfTool("pdfinfo", pdf);
  const int pages = info.section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
  EXPECT_GT(pages, 1) << info.toStdString();
  const QString text = pdfTool("pdftotext", pdf);
  EXPECT_TRUE(text.contains("line number 1\n")) << text.left(200).toStdString();
  EXPECT_TRUE(text.contains("line number 300")) << text.right(200).toStdString();
}

}  // namespace
}  // namespace qw::gui

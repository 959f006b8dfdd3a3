#include "gui/card_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

namespace qw::gui {

QString printJobTitle(const QString& cardName) { return "quillWick : " + cardName; }

void printCard(const QTextDocument& document, const QString& cardName, QPrinter& printer) {
  printer.setDocName(printJobTitle(cardName));
  printer.setFullPage(false);
  // A copy laid out for the printer: a document with a page size is printed page by page as
  // it is, where one without gets Qt's own margins and page numbers.
  std::unique_ptr<QTextDocument> copy(document.clone());
  copy->documentLayout()->setPaintDevice(&printer);
  copy->setDocumentMargin(0);
  copy->setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
  copy->print(&printer);
}

}  // namespace qw::gui

#pragma once
// Printing a card: one job, its text laid over the printable area of as many pages as it
// needs, without header, footer or added margin.

#include <QString>

class QPrinter;
class QTextDocument;

namespace qw::gui {

// The job's title for a card: "quillWick : " and the card's name.
QString printJobTitle(const QString& cardName);

// Prints `document` on `printer` (already set up: the default printer, or a PDF file in tests).
void printCard(const QTextDocument& document, const QString& cardName, QPrinter& printer);

}  // namespace qw::gui

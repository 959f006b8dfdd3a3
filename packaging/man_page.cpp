// Writes the manual page from its template and the program's own command-line options and
// description, so that the page and --help come from the same list.
//
//   man_page TEMPLATE OUTPUT VERSION DATE

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "app/command_line.h"

namespace {

// Text for a roff text line: backslashes and dashes escaped, characters outside ASCII named by
// their code point, a leading dot or quote kept from reading as a request.
QString roff(const QString& text) {
  QString out;
  for (const char32_t c : text.toUcs4()) {
    if (c == U'\\')
      out += QStringLiteral("\\e");
    else if (c == U'-')
      out += QStringLiteral("\\-");
    else if (c > 0x7e)
      out += QStringLiteral("\\[u%1]").arg(
          QString::number(static_cast<unsigned>(c), 16).toUpper().rightJustified(4, '0'));
    else
      out += QChar(static_cast<char16_t>(c));
  }
  if (out.startsWith('.') || out.startsWith('\'')) out.prepend(QStringLiteral("\\&"));
  return out;
}

// A paragraph a sentence a line, as roff wants it.
QString sentences(const QString& text) {
  QString out = roff(text);
  out.replace(QStringLiteral(". "), QStringLiteral(".\n"));
  return out;
}

QString optionsSection(const std::vector<qw::app::DocumentedOption>& options) {
  QString out;
  for (const qw::app::DocumentedOption& option : options) {
    QStringList names;
    for (const QString& name : option.names)
      names << QStringLiteral("\\fB%1%2\\fR").arg(name.size() == 1 ? "\\-" : "\\-\\-", roff(name));
    out += QStringLiteral(".TP\n") + names.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty())
      out += QStringLiteral(" \\fI%1\\fR").arg(roff(option.valueName));
    out += '\n' + sentences(option.description) + '\n';
  }
  out.chop(1);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: man_page TEMPLATE OUTPUT VERSION DATE\n");
    return 2;
  }
  QFile input(QString::fromLocal8Bit(argv[1]));
  if (!input.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "man_page: cannot read %s\n", argv[1]);
    return 1;
  }
  QString page = QString::fromUtf8(input.readAll());
  const auto strings = qw::i18n::StringTable::forLanguage(qw::i18n::Language::English);
  const QStringList description = qw::app::commandLineDescription(strings);
  for (const char* placeholder : {"@DESCRIPTION@", "@OPTIONS@", "@VALUES@"}) {
    if (!page.contains(QStringLiteral("\n%1\n").arg(placeholder))) {
      std::fprintf(stderr, "man_page: the template has no line %s\n", placeholder);
      return 1;
    }
  }
  page.replace(QStringLiteral("@DESCRIPTION@"), sentences(description.value(0)));
  page.replace(QStringLiteral("@VALUES@"), sentences(description.value(1)));
  page.replace(QStringLiteral("@OPTIONS@"), optionsSection(qw::app::documentedOptions(strings)));
  page.replace(QStringLiteral("@VERSION@"), QString::fromLocal8Bit(argv[3]));
  page.replace(QStringLiteral("@DATE@"), QString::fromLocal8Bit(argv[4]));

  QFile output(QString::fromLocal8Bit(argv[2]));
  if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) || output.write(page.toUtf8()) < 0 ||
      !output.flush()) {
    std::fprintf(stderr, "man_page: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

// The floor of the start-up and show figures: the least a Qt Widgets program with a text
// editor does. It shows a QTextEdit of the program's window size, traced like the program;
// a second later it hides it, shows it again and ends.
#include <QApplication>
#include <QTextEdit>
#include <QTimer>

#include "gui/performance_trace.h"

int main(int argc, char** argv) {
  using namespace qw::gui;
  trace::mark("main");
  QApplication app(argc, argv);
  QTextEdit editor;
  editor.resize(984, 683);
  editor.setPlainText("quillWick");
  trace::watchPaints(editor.viewport());
  trace::mark("ready");
  editor.show();

  QTimer::singleShot(1000, &editor, &QWidget::hide);
  QTimer::singleShot(1500, &editor, [&editor] {
    trace::mark("show");
    editor.show();
    editor.raise();
    editor.activateWindow();
  });
  QTimer::singleShot(2500, &app, &QCoreApplication::quit);
  return app.exec();
}

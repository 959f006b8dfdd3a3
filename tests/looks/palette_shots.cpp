// Pictures of the main window, every dialog and the info popup drawn with a dark desktop
// palette, on Qt's offscreen platform: the colours the program sets itself (strip, editor,
// popup) have to stay readable next to whatever the desktop gives the rest.
//
//   palette_shots PROGRAM_FOLDER OUTPUT_FOLDER
// PROGRAM_FOLDER holds a prepared dataQuillWick; nothing in it is changed but the settings
// and index files the window rewrites when it closes.

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/i18n/strings.h"
#include "core/ports/platform_services.h"
#include "core/store/store.h"
#include "gui/about_dialog.h"
#include "gui/card_properties_dialog.h"
#include "gui/categories_dialog.h"
#include "gui/info_popup.h"
#include "gui/main_window.h"
#include "gui/message_prompts.h"
#include "gui/options_dialog.h"
#include "gui/password_dialog.h"

namespace {

namespace fs = std::filesystem;

class NoPlatform : public qw::ports::PlatformServices {
 public:
  void setStartAtLogon(bool, const fs::path&) override {}
  std::string browserPath() override { return {}; }
};

QPalette darkPalette() {
  const QColor window(0x30, 0x30, 0x30), base(0x1e, 0x1e, 0x1e), text(0xe8, 0xe8, 0xe8);
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, Qt::red);
  p.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
  p.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xc0));
  p.setColor(QPalette::HighlightedText, Qt::white);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
  return p;
}

QString outDir;

void save(QWidget* w, const char* name) {
  QApplication::processEvents();
  const QString file = outDir + "/" + name + ".png";
  if (!w->grab().save(file)) std::fprintf(stderr, "could not write %s\n", qPrintable(file));
}

// Grabs the modal window `show` opens, then closes it.
void grabModal(const char* name, const std::function<void()>& show) {
  QTimer::singleShot(50, [name] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      save(modal, name);
      modal->close();
    }
  });
  show();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: palette_shots PROGRAM_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const fs::path program = fs::path(argv[1]) / "quillwick";
  outDir = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(outDir);
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(darkPalette());

  NoPlatform platform;
  const qw::store::StoreLocation where{program, fs::path(argv[1]) / "user"};
  qw::gui::MainWindow window(where, platform);
  window.show();
  if (!window.loaded()) return 1;
  save(&window, "dark-main");

  qw::store::Store store = qw::store::loadStore(where, platform);
  const auto strings = qw::i18n::StringTable::forLanguage(store.language);

  qw::gui::CardPropertiesDialog properties;
  grabModal("dark-properties", [&] {
    properties.ask(qw::gui::CardPropertiesDialog::Mode::Modify,
                   {"Shopping", "", "/home/me/shopping.txt", "0", 2}, store, strings);
  });
  qw::gui::MessagePrompts prompts(&window);
  qw::gui::CategoriesDialog categories(store, strings, &prompts);
  grabModal("dark-categories", [&] { categories.exec(); });
  qw::gui::OptionsDialog options(store, strings, platform, &prompts);
  grabModal("dark-options", [&] { options.run(); });
  qw::gui::PasswordDialog password;
  grabModal("dark-password", [&] { password.ask(strings, "Bank", false); });
  qw::gui::AboutDialog about;
  about.setStrings(strings);
  grabModal("dark-about", [&] { about.exec(); });
  prompts.setTitle(window.windowTitle());
  grabModal("dark-question", [&] {
    using qw::i18n::Str;
    prompts.question(strings[Str::sMsgDeleteCardTitle],
                     strings[Str::sMsgDeleteCardQuestion] + "Gamma");
  });

  window.popup().popUp("milk, eggs, bread", qw::gui::InfoPopup::successColour());
  save(&window.popup(), "dark-popup");
  window.quit();
  return 0;
}

// The program's entry. A start with a command is a client of the running copy and loads no
// GUI library; any other start loads the window program's module and runs it.

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/client.h"
#include "app/command_line.h"
#include "app/store_location.h"
#include "app/window_program.h"

namespace {

namespace fs = std::filesystem;

// Beside the program (the build, the Windows folder), else where the package installs it.
QString windowModule() {
  const fs::path folder = qw::app::executablePath().parent_path();
  for (const fs::path& candidate :
       {folder / QUILLWICK_WINDOW_MODULE,
        folder / QUILLWICK_INSTALLED_MODULE_FOLDER / QUILLWICK_WINDOW_MODULE}) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error))
      return QDir::cleanPath(QString::fromStdWString(candidate.wstring()));
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const qw::app::StartMode mode = qw::app::startMode(argc, argv);
  if (mode == qw::app::StartMode::Client) {
    const QCoreApplication client(argc, argv);
    return qw::app::runClient(qw::app::storeLocation(QUILLWICK_PORTABLE != 0));
  }
  QLibrary module(windowModule());
  const auto entry = reinterpret_cast<qw::app::WindowEntry>(module.resolve(qw::app::kWindowEntry));
  if (entry == nullptr) {
    std::fprintf(stderr, "quillwick: the window program (%s) cannot be loaded: %s\n",
                 QUILLWICK_WINDOW_MODULE, qPrintable(module.errorString()));
    return 1;
  }
  return entry(&argc, argv, static_cast<int>(mode), QUILLWICK_PORTABLE != 0);
}

#include "core/notebook/settings_commands.h"

#include "core/notebook/notebook.h"

namespace qw::notebook {
namespace {

// Writes the settings; when that fails, `before` comes back, the start at logon with it, and
// the error goes on.
void saveOrRestore(store::Store& store, const store::Settings& before,
                   ports::PlatformServices& platform) {
  try {
    store::saveSettings(store, platform);
  } catch (...) {
    const bool logonChanged = store.settings.startAtLogon() != before.startAtLogon();
    store.settings = before;
    if (logonChanged) platform.setStartAtLogon(before.startAtLogon(), store.executable);
    throw;
  }
}

}  // namespace

void changeOptions(store::Store& store, const store::Settings& changed,
                   ports::PlatformServices& platform) {
  const store::Settings before = store.settings;
  store.settings = changed;
  saveOrRestore(store, before, platform);
}

void changeCategoryFilter(Notebook& notebook, store::Store& store, std::string filter,
                          ports::PlatformServices& platform) {
  // Saved first (the strip's rebuild then finds nothing changed).
  notebook.saveCard();
  const store::Settings before = store.settings;
  store.settings.setCategoryFilter(std::move(filter));
  saveOrRestore(store, before, platform);
  notebook.applyCategoryFilter();
}

}  // namespace qw::notebook

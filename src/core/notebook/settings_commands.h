#pragma once
// The window's changes of the settings, each all or nothing: when param.ini cannot be written,
// memory, the file and the start at logon stay as they were and the error goes on.

#include <string>

#include "core/ports/platform_services.h"
#include "core/store/settings.h"
#include "core/store/store.h"

namespace qw::notebook {

class Notebook;

// The options dialog's confirmation: `changed` becomes the settings, param.ini is written and
// the start at logon set to what they say.
void changeOptions(store::Store& store, const store::Settings& changed,
                   ports::PlatformServices& platform);

// The category filter's Update: saves the shown card (a card that cannot be written leaves the
// filter as it was), stores `filter` ("-id-id-") in param.ini, rebuilds the strip from it and
// opens the main card.
void changeCategoryFilter(Notebook& notebook, store::Store& store, std::string filter,
                          ports::PlatformServices& platform);

}  // namespace qw::notebook

#pragma once
// What the running copy does with a request of the command line: the commands of the keys and
// the menus, through the same Commands object, and the card reading and writing of --list,
// --print, --append and --find; each outcome as an answer with the shared exit codes.

#include "core/find/card_finder.h"
#include "core/i18n/strings.h"
#include "core/notebook/notebook.h"
#include "core/remote/request.h"
#include "gui/commands.h"

namespace qw::gui {

class RemoteCommands {
 public:
  RemoteCommands(Commands& commands, notebook::Notebook& notebook, const i18n::StringTable& strings,
                 find::CardFinder& finder);

  remote::Answer answer(const remote::ReadRequest& request);

 private:
  remote::Answer run(const remote::Request& request);
  remote::Answer print(int card);
  remote::Answer append(int card, const std::string& text);
  remote::Answer findText(const std::string& text);
  remote::Answer failure(remote::ExitCode code, i18n::Str text,
                         const std::string& detail = {}) const;

  Commands& commands_;
  notebook::Notebook& notebook_;
  const i18n::StringTable& strings_;
  find::CardFinder& finder_;
};

}  // namespace qw::gui

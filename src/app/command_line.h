#pragma once
// The program's command line: a start with none of its options is the program itself; any of
// them makes the start a client of the running copy.

#include <QStringList>
#include <string>
#include <vector>

#include "core/i18n/strings.h"
#include "core/remote/request.h"

namespace qw::app {

enum class StartMode {
  Window,   // the program, as the options say: shown or in the tray
  InTray,   // the program, started by a client to serve it: in the tray whatever the options say
  AtLogon,  // the program, started by the session at logon: its tray may not be there yet
  Client,   // one command for the running copy
};

// Told before any Qt object exists, from whether an argument starts with two dashes: the
// program's options do, Qt's own (-platform, -style …) take one.
StartMode startMode(int argc, char** argv);

// The option a client starts the program with when none runs.
inline constexpr char kInTrayOption[] = "--in-tray";
// The option the start-at-logon entry carries.
inline constexpr char kAtLogonOption[] = "--at-logon";

struct CommandLine {
  enum class Kind { Request, Help, Version, Error };
  Kind kind = Kind::Error;
  // For Kind::Request; --append's text is read afterwards, from standard input.
  remote::Request request;
  // The help, the version or what is wrong, in the interface language.
  std::string text;
  // Qt's own options among the arguments, for a program the client starts.
  QStringList qtArguments;
};

// One option as --help and the manual page describe it.
struct DocumentedOption {
  enum class Role { Help, Version, Json, Command };
  Role role = Role::Command;
  remote::Command command = remote::Command::Show;  // for Role::Command
  QStringList names;  // without dashes: one letter takes one, a word two
  QString valueName;  // empty for an option without a value
  QString description;
};

// The options the program documents, in the order --help lists them. The command line is
// parsed from this list, so the manual page made from it cannot miss one.
std::vector<DocumentedOption> documentedOptions(const i18n::StringTable& strings);

// What --help says before the options, in the interface language: what the program does, then
// what the value CARD stands for.
QStringList commandLineDescription(const i18n::StringTable& strings);

// Reads the client's arguments (argv[0] first) with QCommandLineParser. No option at all asks
// for the window.
CommandLine parseCommandLine(const QStringList& arguments, const i18n::StringTable& strings);

}  // namespace qw::app

#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstring>
#include <optional>
#include <vector>

namespace qw::app {
namespace {

using i18n::Str;

// QGuiApplication's and QApplication's own options: a client, which builds neither, passes over
// them.
constexpr const char* kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString text(const i18n::StringTable& strings, Str id) {
  return QString::fromStdString(strings[id]);
}

QCommandLineOption hidden(QCommandLineOption option) {
  option.setFlags(QCommandLineOption::HiddenFromHelp);
  return option;
}

// One remote command's option.
struct CommandOption {
  remote::Command command;
  Str description;
  bool takesValue = false;
};

constexpr CommandOption kCommands[] = {
    {remote::Command::Show, Str::sCliShow},
    {remote::Command::Toggle, Str::sCliToggle},
    {remote::Command::Copy, Str::sCliCopy, true},
    {remote::Command::Feed, Str::sCliFeed, true},
    {remote::Command::NextLine, Str::sCliNextLine},
    {remote::Command::NewFromClipboard, Str::sCliNewFromClipboard},
    {remote::Command::List, Str::sCliList},
    {remote::Command::Print, Str::sCliPrint, true},
    {remote::Command::Append, Str::sCliAppend, true},
    {remote::Command::Find, Str::sCliFind, true},
};

QString optionName(remote::Command command) {
  const std::string_view name = remote::commandName(command);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

CommandLine answered(CommandLine::Kind kind, std::string text) {
  CommandLine line;
  line.kind = kind;
  line.text = std::move(text);
  return line;
}

CommandLine error(const QString& message) {
  return answered(CommandLine::Kind::Error, message.toStdString());
}

}  // namespace

StartMode startMode(int argc, char** argv) {
  StartMode mode = StartMode::Window;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], kInTrayOption) == 0)
      mode = StartMode::InTray;
    else if (std::strcmp(argv[i], kAtLogonOption) == 0)
      mode = StartMode::AtLogon;
    else if (std::strncmp(argv[i], "--", 2) == 0)
      return StartMode::Client;
  }
  return mode;
}

std::vector<DocumentedOption> documentedOptions(const i18n::StringTable& strings) {
  using Role = DocumentedOption::Role;
  std::vector<DocumentedOption> options;
  options.push_back({Role::Help, {}, {"h", "help", "?"}, {}, text(strings, Str::sCliHelp)});
  options.push_back({Role::Version, {}, {"v", "version"}, {}, text(strings, Str::sCliVersion)});
  const QString card = text(strings, Str::sCliCardValue);
  for (const CommandOption& entry : kCommands) {
    const bool slot =
        entry.command == remote::Command::Copy || entry.command == remote::Command::Feed;
    const QString valueName = !entry.takesValue ? QString()
                              : slot            ? QStringLiteral("N")
                              : entry.command == remote::Command::Find
                                  ? text(strings, Str::sCliTextValue)
                                  : card;
    options.push_back({Role::Command,
                       entry.command,
                       {optionName(entry.command)},
                       valueName,
                       text(strings, entry.description)});
    if (entry.command == remote::Command::List)
      options.push_back({Role::Json, {}, {"json"}, {}, text(strings, Str::sCliJson)});
  }
  return options;
}

QStringList commandLineDescription(const i18n::StringTable& strings) {
  return {text(strings, Str::sCliDescription), text(strings, Str::sCliCardHelp)};
}

CommandLine parseCommandLine(const QStringList& arguments, const i18n::StringTable& strings) {
  QCommandLineParser parser;
  // -platform is one option, not six letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(commandLineDescription(strings).join('\n'));
  const std::vector<DocumentedOption> documented = documentedOptions(strings);
  std::vector<QCommandLineOption> options;
  options.reserve(documented.size());
  for (const DocumentedOption& option : documented) {
    options.emplace_back(option.names, option.description, option.valueName);
    parser.addOption(options.back());
  }
  const auto optionOf = [&](DocumentedOption::Role role) -> const QCommandLineOption& {
    for (std::size_t i = 0; i < documented.size(); ++i)
      if (documented[i].role == role) return options[i];
    return options.front();  // every role is in the list
  };
  const QCommandLineOption& help = optionOf(DocumentedOption::Role::Help);
  const QCommandLineOption& version = optionOf(DocumentedOption::Role::Version);
  const QCommandLineOption& json = optionOf(DocumentedOption::Role::Json);
  parser.addOption(hidden(QCommandLineOption(QString(kInTrayOption).mid(2))));
  parser.addOption(hidden(QCommandLineOption(QString(kAtLogonOption).mid(2))));
  for (const char* name : kQtOptionsWithValue)
    parser.addOption(hidden(QCommandLineOption(name, {}, "value")));
  for (const char* name : kQtFlags) parser.addOption(hidden(QCommandLineOption(name)));

  if (!parser.parse(arguments)) {
    if (!parser.unknownOptionNames().isEmpty())
      return error(text(strings, Str::sCliUnknownOption).arg(parser.unknownOptionNames().front()));
    return error(text(strings, Str::sCliBadArguments).arg(parser.errorText()));
  }
  if (parser.isSet(help)) {
    return answered(CommandLine::Kind::Help, parser.helpText().toStdString());
  }
  if (parser.isSet(version))
    return answered(CommandLine::Kind::Version, "quillwick " QUILLWICK_VERSION "\n");
  if (!parser.positionalArguments().isEmpty())
    return error(text(strings, Str::sCliUnknownOption).arg(parser.positionalArguments().front()));

  std::optional<std::size_t> chosen;
  for (std::size_t i = 0; i < documented.size(); ++i) {
    if (documented[i].role != DocumentedOption::Role::Command || !parser.isSet(options[i]))
      continue;
    if (chosen || parser.values(options[i]).size() > 1)
      return error(text(strings, Str::sCliOneCommand));
    chosen = i;
  }
  CommandLine line;
  line.kind = CommandLine::Kind::Request;
  for (const char* name : kQtOptionsWithValue)
    if (parser.isSet(name)) line.qtArguments << QString("-") + name << parser.value(name);
  for (const char* name : kQtFlags)
    if (parser.isSet(name)) line.qtArguments << QString("-") + name;
  line.request.command = chosen ? documented[*chosen].command : remote::Command::Show;
  if (parser.isSet(json)) {
    if (line.request.command != remote::Command::List)
      return error(text(strings, Str::sCliBadArguments).arg("--json"));
    line.request.arguments.emplace_back("json");
  }
  if (chosen && !documented[*chosen].valueName.isEmpty()) {
    const QString value = parser.value(options[*chosen]);
    const bool slot = line.request.command == remote::Command::Copy ||
                      line.request.command == remote::Command::Feed;
    if (slot && (value.size() != 1 || value[0] < '1' || value[0] > '9'))
      return error(text(strings, Str::sCliSlotNumber));
    if (line.request.command == remote::Command::Find &&
        (value.isEmpty() || value.contains('\n') || value.contains('\r')))
      return error(text(strings, Str::sCliFindOneLine));
    if (value.isEmpty()) return error(text(strings, Str::sCliNoSuchCard).arg(value));
    line.request.arguments.push_back(value.toStdString());
  }
  return line;
}

}  // namespace qw::app

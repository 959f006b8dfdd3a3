#include "app/command_line.h"

#include <gtest/gtest.h>

#include <map>

namespace qw::app {
namespace {

using remote::Command;

CommandLine parse(QStringList arguments) {
  static const auto strings = i18n::StringTable::forLanguage(i18n::Language::English);
  arguments.prepend("quillwick");
  return parseCommandLine(arguments, strings);
}

StartMode modeOf(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "quillwick");
  return startMode(static_cast<int>(arguments.size()), const_cast<char**>(arguments.data()));
}

TEST(CommandLine, OnlyTheProgramsOwnOptionsMakeAStartAClient) {
  EXPECT_EQ(modeOf({}), StartMode::Window);
  EXPECT_EQ(modeOf({"-platform", "offscreen", "-style", "fusion"}), StartMode::Window);
  EXPECT_EQ(modeOf({"--in-tray"}), StartMode::InTray);
  EXPECT_EQ(modeOf({"--in-tray", "--list"}), StartMode::Client);
  EXPECT_EQ(modeOf({"--at-logon"}), StartMode::AtLogon);
  EXPECT_EQ(modeOf({"--at-logon", "-platform", "xcb"}), StartMode::AtLogon);
  EXPECT_EQ(modeOf({"--at-logon", "--show"}), StartMode::Client);
  EXPECT_EQ(modeOf({"-platform", "offscreen", "--copy", "2"}), StartMode::Client);
}

TEST(CommandLine, EachOptionIsItsRequest) {
  const std::pair<QStringList, remote::Request> cases[] = {
      {{}, {Command::Show, {}, {}}},
      {{"--show"}, {Command::Show, {}, {}}},
      {{"--toggle"}, {Command::Toggle, {}, {}}},
      {{"--copy", "3"}, {Command::Copy, {"3"}, {}}},
      {{"--feed=9"}, {Command::Feed, {"9"}, {}}},
      {{"--next-line"}, {Command::NextLine, {}, {}}},
      {{"--new-from-clipboard"}, {Command::NewFromClipboard, {}, {}}},
      {{"--list"}, {Command::List, {}, {}}},
      {{"--json", "--list"}, {Command::List, {"json"}, {}}},
      {{"--print", "-"}, {Command::Print, {"-"}, {}}},
      {{"--append", "Recettes d'été"}, {Command::Append, {"Recettes d'été"}, {}}},
  };
  for (const auto& [arguments, request] : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const CommandLine line = parse(arguments);
    ASSERT_EQ(line.kind, CommandLine::Kind::Request) << line.text;
    EXPECT_EQ(line.request, request);
  }
}

TEST(CommandLine, QtsOwnOptionsArePassedOverAndKeptForAStartedProgram) {
  const CommandLine line = parse({"-platform", "offscreen", "--copy", "1", "-reverse"});
  ASSERT_EQ(line.kind, CommandLine::Kind::Request);
  EXPECT_EQ(line.request, (remote::Request{Command::Copy, {"1"}, {}}));
  EXPECT_EQ(line.qtArguments, (QStringList{"-platform", "offscreen", "-reverse"}));
}

TEST(CommandLine, WrongArgumentsSayWhatIsWrong) {
  const std::pair<QStringList, std::string> cases[] = {
      {{"--frobnicate"}, "Unknown option: frobnicate"},
      {{"stray"}, "Unknown option: stray"},
      {{"--copy", "0"}, "N is a digit from 1 to 9"},
      {{"--feed", "12"}, "N is a digit from 1 to 9"},
      {{"--list", "--show"}, "One command at a time"},
      {{"--copy", "1", "--copy", "2"}, "One command at a time"},
      {{"--json"}, "Bad arguments: --json"},
      {{"--print"}, "Bad arguments:"},
      {{"--print", ""}, "No card has this number or name"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const CommandLine line = parse(arguments);
    EXPECT_EQ(line.kind, CommandLine::Kind::Error);
    EXPECT_NE(line.text.find(message), std::string::npos) << line.text;
  }
}

TEST(CommandLine, HelpAndVersionAreAnswersOfTheirOwn) {
  const CommandLine help = parse({"--help"});
  EXPECT_EQ(help.kind, CommandLine::Kind::Help);
  for (const char* option :
       {"--show", "--toggle", "--copy <N>", "--feed <N>", "--next-line", "--new-from-clipboard",
        "--list", "--json", "--print <CARD>", "--append <CARD>", "--version"})
    EXPECT_NE(help.text.find(option), std::string::npos) << option;
  EXPECT_EQ(help.text.find("in-tray"), std::string::npos);
  EXPECT_EQ(help.text.find("platform"), std::string::npos);
  EXPECT_EQ(parse({"-h"}).kind, CommandLine::Kind::Help);

  const CommandLine version = parse({"--version"});
  EXPECT_EQ(version.kind, CommandLine::Kind::Version);
  EXPECT_EQ(version.text.rfind("quillwick ", 0), 0u);
}

// The manual page is written from documentedOptions(): each entry must be an option the parser
// takes, doing what the entry says, and --help must show it with its description.
TEST(CommandLine, TheDocumentedOptionsAreTheParsedAndHelpedOnes) {
  using Role = DocumentedOption::Role;
  const auto strings = i18n::StringTable::forLanguage(i18n::Language::English);
  const std::vector<DocumentedOption> options = documentedOptions(strings);
  // --help wraps long descriptions.
  const std::string help =
      QString::fromStdString(parse({"--help"}).text).simplified().toStdString();
  std::vector<Command> commands;
  std::map<Role, int> others;
  for (const DocumentedOption& option : options) {
    if (option.role != Role::Command) ++others[option.role];
    ASSERT_FALSE(option.names.isEmpty());
    EXPECT_FALSE(option.description.isEmpty());
    EXPECT_NE(help.find(option.description.toStdString()), std::string::npos)
        << option.description.toStdString();
    for (const QString& name : option.names) {
      SCOPED_TRACE(name.toStdString());
      QStringList arguments{(name.size() == 1 ? "-" : "--") + name};
      EXPECT_NE(help.find(arguments.front().toStdString()), std::string::npos);
      if (!option.valueName.isEmpty()) arguments << "1";
      if (option.role == Role::Json) arguments << "--list";
      const CommandLine line = parse(arguments);
      switch (option.role) {
        case Role::Help: EXPECT_EQ(line.kind, CommandLine::Kind::Help); break;
        case Role::Version: EXPECT_EQ(line.kind, CommandLine::Kind::Version); break;
        case Role::Json:
          EXPECT_EQ(line.request, (remote::Request{Command::List, {"json"}, {}}));
          break;
        case Role::Command:
          ASSERT_EQ(line.kind, CommandLine::Kind::Request) << line.text;
          EXPECT_EQ(line.request.command, option.command);
          EXPECT_EQ(line.request.arguments.size(), option.valueName.isEmpty() ? 0u : 1u);
          commands.push_back(option.command);
          break;
      }
    }
  }
  EXPECT_EQ(others, (std::map<Role, int>{{Role::Help, 1}, {Role::Version, 1}, {Role::Json, 1}}));
  // Every command of the remote control has its option, once.
  EXPECT_EQ(commands,
            (std::vector<Command>{Command::Show, Command::Toggle, Command::Copy, Command::Feed,
                                  Command::NextLine, Command::NewFromClipboard, Command::List,
                                  Command::Print, Command::Append, Command::Find}));
}

}  // namespace
}  // namespace qw::app

#include "app/client.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QProcess>
#include <QTranslator>

#include "app/command_line.h"
#include "app/console.h"
#include "app/remote_client.h"
#include "core/text/utf8.h"
#include "platform/instance_lock.h"
#include "platform/remote_socket_name.h"

namespace qw::app {
namespace {

using namespace std::chrono_literals;
using i18n::Str;
using remote::ExitCode;

// A command may wait for the user (a message the running copy shows first).
constexpr auto kAnswerWithin = 120s;
// A copy that runs but does not listen yet is starting; one that we start reads its data folder
// first.
constexpr auto kRunningCopyListensWithin = 1s;
constexpr auto kStartedCopyListensWithin = 20s;

int finish(ExitCode code, const std::string& out, const std::string& error) {
  if (!out.empty()) writeOut(out);
  if (!error.empty()) writeError(error.back() == '\n' ? error : error + "\n");
  return static_cast<int>(code);
}

bool copyRuns() {
  const platform::InstanceLock probe(kInstanceLockName);
  return probe.state() == platform::InstanceLock::State::HeldElsewhere;
}

// The program in the tray, its standard channels on nothing: it outlives this command, and a
// shell reading this command's output must not wait for it.
bool startInTray(const QStringList& qtArguments) {
  QProcess program;
  program.setProgram(QCoreApplication::applicationFilePath());
  program.setArguments(QStringList{kInTrayOption} + qtArguments);
  program.setStandardInputFile(QProcess::nullDevice());
  program.setStandardOutputFile(QProcess::nullDevice());
  program.setStandardErrorFile(QProcess::nullDevice());
  return program.startDetached();
}

}  // namespace

int runClient(const store::StoreLocation& where) {
  useParentConsole();
  const i18n::StringTable strings = i18n::StringTable::forLanguage(store::interfaceLanguage(where));
  // The help's own headings ("Usage", "Options") in French too.
  QTranslator qtTexts;
  if (!strings.english() &&
      qtTexts.load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
  const auto text = [&strings](Str id) { return strings[id]; };

  const CommandLine line = parseCommandLine(QCoreApplication::arguments(), strings);
  switch (line.kind) {
    case CommandLine::Kind::Help:
    case CommandLine::Kind::Version: return finish(ExitCode::Done, line.text, {});
    case CommandLine::Kind::Error: return finish(ExitCode::BadArguments, {}, line.text);
    case CommandLine::Kind::Request: break;
  }
  remote::Request request = line.request;
  if (request.command == remote::Command::Append) {
    request.text = readInput(remote::kMaxText + 1);
    if (request.text.size() > remote::kMaxText)
      return finish(ExitCode::BadArguments, {}, text(Str::sCliTextTooLong));
    if (!text::isValidUtf8(request.text))
      return finish(ExitCode::BadArguments, {}, text(Str::sCliTextNotUtf8));
  }

  const std::string name = platform::remoteSocketName();
  Reply reply = askRunningCopy(name, request, 0ms, kAnswerWithin);
  bool running = true;
  if (reply.delivery == Reply::Delivery::NoCopy) {
    running = copyRuns();
    if (!running && !startInTray(line.qtArguments))
      return finish(ExitCode::Refused, {}, text(Str::sCliNotStarted));
    reply = askRunningCopy(name, request,
                           running ? kRunningCopyListensWithin : kStartedCopyListensWithin,
                           kAnswerWithin);
  }
  if (reply.delivery != Reply::Delivery::Answered)
    return finish(ExitCode::Refused, {},
                  text(running ? Str::sCliNotAnswering : Str::sCliNotStarted));
  return finish(reply.answer.code, reply.answer.out, reply.answer.error);
}

}  // namespace qw::app

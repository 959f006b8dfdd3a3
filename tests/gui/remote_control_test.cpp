// The running copy's side of the command line: the socket and what each command does to the
// window and the cards.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "gui/info_popup.h"
#include "gui/main_window_fixture.h"
#include "gui/remote_server.h"

namespace qw::gui {
namespace {

using fixtures::FullWindow;
using fixtures::readFile;
using fixtures::write;
using remote::Command;
using remote::ExitCode;
using remote::Request;

remote::Answer ask(MainWindow& window, Command command, std::vector<std::string> arguments = {},
                   std::string text = {}) {
  return window.answerRemote({Request{command, std::move(arguments), std::move(text)}});
}

class RemoteCommandsTest : public FullWindow {};

TEST_F(RemoteCommandsTest, TheKeysCommandsGiveTheClipboardAndThePopupTheKeysGive) {
  MainWindow& window = shownWindow();
  const remote::Answer copied = ask(window, Command::Copy, {"1"});
  EXPECT_EQ(copied, remote::Answer{});
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            window.notebook().store().hotKeys[1].text);
  EXPECT_TRUE(window.popup().isVisible());

  const remote::Answer empty = ask(window, Command::Copy, {"4"});
  EXPECT_EQ(empty.code, ExitCode::NothingFound);
  EXPECT_EQ(empty.error, window.strings()[i18n::Str::sErrEmptyShortcut]);

  EXPECT_EQ(ask(window, Command::NextLine).code, ExitCode::NothingFound);  // no feed yet
  EXPECT_EQ(ask(window, Command::Feed, {"1"}).code, ExitCode::Done);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "text 3");
  EXPECT_EQ(ask(window, Command::NextLine).code, ExitCode::Done);

  QGuiApplication::clipboard()->setText("from the clipboard");
  const int cards = window.notebook().store().cardIndex.count();
  EXPECT_EQ(ask(window, Command::NewFromClipboard).code, ExitCode::Done);
  EXPECT_EQ(window.notebook().store().cardIndex.count(), cards + 1);
  EXPECT_EQ(window.notebook().current().name, "KTRquillWick 1");
}

TEST_F(RemoteCommandsTest, ToggleHidesTheShownWindowAndShowsItAgain) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.windowShown());
  ask(window, Command::Toggle);
  EXPECT_FALSE(window.windowShown());
  ask(window, Command::Toggle);
  EXPECT_TRUE(window.windowShown());
  ask(window, Command::Show);
  EXPECT_TRUE(window.windowShown());
}

TEST_F(RemoteCommandsTest, ListPrintAndAppendReachEveryCardWhateverTheFilterShows) {
  MainWindow& window = shownWindow();  // the filter shows category 0 only: Work is hidden
  EXPECT_EQ(ask(window, Command::List).out,
            "-\t\t\tquillWick\n"
            "0\t\tStandard\tAlpha\n"
            "1\t\tTravail\tWork\n"
            "2\t1\tStandard\tGamma\n");
  EXPECT_NE(ask(window, Command::List, {"json"}).out.find(R"("name": "Work", "protected": false)"),
            std::string::npos);

  EXPECT_EQ(ask(window, Command::Print, {"Work"}),
            (remote::Answer{ExitCode::Done, "text 2\n", {}}));
  EXPECT_EQ(ask(window, Command::Append, {"1"}, "more\nlines\n"), remote::Answer{});
  EXPECT_EQ(readFile(data / "2.kvn"), "text 2\r\nmore\r\nlines\r\n");
  EXPECT_EQ(ask(window, Command::Print, {"1"}).out, "text 2\nmore\nlines\n");

  // Gamma is open: its lines go through the editor, which saves them.
  EXPECT_EQ(ask(window, Command::Append, {"Gamma"}, "typed elsewhere").code, ExitCode::Done);
  EXPECT_EQ(ask(window, Command::Print, {"2"}).out, "text 3\ntyped elsewhere\n");

  const remote::Answer unknown = ask(window, Command::Print, {"Nowhere"});
  EXPECT_EQ(unknown.code, ExitCode::NothingFound);
  EXPECT_NE(unknown.error.find("Nowhere"), std::string::npos);
}

TEST_F(RemoteCommandsTest, ProtectedCardsAndBadRequestsAreRefusedAndTouchNothing) {
  write(data / "1.kvo", "1.kvc" + fixtures::kCreated);
  write(data / "1.kvc", "\x05sealed");
  MainWindow& window = shownWindow();
  for (const Command command : {Command::Print, Command::Append}) {
    const remote::Answer refused = ask(window, command, {"Alpha"}, "never");
    EXPECT_EQ(refused.code, ExitCode::Refused);
    EXPECT_TRUE(refused.out.empty());
  }
  EXPECT_EQ(readFile(data / "1.kvc"), "\x05sealed");
  EXPECT_NE(ask(window, Command::List).out.find("0\t\tStandard\tAlpha\n"), std::string::npos);

  const remote::Answer tooLong = window.answerRemote({std::nullopt, remote::RequestFault::TooLong});
  EXPECT_EQ(tooLong.code, ExitCode::BadArguments);
  EXPECT_EQ(tooLong.error, window.strings()[i18n::Str::sCliTextTooLong]);
  EXPECT_EQ(window.answerRemote({std::nullopt, remote::RequestFault::Malformed}).code,
            ExitCode::BadArguments);
}

// A client of the socket that never blocks the event loop the server runs in.
class Client {
 public:
  explicit Client(const QString& name) { socket_.connectToServer(name); }
  void send(const std::string& bytes) {
    socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // The answer, once whole; nothing after five seconds.
  std::optional<remote::Answer> answer() {
    remote::FrameReader reader(1 << 20);
    QElapsedTimer waited;
    waited.start();
    while (reader.state() == remote::FrameReader::State::NeedMore && waited.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      const QByteArray bytes = socket_.readAll();
      reader.add(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (reader.state() != remote::FrameReader::State::Complete) return std::nullopt;
    return remote::readAnswer(reader.body());
  }

 private:
  QLocalSocket socket_;
};

class RemoteServerTest : public ::testing::Test {
 protected:
  RemoteServerTest()
      : server([this](const remote::ReadRequest& request) {
          if (request.request) {
            requests.push_back(*request.request);
            return remote::Answer{ExitCode::Done, "done", {}};
          }
          faults.push_back(request.fault);
          return remote::Answer{ExitCode::BadArguments, {}, "refused"};
        }) {}
  QTemporaryDir dir;
  QString name = dir.path() + "/remote.socket";
  std::vector<Request> requests;
  std::vector<remote::RequestFault> faults;
  RemoteServer server;
};

TEST_F(RemoteServerTest, AWholeRequestIsAnsweredAndGarbageNeverReachesTheCommands) {
  ASSERT_TRUE(server.listen(name, false));
  Client good(name);
  good.send(remote::requestFrame({Command::Print, {"3"}, {}}));
  EXPECT_EQ(good.answer(), (remote::Answer{ExitCode::Done, "done", {}}));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], (Request{Command::Print, {"3"}, {}}));

  Client garbage(name);
  garbage.send("12\nnot a frame!");
  EXPECT_EQ(garbage.answer()->code, ExitCode::BadArguments);
  Client unknown(name);
  unknown.send(remote::requestFrame({Command::Print, {"3"}, {}}).replace(15, 5, "erase"));
  EXPECT_EQ(unknown.answer()->code, ExitCode::BadArguments);
  // Refused on its count alone: nothing of the megabytes it announces is waited for.
  Client huge(name);
  huge.send(std::to_string(remote::kMaxRequestBody + 1) + "\n");
  EXPECT_EQ(huge.answer()->code, ExitCode::BadArguments);
  EXPECT_EQ(requests.size(), 1u);
  EXPECT_EQ(faults, (std::vector<remote::RequestFault>{remote::RequestFault::Malformed,
                                                       remote::RequestFault::UnknownCommand,
                                                       remote::RequestFault::TooLong}));
}

TEST_F(RemoteServerTest, AClientThatStopsHalfwayKeepsNobodyWaiting) {
  ASSERT_TRUE(server.listen(name, false));
  Client stalled(name);
  stalled.send("40\nquillwick 1\n");
  Client next(name);
  next.send(remote::requestFrame({Command::List, {}, {}}));
  EXPECT_EQ(next.answer(), (remote::Answer{ExitCode::Done, "done", {}}));
}

TEST_F(RemoteServerTest, ASocketLeftBehindIsTakenOnlyByTheLockHolder) {
  write(name.toStdString(), "left by a killed copy");
  EXPECT_FALSE(server.listen(name, false));
  EXPECT_TRUE(server.listen(name, true));
  Client client(name);
  client.send(remote::requestFrame({Command::Show, {}, {}}));
  EXPECT_EQ(client.answer()->code, ExitCode::Done);
}

}  // namespace
}  // namespace qw::gui

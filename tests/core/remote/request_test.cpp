// The bytes between a second start and the running copy: what is read back is what was sent,
// and garbage, oversized or unknown requests are refused before anything is acted on.

#include "core/remote/request.h"

#include <gtest/gtest.h>

namespace qw::remote {
namespace {

// A frame read back whole, fed to the reader in pieces of `piece` bytes.
FrameReader readFrame(const std::string& frame, std::size_t piece,
                      std::size_t limit = kMaxRequestBody) {
  FrameReader reader(limit);
  for (std::size_t at = 0; at < frame.size(); at += piece)
    reader.add(std::string_view(frame).substr(at, piece));
  return reader;
}

std::string bodyOf(const std::string& frame) { return frame.substr(frame.find('\n') + 1); }

ReadRequest read(const Request& request) { return readRequest(bodyOf(requestFrame(request))); }

TEST(RemoteRequest, EveryCommandComesBackAsSentInAnyPieces) {
  const Request requests[] = {
      {Command::Show, {}, ""},
      {Command::Toggle, {}, ""},
      {Command::Copy, {"1"}, ""},
      {Command::Feed, {"9"}, ""},
      {Command::NextLine, {}, ""},
      {Command::NewFromClipboard, {}, ""},
      {Command::List, {}, ""},
      {Command::List, {"json"}, ""},
      {Command::Print, {"Recettes d'été"}, ""},
      {Command::Append, {"-"}, "first line\r\nsecond\n\n"},
  };
  for (const Request& request : requests) {
    SCOPED_TRACE(std::string(commandName(request.command)));
    const std::string frame = requestFrame(request);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, frame.size()}) {
      const FrameReader reader = readFrame(frame, piece);
      ASSERT_EQ(reader.state(), FrameReader::State::Complete);
      const ReadRequest back = readRequest(reader.body());
      ASSERT_TRUE(back.request);
      EXPECT_EQ(*back.request, request);
    }
  }
}

TEST(RemoteRequest, AnswersComeBackAsSent) {
  const Answer answers[] = {
      {ExitCode::Done, "-\t\t\tquillWick\n0\t1\tStandard\tCourses\n", ""},
      {ExitCode::NothingFound, "", "No card is named \"x\"\n"},
      {ExitCode::Refused, "", ""},
  };
  for (const Answer& answer : answers) {
    const FrameReader reader = readFrame(answerFrame(answer), 3, 1 << 20);
    ASSERT_EQ(reader.state(), FrameReader::State::Complete);
    EXPECT_EQ(readAnswer(reader.body()), answer);
  }
  EXPECT_FALSE(readAnswer("quillwick 1\n7\n0\n"));     // no such exit code
  EXPECT_FALSE(readAnswer("quillwick 1\n0\n99\nab"));  // more output than bytes
  EXPECT_FALSE(readAnswer("hello"));
}

TEST(RemoteRequest, FramesThatAreNotFramesOrTooLongBreakTheReader) {
  EXPECT_EQ(readFrame("12x\nabc", 2).state(), FrameReader::State::Broken);
  EXPECT_EQ(readFrame("\nabc", 2).state(), FrameReader::State::Broken);
  EXPECT_EQ(readFrame(std::string(20, '1'), 4).state(), FrameReader::State::Broken);  // no end
  EXPECT_EQ(readFrame("-1\n", 1).state(), FrameReader::State::Broken);
  EXPECT_EQ(readFrame("5\nabc", 1).state(), FrameReader::State::NeedMore);

  const FrameReader big = readFrame(std::to_string(kMaxRequestBody + 1) + "\n", 64);
  EXPECT_EQ(big.state(), FrameReader::State::Broken);
  EXPECT_TRUE(big.tooLong());
  // Bytes past the frame are never read.
  const FrameReader two = readFrame("3\nabc4\nwxyz", 100);
  EXPECT_EQ(two.state(), FrameReader::State::Complete);
  EXPECT_EQ(two.body(), "abc");
}

TEST(RemoteRequest, GarbageUnknownAndWrongArgumentsAreRefusedWithTheirReason) {
  EXPECT_FALSE(readRequest("").request);
  EXPECT_EQ(readRequest("hello\nshow\n0\n").fault, RequestFault::Malformed);
  EXPECT_EQ(readRequest("quillwick 1\nshow\n").fault, RequestFault::Malformed);
  EXPECT_EQ(readRequest("quillwick 1\nshow\nx\n").fault, RequestFault::Malformed);
  EXPECT_EQ(readRequest("quillwick 1\nprint\n2\nonly one\n").fault, RequestFault::Malformed);
  EXPECT_EQ(readRequest("quillwick 1\nformat-disk\n0\n").fault, RequestFault::UnknownCommand);
  EXPECT_EQ(readRequest("quillwick 1\nSHOW\n0\n").fault, RequestFault::UnknownCommand);

  for (const Request& wrong : {
           Request{Command::Copy, {}, ""},
           Request{Command::Copy, {"0"}, ""},
           Request{Command::Copy, {"10"}, ""},
           Request{Command::Feed, {"a"}, ""},
           Request{Command::Show, {"1"}, ""},
           Request{Command::List, {"xml"}, ""},
           Request{Command::Print, {""}, ""},
           Request{Command::Print, {"A", "B"}, ""},
           Request{Command::Print, {"A"}, "text only goes with append"},
       }) {
    SCOPED_TRACE(std::string(commandName(wrong.command)));
    const ReadRequest back = read(wrong);
    EXPECT_FALSE(back.request);
    EXPECT_EQ(back.fault, RequestFault::BadArguments);
  }
}

TEST(RemoteRequest, FindTakesOneTextOfOneLine) {
  const Request find{Command::Find, {"caf\xC3\xA9 au lait"}, ""};
  const ReadRequest back = readRequest(readFrame(requestFrame(find), 5).body());
  ASSERT_TRUE(back.request);
  EXPECT_EQ(*back.request, find);
  for (const Request& wrong : {Request{Command::Find, {}, ""}, Request{Command::Find, {""}, ""},
                               Request{Command::Find, {"a"}, "text"}}) {
    const ReadRequest refused = readRequest(readFrame(requestFrame(wrong), 5).body());
    EXPECT_FALSE(refused.request);
    EXPECT_EQ(refused.fault, RequestFault::BadArguments);
  }
}

TEST(RemoteRequest, AppendedTextIsUtf8OfAtMostAMillionBytes) {
  Request append{Command::Append, {"Notes"}, std::string(kMaxText, 'a')};
  ASSERT_TRUE(read(append).request);
  append.text.push_back('a');
  EXPECT_EQ(read(append).fault, RequestFault::TooLong);

  append.text = "caf\xC3\xA9";
  EXPECT_TRUE(read(append).request);
  append.text = "caf\xE9";  // Windows-1252, not UTF-8
  EXPECT_EQ(read(append).fault, RequestFault::Malformed);
  EXPECT_EQ(read(Request{Command::Print, {"\xFF"}, ""}).fault, RequestFault::Malformed);
}

}  // namespace
}  // namespace qw::remote

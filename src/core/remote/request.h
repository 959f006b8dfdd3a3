#pragma once
// What a second start of the program asks the running copy, and what it answers, as bytes on
// the local socket between them. A frame is a decimal byte count, a line feed, then that many
// bytes, so a reader knows before reading the body whether it is too long. A request's body is
// "quillwick 1", the command, the number of arguments, the arguments, each on its own line,
// then the text (only --append has one). Nothing that does not read as exactly that is acted on.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::remote {

// The exit codes every command shares.
enum class ExitCode { Done = 0, NothingFound = 1, BadArguments = 2, Refused = 3 };

enum class Command {
  Show,
  Toggle,
  Copy,
  Feed,
  NextLine,
  NewFromClipboard,
  List,
  Print,
  Append,
  Find
};

// At most this much text comes with --append.
constexpr std::size_t kMaxText = 1'000'000;

struct Request {
  Command command = Command::Show;
  std::vector<std::string> arguments;
  std::string text;
  friend bool operator==(const Request&, const Request&) = default;
};

struct Answer {
  ExitCode code = ExitCode::Done;
  std::string out;    // for standard output
  std::string error;  // for standard error
  friend bool operator==(const Answer&, const Answer&) = default;
};

// Why a request is refused.
enum class RequestFault { Malformed, TooLong, UnknownCommand, BadArguments };

// The command's name on the wire, the long option without its dashes: "copy", "next-line".
std::string_view commandName(Command command);
std::optional<Command> commandNamed(std::string_view name);

// The whole frame of a request or an answer.
std::string requestFrame(const Request& request);
std::string answerFrame(const Answer& answer);

// Collects the bytes of one frame as they arrive, in any pieces.
class FrameReader {
 public:
  enum class State { NeedMore, Complete, Broken };
  // `limit` is the most a body may hold.
  explicit FrameReader(std::size_t limit) : limit_(limit) {}
  // Adds bytes; once Complete or Broken, further bytes change nothing.
  State add(std::string_view bytes);
  State state() const { return state_; }
  // The body, once Complete.
  const std::string& body() const { return body_; }
  // Broken because the count said more than the limit (rather than not being a count).
  bool tooLong() const { return tooLong_; }

 private:
  std::size_t limit_;
  State state_ = State::NeedMore;
  std::string header_;
  std::optional<std::size_t> length_;
  std::string body_;
  bool tooLong_ = false;
};

// The most a request's body may hold: the text and room for its command and arguments.
constexpr std::size_t kMaxRequestBody = kMaxText + 64 * 1024;

struct ReadRequest {
  std::optional<Request> request;
  RequestFault fault = RequestFault::Malformed;  // when there is no request
};
// A request from a frame's body; its arguments are checked against its command.
ReadRequest readRequest(std::string_view body);
// An answer from a frame's body; nothing when it does not read as one.
std::optional<Answer> readAnswer(std::string_view body);

}  // namespace qw::remote

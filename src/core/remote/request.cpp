#include "core/remote/request.h"

#include <array>
#include <charconv>
#include <utility>

#include "core/text/utf8.h"

namespace qw::remote {
namespace {

constexpr std::string_view kMagic = "quillwick 1";
// A frame's byte count is at most this many digits.
constexpr std::size_t kMaxCountDigits = 9;

constexpr std::array<std::pair<Command, std::string_view>, 10> kNames = {{
    {Command::Show, "show"},
    {Command::Toggle, "toggle"},
    {Command::Copy, "copy"},
    {Command::Feed, "feed"},
    {Command::NextLine, "next-line"},
    {Command::NewFromClipboard, "new-from-clipboard"},
    {Command::List, "list"},
    {Command::Print, "print"},
    {Command::Append, "append"},
    {Command::Find, "find"},
}};

std::string frame(const std::string& body) { return std::to_string(body.size()) + "\n" + body; }

std::optional<std::size_t> number(std::string_view text) {
  if (text.empty() || text.size() > kMaxCountDigits) return std::nullopt;
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Takes the text up to the next line feed off the front of `rest`; nothing when there is none.
std::optional<std::string_view> line(std::string_view& rest) {
  const auto end = rest.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view taken = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return taken;
}

bool isHotKeyNumber(const std::string& argument) {
  return argument.size() == 1 && argument[0] >= '1' && argument[0] <= '9';
}

bool argumentsFit(const Request& request) {
  const auto& arguments = request.arguments;
  if (!request.text.empty() && request.command != Command::Append) return false;
  switch (request.command) {
    case Command::Copy:
    case Command::Feed: return arguments.size() == 1 && isHotKeyNumber(arguments[0]);
    case Command::List:
      return arguments.empty() || (arguments.size() == 1 && arguments[0] == "json");
    case Command::Print:
    case Command::Append:
    case Command::Find: return arguments.size() == 1 && !arguments[0].empty();
    default: return arguments.empty();
  }
}

}  // namespace

std::string_view commandName(Command command) {
  for (const auto& [c, name] : kNames)
    if (c == command) return name;
  return {};
}

std::optional<Command> commandNamed(std::string_view name) {
  for (const auto& [command, n] : kNames)
    if (n == name) return command;
  return std::nullopt;
}

std::string requestFrame(const Request& request) {
  std::string body = std::string(kMagic) + "\n" + std::string(commandName(request.command)) + "\n" +
                     std::to_string(request.arguments.size()) + "\n";
  for (const auto& argument : request.arguments) body += argument + "\n";
  return frame(body + request.text);
}

std::string answerFrame(const Answer& answer) {
  return frame(std::string(kMagic) + "\n" + std::to_string(static_cast<int>(answer.code)) + "\n" +
               std::to_string(answer.out.size()) + "\n" + answer.out + answer.error);
}

FrameReader::State FrameReader::add(std::string_view bytes) {
  while (state_ == State::NeedMore && !bytes.empty()) {
    if (!length_) {
      const auto end = bytes.find('\n');
      header_.append(bytes.substr(0, end));
      if (header_.size() > kMaxCountDigits) return state_ = State::Broken;
      if (end == std::string_view::npos) return state_;
      bytes.remove_prefix(end + 1);
      length_ = number(header_);
      if (!length_) return state_ = State::Broken;
      if (*length_ > limit_) {
        tooLong_ = true;
        return state_ = State::Broken;
      }
      body_.reserve(*length_);
    }
    const std::size_t wanted = *length_ - body_.size();
    body_.append(bytes.substr(0, wanted));
    // Bytes after the frame are not ours to read: one request per connection.
    bytes = {};
  }
  if (length_ && body_.size() == *length_) state_ = State::Complete;
  return state_;
}

ReadRequest readRequest(std::string_view body) {
  ReadRequest read;
  std::string_view rest = body;
  const auto magic = line(rest);
  const auto name = magic ? line(rest) : std::nullopt;
  const auto count = name ? line(rest) : std::nullopt;
  if (!count || *magic != kMagic) return read;
  const auto command = commandNamed(*name);
  if (!command) {
    read.fault = RequestFault::UnknownCommand;
    return read;
  }
  const auto arguments = number(*count);
  if (!arguments || *arguments > 8) return read;
  Request request;
  request.command = *command;
  for (std::size_t i = 0; i < *arguments; ++i) {
    const auto argument = line(rest);
    if (!argument) return read;
    request.arguments.emplace_back(*argument);
  }
  if (rest.size() > kMaxText) {
    read.fault = RequestFault::TooLong;
    return read;
  }
  if (!text::isValidUtf8(rest)) return read;
  request.text = std::string(rest);
  for (const auto& argument : request.arguments)
    if (!text::isValidUtf8(argument)) return read;
  if (!argumentsFit(request)) {
    read.fault = RequestFault::BadArguments;
    return read;
  }
  read.request = std::move(request);
  return read;
}

std::optional<Answer> readAnswer(std::string_view body) {
  std::string_view rest = body;
  const auto magic = line(rest);
  const auto code = magic ? line(rest) : std::nullopt;
  const auto outLength = code ? line(rest) : std::nullopt;
  if (!outLength || *magic != kMagic) return std::nullopt;
  const auto value = number(*code);
  const auto length = number(*outLength);
  if (!value || *value > 3 || !length || *length > rest.size()) return std::nullopt;
  Answer answer;
  answer.code = static_cast<ExitCode>(*value);
  answer.out = std::string(rest.substr(0, *length));
  answer.error = std::string(rest.substr(*length));
  return answer;
}

}  // namespace qw::remote

#include "gui/remote_commands.h"

#include <QString>

#include "core/notebook/error_text.h"
#include "core/notebook/find_cards.h"
#include "core/remote/card_listing.h"
#include "core/remote/card_reference.h"

namespace qw::gui {

using i18n::Str;
using remote::Answer;
using remote::Command;
using remote::ExitCode;

namespace {

// --find prints at most this many hits: a letter found everywhere in a large notebook would
// otherwise make an answer of hundreds of megabytes.
constexpr std::size_t kMostPrinted = 100'000;

// The slot of --copy and --feed; the request's reader let only one digit through.
int slotOf(const remote::Request& request) { return request.arguments.at(0).at(0) - '0'; }

Answer fromNotice(const notebook::Notice& notice) {
  if (!notice.failed) return {};
  return {ExitCode::NothingFound, {}, notice.text};
}

}  // namespace

RemoteCommands::RemoteCommands(Commands& commands, notebook::Notebook& notebook,
                               const i18n::StringTable& strings, find::CardFinder& finder)
    : commands_(commands), notebook_(notebook), strings_(strings), finder_(finder) {}

Answer RemoteCommands::failure(ExitCode code, Str text, const std::string& detail) const {
  QString message = QString::fromStdString(strings_[text]);
  if (message.contains("%1")) message = message.arg(QString::fromStdString(detail));
  return {code, {}, message.toStdString()};
}

Answer RemoteCommands::answer(const remote::ReadRequest& request) {
  if (request.request) return run(*request.request);
  switch (request.fault) {
    case remote::RequestFault::TooLong:
      return failure(ExitCode::BadArguments, Str::sCliTextTooLong);
    case remote::RequestFault::BadArguments:
    case remote::RequestFault::UnknownCommand:
    case remote::RequestFault::Malformed: break;
  }
  return failure(ExitCode::BadArguments, Str::sCliRequestRefused);
}

Answer RemoteCommands::run(const remote::Request& request) {
  switch (request.command) {
    case Command::Show: commands_.showWindow(); return {};
    case Command::Toggle: commands_.toggleWindow(); return {};
    case Command::Copy: return fromNotice(commands_.copyHotKeyText(slotOf(request)));
    case Command::Feed: return fromNotice(commands_.startLineFeed(slotOf(request)));
    case Command::NextLine:
      if (const auto notice = commands_.nextFeedLine()) return fromNotice(*notice);
      return failure(ExitCode::NothingFound, Str::sCliNothingToFeed);
    case Command::NewFromClipboard:
      if (commands_.newCardFromClipboard(true)) return {};
      return failure(ExitCode::Refused,
                     notebook_.canCreateCard() ? Str::sErrUnexpected : Str::sErrTooManyCards);
    case Command::List: {
      const auto cards = remote::listedCards(notebook_.store(), strings_, [this](int card) {
        return notebook_.cardIsProtected(card);
      });
      const bool json = !request.arguments.empty();
      return {ExitCode::Done, json ? remote::listingJson(cards) : remote::listingText(cards), {}};
    }
    case Command::Find: return findText(request.arguments.at(0));
    case Command::Print:
    case Command::Append: break;
  }
  const std::string& reference = request.arguments.at(0);
  const remote::FoundCard found =
      remote::findCard(notebook_.store().cardIndex, reference,
                       [this](int card) { return notebook_.cardIsProtected(card); });
  switch (found.refusal) {
    case remote::CardRefusal::None: break;
    case remote::CardRefusal::NotFound:
      return failure(ExitCode::NothingFound, Str::sCliNoSuchCard, reference);
    case remote::CardRefusal::SharedName:
      return failure(ExitCode::Refused, Str::sCliSharedName, reference);
    case remote::CardRefusal::Protected:
      return failure(ExitCode::Refused, Str::sCliProtectedCard, reference);
  }
  return request.command == Command::Print ? print(found.card) : append(found.card, request.text);
}

Answer RemoteCommands::print(int card) {
  try {
    if (const auto text = notebook_.savedPlainText(card)) return {ExitCode::Done, *text, {}};
    return failure(ExitCode::NothingFound, Str::sErrFileNotAccessible);
  } catch (const std::exception& error) {
    return {ExitCode::Refused, {}, notebook::errorText(error, strings_)};
  }
}

Answer RemoteCommands::append(int card, const std::string& text) {
  try {
    if (const auto refused = commands_.appendText(card, text))
      return {ExitCode::Refused, {}, refused->text};
    return {};
  } catch (const std::exception& error) {
    return {ExitCode::Refused, {}, notebook::errorText(error, strings_)};
  }
}

Answer RemoteCommands::findText(const std::string& text) {
  std::vector<find::FoundLine> lines;
  std::string notes;
  const auto noted = [&notes](const QString& note) { notes += note.toStdString() + "\n"; };
  // The reports come from the finder's thread while this one waits for the end.
  const find::FindSummary summary =
      finder_.findNow(notebook::cardsToSearch(notebook_, false), notebook_.store().dataFolder,
                      {text, false, kMostPrinted},
                      [&](const find::SearchedCard& card, find::CardOutcome outcome,
                          std::vector<find::FoundLine> found) {
                        if (outcome == find::CardOutcome::Unreadable)
                          noted(QString::fromStdString(card.number + "\t" + card.name + ": " +
                                                       strings_[Str::sFindUnreadable]));
                        std::move(found.begin(), found.end(), std::back_inserter(lines));
                      });
  if (summary.skippedProtected > 0)
    noted(
        QString::fromStdString(strings_[Str::sFindSkippedProtected]).arg(summary.skippedProtected));
  if (summary.listed < summary.hits)
    noted(QString::fromStdString(strings_[Str::sCliFindMore]).arg(summary.listed));
  if (summary.hits == 0) {
    Answer none = failure(ExitCode::NothingFound, Str::sCliNothingFound, text);
    none.error = notes + none.error;
    return none;
  }
  return {ExitCode::Done, remote::foundLinesText(lines), notes};
}

}  // namespace qw::gui

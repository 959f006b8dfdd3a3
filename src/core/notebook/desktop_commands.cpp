// What the system-wide keys and the clipboard items of the card menu do: slot texts and the
// line feed onto the clipboard, the clipboard into any card or into a new one.

#include "core/notebook/notebook.h"
#include "core/store/atomic_file.h"
#include "core/store/card_settings.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "core/text/utf8.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

// The lines a paste adds; an empty text is one empty line.
std::vector<std::string> addedLines(std::string_view text) {
  std::vector<std::string> lines = store::splitLines(text);
  if (lines.empty()) lines.emplace_back();
  return lines;
}

// The clipboard's text with every line end made CR LF, as stored files have them.
std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

// The keys reach slots 1 to 9; the tenth slot has no key.
bool isKeySlot(int slot) { return slot >= 1 && slot <= 9; }

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace

std::string popupText(const std::string& original) {
  constexpr std::size_t kWhole = 33;
  constexpr std::size_t kShown = 30;
  // The popup has room for two short lines: a card's line breaks show as spaces.
  const std::vector<std::string> lines = store::splitLines(original);
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? " " : "") + lines[i];
  std::size_t pos = 0;
  std::size_t cut = 0;
  std::size_t count = 0;
  while (pos < text.size()) {
    text::nextCodePoint(text, pos);
    if (++count == kShown) cut = pos;
    if (count > kWhole) return text.substr(0, cut) + "...";
  }
  return text;
}

Notice Notebook::copyHotKeyText(int slot, ports::Clipboard& clipboard) {
  if (!isKeySlot(slot) || store_.hotKeys[slot].text.empty())
    return {text(Str::sErrEmptyShortcut), true};
  const std::string& text = store_.hotKeys[slot].text;
  clipboard.setText(text);
  return {popupText(text)};
}

Notice Notebook::startLineFeed(int slot, ports::Clipboard& clipboard) {
  feed_.start(isKeySlot(slot) ? store::splitLines(store_.hotKeys[slot].text)
                              : std::vector<std::string>{});
  if (!feed_.running()) return {text(Str::sErrEmptyShortcut), true};
  return *nextFeedLine(clipboard);
}

std::optional<Notice> Notebook::nextFeedLine(ports::Clipboard& clipboard) {
  const std::optional<LineFeed::Line> line = feed_.next();
  if (!line) return std::nullopt;
  // An empty line empties the clipboard: it is what the card says at that point.
  clipboard.setText(line->text);
  return Notice{popupText(line->text) + "\n" + text(Str::sMainLineWord) + " " +
                std::to_string(line->number) + "/" + std::to_string(line->count)};
}

std::optional<Notice> Notebook::appendClipboardTo(int position, ports::Clipboard& clipboard) {
  return appendText(strip_.entry(position).card, clipboard.text());
}

std::optional<Notice> Notebook::copyCardToClipboard(int position, ports::Clipboard& clipboard) {
  const fs::path file = contentFileOf(strip_.entry(position).card);
  if (store::isProtectedFile(file)) return Notice{text(Str::sErrProtectedCardTransfer), true};
  // The open card gives its text as last saved, like every other card.
  const std::optional<std::string> bytes = file.empty() ? std::nullopt : store::readFileBytes(file);
  if (!bytes) return Notice{text(Str::sErrFileNotAccessible), true};
  clipboard.setText(joinLines(store::splitLines(text::plainTextOfCard(*bytes))));
  return std::nullopt;
}

std::optional<Notice> Notebook::appendText(int card, std::string_view added) {
  const std::vector<std::string> lines = addedLines(added);
  if (card == current().number) {
    if (card_.shown()) {
      editor_.appendLines(lines);
      saveCard();
    }
    return std::nullopt;
  }
  const fs::path file = contentFileOf(card);
  if (store::isProtectedFile(file)) return Notice{text(Str::sErrProtectedCardTransfer), true};
  const std::optional<std::string> bytes = file.empty() ? std::nullopt : store::readFileBytes(file);
  // A card whose file is gone is not brought back by a paste: a linked file would reappear
  // wherever it used to be.
  if (!bytes) throw store::StoreError(file, store::Fault::Missing);
  std::string written;
  if (text::looksLikeRtf(*bytes)) {
    // New paragraphs inside the document, in the format its text ends with, so they show.
    text::RichText document = text::readRtf(*bytes);
    text::CharFormat format;
    for (const text::Paragraph& paragraph : document.paragraphs)
      if (!paragraph.runs.empty()) format = paragraph.runs.back().format;
    for (text::Paragraph& paragraph : text::fromPlainText(joinLines(lines), format).paragraphs)
      document.paragraphs.push_back(std::move(paragraph));
    written = text::writeRtf(document);
  } else {
    std::vector<std::string> text = store::splitLines(store::decodeStoredText(*bytes));
    text.insert(text.end(), lines.begin(), lines.end());
    written = store::textLinesBytes(text);
  }
  store::writeFileAtomically(file, written);
  // A hot key bound to the card gives its text as now saved.
  for (int slot = 1; slot <= 9; ++slot)
    if (store_.hotKeys[slot].card == card)
      store_.hotKeys[slot].text = text::plainTextOfCard(written);
  return std::nullopt;
}

std::optional<std::string> Notebook::savedPlainText(int card) const {
  const fs::path file = contentFileOf(card);
  const std::optional<std::string> bytes =
      file.empty() || store::isProtectedFile(file) ? std::nullopt : store::readFileBytes(file);
  if (!bytes) return std::nullopt;
  std::string text;
  for (const std::string& line : store::splitLines(text::plainTextOfCard(*bytes)))
    text += line + "\n";
  return text;
}

bool Notebook::cardIsProtected(int card) const {
  return store::isProtectedFile(contentFileOf(card));
}

fs::path Notebook::contentFileOf(int card) const {
  if (card == kMainCard) return mainContentFile(store_);
  return store::readContentPath(store_, card);
}

void Notebook::pasteIntoCurrentCard(ports::Clipboard& clipboard) {
  if (!card_.shown()) return;
  editor_.appendLines(addedLines(clipboard.text()));
  saveCard();
}

std::optional<std::string> Notebook::newCardFromClipboard(ports::Clipboard& clipboard) {
  if (!canCreateCard()) {
    prompts_.message(text(Str::sErrTooManyCards));
    return std::nullopt;
  }
  CardProperties properties;
  properties.name = nextClipboardCardName(strip_.entries());
  // The clipboard's text and one line break, so a text that ends in a break keeps its empty
  // last line.
  addAndOpenCard(properties, store::encodeStoredText(withCrLf(clipboard.text()) + "\r\n"));
  return properties.name;
}

}  // namespace qw::notebook

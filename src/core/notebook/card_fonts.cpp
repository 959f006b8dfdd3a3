// The fonts the cards name, so the first visit to a formatted card need not wait for them.

#include <algorithm>

#include "core/notebook/notebook.h"
#include "core/store/card_settings.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/text/rtf_reader.h"

namespace qw::notebook {

std::vector<std::string> Notebook::fontFamiliesOfCards() const {
  // Font tables come first: the beginning of a file holds them, even in a megabyte card.
  constexpr std::size_t kBeginning = std::size_t{8} * 1024;
  std::vector<std::string> families;
  for (const StripEntry& entry : strip_.entries()) {
    const std::filesystem::path file =
        entry.card == kMainCard ? mainContentFile(store_) : entry.contentFile;
    // A protected card's file is ciphertext, and stays unread until its password is given.
    if (file.empty() || store::isProtectedFile(file)) continue;
    std::optional<std::string> beginning;
    try {
      beginning = store::readFileBytes(file, kBeginning);
    } catch (const store::StoreError&) {
      continue;  // told when the card is opened
    }
    if (!beginning) continue;
    for (std::string& family : text::readRtfFontNames(*beginning))
      if (std::find(families.begin(), families.end(), family) == families.end())
        families.push_back(std::move(family));
  }
  return families;
}

}  // namespace qw::notebook

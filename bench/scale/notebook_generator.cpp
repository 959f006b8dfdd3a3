#include "notebook_generator.h"

#include <set>
#include <stdexcept>

#include "core/store/atomic_file.h"
#include "core/store/card_index.h"
#include "core/store/card_settings.h"
#include "core/store/categories.h"
#include "core/store/settings.h"
#include "core/store/text_file.h"
#include "core/text/plain_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "sample_cards.h"

namespace qw::bench {
namespace {

// A card as people keep them: a bold title and a few short lines.
text::RichText smallCard(int number) {
  text::RichText card;
  text::Run title{"Card " + std::to_string(number), {}};
  title.format.bold = true;
  title.format.halfPoints = 24;
  card.paragraphs.push_back({{title}});
  for (const char* line :
       {"call the bank before Friday", "code 4711, door B", "ideas: café, garden, the blue bike"})
    card.paragraphs.push_back({{text::Run{line, {}}}});
  return text::normalised(std::move(card));
}

std::string editorText(std::string_view fileBytes) {
  return text::plainText(text::readRtf(fileBytes), "\n");
}

}  // namespace

NotebookTexts writeNotebook(const std::filesystem::path& dataFolder, const NotebookShape& shape) {
  if (shape.cards < kBigPlainCard || shape.bigRtfCards < 1 || shape.bigPlainCards < 1 ||
      shape.bigRtfCards + shape.bigPlainCards + 4 > shape.cards ||
      shape.cards > store::CardIndex::kMaxCards)
    throw std::invalid_argument("the notebook cannot hold the timed cards");
  std::filesystem::create_directories(dataFolder);

  store::Settings settings = store::Settings::defaults();
  settings.setLanguage(store::Language::English);
  settings.setCategoryFilter("-0-1-2-3-");
  settings.setHiddenStart(false);
  store::writeTextLines(dataFolder / "param.ini", settings.lines());
  store::writeTextLines(dataFolder / "categ.kvn", {"1;:Work", "2;:Home", "3;:Recipes", "4"});
  // The main card, as every notebook has it after its first start.
  store::writeTextLines(dataFolder / "default.kvo", store::newCardSettingsLines("default.kvn", 0));
  store::writeFileAtomically(dataFolder / "default.kvn", text::writeRtf(smallCard(0)));

  // The other big cards stand at even steps through the rest of the strip, alternating.
  std::set<int> bigRtf{kBigRtfCard}, bigPlain{kBigPlainCard};
  const int others = shape.bigRtfCards + shape.bigPlainCards - 2;
  const int room = shape.cards - kBigPlainCard;
  for (int k = 0; k < others; ++k) {
    const bool rtfLeft = static_cast<int>(bigRtf.size()) < shape.bigRtfCards;
    const bool plainLeft = static_cast<int>(bigPlain.size()) < shape.bigPlainCards;
    (rtfLeft && (k % 2 == 0 || !plainLeft) ? bigRtf : bigPlain)
        .insert(kBigPlainCard + (k + 1) * room / (others + 1));
  }

  const std::string bigRtfBytes = text::writeRtf(formattedCard(4));
  const std::string bigPlainBytes = plainCardBytes();
  NotebookTexts texts{editorText(bigRtfBytes), editorText(bigPlainBytes),
                      editorText(text::writeRtf(smallCard(kSmallCard)))};

  store::CardIndex index;
  int hotKeys = 0;
  for (int position = 1; position <= shape.cards; ++position) {
    const bool big = bigRtf.contains(position) || bigPlain.contains(position);
    // Hot keys go to small cards, as people bind snippets, not books.
    std::optional<int> slot;
    if (!big && position >= kBigPlainCard + 1 && hotKeys < 9) slot = ++hotKeys;
    const std::string file = std::to_string(index.counter());
    index.addCard(std::to_string(position % 4), slot, false, "Card " + std::to_string(position));
    store::writeTextLines(dataFolder / (file + ".kvo"),
                          store::newCardSettingsLines(file + ".kvn", 0));
    const std::string bytes = bigRtf.contains(position)     ? bigRtfBytes
                              : bigPlain.contains(position) ? bigPlainBytes
                                                            : text::writeRtf(smallCard(position));
    store::writeFileAtomically(dataFolder / (file + ".kvn"), bytes);
  }
  store::writeTextLines(dataFolder / "fiches.kvn", index.lines());
  return texts;
}

}  // namespace qw::bench

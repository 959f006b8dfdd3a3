#pragma once
// Adding and deleting categories. The list and its file belong to the store; these rules keep
// ids unique for good (never reused) and every card's category valid.

#include <string>

#include "core/i18n/strings.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"

namespace qw::notebook {

// Appends a category named `name` with the id of the counter (or the first one after it that
// no category and no card names), moves the counter past it, makes the category filter show
// it (in memory; param.ini is written by the next settings save) and writes categ.kvn. An
// empty name, a name holding a line break or one equal to an existing name ignoring letter
// case adds nothing and gives false. When categ.kvn cannot be written it throws StoreError and
// the list and filter stay as they were.
bool addCategory(store::Store& store, const std::string& name);

enum class DeleteResult { InUse, Declined, Deleted };

// Deletes category k (0-based, file order) after a Yes/No question. A category some card
// uses is refused with a message and nothing is written; otherwise categ.kvn is written
// whatever the answer. The filter keeps the deleted id. Throws std::out_of_range for a k
// outside the list and StoreError when the file cannot be written.
DeleteResult deleteCategory(store::Store& store, int k, ports::Prompts& prompts,
                            const i18n::StringTable& strings);

// Whether a card index line names category `id`: ";-" + id + "-" stands before the line's
// first ":", so 7;-12-0:X uses 12 and not 1.
bool lineUsesCategory(const std::string& indexLine, const std::string& id);

// Equality of two names ignoring the case of the letters of Windows-1252, the code page of
// the stored files.
bool sameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace qw::notebook

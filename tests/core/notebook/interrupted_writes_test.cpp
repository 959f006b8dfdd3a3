// Every command that writes the data folder, stopped at each step of each of its writes: by a
// crash (the folder as a kill there leaves it, then a start on it) and by a failing system call
// (the command gets the error). Either way the folder still loads as a whole notebook: the
// index parses, every listed card's files read, nothing is cut short, no temporary file is
// taken for data; and the user's edits reach the disk at the next save.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <map>
#include <set>

#include "core/crypto/sealed_card.h"
#include "core/crypto/sealed_card_limits.h"
#include "core/notebook/categories.h"
#include "core/notebook/fakes.h"
#include "core/notebook/notebook.h"
#include "core/store/atomic_file.h"
#include "core/store/mock_platform.h"
#include "core/store/store_error.h"
#include "core/store/temp_folder.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::WriteStep;
using store::fixtures::TempFolder;
using store::fixtures::writeBytes;

using Files = std::map<std::string, std::string>;

// Thousands of flushed writes: in memory they take no time, and their order is what is tested.
fs::path scratchBase() {
  std::error_code error;
  return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

bool isTemporary(const std::string& name) { return name.find(".tmp-") != std::string::npos; }

Files filesOf(const fs::path& folder) { return store::fixtures::filesIn(folder); }

// One start of the program on a data folder in its own scratch folder.
struct Start {
  void start() {
    store.emplace(store::loadStore({root / "quillwick", root / "user"}, platform));
    notebook.emplace(*store, strings, editor, prompts);
    notebook->open();
  }
  int positionOf(const std::string& name) const {
    const auto& strip = notebook->strip();
    for (size_t p = 0; p < strip.size(); ++p)
      if (strip[p].name == name) return static_cast<int>(p);
    return -1;
  }

  // The protect command's writes are what is tested, not its key derivation.
  crypto::detail::SealingCostForTests cheapSealing{crypto::detail::kCheapestLimits};
  TempFolder folder{scratchBase()};
  fs::path root = folder.path();
  fs::path data = root / "dataQuillWick";
  ::testing::NiceMock<store::fixtures::MockPlatform> platform;
  i18n::StringTable strings = i18n::StringTable::forLanguage("Anglais");
  fixtures::FakeEditor editor;
  fixtures::FakePrompts prompts;
  std::optional<store::Store> store;
  std::optional<Notebook> notebook;
};

constexpr const char* kPassword = "pw";

struct Command {
  std::string name;
  std::function<void(Start&)> run;
  int cardsAfter = 3;
  // Properties read the card again from its files: unsaved edits go, as the user was told.
  bool keepsEdits = true;
};

// Test names and failures name the command, not its bytes.
void PrintTo(const Command& command, std::ostream* out) { *out << command.name; }

CardProperties named(const std::string& name) {
  CardProperties properties;
  properties.name = name;
  return properties;
}

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"switch", [](Start& r) { r.notebook->switchToPosition(2); }},
      {"new card", [](Start& r) { r.notebook->createCard(named("New")); }, 4},
      {"delete",
       [](Start& r) {
         r.prompts.answers = {true};
         r.notebook->deleteCurrentCard();
       },
       2},
      {"move", [](Start& r) { r.notebook->moveCurrentCardDown(); }},
      {"properties", [](Start& r) { r.notebook->editCurrentCard(named("Renamed")); }, 3, false},
      {"categories", [](Start& r) { addCategory(*r.store, "Work"); }},
      {"options",
       [](Start& r) {
         // A change: an unchanged file is not written.
         r.store->settings.setLanguage(store::Language::English);
         store::saveSettings(*r.store, r.platform);
       }},
      {"synchronise",
       [](Start& r) {
         r.notebook->synchronise([&r] { return store::utf8Of(r.root / "partner.txt"); });
       }},
      {"protect",
       [](Start& r) {
         r.prompts.passwords = {kPassword};
         r.notebook->protectCurrentCard();
       }},
  };
  return all;
}

// Three cards, card One open with unsaved edits, an old synchronisation partner beside them.
void prepare(Start& run) {
  std::string index;
  for (const char* card : {"1;-0-0:One", "2;-0-0:Two", "3;-0-0:Three"}) {
    const std::string number(1, card[0]);
    writeBytes(run.data / (number + ".kvo"), number + ".kvn\r\n");
    writeBytes(run.data / (number + ".kvn"), "text of " + number);
    index += std::string(card) + "\r\n";
  }
  writeBytes(run.data / "fiches.kvn", index + "4\r\n");
  writeBytes(run.root / "partner.txt", "partner");
  fs::last_write_time(run.root / "partner.txt",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  run.start();
  run.notebook->switchToPosition(1);
  run.editor.type("edited");
}

// The data folder at every step the command's writes reach, and what a step may leave whole.
struct Trace {
  std::vector<Files> states;
  std::set<std::string> wholeContents;

  void take(const fs::path& data, WriteStep step) {
    Files files = filesOf(data);
    for (const auto& [name, bytes] : files)
      if (!isTemporary(name) || step == WriteStep::TemporaryWritten) wholeContents.insert(bytes);
    states.push_back(std::move(files));
  }
};

// Runs `command` with every write step recorded; `failAt` makes that step (0-based) fail.
Trace runTraced(Start& run, const Command& command, int failAt = -1) {
  Trace trace;
  trace.take(run.data, WriteStep::Replaced);
  int step = 0;
  store::setWriteStepHook([&](const fs::path& target, WriteStep reached) {
    trace.take(run.data, reached);
    if (step++ == failAt)
      throw store::StoreError(target, store::Fault::Unwritable, "injected failure");
  });
  try {
    command.run(run);
  } catch (const store::StoreError&) {
    if (failAt < 0) ADD_FAILURE() << command.name << " failed with nothing injected";
  } catch (...) {
    store::setWriteStepHook({});
    throw;
  }
  store::setWriteStepHook({});
  trace.take(run.data, WriteStep::Replaced);
  return trace;
}

int stepsOf(const Trace& trace) { return static_cast<int>(trace.states.size()) - 2; }

// A start on `state` gives a whole notebook of `before` or `after` cards, every card opens.
void expectWholeNotebook(const Files& state, const std::set<std::string>& whole, int before,
                         int after, const std::string& where) {
  SCOPED_TRACE(where);
  Start run;
  for (const auto& [name, bytes] : state) writeBytes(run.data / name, bytes);
  // No password is given: a protected card is whole by its bytes, and Cancel costs no key
  // derivation.
  ASSERT_NO_THROW(run.start());

  const int count = run.store->cardIndex.count();
  EXPECT_TRUE(count == before || count == after) << count << " cards";
  for (const auto& entry : fs::directory_iterator(run.data))
    EXPECT_FALSE(isTemporary(entry.path().filename().string()))
        << entry.path() << " left after the start";
  for (int card = 0; card < count; ++card) {
    const fs::path content = store::readContentPath(*run.store, card);
    const auto bytes = store::readFileBytes(content);
    ASSERT_TRUE(bytes) << content << " is missing";
    EXPECT_TRUE(whole.contains(*bytes)) << content << " was cut: " << *bytes;
  }
  for (int position = 0; position < static_cast<int>(run.notebook->strip().size()); ++position) {
    ASSERT_NO_THROW(run.notebook->switchToPosition(position));
    EXPECT_GE(run.notebook->current().number, kMainCard) << "position " << position;
  }
  for (const auto& message : run.prompts.messages)
    EXPECT_EQ(message.rfind("ERR#109", 0), 0u) << message;
}

// The edits typed before the command are in card One's file (under its new name, if renamed).
void expectEditsOnDisk(const Files& state, bool keepsEdits, const std::string& where) {
  SCOPED_TRACE(where);
  Start run;
  for (const auto& [name, bytes] : state) writeBytes(run.data / name, bytes);
  run.prompts.passwords = {kPassword};
  run.start();
  int position = run.positionOf("One");
  if (position < 0) position = run.positionOf("Renamed");
  if (position < 0) return;  // deleted, as asked
  run.notebook->switchToPosition(position);
  if (keepsEdits)
    EXPECT_EQ(run.editor.content, "{\\rtf1 edited}");
  else
    EXPECT_TRUE(run.editor.content == "{\\rtf1 edited}" || run.editor.content == "text of 1")
        << run.editor.content;
}

class InterruptedWrites : public ::testing::TestWithParam<Command> {};

TEST_P(InterruptedWrites, ACrashAtAnyStepLeavesAWholeNotebook) {
  const Command& command = GetParam();
  if (command.name == "protect" && !crypto::sealingAvailable())
    GTEST_SKIP() << "built without libsodium: no card can be protected";
  Start run;
  prepare(run);
  const Trace trace = runTraced(run, command);
  ASSERT_GT(stepsOf(trace), 0) << command.name << " wrote nothing";
  for (size_t i = 0; i < trace.states.size(); ++i)
    expectWholeNotebook(trace.states[i], trace.wholeContents, 3, command.cardsAfter,
                        command.name + ", crash state " + std::to_string(i));
  std::cout << "[ crashes  ] " << command.name << ": " << trace.states.size() << " states\n";
}

TEST_P(InterruptedWrites, AFailureAtAnyStepIsReportedAndTheNextSaveKeepsTheEdits) {
  const Command& command = GetParam();
  if (command.name == "protect" && !crypto::sealingAvailable())
    GTEST_SKIP() << "built without libsodium: no card can be protected";
  int steps = 0;
  {
    Start run;
    prepare(run);
    steps = stepsOf(runTraced(run, command));
  }
  for (int failAt = 0; failAt < steps; ++failAt) {
    const std::string where = command.name + ", failure at step " + std::to_string(failAt);
    Start run;
    prepare(run);
    const Trace trace = runTraced(run, command, failAt);
    expectWholeNotebook(trace.states.back(), trace.wholeContents, 3, command.cardsAfter, where);
    // The program goes on: the next save of the open card, as a switch or the end makes it.
    ASSERT_NO_THROW(run.notebook->saveCard()) << where;
    expectEditsOnDisk(filesOf(run.data), command.keepsEdits, where);
  }
  std::cout << "[ failures ] " << command.name << ": " << steps << " steps\n";
}

INSTANTIATE_TEST_SUITE_P(Commands, InterruptedWrites, ::testing::ValuesIn(commands()),
                         [](const auto& info) {
                           std::string name;
                           for (char c : info.param.name)
                             if (c != ' ') name += c;
                           return name;
                         });

}  // namespace
}  // namespace qw::notebook

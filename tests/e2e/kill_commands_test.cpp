// kill -9 while each command that writes the data folder runs: right after its last key and at
// a few delays later. Whatever the moment, the folder stays whole (see dataFolderProblems) with
// the card count before or after the command, and the next start works on it.
// QUILLWICK_KILL_ROUNDS sets the rounds per command for a long run by hand.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <thread>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

// From right after the key press to past a protected card's key derivation.
constexpr std::chrono::milliseconds kKillDelays[] = {0ms, 150ms, 600ms, 3000ms};

const std::set<std::string> kSeededTexts = {"", "alpha", "beta", "gamma", "partner"};

class KillCommands : public DesktopTest {
 protected:
  fs::path partner = program.folder() / "partner.txt";
  QString window;
  // What a command writes outside the data folder, checked after each kill.
  std::function<std::string()> alsoCheck;
  fs::file_time_type settingsTime;

  // Three cards, Beta synchronised with an old partner file; everything else of the folder
  // (journal, snapshots, cards of earlier rounds) goes.
  void seed() {
    fs::remove_all(data);
    program.writeData("param.ini", englishSettings());
    program.writeData("categ.kvn", "1\r\n");
    program.writeCards({{"Alpha", "alpha"}, {"Beta", "beta"}, {"Gamma", "gamma"}});
    program.writeData("2.kvo", cardSettings("2.kvn", partner.string()));
    std::ofstream(partner, std::ios::binary) << "partner";
    fs::last_write_time(partner, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }

  // Waits for a window titled `title` and gives it the keyboard.
  bool focusDialog(const QString& title) {
    const QString found = desktop.waitForWindow(title);
    if (found.isEmpty()) return false;
    desktop.focus(found, 3s);
    // The window has the focus before its edit field does: keys typed at once can go nowhere.
    std::this_thread::sleep_for(200ms);
    return true;
  }

  // Rounds of: start, `command` up to its last key, kill -9 after one of the delays, check.
  // `change` is how many cards the command adds (or removes). `reseed` starts every round
  // from the seeded folder, for commands that leave a card another round cannot use.
  // `landed` tells, given the index before the round, whether the command's write reached the
  // disk before the kill; some rounds must see it, or the command never ran.
  void killLoop(const std::function<void()>& command, int change, bool reseed,
                const std::function<bool(const std::string&)>& landed) {
    seed();
    const int rounds = killRounds(4);
    int landedRounds = 0;
    for (int round = 0; round < rounds; ++round) {
      SCOPED_TRACE("round " + std::to_string(round));
      if (reseed || cardCount(data) < 2) seed();
      const int before = cardCount(data);
      const std::string indexBefore = readFile(data / "fiches.kvn");
      settingsTime = fs::last_write_time(data / "param.ini");
      QProcess& running = program.start();
      ASSERT_TRUE(program.waitForMainWindowPastRecovery());
      window = program.mainWindow();
      desktop.focus(window, 3s);
      command();
      std::this_thread::sleep_for(kKillDelays[round % std::size(kKillDelays)]);
      Program::killHard(running);
      EXPECT_EQ(dataFolderProblems(data, std::min(before, before + change),
                                   std::max(before, before + change), kSeededTexts),
                "");
      if (alsoCheck) {
        EXPECT_EQ(alsoCheck(), "");
      }
      if (landed(indexBefore)) ++landedRounds;
    }
    std::cout << "[ kills    ] " << ::testing::UnitTest::GetInstance()->current_test_info()->name()
              << ": " << rounds << " rounds, the write on disk before the kill in " << landedRounds
              << "\n";
    EXPECT_GT(landedRounds, 0) << "the command never reached the disk";
    // The last kill's folder starts and ends cleanly, without leftovers.
    QProcess& last = program.start();
    ASSERT_TRUE(program.waitForMainWindowPastRecovery());
    desktop.focus(program.mainWindow(), 3s);
    ASSERT_EQ(program.quit(last), 0);
    EXPECT_EQ(dataFolderProblems(data, 0, 500, kSeededTexts), "");
    for (const auto& entry : fs::directory_iterator(data)) {
      const std::string name = entry.path().filename().string();
      EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
      EXPECT_NE(name, "backup.ini");
    }
  }
};

TEST_F(KillCommands, NewCard) {
  killLoop(
      [&] {
        desktop.key("ctrl+n");
        if (!focusDialog("^Add a card$")) return;
        desktop.type("Killed");
        desktop.key("Return");
      },
      1, false,
      [&](const std::string& before) {
        return readFile(data / "fiches.kvn").size() > before.size();
      });
}

TEST_F(KillCommands, Delete) {
  killLoop(
      [&] {
        desktop.key("ctrl+k");
        desktop.key("ctrl+Delete");
        if (focusDialog("^Delete confirmation$")) desktop.key("Return");
      },
      -1, false,
      [&](const std::string& before) {
        return readFile(data / "fiches.kvn").size() < before.size();
      });
}

TEST_F(KillCommands, Move) {
  killLoop(
      [&] {
        desktop.key("ctrl+k");
        desktop.key("ctrl+k");
        program.chooseCardMenuItem(7);  // Monter
      },
      0, false, [&](const std::string& before) { return readFile(data / "fiches.kvn") != before; });
}

TEST_F(KillCommands, Properties) {
  killLoop(
      [&] {
        desktop.key("ctrl+k");
        desktop.key("ctrl+r");
        if (!focusDialog("^Add a card$")) return;
        desktop.key("ctrl+a");
        desktop.type("Renamed");
        desktop.key("Return");
      },
      0, true,
      [&](const std::string&) {
        return readFile(data / "fiches.kvn").find("Renamed") != std::string::npos;
      });
}

TEST_F(KillCommands, Categories) {
  killLoop(
      [&] {
        // Open the categories panel (its arrow), then its "..." button.
        const int height = desktop.windowSize(window).height();
        desktop.click(window, 163, height - 41 - 12);
        desktop.click(window, 19, height - 55);
        if (!focusDialog("^Template management$")) return;
        desktop.type("Kept");
        desktop.key("Return");
      },
      0, true,
      [&](const std::string&) {
        return readFile(data / "categ.kvn").find("Kept") != std::string::npos;
      });
}

TEST_F(KillCommands, Options) {
  killLoop(
      [&] {
        desktop.key("ctrl+o");
        if (focusDialog("^Setup$")) desktop.key("Return");
      },
      0, false,
      [&](const std::string&) { return fs::last_write_time(data / "param.ini") != settingsTime; });
}

TEST_F(KillCommands, Synchronise) {
  alsoCheck = [&] { return contentProblem(partner, kSeededTexts); };
  killLoop(
      [&] {
        desktop.key("ctrl+k");
        desktop.key("ctrl+k");
        desktop.click(window, 500, 300);
        desktop.type("synced ");
        // The last button of the formatting bar.
        desktop.click(window, desktop.windowSize(window).width() - 37, 39);
      },
      0, true, [&](const std::string&) { return readFile(partner) != "partner"; });
}

TEST_F(KillCommands, Protect) {
  killLoop(
      [&] {
        desktop.key("ctrl+k");
        program.chooseCardMenuItem(9);  // Crypter
        if (!focusDialog("^Password for  'Alpha'$")) return;
        desktop.type("pw");
        desktop.key("Return");
      },
      0, true, [&](const std::string&) { return fs::exists(data / "1.kvc"); });
}

}  // namespace
}  // namespace qw::e2e

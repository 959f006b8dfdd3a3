// Cards on a real desktop: switching by clicking the strip, editing, quitting, and kill -9 at
// random moments never costing a saved card.

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class Cards : public DesktopTest {
 protected:
  void SetUp() override {
    program.writeCards({{"Alpha", "alpha text"}, {"Beta", "beta text"}});
    program.writeData("param.ini", englishSettings());
  }

  // Strip position p as the window shows it: labels 24 pixels apart from the top.
  void clickCard(const QString& window, int position) {
    desktop.click(window, 40, 10 + 24 * position + 7);
  }

  bool journalNames(const std::string& name) const {
    return readFile(data / "backup.ini").rfind(name + "\r\n", 0) == 0;
  }
};

TEST_F(Cards, ClickingTheStripSwitchesCardsAndSavesTheEditedOne) {
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();

  clickCard(window, 1);
  ASSERT_TRUE(waitUntil([&] { return journalNames("Alpha"); }));
  desktop.click(window, 500, 300);
  desktop.key("ctrl+End");
  desktop.type(" more");
  clickCard(window, 2);
  ASSERT_TRUE(waitUntil([&] { return journalNames("Beta"); }));
  screenshot("cards-beta.png");

  const std::string alpha = readFile(data / "1.kvn");
  EXPECT_EQ(alpha.rfind("{\\rtf1", 0), 0u) << alpha;
  EXPECT_NE(alpha.find("alpha text more"), std::string::npos) << alpha;
  EXPECT_EQ(lineCount(readFile(data / "1.kvo")), 23);

  ASSERT_EQ(program.quit(running), 0);
  EXPECT_EQ(readFile(data / "2.kvn"), "beta text");  // unchanged text is not rewritten
  EXPECT_EQ(lineCount(readFile(data / "2.kvo")), 23);
  EXPECT_EQ(readFile(data / "fiches.kvn"), "1;-0-0:Alpha\r\n2;-0-0:Beta\r\n3\r\n");
  for (const char* gone : {"backup.ini", "2.kvn.$$$", "2.kvo.$$$", "1.kvn.$$$"})
    EXPECT_FALSE(fs::exists(data / gone)) << gone;
}

TEST_F(Cards, KillingTheProgramAtRandomMomentsNeverCostsACard) {
  std::mt19937 random(20261208);
  const int rounds = killRounds(12);
  for (int round = 0; round < rounds; ++round) {
    QProcess& running = program.start();
    ASSERT_TRUE(program.waitForMainWindowPastRecovery()) << "round " << round;
    const QString window = program.mainWindow();
    for (int step = 0; step < 3; ++step) {
      clickCard(window, 1 + static_cast<int>(random() % 2));
      desktop.click(window, 500, 300);
      desktop.type(QString("r%1s%2 ").arg(round).arg(step));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 200));
    Program::killHard(running);

    EXPECT_EQ(dataFolderProblems(data, 2, 2, {"alpha text", "beta text"}), "") << "round " << round;
    EXPECT_EQ(readFile(data / "fiches.kvn"), "1;-0-0:Alpha\r\n2;-0-0:Beta\r\n3\r\n");
  }

  // A last start recovers whatever the last kill interrupted and ends cleanly.
  QProcess& last = program.start();
  ASSERT_TRUE(program.waitForMainWindowPastRecovery());
  ASSERT_EQ(program.quit(last), 0);
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
  for (const auto& entry : fs::directory_iterator(data))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace qw::e2e

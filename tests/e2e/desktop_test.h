#pragma once
// A test on a private desktop of its own with a fresh copy of the program.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/desktop.h"

namespace qw::e2e {

class DesktopTest : public ::testing::Test {
 protected:
  explicit DesktopTest(Desktop::Shell shell = Desktop::Shell::TaskBarAndTray) : desktop(shell) {}

  // The whole screen, kept among the run's artifacts.
  void screenshot(const std::string& png) const {
    desktop.screenshot(std::filesystem::path(QW_ARTIFACTS) / png);
  }

  Desktop desktop;
  Program program{desktop};
  std::filesystem::path data = program.dataFolder();
};

}  // namespace qw::e2e

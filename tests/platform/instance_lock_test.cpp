#include "platform/instance_lock.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

extern char** environ;

namespace qw::platform {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::ScopedEnv;
using testing::ScratchDir;
using testing::writeFile;
using State = InstanceLock::State;

// The lock taken by another process: the lock_holder helper, which keeps it until its standard
// input closes or it is killed.
class Holder {
 public:
  explicit Holder(const std::string& name) {
    int toChild[2];
    int fromChild[2];
    if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
      ADD_FAILURE() << "pipe failed";
      return;
    }
    for (const int fd : {toChild[1], fromChild[0]}) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, toChild[0]);
    posix_spawn_file_actions_addclose(&actions, fromChild[1]);
    std::string program = QW_LOCK_HOLDER;
    std::string argument = name;
    char* argv[] = {program.data(), argument.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) {
      ADD_FAILURE() << "cannot start " << program;
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    stdin_ = toChild[1];
    stdout_ = fromChild[0];
  }

  ~Holder() {
    if (pid_ > 0) kill();
    if (stdin_ >= 0) ::close(stdin_);
    if (stdout_ >= 0) ::close(stdout_);
  }

  // What the helper printed: "locked", "held" or "unavailable"; empty if it said nothing in time.
  std::string report() {
    std::string line;
    char byte;
    pollfd ready{stdout_, POLLIN, 0};
    while (::poll(&ready, 1, 10'000) == 1 && ::read(stdout_, &byte, 1) == 1 && byte != '\n') {
      line += byte;
    }
    return line;
  }

  void kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
};

class InstanceLockTest : public ::testing::Test {
 protected:
  fs::path tempLockFile() const { return temp_ / (name_ + "-" + std::to_string(::geteuid())); }

  ScratchDir runtime_;
  ScratchDir temp_;
  ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", runtime_.path().string()};
  ScopedEnv tempEnv_{"TMPDIR", temp_.path().string()};
  const std::string name_ = "quillWickTest" + std::to_string(::getpid());
};

TEST_F(InstanceLockTest, AnotherProcessIsRefusedWhileOneHoldsIt) {
  Holder first(name_);
  ASSERT_EQ(first.report(), "locked");
  EXPECT_EQ(InstanceLock(name_).state(), State::HeldElsewhere);
  Holder second(name_);
  EXPECT_EQ(second.report(), "held");
  // Other names are other locks.
  EXPECT_EQ(InstanceLock(name_ + "b").state(), State::Acquired);
}

TEST_F(InstanceLockTest, KilledHolderLeavesTheLockFree) {
  Holder holder(name_);
  ASSERT_EQ(holder.report(), "locked");
  holder.kill();
  const InstanceLock lock(name_);
  EXPECT_EQ(lock.state(), State::Acquired);
  Holder late(name_);
  EXPECT_EQ(late.report(), "held");
}

TEST_F(InstanceLockTest, LivesInTheRuntimeFolder) {
  const InstanceLock lock(name_);
  ASSERT_EQ(lock.state(), State::Acquired);
  EXPECT_TRUE(fs::is_regular_file(runtime_ / name_));
  EXPECT_FALSE(fs::exists(tempLockFile()));
}

TEST_F(InstanceLockTest, FallsBackToAPerUserFileInTheTempFolder) {
  writeFile(runtime_ / "plain-file", "");
  fs::create_directory(runtime_ / "occupied");
  fs::create_directory(runtime_ / "occupied" / name_);  // the lock file cannot be opened there
  const std::optional<std::string> unusable[] = {
      std::nullopt,
      "",
      (runtime_ / "missing").string(),
      "relative/folder",
      (runtime_ / "plain-file").string(),
      (runtime_ / "occupied").string(),
  };
  for (const auto& runtime : unusable) {
    SCOPED_TRACE(runtime.value_or("(unset)"));
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime);
    {
      const InstanceLock lock(name_);
      EXPECT_EQ(lock.state(), State::Acquired);
      struct stat info {};
      ASSERT_EQ(::lstat(tempLockFile().c_str(), &info), 0);
      EXPECT_TRUE(S_ISREG(info.st_mode));
      EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    fs::remove(tempLockFile());
  }
}

TEST_F(InstanceLockTest, FallbackLockStillExcludesAnotherProcess) {
  const ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
  Holder holder(name_);
  ASSERT_EQ(holder.report(), "locked");
  EXPECT_EQ(InstanceLock(name_).state(), State::HeldElsewhere);
}

TEST_F(InstanceLockTest, SymlinkPlantedInTheTempFolderIsNotFollowed) {
  const ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
  const auto missingTarget = temp_ / "would-be-created";
  fs::create_symlink(missingTarget, tempLockFile());
  EXPECT_EQ(InstanceLock(name_).state(), State::Unavailable);
  EXPECT_FALSE(fs::exists(missingTarget));

  fs::remove(tempLockFile());
  const auto existingTarget = temp_ / "victim";
  writeFile(existingTarget, "keep");
  fs::permissions(existingTarget, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(existingTarget, tempLockFile());
  EXPECT_EQ(InstanceLock(name_).state(), State::Unavailable);
  EXPECT_EQ(readFile(existingTarget), "keep");
}

TEST_F(InstanceLockTest, FileOfAnotherUserInTheTempFolderIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user";
  const ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
  writeFile(tempLockFile(), "");
  fs::permissions(tempLockFile(), fs::perms::all);
  ASSERT_EQ(::chown(tempLockFile().c_str(), 65534, 65534), 0);
  EXPECT_EQ(InstanceLock(name_).state(), State::Unavailable);
}

}  // namespace
}  // namespace qw::platform

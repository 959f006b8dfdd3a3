// The single-instance lock on Windows: a named mutex, refused to a second taker in this process
// or another one, and freed by the system when its holder ends, however it ends.
#include "platform/instance_lock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace qw::platform {
namespace {

using State = InstanceLock::State;
using testing::programFolder;
using testing::uniqueName;

// lock_holder.exe with a pipe on its standard input and one on its output.
class Holder {
 public:
  explicit Holder(const std::string& name) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &toChild_, &inherit, 0) ||
        !CreatePipe(&fromChild_, &childOut, &inherit, 0)) {
      ADD_FAILURE() << "CreatePipe failed";
      return;
    }
    SetHandleInformation(toChild_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + (programFolder() / L"lock_holder.exe").wstring() + L"\" " +
                           std::wstring(name.begin(), name.end());
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
      process_ = process.hProcess;
      CloseHandle(process.hThread);
    } else {
      ADD_FAILURE() << "cannot start lock_holder.exe: error " << GetLastError();
    }
    CloseHandle(childIn);
    CloseHandle(childOut);
  }
  ~Holder() {
    release();
    if (process_ != nullptr) {
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    if (fromChild_ != nullptr) CloseHandle(fromChild_);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  // Its first line: "locked", "held" or "unavailable".
  std::string report() {
    std::string line;
    char c;
    DWORD read = 0;
    while (ReadFile(fromChild_, &c, 1, &read, nullptr) && read == 1 && c != '\n')
      if (c != '\r') line += c;
    return line;
  }
  // Closes its input: it ends on its own.
  void release() {
    if (toChild_ != nullptr) CloseHandle(toChild_);
    toChild_ = nullptr;
  }
  bool waitForEnd() { return WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0; }
  void kill() {
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, 10000);
  }

 private:
  HANDLE process_ = nullptr;
  HANDLE toChild_ = nullptr;
  HANDLE fromChild_ = nullptr;
};

TEST(InstanceLock, ASecondTakerInTheSameProcessIsRefused) {
  const std::string name = uniqueName("qwLockSame");
  const InstanceLock first(name);
  EXPECT_EQ(first.state(), State::Acquired);
  EXPECT_EQ(InstanceLock(name).state(), State::HeldElsewhere);
  EXPECT_EQ(InstanceLock(name + "b").state(), State::Acquired);
}

TEST(InstanceLock, AnotherProcessIsRefusedWhileOneHoldsItAndTakesItOnceItHasEnded) {
  const std::string name = uniqueName("qwLockProcess");
  Holder first(name);
  ASSERT_EQ(first.report(), "locked");
  EXPECT_EQ(InstanceLock(name).state(), State::HeldElsewhere);
  {
    Holder second(name);
    EXPECT_EQ(second.report(), "held");
  }
  // The refused takers above kept nothing open: once the holder ends, the name is free.
  first.release();
  ASSERT_TRUE(first.waitForEnd());
  Holder third(name);
  EXPECT_EQ(third.report(), "locked");
}

TEST(InstanceLock, AKilledHolderLeavesTheLockFree) {
  const std::string name = uniqueName("qwLockKilled");
  Holder holder(name);
  ASSERT_EQ(holder.report(), "locked");
  holder.kill();
  EXPECT_EQ(InstanceLock(name).state(), State::Acquired);
  Holder late(name);
  EXPECT_EQ(late.report(), "held");
}

TEST(InstanceLock, ANameTheSystemRefusesLeavesTheProgramRunning) {
  // A backslash names a kernel namespace; "NoSuchSpace\" does not exist.
  EXPECT_EQ(InstanceLock("NoSuchSpace\\" + uniqueName("qwLock")).state(), State::Unavailable);
}

}  // namespace
}  // namespace qw::platform

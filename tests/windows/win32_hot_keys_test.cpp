// Global hot keys on Windows without Qt: registration against the system's own table, a
// combination taken elsewhere, and WM_HOTKEY posted to the message window turned into the
// caller's key id.
#include "platform/windows/win32_hot_keys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace qw::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kF2 = keys::kF1 + 1;
constexpr unsigned kSuper = HotKey::Super;
constexpr unsigned kSuperShift = HotKey::Super | HotKey::Shift;

// Runs what the thread's queue holds, as the program's event loop would.
void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Whether some other registration could take the combination now.
bool isFree(UINT modifiers, UINT vk) {
  constexpr int kProbe = 0xB000;
  if (!RegisterHotKey(nullptr, kProbe, modifiers, vk)) return false;
  UnregisterHotKey(nullptr, kProbe);
  return true;
}

class Win32HotKeysTest : public ::testing::Test {
 protected:
  std::vector<int> pressed;
  Win32HotKeys hotKeys{[this](int id) { pressed.push_back(id); }};
};

TEST(Win32HotKeyCodes, TheKeysAndModifiersOfTheProgramMapToWindowsCodes) {
  EXPECT_EQ(win32::virtualKey(kF2), UINT(VK_F2));
  EXPECT_EQ(win32::virtualKey(keys::k0 + 1), 0x31u);
  EXPECT_EQ(win32::virtualKey(keys::k9), 0x39u);
  EXPECT_EQ(win32::virtualKey('V'), 0x56u);
  EXPECT_EQ(win32::virtualKey('C'), 0x43u);
  EXPECT_EQ(win32::virtualKey(keys::kF1 + 23), UINT(VK_F24));
  EXPECT_EQ(win32::virtualKey(keys::kF1 + 24), 0u);  // F25: none on Windows
  EXPECT_EQ(win32::virtualKey('a'), 0u);             // keys are upper case
  EXPECT_EQ(win32::virtualKey(' '), 0u);
  // Auto-repeat of a held combination must never fire it again.
  EXPECT_EQ(win32::modifierFlags(kSuper), UINT(MOD_WIN | MOD_NOREPEAT));
  EXPECT_EQ(win32::modifierFlags(kSuperShift), UINT(MOD_WIN | MOD_SHIFT | MOD_NOREPEAT));
  EXPECT_EQ(win32::modifierFlags(HotKey::Control | HotKey::Alt),
            UINT(MOD_CONTROL | MOD_ALT | MOD_NOREPEAT));
}

TEST_F(Win32HotKeysTest, RegisteredCombinationsAreTakenUntilUnregisteredOrDestroyed) {
  ASSERT_TRUE(hotKeys.available());
  const std::vector<HotKey> program = {{1, kSuper, kF2},
                                       {2, kSuper, '1'},
                                       {3, kSuperShift, '1'},
                                       {4, kSuper, 'V'},
                                       {5, kSuper, 'C'}};
  EXPECT_THAT(hotKeys.registerKeys(program), IsEmpty());
  EXPECT_FALSE(isFree(MOD_WIN, VK_F2));
  EXPECT_FALSE(isFree(MOD_WIN | MOD_SHIFT, '1'));
  // Registering again replaces the keys: its own earlier registrations are no obstacle.
  EXPECT_THAT(hotKeys.registerKeys(program), IsEmpty());

  hotKeys.unregisterAll();
  EXPECT_TRUE(isFree(MOD_WIN, VK_F2));
  EXPECT_TRUE(isFree(MOD_WIN | MOD_SHIFT, '1'));

  {
    Win32HotKeys other{[](int) {}};
    EXPECT_THAT(other.registerKeys({{7, kSuper, 'V'}}), IsEmpty());
    EXPECT_FALSE(isFree(MOD_WIN, 'V'));
  }
  EXPECT_TRUE(isFree(MOD_WIN, 'V'));
}

TEST_F(Win32HotKeysTest, ACombinationTakenElsewhereFailsAloneAndTheOthersWork) {
  constexpr int kBlocker = 0xB001;
  ASSERT_TRUE(RegisterHotKey(nullptr, kBlocker, MOD_WIN | MOD_SHIFT | MOD_NOREPEAT, '7'));
  Win32HotKeys other{[](int) {}};
  ASSERT_THAT(other.registerKeys({{40, kSuper, '8'}}), IsEmpty());

  const HotKey six{11, kSuper, '6'}, taken{12, kSuperShift, '7'}, seven{13, kSuper, '7'},
      alsoTaken{14, kSuper, '8'}, noKey{15, kSuper, keys::kF1 + 30}, oddModifier{16, 0x20, 'Q'};
  EXPECT_THAT(hotKeys.registerKeys({six, taken, seven, alsoTaken, noKey, oddModifier}),
              ElementsAre(taken, alsoTaken, noKey, oddModifier));

  // The keys that did register are numbered in order: 1 is six, 2 is seven.
  PostMessageW(hotKeys.window(), WM_HOTKEY, 2, 0);
  PostMessageW(hotKeys.window(), WM_HOTKEY, 1, 0);
  pump();
  EXPECT_THAT(pressed, ElementsAre(13, 11));

  UnregisterHotKey(nullptr, kBlocker);
  EXPECT_THAT(hotKeys.registerKeys({taken}), IsEmpty());
}

TEST_F(Win32HotKeysTest, WmHotKeyReachesTheIdOfItsKeyAndNothingElseDoes) {
  ASSERT_THAT(hotKeys.registerKeys({{100, kSuper, '1'}, {200, kSuper, '2'}, {300, kSuper, '3'}}),
              IsEmpty());
  for (const WPARAM identifier : {WPARAM(3), WPARAM(1), WPARAM(3), WPARAM(0), WPARAM(4), WPARAM(99),
                                  static_cast<WPARAM>(IDHOT_SNAPDESKTOP)})
    PostMessageW(hotKeys.window(), WM_HOTKEY, identifier, 0);
  pump();
  EXPECT_THAT(pressed, ElementsAre(300, 100, 300));

  // Once unregistered, a late message finds no key.
  pressed.clear();
  PostMessageW(hotKeys.window(), WM_HOTKEY, 1, 0);
  hotKeys.unregisterAll();
  pump();
  EXPECT_THAT(pressed, IsEmpty());
}

}  // namespace
}  // namespace qw::platform

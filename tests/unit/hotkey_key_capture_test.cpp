// Key-capture rules of the hotkey entry box, driven by key sequences.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "hotkey/key_capture.h"

namespace vardo::hotkey {
namespace {

// A layout's key names, with the keypad name for the scan code Print Screen
// shares, as the platform reports it without the extended bit.
std::string FakeName(int vk) {
  switch (vk) {
    case 'A': return "A";
    case 'C': return "C";
    case 112: return "F1";
    case 44: return "Num *";
    case 92: return "Right Windows";
    default: return "";
  }
}

struct Step {
  bool down;
  int key;
  int shift;  // shift state as the key event reports it
};

struct Case {
  const char* name;
  std::vector<Step> steps;
  std::string text;
  int key_code;
  int mod_key_code;
};

constexpr int S = kShiftState, C = kCtrlState, A = kAltState;

// Named in test output instead of dumped as bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class KeySequences : public ::testing::TestWithParam<Case> {};

TEST_P(KeySequences, LeaveTheExpectedTextAndCodes) {
  const Case& c = GetParam();
  KeyCapture k;
  for (const Step& s : c.steps) {
    if (s.down) {
      if (!KeyCapture::Ignores(s.key)) k.KeyDown(s.key, s.shift, FakeName);
    } else {
      k.KeyUp(s.key);
    }
  }
  EXPECT_EQ(k.text(), c.text);
  EXPECT_EQ(k.key_code(), c.key_code);
  EXPECT_EQ(k.mod_key_code(), c.mod_key_code);
}

INSTANTIATE_TEST_SUITE_P(
    HotKeyCapture, KeySequences,
    ::testing::Values(
        Case{"CtrlAloneShowsItsPrefix", {{true, 17, C}}, "Ctrl + ", 0, 2},
        Case{"ReleasingCtrlAloneShowsNull", {{true, 17, C}, {false, 17, 0}}, "NULL", 0, 0},
        Case{"ShiftThenCtrlThenAKeepsFixedOrder",
             {{true, 16, S}, {true, 17, S | C}, {true, 'A', S | C}},
             "Ctrl + Shift + A", 'A', 6},
        Case{"AllModifiersInFixedOrder",
             {{true, 91, 0}, {true, 18, A}, {true, 16, A | S}, {true, 17, A | S | C}, {true, 112, A | S | C}},
             "Win + Ctrl + Alt + Shift + F1", 112, 15},
        Case{"CombinationStaysAfterAllKeysAreReleased",
             {{true, 17, C}, {true, 'A', C}, {false, 'A', C}, {false, 17, 0}},
             "Ctrl + A", 'A', 2},
        Case{"LeftWindowsAndA", {{true, 91, 0}, {true, 'A', 0}}, "Win + A", 'A', 8},
        Case{"ReleasedWindowsKeyEndsItsPrefix",
             {{true, 91, 0}, {true, 'A', 0}, {false, 'A', 0}, {false, 91, 0}, {true, 'C', C}},
             "Ctrl + C", 'C', 2},
        Case{"RightWindowsKeyIsAnOrdinaryKey", {{true, 92, 0}}, "Right Windows", 92, 0},
        Case{"PlainKeyWithoutModifiers", {{true, 112, 0}}, "F1", 112, 0},
        Case{"KeyWithoutANameShowsItsCode", {{true, 200, A}}, "Alt + Key 200", 200, 1},
        Case{"KeyCancelledByTheHostIsNoMainKey", {{true, 0, C}}, "Ctrl + ", 0, 2},
        Case{"ApplicationsKeyChangesNothing",
             {{true, 17, C}, {true, 'A', C}, {true, 93, C}, {false, 93, C}},
             "Ctrl + A", 'A', 2},
        Case{"TextPseudoKeysChangeNothing",
             {{true, 'A', C}, {true, 231, C}, {false, 231, C}, {true, 229, 0}},
             "Ctrl + A", 'A', 2},
        Case{"ApplicationsKeyAloneLeavesNull", {{true, 93, 0}, {false, 93, 0}}, "NULL", 0, 0},
        Case{"PrintScreenIsAnOrdinaryMainKey", {{true, 44, 0}}, "Num *", 44, 0},
        Case{"PrintScreenKeepsTheHeldModifiers", {{true, 17, C}, {true, 44, C}}, "Ctrl + Num *", 44, 2},
        Case{"PrintScreenLeavesNoPrefixBehind",
             {{true, 44, 0}, {false, 44, 0}, {true, 17, C}, {true, 'A', C}},
             "Ctrl + A", 'A', 2},
        Case{"ModifierAfterMainKeyDropsTheMainKey",
             {{true, 17, C}, {true, 'A', C}, {true, 16, C | S}},
             "Ctrl + Shift + ", 0, 6},
        Case{"ReleaseAfterModifierOnlyStateShowsNull",
             {{true, 17, C}, {true, 'A', C}, {true, 16, C | S}, {false, 16, C}},
             "NULL", 0, 0}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(HotKeyCapture, LosingTheKeyboardCountsAsTheMissedRelease) {
  KeyCapture k;
  k.KeyDown(91, 0, FakeName);
  EXPECT_TRUE(k.win_down());
  EXPECT_TRUE(k.FocusLost());  // the Windows key was released elsewhere
  EXPECT_FALSE(k.win_down());
  EXPECT_EQ(k.text(), "NULL");
  k.KeyDown('A', C, FakeName);
  EXPECT_EQ(k.text(), "Ctrl + A");
  EXPECT_EQ(k.mod_key_code(), 2);
  // A combination with its main key stays as it is.
  EXPECT_TRUE(k.FocusLost());
  EXPECT_EQ(k.text(), "Ctrl + A");
  EXPECT_EQ(k.key_code(), 'A');
  // Alt held while the keyboard goes elsewhere (Alt+Tab): no half value.
  k.KeyDown(18, A, FakeName);
  EXPECT_EQ(k.text(), "Alt + ");
  EXPECT_TRUE(k.FocusLost());
  EXPECT_EQ(k.text(), "NULL");
  EXPECT_EQ(k.mod_key_code(), 0);
  // Nothing held: nothing missed.
  EXPECT_FALSE(k.FocusLost());
  k.KeyDown(17, C, FakeName);
  k.KeyUp(17);
  EXPECT_FALSE(k.FocusLost());
}

TEST(HotKeyCapture, LoadedValueIsKeptUntilTheNextKey) {
  KeyCapture k;
  k.Set("Print Screen", 44, 0);
  k.KeyUp(17);  // a stray release does not clear a value with a main key
  EXPECT_EQ(k.text(), "Print Screen");
  EXPECT_EQ(k.key_code(), 44);
  k.Set("Ctrl + ", 0, 2);
  k.KeyUp(17);
  EXPECT_EQ(k.text(), "NULL");
  EXPECT_EQ(k.mod_key_code(), 0);
}

}  // namespace
}  // namespace vardo::hotkey

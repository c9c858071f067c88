// Stored hotkey values: decimal codes from hand-edited or damaged files, and
// the INI file's path.
#include <gtest/gtest.h>

#include <string>

#include "hotkey/stored_value.h"

namespace vardo::hotkey {
namespace {

TEST(StoredNumber, ReadsDecimalTextAndTreatsAnythingElseAsZero) {
  struct {
    const char* text;
    int value;
  } const cases[] = {
      {"44", 44},        {"0", 0},          {" 6 ", 6},       {"+7", 7},         {"-3", -3},
      {"", 0},           {"NULL", 0},       {"12abc", 0},     {"0x2C", 0},       {"4 4", 0},
      {"2147483647", 2147483647},           {"2147483648", 0}, {"-2147483649", 0}, {"99999999999999999999", 0},
      // Codes no key or plain modifier set has are kept for RegisterHotKey
      // to judge: MOD_NOREPEAT | Ctrl | Shift, a key code above 254.
      {"16390", 16390},  {"255", 255},
      {"-", 0},          {"+", 0},          {"1.5", 0},       {"\xE4\xB8\xAD", 0},
      // Two signs are no number (found by the fuzz target).
      {"+-7", 0},        {"+-2147483648", 0}, {"++7", 0},     {"-+7", 0},        {"+ 7", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseStoredNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(StoredNumber, LongDigitRunDoesNotOverflow) {
  EXPECT_EQ(ParseStoredNumber(std::string(254, '9')), 0);
  EXPECT_EQ(ParseStoredNumber(std::string(250, '0') + "65"), 65);
}

TEST(IniPath, JoinsWithExactlyOneBackslash) {
  EXPECT_EQ(JoinIniPath("C:\\Program Files\\Vardo", "set.ini"), "C:\\Program Files\\Vardo\\set.ini");
  EXPECT_EQ(JoinIniPath("C:\\Vardo\\", "set.ini"), "C:\\Vardo\\set.ini");
  EXPECT_EQ(JoinIniPath("C:\\Vardo", "\\set.ini"), "C:\\Vardo\\set.ini");
  EXPECT_EQ(JoinIniPath("C:\\Vardo\\\\", "set.ini"), "C:\\Vardo\\set.ini");
  EXPECT_EQ(JoinIniPath("\\\\server\\share", "set.ini"), "\\\\server\\share\\set.ini");
}

TEST(IniPath, DriveRootGetsASingleBackslash) {
  EXPECT_EQ(JoinIniPath("C:\\", "set.ini"), "C:\\set.ini");
  EXPECT_EQ(JoinIniPath("D:\\", "\\set.ini"), "D:\\set.ini");
}

}  // namespace
}  // namespace vardo::hotkey

// The launcher's command line: the text after the program's name, and what getCommandLineArg
// finds in it.
#include <gtest/gtest.h>

#include "qv_mod.h"
#include "vb/convert.h"

namespace launcher {

TEST(CommandLine, ArgumentsFollowTheProgramsNameQuotedOrNot) {
  const struct {
    const wchar_t* full;
    const wchar_t* args;
  } cases[] = {
      {L"quaven.exe -C:\\Program Files\\Tallowmere", L"-C:\\Program Files\\Tallowmere"},
      {L"\"C:\\Program Files\\Tallowmere\\quaven.exe\" -INTESTMODE", L"-INTESTMODE"},
      {L"\"C:\\My-Apps\\quaven.exe\"-C:\\x", L"-C:\\x"},
      {L"C:\\Apps\\quaven.exe", L""},
      {L"\"C:\\Apps\\quaven.exe\"", L""},
      {L"  quaven.exe   \"C:\\a b\"  ", L"\"C:\\a b\"  "},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.args, QvMod::ArgumentsOf(c.full)) << vb::ToAnsi(c.full);
}

TEST(CommandLine, StartPathAndSwitches) {
  const std::wstring untouched = L"<untouched>";
  const struct {
    const wchar_t* cmd;
    const wchar_t* key;
    bool found;
    const wchar_t* value;  // nullptr: left as it was
  } cases[] = {
      // The start path: the first absolute path among the segments, quotes dropped.
      {L"", L"STARTPATH", false, nullptr},
      {L"-C:\\Program Files\\Tallowmere", L"STARTPATH", true, L"C:\\Program Files\\Tallowmere"},
      {L"\"C:\\Program Files\\Tallowmere\"", L"STARTPATH", true, L"C:\\Program Files\\Tallowmere"},
      {L"-\"C:\\Program Files\\Tallowmere\"", L"startpath", true, L"C:\\Program Files\\Tallowmere"},
      {L"-'C:\\Program Files\\Tallowmere'", L"StartPath", true, L"C:\\Program Files\\Tallowmere"},
      {L"-C:\\Program Files\\'Tallow'mere", L"STARTPATH", true, L"C:\\Program Files\\Tallowmere"},
      {L"-\\\\server\\share\\Tallowmere", L"STARTPATH", true, L"\\\\server\\share\\Tallowmere"},
      {L"-\\\\server\\share\\Tallowmere -INTESTMODE", L"STARTPATH", true, L"\\\\server\\share\\Tallowmere"},
      {L"-\\\\server\\share\\Tallowmere -INTESTMODE", L"INTESTMODE", true, L""},
      {L"-C:\\Apps\\My-Product", L"STARTPATH", true, L"C:\\Apps\\My"},
      {L"-\"C:\\Apps\\My-Product\"", L"STARTPATH", true, L"C:\\Apps\\My-Product"},
      {L"\"C:\\Apps\\My-Product\" -INTESTMODE", L"STARTPATH", true, L"C:\\Apps\\My-Product"},
      {L"\"C:\\Apps\\My-Product\" -INTESTMODE", L"INTESTMODE", true, L""},
      {L"-Tallowmere -.\\data", L"STARTPATH", false, nullptr},
      {L"-\" C:\\Program Files\\Tallowmere\"", L"STARTPATH", false, nullptr},
      {L"-D:\\First -E:\\Second", L"STARTPATH", true, L"D:\\First"},
      {L"-Tallowmere -E:\\Second", L"STARTPATH", true, L"E:\\Second"},
      {L"   -C:\\x   ", L"STARTPATH", true, L"C:\\x"},
      {L"\"C:\\First-Dir\" \"D:\\Second\"", L"STARTPATH", true, L"C:\\First-Dir"},
      {L"-\"C:\\Apps\\My-Product -INTESTMODE", L"STARTPATH", true, L"C:\\Apps\\My"},
      {L"-\"C:\\Apps\\x -INTESTMODE\"", L"STARTPATH", true, L"C:\\Apps\\x -INTESTMODE"},
      // Quoted text that starts with a dash starts a segment of its own, before its quote.
      {L"-\"C:\\A\" \"-D:\\B\"", L"STARTPATH", true, L"C:\\A"},
      {L"\"C:\\Program Files\\Tallowmere\" \"-INTESTMODE\"", L"STARTPATH", true, L"C:\\Program Files\\Tallowmere"},
      // Switches: a prefix of a segment, in any case; the value is the rest of the segment.
      {L"-intestmode", L"INTESTMODE", true, L""},
      {L"-InTestMode", L"INTESTMODE", true, L""},
      {L"-INTESTMODEX", L"INTESTMODE", true, L"x"},
      {L"INTESTMODE", L"INTESTMODE", true, L""},
      {L"-C:\\x -INTESTMODE ", L"INTESTMODE", true, L""},
      {L"- INTESTMODE", L"INTESTMODE", false, nullptr},
      {L"-C:\\INTESTMODE", L"INTESTMODE", false, nullptr},
      {L"-\"C:\\Apps\\x -INTESTMODE\"", L"INTESTMODE", false, nullptr},
      {L"-\"C:\\Apps\\My-Product -INTESTMODE", L"INTESTMODE", true, L""},
      {L"\"C:\\Program Files\\Tallowmere\" \"-INTESTMODE\"", L"INTESTMODE", true, L""},
      {L"-NSP", L"INTESTMODE", false, nullptr},
      {L"", L"INTESTMODE", false, nullptr},
      {L"-INTESTMODE", L"  ", false, nullptr},
  };
  for (const auto& c : cases) {
    std::wstring value = untouched;
    EXPECT_EQ(c.found, QvMod::getCommandLineArg(c.cmd, c.key, value)) << vb::ToAnsi(c.cmd) << " / " << vb::ToAnsi(c.key);
    EXPECT_EQ(c.value ? c.value : untouched, value) << vb::ToAnsi(c.cmd) << " / " << vb::ToAnsi(c.key);
  }
}

}  // namespace launcher

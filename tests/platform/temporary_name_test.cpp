#include "platform/temporary_name.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(TemporaryName, StandsBesideTheTargetAndChangesEachTime) {
  struct Case {
    const char* path;
    const char* separators;
    const char* expected_start;
  };
  const Case cases[] = {
      {"/home/driver/cells.dat", "/", "/home/driver/.tmp-"},
      {"C:\\Scenari\\cells.dat", "\\/", "C:\\Scenari\\.tmp-"},
      {"C:\\Scenari/sub\\cells.dat", "\\/", "C:\\Scenari/sub\\.tmp-"},
      {"cells.dat", "/", ".tmp-"},
      // On POSIX a backslash is part of the file's name, not a folder's end.
      {"/home/a\\b.dat", "/", "/home/.tmp-"},
      // However long the target's name, the temporary's stays short.
      {"/home/driver/a_scenario_name_of_two_hundred_and_thirty_five_characters.dat", "/", "/home/driver/.tmp-"},
  };
  for (const Case& c : cases) {
    const std::string first = temporary_name_beside(c.path, c.separators);
    const std::string second = temporary_name_beside(c.path, c.separators);
    EXPECT_EQ(first.rfind(c.expected_start, 0), 0u) << first;
    EXPECT_EQ(first.size(), std::string(c.expected_start).size() + 9) << first;
    EXPECT_NE(first, second);
  }
}

}  // namespace
}  // namespace scenario

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
      {"/home/driver/cells.dat", "/", "/home/driver/.cells.dat.tmp-"},
      {"C:\\Scenari\\cells.dat", "\\/", "C:\\Scenari\\.cells.dat.tmp-"},
      {"C:\\Scenari/sub\\cells.dat", "\\/", "C:\\Scenari/sub\\.cells.dat.tmp-"},
      {"cells.dat", "/", ".cells.dat.tmp-"},
      // On POSIX a backslash is part of the file's name, not a folder's end.
      {"/home/a\\b.dat", "/", "/home/.a\\b.dat.tmp-"},
  };
  for (const Case& c : cases) {
    const std::string first = temporary_name_beside(c.path, c.separators);
    const std::string second = temporary_name_beside(c.path, c.separators);
    EXPECT_EQ(first.rfind(c.expected_start, 0), 0u) << first;
    EXPECT_GT(first.size(), std::string(c.expected_start).size()) << first;
    EXPECT_NE(first, second);
  }
}

}  // namespace
}  // namespace scenario

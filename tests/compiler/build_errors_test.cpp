#include "compiler/build_errors.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(BuildErrors, LinesGiveAPositionOnlyWhereTheErrorRecordsOne) {
  struct Case {
    int32_t number;
    int32_t position;
    const char* line;
  };
  const Case cases[] = {
      {15, 43000, "build error 15: a record position beyond the cell array, at 43000 m"},
      {6, 350, "build error 6: sign board cell not free, at 350 m"},
      {13, 22250, "build error 13: no free cell for a derived code point, at 22250 m"},
      // These leave whatever position an earlier failure stored: showing it would mislead.
      {24, 0, "build error 24: station stop point at cell 1 or before"},
      {10, 900, "build error 10: more stations than the table holds below the sign board texts"},
      {2, 12650, "build error 2: a kilometre reference position or value not a multiple of 50"},
      {101, 0, "build error 101: line source file missing"},
      {99, 0, "build error 99: unknown build error"},
  };
  for (const Case& c : cases) {
    BuildError error;
    error.code = static_cast<BuildErrorCode>(c.number);
    error.position = c.position;
    EXPECT_EQ(describe_build_error(error), c.line);
  }
}

}  // namespace
}  // namespace scenario

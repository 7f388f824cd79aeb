// Without a reachable X display the shipped builder must run exactly as the
// headless builder does: same files, same bytes, same lines, same status.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "support/builder_runs.h"

namespace scenario {
namespace {

TEST(BuilderWithoutADisplay, BuildsAsTheHeadlessBuilder) {
  const testing::BuildOutcome reference =
      testing::build_in_empty_folder(SCENARIO_HEADLESS_REFERENCE_PATH, {"DISPLAY="});
  ASSERT_EQ(reference.standard_error.rfind("Attendere\n", 0), 0u) << reference.standard_error;
  ASSERT_EQ(reference.files.count("ValdorenaC_Morlavesa_4721_note.txt"), 1u) << "the reference built nothing";

  struct Case {
    const char* what;
    std::vector<std::string> environment;
  };
  const Case cases[] = {
      {"no DISPLAY", {"DISPLAY="}},
      {"DISPLAY names a server that is not there", {"DISPLAY=:9919"}},
      {"DISPLAY is no display name", {"DISPLAY=nowhere"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::expect_same_build(testing::build_in_empty_folder(SCENARIO_BUILDER_PATH, c.environment), reference);
  }
}

}  // namespace
}  // namespace scenario

#endif

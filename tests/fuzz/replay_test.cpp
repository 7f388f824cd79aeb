// Every seed and every kept finding of the fuzz targets, replayed in the
// ordinary builds (and so under the sanitizer build of the test command).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz/fuzz_inputs.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

template <typename Replay>
int replay_all(const std::string& target, Replay replay) {
  int inputs = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path folder = fs::path(SCENARIO_FUZZ_DIR) / kind / target;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      const std::string input = testing::read_file(entry.path());
      EXPECT_NO_THROW(replay(input));
      ++inputs;
    }
  }
  return inputs;
}

TEST(FuzzInputs, SeedsAndFindingsOfTheWholeCompileReplayCleanly) {
  EXPECT_GT(replay_all("compile", [](const std::string& input) { fuzzing::compile_input(input); }), 0);
}

TEST(FuzzInputs, SeedsAndFindingsOfTheDecoderReplayCleanly) {
  EXPECT_GT(replay_all("decoder", [](const std::string& input) { fuzzing::decode_files(input); }), 0);
}

TEST(FuzzInputs, SeedsAndFindingsOfTheFieldReaderReplayCleanly) {
  EXPECT_GT(replay_all("field_reader", [](const std::string& input) { fuzzing::read_fields(input); }), 0);
}

}  // namespace
}  // namespace scenario

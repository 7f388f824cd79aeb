// Sources an author might get wrong in any way: the compile must record a
// build error or finish, never crash, hang or write outside its arrays (the
// sanitizer build watches the last), and tell the error it records.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "compiler/compile.h"
#include "compiler/compiled_output.h"
#include "compiler/diagnostics.h"
#include "source/line_data.h"
#include "source/train_data.h"

namespace scenario {
namespace {

// Extremes and near-misses for every width a field may have.
const char* const kAwkwardNumbers[] = {"2147483647", "-2147483648", "2147483648", "32767", "-32769", "256", "-1",
                                       "0",          "1000001",     "-7000",      "49900", "25",     "",    "1.5"};
const char* const kAwkwardText[] = {",", "-", "\r\n", " ", "\t", "[", "]", "[generale]", "curvas", "stazione,", "9"};

std::string mutate(std::string text, std::mt19937& random) {
  const auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  const int edits = 1 + static_cast<int>(pick(4));
  for (int e = 0; e < edits && !text.empty(); ++e) {
    const size_t at = pick(text.size());
    switch (pick(5)) {
      case 0:  // a number replaced by an awkward one
      {
        size_t start = text.find_first_of("0123456789", at);
        if (start == std::string::npos) break;
        size_t end = text.find_first_not_of("0123456789", start);
        text.replace(start, (end == std::string::npos ? text.size() : end) - start,
                     kAwkwardNumbers[pick(std::size(kAwkwardNumbers))]);
        break;
      }
      case 1:  // a stray separator or keyword
        text.insert(at, kAwkwardText[pick(std::size(kAwkwardText))]);
        break;
      case 2:  // a stretch lost
        text.erase(at, 1 + pick(40));
        break;
      case 3:  // a line repeated elsewhere
      {
        const size_t line_start = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
        const size_t line_end = text.find('\n', at);
        const std::string line =
            text.substr(line_start, line_end == std::string::npos ? std::string::npos : line_end - line_start + 1);
        text.insert(pick(text.size()), line);
        break;
      }
      default:  // the file cut short
        text.resize(at);
        break;
    }
  }
  return text;
}

std::string compiled_bytes(const Compilation& compilation) {
  if (compilation.status != CompileStatus::compiled) return {};
  const RouteModel& model = compilation.model;
  return encode_cell_file(model) + encode_table_file(model) + (model.plan ? std::string(model.plan->file_bytes()) : "");
}

// Told about, the same sources compile to the same bytes and record; the last
// error told is the one the record (or the fatal report) holds, and none is
// told when it holds none.
void expect_told_alike(const SourceTexts& sources, const Identity& identity, bool with_plan, const Compilation& silent,
                       int round) {
  std::vector<Diagnostic> diagnostics;
  Compilation told;
  ASSERT_NO_THROW(told = compile_sources(sources, identity, with_plan, &diagnostics)) << "round " << round;
  EXPECT_EQ(told.status, silent.status) << "round " << round;
  EXPECT_EQ(told.error.number(), silent.error.number()) << "round " << round;
  EXPECT_EQ(told.error.position, silent.error.position) << "round " << round;
  EXPECT_TRUE(compiled_bytes(told) == compiled_bytes(silent)) << "round " << round;

  const auto last_error = std::find_if(diagnostics.rbegin(), diagnostics.rend(),
                                       [](const Diagnostic& d) { return d.severity == Severity::error; });
  const BuildErrorCode held = told.status == CompileStatus::fatal_report ? told.fatal : told.error.code;
  if (held == BuildErrorCode::none) {
    EXPECT_EQ(last_error, diagnostics.rend()) << "round " << round << ": " << last_error->message;
  } else {
    ASSERT_NE(last_error, diagnostics.rend()) << "round " << round << ": error " << number_of(held) << " untold";
    EXPECT_EQ(last_error->code, held) << "round " << round << ": " << last_error->message;
  }
}

TEST(HostileSources, MutatedBuiltInSourcesCompileOrRecordAnError) {
  const std::string line = render_text_file(line_source_lines());
  const std::string train = render_text_file(train_source_lines());
  const Identity identity = ascii_identity("ValdorenaC_Morlavesa", "4721");
  std::mt19937 random(20261210);
  for (int round = 0; round < 400; ++round) {
    const bool line_side = round % 2 == 0;
    const SourceTexts sources{{line_side ? mutate(line, random) : line, {}},
                              {line_side ? train : mutate(train, random), {}}};
    const bool with_plan = round % 3 != 0;
    Compilation compilation;
    ASSERT_NO_THROW(compilation = compile_sources(sources, identity, with_plan)) << "round " << round;
    if (compilation.status == CompileStatus::compiled) {
      EXPECT_EQ(encode_cell_file(compilation.model).size(), 15u * compilation.model.cells.size()) << "round " << round;
      EXPECT_EQ(compilation.model.plan.has_value(), with_plan) << "round " << round;
    }
    expect_told_alike(sources, identity, with_plan, compilation, round);
  }
}

}  // namespace
}  // namespace scenario

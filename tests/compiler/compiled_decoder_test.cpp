#include "compiler/compiled_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "compiler/byte_writer.h"
#include "compiler/compile.h"
#include "compiler/compiled_meaning.h"
#include "compiler/compiled_output.h"
#include "source/line_data.h"
#include "source/train_data.h"
#include "support/memory_file_store.h"
#include "support/source_rows.h"

namespace scenario {
namespace {

// The built-in scenario's three compiled files, as the compile writes them.
class CompiledBuiltIn : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::MemoryFileStore files;
    const ScenarioFolder folder{"/built-in", '/'};
    const Identity identity = ascii_identity("ValdorenaC_Morlavesa", "4721");
    files.replace(folder.path(line_source_name(identity)), render_text_file(line_source_lines()));
    files.replace(folder.path(train_source_name(identity)), render_text_file(train_source_lines()));
    ASSERT_EQ(compile_scenario(files, folder, identity, /*with_plan=*/true).status, CompileStatus::compiled);
    cells_ = files.read(folder.path(cell_file_name(identity)));
    table_ = files.read(folder.path(table_file_name(identity)));
    plan_ = files.read(folder.path(line_plan_file_name(identity)));
  }

  static DecodedScenario decoded() {
    Decoded<DecodedScenario> d = decode_scenario({cells_, table_, plan_});
    EXPECT_TRUE(d.ok()) << d.error().message();
    return std::move(d.value());
  }

  static inline std::string cells_, table_, plan_;
};

TEST_F(CompiledBuiltIn, DecodedFilesEncodeToTheSameBytes) {
  const DecodedScenario s = decoded();
  RouteModel model;
  model.cells = *s.cells;
  model.table = *s.table;
  EXPECT_TRUE(encode_cell_file(model) == cells_);
  EXPECT_TRUE(encode_table_file(model) == table_);

  ASSERT_EQ(s.plan->last_metre, 50000);
  ByteWriter plan;
  for (const DecodedPlanEntry& entry : s.plan->entries) {
    plan.put_u16(entry.tag);
    if (entry.tag == kPlanTagInt16) plan.put_i16(static_cast<int16_t>(entry.value));
    if (entry.tag == kPlanTagDouble) plan.put_f64(entry.value);
  }
  EXPECT_TRUE(plan.bytes() == plan_);
  // Metres 0 and 1 are integers, 2 to N - 2 numbers, N - 1 and N empty, in each coordinate.
  EXPECT_EQ(s.plan->at(1, 1).tag, kPlanTagInt16);
  EXPECT_EQ(s.plan->at(1, 1).value, 1.0);
  EXPECT_EQ(s.plan->at(2, 0).tag, kPlanTagDouble);
  EXPECT_EQ(s.plan->at(49999, 1).tag, kPlanTagEmpty);
}

// Rows of a built-in source whose keyword starts with `keyword`, split at their commas.
std::vector<std::vector<std::string>> source_rows(const LineBuffer& lines, const std::string& keyword) {
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < lines.line_count(); ++i) {
    if (lines.entry(i).rfind(keyword, 0) == 0) rows.push_back(testing::split_at_commas(lines.entry(i)));
  }
  return rows;
}

int number(const std::string& field) {
  return field.find_first_of("0123456789") == std::string::npos ? 0 : std::stoi(field);
}

std::string trimmed(const std::string& field) { return field.substr(field.find_first_not_of(' ')); }

// The cell a board or signal at `position` stands in: the one after the cell holding it.
size_t board_cell(int position) { return static_cast<size_t>(position / 50 + 1); }

TEST_F(CompiledBuiltIn, DecodedScenarioHoldsWhatTheSourcesState) {
  const DecodedScenario s = decoded();
  const std::vector<Cell>& cells = *s.cells;
  const CompiledTable& table = *s.table;
  const LineBuffer line = line_source_lines();
  const LineBuffer train = train_source_lines();

  const int route_length = number(source_rows(line, "lunghezza percorso")[0][1]);
  EXPECT_EQ(route_length_m(s), route_length);
  EXPECT_EQ(cells.size(), static_cast<size_t>((route_length + 7000) / 50 + 1));

  const std::array<RecordRole, kTableRecords> roles = record_roles(table);
  const auto stations = source_rows(train, "stazione");
  for (size_t i = 0; i < stations.size(); ++i) {
    const std::vector<std::string>& row = stations[i];
    const TableRecord& r = table[i + 1];
    SCOPED_TRACE(row.back());
    EXPECT_EQ(roles[i + 1], RecordRole::station);
    EXPECT_EQ(r.text, trimmed(row.back()));
    EXPECT_EQ(r.position, number(row[1]));
    EXPECT_EQ(r.kind, number(row[2]));
    EXPECT_EQ(station_length_m(r), number(row[3]));
    EXPECT_EQ(r.byte2, number(row[13]));
    EXPECT_EQ(clock_text(r.time), clock_text((number(row[14]) * 60 + number(row[15])) * 60 + number(row[16])));
  }
  EXPECT_EQ(roles[stations.size() + 1], RecordRole::cleared);

  const auto boards = source_rows(line, "cartello_indicatore");
  for (size_t i = 0; i < boards.size(); ++i) {
    const int record = kSignFloorStart - static_cast<int>(i);
    EXPECT_EQ(roles[static_cast<size_t>(record)], RecordRole::board_text);
    EXPECT_EQ(table[static_cast<size_t>(record)].text, trimmed(boards[i][2]));
    const Cell& cell = cells.at(board_cell(number(boards[i][1])));
    EXPECT_EQ(cell.marker, kSignBoard);
    EXPECT_EQ(cell.value1, record);
  }

  for (const auto& row : source_rows(line, "indicatori_vmax")) {
    const Cell& cell = cells.at(board_cell(number(row[1])));
    ASSERT_EQ(cell.marker, kSpeedBoard) << row[1];
    const SpeedBoard board = speed_board_of(cell);
    EXPECT_EQ(board.left.speeds_kmh, (std::array<int32_t, 3>{number(row[2]), number(row[3]), number(row[4])}));
    EXPECT_EQ(board.left.stripes, number(row[5]));
    EXPECT_EQ(board.right.speeds_kmh, (std::array<int32_t, 3>{number(row[6]), number(row[7]), number(row[8])}));
    EXPECT_EQ(board.right.stripes, number(row[9]));
  }

  for (const auto& row : source_rows(train, "segnale")) {
    const Cell& cell = cells.at(board_cell(number(row[1])));
    ASSERT_EQ(cell.marker, kSignal) << row[1];
    const SignalCodes codes = signal_codes_of(cell);
    EXPECT_EQ(codes.left_type, number(row[2]));
    EXPECT_EQ(codes.left_values, (std::array<int32_t, 3>{number(row[3]), number(row[4]), number(row[5])}));
    EXPECT_EQ(codes.tens, number(row[6]));
    EXPECT_EQ(codes.right_type, number(row[7]));
    EXPECT_EQ(codes.right_values, (std::array<int32_t, 3>{number(row[8]), number(row[9]), number(row[10])}));
    const int time = number(row[11]);
    EXPECT_EQ(codes.time, codes.left_type == 2 ? (time >= 1 && time <= 100 ? 101 : time) : 0);
  }

  const auto slowdown_rows = source_rows(train, "rallentamento");
  const std::vector<SlowdownExtent> slowdowns = slowdowns_of(cells);
  ASSERT_EQ(slowdowns.size(), slowdown_rows.size());
  const int slow_at = number(slowdown_rows[0][1]);
  EXPECT_EQ(slowdowns[0].speed_kmh, number(slowdown_rows[0][2]));
  EXPECT_EQ(marker_source_position_m(slowdowns[0].start_cell, kSlowdownStart), slow_at);
  EXPECT_EQ(marker_source_position_m(slowdowns[0].end_cell, kSlowdownEnd), slow_at + number(slowdown_rows[0][3]));
  EXPECT_EQ(slowdowns[0].warning_cell, slowdowns[0].start_cell - 24);

  // Profiles: cell k holds what the last row at or before 50 k metres states, up to the last
  // three cells; heights add up the gradients 50 m at a time.
  const auto gradients = source_rows(line, "pendenza");
  const auto speeds = source_rows(train, "velocita");
  const auto adhesions = source_rows(train, "aderenza");
  const auto in_force = [](const std::vector<std::vector<std::string>>& rows, size_t k) {
    int value = 0;
    for (const auto& row : rows) value = number(row[1]) <= static_cast<int>(k) * 50 ? number(row[2]) : value;
    return value;
  };
  const std::vector<double> heights = heights_m(cells);
  double height = 0;
  for (size_t k = 0; k + 3 < cells.size(); ++k) {
    ASSERT_EQ(gradient_per_mille(cells[k]), in_force(gradients, k)) << "cell " << k;
    ASSERT_EQ(speed_limit_kmh(cells[k]), in_force(speeds, k)) << "cell " << k;
    ASSERT_EQ(cells[k].adhesion, in_force(adhesions, k)) << "cell " << k;
    ASSERT_NEAR(heights[k], height, 1e-9) << "cell " << k;
    height += in_force(gradients, k) * 0.05;
  }

  // Kilometre references as written, in route order; the general rows name them uno, due, tre.
  std::vector<KmReference> expected;
  for (const char* name :
       {"progressiva chilometrica uno", "progressiva chilometrica due", "progressiva chilometrica tre"}) {
    const std::vector<std::string> row = source_rows(line, name).at(0);
    if (number(row[1]) != 0 || number(row[2]) != 0 || number(row[3]) != 0) {
      expected.push_back({0, number(row[1]), number(row[2]), number(row[3]) == 1});
    }
  }
  const std::vector<KmReference> references = km_references(table);
  ASSERT_EQ(references.size(), expected.size());
  for (size_t i = 0; i < references.size(); ++i) {
    EXPECT_EQ(references[i].from_m, expected[i].from_m);
    EXPECT_EQ(references[i].value_m, expected[i].value_m);
    EXPECT_EQ(references[i].falling, expected[i].falling);
  }

  EXPECT_EQ(table[kTrainRecord].position, number(source_rows(train, "numero vetture")[0][1]));
  EXPECT_EQ(table[kTrainRecord].start, number(source_rows(train, "percentuale massa frenata")[0][1]));
  EXPECT_EQ(table[kTrainNumberRecord].word1, number(source_rows(train, "sabbia")[0][1]));
  for (const MarkCheck& check : check_marks(s)) EXPECT_TRUE(check.ok()) << check.what;
}

// Damaged files: each is refused with the file, the byte and what is wrong.
TEST_F(CompiledBuiltIn, DamagedFilesAreRefusedSayingWhatAndWhere) {
  struct Case {
    const char* what;
    CompiledFile file;
    std::function<std::string(std::string)> damage;
    size_t offset;
    const char* message;
  };
  // Record 86, the last, holds the train number "4721": 34 + 4 bytes.
  const size_t record86 = table_.size() - 38;
  const auto text_length = [record86](uint16_t length) {
    return [record86, length](std::string b) {
      put_le(b.data() + record86 + 14, length);
      return b;
    };
  };
  const auto cut = [](size_t bytes) { return [bytes](std::string b) { return b.substr(0, b.size() - bytes); }; };
  const Case cases[] = {
      {"cells: empty", CompiledFile::cells, [](std::string) { return std::string(); }, 0,
       "an empty file: a cell file holds at least cells 0 and 1"},
      {"cells: one cell", CompiledFile::cells, [](std::string b) { return b.substr(0, 15); }, 15, "only cell 0"},
      {"cells: cut inside the last cell", CompiledFile::cells, cut(1), 15000,
       "cell 1000 has 14 bytes of its 15: the file is cut short or has bytes added"},
      {"cells: a byte added", CompiledFile::cells, [](std::string b) { return b + 'x'; }, 15015,
       "cell 1001 has 1 byte of its 15"},
      {"cells: more than the longest route", CompiledFile::cells,
       [](std::string) { return std::string(15 * 20142, '\0'); }, 15 * 20141,
       "20142 cells: more than the 20141 of the longest route (1000000 m)"},
      {"cells: a whole cell cut off", CompiledFile::cells, cut(15), 15000,
       "cells 0 to 999, but the route length 43000 m in record 84 of the table file gives cells 0 to 1000"},
      {"table: empty", CompiledFile::table, [](std::string) { return std::string(); }, 0, "an empty file"},
      {"table: cut inside a record head", CompiledFile::table, cut(38 - 5), record86,
       "record 86: the file ends inside the record (5 bytes left"},
      {"table: the last record missing", CompiledFile::table, cut(38), record86,
       "the file ends after record 85: record 86 is missing"},
      {"table: a text length past the end", CompiledFile::table, text_length(300), record86 + 14,
       "record 86: text length 300 runs past the end of the file (the text and 18 bytes after it need 318 bytes, 22 "
       "bytes left)"},
      {"table: a text length too short", CompiledFile::table, text_length(3), record86 + 37,
       "1 byte after record 86, the last"},
      {"table: a byte added", CompiledFile::table, [](std::string b) { return b + '\0'; }, record86 + 38,
       "1 byte after record 86"},
      {"plan: empty", CompiledFile::line_plan, [](std::string) { return std::string(); }, 0, "an empty file"},
      {"plan: a tag it never writes", CompiledFile::line_plan,
       [](std::string b) {
         put_le(b.data(), uint16_t{7});
         return b;
       },
       0, "entry 0: tag 7 is none of 0 (empty), 2 (16-bit integer) and 5 (floating-point number)"},
      // The plan ends with two empty entries (2 bytes each) after a floating-point one (10 bytes).
      {"plan: cut inside a tag", CompiledFile::line_plan, cut(3), plan_.size() - 4,
       "entry 100000: the file ends inside its tag"},
      {"plan: cut inside a value", CompiledFile::line_plan, cut(5), plan_.size() - 14,
       "entry 99999: the file ends inside its 8-byte value (7 bytes left)"},
      {"plan: one entry cut off", CompiledFile::line_plan, cut(2), plan_.size() - 2,
       "100001 entries: every metre has two coordinates"},
      {"plan: a metre cut off", CompiledFile::line_plan, cut(4), plan_.size() - 4,
       "metres 0 to 49999, but the route length 43000 m in record 84 of the table file gives metres 0 to 50000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string cells = c.file == CompiledFile::cells ? c.damage(cells_) : cells_;
    const std::string table = c.file == CompiledFile::table ? c.damage(table_) : table_;
    const std::string plan = c.file == CompiledFile::line_plan ? c.damage(plan_) : plan_;
    const Decoded<DecodedScenario> d = decode_scenario({cells, table, plan});
    ASSERT_FALSE(d.ok());
    EXPECT_EQ(d.error().file, c.file);
    EXPECT_EQ(d.error().offset, c.offset);
    EXPECT_NE(d.error().what.find(c.message), std::string::npos) << d.error().message();
  }
}

// Whatever the damage, the decoder answers: a scenario or an error inside the file, never a crash.
TEST_F(CompiledBuiltIn, AnyDamageGivesAScenarioOrAnError) {
  std::mt19937 random(11);
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  int refused = 0;
  for (int round = 0; round < 600; ++round) {
    std::string files[3] = {cells_, table_, round % 3 == 2 ? plan_ : std::string()};
    std::string& bytes = files[round % 3];
    switch (pick(4)) {
      case 0:  // garbled bytes
        for (int i = 0, n = 1 + static_cast<int>(pick(8)); i < n; ++i)
          bytes[pick(bytes.size())] = static_cast<char>(random());
        break;
      case 1:  // cut short
        bytes.resize(pick(bytes.size()));
        break;
      case 2:  // bytes added
        bytes.append(pick(64), static_cast<char>(random()));
        break;
      default:  // a piece taken out of the middle
        bytes.erase(pick(bytes.size()), 1 + pick(40));
        break;
    }
    // The plan, a megabyte, only comes along when it is the damaged one.
    CompiledBytes given{files[0], files[1], std::nullopt};
    if (round % 3 == 2) given.line_plan = files[2];
    const Decoded<DecodedScenario> d = decode_scenario(given);
    if (!d.ok()) {
      ++refused;
      const std::string& damaged = files[static_cast<int>(d.error().file)];
      EXPECT_LE(d.error().offset, damaged.size()) << d.error().message();
      EXPECT_FALSE(d.error().what.empty());
    }
  }
  // Most damage shows; garbled values inside a cell or entry cannot.
  EXPECT_GT(refused, 300);
}

}  // namespace
}  // namespace scenario

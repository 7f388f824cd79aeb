#include "compiler/line_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "compiler/source_reading.h"
#include "source/line_data.h"
#include "support/cell_runs.h"
#include "support/source_rows.h"

namespace scenario {
namespace {

constexpr int32_t kUntouchedPosition = 12345;

using testing::lines;

// A 43000 m line (cells 0 to 1000, plan metres 0 to 50000) with the given body rows.
std::string line_with_body(std::initializer_list<std::string_view> body) {
  return lines({"[generale]", "lunghezza percorso,  43000", "[curve]"}) + lines(body) + lines({"[fine]"});
}

// A line source read as the build reads it, with a train source beside it.
class LineSource {
 public:
  explicit LineSource(bool with_plan = false) : with_plan_(with_plan) { error_.position = kUntouchedPosition; }

  void write(std::string_view text) { text_ = std::string(text); }

  // The line half alone; a failure of the reading itself comes out as the exception.
  LineReading read() { return read_line_source(text_.value(), with_plan_, model_, error_); }
  // Both halves inside the one failure handler. A fresh reading starts its record at position 0.
  void compile() {
    const SourceTexts sources{{text_, {}}, {std::string("[generale]\r\n"), {}}};
    reading_ = read_sources(sources, ascii_identity("ValdorenaC_Morlavesa", "4721"), with_plan_, model_);
    error_ = reading_.error;
  }

  // What a build that reads files would leave of them after compile().
  bool line_source_left() const { return text_.has_value() && !reading_.line_spent; }
  bool train_source_left() const { return !reading_.train_spent; }
  RouteModel& model() { return model_; }
  const BuildError& error() const { return error_; }

 private:
  bool with_plan_;
  std::optional<std::string> text_;
  RouteModel model_;
  BuildError error_;
  SourceReading reading_;
};

using testing::cell_runs;

std::string gradient_runs(const RouteModel& model) {
  return cell_runs(model, 0, model.last_cell_index(), [](const Cell& c) { return int{c.gradient}; });
}

double plan_double(const RouteModel& model, int32_t metre, int coordinate) {
  return std::get<double>(model.plan->entry(metre, coordinate));
}

TEST(LineReader, BuiltInLineReadsWithoutError) {
  RouteModel m;
  BuildError recorded;
  const std::string text = render_text_file(line_source_lines());
  const LineReading result = read_line_source(text, /*with_plan=*/true, m, recorded);

  EXPECT_EQ(recorded.number(), 0);
  EXPECT_TRUE(result.read_train_source);
  EXPECT_EQ(m.last_cell_index(), 1000);
  EXPECT_EQ(m.plan->last_metre(), 50000);
  EXPECT_TRUE(std::holds_alternative<double>(m.plan->entry(49998, 1)));
  EXPECT_EQ(result.sign_floor, 45);
  const TableRecord& r81 = m.table[kKmReferenceThree];
  EXPECT_EQ((std::array{r81.start, r81.end, r81.position}), (std::array{12650, 112100, 0}));
  for (int record = 46; record <= 80; ++record) {
    EXPECT_TRUE(m.table[static_cast<size_t>(record)].text.starts_with("(")) << record;
  }
  EXPECT_EQ(m.table[45].text, "");
}

TEST(LineReader, ReadsTheGeneralSection) {
  LineSource source(/*with_plan=*/true);
  source.write(lines({
      "linea di prova, lunghezza percorso,  999",  // before [generale]: not read
      "[generale]",
      "lunghezza percorso,                   43000",
      "progressiva chilometrica uno,         0,  137350,  1",
      "progressiva chilometrica due,     12650,  112100,  0",
      "progressiva chilometrica tre,         0,       0,  0",
      "sfondo uno,       1",
      "sfondo due,   14350",
      "sfondo tre,       0",
      "ripetizione segnali 4 codici,    0    ,0",
      "[curve]",
      "[fine]",
  }));
  const LineReading result = source.read();

  const RouteModel& m = source.model();
  const BuildError& recorded = source.error();
  EXPECT_TRUE(result.read_train_source);
  EXPECT_EQ(result.sign_floor, 80);
  EXPECT_EQ(recorded.number(), 0);
  EXPECT_EQ(m.table[kTrainRecord].end, 43000);
  EXPECT_EQ(m.last_cell_index(), 1000);
  EXPECT_EQ(m.cells.size(), 1001u);
  EXPECT_EQ(m.plan->last_metre(), 50000);
  const TableRecord& r81 = m.table[kKmReferenceThree];
  const TableRecord& r82 = m.table[kKmReferenceTwo];
  const TableRecord& r83 = m.table[kKmReferenceOne];
  EXPECT_EQ((std::array{r81.start, r81.end, r81.position}), (std::array{12650, 112100, 0}));
  EXPECT_EQ((std::array{r82.start, r82.end, r82.position}), (std::array{0, 137450, 1}));
  EXPECT_EQ((std::array{r83.start, r83.end, r83.position}), (std::array{0, 0, 0}));
  const TableRecord& r85 = m.table[kScenarioRecord];
  EXPECT_EQ((std::array{r85.start, r85.position, r85.end}), (std::array{1, 14350, 0}));
  const TableRecord& r86 = m.table[kTrainNumberRecord];
  EXPECT_EQ((std::array{r86.start, r86.end, r86.position}), (std::array{0, 0, 0}));
}

TEST(LineReader, GeneralKeywordCaseAndPlace) {
  struct Case {
    const char* what;
    std::string file;
    int32_t route_length, background_one, reference_one_value;
  };
  const std::string length = "lunghezza percorso, 1000\r\n";
  const Case cases[] = {
      {"route length in capitals", lines({"[GENERALE]", "LUNGHEZZA Percorso, 2000", "[curve]"}), 2000, 0, 0},
      {"a capital in sfondo or uno", length + lines({"Sfondo uno, 7", "sfondo Uno, 8", "[curve]"}), 1000, 0, 0},
      {"a capital in progressiva", length + lines({"Progressiva chilometrica uno, 100, 5000, 0", "[curve]"}), 1000, 0,
       0},
      {"lower case is read", length + lines({"sfondo uno, 7", "progressiva chilometrica uno, 100, 5000, 0", "[curve]"}),
       1000, 7, 5000},
      {"after the first header", length + lines({"[curve]", "sfondo uno, 7", "lunghezza percorso, 3000"}), 1000, 0, 0},
      {"a header with '-' does not close the section",
       length + lines({"[cur-ve]", "sfondo uno, 7", "[pendenze]", "sfondo uno, 9"}), 1000, 7, 0},
      {"a header of any text in brackets closes it", length + lines({"[altro]", "sfondo uno, 7"}), 1000, 0, 0},
      {"a second route length replaces the first", lines({"[generale]", "lunghezza percorso, 5000", length, "[curve]"}),
       1000, 0, 0},
  };
  for (const Case& c : cases) {
    LineSource source;
    source.write(c.file.starts_with("[") ? c.file : "[generale]\r\n" + c.file);
    source.read();
    const RouteModel& m = source.model();
    const BuildError& recorded = source.error();
    EXPECT_EQ(recorded.number(), 0) << c.what;
    EXPECT_EQ(m.table[kTrainRecord].end, c.route_length) << c.what;
    EXPECT_EQ(m.last_cell_index(), last_cell_index_for(c.route_length)) << c.what;
    EXPECT_EQ(m.table[kScenarioRecord].start, c.background_one) << c.what;
    EXPECT_EQ(m.table[kKmReferenceThree].end, c.reference_one_value) << c.what;
  }
}

TEST(LineReader, CommentFieldsInARow) {
  struct Case {
    const char* what;
    std::string file;
    bool route_length_read;
    int32_t gradient_at_cell_20;  // per mille plus 100
  };
  const std::string dashes = "----------";
  auto dash_rows = [&](int n) {
    std::string rows;
    for (int i = 0; i < n; ++i) rows += dashes + "\r\n";
    return rows;
  };
  const std::string general = "[generale]\r\nlunghezza percorso, 43000\r\n";
  const Case cases[] = {
      {"a dash line in each part", general + dash_rows(1) + "[curve]\r\n" + dash_rows(1) + "pendenza, 0, 5\r\n", true,
       105},
      // Ten comment fields are passed over; the eleventh is a keyword even with a "-".
      {"ten before a general keyword with '-'",
       "[generale]\r\n" + dash_rows(10) + "lunghezza-percorso, 43000\r\n[curve]\r\n", true, 100},
      {"nine before a general keyword with '-'",
       "[generale]\r\n" + dash_rows(9) + "lunghezza-percorso, 43000\r\n[curve]\r\n", false, 0},
      // In the body two are passed over; the third is a keyword even with a "-".
      {"two before a body keyword with '-'", general + "[curve]\r\n" + dash_rows(2) + "-pendenza, 0, 5\r\n", true, 105},
      {"one before a body keyword with '-'", general + "[curve]\r\n" + dash_rows(1) + "-pendenza, 0, 5\r\n", true, 100},
      {"a dash line that is the last field", general + "[curve]\r\npendenza, 0, 5\r\n" + dash_rows(1), true, 105},
  };
  for (const Case& c : cases) {
    LineSource source;
    source.write(c.file);
    if (!c.route_length_read) {
      EXPECT_THROW(source.read(), InputError) << c.what;  // no route length, no cells
      continue;
    }
    source.read();
    const RouteModel& m = source.model();
    const BuildError& recorded = source.error();
    EXPECT_EQ(recorded.number(), 0) << c.what;
    ASSERT_EQ(m.last_cell_index(), 1000) << c.what;
    EXPECT_EQ(m.cells[20].gradient, c.gradient_at_cell_20) << c.what;
  }
}

TEST(LineReader, GradientCells) {
  struct Case {
    const char* what;
    std::string file;
    const char* gradients;
  };
  const Case cases[] = {
      {"0 and 450", line_with_body({"pendenza,  0,  0", "pendenza,  450,  2"}), "100x9 102x989 0x3"},
      {"no gradient record", line_with_body({}), "100x998 0x3"},
      {"two records in one cell", line_with_body({"pendenza, 0, 0", "pendenza, 450, 2", "pendenza, 460, 5"}),
       "100x9 102x1 105x988 0x3"},
      {"descending order", line_with_body({"pendenza, 0, 0", "pendenza, 500, 2", "pendenza, 100, 4"}),
       "100x10 102x1 104x987 0x3"},
      // 25 / 50 = 0.5 goes to cell 0: nothing before it to write.
      {"first record at 25", line_with_body({"pendenza, 25, 3"}), "103x998 0x3"},
      {"first record at 75 (1.5 to 2)", line_with_body({"pendenza, 75, 3"}), "100x2 103x996 0x3"},
      {"first record at 125 (2.5 to 2)", line_with_body({"pendenza, 125, 3"}), "100x2 103x996 0x3"},
      {"negative gradients", line_with_body({"pendenza, 0, -25", "pendenza, 100, -101"}), "75x2 255x996 0x3"},
      {"last record at the range limit", line_with_body({"pendenza, 0, 1", "pendenza, 49900, 7"}), "101x998 107x1 0x2"},
      {"a record that is also a mountain section", line_with_body({"pendenza montagna, 0, 3, 100, 500, 2"}),
       "103x998 0x3"},
  };
  for (const Case& c : cases) {
    LineSource source;
    source.write(c.file);
    source.read();
    EXPECT_EQ(source.error().number(), 0) << c.what;
    EXPECT_EQ(gradient_runs(source.model()), c.gradients) << c.what;
  }

  LineSource both;
  both.write(line_with_body({"pendenza montagna, 0, 3, 100, 500, 2"}));
  both.read();
  EXPECT_EQ(both.model().cells[2].mountain_type, 2);
}

TEST(LineReader, GradientWritesStayInsideTheCellArray) {
  // Each record at 50 m writes one cell, at least once; a 0 m route has cells 0 to 140.
  auto file_with = [](int records) {
    std::string file = lines({"[generale]", "lunghezza percorso, 0", "[pendenze]"});
    for (int i = 0; i < records; ++i) file += "pendenza, 50, 1\r\n";
    return file;
  };
  LineSource filled;
  filled.write(file_with(140));
  filled.read();
  EXPECT_EQ(filled.error().number(), 0);
  EXPECT_EQ(gradient_runs(filled.model()), "100x1 101x140");

  LineSource beyond;
  beyond.write(file_with(141));
  beyond.compile();
  EXPECT_EQ(beyond.error().number(), 25);
  EXPECT_FALSE(beyond.line_source_left());
  EXPECT_FALSE(beyond.train_source_left());
}

TEST(LineReader, SignBoards) {
  LineSource source;
  source.write(line_with_body({
      "[cartelli]", "cartello_indicatore,   350,  (Fine )(Ponte)",
      "CARTELLO_Indicatore,    25,  (Cippo     )(Km 125+929)", "cartello_indicatore,   125,  (Galleria)",
      "montagna, 1000, 1500, 12",
      "cartello_indicatore,  1100,  (A)",  // cell 23 holds a mountain marker
  }));
  const LineReading result = source.read();
  const RouteModel& m = source.model();
  const BuildError& recorded = source.error();
  EXPECT_EQ(recorded.number(), 0);
  EXPECT_EQ(result.sign_floor, 76);
  struct Board {
    int cell;
    int16_t record;
    const char* text;
  };
  for (const Board& b : {Board{8, 80, "(Fine )(Ponte)"}, Board{2, 79, "(Cippo     )(Km 125+929)"},
                         Board{4, 78, "(Galleria)"}, Board{23, 77, "(A)"}}) {
    EXPECT_EQ(m.cells[static_cast<size_t>(b.cell)].marker, kSignBoard) << b.text;
    EXPECT_EQ(m.cells[static_cast<size_t>(b.cell)].value1, b.record) << b.text;
    EXPECT_EQ(m.table[static_cast<size_t>(b.record)].text, b.text);
  }
  EXPECT_EQ(m.cells[23].mountain_type, 2);
  EXPECT_EQ(m.cells[27].marker, kMountainMarker);
}

TEST(LineReader, EightySignBoardsAtMost) {
  auto file_with = [](int boards) {
    std::string file = lines({"[generale]", "lunghezza percorso, 43000", "[cartelli]"});
    for (int i = 0; i < boards; ++i) file += "cartello_indicatore, " + std::to_string(100 * i) + ", (B)\r\n";
    return file;
  };
  LineSource eighty;
  eighty.write(file_with(80));
  const LineReading result = eighty.read();
  EXPECT_EQ(eighty.error().number(), 0);
  EXPECT_EQ(result.sign_floor, 0);
  EXPECT_EQ(eighty.model().cells[159].value1, 1);  // the 80th board, at 7900 m, shows record 1

  LineSource more;
  more.write(file_with(81));
  more.compile();
  EXPECT_EQ(more.error().number(), 25);
  EXPECT_EQ(more.model().cells[161].marker, kNothing);
  EXPECT_EQ(more.model().table[0].text, "");
}

TEST(LineReader, RecordAtTheEndOfTheFile) {
  // A complete last record is read; a keyword alone at the end is not interpreted.
  LineSource complete;
  complete.write(lines({"[generale]", "lunghezza percorso, 43000", "[pendenze]", "pendenza, 450, 2"}));
  complete.read();
  EXPECT_EQ(complete.error().number(), 0);
  EXPECT_EQ(complete.model().cells[9].gradient, 102);

  LineSource cut;
  cut.write(lines({"[generale]", "lunghezza percorso, 43000", "[pendenze]", "pendenza, 0, 2", "pendenza"}));
  cut.read();
  EXPECT_EQ(cut.error().number(), 0);
  EXPECT_EQ(gradient_runs(cut.model()), "102x998 0x3");
}

TEST(LineReader, RangeTestAtItsBoundary) {
  // U = 1000: a position p is inside while p + 100 <= 50000.
  struct Case {
    const char* record;
    bool with_plan;
  };
  const Case cases[] = {
      {"pendenza, {p}, 3", false},
      {"curvad4, {p}, 0", true},
      {"montagna, {p}, 49950, 12", false},
      {"indicatori_vmax, {p}, 60, 80, 80, 0, , , , 0", false},
      {"cartello_indicatore, {p}, (B)", false},
  };
  for (const Case& c : cases) {
    for (int32_t p : {49900, 49901}) {
      std::string record = c.record;
      record.replace(record.find("{p}"), 3, std::to_string(p));
      LineSource source(c.with_plan);
      source.write(line_with_body({record, "cartello_indicatore, 1000, (after)"}));
      const LineReading result = source.read();
      const RouteModel& m = source.model();
      const BuildError& recorded = source.error();
      const bool inside = p == 49900;
      EXPECT_EQ(recorded.number(), inside ? 0 : 15) << record;
      EXPECT_EQ(recorded.position, inside ? kUntouchedPosition : p) << record;
      EXPECT_TRUE(result.read_train_source) << record;
      // After error 15 nothing more of the body is read, but the tails are written.
      EXPECT_EQ(m.cells[21].marker, inside ? kSignBoard : kNothing) << record;
      EXPECT_NE(m.cells[997].gradient, 0) << record;
      if (c.with_plan) {
        EXPECT_TRUE(std::holds_alternative<double>(m.plan->entry(49998, 1))) << record;
      }
    }
  }
}

TEST(LineReader, CurveClassAndSide) {
  struct Case {
    const char* keyword;
    double first_turning_x;  // the first turning metre of a curve from a straight start
  };
  const Case cases[] = {
      {"curvad1", 0.0001},
      {"curvad2", 0.0002},
      {"curvad3", 0.0004},
      {"curvad4", 0.001},
      {"curvad5", 0.002},
      {"curvad6", 0.003},
      {"curvas5", -0.002},
      {"CurvaS5", -0.002},
      {"curvad21", 0.0001},  // the first of the digits
                             // 1 to 6 in that order,
                             // not in the text
      {"curva 73", 0.0004},
  };
  for (const Case& c : cases) {
    LineSource source(/*with_plan=*/true);
    source.write(line_with_body({std::string(c.keyword) + ",  100,  10"}));
    source.read();
    const RouteModel& m = source.model();
    const BuildError& recorded = source.error();
    ASSERT_EQ(recorded.number(), 0) << c.keyword;
    EXPECT_EQ(plan_double(m, 100, 0), 0.0) << c.keyword;
    EXPECT_EQ(plan_double(m, 101, 0), c.first_turning_x) << c.keyword;
    EXPECT_EQ(plan_double(m, 101, 1), 101.0) << c.keyword;
  }
}

TEST(LineReader, RoutePlanFromACurve) {
  LineSource source(/*with_plan=*/true);
  source.write(line_with_body({"curvad4,  1000,  750"}));
  source.read();
  const RouteModel& m = source.model();
  const BuildError& recorded = source.error();
  ASSERT_EQ(recorded.number(), 0);
  const RoutePlan& plan = *m.plan;

  EXPECT_EQ(plan.entry(0, 0), PlanEntry{int16_t{0}});
  EXPECT_EQ(plan.entry(0, 1), PlanEntry{int16_t{0}});
  EXPECT_EQ(plan.entry(1, 0), PlanEntry{int16_t{0}});
  EXPECT_EQ(plan.entry(1, 1), PlanEntry{int16_t{1}});
  for (int32_t metre : {2, 500, 1000}) {
    EXPECT_EQ(plan.entry(metre, 0), PlanEntry{0.0}) << metre;
    EXPECT_EQ(plan.entry(metre, 1), PlanEntry{static_cast<double>(metre)}) << metre;
  }

  // The first turning metres, expanded by hand: direction (d0, d1) turned by T without renormalising.
  const double t = 0.001;
  const double x1001 = 0.0 + (0.0 + t * 1.0);
  const double y1001 = 1000.0 + (1.0 - t * 0.0);
  const double x1002 = x1001 + ((x1001 - 0.0) + t * (y1001 - 1000.0));
  const double y1002 = y1001 + ((y1001 - 1000.0) - t * (x1001 - 0.0));
  EXPECT_EQ(plan_double(m, 1001, 0), x1001);
  EXPECT_EQ(plan_double(m, 1001, 1), y1001);
  EXPECT_EQ(plan_double(m, 1002, 0), x1002);
  EXPECT_EQ(plan_double(m, 1002, 1), y1002);

  // Over 750 turning metres the direction turns by 750 atan(T) and grows by sqrt(1 + T^2) a metre.
  const double d0 = plan_double(m, 1750, 0) - plan_double(m, 1749, 0);
  const double d1 = plan_double(m, 1750, 1) - plan_double(m, 1749, 1);
  EXPECT_NEAR(std::atan2(d0, d1), 750 * std::atan(t), 1e-9);
  EXPECT_NEAR(std::hypot(d0, d1), std::pow(1 + t * t, 375.0), 1e-9);
  EXPECT_GT(d0, 0.0);  // a right curve moves toward growing first coordinate

  // Straight on from the curve's end, up to metre N - 2; the last two metres stay empty.
  EXPECT_EQ(plan_double(m, 1751, 0), plan_double(m, 1750, 0) + d0);
  EXPECT_EQ(plan_double(m, 1751, 1), plan_double(m, 1750, 1) + d1);
  EXPECT_TRUE(std::holds_alternative<double>(plan.entry(49998, 0)));
  EXPECT_TRUE(std::holds_alternative<PlanEmpty>(plan.entry(49999, 0)));
  EXPECT_TRUE(std::holds_alternative<PlanEmpty>(plan.entry(50000, 1)));
}

TEST(LineReader, RoutePlanBitsFollowTheOrderOfOperations) {
  // Reference values computed apart from this code base, in IEEE doubles, step by step.
  struct Metre {
    int32_t metre;
    double x, y;
  };
  struct Case {
    std::string file;
    std::vector<Metre> metres;
  };
  const Case cases[] = {
      {line_with_body({"curvad4,  1000,  750"}),
       {{1003, 0x1.8937477b24f5cp-8, 0x1.f57fffde7210cp+9},
        {1750, 0x1.0cb7ea63b5ebbp+8, 0x1.a46813b51a733p+10},
        {1751, 0x1.0d667b02a75aep+8, 0x1.a496ec326e1c4p+10},
        {49998, 0x1.032180dc661a4p+15, 0x1.210accbf26de6p+15}}},
      {line_with_body({"curvas5, 200, 300", "curvad3, 600, 400", "curvad6, 1000, 150"}),
       {{500, -0x1.5e98daf5ea438p+6, 0x1.e250f13d24c55p+8},
        {1000, -0x1.56bd6fe2390fdp+8, 0x1.c7f48b22506a1p+9},
        {1150, -0x1.76481dc020b61p+8, 0x1.085a723e8bdc2p+10},
        {49998, 0x1.cb34ed0cbde3cp+6, 0x1.865db5242420bp+15}}},
  };
  for (const Case& c : cases) {
    LineSource source(/*with_plan=*/true);
    source.write(c.file);
    source.read();
    ASSERT_EQ(source.error().number(), 0);
    for (const Metre& m : c.metres) {
      EXPECT_EQ(plan_double(source.model(), m.metre, 0), m.x) << "metre " << m.metre;
      EXPECT_EQ(plan_double(source.model(), m.metre, 1), m.y) << "metre " << m.metre;
    }
  }
}

TEST(LineReader, CurvesWithThePlanFlagOffAreNotRead) {
  LineSource source(/*with_plan=*/false);
  source.write(line_with_body({"curvad7,  1000,  750", "pendenza, 0, 4"}));
  const LineReading result = source.read();
  EXPECT_EQ(source.error().number(), 0);
  EXPECT_TRUE(result.read_train_source);
  EXPECT_FALSE(source.model().plan.has_value());
  EXPECT_EQ(source.model().cells[0].gradient, 104);
}

TEST(LineReader, PlanMetreLimits) {
  struct Case {
    const char* what;
    std::string file;
    int32_t error;  // 25: refused before writing past the plan
    int32_t filled_metres;
    size_t plan_file_size;  // however the reading ended, the plan is finished as far as it was filled
  };
  const std::string longest = lines({"[generale]", "lunghezza percorso, 1000000", "[curve]"});
  const std::string shortest = lines({"[generale]", "lunghezza percorso, 0", "[curve]"});  // N = 7000
  const Case cases[] = {
      {"up to metre 1000000", longest + lines({"curvad4, 999999, 0"}), 0, 1006999, 20139964},
      {"past metre 1000000", longest + lines({"curvad4, 1000000, 0"}), 103, 1000001, 20027996},
      {"a turn past metre 1000000", longest + lines({"curvad4, 999000, 1000"}), 103, 1000001, 20027996},
      {"a curve up to metre N", shortest + lines({"curvas2, 6800, 200"}), 0, 7001, 139996},
      {"a curve past metre N", shortest + lines({"curvas2, 6800, 201"}), 25, 7001, 139996},
  };
  for (const Case& c : cases) {
    LineSource source(/*with_plan=*/true);
    source.write(c.file);
    int32_t error = 0;
    try {
      source.read();
      error = source.error().number();
    } catch (const InputError&) {
      error = 25;
    }
    EXPECT_EQ(error, c.error) << c.what;
    EXPECT_EQ(source.error().position, kUntouchedPosition) << c.what;
    const RoutePlan& plan = *source.model().plan;
    EXPECT_EQ(plan.filled_metres(), c.filled_metres) << c.what;
    EXPECT_NO_THROW(EXPECT_EQ(plan.file_bytes().size(), c.plan_file_size) << c.what) << c.what;
  }
}

TEST(LineReader, SignalRepetition) {
  struct Case {
    const char* record;
    int32_t error;
    int32_t code_system;
  };
  const Case cases[] = {
      {"ripetizione segnali 4 codici, -50, 0", 0, 0},
      {"ripetizione segnali 4 codici, 100, 43000", 0, 4},
      {"ripetizione segnali 9 codici, 100, 43000", 0, 9},
      {"ripetizione segnali 9 o 4 codici, 100, 43000", 0, 4},
      {"ripetizione segnali 4 codici, 25, 0", 3, 0},
      {"ripetizione segnali 4 codici, 0, -25", 4, 0},
      {"ripetizione segnali 8 codici, 0, 50", 5, 0},
      {"Ripetizione segnali 8 codici, 0, 50", 0, 0},  // not recognised
  };
  for (const Case& c : cases) {
    LineSource source;
    source.write(lines({"[generale]", "lunghezza percorso, 43000", c.record, "[curve]"}));
    const LineReading result = source.read();
    EXPECT_EQ(source.error().number(), c.error) << c.record;
    EXPECT_EQ(result.read_train_source, c.error == 0) << c.record;
    if (c.error == 0) {
      EXPECT_EQ(source.model().table[kTrainNumberRecord].position, c.code_system) << c.record;
    }
  }
}

TEST(LineReader, FailuresAndTheirFiles) {
  struct Case {
    const char* what;
    std::string file;  // empty: no line source file
    int32_t error;
    int32_t position;
    bool line_source_left;
    bool train_source_left;
    bool train_source_read;  // the line half asks for the train half
  };
  const std::string general = lines({"[generale]", "lunghezza percorso, 43000", "[curve]"});
  const int32_t same = kUntouchedPosition;
  const Case cases[] = {
      {"no line source", "", 101, same, false, true, false},
      {"no [generale]", lines({"lunghezza percorso, 43000", "[curve]"}), 102, same, false, true, false},
      {"[generale] as the last field", lines({"[curve]", "[generale]"}), 102, same, false, true, false},
      {"route length 1000000", lines({"[generale]", "lunghezza percorso, 1000000", "[curve]"}), 0, same, false, true,
       true},
      {"route length 1000001", lines({"[generale]", "lunghezza percorso, 1000001", "[curve]"}), 1, same, false, true,
       false},
      {"signal repetition 25", lines({"[generale]", "ripetizione segnali 4 codici, 25, 0"}), 3, same, false, true,
       false},
      {"curve class 7", general + lines({"curvad7, 100, 50"}), 103, same, false, true, false},
      {"curve class 7 after error-free records", general + lines({"pendenza, 0, 2", "curvad7, 100, 50"}), 103, same,
       false, true, false},
      {"two sign boards in one cell", general + lines({"cartello_indicatore, 25, (A)", "cartello_indicatore, 75, (B)"}),
       6, 75, false, true, false},
      {"speed board on a sign board",
       general + lines({"cartello_indicatore, 900, (A)", "indicatori_vmax, 900, 60, 80, 80, 0, , , , 0"}), 21, 900,
       false, true, false},
      {"position beyond the cells", general + lines({"pendenza, 49901, 0"}), 15, 49901, false, true, true},
      // Failures of the reading itself: error 25, both sources gone, the position as it was.
      {"a number that is not whole", lines({"[generale]", "lunghezza percorso, 43x00"}), 25, same, false, false, false},
      {"the file ends inside a record", general + lines({"pendenza, 450"}), 25, same, false, false, false},
      {"stripes beyond 16 bits", general + lines({"indicatori_vmax, 900, 60, 80, 80, 40000, , , , 0"}), 25, same, false,
       false, false},
      {"packed speeds beyond 16 bits", general + lines({"indicatori_vmax, 900, 1700, 80, 80, 0, , , , 0"}), 25, same,
       false, false, false},
      {"no route length before a body record", lines({"[generale]", "[curve]", "pendenza, 0, 2"}), 25, same, false,
       false, false},
      {"no route length at all", lines({"[generale]", "sfondo uno, 1", "[curve]"}), 25, same, false, false, false},
      // The run-out still gives cells 0 and 1 for -6950 m; -6975 m leaves cell 0 alone.
      {"route length -6950", lines({"[generale]", "lunghezza percorso, -6950", "[curve]"}), 0, same, false, true, true},
      {"route length -6975", lines({"[generale]", "lunghezza percorso, -6975", "[curve]"}), 25, same, false, false,
       false},
      {"a sign board before the array", general + lines({"cartello_indicatore, -100, (A)"}), 25, same, false, false,
       false},
  };
  for (const Case& c : cases) {
    // The line half alone: does it hand over to the train half? (A missing source is the compile's to find.)
    if (!c.file.empty()) {
      LineSource alone(/*with_plan=*/true);
      alone.write(c.file);
      if (c.error == 25) {
        EXPECT_THROW(alone.read(), InputError) << c.what;
      } else {
        EXPECT_EQ(alone.read().read_train_source, c.train_source_read) << c.what;
        EXPECT_EQ(alone.error().number(), c.error) << c.what;
        EXPECT_EQ(alone.error().position, c.position) << c.what;
      }
    }
    if (c.train_source_read) continue;  // what the train half does with its file is its own affair

    // The whole reading, inside its failure handler.
    LineSource compiled(/*with_plan=*/true);
    if (!c.file.empty()) compiled.write(c.file);
    compiled.compile();
    const BuildError& recorded = compiled.error();
    EXPECT_EQ(recorded.number(), c.error) << c.what;
    EXPECT_EQ(recorded.position, c.position == same ? 0 : c.position) << c.what;
    EXPECT_EQ(compiled.line_source_left(), c.line_source_left) << c.what;
    EXPECT_EQ(compiled.train_source_left(), c.train_source_left) << c.what;
  }
}

TEST(LineReader, MissingFileChangesNothingButTheIdentityTexts) {
  LineSource source;
  source.compile();
  const RouteModel& m = source.model();
  const BuildError& recorded = source.error();
  EXPECT_EQ(recorded.number(), 101);
  EXPECT_FALSE(m.has_cells());
  EXPECT_FALSE(m.plan.has_value());
  for (int record = 0; record < kTableRecords; ++record) {
    const TableRecord& r = m.table[static_cast<size_t>(record)];
    const bool identity = record == kScenarioRecord || record == kTrainNumberRecord;
    EXPECT_EQ(r.start, 0) << record;
    EXPECT_EQ(r.end, 0) << record;
    EXPECT_EQ(r.position, 0) << record;
    EXPECT_EQ(r.text.empty(), !identity) << record;
  }
}

}  // namespace
}  // namespace scenario

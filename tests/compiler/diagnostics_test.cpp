// What an author is told about each kind of mistake, as the exact text the
// author tool prints, and that telling it changes nothing compiled.

#include "compiler/diagnostics.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile.h"
#include "compiler/compiled_output.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/source_rows.h"

namespace scenario {
namespace {

using testing::lines;

// A clean 5000 m line (cells 0 to 240); the rows given stand from line 5 on.
std::string line_with(std::initializer_list<std::string_view> rows) {
  return lines({"[generale]", "lunghezza percorso, 5000", "[pendenze]", "pendenza, 0, 0"}) + lines(rows) +
         lines({"[fine]"});
}

// A clean train: one adhesion row, one speed row and stations at 0 m (ending
// at 300 m) and 4000 m (3700 to 4300 m); the rows given stand from line 9 on.
std::string train_with(std::initializer_list<std::string_view> rows) {
  return lines({"[generale]", "[aderenze]", "aderenza, 0, 100", "[vel_limite]", "velocita, 0, 80", "[stazioni]",
                "stazione, 0, 7, 300, 0,0,0, 0,0,0,0,0,0,0, 10,0,0, A",
                "stazione, 4000, 7, 300, 0,0,0, 0,0,0,0,0,0,60, 10,5,0, B"}) +
         lines(rows) + lines({"[fine]"});
}

const std::string kLine = line_with({});
const std::string kTrain = train_with({});

struct Told {
  std::string text;  // every diagnostic as printed
  Compilation compilation;
};

Told tell(const std::string& line, const std::string& train, bool with_plan = true) {
  std::vector<Diagnostic> diagnostics;
  Told told;
  told.compilation = compile_sources({{line, {}}, {train, {}}}, ascii_identity("T", "1"), with_plan, &diagnostics);
  for (const Diagnostic& d : diagnostics) {
    const ShownSource shown = d.source == SourceFile::line    ? ShownSource{"line.txt", line}
                              : d.source == SourceFile::train ? ShownSource{"train.txt", train}
                                                              : ShownSource{"scenario_tool", ""};
    told.text += render_diagnostic(d, shown);
  }
  return told;
}

// The compiled files, or what stopped them.
std::string compiled_bytes(const Compilation& compilation) {
  if (compilation.status != CompileStatus::compiled) return "no files";
  const RouteModel& model = compilation.model;
  return encode_cell_file(model) + encode_table_file(model) + (model.plan ? std::string(model.plan->file_bytes()) : "");
}

struct Case {
  const char* what;
  std::string line;
  std::string train;
  std::string expected;
};

// Each case compiles exactly as it does without anyone told, and tells exactly what is expected.
void expect_told(const Case& c, bool with_plan = true) {
  SCOPED_TRACE(c.what);
  const Told told = tell(c.line, c.train, with_plan);
  EXPECT_EQ(told.text, c.expected);
  const Compilation silent = compile_sources({{c.line, {}}, {c.train, {}}}, ascii_identity("T", "1"), with_plan);
  EXPECT_EQ(told.compilation.error.number(), silent.error.number());
  EXPECT_EQ(told.compilation.error.position, silent.error.position);
  EXPECT_EQ(told.compilation.fatal, silent.fatal);
  EXPECT_TRUE(compiled_bytes(told.compilation) == compiled_bytes(silent));
}

TEST(Diagnostics, TheBuiltInSourcesAndTheCleanFixturesGiveNone) {
  for (const bool with_plan : {true, false}) {
    EXPECT_EQ(tell(render_text_file(line_source_lines()), render_text_file(train_source_lines()), with_plan).text, "");
  }
  EXPECT_EQ(tell(kLine, kTrain).text, "");
}

TEST(Diagnostics, EachBuildErrorIsToldAtTheRecordThatCausedIt) {
  // Boards in cells 3 onward, each in a cell of its own.
  const auto boards = [](int count) {
    std::string rows;
    for (int i = 2; i < 2 + count; ++i) rows += "cartello_indicatore, " + std::to_string(50 * i) + ", (X)\r\n";
    return rows;
  };
  const std::string many_boards = boards(76);
  const Case cases[] = {
      {"1: route too long", lines({"[generale]", "lunghezza percorso, 1200000", "[fine]"}), kTrain,
       R"(line.txt:2:1: error 1: route length above 1000000 m: this route length is 1200000 m; nothing after it is read
    2 | lunghezza percorso, 1200000
      | ^~~~~~~~~~~~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 1
)"},
      {"2: at the kilometre reference, though found at the end of the train source",
       lines({"[generale]", "lunghezza percorso, 5000", "progressiva chilometrica uno, 25, 137350, 0", "[fine]"}),
       kTrain,
       R"(line.txt:3:1: error 2: a kilometre reference position or value not a multiple of 50: "progressiva chilometrica uno" has route position 25 m and kilometre value 137350 m; both must be multiples of 50
    3 | progressiva chilometrica uno, 25, 137350, 0
      | ^~~~~~~~~~~~~~~~~~~~~~~~~~~~
)"},
      {"4: signal repetition", lines({"[generale]", "lunghezza percorso, 5000", "ripetizione segnali 4 codici, 0, 30"}),
       kTrain,
       R"(line.txt:3:1: warning: the source does not end with a "[fine]" line: end it with one, so that no record is the last field of the file, which is never read as a record
    3 | ripetizione segnali 4 codici, 0, 30
      | ^~~~~~~~~~~~~~~~~~~~~~~~~~~~
line.txt:3:1: error 4: a signal repetition value not a multiple of 50: the second value is 30; write 0 or 50
    3 | ripetizione segnali 4 codici, 0, 30
      | ^~~~~~~~~~~~~~~~~~~~~~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 4
)"},
      {"5: no code system",
       lines({"[generale]", "lunghezza percorso, 5000", "ripetizione segnali codici, 0, 50", "[fine]"}), kTrain,
       R"(line.txt:3:1: error 5: signal repetition keyword names no code system: "ripetizione segnali codici" holds neither 4 (the four-code system) nor 9 (the nine-code system), as in "ripetizione segnali 4 codici"
    3 | ripetizione segnali codici, 0, 50
      | ^~~~~~~~~~~~~~~~~~~~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 5
)"},
      {"6: the board already in the cell is named",
       line_with({"cartello_indicatore, 350, (A)", "cartello_indicatore, 375, (B)"}), kTrain,
       R"(line.txt:6:1: error 6: sign board cell not free: cell 8 already holds a sign board (line 5)
    6 | cartello_indicatore, 375, (B)
      | ^~~~~~~~~~~~~~~~~~~
      = at 375 m, cell 8
train.txt: warning: the train source is not read: the line source stopped the reading with error 6
)"},
      {"7", kLine, train_with({"segnale, 2000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "abbattimento, 2050, 1"}),
       R"(train.txt:10:1: error 7: code point record on a cell that is not free: cell 41 already holds a signal (line 9)
   10 | abbattimento, 2050, 1
      | ^~~~~~~~~~~~
      = at 2050 m, cell 41
)"},
      {"8", kLine, train_with({"stazione, 4725, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C"}),
       R"(train.txt:9:1: error 8: station position not a multiple of 50: 4725 m; write 4700 or 4750
    9 | stazione, 4725, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C
      | ^~~~~~~~
      = at 4725 m
)"},
      {"9", kLine, train_with({"stazione, 4800, 25, 250, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C"}),
       R"(train.txt:9:1: error 9: station length not a multiple of 100: the length is 250 m; write 200 or 300
    9 | stazione, 4800, 25, 250, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C
      | ^~~~~~~~
      = at 4800 m
)"},
      {"10: with the sign boards that leave no room", line_with({many_boards}),
       train_with({"stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C"}),
       R"(train.txt:9:1: error 10: more stations than the table holds below the sign board texts: station 3 is one too many: with 76 sign boards in the line source the table holds 2 stations
    9 | stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C
      | ^~~~~~~~
      = at 4800 m
)"},
      {"11: at the signal that needs the code point", kLine,
       train_with({"segnale, 2000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "segnale, 1950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0",
                   "segnale, 1900, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 3300, 30, 200, 1, 0, 0"}),
       R"(train.txt:9:1: error 11: no free cell for a derived code point: the signal in cell 41 stands within 1000 m before a slowdown warning board and needs a code point in cell 40 or 39, but both are taken
    9 | segnale, 2000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0
      | ^~~~~~~
      = at 2050 m, cell 41
)"},
      {"15 in the line: told at the gradient, not at the signal that ends the train source's reading",
       line_with({"pendenza, 20000, 1"}),
       train_with({"segnale, 2950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "segnale, 3950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}),
       R"(line.txt:5:1: error 15: a record position beyond the cell array: the pendenza at 20000 m lies past 11900 m, the last position a record can take on this 5000 m route; the records after it are not read, and the train source only up to its first signal or slowdown
    5 | pendenza, 20000, 1
      | ^~~~~~~~
      = at 20000 m
train.txt:9:1: warning: the train source is read no further than this segnale: the line source's error 15 ends the reading at the first signal or slowdown
    9 | segnale, 2950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0
      | ^~~~~~~
      = at 2950 m, cell 60
)"},
      {"15 in the train", kLine, train_with({"velocita, 20000, 80"}),
       R"(train.txt:9:1: error 15: a record position beyond the cell array: the velocita at 20000 m lies past 11900 m, the last position it can take on this 5000 m route; the records after it are not read
    9 | velocita, 20000, 80
      | ^~~~~~~~
      = at 20000 m
)"},
      {"16: a board of the line source in the signal's cell", line_with({"cartello_indicatore, 2950, (A)"}),
       train_with({"segnale, 2950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}),
       R"(train.txt:9:1: error 16: signal cell not free: cell 60 already holds a sign board (line 5 of the line source)
    9 | segnale, 2950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0
      | ^~~~~~~
      = at 2950 m, cell 60
)"},
      {"17", kLine,
       train_with({"segnale, 1750, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 2950, 30, 200, 1, 0, 0"}),
       R"(train.txt:10:1: error 17: slowdown warning cell not free: the warning board 1200 m before the slowdown falls in cell 36, which already holds a signal (line 9)
   10 | rallentamento, 2950, 30, 200, 1, 0, 0
      | ^~~~~~~~~~~~~
      = at 2950 m, cell 36
)"},
      {"19", kLine,
       train_with({"segnale, 3150, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 2950, 30, 200, 1, 0, 0"}),
       R"(train.txt:10:1: error 19: slowdown end cell not free: the end board at 3150 m falls in cell 64, which already holds a signal (line 9)
   10 | rallentamento, 2950, 30, 200, 1, 0, 0
      | ^~~~~~~~~~~~~
      = at 2950 m, cell 64
)"},
      {"20", kLine,
       train_with({"segnale, 1700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 2950, 30, 200, 1, 1, 0"}),
       R"(train.txt:10:1: error 20: a slowdown orientation board cell not free: the four orientation boards need cells 35 to 32, and cell 35 already holds a signal (line 9)
   10 | rallentamento, 2950, 30, 200, 1, 1, 0
      | ^~~~~~~~~~~~~
      = at 2950 m, cell 35
)"},
      {"21", line_with({"cartello_indicatore, 900, (A)", "indicatori_vmax, 900, 60, 80, 80, 0, , , , 0"}), kTrain,
       R"(line.txt:6:1: error 21: speed-limit indicator board cell not free: cell 19 already holds a sign board (line 5)
    6 | indicatori_vmax, 900, 60, 80, 80, 0, , , , 0
      | ^~~~~~~~~~~~~~~
      = at 900 m, cell 19
train.txt: warning: the train source is not read: the line source stopped the reading with error 21
)"},
      {"22: a station before the previous one", kLine,
       train_with({"stazione, 2000, 7, 300, 0,0,0, 0,0,0,0,0,0,60, 10,5,0, C"}),
       R"(train.txt:9:1: error 22: station too close to the previous one: station 3 "C" at 2000 m stands before station 2 "B" at 4000 m (line 8): stations must stand in route order
    9 | stazione, 2000, 7, 300, 0,0,0, 0,0,0,0,0,0,60, 10,5,0, C
      | ^~~~~~~~
      = at 2000 m
)"},
      {"22: too little track between them", kLine,
       train_with({"stazione, 4700, 7, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C"}),
       R"(train.txt:9:1: error 22: station too close to the previous one: station 3 "C" starts at 4600 m, only 300 m after station 2 "B" ends at 4300 m (line 8); leave at least 350 m between them
    9 | stazione, 4700, 7, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C
      | ^~~~~~~~
      = at 4700 m
)"},
      {"24", kLine,
       lines({"[generale]", "aderenza, 0, 100", "velocita, 0, 80",
              "stazione, 0, 11, 200, 0,0,0, 0,0,0,0,0,0,0, 10,0,0, A", "[fine]"}),
       R"(train.txt:4:1: error 24: station stop point at cell 1 or before: station 1 "A" ends at 100 m, so its stop point would fall in cell 1 or before; it must end beyond 100 m
    4 | stazione, 0, 11, 200, 0,0,0, 0,0,0,0,0,0,0, 10,0,0, A
      | ^~~~~~~~
      = at 0 m
)"},
      {"25: not a whole number", line_with({"pendenza, 1000, quindici"}), kTrain,
       R"(line.txt:5:17: error 25: run-time failure while reading a source file: expected a whole number, found "quindici"
    5 | pendenza, 1000, quindici
      |                 ^~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 25
)"},
      {"25: beyond the width", kLine, train_with({"orologio, 70000, 0, 0"}),
       R"(train.txt:9:11: error 25: run-time failure while reading a source file: 70000 does not fit a 16-bit field (-32768 to 32767)
    9 | orologio, 70000, 0, 0
      |           ^~~~~
)"},
      {"25: a record short of a value is the one told, not the line its reading ran into",
       line_with({"pendenza, 450", "pendenza, 900, 2"}), kTrain,
       R"(line.txt:5:1: error 25: run-time failure while reading a source file: expected a whole number, found "pendenza" on line 6: this record has fewer values than it takes, so its reading ran on into the lines after it
    5 | pendenza, 450
      | ^~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 25
)"},
      {"25: a speed that is the fault of its own row, found at the next one", kLine,
       train_with({"velocita, 3000, 1500", "velocita, 3500, 80"}),
       R"(train.txt:9:1: error 25: run-time failure while reading a source file: speed 1500 km/h does not fit a cell, which keeps 0 to 1277 km/h in steps of 5 km/h
    9 | velocita, 3000, 1500
      | ^~~~~~~~
)"},
      {"25: more than 80 sign boards", line_with({boards(81)}), kTrain,
       R"(line.txt:85:1: error 25: run-time failure while reading a source file: more than 80 sign boards: the table holds 80 board texts
   85 | cartello_indicatore, 4100, (X)
      | ^~~~~~~~~~~~~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 25
)"},
      {"25: no route length", lines({"[generale]", "[pendenze]", "pendenza, 0, 2", "[fine]"}), kTrain,
       R"(line.txt:3:1: error 25: run-time failure while reading a source file: the line has no route length yet: write "lunghezza percorso, L" in the [generale] section
    3 | pendenza, 0, 2
      | ^~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 25
)"},
      {"102", lines({"lunghezza percorso, 5000", "[fine]"}), kTrain,
       R"(line.txt:1:1: error 102: no "[generale]" in the line source file: the line source must begin with a "[generale]" line; nothing in it is read
    1 | lunghezza percorso, 5000
      | ^~~~~~~~~~~~~~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 102
)"},
      {"103", line_with({"curvas, 100, 50"}), kTrain,
       R"(line.txt:5:1: error 103: curve keyword without a class digit, or the route plan too long: "curvas" holds no class digit 1 to 6, as in "curvas5"; the line source is read no further
    5 | curvas, 100, 50
      | ^~~~~~
train.txt: warning: the train source is not read: the line source stopped the reading with error 103
)"},
      {"1250: at the record that reached into cell 1", kLine, train_with({"abbattimento, 50, 40"}),
       R"(train.txt:9:1: error 1250: the sources set a slot the compiler stamps: this record puts a code point into cell 1, whose values the compiler keeps for its own stamps; move it beyond the first 75 m
    9 | abbattimento, 50, 40
      | ^~~~~~~~~~~~
)"},
  };
  for (const Case& c : cases) expect_told(c);
}

TEST(Diagnostics, WarningsForWhatTheFormatAsksButTheCompileDoesNotCheck) {
  const Case cases[] = {
      {"a keyword nobody knows, and the values after it", line_with({"pendeza, 1000, 2"}), kTrain,
       R"(line.txt:5:1: warning: unknown keyword "pendeza": the line is passed over; did you mean "pendenza"?
    5 | pendeza, 1000, 2
      | ^~~~~~~
)"},
      {"a keyword nobody knows in the train source", kLine, train_with({"stazone, 4800, 25, 200", "massa, 105"}),
       R"(train.txt:9:1: warning: unknown keyword "stazone": the line is passed over; did you mean "stazione"?
    9 | stazone, 4800, 25, 200
      | ^~~~~~~
train.txt:10:1: warning: unknown keyword "massa": the line is passed over; did you mean "percentuale massa frenata"?
   10 | massa, 105
      | ^~~~~
)"},
      {"a section header nobody knows, and one that names a record", line_with({"[pendenz]"}),
       train_with({"[stazion]", "[segnale]", "2000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}),
       R"(line.txt:5:1: warning: section header "[pendenz]" names no section of the line source; did you mean "[pendenze]"?
    5 | [pendenz]
      | ^~~~~~~~~
train.txt:9:1: warning: section header "[stazion]" names no section of the train source; did you mean "[stazioni]"?
    9 | [stazion]
      | ^~~~~~~~~
train.txt:10:1: warning: section header "[segnale]" holds a record's keyword and is read as that record, with the values after it
   10 | [segnale]
      | ^~~~~~~~~
train.txt:10:1: warning: the [segnale] record has fewer values than it takes: its reading ran on into line 11 and took fields from there
   10 | [segnale]
      | ^~~~~~~~~
)"},
      {"a value too many, and a line that begins with one", line_with({"pendenza, 1000, 2, 5", "1500, 3"}), kTrain,
       R"(line.txt:5:20: warning: "5" is a field too many for the pendenza record on this line: it is read where a keyword belongs, and passed over
    5 | pendenza, 1000, 2, 5
      |                    ^
line.txt:6:1: warning: the line begins with the value "1500" where a keyword belongs: it is passed over
    6 | 1500, 3
      | ^~~~
)"},
      {"records where they have no effect",
       lines({"[generale]", "lunghezza percorso, 5000", "pendenza, 0, 2", "[pendenze]", "sfondo uno, 3",
              "velocita, 0, 80", "[fine]"}),
       train_with({"pendenza, 0, 2"}),
       R"(line.txt:3:1: warning: a pendenza record in the [generale] section is not read: the records of the line belong after the first section header
    3 | pendenza, 0, 2
      | ^~~~~~~~
line.txt:5:1: warning: a sfondo uno record after the first section header is not read: general records belong in the [generale] section
    5 | sfondo uno, 3
      | ^~~~~~~~~~
line.txt:6:1: warning: "velocita" is a record of the train source and has no effect in the line source
    6 | velocita, 0, 80
      | ^~~~~~~~
train.txt:9:1: warning: "pendenza" is a record of the line source and has no effect in the train source
    9 | pendenza, 0, 2
      | ^~~~~~~~
)"},
      {"general keywords in capitals", lines({"[generale]", "lunghezza percorso, 5000", "Sfondo uno, 2", "[fine]"}),
       kTrain,
       R"(line.txt:3:1: warning: "Sfondo uno" is not read: apart from "lunghezza percorso", the general keywords are recognised in lower case only; write "sfondo uno"
    3 | Sfondo uno, 2
      | ^~~~~~~~~~
)"},
      {"text before [generale]", lines({"Linea di prova", "[generale]", "lunghezza percorso, 5000", "[fine]"}),
       "Treno 1\r\n" + kTrain,
       R"(line.txt:1:1: warning: the text before "[generale]" is not read
    1 | Linea di prova
      | ^~~~~~~~~~~~~~
train.txt:1:1: warning: the text before "[generale]" is not read
    1 | Treno 1
      | ^~~~~~~
)"},
      {"gradients out of order or in one place",
       line_with({"pendenza, 2000, 2", "pendenza, 1000, 3", "pendenza, 1000, 4"}), kTrain,
       R"(line.txt:6:1: warning: the pendenza at 1000 m follows one at 2000 m (line 5): gradients must stand in ascending order of position
    6 | pendenza, 1000, 3
      | ^~~~~~~~
      = at 1000 m, cell 20
line.txt:7:1: warning: the pendenza at 1000 m stands at the same position as the one on line 6: gradients must stand in ascending order of position
    7 | pendenza, 1000, 4
      | ^~~~~~~~
      = at 1000 m, cell 20
)"},
      {"curves overlapping and out of order",
       line_with({"curvas5, 1000, 500", "curvad4, 1200, 100", "curvad4, 500, 100"}), kTrain,
       R"(line.txt:6:1: warning: the curvad4 at 1200 m overlaps the curve on line 5, which runs to 1500 m: curves must not overlap
    6 | curvad4, 1200, 100
      | ^~~~~~~
      = at 1200 m
line.txt:7:1: warning: the curvad4 at 500 m follows one at 1200 m (line 6): curves must stand in ascending order of position
    7 | curvad4, 500, 100
      | ^~~~~~~
      = at 500 m
)"},
      {"mountain sections out of order", line_with({"montagna, 2000, 2500, 12", "montagna, 1000, 1500, 12"}), kTrain,
       R"(line.txt:6:1: warning: the montagna at 1000 m follows one at 2000 m (line 5): mountain sections must stand in ascending order of position
    6 | montagna, 1000, 1500, 12
      | ^~~~~~~~
      = at 1000 m, cell 20
)"},
      {"speed and adhesion rows out of order, or not from 0", kLine,
       lines({"[generale]", "aderenza, 500, 100", "velocita, 0, 80", "velocita, 3000, 60", "velocita, 2000, 70",
              "stazione, 0, 7, 300, 0,0,0, 0,0,0,0,0,0,0, 10,0,0, A", "[fine]"}),
       R"(train.txt:2:1: warning: the first of the adhesion rows stands at 500 m, not at 0: the cells before it get 0
    2 | aderenza, 500, 100
      | ^~~~~~~~
      = at 500 m, cell 10
train.txt:5:1: warning: the velocita at 2000 m follows one at 3000 m (line 4): the speed rows must stand in strictly ascending order of position
    5 | velocita, 2000, 70
      | ^~~~~~~~
      = at 2000 m, cell 40
)"},
      {"records past the end of the line", line_with({"pendenza, 5500, 1", "montagna, 4000, 5200, 12"}),
       train_with({"segnale, 5100, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "rallentamento, 4700, 30, 500, 1, 0, 0",
                   "stazione, 5500, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C"}),
       R"(line.txt:5:1: warning: the pendenza at 5500 m lies past the end of the line at 5000 m
    5 | pendenza, 5500, 1
      | ^~~~~~~~
      = at 5500 m, cell 110
line.txt:6:1: warning: the montagna at 4000 m runs to 5200 m, past the end of the line at 5000 m
    6 | montagna, 4000, 5200, 12
      | ^~~~~~~~
      = at 4000 m, cell 80
train.txt:9:1: warning: the segnale at 5100 m lies past the end of the line at 5000 m
    9 | segnale, 5100, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0
      | ^~~~~~~
      = at 5100 m, cell 103
train.txt:10:1: warning: the rallentamento at 4700 m runs to 5200 m, past the end of the line at 5000 m
   10 | rallentamento, 4700, 30, 500, 1, 0, 0
      | ^~~~~~~~~~~~~
      = at 4700 m, cell 95
train.txt:11:1: warning: the stazione at 5500 m lies past the end of the line at 5000 m
   11 | stazione, 5500, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, C
      | ^~~~~~~~
      = at 5500 m
)"},
      {"positions off the 50 m cells", line_with({"pendenza, 1020, 1", "cartello_indicatore, 1975, (A)"}),
       train_with({"rallentamento, 3025, 30, 230, 1, 0, 0", "abbattimento, 2210, 0"}),
       R"(line.txt:5:1: warning: position 1020 m is not a multiple of 50: the route is kept in cells of 50 m; write 1000 or 1050
    5 | pendenza, 1020, 1
      | ^~~~~~~~
      = at 1020 m, cell 20
line.txt:6:1: warning: position 1975 m is not a multiple of 50: the route is kept in cells of 50 m; write 1950 or 2000
    6 | cartello_indicatore, 1975, (A)
      | ^~~~~~~~~~~~~~~~~~~
      = at 1975 m, cell 40
train.txt:9:1: warning: start 3025 m is not a multiple of 50: the route is kept in cells of 50 m; write 3000 or 3050
    9 | rallentamento, 3025, 30, 230, 1, 0, 0
      | ^~~~~~~~~~~~~
      = at 3025 m, cell 62
train.txt:9:1: warning: length 230 m is not a multiple of 50: the route is kept in cells of 50 m; write 200 or 250
    9 | rallentamento, 3025, 30, 230, 1, 0, 0
      | ^~~~~~~~~~~~~
      = at 3025 m, cell 62
train.txt:10:1: warning: position 2210 m is not a multiple of 50: the route is kept in cells of 50 m; write 2200 or 2250
   10 | abbattimento, 2210, 0
      | ^~~~~~~~~~~~
      = at 2210 m, cell 44
)"},
      {"speeds off the 5 km/h steps", line_with({"indicatori_vmax, 900, 62, 80, 80, 0, , , , 0"}),
       train_with({"velocita, 3000, 82"}),
       R"(line.txt:5:1: warning: speed 62 km/h is not a multiple of 5: the board keeps speeds in steps of 5 km/h; write 60 or 65
    5 | indicatori_vmax, 900, 62, 80, 80, 0, , , , 0
      | ^~~~~~~~~~~~~~~
      = at 900 m, cell 19
train.txt:9:1: warning: speed 82 km/h is not a multiple of 5: the cells keep speeds in steps of 5 km/h; write 80 or 85
    9 | velocita, 3000, 82
      | ^~~~~~~~
      = at 3000 m, cell 60
)"},
      {"values the cells keep in one byte",
       line_with({"pendenza, 1000, 160", "indicatori_vmax, 900, 60, 80, 80, 12, , , , 0"}),
       train_with({"aderenza, 3000, 300"}),
       R"(line.txt:5:1: warning: gradient 160 lies outside -100 to 155: it is stored plus 100 in one byte and reads as -96
    5 | pendenza, 1000, 160
      | ^~~~~~~~
      = at 1000 m, cell 20
line.txt:6:1: warning: stripes 12 is not a digit 0 to 9: the board keeps both sets' stripes in one number, 10 x s + d
    6 | indicatori_vmax, 900, 60, 80, 80, 12, , , , 0
      | ^~~~~~~~~~~~~~~
      = at 900 m, cell 19
train.txt:9:1: warning: adhesion 300 lies outside 0 to 255: the cells keep it in one byte, as 44
    9 | aderenza, 3000, 300
      | ^~~~~~~~
      = at 3000 m, cell 60
)"},
      {"a record short of values takes the next line's fields", kLine,
       train_with({"stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0", "numero vetture, 4"}),
       R"(train.txt:9:1: warning: the stazione record has fewer values than it takes: its reading ran on into line 10 and took fields from there
    9 | stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0
      | ^~~~~~~~
)"},
      {"two kilometre references at the one greatest position",
       lines({"[generale]", "lunghezza percorso, 5000", "progressiva chilometrica uno, 1000, 137350, 0",
              "progressiva chilometrica due, 1000, 140000, 0", "[fine]"}),
       kTrain,
       R"(line.txt:3:1: warning: this kilometre reference shares the greatest route position, 1000 m, with the one on line 4: all three references are then cleared
    3 | progressiva chilometrica uno, 1000, 137350, 0
      | ^~~~~~~~~~~~~~~~~~~~~~~~~~~~
)"},
      {"no [fine] at the end", lines({"[generale]", "lunghezza percorso, 5000"}), kTrain,
       R"(line.txt:2:1: warning: the source does not end with a "[fine]" line: end it with one, so that no record is the last field of the file, which is never read as a record
    2 | lunghezza percorso, 5000
      | ^~~~~~~~~~~~~~~~~~
)"},
      {"empty sources", "\r\n", "",
       R"(line.txt: warning: the line source is empty: it holds no "[generale]" and no record
line.txt: error 102: no "[generale]" in the line source file: the line source must begin with a "[generale]" line; nothing in it is read
train.txt: warning: the train source is empty: it holds no "[generale]" and no record
train.txt: warning: the train source is not read: the line source stopped the reading with error 102
)"},
      {"no [generale] in the train source", kLine, lines({"velocita, 0, 80", "[fine]"}),
       R"(train.txt: warning: the train source has no "[generale]" line: nothing in it is read; begin it with one
)"},
      {"a train without stations or profiles", kLine, lines({"[generale]", "numero vetture, 4", "[fine]"}),
       R"(train.txt: warning: the train source has no speed rows ("velocita"): every cell gets the speed limit 0
train.txt: warning: the train source has no adhesion rows ("aderenza"): every cell gets the adhesion 0
train.txt: warning: the train source has no stations: write them as "stazione" records in a [stazioni] section
)"},
      {"UTF-8 text in a Windows-1252 source", "\xEF\xBB\xBF" + kLine,
       train_with({"stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, CITT\xC3\x80 ALTA"}),
       R"(line.txt:1:1: warning: the file begins with a UTF-8 byte-order mark, read as the text "ï»¿"; save the file as Windows-1252, without it
    1 | ï»¿[generale]
      | ^~~~~~~~~~~~~
train.txt:9:59: warning: this line is written in UTF-8, but a source is read as Windows-1252: "À" is stored as "Ã€"; save the file as Windows-1252
    9 | stazione, 4800, 25, 200, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, CITTÃ€ ALTA
      |                                                           ^~~~~~~
)"},
      {"comment lines and their fields say nothing", line_with({"----------", "-- note --, --", "pendenza, 100, 0"}),
       train_with({"----,----,----"}), ""},
  };
  for (const Case& c : cases) expect_told(c);
}

TEST(Diagnostics, CurvesWithoutTheRoutePlanArePassedOverInSilence) {
  expect_told({"", line_with({"curvas5, 1000, 500", "curvad4, 500, 100"}), kTrain, ""}, /*with_plan=*/false);
}

}  // namespace
}  // namespace scenario

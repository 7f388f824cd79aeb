// The authors' format reference (docs/line_source.md, docs/train_source.md)
// held against the compiler, so that it cannot drift from the code: its
// examples compile without a build error and every record in them takes
// effect, and every keyword the readers recognise and every header and
// keyword the builder writes is in it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostics.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "source/windows1252.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

constexpr std::string_view kLineReference = "line_source.md";
constexpr std::string_view kTrainReference = "train_source.md";

std::string reference(std::string_view name) {
  return testing::read_file(std::filesystem::path(SCENARIO_DOCS_DIR) / name);
}

// The code blocks of a Markdown text fenced as ```tag.
std::vector<std::string> fenced_blocks(const std::string& markdown, std::string_view tag) {
  std::vector<std::string> blocks;
  std::optional<std::string> block;
  std::istringstream lines(markdown);
  std::string line;
  while (std::getline(lines, line)) {
    if (block && line.starts_with("```")) {
      blocks.push_back(*block);
      block.reset();
    } else if (block) {
      *block += line + "\n";
    } else if (line == "```" + std::string(tag)) {
      block.emplace();
    }
  }
  return blocks;
}

// A page's example as an author saves it: Windows-1252 with CR LF line ends
// (the page shows it in UTF-8).
std::string as_saved(const std::string& example) {
  std::string text;
  std::istringstream lines(example);
  std::string line;
  while (std::getline(lines, line)) text += line + "\r\n";
  return cp1252(text);
}

// How the reference writes a keyword or header: as code. Built by appending:
// g++ 12 flags a literal before a string under -O3.
std::string as_code(std::string_view text) {
  std::string code(1, '`');
  code.append(text);
  code += '`';
  return code;
}

Compilation compile(const std::string& line, const std::string& train, std::vector<Diagnostic>* diagnostics = nullptr) {
  const SourceTexts sources{{line, {}}, {train, {}}};
  return compile_sources(sources, ascii_identity("Reference", "1"), true, diagnostics);
}

std::string error_of(const Compilation& compiled) {
  return "build error " + std::to_string(compiled.error.number()) + " at " + std::to_string(compiled.error.position) +
         " m, source line " + std::to_string(compiled.error.place.line);
}

// The rows of a source whose keyword field is `keyword`, each as its fields.
std::vector<std::vector<std::string>> rows_of(const std::string& source, std::string_view keyword) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(source);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::istringstream parts(line);
    std::string field;
    while (std::getline(parts, field, ',')) {
      const size_t first = field.find_first_not_of(' ');
      fields.push_back(first == std::string::npos ? std::string() : field.substr(first));
    }
    if (!fields.empty() && fields.front() == keyword) rows.push_back(fields);
  }
  return rows;
}

size_t cells_marked(const RouteModel& model, uint8_t marker) {
  return static_cast<size_t>(std::count_if(model.cells.begin(), model.cells.end(),
                                           [marker](const Cell& cell) { return cell.marker == marker; }));
}

TEST(FormatReference, ExamplesCompileWithoutABuildErrorAndEveryRowTakesEffect) {
  const std::vector<std::string> lines = fenced_blocks(reference(kLineReference), "line-source");
  const std::vector<std::string> trains = fenced_blocks(reference(kTrainReference), "train-source");
  ASSERT_EQ(lines.size(), 1u) << "one complete line source example";
  ASSERT_EQ(trains.size(), 1u) << "one complete train source example";
  const std::string line = as_saved(lines.front());
  const std::string train = as_saved(trains.front());

  std::vector<Diagnostic> diagnostics;
  const Compilation compiled = compile(line, train, &diagnostics);
  ASSERT_EQ(compiled.status, CompileStatus::compiled);
  EXPECT_FALSE(compiled.error.is_set()) << error_of(compiled);
  // An example to copy from draws no warning either.
  for (const Diagnostic& diagnostic : diagnostics) ADD_FAILURE() << diagnostic.message;
  const RouteModel& model = compiled.model;

  // A row that lost or gained a field would shift every row after it: the
  // stations and boards are all there, with their names and texts as written.
  const auto stations = rows_of(train, "stazione");
  ASSERT_FALSE(stations.empty());
  for (size_t j = 0; j < stations.size(); ++j) EXPECT_EQ(model.table[j + 1].text, stations[j].back());
  EXPECT_EQ(model.table[stations.size() + 1].text, "");
  const auto sign_boards = rows_of(line, "cartello_indicatore");
  ASSERT_FALSE(sign_boards.empty());
  for (size_t i = 0; i < sign_boards.size(); ++i) EXPECT_EQ(model.table[kSignFloorStart - i].text, sign_boards[i][2]);
  EXPECT_EQ(cells_marked(model, kSignBoard), sign_boards.size());
  const struct {
    const std::string& source;
    std::string_view keyword;
    uint8_t marker;
  } placed[] = {
      {line, "indicatori_vmax", kSpeedBoard}, {train, "segnale", kSignal},     {train, "rallentamento", kSlowdownStart},
      {train, "rallentamento", kSlowdownEnd}, {train, "stazione", kStopPoint},
  };
  for (const auto& kind : placed) {
    SCOPED_TRACE(kind.keyword);
    const size_t rows = rows_of(kind.source, kind.keyword).size();
    EXPECT_GT(rows, 0u);
    EXPECT_EQ(cells_marked(model, kind.marker), rows);
  }
}

enum class Section { line_general, line_body, train };

std::string fixture_line(Section section, std::string_view record) {
  const std::string row = std::string(record) + "\r\n";
  const bool is_route_length = record.starts_with("lunghezza percorso");
  return "[generale]\r\n" + std::string(is_route_length ? "" : "lunghezza percorso, 1000\r\n") +
         (section == Section::line_general ? row : "") + "[pendenze]\r\n" + (section == Section::line_body ? row : "") +
         "[fine]\r\n";
}

std::string fixture_train(Section section, std::string_view record) {
  return "[generale]\r\n" + (section == Section::train ? std::string(record) + "\r\n" : "") + "[fine]\r\n";
}

double plan_coordinate(const RouteModel& model, int32_t metre) {
  return model.plan ? std::get<double>(model.plan->entry(metre, 0)) : 0.0;
}

TEST(FormatReference, EveryKeywordTheReadersRecogniseIsInTheReferenceAndTakesEffect) {
  const struct {
    Section section;
    std::string_view keyword;  // as the reference writes it
    std::string_view record;
    std::function<bool(const RouteModel&)> took_effect;
  } cases[] = {
      {Section::line_general, "lunghezza percorso", "lunghezza percorso, 2000",
       [](const RouteModel& m) { return m.table[kTrainRecord].end == 2000 && m.last_cell_index() == 180; }},
      {Section::line_general, "progressiva chilometrica uno", "progressiva chilometrica uno, 0, 5000, 0",
       [](const RouteModel& m) { return m.table[kKmReferenceThree].end == 5000; }},
      {Section::line_general, "progressiva chilometrica due", "progressiva chilometrica due, 0, 5000, 0",
       [](const RouteModel& m) { return m.table[kKmReferenceThree].end == 5000; }},
      {Section::line_general, "progressiva chilometrica tre", "progressiva chilometrica tre, 0, 5000, 0",
       [](const RouteModel& m) { return m.table[kKmReferenceThree].end == 5000; }},
      {Section::line_general, "sfondo uno", "sfondo uno, 7",
       [](const RouteModel& m) { return m.table[kScenarioRecord].start == 7; }},
      {Section::line_general, "sfondo due", "sfondo due, 7",
       [](const RouteModel& m) { return m.table[kScenarioRecord].position == 7; }},
      {Section::line_general, "sfondo tre", "sfondo tre, 7",
       [](const RouteModel& m) { return m.table[kScenarioRecord].end == 7; }},
      {Section::line_general, "ripetizione segnali 4 codici", "ripetizione segnali 4 codici, 100, 200",
       [](const RouteModel& m) { return m.table[kTrainNumberRecord].position == 4; }},
      {Section::line_general, "ripetizione segnali 9 codici", "ripetizione segnali 9 codici, 100, 200",
       [](const RouteModel& m) { return m.table[kTrainNumberRecord].position == 9; }},
      {Section::line_body, "pendenza", "pendenza, 0, 5",
       [](const RouteModel& m) { return m.cells[0].gradient == 105; }},
      // A right curve turns the plan toward the growing first coordinate, a left one away from it.
      {Section::line_body, "curvad4", "curvad4, 100, 200",
       [](const RouteModel& m) { return plan_coordinate(m, 500) > 1.0; }},
      {Section::line_body, "curvas4", "curvas4, 100, 200",
       [](const RouteModel& m) { return plan_coordinate(m, 500) < -1.0; }},
      {Section::line_body, "montagna", "montagna, 100, 300, 2",
       [](const RouteModel& m) { return m.cells[2].mountain_type == 2; }},
      {Section::line_body, "indicatori_vmax", "indicatori_vmax, 100, 60, 80, 80, 0, , , , 0",
       [](const RouteModel& m) { return m.cells[3].marker == kSpeedBoard; }},
      {Section::line_body, "cartello_indicatore", "cartello_indicatore, 100, (Ponte)",
       [](const RouteModel& m) {
         return m.cells[3].marker == kSignBoard && m.table[kSignFloorStart].text == "(Ponte)";
       }},
      {Section::train, "numero vetture", "numero vetture, 4",
       [](const RouteModel& m) { return m.table[kTrainRecord].position == 4; }},
      {Section::train, "percentuale massa frenata", "percentuale massa frenata, 105",
       [](const RouteModel& m) { return m.table[kTrainRecord].start == 105; }},
      {Section::train, "sabbia", "sabbia, 100",
       [](const RouteModel& m) { return m.table[kTrainNumberRecord].word1 == 100; }},
      {Section::train, "orologio", "orologio, 13 9 40",
       [](const RouteModel& m) {
         const TableRecord& r = m.table[kTrainNumberRecord];
         return r.word3 == 13 && r.word4 == 9 && r.word5 == 40;
       }},
      {Section::train, "aderenza", "aderenza, 0, 80", [](const RouteModel& m) { return m.cells[0].adhesion == 80; }},
      {Section::train, "velocita", "velocita, 0, 60", [](const RouteModel& m) { return m.cells[0].speed_limit == 12; }},
      {Section::train, "stazione", "stazione, 500, 11, 200, 0,0,0, 0,0,0, 0,0,0, 60, 13, 10, 0, PIANO",
       [](const RouteModel& m) { return m.table[1].text == "PIANO"; }},
      {Section::train, "rallentamento", "rallentamento, 500, 30, 100, 0, 0, 0",
       [](const RouteModel& m) { return m.cells[11].marker == kSlowdownStart; }},
      {Section::train, "segnale", "segnale, 500, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0",
       [](const RouteModel& m) { return m.cells[11].marker == kSignal; }},
      {Section::train, "abbattimento", "abbattimento, 500, 40",
       [](const RouteModel& m) { return m.cells[10].marker == kCodePoint && m.cells[10].value1 == 40; }},
  };
  const std::string line_reference = reference(kLineReference);
  const std::string train_reference = reference(kTrainReference);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const std::string& page = c.section == Section::train ? train_reference : line_reference;
    EXPECT_NE(page.find(as_code(c.keyword)), std::string::npos) << "not in the reference";

    const Compilation with = compile(fixture_line(c.section, c.record), fixture_train(c.section, c.record));
    ASSERT_EQ(with.status, CompileStatus::compiled);
    EXPECT_FALSE(with.error.is_set()) << error_of(with);
    EXPECT_TRUE(c.took_effect(with.model));
    // The same sources without the record: what the check sees is the record's doing.
    const Compilation without = compile(fixture_line(c.section, ""), fixture_train(c.section, ""));
    EXPECT_FALSE(c.took_effect(without.model));
  }
}

// The first field of every row the builder writes: its headers and keywords.
std::vector<std::string> keyword_fields(const LineBuffer& lines) {
  std::vector<std::string> fields;
  for (int i = 0; i < lines.line_count(); ++i) {
    const std::string& entry = lines.entry(i);
    if (entry == kEndOfFileSentinel) break;
    fields.push_back(entry.substr(0, entry.find(',')));
  }
  return fields;
}

TEST(FormatReference, EveryHeaderAndKeywordTheBuilderWritesIsInTheReference) {
  const struct {
    std::string_view page;
    LineBuffer lines;
  } sources[] = {{kLineReference, line_source_lines()}, {kTrainReference, train_source_lines()}};
  for (const auto& source : sources) {
    const std::string page = reference(source.page);
    for (const std::string& field : keyword_fields(source.lines)) {
      EXPECT_NE(page.find(as_code(field)), std::string::npos) << field << " is not in " << source.page;
    }
  }
}

}  // namespace
}  // namespace scenario

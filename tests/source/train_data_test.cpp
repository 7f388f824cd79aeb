#include "source/train_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "source/built_in_scenario.h"
#include "support/source_rows.h"

namespace scenario {
namespace {

std::vector<std::string> file_lines() {
  const LineBuffer buffer = train_source_lines();
  std::vector<std::string> lines;
  for (int i = 0; i < buffer.line_count(); ++i) lines.push_back(buffer.entry(i));
  EXPECT_EQ(buffer.entry(buffer.line_count()), kEndOfFileSentinel);
  return lines;
}

// A numeric field: blanks, then digits, nothing else.
int number(const std::string& field) {
  const size_t first = field.find_first_not_of(' ');
  EXPECT_NE(first, std::string::npos) << "empty field";
  if (first == std::string::npos) return -1;
  const std::string digits = field.substr(first);
  EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << '"' << field << '"';
  return std::stoi(digits);
}

// Rows of the section opened by `header`, up to the next header.
std::vector<std::string> section(const std::vector<std::string>& lines, const std::string& header) {
  std::vector<std::string> rows;
  size_t i = 0;
  while (i < lines.size() && lines[i] != header) ++i;
  EXPECT_LT(i, lines.size()) << "no " << header;
  for (++i; i < lines.size() && lines[i].rfind('[', 0) != 0; ++i) rows.push_back(lines[i]);
  return rows;
}

TEST(TrainData, SectionsInOrderWithTheirRowCounts) {
  const std::vector<std::string> lines = file_lines();
  ASSERT_EQ(lines.size(), 76u);

  struct Section {
    const char* header;
    size_t rows;
    const char* keyword;
  };
  const Section sections[] = {
      {"[generale]", 4, ""},
      {"[aderenze]", 37, "aderenza,"},
      {"[vel_limite]", 5, "velocita,"},
      {"[stazioni]", 8, "stazione,"},
      {"[rallentamenti]", 1, "rallentamento,"},
      {"[segnali]", 13, "segnale,"},
      {"[codici]", 0, ""},
      {"[fine]", 0, ""},
  };
  size_t at = 0;
  for (const Section& s : sections) {
    ASSERT_LT(at, lines.size());
    EXPECT_EQ(lines[at], s.header);
    ++at;
    for (size_t r = 0; r < s.rows; ++r, ++at) {
      ASSERT_LT(at, lines.size());
      EXPECT_EQ(lines[at].rfind(s.keyword, 0), 0u) << s.header << " row " << r << ": " << lines[at];
      EXPECT_NE(lines[at].rfind('[', 0), 0u) << s.header << " has too few rows";
    }
  }
  EXPECT_EQ(at, lines.size());
  EXPECT_EQ(lines[74], "[codici]");
  EXPECT_EQ(lines[75], "[fine]");
  for (const std::string& line : lines) EXPECT_NE(line, kEndOfFileSentinel);
}

TEST(TrainData, QuotedRowsExactly) {
  const std::vector<std::string> lines = file_lines();
  ASSERT_EQ(lines.size(), 76u);
  const std::vector<std::string> general = {
      "numero vetture,    4",
      "percentuale massa frenata,    105",
      "sabbia,    100",
      "orologio,    13              9             40 ",
  };
  EXPECT_EQ(section(lines, "[generale]"), general);

  const std::vector<std::string> speeds = {
      "velocita,       0,    30", "velocita,     900,    80", "velocita,    3100,    60",
      "velocita,    4050,    80", "velocita,   12950,    85",
  };
  EXPECT_EQ(section(lines, "[vel_limite]"), speeds);

  const std::vector<std::string> stations = section(lines, "[stazioni]");
  ASSERT_EQ(stations.size(), 8u);
  EXPECT_EQ(stations.front(), "stazione,       0,  7,  300,  1, 0, 0,  4,1,0,  2,1,1,    1,  13,10, 0, VALDORENA C.le");
  EXPECT_EQ(stations.back(), "stazione,   42150, 11,  600,  1, 0, 0,  1,1,0,  2,1,1,    0,  13,58, 0, MORLAVESA");

  EXPECT_EQ(section(lines, "[rallentamenti]"),
            std::vector<std::string>{"rallentamento,   22050,    30,  150, 1,  0,  0"});

  const std::vector<std::string> signals = {
      "segnale,     950,   1, 4, 1,  0, 0,    0,  0,0,0, 0",   "segnale,    2350,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   10950,   1, 5, 1,  0, 0,    0,  0,0,0, 0",   "segnale,   11900,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   16150,   1, 4, 1,  0, 0,    0,  0,0,0, 0",   "segnale,   16950,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   20450,   1, 5, 1,  0, 0,    0,  0,0,0, 0",   "segnale,   21500,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   23850,   2, 3, 1,  0, 0,    0,  0,0,0, 0",   "segnale,   31050,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   32300,   2, 4, 1,  0, 0,    0,  0,0,0, 115", "segnale,   39800,   1, 3, 4,  0, 0,    1,  3,1,0, 0",
      "segnale,   40950,   2, 2, 3,  0, 0,    2,  2,1,0, 0",
  };
  EXPECT_EQ(section(lines, "[segnali]"), signals);

  const std::vector<std::string> adhesion = section(lines, "[aderenze]");
  ASSERT_EQ(adhesion.size(), 37u);
  const std::vector<std::string> first_five(adhesion.begin(), adhesion.begin() + 5);
  EXPECT_EQ(first_five,
            (std::vector<std::string>{"aderenza,   0,    100", "aderenza,    1050,    70", "aderenza,    1700,    80",
                                      "aderenza,    1900,    90", "aderenza,    2600,   100"}));
  EXPECT_EQ(adhesion.back(), "aderenza,   41750,   100");
  EXPECT_EQ(std::count(adhesion.begin(), adhesion.end(), "aderenza,   22050,    60"), 1);
}

TEST(TrainData, ClockStartsTwentySecondsBeforeTheFirstDeparture) {
  const std::string clock = section(file_lines(), "[generale]").at(3);
  ASSERT_EQ(clock.rfind("orologio,", 0), 0u);
  std::istringstream values(clock.substr(9));
  int hour = -1, minute = -1, second = -1;
  values >> hour >> minute >> second;
  const built_in::Station& first = built_in::kStations.front();
  EXPECT_EQ((hour * 60 + minute) * 60 + second, (first.hour * 60 + first.minute) * 60 + first.second - 20);
}

TEST(TrainData, AdhesionProfileKeepsOrderBoundsAndCounts) {
  const std::vector<std::string> rows = section(file_lines(), "[aderenze]");
  ASSERT_EQ(rows.size(), 37u);
  std::map<int, int> rows_per_value;
  int previous = -1;
  for (const std::string& row : rows) {
    const std::vector<std::string> fields = testing::split_at_commas(row);
    ASSERT_EQ(fields.size(), 3u) << row;
    EXPECT_EQ(fields[0], "aderenza");
    const int position = number(fields[1]);
    const int value = number(fields[2]);
    EXPECT_GT(position, previous) << row;
    EXPECT_EQ(position % 50, 0) << row;
    EXPECT_GE(value, 60) << row;
    EXPECT_LE(value, 100) << row;
    EXPECT_EQ(value == 60, position == built_in::kSlowdownPosition) << row;
    ++rows_per_value[value];
    previous = position;
  }
  EXPECT_EQ(number(testing::split_at_commas(rows.front())[1]), 0);
  EXPECT_EQ(previous, 41750);
  const std::map<int, int> expected = {{100, 12}, {70, 6}, {80, 6}, {90, 5}, {85, 4}, {75, 3}, {60, 1}};
  EXPECT_EQ(rows_per_value, expected);
}

TEST(TrainData, StationRowsFollowTheTimetableAndTheFirstRowsSpacing) {
  const std::vector<std::string> rows = section(file_lines(), "[stazioni]");
  ASSERT_EQ(rows.size(), 8u);

  // Columns 2 to 13 of each station: type, length, attributes, stop time.
  const std::vector<std::vector<int>> columns = {
      {7, 300, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1},   {12, 500, 0, 0, 0, 1, 1, 0, 2, 4, 1, 60},
      {11, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60}, {22, 400, 0, 0, 1, 0, 0, 0, 4, 1, 1, 0},
      {21, 300, 0, 0, 1, 0, 0, 0, 4, 1, 1, 60}, {22, 300, 0, 0, 1, 0, 0, 0, 4, 1, 1, 60},
      {21, 400, 0, 0, 1, 0, 0, 0, 4, 1, 1, 0},  {11, 600, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0},
  };
  const int positions[] = {0, 2950, 12600, 17550, 22300, 24700, 32950, 42150};
  const std::vector<std::string> first = testing::split_at_commas(rows.front());

  for (size_t s = 0; s < rows.size(); ++s) {
    SCOPED_TRACE(rows[s]);
    const std::vector<std::string> fields = testing::split_at_commas(rows[s]);
    ASSERT_EQ(fields.size(), 18u);
    EXPECT_EQ(fields[0], "stazione");
    for (size_t f = 1; f <= 16; ++f) EXPECT_EQ(fields[f].size(), first[f].size()) << "column " << f;
    EXPECT_EQ(fields[1].size(), 8u);

    const built_in::Station& station = built_in::kStations[s];
    EXPECT_EQ(number(fields[1]), positions[s]);
    EXPECT_EQ(number(fields[1]), station.position);
    EXPECT_LT(positions[s], 43000);
    for (size_t c = 0; c < columns[s].size(); ++c)
      EXPECT_EQ(number(fields[2 + c]), columns[s][c]) << "column " << c + 2;
    EXPECT_EQ(number(fields[14]), station.hour);
    EXPECT_EQ(number(fields[15]), station.minute);
    EXPECT_EQ(number(fields[16]), station.second);
    EXPECT_EQ(fields[17], std::string(" ").append(station.name));
  }

  for (size_t s = 1; s + 1 < built_in::kStations.size(); ++s) {
    const std::string_view name = built_in::kStations[s].name;
    EXPECT_GE(name.size(), 6u) << name;
    EXPECT_LE(name.size(), 16u) << name;
    EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string_view::npos) << name;
  }
}

TEST(TrainData, RendersSeventySixLinesEndingTheFile) {
  const std::string bytes = render_text_file(train_source_lines());
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 76);
  EXPECT_TRUE(bytes.ends_with("[codici]\r\n[fine]\r\n"));
}

}  // namespace
}  // namespace scenario

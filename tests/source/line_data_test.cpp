#include "source/line_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/source_rows.h"

namespace scenario {
namespace {

bool read_number(std::string_view field, int& value) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && !field.empty();
}

// A row of a keyword and two whole numbers, as curve and gradient rows are.
struct TwoNumberRow {
  std::string keyword;
  int first = 0;
  int second = 0;
};

bool read_two_number_row(const std::string& row, TwoNumberRow& out) {
  const std::vector<std::string> fields = testing::split_at_commas(row);
  if (fields.size() != 3) return false;
  out.keyword = fields[0];
  return read_number(fields[1], out.first) && read_number(fields[2], out.second);
}

struct Curve {
  std::string keyword;
  int start = 0;
  int length = 0;
  int end() const { return start + length; }
};

struct Gradient {
  int position = 0;
  int per_mille = 0;
};

class BuiltInLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string bytes = render_text_file(line_source_lines());
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t start = 0; start < bytes.size();) {
      const size_t end = bytes.find("\r\n", start);
      lines_.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
  }

  // The rows below a section header, up to the next header.
  std::vector<std::string> section(std::string_view header) const {
    const auto at = std::find(lines_.begin(), lines_.end(), header);
    EXPECT_NE(at, lines_.end()) << header;
    if (at == lines_.end()) return {};
    const auto next = std::find_if(at + 1, lines_.end(), [](const std::string& l) { return l.starts_with('['); });
    return {at + 1, next};
  }

  // Every curve row must read back as "curva<side><class>,  <start>,  <length>".
  std::vector<Curve> curves() const {
    std::vector<Curve> result;
    for (const std::string& row : section("[curve]")) {
      TwoNumberRow read;
      if (!read_two_number_row(row, read)) {
        ADD_FAILURE() << "curve row not readable: " << row;
        continue;
      }
      const std::string& keyword = read.keyword;
      const bool keyword_shape = keyword.size() == 7 && keyword.starts_with("curva") &&
                                 (keyword[5] == 's' || keyword[5] == 'd') && keyword[6] >= '1' && keyword[6] <= '6';
      EXPECT_TRUE(keyword_shape) << row;
      EXPECT_EQ(row, keyword + ",  " + std::to_string(read.first) + ",  " + std::to_string(read.second));
      result.push_back({keyword, read.first, read.second});
    }
    return result;
  }

  // Gradient rows read "pendenza,  <position>,   <value>"; the first one has a blank more in each gap.
  std::vector<Gradient> gradients() const {
    std::vector<Gradient> result;
    for (const std::string& row : section("[pendenze]")) {
      TwoNumberRow read;
      if (!read_two_number_row(row, read) || read.keyword != "pendenza") {
        ADD_FAILURE() << "gradient row not readable: " << row;
        continue;
      }
      const std::string position = std::to_string(read.first);
      const std::string value = std::to_string(read.second);
      const std::string expected =
          result.empty() ? "pendenza,   " + position + ",    " + value : "pendenza,  " + position + ",   " + value;
      EXPECT_EQ(row, expected);
      result.push_back({read.first, read.second});
    }
    return result;
  }

  std::vector<std::string> lines_;
};

TEST_F(BuiltInLine, FileHasItsLinesEachEndedByCrLf) {
  ASSERT_EQ(lines_.size(), 254u);
  EXPECT_EQ(lines_.front(), "[generale]");
  EXPECT_EQ(lines_.back(), "[fine]");
  for (const std::string& line : lines_) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in: " << line;
    EXPECT_EQ(line.find(kEndOfFileSentinel), std::string::npos) << line;
  }
  // The sentinel stands right after the last line, and nowhere before it.
  const LineBuffer buffer = line_source_lines();
  EXPECT_EQ(buffer.line_count(), 254);
  EXPECT_EQ(buffer.entry(254), kEndOfFileSentinel);
  for (int i = 0; i < 254; ++i) {
    EXPECT_NE(buffer.entry(i), kEndOfFileSentinel) << "entry " << i;
  }
}

TEST_F(BuiltInLine, SectionsStandInOrderWithTheirRowCounts) {
  std::vector<std::pair<std::string, int>> sections;
  for (const std::string& line : lines_) {
    if (line.starts_with('['))
      sections.emplace_back(line, 0);
    else if (!sections.empty())
      ++sections.back().second;
  }
  const std::vector<std::pair<std::string, int>> expected = {
      {"[generale]", 8}, {"[curve]", 93},       {"[pendenze]", 101}, {"[montagne]", 7},
      {"[cartelli]", 3}, {"[indicazioni]", 35}, {"[fine]", 0},
  };
  EXPECT_EQ(sections, expected);
  // Header lines must never look like comment fields to the reader.
  for (const auto& [header, rows] : sections) EXPECT_EQ(header.find('-'), std::string::npos) << header;
}

TEST_F(BuiltInLine, GeneralMountainAndSpeedBoardRowsAreExact) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
      {"[generale]",
       {
           "lunghezza percorso,    43000",
           "progressiva chilometrica uno,    0,    137350,    1",
           "progressiva chilometrica due,    12650,    112100,    0",
           "progressiva chilometrica tre,    0,    0,    0",
           "sfondo uno,    1",
           "sfondo due,    14350",
           "sfondo tre,    0",
           "ripetizione segnali 4 codici,    0    ,0",
       }},
      {"[montagne]",
       {
           "montagna,   1100,  1550,  12",
           "montagna,   2250,  2450,  12",
           "montagna,   3500,  4050,  12",
           "montagna,   14350,  14600,  12",
           "montagna,   15350,  15550,  12",
           "montagna,   20600,  21350,  12",
           "montagna,   29350,  29750,  12",
       }},
      {"[cartelli]",
       {
           "indicatori_vmax,  900,  60,  80,  80,  0,  ,  ,  ,  0",
           "indicatori_vmax,  4100,  75,  80,  80,  0,  ,  ,  ,  0",
           "indicatori_vmax,  12950,  80,  85,  85,  0,  80,  85,  85,  0",
       }},
  };
  for (const auto& [header, rows] : expected) EXPECT_EQ(section(header), rows) << header;
}

TEST_F(BuiltInLine, CurvesKeepTheirCountsOrderAndBounds) {
  const std::vector<Curve> rows = curves();
  ASSERT_EQ(rows.size(), 93u);

  std::map<std::string, int> per_keyword;
  for (const Curve& c : rows) ++per_keyword[c.keyword];
  const std::map<std::string, int> expected_counts = {
      {"curvad1", 1}, {"curvad2", 2}, {"curvad3", 7}, {"curvad4", 21}, {"curvad5", 14},
      {"curvad6", 2}, {"curvas2", 1}, {"curvas3", 6}, {"curvas4", 28}, {"curvas5", 11},
  };
  EXPECT_EQ(per_keyword, expected_counts);

  int abutting = 0;
  int shortest = rows.front().length;
  int longest = rows.front().length;
  for (size_t i = 0; i < rows.size(); ++i) {
    const Curve& c = rows[i];
    EXPECT_EQ(c.start % 50, 0) << c.keyword << " at " << c.start;
    EXPECT_EQ(c.length % 50, 0) << c.keyword << " at " << c.start;
    shortest = std::min(shortest, c.length);
    longest = std::max(longest, c.length);
    if (i + 1 == rows.size()) continue;
    const Curve& next = rows[i + 1];
    EXPECT_LE(c.end(), next.start) << c.keyword << " at " << c.start << " runs into " << next.keyword;
    if (c.end() == next.start) ++abutting;
  }
  EXPECT_EQ(abutting, 38);
  EXPECT_EQ(shortest, 50);
  EXPECT_EQ(longest, 900);
  EXPECT_EQ(rows.front().start, 300);
  EXPECT_LE(rows.back().end(), 43000);  // within the route
}

TEST_F(BuiltInLine, QuotedCurvesStandInPlace) {
  const std::vector<std::string> rows = section("[curve]");
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), "curvas5,  300,  100");
  EXPECT_EQ(rows.back(), "curvas5,  41500,  200");
  // Each run of rows must stand together, one directly after the other.
  const std::vector<std::vector<std::string>> runs = {
      {"curvad4,  1000,  750"},
      {"curvad6,  5800,  450", "curvad5,  6250,  50", "curvad3,  6300,  50", "curvas4,  6350,  100"},
      {"curvad2,  19150,  50", "curvad1,  19200,  50"},
      {"curvad6,  24450,  150"},
      {"curvad3,  37350,  900"},
  };
  for (const std::vector<std::string>& run : runs) {
    const auto at = std::find(rows.begin(), rows.end(), run.front());
    ASSERT_NE(at, rows.end()) << run.front();
    ASSERT_GE(rows.end() - at, static_cast<std::ptrdiff_t>(run.size())) << run.front();
    EXPECT_EQ(std::vector<std::string>(at, at + static_cast<std::ptrdiff_t>(run.size())), run);
  }
}

TEST_F(BuiltInLine, GradientsAscendWithinBoundsAndKeepTheirStretches) {
  const std::vector<Gradient> rows = gradients();
  ASSERT_EQ(rows.size(), 101u);
  EXPECT_EQ(section("[pendenze]").front(), "pendenza,   0,    0");
  EXPECT_EQ(section("[pendenze]").back(), "pendenza,  42200,   0");

  int lowest = 0;
  int highest = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].position % 50, 0) << rows[i].position;
    if (i > 0) {
      EXPECT_LT(rows[i - 1].position, rows[i].position);
    }
    lowest = std::min(lowest, rows[i].per_mille);
    highest = std::max(highest, rows[i].per_mille);
  }
  EXPECT_EQ(lowest, -25);
  EXPECT_EQ(highest, 30);
  const std::vector<std::string> text = section("[pendenze]");
  for (const char* quoted : {"pendenza,  1000,   -25", "pendenza,  3500,   30"}) {
    EXPECT_NE(std::find(text.begin(), text.end(), quoted), text.end()) << quoted;
  }

  const auto in_force = [&rows](int metre) {
    int value = 0;
    for (const Gradient& g : rows) {
      if (g.position <= metre) value = g.per_mille;
    }
    return value;
  };
  // Down to Pianverde, then the steepest stretch of the climb.
  for (int metre = 0; metre < 3500; metre += 50) {
    EXPECT_EQ(in_force(metre) < 0, metre >= 650 && metre < 2700) << "at " << metre;
  }
  for (int metre = 3450; metre <= 5150; metre += 50) {
    EXPECT_EQ(in_force(metre) == 30, metre >= 3500 && metre < 5150) << "at " << metre;
  }
}

// Every group in parentheses, all groups of one width, filled with trailing blanks only.
void expect_board_padding(const std::string& text) {
  std::vector<std::string> groups;
  for (size_t open = 0; open < text.size();) {
    const size_t close = text.find(')', open);
    ASSERT_EQ(text[open], '(') << text;
    ASSERT_NE(close, std::string::npos) << text;
    groups.push_back(text.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  ASSERT_GE(groups.size(), 1u) << text;
  EXPECT_LE(groups.size(), 3u) << text;
  bool one_unfilled = false;
  for (const std::string& group : groups) {
    EXPECT_EQ(group.size(), groups.front().size()) << text;
    EXPECT_FALSE(group.empty() || group.front() == ' ') << text;
    if (!group.empty() && group.back() != ' ') one_unfilled = true;
  }
  EXPECT_TRUE(one_unfilled) << "padded beyond its longest group: " << text;
  EXPECT_EQ(text.find(','), std::string::npos) << text;
}

TEST_F(BuiltInLine, SignBoardsInOrderWithPaddedGroups) {
  const std::vector<std::pair<int, std::string>> boards = {
      {350, "(Scalo         )(VALDORENA C.le)"},
      {850, "(F)"},
      {3450, "(Galleria     )(Colle Serrato)"},
      {5100, "(Sottovia)"},
      {8900, "(Zona       )(Industriale)"},
      {10400, "(Sottovia)"},
      {10900, "(Cavalcavia)"},
      {12850, "(Diramazione  )(Morlavesa    )(Fornace Rossa)"},
      {13800, "(Cippo     )(Km 125+929)"},
      {14100, "(Ponte)"},
      {14250, "(Fine )(Ponte)"},
      {16000, "(Ponte)"},
      {16200, "(Fine )(Ponte)"},
      {16300, "(P.L.A.    )(Km 128+484)"},
      {18200, "(P.L.      )(Km 130+304)"},
      {19050, "(Sottovia  )(Km 131+273)"},
      {19150, "(Ponte)"},
      {19600, "(Fine )(Ponte)"},
      {20500, "(F)"},
      {22550, "(P.L.      )(Km 134+659)"},
      {23100, "(P.L.      )(Km 135+161)"},
      {24150, "(P.L.      )(Km 136+217)"},
      {24950, "(P.L.      )(Km 137+061)"},
      {25850, "(P.L.A.    )(Km 137+954)"},
      {26200, "(F)"},
      {28250, "(Cippo     )(Km 140+342)"},
      {32350, "(Sottovia)"},
      {32700, "(P.L.      )(Km 144+802)"},
      {35100, "(Sottovia  )(Km 147+252)"},
      {37650, "(Sottovia  )(Km 149+835)"},
      {39700, "(Confluenza   )(Valdorena    )(Roccafiorenza)"},
      {39750, "(Sottovia)"},
      {39850, "(Cippo     )(Km 151+997)"},
      {41050, "(F)"},
      {41200, "(P.L.      )(Km 153+284)"},
  };
  std::vector<std::string> expected;
  for (const auto& [position, text] : boards) {
    expected.push_back("cartello_indicatore,  " + std::to_string(position) + ",   " + text);
    expect_board_padding(text);
  }
  EXPECT_EQ(section("[indicazioni]"), expected);
}

}  // namespace
}  // namespace scenario

#include "documents/train_card.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "source/built_in_scenario.h"
#include "support/text_pages.h"

namespace scenario {
namespace {

using testing::columns;
using testing::columns_of;
namespace bi = built_in;

class TrainCard : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(page_.size(), 30u); }
  const std::string& line(size_t n) const { return page_.line(n); }

  const testing::TextPage page_{train_card_lines()};
};

// The timetable rows stand on lines 18 to 28.
constexpr size_t kFirstRowLine = 18;

TEST_F(TrainCard, FixedLinesAreExact) {
  testing::expect_lines(
      page_,
      {
          {1, ""},
          {2, ""},
          {3, "  ___________________      ___________________                           _______________________"},
          {4, " |  Fascicolo Linee  |    |      Treno        |                         | Sigla di Composizione |"},
          {5, " |     VALSORIA      |    |       4721        |     Scheda n° 1/2       |       VS140 C         |"},
          {6, " |___________________|    |___________________|                         |         105%          |"},
          {7, " | Validità          |    | Termine Scheda    |    Da: VALDORENA C.     |_______________________|"},
          {8, " | Dal: 30.09.2001   |    | ROCCAFIORENZA C.LE|     A: MORLAVESA          "},
          {9, " |___________________|    |___________________|                          _______________________"},
          {10, "  ______________________ _____________________                          | Int. alla Sigla |     |"},
          {11, " | Classificazione      | Massa Bloccata      |                         |      ALe 582    | RSC4| "},
          {12, " |         R            |        1ALe+1Le     |                         |                 |     | "},
          {13, " |______________________|_____________________|                         |_________________|_____|"},
          {14, "   ____________________________________________________________________________________________"},
          {15, "  | Vel.| Vel.|  Prog                           |               |Rec|Bin.Dx|SRS| Simbologia|SRS| "},
          {16, "  | Max.|Marc.|   Km.           Localita'       |     Orario    |   |V. Max| SX|           | DX|"},
          {17, "  |_____|_____|_________________________________|_______________|___|______|___|___________|___| "},
          {18, "  | 30  | 30  |137.314 |_|   VALDORENA C.       |         13.10 |   |  /   |                   |"},
          {27, "  |     |     |154.207_ | |  MORLAVESA..........| 13.58   14.06 |2.5|  /   |         2         |"},
          {29, "  |_____|_____|_________________________________|_______________|___|______|___________________|"},
          {30, ""},
      });
  EXPECT_EQ(line(8).size(), 74u);
}

TEST_F(TrainCard, RulesStandAtTheirColumns) {
  const std::set<size_t> header{2, 22, 27, 47, 73, 97};
  const std::set<size_t> header_open{2, 22, 27, 47};
  const std::set<size_t> lower_header{2, 25, 47, 73, 91, 97};
  const std::set<size_t> heading{3, 9, 15, 49, 65, 69, 76, 80, 92, 96};
  const std::set<size_t> grid{3, 9, 15, 49, 65, 69, 76, 96};
  const struct {
    size_t first, last;
    std::set<size_t> rules;
  } expected[] = {
      {4, 7, header},         {8, 9, header_open}, {10, 10, {73, 91, 97}},
      {11, 13, lower_header}, {15, 17, heading},   {18, 29, grid},
  };
  for (const auto& e : expected) {
    for (size_t n = e.first; n <= e.last; ++n) {
      std::string framed = line(n);
      // The track column draws the line itself with bars; they are no rules.
      if (n >= kFirstRowLine && n < kFirstRowLine + 11) framed.replace(22, 5, 5, ' ');
      EXPECT_EQ(columns_of(framed, '|'), e.rules) << "line " << n;
    }
  }
}

TEST_F(TrainCard, OnlyTheMarkedLinesEndWithABlank) {
  // Line 8 ends in the blanks of its open box; the others carry one blank after their last rule.
  const std::set<size_t> blank_after_rule{11, 12, 15, 17, kFirstRowLine + 6, kFirstRowLine + 10};
  for (size_t n = 1; n <= 30; ++n) {
    const std::string& l = line(n);
    const bool ends_blank = !l.empty() && l.back() == ' ';
    EXPECT_EQ(ends_blank, n == 8 || blank_after_rule.contains(n)) << "line " << n;
    if (blank_after_rule.contains(n)) {
      EXPECT_TRUE(l.ends_with("| ")) << "line " << n;
    }
  }
}

TEST_F(TrainCard, TimetableRowsFollowTheColumnRules) {
  // One row a line: speeds, kilometre reading, track column, locality with the
  // column its name starts at, the three time fields, margin, figure 2.
  const struct {
    const char* max;
    const char* running;
    const char* km;
    const char* track;
    const char* name;
    size_t name_column;
    bool dots;
    const char* arrival;    // columns 51-55
    const char* passing;    // columns 55-59
    const char* departure;  // columns 59-63
    const char* margin;
    bool figure_two;
  } rows[] = {
      {" 30  ", " 30  ", "137.314", " |_| ", "VALDORENA C.", 30, false, "", "", "13.10", "   ", false},
      {" 80  ", " 80  ", "       ", "  |  ", "Scalo Valdorena", 29, false, "", "", "", "   ", false},
      {" 60  ", " 60  ", "134.384", " \\|  ", "PIANVERDE", 30, true, "13.15", "", "13.16", "1.0", false},
      {" 80  ", " 80  ", "133.351", "  |  ", "G. Colle Serrato", 29, false, "", "", "", "   ", false},
      {" 85  ", " 85  ", "124.740", "  |\\ ", "CASTELMORO", 30, true, "13.26", "", "13.27", "1.0", true},
      {"     ", "     ", "129.699", "  |  ", "FONTANILE", 30, false, "", "13.32", "", "1.0", false},
      {"     ", "     ", "134.477", "  |  ", "TORRESECCA", 30, true, "13.36", "", "13.37", "   ", false},
      {"     ", " 70  ", "136.849", "  |  ", "BORGONERO", 30, true, "13.40", "", "13.41", "0.5", false},
      {"     ", "     ", "144.984", "  |  ", "ARGINELLA", 30, false, "", "13.48", "", "0.5", false},
      {"     ", "     ", "154.207", "_ | |", "MORLAVESA", 30, true, "13.58", "", "14.06", "2.5", true},
      {"     ", "     ", "160.858", "  |/ ", "", 30, false, "", "", "", "   ", false},
  };
  size_t n = kFirstRowLine;
  for (const auto& r : rows) {
    const std::string& l = line(n);
    SCOPED_TRACE("line " + std::to_string(n));
    EXPECT_EQ(columns(l, 1, 3), "  |");
    EXPECT_EQ(columns(l, 4, 8), r.max);
    EXPECT_EQ(columns(l, 10, 14), r.running);
    EXPECT_EQ(columns(l, 16, 22), r.km);
    EXPECT_EQ(columns(l, 23, 27), r.track);

    const std::string name = r.name;
    const size_t name_end = r.name_column + name.size();  // first column after the name
    EXPECT_EQ(columns(l, 28, r.name_column - 1), std::string(r.name_column - 28, ' '));
    if (!name.empty()) {
      EXPECT_EQ(columns(l, r.name_column, name_end - 1), name);
    }
    EXPECT_EQ(columns(l, name_end, 48), std::string(49 - name_end, r.dots ? '.' : ' '));

    std::string times(15, ' ');
    auto place = [&](size_t column, std::string_view t) { times.replace(column - 50, t.size(), t); };
    place(51, r.arrival);
    place(55, r.passing);
    place(59, r.departure);
    EXPECT_EQ(columns(l, 50, 64), times);

    EXPECT_EQ(columns(l, 66, 68), r.margin);
    EXPECT_EQ(columns(l, 70, 75), "  /   ");
    EXPECT_EQ(columns(l, 77, 95), r.figure_two ? "         2         " : std::string(19, ' '));
    ++n;
  }
}

TEST_F(TrainCard, KilometresFallToTheJunctionAndGrowAfterIt) {
  std::vector<double> km;
  for (size_t n = kFirstRowLine; n < kFirstRowLine + 11; ++n) {
    const std::string field = columns(line(n), 16, 22);
    if (field != "       ") km.push_back(std::stod(field));
  }
  ASSERT_EQ(km.size(), 10u);
  // The junction (fourth reading) is the turning point of the counting.
  for (size_t i = 1; i < km.size(); ++i) {
    if (i <= 3)
      EXPECT_LT(km[i], km[i - 1]) << "reading " << i;
    else
      EXPECT_GT(km[i], km[i - 1]) << "reading " << i;
  }
}

std::string clock(int hour, int minute) {
  const std::string minutes = std::to_string(minute);
  return std::to_string(hour) + "." + (minute < 10 ? "0" : "") + minutes;
}

// The card must show the train source's stations, in its order, at its times.
TEST_F(TrainCard, AgreesWithTheTrainSource) {
  const size_t station_line[] = {18, 20, 22, 23, 24, 25, 26, 27};
  static_assert(std::size(station_line) == bi::kStations.size());
  for (size_t i = 0; i < bi::kStations.size(); ++i) {
    const bi::Station& s = bi::kStations[i];
    const std::string& l = line(station_line[i]);
    SCOPED_TRACE(std::string(s.name));

    std::string expected_name;
    for (char c : s.name) expected_name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (expected_name.ends_with(" C.LE")) expected_name.resize(expected_name.size() - 2);  // the card's "C."
    EXPECT_EQ(columns(l, 30, 29 + expected_name.size()), expected_name);

    const bool passes = s.hour == 0 && s.minute == 0;
    const bool last = i + 1 == bi::kStations.size();
    if (passes) {
      int found = 0;
      for (const bi::PassingTime& p : bi::kPassingTimes) {
        if (p.station == static_cast<int>(i)) {
          EXPECT_EQ(columns(l, 55, 59), clock(p.hour, p.minute));
          ++found;
        }
      }
      EXPECT_EQ(found, 1);
    } else if (last) {
      EXPECT_EQ(columns(l, 51, 55), clock(s.hour, s.minute));
      EXPECT_EQ(columns(l, 59, 63), clock(bi::kOnwardDepartureHour, bi::kOnwardDepartureMinute));
    } else {
      EXPECT_EQ(columns(l, 59, 63), clock(s.hour, s.minute));
      const int arrival = s.hour * 60 + s.minute - 1;  // a stop lasts one minute
      if (i > 0) {
        EXPECT_EQ(columns(l, 51, 55), clock(arrival / 60, arrival % 60));
      }
    }
  }
  EXPECT_NE(page_.text(21).find(bi::kTunnel), std::string::npos);
  EXPECT_NE(page_.text(19).find(bi::kFreightYard), std::string::npos);
}

TEST_F(TrainCard, AccentsAreSingleBytes) {
  EXPECT_NE(page_.bytes().find("Validit\xE0 "), std::string::npos);
  EXPECT_NE(page_.bytes().find("n\xB0 1/2"), std::string::npos);
  for (char byte : page_.bytes()) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80) {
      EXPECT_TRUE(c == 0xE0 || c == 0xB0) << "byte " << static_cast<int>(c);
    }
  }
}

}  // namespace
}  // namespace scenario

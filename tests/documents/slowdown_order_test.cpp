#include "documents/slowdown_order.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
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

class SlowdownOrder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(page_.size(), 45u); }
  const std::string& line(size_t n) const { return page_.line(n); }

  const testing::TextPage page_{slowdown_order_lines()};
};

constexpr const char* kEmptyRow = " |   |                            |            |          |         |            |";

TEST_F(SlowdownOrder, LinesAreExact) {
  testing::expect_lines(page_,
                        {
                            {1, ""},
                            {2, "                               Modulo M. 3"},
                            {3, "                           ORDINE DI RALLENTAMENTO"},
                            {4, " ________________________________________________________________________________"},
                            {5, "  Linea  VALDORENA C.- MORLAVESA"},
                            {6, ""},
                            {7, "  Si ordina al macchinista del treno 4721 di effettuare i seguenti rallentamenti"},
                            {8, "  _______________________________________________________________________________"},
                            {9, " |   |                            |Inizio dopo |          |         |            |"},
                            {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
                            {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
                            {12, " |___|____________________________|____________|__________|_________|____________|"},
                            {13, " |01 |      TORRESECCA            |  134.162   |   30     |  150    |A-H-I       |"},
                            {14, " |* *|* * * * * * * * * * * * * * |* * * * * * |* * * * * |* * * * *|* * * * * * |"},
                            {16, kEmptyRow},
                            {36, " |___|____________________________|____________|__________|_________|____________|"},
                            {37, ""},
                            {38, "              Prescrizioni specifiche"},
                            {39, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
                            {40, " B - Interessa anche la stazione di......."},
                            {41, " D - Rallentamneto N. ... e N. ...  sono contigui"},
                            {42, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
                            {43, "     i giorni esclusi i seguenti:........."},
                            {44, " H - Segnale di avviso rallentamento sprovvisto di tavole di orientamento"},
                            {45, " I - Interessa anche il primo binario della stazione di Torresecca."},
                        });
  // The form is plain ASCII, one line a CR LF.
  for (char c : page_.bytes()) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST_F(SlowdownOrder, TableRowsRepeatAndKeepTheirRules) {
  const std::set<size_t> rules{2, 6, 35, 48, 59, 69, 82};
  for (size_t n = 9; n <= 36; ++n) {
    EXPECT_EQ(line(n).size(), 82u) << "line " << n;
    EXPECT_EQ(columns_of(line(n), '|'), rules) << "line " << n;
  }
  EXPECT_EQ(line(15), line(14));
  for (size_t n = 16; n <= 35; ++n) EXPECT_EQ(line(n), kEmptyRow) << "line " << n;
  for (const std::string& l : page_.lines()) EXPECT_FALSE(!l.empty() && l.back() == ' ') << l;
}

TEST_F(SlowdownOrder, LegendKeepsItsOrder) {
  std::string letters;
  for (size_t n = 39; n <= 45; ++n) {
    if (columns(line(n), 3, 5) == " - ") letters += line(n)[1];
  }
  EXPECT_EQ(letters, "ABDCHI");
  EXPECT_EQ(columns(line(43), 1, 6), "     i");  // prescription C goes on
}

// The order must name the slowdown the train source places: its station, speed and length.
TEST_F(SlowdownOrder, AgreesWithTheTrainSource) {
  const bi::Station& station = bi::kStations[static_cast<size_t>(bi::kSlowdownStation)];
  std::string upper;
  for (char c : station.name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string capitalised = upper.substr(0, 1);
  for (char c : upper.substr(1)) capitalised += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  const std::string& row = line(13);
  EXPECT_EQ(columns(row, 7, 12), "      ");
  EXPECT_EQ(columns(row, 13, 12 + upper.size()), upper);
  EXPECT_EQ(std::atoi(columns(row, 49, 58).c_str()), bi::kSlowdownSpeed);
  EXPECT_EQ(columns(row, 49, 51), "   ");
  EXPECT_EQ(std::atoi(columns(row, 60, 68).c_str()), bi::kSlowdownLength);
  EXPECT_EQ(columns(row, 60, 61), "  ");
  EXPECT_TRUE(line(45).ends_with(" di " + capitalised + ".")) << line(45);

  // The named station is the one whose area holds the slowdown: the nearest to it.
  const auto distance = [](const bi::Station& s) { return std::abs(s.position - bi::kSlowdownPosition); };
  for (const bi::Station& other : bi::kStations) EXPECT_LE(distance(station), distance(other)) << other.name;
}

}  // namespace
}  // namespace scenario

#include "documents/notes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "source/built_in_scenario.h"
#include "support/text_pages.h"

namespace scenario {
namespace {

namespace bi = built_in;

class Notes : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(page_.size(), 29u); }
  const std::string& line(size_t n) const { return page_.line(n); }
  std::string text(size_t n) const { return page_.text(n); }

  const testing::TextPage page_{notes_lines()};
};

TEST_F(Notes, QuotedLinesAreExact) {
  testing::expect_lines(
      page_, {
                 {1, "        Regione Valsoria"},
                 {2, "Linea Valdorena C.le-Morlavesa"},
                 {4, "Il tracciato misura 42,2 Km. Si parte da Valdorena C.le stazione di testa e si scende sino ad"},
                 {8, "Preceduta da un tratto di doppio binario, è Morlavesa."},
                 {17, "Treno Simulato:"},
                 {18, "R 4721 Valdorena C.-Roccafiorenza C.."},
                 {19, "Il nostro treno è composto da 2 ALe 582 e 2 rimorchi Le 763 così M+R+R+M."},
                 {20, "Nel turno estivo ha lo stesso orario ma composizione 1 ALe 582+1 Le 562."},
                 {24, "Sono graditi consigli e suggerimenti. Buon lavoro."},
             });
}

TEST_F(Notes, LengthsAndBlanksAreKept) {
  const std::set<size_t> empty{3, 16, 25, 29};
  const std::set<size_t> trailing_blank{13, 22, 26, 28};
  for (size_t n = 1; n <= 29; ++n) {
    const std::string& l = line(n);
    SCOPED_TRACE("line " + std::to_string(n));
    EXPECT_EQ(l.empty(), empty.contains(n));
    if (!l.empty()) {
      EXPECT_GE(l.size(), 15u);
      EXPECT_LE(l.size(), 387u);
      EXPECT_EQ(l.back() == ' ', trailing_blank.contains(n));
    }
  }
  // The long line is written whole, on one line, with exactly one blank at its end.
  EXPECT_EQ(line(22).size(), 387u);
  EXPECT_TRUE(line(22).ends_with(". "));
  for (size_t n = 26; n <= 28; ++n) EXPECT_EQ(line(n).front(), ' ') << "line " << n;
  EXPECT_NE(line(28).find("@example.org"), std::string::npos);
}

TEST_F(Notes, AccentsAreSingleBytes) {
  const std::set<unsigned char> accents{0xE0, 0xE8, 0xEC, 0xF2, 0xF9};
  for (char byte : page_.bytes()) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80) {
      EXPECT_TRUE(accents.contains(c)) << "byte " << static_cast<int>(c);
    }
  }
  EXPECT_TRUE(line(8).ends_with(", \xE8 Morlavesa."));
  EXPECT_NE(line(14).find("realt\xE0"), std::string::npos);
}

std::string capitalised(std::string_view name) {
  std::string out;
  bool word_start = true;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    out += static_cast<char>(word_start ? std::toupper(u) : std::tolower(u));
    word_start = c == ' ';
  }
  return out;
}

std::string station(size_t i) { return capitalised(bi::kStations[i].name); }

// The line description tells, in this order, the facts a driver needs before the run.
TEST_F(Notes, LineDescriptionTellsItsFactsInOrder) {
  const struct {
    std::string fact;
    size_t line;
  } facts[] = {
      {"42,2 Km", 4},
      {"stazione di testa", 4},
      {"si scende", 4},
      {station(1), 5},
      {"30 per mille", 5},
      {station(2), 5},
      {"indicatore di direzione", 6},
      {"cifra 1", 6},
      {capitalised(bi::kJunctionBranch), 6},
      {"cifra 2", 6},
      {"progressiva chilometrica", 7},
      {"doppio binario", 8},
      {"binario di destra", 9},
      {"cambia banco", 9},
      {capitalised(bi::kDestination), 9},
      {"binario unico", 10},
      {"non è elettrificata", 10},
      {"blocco elettrico manuale", 11},
      {"Controllo Centralizzato del Traffico", 11},
      {station(0), 11},
      {"chilometro per chilometro", 12},
      {"Prefazione all'Orario", 12},
      {"passaggi a livello", 13},
      {"segnali", 13},
      {"gallerie", 13},
      {"tabelle \"F\"", 13},
      {"realtà", 14},
      {"Ringrazio l'amico", 15},
  };
  std::string description;
  for (size_t n = 4; n <= 15; ++n) description += text(n) + "\n";
  size_t previous = 0;
  for (const auto& f : facts) {
    const size_t at = description.find(f.fact, previous);
    ASSERT_NE(at, std::string::npos) << f.fact << " missing or out of order";
    const auto line_breaks =
        std::count(description.begin(), description.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    EXPECT_EQ(static_cast<size_t>(line_breaks) + 4, f.line) << f.fact;
    previous = at + f.fact.size();
  }
}

// Names, region and destination must be those the train source and the other papers show.
TEST_F(Notes, TrainDescriptionAgreesWithTheScenario) {
  std::string region = text(1).substr(16);
  for (char& c : region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(region, bi::kRegion);
  EXPECT_EQ(text(2), "Linea " + station(0) + "-" + station(bi::kStations.size() - 1));
  EXPECT_EQ(text(18), "R " + std::string(bi::kTrainNumber) + " Valdorena C.-" + capitalised(bi::kDestination) + " C..");

  EXPECT_NE(text(21).find("senso inverso"), std::string::npos);
  EXPECT_EQ(text(21).find("R " + std::string(bi::kTrainNumber)), std::string::npos) << "another train, not ours";
  for (size_t i : {0u, 1u, 2u, 4u, 5u, 7u}) EXPECT_NE(text(22).find(station(i)), std::string::npos) << station(i);
  EXPECT_NE(text(23).find(bi::kDepot), std::string::npos);
}

}  // namespace
}  // namespace scenario

#include "documents/slowdown_order.h"

#include <string>

#include "documents/page_text.h"
#include "source/built_in_scenario.h"

namespace scenario {
namespace {

namespace bi = built_in;

constexpr std::string_view kEmptyTableRow =
    " |   |                            |            |          |         |            |";
constexpr std::string_view kAsteriskRow =
    " |* *|* * * * * * * * * * * * * * |* * * * * * |* * * * * |* * * * *|* * * * * * |";
constexpr int kEmptyTableRows = 20;

std::string_view slowdown_station() { return bi::kStations[static_cast<size_t>(bi::kSlowdownStation)].name; }

// Cells between the rules at columns 2, 6, 35, 48, 59, 69 and 82.
std::string slowdown_row() {
  std::string row = " |01 |";
  row += fit("      " + upper_case(slowdown_station()), 28) + "|";
  row += fit("  134.162", 12) + "|";
  row += fit("   " + std::to_string(bi::kSlowdownSpeed), 10) + "|";
  row += fit("  " + std::to_string(bi::kSlowdownLength), 9) + "|";
  row += fit("A-H-I", 12) + "|";
  return row;
}

}  // namespace

LineBuffer slowdown_order_lines() {
  const std::string first_station = upper_case(short_station_name(bi::kStations.front().name));
  const std::string last_station = upper_case(bi::kStations.back().name);

  LineBuffer lines;
  lines.add("");
  lines.add("                               Modulo M. 3");
  lines.add("                           ORDINE DI RALLENTAMENTO");
  lines.add(" ________________________________________________________________________________");
  lines.add("  Linea  " + first_station + "- " + last_station);
  lines.add("");
  lines.add("  Si ordina al macchinista del treno " + std::string(bi::kTrainNumber) +
            " di effettuare i seguenti rallentamenti");
  lines.add("  _______________________________________________________________________________");
  lines.add(" |   |                            |Inizio dopo |          |         |            |");
  lines.add(" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|");
  lines.add(" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |");
  lines.add(" |___|____________________________|____________|__________|_________|____________|");
  lines.add(slowdown_row());
  lines.add(kAsteriskRow);
  lines.add(kAsteriskRow);
  for (int i = 0; i < kEmptyTableRows; ++i) lines.add(kEmptyTableRow);
  lines.add(" |___|____________________________|____________|__________|_________|____________|");
  lines.add("");
  lines.add("              Prescrizioni specifiche");
  lines.add(" A - Da rispettare con tutto il treno (per i treni viaggiatori)");
  lines.add(" B - Interessa anche la stazione di.......");
  // "Rallentamneto" is the form's own spelling.
  lines.add(" D - Rallentamneto N. ... e N. ...  sono contigui");
  lines.add(" C - Da rispettare dalle ore ....  alle ore ..... di tutti");
  lines.add("     i giorni esclusi i seguenti:.........");
  lines.add(" H - Segnale di avviso rallentamento sprovvisto di tavole di orientamento");
  lines.add(" I - Interessa anche il primo binario della stazione di " + initial_capitals(slowdown_station()) + ".");
  lines.close();
  return lines;
}

}  // namespace scenario

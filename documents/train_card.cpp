#include "documents/train_card.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "documents/page_text.h"
#include "source/built_in_scenario.h"

namespace scenario {
namespace {

namespace bi = built_in;

// Widths of the timetable cells, between the rules at columns 3, 9, 15, 49,
// 65, 69, 76 and 96.
constexpr size_t kSpeedWidth = 5;
constexpr size_t kKilometreWidth = 7;
constexpr size_t kLocalityWidth = 21;
constexpr size_t kTimesWidth = 15;
constexpr size_t kMarginWidth = 3;
constexpr size_t kSymbolWidth = 19;

// The card shows the arrival one stop's length before the scheduled departure.
constexpr int kDwellMinutes = bi::kStopSeconds / 60;

struct TimetableRow {
  std::string_view max_speed;  // two digits, or empty
  std::string_view running_speed;
  std::string_view kilometre;  // "137.314", or empty
  std::string_view track;      // the line diagram, columns 23 to 27
  std::string locality;        // columns 28 to 48
  std::string times;           // columns 50 to 64
  std::string_view margin;     // "1.0", or empty
  bool figure_two;             // the symbol cell shows "2" at column 86
  bool trailing_blank;
};

std::string card_station_name(int station) {
  return upper_case(short_station_name(bi::kStations[static_cast<size_t>(station)].name));
}

// Station names start at column 30; where the train stops, dots lead to the times.
std::string station_cell(int station, bool stops) {
  return fit("  " + card_station_name(station), kLocalityWidth, stops ? '.' : ' ');
}

// Other line points start one column further left.
std::string line_point_cell(std::string_view name) { return fit(std::string(" ").append(name), kLocalityWidth); }

std::string scheduled_clock(int station, int minutes_before = 0) {
  const bi::Station& s = bi::kStations[static_cast<size_t>(station)];
  const int minutes = s.hour * 60 + s.minute - minutes_before;
  return clock_text(minutes / 60, minutes % 60);
}

std::string arrival_and_departure(const std::string& arrival, const std::string& departure) {
  return " " + arrival + "   " + departure + " ";
}

std::string stop_times(int station) {
  return arrival_and_departure(scheduled_clock(station, kDwellMinutes), scheduled_clock(station));
}

std::string departure_only(int station) { return fit("         " + scheduled_clock(station), kTimesWidth); }

std::string passing_time(int station) {
  for (const bi::PassingTime& p : bi::kPassingTimes) {
    if (p.station == station) return fit("     " + clock_text(p.hour, p.minute), kTimesWidth);
  }
  throw std::logic_error("no passing time for station " +
                         std::string(bi::kStations[static_cast<size_t>(station)].name));
}

// The train arrives at its scheduled time and leaves again after the cab change.
std::string terminus_times(int station) {
  return arrival_and_departure(scheduled_clock(station),
                               clock_text(bi::kOnwardDepartureHour, bi::kOnwardDepartureMinute));
}

std::string no_times() { return std::string(kTimesWidth, ' '); }
std::string no_locality() { return std::string(kLocalityWidth, ' '); }

std::string tunnel_point() { return "G. " + std::string(bi::kTunnel); }

std::array<TimetableRow, 11> timetable_rows() {
  return {{
      {"30", "30", "137.314", " |_| ", station_cell(0, false), departure_only(0), "", false, false},
      {"80", "80", "", "  |  ", line_point_cell(bi::kFreightYard), no_times(), "", false, false},
      {"60", "60", "134.384", " \\|  ", station_cell(1, true), stop_times(1), "1.0", false, false},
      {"80", "80", "133.351", "  |  ", line_point_cell(tunnel_point()), no_times(), "", false, false},
      {"85", "85", "124.740", "  |\\ ", station_cell(2, true), stop_times(2), "1.0", true, false},
      {"", "", "129.699", "  |  ", station_cell(3, false), passing_time(3), "1.0", false, false},
      {"", "", "134.477", "  |  ", station_cell(4, true), stop_times(4), "", false, true},
      {"", "70", "136.849", "  |  ", station_cell(5, true), stop_times(5), "0.5", false, false},
      {"", "", "144.984", "  |  ", station_cell(6, false), passing_time(6), "0.5", false, false},
      {"", "", "154.207", "_ | |", station_cell(7, true), terminus_times(7), "2.5", true, false},
      {"", "", "160.858", "  |/ ", no_locality(), no_times(), "", false, true},
  }};
}

std::string speed_cell(std::string_view speed) {
  return fit(speed.empty() ? "" : std::string(" ").append(speed), kSpeedWidth);
}

std::string timetable_line(const TimetableRow& row) {
  std::string line = "  |";
  line += speed_cell(row.max_speed) + "|";
  line += speed_cell(row.running_speed) + "|";
  line += fit(row.kilometre, kKilometreWidth) + fit(row.track, 5) + fit(row.locality, kLocalityWidth) + "|";
  line += fit(row.times, kTimesWidth) + "|";
  line += fit(row.margin, kMarginWidth) + "|";
  line += "  /   |";
  line += (row.figure_two ? std::string(9, ' ') + "2" + std::string(9, ' ') : std::string(kSymbolWidth, ' ')) + "|";
  if (row.trailing_blank) line += ' ';
  return line;
}

}  // namespace

LineBuffer train_card_lines() {
  const std::string first_station = card_station_name(0);
  const std::string last_station = card_station_name(static_cast<int>(bi::kStations.size()) - 1);
  const std::string card_end = upper_case(std::string(bi::kDestination) + " C.le");

  LineBuffer lines;
  lines.add("");
  lines.add("");
  lines.add("  ___________________      ___________________                           _______________________");
  lines.add(" |  Fascicolo Linee  |    |      Treno        |                         | Sigla di Composizione |");
  lines.add(" |" + fit("     " + std::string(bi::kRegion), 19) + "|    |" +
            fit("       " + std::string(bi::kTrainNumber), 19) + "|     Scheda n° 1/2       |       VS140 C         |");
  lines.add(" |___________________|    |___________________|                         |         105%          |");
  lines.add(" | Validità          |    | Termine Scheda    |" + fit("    Da: " + first_station, 25) +
            "|_______________________|");
  // The composition box has no right-hand rule on this line.
  lines.add(" | Dal: 30.09.2001   |    | " + fit(card_end, 18) + "|" + fit("     A: " + last_station, 27));
  lines.add(" |___________________|    |___________________|                          _______________________");
  lines.add("  ______________________ _____________________                          | Int. alla Sigla |     |");
  lines.add(" | Classificazione      | Massa Bloccata      |                         |      ALe 582    | RSC4| ");
  lines.add(" |         R            |        1ALe+1Le     |                         |                 |     | ");
  lines.add(" |______________________|_____________________|                         |_________________|_____|");
  lines.add("   ____________________________________________________________________________________________");
  lines.add("  | Vel.| Vel.|  Prog                           |               |Rec|Bin.Dx|SRS| Simbologia|SRS| ");
  lines.add("  | Max.|Marc.|   Km.           Localita'       |     Orario    |   |V. Max| SX|           | DX|");
  lines.add("  |_____|_____|_________________________________|_______________|___|______|___|___________|___| ");
  for (const TimetableRow& row : timetable_rows()) lines.add(timetable_line(row));
  lines.add("  |_____|_____|_________________________________|_______________|___|______|___________________|");
  lines.add("");
  lines.close();
  return lines;
}

}  // namespace scenario

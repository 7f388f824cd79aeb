#include "source/train_data.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "source/built_in_scenario.h"

namespace scenario {
namespace {

using built_in::kSlowdownLength;
using built_in::kSlowdownPosition;
using built_in::kSlowdownSpeed;
using built_in::kStations;

std::string right_aligned(int value, size_t width) {
  const std::string digits = std::to_string(value);
  return digits.size() >= width ? digits : std::string(width - digits.size(), ' ') + digits;
}

struct AdhesionChange {
  int position;
  int percent;
};

// Adhesion after the first row, which stands at 0 with full adhesion. The rail
// is poorer in the tunnels, on the river bridges and in the damp cuttings, and
// poorest where the slowdown's works foul it.
constexpr std::array<AdhesionChange, 36> kAdhesionChanges = {{
    {1050, 70},  // tunnel
    {1700, 80},
    {1900, 90},
    {2600, 100},
    {3450, 70},  // the long tunnel under the col
    {4100, 80},  // its wet mouth on the steep climb
    {5200, 100},
    {8850, 90},  // industrial dust
    {10350, 100},
    {12550, 85},  // junction station
    {13200, 100},
    {14050, 80},  // bridges
    {14350, 70},  // tunnel
    {14650, 85},
    {15350, 70},  // tunnel
    {15600, 90},
    {16400, 100},
    {19100, 80},  // bridge
    {19650, 100},
    {20600, 70},  // tunnel
    {21400, 75},  // cutting
    {kSlowdownPosition, 60},
    {kSlowdownPosition + kSlowdownLength, 75},
    {22700, 90},
    {24650, 100},
    {26150, 85},
    {27300, 100},
    {29350, 70},  // tunnel
    {29800, 80},
    {30500, 100},
    {32300, 75},  // underpass
    {32900, 100},
    {35050, 80},  // underpass
    {37600, 85},
    {39650, 90},
    {41750, 100},
}};

// Columns 2 to 13 of a station row; position, time and name come from the scenario's station list.
struct StationColumns {
  int type;
  int length;
  std::array<int, 9> attributes;  // columns 4 to 12
  int stop_seconds;
};

constexpr std::array<StationColumns, kStations.size()> kStationColumns = {{
    {7, 300, {1, 0, 0, 4, 1, 0, 2, 1, 1}, 1},
    {12, 500, {0, 0, 0, 1, 1, 0, 2, 4, 1}, built_in::kStopSeconds},
    {11, 400, {0, 0, 0, 1, 1, 0, 4, 1, 1}, built_in::kStopSeconds},
    {22, 400, {0, 0, 1, 0, 0, 0, 4, 1, 1}, 0},
    {21, 300, {0, 0, 1, 0, 0, 0, 4, 1, 1}, built_in::kStopSeconds},
    {22, 300, {0, 0, 1, 0, 0, 0, 4, 1, 1}, built_in::kStopSeconds},
    {21, 400, {0, 0, 1, 0, 0, 0, 4, 1, 1}, 0},
    {11, 600, {1, 0, 0, 1, 1, 0, 2, 1, 1}, 0},
}};

constexpr std::array<size_t, 9> kAttributeWidths = {3, 2, 2, 3, 1, 1, 3, 1, 1};

std::string station_row(const built_in::Station& station, const StationColumns& columns) {
  std::string row = "stazione";
  const auto column = [&row](int value, size_t width) {
    row += ',';
    row += right_aligned(value, width);
  };
  column(station.position, 8);
  column(columns.type, 3);
  column(columns.length, 5);
  for (size_t i = 0; i < columns.attributes.size(); ++i) column(columns.attributes[i], kAttributeWidths[i]);
  column(columns.stop_seconds, 5);
  column(station.hour, 4);
  column(station.minute, 2);
  column(station.second, 2);
  row += ", ";
  row += station.name;
  return row;
}

void add_all(LineBuffer& lines, std::initializer_list<std::string_view> rows) {
  for (std::string_view row : rows) lines.add(row);
}

}  // namespace

LineBuffer train_source_lines() {
  LineBuffer lines;
  add_all(lines, {
                     "[generale]",
                     "numero vetture,    4",
                     "percentuale massa frenata,    105",
                     "sabbia,    100",
                     // Blanks, not commas, separate the clock values; the clock runs 20 s before the first departure.
                     "orologio,    13              9             40 ",
                     "[aderenze]",
                     "aderenza,   0,    100",
                 });
  for (const AdhesionChange& change : kAdhesionChanges) {
    lines.add("aderenza," + right_aligned(change.position, 8) + "," + right_aligned(change.percent, 6));
  }
  add_all(lines, {
                     "[vel_limite]",
                     "velocita,       0,    30",
                     "velocita,     900,    80",
                     "velocita,    3100,    60",
                     "velocita,    4050,    80",
                     "velocita,   12950,    85",
                     "[stazioni]",
                 });
  for (size_t i = 0; i < kStations.size(); ++i) lines.add(station_row(kStations[i], kStationColumns[i]));
  lines.add("[rallentamenti]");
  lines.add("rallentamento," + right_aligned(kSlowdownPosition, 8) + "," + right_aligned(kSlowdownSpeed, 6) + "," +
            right_aligned(kSlowdownLength, 5) + ", 1,  0,  0");
  add_all(lines, {
                     "[segnali]",
                     "segnale,     950,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,    2350,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   10950,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   11900,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   16150,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   16950,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   20450,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   21500,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   23850,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   31050,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
                     "segnale,   32300,   2, 4, 1,  0, 0,    0,  0,0,0, 115",
                     "segnale,   39800,   1, 3, 4,  0, 0,    1,  3,1,0, 0",
                     "segnale,   40950,   2, 2, 3,  0, 0,    2,  2,1,0, 0",
                     "[codici]",
                     "[fine]",
                 });
  lines.close();
  return lines;
}

}  // namespace scenario

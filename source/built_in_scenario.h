#pragma once

// The one scenario this program carries. Names and times that both the train
// source and the crew documents show are defined here once, so that the
// driver's papers always agree with the compiled run.

#include <array>
#include <string_view>

namespace scenario::built_in {

inline constexpr std::string_view kScenarioName = "ValdorenaC_Morlavesa";
inline constexpr std::string_view kTrainNumber = "4721";

// The line's region and the places beyond or beside it that boards and papers name.
inline constexpr std::string_view kRegion = "VALSORIA";
inline constexpr std::string_view kDestination = "ROCCAFIORENZA";     // where the train goes on to
inline constexpr std::string_view kJunctionBranch = "Fornace Rossa";  // the other branch at Castelmoro
inline constexpr std::string_view kTunnel = "Colle Serrato";

struct Station {
  std::string_view name;  // as the train source writes it
  int position;           // metres along the route
  // Scheduled time: departure, arrival at the last station, 0:00:00 where the train passes.
  int hour;
  int minute;
  int second;
};

inline constexpr std::array<Station, 8> kStations = {{
    {"VALDORENA C.le", 0, 13, 10, 0},
    {"PIANVERDE", 2950, 13, 16, 0},
    {"CASTELMORO", 12600, 13, 27, 0},
    {"FONTANILE", 17550, 0, 0, 0},
    {"TORRESECCA", 22300, 13, 37, 0},
    {"BORGONERO", 24700, 13, 41, 0},
    {"ARGINELLA", 32950, 0, 0, 0},
    {"MORLAVESA", 42150, 13, 58, 0},
}};

// A stop at an intermediate station lasts one minute: the train source's stop
// time, and the card's arrival one minute before the departure.
inline constexpr int kStopSeconds = 60;

// The day's one slowdown: it lies in Torresecca's station area.
inline constexpr int kSlowdownPosition = 22050;
inline constexpr int kSlowdownSpeed = 30;
inline constexpr int kSlowdownLength = 150;
inline constexpr int kSlowdownStation = 4;  // index into kStations

// What only the crew papers show.

// The train card gives a passing time where the train does not stop.
struct PassingTime {
  int station;  // index into kStations
  int hour;
  int minute;
};
inline constexpr std::array<PassingTime, 2> kPassingTimes = {{{3, 13, 32}, {6, 13, 48}}};

// At Morlavesa the driver changes cab and the train leaves again for the destination.
inline constexpr int kOnwardDepartureHour = 14;
inline constexpr int kOnwardDepartureMinute = 6;

// The line point just out of the first station that the card lists, and the
// depot whose drivers work the train.
inline constexpr std::string_view kFreightYard = "Scalo Valdorena";
inline constexpr std::string_view kDepot = "Deposito Locomotive di Valdorena";

}  // namespace scenario::built_in

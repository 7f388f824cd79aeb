#include "support/long_route.h"

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>
#include <string_view>

namespace scenario::testing {
namespace {

// Everything that stands on the route is laid out in blocks of 2500 m, each
// marker kind at its own offset, so that no two ever claim the same cell:
//   0     a station (every tenth block)       1200  a signal
//   600   a sign board (while there are any)  1900  a speed board (every other block)
//   2000  a slowdown of 300 m (every fortieth block from the fifth), warned at 800
constexpr int32_t kBlock = 2500;
constexpr int32_t kStationEvery = 10;   // blocks: a station every 25 km
constexpr int32_t kSlowdownEvery = 40;  // blocks
constexpr int32_t kSlowdownFirst = 5;   // block
constexpr int kSignBoards = 30;
constexpr int kMountainSections = 80;

// mt19937's sequence is fixed by the standard; the distributions are not, so
// numbers are drawn from it directly.
class Draw {
 public:
  explicit Draw(uint32_t seed) : engine_(seed) {}
  // A whole number from `low` to `high`.
  int32_t between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(engine_() % static_cast<uint32_t>(high - low + 1));
  }

 private:
  std::mt19937 engine_;
};

class Text {
 public:
  void row(const std::string& line) { text_ += line + "\r\n"; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string n(int64_t value) { return std::to_string(value); }

std::string station_name(int index) {
  static constexpr std::array<std::string_view, 8> first = {"BORGO", "MONTE", "CASTEL", "VILLA",
                                                            "PONTE", "ROCCA", "PIEVE",  "SAN VITO"};
  static constexpr std::array<std::string_view, 8> second = {"ALTO", "VERDE", "NERO",  "FIORE",
                                                             "MARE", "LUNGO", "ROSSO", "CHIARO"};
  // Unique for the first 64 stations.
  return std::string(first[static_cast<size_t>(index % 8)]) + " " +
         std::string(second[static_cast<size_t>((index / 8 + index) % 8)]);
}

std::string line_source(int32_t length, Draw& draw) {
  Text t;
  t.row("[generale]");
  t.row("lunghezza percorso,    " + n(length));
  // Readings grow from km 500 in the first half and fall from km 1400 in the second.
  const int32_t half = length / 2 / 50 * 50;
  t.row("progressiva chilometrica uno,    0,    500000,    0");
  t.row("progressiva chilometrica due,    " + n(half) + ",    1400000,    1");
  t.row("progressiva chilometrica tre,    0,    0,    0");
  t.row("sfondo uno,    1");
  t.row("sfondo due,    14350");
  t.row("sfondo tre,    0");
  t.row("ripetizione segnali 4 codici,    0    ,0");

  t.row("[curve]");
  for (int32_t at = 400;;) {
    at += 50 * draw.between(2, 5);
    const int32_t curve_length = 50 * draw.between(1, 5);
    if (at + curve_length > length - 1000) break;
    const int32_t roll = draw.between(0, 19);
    const int32_t curve_class = roll < 16 ? 1 + roll % 4 : roll < 19 ? 5 : 6;
    t.row(std::string("curva") + (draw.between(0, 1) == 0 ? "s" : "d") + n(curve_class) + ",  " + n(at) + ",  " +
          n(curve_length));
    at += curve_length;
  }

  t.row("[pendenze]");
  {
    // A walk of gradients that leans back toward the starting height.
    int32_t gradient = 0;
    double height = 0;
    int32_t at = 0;
    while (at < length - 500) {
      t.row("pendenza,  " + n(at) + ",   " + n(gradient));
      const int32_t next = at + 50 * draw.between(5, 8);
      height += gradient * (next - at) / 1000.0;
      const int32_t lean = height > 150 ? -2 : height < -150 ? 2 : 0;
      gradient = std::clamp(gradient + draw.between(-6, 6) + lean, -28, 28);
      at = next;
    }
  }

  t.row("[montagne]");
  const int32_t sections = std::min<int32_t>(kMountainSections, length / 12500);
  for (int32_t i = 0; i < sections; ++i) {
    const int32_t start = i * (length / sections) / 50 * 50 + 5000;
    t.row("montagna,   " + n(start) + ",  " + n(start + 50 * draw.between(8, 16)) + ",  12");
  }

  const int32_t blocks = length / kBlock;
  t.row("[cartelli]");
  for (int32_t b = 0; b < blocks; b += 2) {
    const int32_t speed = 5 * draw.between(16, 28);
    t.row("indicatori_vmax,  " + n(b * kBlock + 1900) + ",  " + n(speed) + ",  " + n(speed + 20) + ",  " +
          n(speed + 20) + ",  " + n(draw.between(0, 2)) + ",  ,  ,  ,  0");
  }
  t.row("[indicazioni]");
  const int32_t board_every = std::max<int32_t>(1, blocks / kSignBoards);
  for (int32_t i = 0; i < kSignBoards && i * board_every < blocks; ++i) {
    const int32_t at = i * board_every * kBlock + 600;
    t.row("cartello_indicatore,  " + n(at) + ",   " +
          (i % 3 == 0   ? "(Ponte)"
           : i % 3 == 1 ? "(Sottovia)"
                        : "(Cippo     )(Km " + n(500 + at / 1000) + "+000)"));
  }
  t.row("[fine]");
  return t.take();
}

std::string clock_fields(int32_t seconds) {
  return n(seconds / 3600) + ", " + n(seconds / 60 % 60) + ", " + n(seconds % 60);
}

std::string train_source(int32_t length, Draw& draw) {
  Text t;
  t.row("[generale]");
  t.row("numero vetture,    8");
  t.row("percentuale massa frenata,    110");
  t.row("sabbia,    100");
  t.row("orologio,    5              59             40 ");
  t.row("[aderenze]");
  for (int32_t at = 0; at < length - 1000; at += 20000) {
    t.row("aderenza,  " + n(at) + ",  " + n(at == 0 ? 100 : 5 * draw.between(14, 20)));
  }
  t.row("[vel_limite]");
  for (int32_t at = 0; at < length - 1000; at += 50 * draw.between(200, 400)) {
    t.row("velocita,  " + n(at) + ",  " + n(at == 0 ? 60 : 20 * draw.between(4, 8)));
  }

  const int32_t blocks = length / kBlock;
  t.row("[stazioni]");
  int32_t clock = 6 * 3600;
  for (int32_t b = 0, index = 0; b < blocks; b += kStationEvery, ++index) {
    const int32_t at = b * kBlock;
    // The last station ends the run; between, every third one is passed.
    const bool last = b + kStationEvery >= blocks;
    const bool passed = !last && index % 3 == 2;
    const int32_t departure = passed ? 0 : clock;
    t.row("stazione,  " + n(at) + ",  11,  400,  0,  0,  0,  1,  1,  0,  4,  1,  1,  " + n(passed || last ? 0 : 60) +
          ",  " + clock_fields(departure) + ", " + station_name(index));
    // Fifteen minutes to the next station, and a minute's stop.
    clock += 15 * 60 + (passed ? 0 : 60);
  }
  t.row("[rallentamenti]");
  for (int32_t b = kSlowdownFirst; b < blocks; b += kSlowdownEvery) {
    t.row("rallentamento,  " + n(b * kBlock + 2000) + ",  " + n(10 * draw.between(3, 6)) + ",  300, 1,  0,  0");
  }
  t.row("[segnali]");
  for (int32_t b = 0; b < blocks; ++b) {
    const int32_t left_type = draw.between(1, 2);
    t.row("segnale,  " + n(b * kBlock + 1200) + ",   " + n(left_type) + ", " + n(draw.between(3, 5)) + ", 1,  0, 0,  " +
          "  0,  0,0,0, " + n(left_type == 2 && draw.between(0, 3) == 0 ? 115 : 0));
  }
  t.row("[codici]");
  t.row("[fine]");
  return t.take();
}

}  // namespace

RouteSources long_route_sources(int32_t route_length_m) {
  if (route_length_m < 10 * kBlock || route_length_m > 1000000 || route_length_m % kBlock != 0) {
    throw std::invalid_argument("long_route_sources: a length from 25000 to 1000000 m, a multiple of 2500");
  }
  Draw draw(20240611u);
  RouteSources sources;
  sources.line = line_source(route_length_m, draw);
  sources.train = train_source(route_length_m, draw);
  return sources;
}

}  // namespace scenario::testing

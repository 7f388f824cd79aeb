#include "bench/long_route.h"

#include <cstdio>
#include <random>
#include <string_view>

namespace scenario::bench {
namespace {

// Every 25 km the same furniture: a station, five signals, a speed-limit board,
// a sign board, a mountain stretch and, now and then, a slowdown, each on a
// cell of its own.
constexpr int32_t kBlockLength = 25000;
constexpr int kBlocks = 40;
constexpr int kSignBoards = 30;  // 80 - 30 leaves table records 1 to 49 for the 40 stations

class SourceText {
 public:
  // One line, formatted as printf does, ended by CR LF.
  template <typename First, typename... Rest>
  void add(const char* format, First first, Rest... rest) {
    char line[160];
    const int length = std::snprintf(line, sizeof line, format, first, rest...);
    text_.append(line, static_cast<size_t>(length));
    text_ += "\r\n";
  }
  void add(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string line_source() {
  // std::mt19937's sequence is fixed by the standard; the distributions are not, so none is used.
  std::mt19937 random(20261211);
  const auto pick = [&random](uint32_t n) { return static_cast<int32_t>(random() % n); };

  SourceText out;
  out.add("[generale]");
  out.add("lunghezza percorso,    %d", kLongRouteLength);
  out.add("progressiva chilometrica uno,    0,    250000,    1");
  out.add("progressiva chilometrica due,    500000,    750000,    1");
  out.add("progressiva chilometrica tre,    0,    0,    0");
  out.add("sfondo uno,    1");
  out.add("sfondo due,    14350");
  out.add("sfondo tre,    0");
  out.add("ripetizione segnali 4 codici,    0    ,0");

  // Curves of every class and both hands, 50 to 250 m long, 100 to 280 m apart.
  out.add("[curve]");
  for (int32_t start = 200;;) {
    const int32_t length = 50 + 10 * pick(21);
    if (start + length > 998000) break;
    // One draw a statement: the order of a call's arguments is the compiler's.
    const int32_t curve_class = 1 + pick(6);
    const char hand = pick(2) == 0 ? 's' : 'd';
    out.add("curva%c%d,  %d,  %d", hand, curve_class, start, length);
    start += length + 100 + 10 * pick(19);
  }

  out.add("[pendenze]");
  for (int32_t i = 0; i < 3000; ++i) out.add("pendenza,  %d,   %d", 330 * i, pick(61) - 30);

  out.add("[montagne]");
  for (int b = 0; b < kBlocks; ++b) {
    out.add("montagna,   %d,  %d,  12", b * kBlockLength + 15000, b * kBlockLength + 15500);
  }
  out.add("[cartelli]");
  for (int b = 0; b < kBlocks; ++b) {
    out.add("indicatori_vmax,  %d,  60,  80,  80,  0,  ,  ,  ,  0", b * kBlockLength + 5000);
  }
  out.add("[indicazioni]");
  for (int b = 0; b < kSignBoards; ++b) {
    out.add("cartello_indicatore,  %d,   (Cippo     )(Km %d)", b * kBlockLength + 10000, 25 * b + 10);
  }
  out.add("[fine]");
  return out.take();
}

std::string train_source() {
  SourceText out;
  out.add("[generale]");
  out.add("numero vetture,    6");
  out.add("percentuale massa frenata,    110");
  out.add("sabbia,    100");
  out.add("orologio,    6              0             0 ");

  out.add("[aderenze]");
  for (int32_t position = 0, i = 0; position < 995000; position += 5000, ++i) {
    out.add("aderenza,   %d,    %d", position, 70 + 10 * (i % 4));
  }
  out.add("[vel_limite]");
  out.add("velocita,       0,    30");
  for (int32_t position = 12500, i = 0; position < 995000; position += 12500, ++i) {
    out.add("velocita,   %d,    %d", position, 60 + 5 * (i % 17));
  }

  // A stop every 25 km, ten minutes apart; the train ends at the last one.
  out.add("[stazioni]");
  for (int b = 0; b < kBlocks; ++b) {
    const int minutes = 6 * 60 + 10 * b;
    const bool last = b == kBlocks - 1;
    out.add("stazione,   %d, 11,  400,  0, 0, 0,  1,1,0,  4,1,1,   %d,  %d,%d, 0, STAZIONE %02d",
            b * kBlockLength + 1000, last ? 0 : 60, minutes / 60, minutes % 60, b + 1);
  }
  out.add("[rallentamenti]");
  for (int b = 4; b < kBlocks; b += 8) out.add("rallentamento,   %d,    30,  150, 1,  0,  0", b * kBlockLength + 20000);
  out.add("[segnali]");
  for (int b = 0; b < kBlocks; ++b) {
    for (int32_t offset : {3000, 8000, 13000, 18000, 23000}) {
      out.add("segnale,   %d,   %d, 4, 1,  0, 0,    0,  0,0,0, 0", b * kBlockLength + offset, offset == 18000 ? 2 : 1);
    }
  }
  out.add("[codici]");
  out.add("[fine]");
  return out.take();
}

}  // namespace

LongRouteSources long_route_sources() { return {line_source(), train_source()}; }

}  // namespace scenario::bench

#include "source/line_data.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "source/built_in_scenario.h"

namespace scenario {
namespace {

namespace names = built_in;

constexpr std::string_view kGeneralRows[] = {
    "lunghezza percorso,    43000",
    "progressiva chilometrica uno,    0,    137350,    1",
    "progressiva chilometrica due,    12650,    112100,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "sfondo uno,    1",
    "sfondo due,    14350",
    "sfondo tre,    0",
    "ripetizione segnali 4 codici,    0    ,0",
};

// Side letter (s left, d right), class digit (1 gentlest to 6 sharpest),
// start and length. Curves that abut form compound curves, easing the train
// into and out of the sharper ones.
constexpr std::string_view kCurveRows[] = {
    // Out of the terminal and down the valley side to Pianverde.
    "curvas5,  300,  100",
    "curvas4,  400,  150",
    "curvad3,  900,  100",
    "curvad4,  1000,  750",
    "curvas4,  1950,  300",
    "curvas5,  2250,  200",
    "curvas4,  2450,  100",

    // Pianverde lies on a gentle curve; then the climb through the Colle Serrato tunnel
    // and round the sharp bend above the valley.
    "curvas2,  2750,  400",
    "curvad4,  3350,  150",
    "curvad5,  3500,  250",
    "curvad4,  3750,  100",
    "curvas4,  4150,  250",
    "curvas5,  4400,  300",
    "curvas4,  4700,  200",
    "curvad4,  5650,  150",
    "curvad6,  5800,  450",
    "curvad5,  6250,  50",
    "curvad3,  6300,  50",
    "curvas4,  6350,  100",
    "curvas5,  6600,  350",
    "curvas4,  6950,  150",
    "curvad5,  7300,  250",
    "curvas3,  7900,  200",
    "curvas4,  8100,  250",
    "curvad5,  8550,  200",
    "curvas4,  9000,  450",
    "curvad4,  9650,  300",
    "curvad5,  9950,  150",
    "curvad4,  10100,  100",
    "curvas4,  10450,  350",
    "curvas5,  11050,  250",
    "curvas4,  11300,  150",
    "curvad3,  11700,  300",
    "curvas3,  12000,  200",

    // Beyond the Castelmoro junction: over two bridges and down through rocky country to Fontanile.
    "curvad4,  12950,  200",
    "curvad5,  13150,  150",
    "curvas5,  13850,  250",
    "curvad5,  14350,  250",
    "curvad4,  14600,  200",
    "curvas4,  15000,  300",
    "curvas5,  15300,  250",
    "curvas4,  15550,  100",
    "curvad4,  15800,  150",
    "curvas4,  16400,  450",
    "curvad3,  16900,  250",

    // Fontanile to Torresecca, over the bridge and through the last mountain stretch.
    "curvas4,  17900,  250",
    "curvad4,  18450,  300",
    "curvad5,  18750,  100",
    "curvad2,  19150,  50",
    "curvad1,  19200,  50",
    "curvas4,  19750,  400",
    "curvas3,  20150,  150",
    "curvad4,  20650,  350",
    "curvad5,  21000,  150",
    "curvad4,  21150,  150",
    "curvas4,  21550,  300",

    // Across the plain to Borgonero, entered by a sharp right-hand curve.
    "curvas4,  22700,  450",
    "curvad4,  23300,  250",
    "curvas3,  23850,  250",
    "curvad5,  24300,  150",
    "curvad6,  24450,  150",

    // Through the hills to Arginella, which lies on a gentle curve.
    "curvas4,  24950,  500",
    "curvad4,  25500,  250",
    "curvas4,  26000,  400",
    "curvas5,  26400,  150",
    "curvad5,  26900,  150",
    "curvad5,  27950,  150",
    "curvad4,  28100,  150",
    "curvas4,  28700,  550",
    "curvad4,  29350,  200",
    "curvad5,  29550,  150",
    "curvas4,  30000,  450",
    "curvas3,  30450,  150",
    "curvad4,  30750,  300",
    "curvas4,  31450,  250",
    "curvas5,  31700,  200",
    "curvas4,  31900,  100",
    "curvad3,  32250,  300",
    "curvad2,  32800,  250",

    // Arginella to Morlavesa: long easy curves, double track where the other line joins.
    "curvad4,  34000,  350",
    "curvad5,  34350,  200",
    "curvas4,  34800,  250",
    "curvad4,  35350,  300",
    "curvas4,  36050,  300",
    "curvas5,  36350,  150",
    "curvas4,  36500,  100",
    "curvad4,  36800,  550",
    "curvad3,  37350,  900",
    "curvas4,  38550,  600",
    "curvad3,  39200,  250",
    "curvas3,  39950,  400",
    "curvad4,  40600,  200",
    "curvas5,  41500,  200",
};

// Per mille from the position on; negative falls.
constexpr std::string_view kGradientRows[] = {
    // Level at the terminal, a short rise, then down to Pianverde.
    "pendenza,   0,    0",
    "pendenza,  300,   3",
    "pendenza,  650,   -12",
    "pendenza,  800,   -20",
    "pendenza,  1000,   -25",
    "pendenza,  1450,   -22",
    "pendenza,  1650,   -25",
    "pendenza,  1900,   -18",
    "pendenza,  2150,   -24",
    "pendenza,  2450,   -15",
    "pendenza,  2600,   -6",

    // Level through Pianverde, then the climb: 30 per mille through the tunnel, a little easier
    // round the sharp bend, and easing into Castelmoro.
    "pendenza,  2700,   0",
    "pendenza,  3200,   12",
    "pendenza,  3350,   22",
    "pendenza,  3500,   30",
    "pendenza,  5150,   27",
    "pendenza,  5600,   28",
    "pendenza,  5800,   23",
    "pendenza,  6300,   28",
    "pendenza,  7050,   29",
    "pendenza,  7500,   25",
    "pendenza,  7850,   29",
    "pendenza,  8350,   27",
    "pendenza,  8800,   20",
    "pendenza,  9200,   26",
    "pendenza,  9650,   29",
    "pendenza,  10050,   24",
    "pendenza,  10900,   22",
    "pendenza,  11300,   28",
    "pendenza,  11650,   25",
    "pendenza,  11950,   16",
    "pendenza,  12200,   6",
    "pendenza,  12400,   2",

    // Down from Castelmoro to Fontanile.
    "pendenza,  12800,   -4",
    "pendenza,  13050,   -14",
    "pendenza,  13400,   -19",
    "pendenza,  13750,   -22",
    "pendenza,  14300,   -21",
    "pendenza,  14650,   -12",
    "pendenza,  14950,   -18",
    "pendenza,  15350,   -23",
    "pendenza,  15700,   -15",
    "pendenza,  16050,   -8",
    "pendenza,  16800,   -10",
    "pendenza,  17150,   -4",
    "pendenza,  17350,   -1",

    // Fontanile to Torresecca, with a hump over the last mountain stretch.
    "pendenza,  17750,   -9",
    "pendenza,  18100,   -15",
    "pendenza,  18500,   -20",
    "pendenza,  19150,   -6",
    "pendenza,  19600,   -14",
    "pendenza,  20000,   -18",
    "pendenza,  20400,   -11",
    "pendenza,  20650,   4",
    "pendenza,  21000,   8",
    "pendenza,  21350,   -7",
    "pendenza,  21700,   -12",
    "pendenza,  22000,   -3",
    "pendenza,  22150,   0",

    // The plain to Borgonero, then hills to Arginella.
    "pendenza,  22450,   2",
    "pendenza,  22800,   -5",
    "pendenza,  23650,   -2",
    "pendenza,  24350,   -3",
    "pendenza,  24550,   1",
    "pendenza,  24850,   -6",
    "pendenza,  25200,   -11",
    "pendenza,  25600,   -4",
    "pendenza,  26000,   7",
    "pendenza,  26450,   13",
    "pendenza,  27300,   15",
    "pendenza,  27700,   6",
    "pendenza,  28400,   -10",
    "pendenza,  28850,   5",
    "pendenza,  29250,   12",
    "pendenza,  29550,   3",
    "pendenza,  29800,   -14",
    "pendenza,  30200,   -19",
    "pendenza,  30650,   -9",
    "pendenza,  31000,   -15",
    "pendenza,  31850,   -11",
    "pendenza,  32250,   -4",
    "pendenza,  32750,   -1",

    // Gentle undulations to the level at Morlavesa.
    "pendenza,  33150,   4",
    "pendenza,  33600,   8",
    "pendenza,  34000,   2",
    "pendenza,  34450,   -5",
    "pendenza,  34900,   -9",
    "pendenza,  35800,   5",
    "pendenza,  36250,   10",
    "pendenza,  36700,   4",
    "pendenza,  37200,   -2",
    "pendenza,  37700,   -7",
    "pendenza,  38150,   -12",
    "pendenza,  39050,   -1",
    "pendenza,  39500,   3",
    "pendenza,  39900,   -4",
    "pendenza,  40350,   2",
    "pendenza,  40800,   -3",
    "pendenza,  41300,   1",
    "pendenza,  41700,   -2",
    "pendenza,  42200,   0",
};

// Stretches of mountain scenery; type 12 draws them with section markers.
constexpr std::string_view kMountainRows[] = {
    "montagna,   1100,  1550,  12",   "montagna,   2250,  2450,  12",   "montagna,   3500,  4050,  12",
    "montagna,   14350,  14600,  12", "montagna,   15350,  15550,  12", "montagna,   20600,  21350,  12",
    "montagna,   29350,  29750,  12",
};

constexpr std::string_view kSpeedBoardRows[] = {
    "indicatori_vmax,  900,  60,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  4100,  75,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  12950,  80,  85,  85,  0,  80,  85,  85,  0",
};

// "MORLAVESA" as a board spells it: "Morlavesa".
std::string board_spelling(std::string_view name) {
  std::string spelt(name);
  bool word_start = true;
  for (char& c : spelt) {
    const auto byte = static_cast<unsigned char>(c);
    if (!word_start) c = static_cast<char>(std::tolower(byte));
    word_start = c == ' ';
  }
  return spelt;
}

// One group in parentheses per text line of the board, each filled with
// trailing blanks to the width of the longest.
std::string board_text(std::initializer_list<std::string_view> groups) {
  size_t width = 0;
  for (std::string_view group : groups) width = std::max(width, group.size());
  std::string text;
  for (std::string_view group : groups) {
    text += '(';
    text += group;
    text.append(width - group.size(), ' ');
    text += ')';
  }
  return text;
}

std::string sign_board_row(int position, std::string_view text) {
  return "cartello_indicatore,  " + std::to_string(position) + ",   " + std::string(text);
}

std::vector<std::string> sign_board_rows() {
  return {
      "cartello_indicatore,  350,   (Scalo         )(VALDORENA C.le)",
      "cartello_indicatore,  850,   (F)",
      sign_board_row(3450, board_text({"Galleria", names::kTunnel})),
      "cartello_indicatore,  5100,   (Sottovia)",
      "cartello_indicatore,  8900,   (Zona       )(Industriale)",
      "cartello_indicatore,  10400,   (Sottovia)",
      "cartello_indicatore,  10900,   (Cavalcavia)",
      // Castelmoro junction: the main line runs on to Morlavesa.
      sign_board_row(12850,
                     board_text({"Diramazione", board_spelling(names::kStations.back().name), names::kJunctionBranch})),
      "cartello_indicatore,  13800,   (Cippo     )(Km 125+929)",
      "cartello_indicatore,  14100,   (Ponte)",
      "cartello_indicatore,  14250,   (Fine )(Ponte)",
      "cartello_indicatore,  16000,   (Ponte)",
      "cartello_indicatore,  16200,   (Fine )(Ponte)",
      "cartello_indicatore,  16300,   (P.L.A.    )(Km 128+484)",
      "cartello_indicatore,  18200,   (P.L.      )(Km 130+304)",
      "cartello_indicatore,  19050,   (Sottovia  )(Km 131+273)",
      "cartello_indicatore,  19150,   (Ponte)",
      "cartello_indicatore,  19600,   (Fine )(Ponte)",
      "cartello_indicatore,  20500,   (F)",
      "cartello_indicatore,  22550,   (P.L.      )(Km 134+659)",
      "cartello_indicatore,  23100,   (P.L.      )(Km 135+161)",
      "cartello_indicatore,  24150,   (P.L.      )(Km 136+217)",
      "cartello_indicatore,  24950,   (P.L.      )(Km 137+061)",
      "cartello_indicatore,  25850,   (P.L.A.    )(Km 137+954)",
      "cartello_indicatore,  26200,   (F)",
      "cartello_indicatore,  28250,   (Cippo     )(Km 140+342)",
      "cartello_indicatore,  32350,   (Sottovia)",
      "cartello_indicatore,  32700,   (P.L.      )(Km 144+802)",
      "cartello_indicatore,  35100,   (Sottovia  )(Km 147+252)",
      "cartello_indicatore,  37650,   (Sottovia  )(Km 149+835)",
      // The line the train goes on to joins here; double track from here to Morlavesa.
      sign_board_row(39700, board_text({"Confluenza", "Valdorena", board_spelling(names::kDestination)})),
      "cartello_indicatore,  39750,   (Sottovia)",
      "cartello_indicatore,  39850,   (Cippo     )(Km 151+997)",
      "cartello_indicatore,  41050,   (F)",
      "cartello_indicatore,  41200,   (P.L.      )(Km 153+284)",
  };
}

template <typename Row>
void add_section(LineBuffer& lines, std::string_view header, std::span<const Row> rows) {
  lines.add(header);
  for (const Row& row : rows) lines.add(row);
}

}  // namespace

LineBuffer line_source_lines() {
  LineBuffer lines;
  add_section<std::string_view>(lines, "[generale]", kGeneralRows);
  add_section<std::string_view>(lines, "[curve]", kCurveRows);
  add_section<std::string_view>(lines, "[pendenze]", kGradientRows);
  add_section<std::string_view>(lines, "[montagne]", kMountainRows);
  add_section<std::string_view>(lines, "[cartelli]", kSpeedBoardRows);
  const std::vector<std::string> sign_boards = sign_board_rows();
  add_section<std::string>(lines, "[indicazioni]", sign_boards);
  lines.add("[fine]");
  lines.close();
  return lines;
}

}  // namespace scenario

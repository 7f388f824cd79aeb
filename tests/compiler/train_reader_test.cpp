#include "compiler/train_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "source/text_writer.h"
#include "source/train_data.h"

namespace scenario {
namespace {

// One train source read into a route whose cells the line half would have created.
class TrainSource {
 public:
  explicit TrainSource(int32_t route_length = 43000) { model_.create_cells(route_length); }

  // Each line ends with a carriage return and a line feed.
  void write(const std::vector<std::string>& lines) {
    text_.clear();
    for (const std::string& line : lines) text_ += line + "\r\n";
  }
  void write_text(std::string text) { text_ = std::move(text); }
  void read(int32_t sign_floor = kSignFloorStart) { read_train_source(text_, sign_floor, model_, error_); }

  RouteModel& model() { return model_; }
  BuildError& error() { return error_; }
  Cell& cell(int index) { return model_.cells.at(static_cast<size_t>(index)); }
  TableRecord& record(int index) { return model_.table.at(static_cast<size_t>(index)); }

 private:
  std::string text_;
  RouteModel model_;
  BuildError error_;
};

struct Range {
  int first;
  int last;
  int value;
};

// Every cell of each range holds its value in the chosen field; reports the first cell that does not.
template <typename Field>
void expect_ranges(TrainSource& source, Field field, const std::vector<Range>& ranges) {
  for (const Range& r : ranges) {
    for (int i = r.first; i <= r.last; ++i) {
      const int actual = source.cell(i).*field;
      if (actual != r.value) {
        ADD_FAILURE() << "cell " << i << " holds " << actual << ", expected " << r.value << " for cells " << r.first
                      << " to " << r.last;
        break;
      }
    }
  }
}

std::vector<int> approach_codes(TrainSource& source, int first, int last) {
  std::vector<int> codes;
  for (int i = first; i <= last; ++i) codes.push_back(source.cell(i).approach_code);
  return codes;
}

// The built-in train, with the adhesion list shortened to its quoted rows.
const std::vector<std::string> kBuiltInTrain = {
    "[generale]",
    "numero vetture,    4",
    "percentuale massa frenata,    105",
    "sabbia,    100",
    "orologio,    13              9             40 ",
    "[aderenze]",
    "aderenza,   0,    100",
    "aderenza,    1050,    70",
    "aderenza,    1700,    80",
    "aderenza,    1900,    90",
    "aderenza,    2600,   100",
    "aderenza,   22050,    60",
    "aderenza,   41750,   100",
    "[vel_limite]",
    "velocita,       0,    30",
    "velocita,     900,    80",
    "velocita,    3100,    60",
    "velocita,    4050,    80",
    "velocita,   12950,    85",
    "[stazioni]",
    "stazione,       0,  7,  300,  1, 0, 0,  4,1,0,  2,1,1,    1,  13,10, 0, VALDORENA C.le",
    "stazione,    2950, 12,  500,  0, 0, 0,  1,1,0,  2,4,1,   60,  13,16, 0, PRIMA FERMATA",
    "stazione,   12600, 11,  400,  0, 0, 0,  1,1,0,  4,1,1,   60,  13,27, 0, SECONDA",
    "stazione,   17550, 22,  400,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, TERZA",
    "stazione,   22300, 21,  300,  0, 0, 1,  0,0,0,  4,1,1,   60,  13,37, 0, QUARTA",
    "stazione,   24700, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   60,  13,41, 0, QUINTA",
    "stazione,   32950, 21,  400,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, SESTA",
    "stazione,   42150, 11,  600,  1, 0, 0,  1,1,0,  2,1,1,    0,  13,58, 0, MORLAVESA",
    "[rallentamenti]",
    "rallentamento,   22050,    30,  150, 1,  0,  0",
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
};

constexpr int kBuiltInSignFloor = 45;  // 35 sign board texts from the built-in line

// The built-in train as this file spells it, and as the builder writes it.
class BuiltInTrain : public ::testing::TestWithParam<bool> {};

TEST_P(BuiltInTrain, Compiles) {
  TrainSource source;
  if (GetParam()) {
    source.write_text(render_text_file(train_source_lines()));
  } else {
    source.write(kBuiltInTrain);
  }
  source.read(kBuiltInSignFloor);

  EXPECT_EQ(source.error().number(), 0);

  EXPECT_EQ(source.record(kTrainRecord).position, 4);
  EXPECT_EQ(source.record(kTrainRecord).start, 105);
  const TableRecord& train = source.record(kTrainNumberRecord);
  EXPECT_EQ(train.word1, 100);
  EXPECT_EQ((std::vector<int>{train.word3, train.word4, train.word5}), (std::vector<int>{13, 9, 40}));

  expect_ranges(source, &Cell::speed_limit,
                {{0, 17, 6}, {18, 61, 16}, {62, 80, 12}, {81, 258, 16}, {259, 997, 17}, {998, 1000, 0}});
  // The cells that the quoted adhesion rows decide: the first five, the only 60 and the last.
  expect_ranges(
      source, &Cell::adhesion,
      {{0, 20, 100}, {21, 33, 70}, {34, 37, 80}, {38, 51, 90}, {441, 441, 60}, {835, 997, 100}, {998, 1000, 0}});

  const TableRecord& first = source.record(1);
  EXPECT_EQ(first.kind, 7);
  EXPECT_EQ(first.start, -300);
  EXPECT_EQ(first.end, 300);
  EXPECT_EQ(first.position, 0);
  EXPECT_EQ(first.text, "VALDORENA C.le");
  EXPECT_EQ(first.time, (13 * 60 + 10) * 60);
  EXPECT_EQ((std::vector<int>{first.flag, first.word1, first.word2, first.byte1, first.word3, first.word4, first.word5,
                              first.byte2, first.byte3, first.byte4}),
            (std::vector<int>{1, 4, 1, 0, 2, 1, 1, 1, 0, 0}));
  EXPECT_EQ(source.cell(5).marker, kStopPoint);
  EXPECT_EQ(source.cell(5).value1, 1);
  EXPECT_EQ(approach_codes(source, 1, 5), (std::vector<int>{0, 83, 82, 81, 0}));

  const TableRecord& last = source.record(8);
  EXPECT_EQ(last.start, 41850);
  EXPECT_EQ(last.end, 42450);
  EXPECT_EQ(last.text, "MORLAVESA");
  EXPECT_EQ(last.time, (13 * 60 + 58) * 60);
  EXPECT_EQ(source.cell(848).marker, kStopPoint);
  EXPECT_EQ(source.cell(848).value1, 8);
  EXPECT_EQ(approach_codes(source, 843, 848), (std::vector<int>{0, 84, 83, 82, 81, 0}));
  EXPECT_EQ(source.record(9).position, 0);  // no ninth station

  EXPECT_EQ(source.cell(20).marker, kSignal);
  EXPECT_EQ(approach_codes(source, 12, 18), (std::vector<int>{34, 0, 33, 0, 32, 0, 31}));
  EXPECT_EQ(source.cell(647).marker, kSignal);
  EXPECT_EQ(source.cell(647).signal_time, 115);
  EXPECT_EQ(source.cell(820).marker, kSignal);
  EXPECT_EQ(source.cell(820).value4, 8);
  EXPECT_EQ(source.cell(418).marker, kSlowdownWarning);
  EXPECT_EQ(source.cell(442).marker, kSlowdownStart);
  EXPECT_EQ(source.cell(445).marker, kSlowdownEnd);
  int signals = 0;
  for (const Cell& cell : source.model().cells) signals += cell.marker == kSignal;
  EXPECT_EQ(signals, 13);
}

INSTANTIATE_TEST_SUITE_P(TrainReader, BuiltInTrain, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("AsWritten") : std::string("Fixture");
                         });

TEST(TrainReader, GeneralRecordsAndKeywordRules) {
  TrainSource source;
  source.write({
      "stazione, this field stands before the section and is never read", "[GENERALE]", "-----------",
      "NUMERO Vetture,    6",
      "massa, 77",                             // selects nothing: 77 is then read as a keyword field
      "-- comment,-- comment,-- sabbia, 250",  // a third hyphen field in a row is a keyword
      "orologio,    13              9             40 ",
      "vetture",  // the very last field is not interpreted
  });
  source.read();
  EXPECT_EQ(source.error().number(), 0);
  EXPECT_EQ(source.record(kTrainRecord).position, 6);
  EXPECT_EQ(source.record(kTrainRecord).start, 0);
  const TableRecord& train = source.record(kTrainNumberRecord);
  EXPECT_EQ(train.word1, 250);
  EXPECT_EQ((std::vector<int>{train.word3, train.word4, train.word5}), (std::vector<int>{13, 9, 40}));
  EXPECT_EQ(source.record(1).position, 0);
}

TEST(TrainReader, WithoutGeneraleNothingIsReadButTheEndOfReadingRuns) {
  TrainSource source;
  source.write({"numero vetture, 4", "velocita, 0, 80", "[fine]"});
  source.model().table[kKmReferenceTwo].end = 1025;
  source.read();
  EXPECT_EQ(source.record(kTrainRecord).position, 0);
  expect_ranges(source, &Cell::speed_limit, {{0, 1000, 0}});
  EXPECT_EQ(source.error().number(), 2);
}

TEST(TrainReader, SpeedAndAdhesionProfiles) {
  struct Case {
    const char* what;
    std::vector<std::string> records;
    std::vector<Range> speed;
    std::vector<Range> adhesion;
  };
  const Case cases[] = {
      {"a record at the position of the one before writes one cell with the older speed",
       {"velocita, 0, 30", "velocita, 500, 80", "velocita, 500, 60"},
       {{0, 9, 6}, {10, 10, 16}, {11, 997, 12}, {998, 1000, 0}},
       {{0, 1000, 0}}},
      {"one keyword, both kinds: the speed's values first",
       {"velocita aderenza, 0, 30, 0, 90", "aderenza velocita, 100, 85, 200, 100"},
       {{0, 1, 6}, {2, 997, 17}, {998, 1000, 0}},
       {{0, 3, 90}, {4, 997, 100}, {998, 1000, 0}}},
      {"before the first record the profiles are 0",
       {"velocita, 1000, 30", "aderenza, 500, 80"},
       {{0, 19, 0}, {20, 997, 6}},
       {{0, 9, 0}, {10, 997, 80}}},
      {"speeds round to the nearest 5 km/h; 1277 km/h still fits",
       {"velocita, 0, 12", "velocita, 100, 13", "velocita, 200, 17", "velocita, 300, 1277", "velocita, 400, -2"},
       {{0, 1, 2}, {2, 3, 3}, {4, 5, 3}, {6, 7, 255}, {8, 997, 0}},
       {}},
      {"adhesion keeps its low 8 bits", {"aderenza, 0, 300"}, {}, {{0, 997, 44}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TrainSource source;
    std::vector<std::string> lines = {"[generale]"};
    lines.insert(lines.end(), c.records.begin(), c.records.end());
    lines.push_back("[fine]");
    source.write(lines);
    source.read();
    EXPECT_EQ(source.error().number(), 0);
    expect_ranges(source, &Cell::speed_limit, c.speed);
    expect_ranges(source, &Cell::adhesion, c.adhesion);
  }
}

TEST(TrainReader, ProfileCursorsNearTheLastCell) {
  // Route length 0: cells 0 to 140. Records at 6900 reach cell 138; each
  // repeated record moves the cursor on by one cell.
  TrainSource speeds(0);
  speeds.write({"[generale]", "velocita, 6900, 80", "velocita, 6900, 85", "velocita, 6900, 90", "velocita, 6900, 95",
                "velocita, 6900, 100", "[fine]"});
  speeds.read();
  // The speed loop stops before the last cell; the tail writes it once.
  expect_ranges(speeds, &Cell::speed_limit, {{0, 137, 0}, {138, 138, 16}, {139, 139, 17}, {140, 140, 20}});

  TrainSource three(0);
  three.write({"[generale]", "aderenza, 6900, 80", "aderenza, 6900, 85", "aderenza, 6900, 90", "[fine]"});
  three.read();
  expect_ranges(three, &Cell::adhesion, {{138, 138, 80}, {139, 139, 85}, {140, 140, 90}});

  // A fourth would put the tail past the last cell.
  TrainSource four(0);
  four.write(
      {"[generale]", "aderenza, 6900, 80", "aderenza, 6900, 85", "aderenza, 6900, 90", "aderenza, 6900, 95", "[fine]"});
  EXPECT_THROW(four.read(), InputError);
}

TEST(TrainReader, CodePoints) {
  TrainSource source;
  source.cell(30) = Cell{kMountainMarker, 9, 0, 0, 0, 0, 0, 12, 0, 0, 0};
  source.write({"[generale]", "segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "abbattimento, 1000, 40",
                "abbattimento, 1500, 0", "abbattimento, 2000, -3", "abbattimento, 2525, 70000", "[fine]"});
  source.read();
  EXPECT_EQ(source.error().number(), 0);
  EXPECT_EQ(source.cell(21).marker, kSignal);  // the signal stands in the cell after its position
  EXPECT_EQ(source.cell(20).marker, kCodePoint);
  EXPECT_EQ(source.cell(20).value1, 40);
  EXPECT_EQ(source.cell(30).marker, kCodeOffPoint);
  EXPECT_EQ(source.cell(30).value1, 9);
  EXPECT_EQ(source.cell(40).marker, kCodeOffPoint);
  EXPECT_EQ(source.cell(50).marker, kCodePoint);  // 50.5 goes to the even neighbour
  EXPECT_EQ(source.cell(50).value1, 70000 - 65536);
}

TEST(TrainReader, StationExtentsStopPointsAndApproachCodes) {
  struct Case {
    const char* row;  // the station's numbers after the position, kind and length columns
    int32_t start, end;
    int stop_cell;              // 0: none
    std::vector<int> approach;  // codes in the four cells before the stop cell, nearest first
    int byte3, byte4;
  };
  const Case cases[] = {
      {"stazione, 10000, 5, 400, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, A", 9600, 10150, 202, {0, 0, 0, 0}, 0, 0},
      {"stazione, 10000, 7, 300, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, A", 9700, 10300, 205, {81, 82, 83, 84}, 0, 0},
      {"stazione, 10000, 11, 400, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, A", 9800, 10250, 204, {81, 82, 83, 84}, 1, 0},
      {"stazione, 10000, 11, 700, 0,1,0, 0,0,0,0,0,0,0, 0,0,0, A", 9650, 10350, 206, {81, 82, 83, 84}, 0, 1},
      {"stazione, 10000, 24, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A", 9950, 10050, 200, {81, 82, 83, 84}, 0, 0},
      {"stazione, 10000, 25, 600, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, A", 9700, 10350, 0, {0, 0, 0, 0}, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    TrainSource source;
    source.cell(206).marker = kSignal;  // a stop point is written whatever the cell holds
    source.write({"[generale]", "stazione, 0, 25, 0, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, FIRST", c.row, "[fine]"});
    source.read();
    EXPECT_EQ(source.error().number(), 0);
    const TableRecord& station = source.record(2);
    EXPECT_EQ(station.start, c.start);
    EXPECT_EQ(station.end, c.end);
    EXPECT_EQ(station.byte3, c.byte3);
    EXPECT_EQ(station.byte4, c.byte4);
    int stop_points = 0;
    for (const Cell& cell : source.model().cells) stop_points += cell.marker == kStopPoint;
    EXPECT_EQ(stop_points, c.stop_cell != 0 ? 1 : 0);
    if (c.stop_cell != 0) {
      EXPECT_EQ(source.cell(c.stop_cell).marker, kStopPoint);
      EXPECT_EQ(source.cell(c.stop_cell).value1, 2);
      const std::vector<int> approach = approach_codes(source, c.stop_cell - 4, c.stop_cell - 1);
      EXPECT_EQ((std::vector<int>{approach.rbegin(), approach.rend()}), c.approach);
    }
  }
  // The first station keeps neither byte 3 nor byte 4.
  TrainSource first;
  first.write({"[generale]", "stazione, 10000, 11, 600, 0,1,1, 0,0,0,0,0,0,0, 0,0,0, A", "[fine]"});
  first.read();
  EXPECT_EQ(first.record(1).end, 10350);
  EXPECT_EQ(first.record(1).byte3, 0);
  EXPECT_EQ(first.record(1).byte4, 0);
}

TEST(TrainReader, StationErrors) {
  struct Case {
    const char* what;
    std::vector<std::string> stations;
    int32_t error;
    int32_t position;  // -1: the position is left as it was
  };
  const Case cases[] = {
      {"position not a multiple of 50", {"stazione, 10025, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A"}, 8, 10025},
      {"length not a multiple of 100", {"stazione, 10000, 11, 450, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A"}, 9, 10000},
      {"stop point at cell 1", {"stazione, 0, 7, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A"}, 24, -1},
      {"stop point at cell 0", {"stazione, 0, 11, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A"}, 24, -1},
      {"stations 300 m apart",
       {"stazione, 10000, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A",
        "stazione, 10700, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, B"},
       22,
       10700},
      {"a station placed out of order",
       {"stazione, 10000, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A",
        "stazione, 5000, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, B"},
       22,
       5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TrainSource source;
    source.error().position = 12345;
    std::vector<std::string> lines = {"[generale]", "velocita, 0, 30"};
    lines.insert(lines.end(), c.stations.begin(), c.stations.end());
    lines.insert(lines.end(), {"numero vetture, 4", "velocita, 2000, 80", "[fine]"});
    source.write(lines);
    source.read();
    EXPECT_EQ(source.error().number(), c.error);
    EXPECT_EQ(source.error().position, c.position < 0 ? 12345 : c.position);
    // Reading stopped there: no later record, no profile tail.
    EXPECT_EQ(source.record(kTrainRecord).position, 0);
    EXPECT_EQ(source.cell(100).speed_limit, 0);
  }

  // 350 m of clear track between two stations is enough.
  TrainSource spaced;
  spaced.write({"[generale]", "stazione, 10000, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A",
                "stazione, 10750, 11, 400, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, B", "[fine]"});
  spaced.read();
  EXPECT_EQ(spaced.error().number(), 0);
  EXPECT_EQ(spaced.record(2).start, 10550);
}

// Stations 450 m apart, each one cell long.
std::vector<std::string> stations(int count) {
  std::vector<std::string> lines = {"[generale]"};
  for (int i = 0; i < count; ++i) {
    lines.push_back("stazione, " + std::to_string(1000 + 450 * i) + ", 11, 100, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, S" +
                    std::to_string(i + 1));
  }
  lines.push_back("[fine]");
  return lines;
}

TEST(TrainReader, StationsStayBelowTheSignBoardTexts) {
  struct Case {
    int32_t sign_floor;
    int fitting;  // stations accepted; one more gives error 10
  };
  for (const Case c : {Case{80, 78}, Case{kBuiltInSignFloor, 43}}) {
    SCOPED_TRACE(c.sign_floor);
    TrainSource fits;
    fits.write(stations(c.fitting));
    fits.read(c.sign_floor);
    EXPECT_EQ(fits.error().number(), 0);
    EXPECT_EQ(fits.record(c.fitting).text, "S" + std::to_string(c.fitting));

    TrainSource one_more;
    one_more.error().position = 12345;
    one_more.record(c.sign_floor).text = "(Ponte)";
    one_more.write(stations(c.fitting + 1));
    one_more.read(c.sign_floor);
    EXPECT_EQ(one_more.error().number(), 10);
    EXPECT_EQ(one_more.error().position, 12345);
    // The refused station is in place; the sign board text above it is not touched.
    const int last = c.fitting + 1;
    EXPECT_EQ(one_more.record(last).text, "S" + std::to_string(last));
    EXPECT_EQ(one_more.cell((1000 + 450 * (last - 1)) / 50).value1, last);
    EXPECT_EQ(one_more.record(c.sign_floor).text, "(Ponte)");
  }
}

TEST(TrainReader, RecordsBeyondTheCellsEndTheReadingWithError15) {
  struct Case {
    const char* record;
    bool accepted;
    int32_t position;
  };
  // Cells 0 to 1000: a record reaches 100 m past its position, a station 800 m.
  const Case cases[] = {
      {"velocita, 49900, 30", true, 0},
      {"velocita, 49901, 30", false, 49901},
      {"aderenza, 49950, 30", false, 49950},
      {"segnale, 49950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", false, 49950},
      {"rallentamento, 60000, 30, 150, 1, 0, 0", false, 60000},
      {"abbattimento, 49901, 1", false, 49901},
      {"stazione, 49200, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A", true, 0},
      {"stazione, 49250, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A", false, 49250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    TrainSource source;
    source.write({"[generale]", "velocita, 0, 30", c.record, "numero vetture, 4", "[fine]"});
    source.read();
    // The tails run in both cases, with the values read up to the record.
    EXPECT_EQ(source.cell(997).speed_limit, 6);
    if (c.accepted) {
      EXPECT_EQ(source.error().number(), 0);
      EXPECT_EQ(source.record(kTrainRecord).position, 4);
    } else {
      EXPECT_EQ(source.error().number(), 15);
      EXPECT_EQ(source.error().position, c.position);
      EXPECT_EQ(source.record(kTrainRecord).position, 0);
    }
  }

  // A kilometre reference off the 50 m grid replaces the 15 with 2, position unchanged.
  TrainSource source;
  source.model().table[kKmReferenceOne].start = 30;
  source.write({"[generale]", "velocita, 49901, 30", "[fine]"});
  source.read();
  EXPECT_EQ(source.error().number(), 2);
  EXPECT_EQ(source.error().position, 49901);
}

TEST(TrainReader, PlacementErrorsStopTheReadingAtTheRecord) {
  struct Case {
    const char* record;
    int32_t error;
    int32_t position;
  };
  // Cell 21 holds a code point: the cell of a signal or slowdown board at 1000.
  const Case cases[] = {
      {"segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", 16, 1000}, {"rallentamento, 2200, 30, 150, 1, 0, 0", 17, 2200},
      {"rallentamento, 1000, 30, 150, 1, 0, 0", 18, 1000},       {"rallentamento, 800, 30, 200, 1, 0, 0", 19, 800},
      {"rallentamento, 2250, 30, 150, 1, 1, 0", 20, 2250},       {"abbattimento, 1050, 1", 7, 1050},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    TrainSource source;
    source.write({"[generale]", "abbattimento, 1050, 5", c.record, "numero vetture, 4", "[fine]"});
    source.read();
    EXPECT_EQ(source.error().number(), c.error);
    EXPECT_EQ(source.error().position, c.position);
    EXPECT_EQ(source.record(kTrainRecord).position, 0);
  }
}

TEST(TrainReader, LineError15CarriedIn) {
  const std::vector<std::string> head = {"[generale]", "numero vetture, 4", "velocita, 0, 30",
                                         "stazione, 5000, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A",
                                         "abbattimento, 3000, 1"};
  struct Case {
    const char* what;
    const char* record;  // after the head, followed by "sabbia, 100"
    int32_t error;
    int32_t position;
    int placed_cell;
    Marker placed_marker;
  };
  const Case cases[] = {
      {"the first signal is placed and ends the reading", "segnale, 4000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", 15, 4000, 81,
       kSignal},
      {"the first slowdown is placed and ends the reading", "rallentamento, 4000, 30, 500, 1, 0, 0", 15, 4000, 81,
       kSlowdownStart},
      {"a slowdown on a taken cell gives its own error", "rallentamento, 2950, 30, 500, 1, 0, 0", 18, 2950, 81,
       kNothing},
      {"no signal and no slowdown: reading runs to the end", "abbattimento, 4000, 0", 15, 60000, 80, kCodeOffPoint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TrainSource source;
    source.error().code = BuildErrorCode::beyond_cell_array;
    source.error().position = 60000;
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), {c.record, "sabbia, 100", "[fine]"});
    source.write(lines);
    source.read();
    EXPECT_EQ(source.error().number(), c.error);
    EXPECT_EQ(source.error().position, c.position);
    // Everything before the record is in place.
    EXPECT_EQ(source.record(kTrainRecord).position, 4);
    EXPECT_EQ(source.record(1).position, 5000);
    EXPECT_EQ(source.cell(60).marker, kCodePoint);
    EXPECT_EQ(source.cell(c.placed_cell).marker, c.placed_marker);
    const bool ran_to_end = c.position == 60000;
    EXPECT_EQ(source.record(kTrainNumberRecord).word1, ran_to_end ? 100 : 0);
    EXPECT_EQ(source.cell(500).speed_limit, ran_to_end ? 6 : 0);
  }
}

TEST(TrainReader, ReadFailuresThrowForTheGeneralHandler) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"end of the file inside the last record", {"[generale]", "velocita, 0, 30", "segnale, 950, 1, 4"}},
      {"a keyword where a number belongs", {"[generale]", "numero vetture", "[fine]"}},
      {"a speed above 1277 km/h", {"[generale]", "velocita, 0, 1278", "[fine]"}},
      {"a negative speed that rounds below 0", {"[generale]", "velocita, 0, -3", "[fine]"}},
      {"a clock value beyond 16 bits", {"[generale]", "orologio, 40000, 0, 0", "[fine]"}},
      {"a station kind beyond 8 bits", {"[generale]", "stazione, 0, 256, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A"}},
      {"a station time beyond 32 bits", {"[generale]", "stazione, 0, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 600000,0,0, A"}},
      {"a station row one field short at the end", {"[generale]", "stazione, 0, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0"}},
      {"a negative speed position", {"[generale]", "velocita, -50, 30", "[fine]"}},
      {"a negative adhesion position", {"[generale]", "aderenza, -50, 30", "[fine]"}},
      {"a negative signal position", {"[generale]", "segnale, -50, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "[fine]"}},
      {"a negative slowdown position", {"[generale]", "rallentamento, -50, 30, 150, 1, 0, 0", "[fine]"}},
      {"a negative code point position", {"[generale]", "abbattimento, -50, 1", "[fine]"}},
      {"a negative station position",
       {"[generale]", "stazione, -100, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A", "[fine]"}},
      {"a slowdown ending beyond the last cell", {"[generale]", "rallentamento, 49800, 30, 200, 1, 0, 0", "[fine]"}},
      {"a station stop point beyond the last cell",
       {"[generale]", "stazione, 49200, 7, 1000, 0,0,0, 0,0,0,0,0,0,0, 0,0,0, A", "[fine]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TrainSource source;
    source.model().table[kKmReferenceThree].start = 10;
    source.write(c.lines);
    EXPECT_THROW(source.read(), InputError);
    // Nothing runs after the failure: no kilometre reference test, no speed tail.
    EXPECT_EQ(source.error().number(), 0);
    EXPECT_EQ(source.cell(997).speed_limit, 0);
  }
}

TEST(TrainReader, AStationRowShortOfItsNameShiftsTheRecordsAfterIt) {
  TrainSource source;
  source.write({"[generale]", "stazione, 10000, 25, 0, 0,0,0, 0,0,0,0,0,0,0, 0,0,0", "numero vetture, 4", "sabbia, 100",
                "[fine]"});
  source.read();
  EXPECT_EQ(source.error().number(), 0);
  EXPECT_EQ(source.record(1).text, "numero vetture");
  EXPECT_EQ(source.record(kTrainRecord).position, 0);  // 4 was read as a keyword field
  EXPECT_EQ(source.record(kTrainNumberRecord).word1, 100);
}

}  // namespace
}  // namespace scenario

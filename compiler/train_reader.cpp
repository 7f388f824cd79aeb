#include "compiler/train_reader.h"

#include <array>
#include <string>
#include <string_view>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"
#include "compiler/signal_placement.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

// What the record loop does after a record.
enum class Next {
  next_record,
  end_of_reading,  // the profile tails and the kilometre reference test still run
  stop,            // the file is already deleted and the error recorded
};

// How far past its position a record reaches; its last cell must lie in the array.
constexpr int32_t kRecordReach = 100;
constexpr int32_t kStationReach = 800;
constexpr int32_t kStationSpacing = 350;     // clear track between one station's end and the next one's start
constexpr uint8_t kFirstUnstoppedKind = 25;  // stations of this kind and above have no stop point

bool is_terminal_kind(uint8_t kind) { return kind == 5 || kind == 6; }
bool is_symmetric_kind(uint8_t kind) { return kind == 7 || kind == 8; }

// A value along the route that each record sets from its cell on.
struct Profile {
  void (*write)(Cell& cell, int32_t value);
  bool stops_at_last_cell;
  int32_t cursor = 0;  // the first cell not written yet
  // Ahead of the first record, which stands at 0 in a well-formed source, the
  // cells get 0 (speed 0, adhesion 0).
  int32_t in_force = 0;
};

// Line speeds are kept in units of 5 km/h; a speed beyond 8 bits of them is a width failure.
void write_speed(Cell& cell, int32_t speed) { cell.speed_limit = nearest_even_as<uint8_t>(speed / 5.0); }
void write_adhesion(Cell& cell, int32_t adhesion) { cell.adhesion = low_8_bits(adhesion); }

class TrainReader {
 public:
  TrainReader(BuildContext& ctx, int32_t sign_floor)
      : ctx_(ctx),
        model_(ctx.model),
        path_(ctx.path(train_source_name(ctx.identity))),
        in_(ctx.files->read(path_)),
        sign_floor_(sign_floor) {}

  void run() {
    do {
      read_field();
    } while (!in_.at_end() && !contains_any_case(model_.current_field, "[generale]"));

    while (!in_.at_end()) {
      if (!read_keyword_field()) break;
      const Next next = read_record(model_.current_field);
      if (next == Next::stop) return;
      if (next == Next::end_of_reading) break;
    }
    finish();
  }

 private:
  using RecordReader = Next (TrainReader::*)();
  struct RecordKind {
    std::array<std::string_view, 2> keys;  // all must be contained; an empty key always is
    RecordReader read;
  };

  void read_field() { model_.current_field = in_.read_keyword(); }

  // The next field that is not a comment; a third field in a row is taken as
  // it is. False when the file ended with the field just read, which is then
  // not interpreted.
  bool read_keyword_field() {
    read_field();
    for (int skipped = 0; skipped < 2 && !in_.at_end() && is_comment(model_.current_field); ++skipped) read_field();
    return !in_.at_end();
  }

  // Every kind whose keys the field contains reads its values, in this order.
  Next read_record(const std::string& field) {
    static constexpr RecordKind kKinds[] = {
        {{"frenata", "massa"}, &TrainReader::read_braked_mass},
        {{"vetture"}, &TrainReader::read_cars},
        {{"velocit"}, &TrainReader::read_speed},
        {{"aderenza"}, &TrainReader::read_adhesion},
        {{"orologio"}, &TrainReader::read_clock},
        {{"sabbia"}, &TrainReader::read_sand},
        {{"segnale"}, &TrainReader::read_signal},
        {{"rallentamento"}, &TrainReader::read_slowdown},
        {{"abbattimento"}, &TrainReader::read_code_point},
        {{"stazione"}, &TrainReader::read_station},
    };
    for (const RecordKind& kind : kKinds) {
      if (!contains_any_case(field, kind.keys[0]) || !contains_any_case(field, kind.keys[1])) continue;
      if (const Next next = (this->*kind.read)(); next != Next::next_record) return next;
    }
    return Next::next_record;
  }

  template <size_t N>
  std::array<int32_t, N> read_values() {
    std::array<int32_t, N> values{};
    for (int32_t& value : values) value = in_.read_i32();
    return values;
  }

  Next read_braked_mass() {
    model_.table[kTrainRecord].start = in_.read_i32();
    return Next::next_record;
  }

  Next read_cars() {
    model_.table[kTrainRecord].position = in_.read_i32();
    return Next::next_record;
  }

  Next read_clock() {
    TableRecord& train = model_.table[kTrainNumberRecord];
    train.word3 = in_.read_i16();
    train.word4 = in_.read_i16();
    train.word5 = in_.read_i16();
    return Next::next_record;
  }

  Next read_sand() {
    model_.table[kTrainNumberRecord].word1 = in_.read_i16();
    return Next::next_record;
  }

  Next read_speed() { return read_profile(speed_); }
  Next read_adhesion() { return read_profile(adhesion_); }

  Next read_profile(Profile& profile) {
    const auto [position, value] = read_values<2>();
    refuse_negative(position);
    if (beyond_cells(position, kRecordReach)) return end_with_error_15(position);
    const int32_t until = cell_of(position);
    if (until > 0) {
      // At least one cell is written, even when the cursor already stands at
      // or past the record's cell.
      do {
        if (profile.stops_at_last_cell && profile.cursor >= last_cell()) break;
        profile.write(cell_at(model_, profile.cursor), profile.in_force);
        ++profile.cursor;
      } while (profile.cursor < until);
    }
    profile.in_force = value;
    return Next::next_record;
  }

  Next read_signal() {
    const auto [posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo] = read_values<11>();
    refuse_negative(posizione);
    if (beyond_cells(posizione, kRecordReach)) return end_with_error_15(posizione);
    memo_segnale(model_, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
    return stop_if_failed(posizione);
  }

  Next read_slowdown() {
    const auto [x, v, l, f_tt, f_ta, d_v] = read_values<6>();
    refuse_negative(x);
    if (beyond_cells(x, kRecordReach)) return end_with_error_15(x);
    memo_rallentamento(model_, x, v, l, f_tt, f_ta, d_v);
    return stop_if_failed(x);
  }

  // A code point stands in the cell that holds its position, not the one after.
  Next read_code_point() {
    const auto [position, value] = read_values<2>();
    refuse_negative(position);
    if (beyond_cells(position, kRecordReach)) return end_with_error_15(position);
    Cell& cell = cell_at(model_, cell_of(position));
    if (!cell.is_free()) return stop_with(7, position);
    if (value > 0) {
      cell.marker = kCodePoint;
      cell.value1 = low_16_bits(value);
    } else {
      cell.marker = kCodeOffPoint;
    }
    return Next::next_record;
  }

  Next read_station() {
    const int32_t j = station_number_;
    TableRecord& station = model_.table.at(static_cast<size_t>(j));
    const int32_t position = in_.read_i32();
    station.position = position;
    refuse_negative(position);
    if (beyond_cells(position, kStationReach)) return end_with_error_15(position);
    if (position % 50 != 0) return stop_with(8, position);

    station.kind = in_.read_u8();
    const int32_t length = in_.read_i32();
    if (length % 100 != 0) return stop_with(9, position);
    station.flag = in_.read_u8();
    station.byte4 = in_.read_u8();
    station.byte3 = in_.read_u8();
    station.word1 = in_.read_i16();
    station.word2 = in_.read_i16();
    station.byte1 = in_.read_u8();
    station.word3 = in_.read_i16();
    station.word4 = in_.read_i16();
    station.word5 = in_.read_i16();
    station.byte2 = in_.read_u8();
    const auto [hour, minute, second] = read_values<3>();
    station.time = nearest_even_as<int32_t>((static_cast<double>(hour) * 60 + minute) * 60 + second);
    station.text = in_.read_text();

    set_extent(station, position, length);
    if (length < 600) station.byte4 = 0;
    if (j == 1) {
      station.byte3 = 0;
      station.byte4 = 0;
    }

    if (station.kind < kFirstUnstoppedKind) {
      const double stop = station.end / static_cast<double>(kCellLength) - 1;
      if (stop > 1 && !in_cell_array(model_, cell_of_distance(stop))) {
        throw OffRouteError("station " + std::to_string(j) + " ends beyond the last cell");
      }
      if (!is_terminal_kind(station.kind)) {
        // The approach codes count down to the stop: 81 in the cell 100 m before the station's end.
        for (int k = 1; k <= 4; ++k) {
          const double approach = stop - k;
          if (approach > 1) cell_at(model_, cell_of_distance(approach)).approach_code = static_cast<uint8_t>(80 + k);
        }
      }
      if (!(stop > 1)) return stop_with_error_only(24);
      Cell& stop_cell = cell_at(model_, cell_of_distance(stop));
      stop_cell.marker = kStopPoint;
      stop_cell.value1 = low_16_bits(j);
    }

    if (j > 1 && int64_t{station.start} - kStationSpacing < model_.table[static_cast<size_t>(j - 1)].end) {
      return stop_with(22, position);
    }
    station_number_ = j + 1;
    // The next station would take the record of the lowest sign board text.
    if (station_number_ >= sign_floor_) return stop_with_error_only(10);
    return Next::next_record;
  }

  // The station area: terminal kinds reach 150 m past the position, the
  // symmetric kinds the length on both sides, the others half the length on
  // each side, 50 m more at the end when byte 3 asks for it.
  static void set_extent(TableRecord& station, int32_t position, int32_t length) {
    const double p = position;
    const double l = length;
    if (is_terminal_kind(station.kind)) {
      station.end = nearest_even_as<int32_t>(p + 150);
      station.start = nearest_even_as<int32_t>(p - l);
      station.byte3 = 0;
    } else if (is_symmetric_kind(station.kind)) {
      station.start = nearest_even_as<int32_t>(p - l);
      station.end = nearest_even_as<int32_t>(p + l);
      station.byte3 = 0;
    } else {
      station.start = nearest_even_as<int32_t>(p - l / 2);
      station.end = nearest_even_as<int32_t>(station.byte3 != 0 ? l / 2 + p + 50 : l / 2 + p);
    }
  }

  // The profiles run on to the third cell from the end; the last cells keep
  // what they held.
  void finish() {
    delete_file();
    for (Profile* profile : {&speed_, &adhesion_}) {
      do {
        profile->write(cell_at(model_, profile->cursor), profile->in_force);
        ++profile->cursor;
      } while (profile->cursor < last_cell() - 2);
    }

    for (int record : {kKmReferenceThree, kKmReferenceTwo, kKmReferenceOne}) {
      const TableRecord& reference = model_.table[static_cast<size_t>(record)];
      if (reference.start % 50 != 0 || reference.end % 50 != 0) model_.error.number = 2;
    }
  }

  int32_t last_cell() const { return model_.last_cell_index; }

  // The record's reach lies past the last cell.
  bool beyond_cells(int32_t position, int32_t reach) const {
    return int64_t{position} + reach > int64_t{kCellLength} * last_cell();
  }

  static void refuse_negative(int32_t position) {
    if (position < 0) throw OffRouteError("position " + std::to_string(position) + " lies before the route start");
  }

  static int32_t cell_of_distance(double cells) { return nearest_even_as<int32_t>(cells); }
  static int32_t cell_of(int32_t position) { return cell_of_distance(position / static_cast<double>(kCellLength)); }

  void delete_file() { ctx_.files->remove(path_); }

  Next end_with_error_15(int32_t position) {
    model_.record_error(15, position);
    return Next::end_of_reading;
  }

  Next stop_with(int32_t number, int32_t position) {
    delete_file();
    model_.record_error(number, position);
    return Next::stop;
  }

  Next stop_with_error_only(int32_t number) {
    delete_file();
    model_.error.number = number;
    return Next::stop;
  }

  // A placement that failed, or a line error 15 carried in, ends the reading
  // at this record.
  Next stop_if_failed(int32_t position) {
    if (model_.error.number <= 0) return Next::next_record;
    delete_file();
    model_.error.position = position;
    return Next::stop;
  }

  BuildContext& ctx_;
  RouteModel& model_;
  std::string path_;
  FieldReader in_;
  int32_t sign_floor_;
  int32_t station_number_ = 1;
  // The speed loop never writes the last cell; only the tail can reach it.
  Profile speed_{write_speed, true};
  Profile adhesion_{write_adhesion, false};
};

}  // namespace

void read_train_source(BuildContext& ctx, int32_t sign_floor) { TrainReader(ctx, sign_floor).run(); }

}  // namespace scenario

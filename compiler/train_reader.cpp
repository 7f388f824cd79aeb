#include "compiler/train_reader.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"
#include "compiler/signal_placement.h"
#include "compiler/train_checks.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

// What the record loop does after a record.
enum class Next {
  next_record,
  end_of_reading,  // the profile tails and the kilometre reference test still run
  stop,            // the error is recorded; nothing more is read or written
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
  int32_t cursor = 0;                                        // the first cell not written yet
  std::optional<SourcePlace> in_force_place = std::nullopt;  // the row that set the value in force
  // Ahead of the first record, which stands at 0 in a well-formed source, the
  // cells get 0 (speed 0, adhesion 0).
  int32_t in_force = 0;
};

// Line speeds are kept in units of 5 km/h; a speed beyond 8 bits of them is a width failure.
void write_speed(Cell& cell, int32_t speed) {
  const double units = nearest_even(speed / 5.0);
  if (units < 0 || units > 255) {
    throw InputError("speed " + std::to_string(speed) +
                     " km/h does not fit a cell, which keeps 0 to 1277 km/h in steps of 5 km/h");
  }
  cell.speed_limit = static_cast<uint8_t>(units);
}
void write_adhesion(Cell& cell, int32_t adhesion) { cell.adhesion = low_8_bits(adhesion); }

class TrainReader {
 public:
  TrainReader(std::string_view text, int32_t sign_floor, RouteModel& model, BuildError& error, TrainChecks* checks)
      : model_(model), error_(error), in_(text), checks_(checks), sign_floor_(sign_floor) {}

  int32_t run() {
    try {
      read_records();
    } catch (InputError& failure) {
      failure.place_if_unknown(record_place_);
      failure.set_record_place(record_place_);
      throw;
    }
    return station_number_ - 1;
  }

 private:
  void read_records() {
    std::optional<SourcePlace> preamble;
    for (;;) {
      read_field();
      if (in_.at_end() || contains_any_case(field_, "[generale]")) break;
      if (!preamble) preamble = record_place_;
    }
    const bool found = contains_any_case(field_, "[generale]");
    if (checks_) {
      if (!found) {
        checks_->no_general_section();
      } else if (preamble) {
        checks_->before_general_section(*preamble);
      }
    }

    bool to_the_end = true;
    while (!in_.at_end()) {
      if (!read_keyword_field()) break;
      const Next next = read_record(field_);
      if (next == Next::stop) return;
      if (next == Next::end_of_reading) {
        to_the_end = false;
        break;
      }
      if (checks_) checks_->values_read(in_.last_field_place());
    }
    if (checks_ && found && to_the_end) checks_->end_of_file();
    finish();
  }

  using RecordReader = Next (TrainReader::*)();
  struct RecordKind {
    std::array<std::string_view, 2> keys;  // all must be contained; an empty key always is
    RecordReader read;
  };

  void read_field() {
    field_ = in_.read_keyword();
    record_place_ = in_.last_field_place();
  }

  // The next field that is not a comment; a third field in a row is taken as
  // it is. False when the file ended with the field just read, which is then
  // not interpreted.
  bool read_keyword_field() {
    read_field();
    for (int skipped = 0; skipped < 2 && !in_.at_end() && is_comment(field_); ++skipped) read_field();
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
    const auto selects = [&field](const RecordKind& kind) {
      return contains_any_case(field, kind.keys[0]) && contains_any_case(field, kind.keys[1]);
    };
    if (checks_) {
      checks_->keyword_field(field, record_place_, std::any_of(std::begin(kKinds), std::end(kKinds), selects));
    }
    for (const RecordKind& kind : kKinds) {
      if (!selects(kind)) continue;
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

  Next read_speed() { return read_profile(speed_, &TrainChecks::speed_row); }
  Next read_adhesion() { return read_profile(adhesion_, &TrainChecks::adhesion_row); }

  Next read_profile(Profile& profile, void (TrainChecks::*check)(int32_t position, int32_t value)) {
    const auto [position, value] = read_values<2>();
    refuse_negative(position);
    if (beyond_cells(position, kRecordReach)) return end_with_error_15(position, kRecordReach);
    if (checks_) (checks_->*check)(position, value);
    const int32_t until = cell_of(position);
    if (until > 0) {
      // At least one cell is written, even when the cursor already stands at
      // or past the record's cell.
      do {
        if (profile.stops_at_last_cell && profile.cursor >= last_cell()) break;
        write_in_force(profile);
      } while (profile.cursor < until);
    }
    profile.in_force = value;
    profile.in_force_place = record_place_;
    return Next::next_record;
  }

  Next read_signal() {
    const auto [position, s_type, s1, s2, s3, type_tens, d_type, d1, d2, d3, time] = read_values<11>();
    refuse_negative(position);
    if (beyond_cells(position, kRecordReach)) return end_with_error_15(position, kRecordReach);
    const SignalRecord signal{position, s_type, s1, s2, s3, type_tens, d_type, d1, d2, d3, time};
    const BuildErrorCode placed = place_signal(model_, signal);
    if (checks_) checks_->signal(signal, placed, error_.is_set());
    return stop_if_failed(placed, position);
  }

  Next read_slowdown() {
    const auto [start, speed, length, flag, orientation_boards, second_value] = read_values<6>();
    refuse_negative(start);
    if (beyond_cells(start, kRecordReach)) return end_with_error_15(start, kRecordReach);
    const SlowdownRecord slowdown{start, speed, length, flag, orientation_boards, second_value};
    const BuildErrorCode placed = place_slowdown(model_, slowdown);
    if (checks_) checks_->slowdown(slowdown, placed, error_.is_set());
    return stop_if_failed(placed, start);
  }

  // A code point stands in the cell that holds its position, not the one after.
  Next read_code_point() {
    const auto [position, value] = read_values<2>();
    refuse_negative(position);
    if (beyond_cells(position, kRecordReach)) return end_with_error_15(position, kRecordReach);
    Cell& cell = cell_at(model_, cell_of(position));
    if (checks_) checks_->code_point(position, cell_of(position), !cell.is_free());
    if (!cell.is_free()) return stop_with(BuildErrorCode::code_point_cell_taken, position);
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
    if (beyond_cells(position, kStationReach)) return end_with_error_15(position, kStationReach);
    if (position % 50 != 0) {
      if (checks_) checks_->station_position_not_multiple_of_50(position);
      return stop_with(BuildErrorCode::station_position_not_multiple_of_50, position);
    }

    station.kind = in_.read_u8();
    const int32_t length = in_.read_i32();
    if (length % 100 != 0) {
      if (checks_) checks_->station_length_not_multiple_of_100(position, length);
      return stop_with(BuildErrorCode::station_length_not_multiple_of_100, position);
    }
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

    std::optional<int32_t> stop_cell;
    if (station.kind < kFirstUnstoppedKind) {
      const double stop = station.end / static_cast<double>(kCellLength) - 1;
      if (stop > 1 && !in_cell_array(model_, cell_of_distance(stop))) {
        throw InputError("station " + std::to_string(j) + " ends at " + std::to_string(station.end) +
                         " m, so its stop point would lie beyond the last cell, " + std::to_string(last_cell()));
      }
      if (!is_terminal_kind(station.kind)) {
        // The approach codes count down to the stop: 81 in the cell 100 m before the station's end.
        for (int k = 1; k <= 4; ++k) {
          const double approach = stop - k;
          if (approach > 1) cell_at(model_, cell_of_distance(approach)).approach_code = static_cast<uint8_t>(80 + k);
        }
      }
      if (!(stop > 1)) {
        if (checks_) checks_->station_stop_point_too_early(j, station);
        return stop_with_error_only(BuildErrorCode::stop_point_too_early);
      }
      stop_cell = cell_of_distance(stop);
      Cell& stop_point = cell_at(model_, *stop_cell);
      stop_point.marker = kStopPoint;
      stop_point.value1 = low_16_bits(j);
    }

    if (j > 1 && int64_t{station.start} - kStationSpacing < model_.table[static_cast<size_t>(j - 1)].end) {
      if (checks_) checks_->station_too_close(j, station, model_.table[static_cast<size_t>(j - 1)]);
      return stop_with(BuildErrorCode::station_too_close, position);
    }
    if (checks_) checks_->station_placed(station, stop_cell);
    station_number_ = j + 1;
    // The next station would take the record of the lowest sign board text.
    if (station_number_ >= sign_floor_) {
      if (checks_) checks_->too_many_stations(j, sign_floor_);
      return stop_with_error_only(BuildErrorCode::too_many_stations);
    }
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
    for (Profile* profile : {&speed_, &adhesion_}) {
      do {
        write_in_force(*profile);
      } while (profile->cursor < last_cell() - 2);
    }

    // The references came with the line source; no record of this one is to blame.
    for (int index : {kKmReferenceThree, kKmReferenceTwo, kKmReferenceOne}) {
      const TableRecord& reference = model_.table[static_cast<size_t>(index)];
      if (reference.start % 50 != 0 || reference.end % 50 != 0) {
        error_.code = BuildErrorCode::km_reference_not_multiple_of_50;
        error_.source = SourceFile::none;
        error_.place = {};
      }
    }
    if (checks_ && error_.code == BuildErrorCode::km_reference_not_multiple_of_50) {
      checks_->km_references_not_multiple_of_50();
    }
  }

  // The value in force goes into the cell at the cursor. One that the cell
  // cannot hold is the fault of the row that set it, not of the row at hand.
  void write_in_force(Profile& profile) {
    try {
      profile.write(cell_at(model_, profile.cursor), profile.in_force);
    } catch (InputError& failure) {
      if (profile.in_force_place) failure.place_if_unknown(*profile.in_force_place);
      throw;
    }
    ++profile.cursor;
  }

  int32_t last_cell() const { return model_.last_cell_index(); }

  // The record's reach lies past the last cell.
  bool beyond_cells(int32_t position, int32_t reach) const {
    return int64_t{position} + reach > int64_t{kCellLength} * last_cell();
  }

  static void refuse_negative(int32_t position) {
    if (position < 0) {
      throw InputError("position " + std::to_string(position) + " m lies before the start of the route, which is 0");
    }
  }

  static int32_t cell_of_distance(double cells) { return nearest_even_as<int32_t>(cells); }
  static int32_t cell_of(int32_t position) { return cell_of_distance(position / static_cast<double>(kCellLength)); }

  // The error belongs to the record whose keyword was read last.
  void record(BuildErrorCode code) {
    error_.code = code;
    error_.source = SourceFile::train;
    error_.place = record_place_;
  }

  Next end_with_error_15(int32_t position, int32_t reach) {
    if (checks_) checks_->beyond_cells(position, reach);
    record(BuildErrorCode::beyond_cell_array);
    error_.position = position;
    return Next::end_of_reading;
  }

  Next stop_with(BuildErrorCode code, int32_t position) {
    record(code);
    error_.position = position;
    return Next::stop;
  }

  Next stop_with_error_only(BuildErrorCode code) {
    record(code);
    return Next::stop;
  }

  // A placement that failed, or an error carried in from the line half, ends
  // the reading at this record.
  Next stop_if_failed(BuildErrorCode placed, int32_t position) {
    if (placed != BuildErrorCode::none) error_.code = placed;
    if (!error_.is_set()) return Next::next_record;
    record(error_.code);
    error_.position = position;
    return Next::stop;
  }

  RouteModel& model_;
  BuildError& error_;
  FieldReader in_;
  TrainChecks* checks_;       // none when nobody is told about the sources
  std::string field_;         // the keyword field read last
  SourcePlace record_place_;  // where it begins
  int32_t sign_floor_;
  int32_t station_number_ = 1;
  // The speed loop never writes the last cell; only the tail can reach it.
  Profile speed_{write_speed, true};
  Profile adhesion_{write_adhesion, false};
};

}  // namespace

int32_t read_train_source(std::string_view text, int32_t sign_floor, RouteModel& model, BuildError& error,
                          TrainChecks* checks) {
  return TrainReader(text, sign_floor, model, error, checks).run();
}

}  // namespace scenario

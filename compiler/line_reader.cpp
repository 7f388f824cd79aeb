#include "compiler/line_reader.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"
#include "compiler/line_placement.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

// How a record left the reading.
enum class Flow {
  next,        // go on with the next field
  stopped,     // an error was recorded and the file deleted; the train source stays unread
  body_ended,  // error 15: the body ends, the tails are written and the train source is read
};

// Comment fields passed over in a row before a field counts as a keyword anyway.
constexpr int kGeneralCommentRun = 10;
constexpr int kBodyCommentRun = 2;

double plan_number(const PlanEntry& entry) {
  return std::visit(
      [](const auto& value) -> double {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, PlanEmpty>) {
          throw std::logic_error("the route plan is read before it is computed");
        } else {
          return static_cast<double>(value);
        }
      },
      entry);
}

class LineSourceReader {
 public:
  LineSourceReader(BuildContext& ctx, std::string path)
      : ctx_(ctx), model_(ctx.model), path_(std::move(path)), in_(ctx.files->read(path_)) {}

  LineReadResult read() {
    if (find_general_section() == Flow::stopped) return {false, sign_floor_};
    if (read_general_section() == Flow::stopped) return {false, sign_floor_};
    progressive_ordina(model_);
    start_body();
    if (read_body() == Flow::stopped) return {false, sign_floor_};
    close_and_delete();
    write_gradient_tail();
    write_plan_tail();
    return {true, sign_floor_};
  }

 private:
  std::string next_field() {
    model_.current_field = in_.read_keyword();
    return model_.current_field;
  }

  void close_and_delete() { ctx_.files->remove(path_); }

  Flow stop_with(int32_t number) {
    close_and_delete();
    model_.error.number = number;
    return Flow::stopped;
  }

  Flow stop_at(int32_t number, int32_t position) {
    close_and_delete();
    model_.record_error(number, position);
    return Flow::stopped;
  }

  [[noreturn]] void refuse(const std::string& why) const { throw ReadError(why, in_.last_field_place()); }

  // Every record with a position needs the cells that the route length creates.
  void require_cells() const {
    if (!model_.has_cells()) refuse("no route length before the first record that needs the cells");
  }

  // ---- preamble and general section ----

  // Everything before the first "[generale]" field is passed over.
  Flow find_general_section() {
    for (;;) {
      const std::string field = next_field();
      if (in_.at_end()) return stop_with(102);
      if (contains_any_case(field, "[generale]")) return Flow::next;
    }
  }

  static bool ends_general_section(const std::string& field) {
    const size_t first = field.find_first_not_of(" \t");
    if (first != std::string::npos && field[first] == '-') return false;
    return contains(field, "[") && contains(field, "]");
  }

  Flow read_general_section() {
    for (;;) {
      if (in_.at_end()) return Flow::next;
      std::string field = next_field();
      if (in_.at_end()) return Flow::next;
      // No end-of-file test between these reads: the field they end on is still tested.
      for (int i = 0; i < kGeneralCommentRun && is_comment(field); ++i) field = next_field();

      if (contains_any_case(field, "percorso") && contains_any_case(field, "lunghezza")) {
        if (route_length() == Flow::stopped) return Flow::stopped;
      }
      if (contains(field, "tre") && contains(field, "progressiva")) read_km_reference(kKmReferenceThree);
      if (contains(field, "due") && contains(field, "progressiva")) read_km_reference(kKmReferenceTwo);
      if (contains(field, "uno") && contains(field, "progressiva")) read_km_reference(kKmReferenceOne);
      if (contains(field, "sfondo") && contains(field, "uno")) model_.table[kScenarioRecord].start = in_.read_i32();
      if (contains(field, "sfondo") && contains(field, "due")) {
        model_.table[kScenarioRecord].position = in_.read_i32();
      }
      if (contains(field, "sfondo") && contains(field, "tre")) model_.table[kScenarioRecord].end = in_.read_i32();
      if (contains(field, "segnali") && contains(field, "ripetizione")) {
        if (signal_repetition(field) == Flow::stopped) return Flow::stopped;
      }
      if (ends_general_section(field)) return Flow::next;
    }
  }

  Flow route_length() {
    const int32_t length = in_.read_i32();
    model_.table[kTrainRecord].end = length;
    if (length > kMaxRouteLength) return stop_with(1);
    if (length < 0) refuse("a negative route length");
    model_.create_cells(length);
    if (model_.plan_flag != 0) model_.create_plan(model_.plan_length);
    return Flow::next;
  }

  void read_km_reference(int record) {
    TableRecord& reference = model_.table[static_cast<size_t>(record)];
    reference.start = in_.read_i32();
    reference.end = in_.read_i32();
    reference.position = in_.read_i32();
  }

  Flow signal_repetition(const std::string& field) {
    TableRecord& repetition = model_.table[kTrainNumberRecord];
    repetition.start = in_.read_i32();
    repetition.end = in_.read_i32();
    if (repetition.start % kCellLength != 0) return stop_with(3);
    if (repetition.end % kCellLength != 0) return stop_with(4);
    // The keyword names the code system; "4" wins when it names both.
    if (contains(field, "4")) {
      repetition.position = 4;
    } else if (contains(field, "9")) {
      repetition.position = 9;
    } else {
      return stop_with(5);
    }
    if (repetition.end == 0) repetition.position = 0;
    return Flow::next;
  }

  // ---- body ----

  void start_body() {
    model_.mountain_count = 0;
    sign_floor_ = kSignFloorStart;
    gradient_cell_ = 0;
    plan_metre_ = 2;
    if (model_.has_plan()) {
      // The plan starts at the origin, heading along the second coordinate, one unit a metre.
      RoutePlan& plan = model_.plan();
      plan.at(0, 0) = int16_t{0};
      plan.at(0, 1) = int16_t{0};
      plan.at(1, 0) = int16_t{0};
      plan.at(1, 1) = int16_t{1};
    }
  }

  Flow read_body() {
    for (;;) {
      if (in_.at_end()) return Flow::next;
      std::string field = next_field();
      if (in_.at_end()) return Flow::next;
      for (int i = 0; i < kBodyCommentRun && is_comment(field); ++i) {
        field = next_field();
        if (in_.at_end()) return Flow::next;
      }

      // Every test is made on the same field: one field may stand for several records.
      Flow flow = Flow::next;
      if (contains_any_case(field, "pendenza")) flow = gradient_record();
      if (flow != Flow::next) return flow;
      if (contains_any_case(field, "curva") && model_.plan_flag != 0) flow = curve_record(field);
      if (flow != Flow::next) return flow;
      if (contains_any_case(field, "montagna")) flow = mountain_record();
      if (flow != Flow::next) return flow;
      if (contains_any_case(field, "indicatori_v")) flow = speed_board_record();
      if (flow != Flow::next) return flow;
      if (contains_any_case(field, "cartello") && contains_any_case(field, "indicat")) flow = sign_board_record();
      if (flow != Flow::next) return flow;
    }
  }

  // A record lies within reach of the cells when p + 100 <= 50 * U.
  bool in_range(int32_t position) const {
    return int64_t{position} + 100 <= int64_t{kCellLength} * model_.last_cell_index;
  }

  Flow out_of_range(int32_t position) {
    model_.record_error(15, position);
    return Flow::body_ended;
  }

  void write_gradient_cell() {
    cell_at(model_, gradient_cell_).gradient = static_cast<uint8_t>((int64_t{gradient_in_force_} + 100) & 0xFF);
    ++gradient_cell_;
  }

  Flow gradient_record() {
    require_cells();
    const int32_t position = in_.read_i32();
    const int32_t gradient = in_.read_i32();
    if (!in_range(position)) return out_of_range(position);
    const auto target = static_cast<int32_t>(nearest_even(static_cast<double>(position) / 50));
    if (target > 0) {
      // The previous gradient reaches up to the new one's cell, and is written at
      // least once even when the cursor is already at or past that cell.
      do {
        write_gradient_cell();
      } while (gradient_cell_ < target);
    }
    gradient_in_force_ = gradient;
    return Flow::next;
  }

  // The turn per metre of a curve class: the first of the digits 1 to 6 in the keyword.
  static std::optional<double> turn_of(const std::string& field) {
    static constexpr std::pair<const char*, double> kClasses[] = {
        {"1", 0.0001}, {"2", 0.0002}, {"3", 0.0004}, {"4", 0.001}, {"5", 0.002}, {"6", 0.003},
    };
    for (const auto& [digit, turn] : kClasses) {
      if (contains(field, digit)) return turn;
    }
    return std::nullopt;
  }

  Flow curve_record(const std::string& field) {
    require_cells();
    const int32_t start = in_.read_i32();
    const int32_t length = in_.read_i32();
    if (!in_range(start)) return out_of_range(start);
    const std::optional<double> class_turn = turn_of(field);
    if (!class_turn) return stop_with(103);
    // Left curves turn the other way.
    const double turn = contains_any_case(field, "s") ? -*class_turn : *class_turn;

    while (plan_metre_ <= start) {
      straight_step();
      if (++plan_metre_ > kPlanMetreLimit) return stop_with(103);
    }
    const int64_t end = int64_t{start} + length;
    while (plan_metre_ <= end) {
      turning_step(turn);
      if (++plan_metre_ > kPlanMetreLimit) return stop_with(103);
    }
    return Flow::next;
  }

  // Where metre c - 1 lies and the direction it was reached in.
  struct Heading {
    double a0, a1, d0, d1;
  };

  RoutePlan& plan_at_metre(int32_t c) {
    if (!model_.has_plan()) refuse("a route plan step without a route plan");
    if (c > model_.plan_length) refuse("a curve runs past the end of the route plan");
    return model_.plan();
  }

  static Heading heading_before(const RoutePlan& plan, int32_t c) {
    const double a0 = plan_number(plan.at(c - 1, 0));
    const double a1 = plan_number(plan.at(c - 1, 1));
    return {a0, a1, a0 - plan_number(plan.at(c - 2, 0)), a1 - plan_number(plan.at(c - 2, 1))};
  }

  // The order of the operations in both steps is part of the compiled plan's bytes.
  void straight_step() {
    const int32_t c = plan_metre_;
    RoutePlan& plan = plan_at_metre(c);
    const Heading h = heading_before(plan, c);
    plan.at(c, 0) = h.a0 + h.d0;
    plan.at(c, 1) = h.a1 + h.d1;
  }

  // Rotates the direction of the previous metre by the turn, without
  // renormalising it: the step grows by sqrt(1 + turn^2) a metre.
  void turning_step(double turn) {
    const int32_t c = plan_metre_;
    RoutePlan& plan = plan_at_metre(c);
    const Heading h = heading_before(plan, c);
    plan.at(c, 0) = h.a0 + (h.d0 + turn * h.d1);
    plan.at(c, 1) = h.a1 + (h.d1 - turn * h.d0);
  }

  Flow mountain_record() {
    require_cells();
    const int32_t inizio = in_.read_i32();
    const int32_t fine = in_.read_i32();
    const int32_t tipo = in_.read_i32();
    if (!in_range(inizio)) return out_of_range(inizio);
    memo_montagna(model_, inizio, fine, tipo);
    return Flow::next;
  }

  Flow speed_board_record() {
    require_cells();
    const int32_t position = in_.read_i32();
    const int32_t vas = in_.read_i32();
    const int32_t vbs = in_.read_i32();
    const int32_t vcs = in_.read_i32();
    const int16_t strisces = in_.read_i16();
    const int32_t vad = in_.read_i32();
    const int32_t vbd = in_.read_i32();
    const int32_t vcd = in_.read_i32();
    const int16_t strisced = in_.read_i16();
    if (!in_range(position)) return out_of_range(position);
    memo_indicatori_v_max(model_, position, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
    if (model_.error.number > 0) return stop_at(model_.error.number, position);
    return Flow::next;
  }

  Flow sign_board_record() {
    require_cells();
    const int32_t position = in_.read_i32();
    model_.current_field = in_.read_text();
    if (!in_range(position)) return out_of_range(position);
    Cell& cell = cell_at(model_, nearest_even_as<int32_t>(static_cast<double>(position) / 50 + 1));
    if (!cell.is_free()) return stop_at(6, position);
    // Board texts fill the table downward from record 80; record 0 is never a board.
    if (sign_floor_ < 1) refuse("more sign boards than the table holds");
    cell.marker = kSignBoard;
    cell.value1 = static_cast<int16_t>(sign_floor_);
    model_.table[static_cast<size_t>(sign_floor_)].text = model_.current_field;
    --sign_floor_;
    return Flow::next;
  }

  // ---- after the last record ----

  // The gradient in force reaches up to cell U - 3; the last three cells keep what they hold.
  void write_gradient_tail() {
    require_cells();
    do {
      write_gradient_cell();
    } while (gradient_cell_ < model_.last_cell_index - 2);
  }

  // The track runs straight from the last curve to metre N - 2; N - 1 and N stay empty.
  void write_plan_tail() {
    if (model_.plan_flag == 0) return;
    while (plan_metre_ <= model_.plan_length - 2) {
      straight_step();
      ++plan_metre_;
    }
  }

  BuildContext& ctx_;
  RouteModel& model_;
  std::string path_;
  FieldReader in_;
  int32_t sign_floor_ = kSignFloorStart;
  int32_t gradient_cell_ = 0;      // first cell whose gradient is not written yet
  int32_t gradient_in_force_ = 0;  // per mille, from the last gradient record
  int32_t plan_metre_ = 2;         // first metre of the route plan not computed yet
};

}  // namespace

LineReadResult read_line_source(BuildContext& ctx) {
  const std::string path = ctx.path(line_source_name(ctx.identity));
  if (!ctx.files->is_regular_file(path)) {
    ctx.model.error.number = 101;
    return {false, kSignFloorStart};
  }
  LineSourceReader reader(ctx, path);
  return reader.read();
}

}  // namespace scenario

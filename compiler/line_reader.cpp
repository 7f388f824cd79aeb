#include "compiler/line_reader.h"

#include <optional>
#include <string>
#include <utility>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"
#include "compiler/line_checks.h"
#include "compiler/line_placement.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

// How a record left the reading.
enum class Flow {
  next,        // go on with the next field
  stopped,     // an error was recorded; the train source stays unread
  body_ended,  // error 15: the body ends, the tails are written and the train source is read
};

// Comment fields passed over in a row before a field counts as a keyword anyway.
constexpr int kGeneralCommentRun = 10;
constexpr int kBodyCommentRun = 2;

class LineSourceReader {
 public:
  LineSourceReader(std::string_view text, bool with_plan, RouteModel& model, BuildError& error, LineChecks* checks)
      : model_(model), error_(error), with_plan_(with_plan), in_(text), checks_(checks) {}

  LineReading read() {
    try {
      if (find_general_section() == Flow::stopped) return stopped();
      if (read_general_section() == Flow::stopped) return stopped();
      if (checks_) checks_->km_references_read();
      order_km_references(model_);
      start_body();
      if (read_body() == Flow::stopped) return stopped();
      write_gradient_tail();
      write_plan_tail();
    } catch (InputError& failure) {
      failure.place_if_unknown(record_place_);
      failure.set_record_place(record_place_);
      throw;
    }
    return {true, sign_floor_};
  }

 private:
  LineReading stopped() const { return {false, sign_floor_}; }

  std::string next_field() {
    std::string field = in_.read_keyword();
    record_place_ = in_.last_field_place();
    return field;
  }

  // The error belongs to the record whose keyword was read last.
  Flow stop_with(BuildErrorCode code) {
    record(code);
    return Flow::stopped;
  }

  Flow stop_at(BuildErrorCode code, int32_t position) {
    record(code);
    error_.position = position;
    return Flow::stopped;
  }

  void record(BuildErrorCode code) {
    error_.code = code;
    error_.source = SourceFile::line;
    error_.place = record_place_;
  }

  [[noreturn]] void refuse(const std::string& why) const { throw InputError(why, record_place_); }

  // Every record with a position needs the cells that the route length creates.
  void require_cells() const {
    if (!model_.has_cells()) {
      refuse("the line has no route length yet: write \"lunghezza percorso, L\" in the [generale] section");
    }
  }

  // ---- preamble and general section ----

  // Everything before the first "[generale]" field is passed over.
  Flow find_general_section() {
    std::optional<SourcePlace> preamble;
    for (;;) {
      const std::string field = next_field();
      if (in_.at_end()) {
        if (checks_) checks_->no_general_section(field, record_place_);
        return stop_with(BuildErrorCode::no_general_section);
      }
      if (contains_any_case(field, "[generale]")) {
        if (checks_ && preamble) checks_->before_general_section(*preamble);
        return Flow::next;
      }
      if (!preamble) preamble = record_place_;
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

      const bool length = contains_any_case(field, "percorso") && contains_any_case(field, "lunghezza");
      const bool reference = contains(field, "progressiva") &&
                             (contains(field, "tre") || contains(field, "due") || contains(field, "uno"));
      const bool background =
          contains(field, "sfondo") && (contains(field, "uno") || contains(field, "due") || contains(field, "tre"));
      const bool repetition = contains(field, "segnali") && contains(field, "ripetizione");
      if (checks_) checks_->general_field(field, record_place_, length || reference || background || repetition);

      if (length) {
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
      if (repetition) {
        if (signal_repetition(field) == Flow::stopped) return Flow::stopped;
      }
      if (checks_) checks_->values_read(in_.last_field_place());
      if (ends_general_section(field)) return Flow::next;
    }
  }

  Flow route_length() {
    const int32_t length = in_.read_i32();
    model_.table[kTrainRecord].end = length;
    if (length > kMaxRouteLength) {
      if (checks_) checks_->route_too_long(length);
      return stop_with(BuildErrorCode::route_too_long);
    }
    // The run-out beyond the route keeps a short negative length usable; one
    // that leaves no cell 1 (where the compiler stamps the route) is refused.
    if (length < -kRunOut || last_cell_index_for(length) < 1) {
      refuse("route length " + std::to_string(length) + " m leaves no cell 1, where the compiler stamps the route");
    }
    model_.create_cells(length);
    if (with_plan_) model_.create_plan(length);
    return Flow::next;
  }

  void read_km_reference(int record) {
    TableRecord& reference = model_.table[static_cast<size_t>(record)];
    reference.start = in_.read_i32();
    reference.end = in_.read_i32();
    reference.position = in_.read_i32();
    if (checks_) checks_->km_reference(record, reference.start, reference.end);
  }

  Flow signal_repetition(const std::string& field) {
    TableRecord& repetition = model_.table[kTrainNumberRecord];
    repetition.start = in_.read_i32();
    repetition.end = in_.read_i32();
    if (repetition.start % kCellLength != 0) {
      return repetition_off_grid(BuildErrorCode::repetition_start_not_multiple_of_50, repetition.start);
    }
    if (repetition.end % kCellLength != 0) {
      return repetition_off_grid(BuildErrorCode::repetition_end_not_multiple_of_50, repetition.end);
    }
    // The keyword names the code system; "4" wins when it names both.
    if (contains(field, "4")) {
      repetition.position = 4;
    } else if (contains(field, "9")) {
      repetition.position = 9;
    } else {
      if (checks_) checks_->repetition_without_code_system();
      return stop_with(BuildErrorCode::repetition_without_code_system);
    }
    if (repetition.end == 0) repetition.position = 0;
    return Flow::next;
  }

  Flow repetition_off_grid(BuildErrorCode code, int32_t value) {
    if (checks_) checks_->repetition_not_multiple_of_50(code, value);
    return stop_with(code);
  }

  // ---- body ----

  void start_body() {
    mountains_.count = 0;
    sign_floor_ = kSignFloorStart;
    gradient_cell_ = 0;
    plan_metre_ = 2;
    if (model_.plan) {
      // The plan starts at the origin, heading along the second coordinate, one unit a metre.
      model_.plan->add_whole_metre(0, 0);
      model_.plan->add_whole_metre(0, 1);
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
      const bool gradient = contains_any_case(field, "pendenza");
      const bool curve = contains_any_case(field, "curva");
      const bool mountain = contains_any_case(field, "montagna");
      const bool speed_board = contains_any_case(field, "indicatori_v");
      const bool sign_board = contains_any_case(field, "cartello") && contains_any_case(field, "indicat");
      if (checks_) {
        checks_->body_field(field, record_place_,
                            gradient || (curve && with_plan_) || mountain || speed_board || sign_board,
                            curve && !with_plan_);
      }

      Flow flow = Flow::next;
      if (gradient) flow = gradient_record();
      if (flow != Flow::next) return flow;
      if (curve && with_plan_) flow = curve_record(field);
      if (flow != Flow::next) return flow;
      if (mountain) flow = mountain_record();
      if (flow != Flow::next) return flow;
      if (speed_board) flow = speed_board_record();
      if (flow != Flow::next) return flow;
      if (sign_board) flow = sign_board_record();
      if (flow != Flow::next) return flow;
      if (checks_) checks_->values_read(in_.last_field_place());
    }
  }

  // A record lies within reach of the cells when p + 100 <= 50 * U.
  bool in_range(int32_t position) const {
    return int64_t{position} + 100 <= int64_t{kCellLength} * model_.last_cell_index();
  }

  Flow out_of_range(int32_t position) {
    if (checks_) checks_->beyond_cells(position);
    stop_at(BuildErrorCode::beyond_cell_array, position);
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
    if (checks_) checks_->gradient(position, gradient);
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
    if (!class_turn) {
      if (checks_) checks_->curve_without_class();
      return stop_with(BuildErrorCode::curve_without_class_or_plan_too_long);
    }
    if (checks_) checks_->curve(start, length);
    // Left curves turn the other way.
    const double turn = contains_any_case(field, "s") ? -*class_turn : *class_turn;

    const Flow flow = steps_up_to(start, /*limited=*/true, straight_step);
    if (flow != Flow::next) return flow;
    const int64_t end = int64_t{start} + length;
    return steps_up_to(end, /*limited=*/true,
                       [turn](PlanPoint last, PlanPoint before) { return turning_step(last, before, turn); });
  }

  Flow plan_too_long() {
    if (checks_) checks_->plan_too_long();
    return stop_with(BuildErrorCode::curve_without_class_or_plan_too_long);
  }

  // The order of the operations in both steps is part of the compiled plan's bytes.
  static PlanPoint straight_step(PlanPoint last, PlanPoint before) {
    const double d0 = last.first - before.first;
    const double d1 = last.second - before.second;
    return {last.first + d0, last.second + d1};
  }

  // Rotates the direction of the previous metre by the turn, without
  // renormalising it: the step grows by sqrt(1 + turn^2) a metre.
  static PlanPoint turning_step(PlanPoint last, PlanPoint before, double turn) {
    const double d0 = last.first - before.first;
    const double d1 = last.second - before.second;
    return {last.first + (d0 + turn * d1), last.second + (d1 - turn * d0)};
  }

  // Makes a step at the plan metre and advances the plan metre, while it is at
  // most `last_step`. Each step goes on from the two metres before it, kept at
  // hand here instead of being read back from the plan. With `limited`, a plan
  // metre above 1000000 stops the reading with error 103.
  template <typename Step>
  Flow steps_up_to(int64_t last_step, bool limited, Step step) {
    if (plan_metre_ > last_step) return Flow::next;
    if (!model_.plan) refuse("a route plan step without a route plan");
    RoutePlan& plan = *model_.plan;
    PlanPoint before = plan.point(plan_metre_ - 2);
    PlanPoint last = plan.point(plan_metre_ - 1);
    while (plan_metre_ <= last_step) {
      if (plan_metre_ > plan.last_metre()) refuse("a curve runs past the end of the route plan");
      const PlanPoint next = step(last, before);
      plan.add_metre(next.first, next.second);
      before = last;
      last = next;
      if (++plan_metre_ > kPlanMetreLimit && limited) return plan_too_long();
    }
    return Flow::next;
  }

  Flow mountain_record() {
    require_cells();
    MountainSection section;
    section.start_m = in_.read_i32();
    section.end_m = in_.read_i32();
    section.section_type = in_.read_i32();
    if (!in_range(section.start_m)) return out_of_range(section.start_m);
    if (checks_) checks_->mountain(section);
    place_mountain_section(model_, mountains_, section);
    return Flow::next;
  }

  Flow speed_board_record() {
    require_cells();
    SpeedBoard board;
    board.position_m = in_.read_i32();
    for (int32_t& speed : board.s_speeds) speed = in_.read_i32();
    board.s_stripes = in_.read_i16();
    for (int32_t& speed : board.d_speeds) speed = in_.read_i32();
    board.d_stripes = in_.read_i16();
    if (!in_range(board.position_m)) return out_of_range(board.position_m);
    const BuildErrorCode placed = place_speed_board(model_, board);
    if (checks_) checks_->speed_board(board, placed);
    if (placed != BuildErrorCode::none) return stop_at(placed, board.position_m);
    return Flow::next;
  }

  Flow sign_board_record() {
    require_cells();
    const int32_t position = in_.read_i32();
    std::string text = in_.read_text();
    if (!in_range(position)) return out_of_range(position);
    const auto cell_index = nearest_even_as<int32_t>(static_cast<double>(position) / 50 + 1);
    Cell& cell = cell_at(model_, cell_index);
    if (checks_) checks_->sign_board(position, cell_index, !cell.is_free());
    if (!cell.is_free()) return stop_at(BuildErrorCode::sign_board_cell_taken, position);
    // Board texts fill the table downward from record 80; record 0 is never a board.
    if (sign_floor_ < 1) refuse("more than 80 sign boards: the table holds 80 board texts");
    cell.marker = kSignBoard;
    cell.value1 = static_cast<int16_t>(sign_floor_);
    model_.table[static_cast<size_t>(sign_floor_)].text = std::move(text);
    --sign_floor_;
    return Flow::next;
  }

  // ---- after the last record ----

  // The gradient in force reaches up to cell U - 3; the last three cells keep what they hold.
  void write_gradient_tail() {
    require_cells();
    do {
      write_gradient_cell();
    } while (gradient_cell_ < model_.last_cell_index() - 2);
  }

  // The track runs straight from the last curve to metre N - 2; N - 1 and N stay empty.
  void write_plan_tail() {
    if (!with_plan_) return;
    if (!model_.plan) refuse("a route plan step without a route plan");
    steps_up_to(model_.plan->last_metre() - 2, /*limited=*/false, straight_step);
  }

  RouteModel& model_;
  BuildError& error_;
  const bool with_plan_;
  FieldReader in_;
  LineChecks* checks_;        // none when nobody is told about the sources
  SourcePlace record_place_;  // where the record being read begins
  MountainSections mountains_;
  int32_t sign_floor_ = kSignFloorStart;
  int32_t gradient_cell_ = 0;      // first cell whose gradient is not written yet
  int32_t gradient_in_force_ = 0;  // per mille, from the last gradient record
  int32_t plan_metre_ = 2;         // first metre of the route plan not computed yet
};

}  // namespace

LineReading read_line_source(std::string_view text, bool with_plan, RouteModel& model, BuildError& error,
                             LineChecks* checks) {
  LineSourceReader reader(text, with_plan, model, error, checks);
  // However the reading ends, the plan is complete as it stands: the metres it
  // did not reach stay empty.
  try {
    const LineReading reading = reader.read();
    if (model.plan) model.plan->finish();
    return reading;
  } catch (...) {
    if (model.plan) model.plan->finish();
    throw;
  }
}

}  // namespace scenario

#include "fuzz/fuzz_inputs.h"

#include <cstdlib>
#include <cstring>

#include "compiler/compile.h"
#include "compiler/compiled_decoder.h"
#include "compiler/compiled_meaning.h"
#include "compiler/compiled_output.h"
#include "source/field_reader.h"

namespace scenario::fuzzing {

void compile_input(std::string_view input) {
  if (input.empty()) return;
  const bool with_plan = (static_cast<unsigned char>(input.front()) & 1) != 0;
  const std::string_view sources = input.substr(1);
  const size_t split = sources.find('\0');
  SourceTexts texts;
  texts.line.bytes = std::string(sources.substr(0, split));
  texts.train.bytes = split == std::string_view::npos ? std::string() : std::string(sources.substr(split + 1));

  const Compilation compilation = compile_sources(texts, ascii_identity("Fuzz", "1"), with_plan);
  if (compilation.status != CompileStatus::compiled) return;
  const RouteModel& model = compilation.model;
  // Every compiled file of a finished route can be encoded, whatever the sources held.
  if (encode_cell_file(model).size() != model.cells.size() * kCellBytes) std::abort();
  static_cast<void>(encode_table_file(model));
  // A finished plan holds two tagged entries for every metre 0 to N.
  if (model.plan && model.plan->file_bytes().size() < 4 * (static_cast<size_t>(model.plan->last_metre()) + 1)) {
    std::abort();
  }
}

void read_fields(std::string_view input) {
  FieldReader in(input);
  // Each read takes at least one byte or ends the text: more reads than bytes is a reader going nowhere.
  size_t reads = 0;
  for (int kind = 0; !in.at_end(); kind = (kind + 1) % 5) {
    if (++reads > input.size() + 1) std::abort();
    try {
      switch (kind) {
        case 0:
          static_cast<void>(in.read_keyword());
          break;
        case 1:
          static_cast<void>(in.read_i32());
          break;
        case 2:
          static_cast<void>(in.read_i16());
          break;
        case 3:
          static_cast<void>(in.read_u8());
          break;
        default:
          static_cast<void>(in.read_text());
          break;
      }
    } catch (const InputError& failure) {
      // A refusal names a real place in the text; only a text that ends
      // inside a record leaves the place to the reader, which knows the record.
      if (failure.place() ? failure.place()->line < 1 || failure.place()->column < 1 : !in.at_end()) std::abort();
    }
  }
}

namespace {

size_t take_u16(std::string_view& input) {
  if (input.size() < 2) return 0;
  const size_t value = static_cast<unsigned char>(input[0]) | static_cast<size_t>(static_cast<unsigned char>(input[1]))
                                                                  << 8;
  input.remove_prefix(2);
  return value;
}

std::string_view take(std::string_view& input, size_t size) {
  const std::string_view part = input.substr(0, size);
  input.remove_prefix(part.size());
  return part;
}

// What inspect and plot make of a scenario that decoded.
void read_as_the_tools_do(const DecodedScenario& scenario) {
  static_cast<void>(check_marks(scenario));
  static_cast<void>(route_length_m(scenario));
  const CompiledTable* table = scenario.table ? &*scenario.table : nullptr;
  if (table) {
    static_cast<void>(record_roles(*table));
    static_cast<void>(km_references(*table));
  }
  if (scenario.cells) {
    const std::vector<Cell>& cells = *scenario.cells;
    for (size_t i = 0; i < cells.size(); ++i)
      static_cast<void>(describe_marker(static_cast<int32_t>(i), cells[i], table));
    static_cast<void>(heights_m(cells));
    static_cast<void>(slowdowns_of(cells));
  }
  if (scenario.plan) static_cast<void>(summarize_plan(*scenario.plan));
}

}  // namespace

void decode_files(std::string_view input) {
  if (input.empty()) return;
  const int kind = static_cast<unsigned char>(input.front()) % 4;
  input.remove_prefix(1);
  CompiledBytes files;
  if (kind == 0) files.cells = input;
  if (kind == 1) files.table = input;
  if (kind == 2) files.line_plan = input;
  if (kind == 3) {
    const size_t cell_bytes = take_u16(input);
    const size_t table_bytes = take_u16(input);
    files.cells = take(input, cell_bytes);
    files.table = take(input, table_bytes);
    files.line_plan = input;
  }
  const Decoded<DecodedScenario> decoded = decode_scenario(files);
  if (!decoded) {
    // A refusal says which file and what is wrong.
    if (decoded.error().message().empty()) std::abort();
    return;
  }
  read_as_the_tools_do(decoded.value());
}

}  // namespace scenario::fuzzing

#include "fuzz/fuzz_inputs.h"

#include <cstdlib>
#include <cstring>

#include "compiler/compile.h"
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
  if (model.plan) static_cast<void>(encode_line_plan_file(*model.plan));
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
      // A refusal names a real place in the text.
      if (!failure.place() || failure.place()->line < 1 || failure.place()->column < 1) std::abort();
    }
  }
}

}  // namespace scenario::fuzzing

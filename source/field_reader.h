#pragma once

// Field reading shared by the line and the train source files. A file is a
// run of fields, each ending at a comma or a line end; records are counted in
// fields, never in lines.

#include <cstdint>
#include <string>
#include <string_view>

#include "source/input_error.h"

namespace scenario {

inline constexpr size_t kMaxTextLength = 65535;

// Reads fields from text that the caller keeps alive for the reader's lifetime.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes);
  explicit FieldReader(const char* bytes) : FieldReader(std::string_view(bytes)) {}
  // A temporary text would be gone before its fields are read.
  explicit FieldReader(std::string&&) = delete;

  // The end of the file: nothing but the final line end remains after the
  // field just read (nothing at all, or exactly one line end).
  bool at_end() const;

  // Reads a keyword (or header) field: blanks and line ends before it are
  // skipped, it runs to the next comma or line end, which is consumed, and
  // blanks at its end are not part of it. When only blanks and line ends are
  // left it gives an empty field and at_end() becomes true.
  std::string read_keyword();

  // Reads a text value (a board text, a station name), as read_keyword but
  // with the file ending before it, or a text longer than a table record
  // holds, being an InputError.
  std::string read_text();

  // Reads a whole number into the stated width. Blanks and line ends before
  // it are skipped; it ends at a comma, a blank or a line end; the blanks, one
  // comma and one line end after it are consumed. An empty field reads 0.
  // Throws InputError, with the field's place, for anything else.
  int32_t read_i32();
  int16_t read_i16();
  uint8_t read_u8();

  // Where the field read last began.
  SourcePlace last_field_place() const;

 private:
  int64_t read_number(int64_t min, int64_t max, const char* width);
  void skip_blanks_and_line_ends();
  bool take_line_end();
  std::string read_to_delimiter();
  SourcePlace place_of(size_t offset) const;

  std::string_view bytes_;
  size_t pos_ = 0;
  size_t field_start_ = 0;
  // The last place worked out: fields are asked for in file order, so each
  // count of lines goes on from the one before instead of from the start.
  mutable size_t counted_to_ = 0;
  mutable SourcePlace counted_place_;
};

// Keyword tests: a keyword is recognised by the texts it contains.
bool contains(std::string_view field, std::string_view key);           // letter case exact
bool contains_any_case(std::string_view field, std::string_view key);  // A-Z as a-z
// A field with "-" anywhere is a comment and is passed over.
inline bool is_comment(std::string_view field) { return contains(field, "-"); }

}  // namespace scenario

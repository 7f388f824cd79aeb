#include "source/field_reader.h"

#include <algorithm>
#include <limits>

namespace scenario {
namespace {

// Authors' hand-written files use tabs as well as blanks.
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

FieldReader::FieldReader(std::string_view bytes) : bytes_(bytes) {}

bool FieldReader::at_end() const {
  const size_t left = bytes_.size() - pos_;
  if (left == 0) return true;
  const std::string_view rest(bytes_.data() + pos_, left);
  return rest == "\r\n" || rest == "\n" || rest == "\r";
}

void FieldReader::skip_blanks_and_line_ends() {
  while (pos_ < bytes_.size() && (is_blank(bytes_[pos_]) || is_line_end(bytes_[pos_]))) ++pos_;
}

bool FieldReader::take_line_end() {
  if (pos_ >= bytes_.size()) return false;
  if (bytes_[pos_] == '\r') {
    ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    return true;
  }
  if (bytes_[pos_] == '\n') {
    ++pos_;
    return true;
  }
  return false;
}

std::string FieldReader::read_to_delimiter() {
  const size_t start = pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !is_line_end(bytes_[pos_])) ++pos_;
  size_t stop = pos_;
  while (stop > start && is_blank(bytes_[stop - 1])) --stop;
  std::string field(bytes_.substr(start, stop - start));
  if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
    ++pos_;
  } else {
    take_line_end();
  }
  return field;
}

std::string FieldReader::read_keyword() {
  skip_blanks_and_line_ends();
  field_start_ = pos_;
  if (pos_ >= bytes_.size()) return {};
  return read_to_delimiter();
}

std::string FieldReader::read_text() {
  skip_blanks_and_line_ends();
  field_start_ = pos_;
  // The record that lacks the text is the place to show, not the end of the file.
  if (pos_ >= bytes_.size()) throw InputError("the file ends inside this record: it lacks values");
  std::string text = read_to_delimiter();
  // A table text is stored behind a 16-bit length.
  if (text.size() > kMaxTextLength) {
    throw InputError("a text of " + std::to_string(text.size()) + " characters, more than the " +
                         std::to_string(kMaxTextLength) + " a table record holds",
                     place_of(field_start_));
  }
  return text;
}

int64_t FieldReader::read_number(int64_t min, int64_t max, const char* width) {
  skip_blanks_and_line_ends();
  field_start_ = pos_;
  if (pos_ >= bytes_.size()) throw InputError("the file ends inside this record: it lacks values");

  const size_t start = pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !is_blank(bytes_[pos_]) && !is_line_end(bytes_[pos_])) {
    ++pos_;
  }
  const std::string_view token(bytes_.data() + start, pos_ - start);

  int64_t value = 0;
  if (!token.empty()) {
    const bool negative = token.front() == '-';
    const std::string_view digits = negative ? token.substr(1) : token;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      throw InputError("expected a whole number, found \"" + std::string(token) + "\"", place_of(start));
    }
    for (char c : digits) {
      value = value * 10 + (c - '0');
      if (value > max + 1) break;  // far enough past any width to be refused below
    }
    if (negative) value = -value;
    if (value < min || value > max) {
      throw InputError(std::string(token) + " does not fit " + width, place_of(start));
    }
  }

  // Blanks with at most one comma form one separator.
  while (pos_ < bytes_.size() && is_blank(bytes_[pos_])) ++pos_;
  if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
    ++pos_;
  } else {
    take_line_end();
  }
  return value;
}

int32_t FieldReader::read_i32() {
  return static_cast<int32_t>(read_number(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                                          "a 32-bit field (-2147483648 to 2147483647)"));
}

int16_t FieldReader::read_i16() {
  return static_cast<int16_t>(read_number(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(),
                                          "a 16-bit field (-32768 to 32767)"));
}

uint8_t FieldReader::read_u8() { return static_cast<uint8_t>(read_number(0, 255, "an 8-bit field (0 to 255)")); }

SourcePlace FieldReader::last_field_place() const { return place_of(field_start_); }

SourcePlace FieldReader::place_of(size_t offset) const {
  if (offset < counted_to_) {
    counted_to_ = 0;
    counted_place_ = SourcePlace{};
  }
  for (size_t i = counted_to_; i < offset && i < bytes_.size(); ++i) {
    if (bytes_[i] == '\n' || (bytes_[i] == '\r' && (i + 1 >= bytes_.size() || bytes_[i + 1] != '\n'))) {
      ++counted_place_.line;
      counted_place_.column = 1;
    } else if (bytes_[i] != '\r') {
      ++counted_place_.column;
    }
  }
  counted_to_ = std::min(offset, bytes_.size());
  return counted_place_;
}

bool contains(std::string_view field, std::string_view key) { return field.find(key) != std::string_view::npos; }

bool contains_any_case(std::string_view field, std::string_view key) {
  if (key.size() > field.size()) return false;
  for (size_t i = 0; i + key.size() <= field.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < key.size() && match; ++k) match = lower(field[i + k]) == lower(key[k]);
    if (match) return true;
  }
  return false;
}

}  // namespace scenario

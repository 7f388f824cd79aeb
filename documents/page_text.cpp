#include "documents/page_text.h"

#include <stdexcept>

namespace scenario {
namespace {

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::string_view kCentralLong = " C.le";
constexpr std::string_view kCentralShort = " C.";

}  // namespace

std::string upper_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ascii_upper(c);
  return out;
}

std::string initial_capitals(std::string_view text) {
  std::string out(text);
  bool word_start = true;
  for (char& c : out) {
    c = word_start ? ascii_upper(c) : ascii_lower(c);
    word_start = (c == ' ' || c == '-');
  }
  return out;
}

std::string short_station_name(std::string_view name) {
  if (name.ends_with(kCentralLong)) {
    return std::string(name.substr(0, name.size() - kCentralLong.size())) + std::string(kCentralShort);
  }
  return std::string(name);
}

std::string clock_text(int hour, int minute) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) throw std::out_of_range("not a time of day");
  std::string out = hour < 10 ? " " : "";
  out += std::to_string(hour);
  out += '.';
  if (minute < 10) out += '0';
  out += std::to_string(minute);
  return out;
}

size_t character_count(std::string_view text) {
  size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string fit(std::string_view text, size_t width, char filler) {
  const size_t length = character_count(text);
  if (length > width) throw std::length_error("\"" + std::string(text) + "\" does not fit its column");
  std::string out(text);
  out.append(width - length, filler);
  return out;
}

}  // namespace scenario

#pragma once

// The writing pattern every text file of a scenario shares: the lines go into
// a buffer of 1001 entries closed by an end-of-file sentinel, and the file
// receives each entry up to the sentinel, followed by CR LF, one byte a
// character (Windows-1252).

#include <array>
#include <string>
#include <string_view>

namespace scenario {

inline constexpr std::string_view kEndOfFileSentinel = "riferimento fine del file";
inline constexpr int kLineBufferEntries = 1001;

class LineBuffer {
 public:
  // Appends one line, spelt in UTF-8, stored as Windows-1252 bytes. Throws
  // std::invalid_argument when the line cannot be converted and
  // std::length_error when the buffer has no room left for it and the sentinel.
  void add(std::string_view utf8_line);
  // Places the sentinel after the last line; the buffer is then complete.
  void close();

  int line_count() const { return count_; }
  // Entry i as stored (bytes); entries past the sentinel are empty.
  const std::string& entry(int i) const { return entries_[static_cast<size_t>(i)]; }
  std::string& entry(int i) { return entries_[static_cast<size_t>(i)]; }

 private:
  std::array<std::string, kLineBufferEntries> entries_{};
  int count_ = 0;
};

// The file's bytes: every entry before the first sentinel, each followed by CR LF.
std::string render_text_file(const LineBuffer& lines);

}  // namespace scenario

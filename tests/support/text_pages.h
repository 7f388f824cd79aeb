#pragma once

// A written text page read back the way a crew member's editor shows it:
// lines split at CR LF, one byte a character, columns counted from 1.

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "source/text_writer.h"
#include "source/windows1252.h"

namespace scenario::testing {

class TextPage {
 public:
  // A line ending other than CR LF, or a last line without one, fails the calling test.
  explicit TextPage(const LineBuffer& buffer) : bytes_(render_text_file(buffer)) {
    size_t start = 0;
    while (start < bytes_.size()) {
      const size_t end = bytes_.find("\r\n", start);
      if (end == std::string::npos) {
        ADD_FAILURE() << "last line not closed by CR LF";
        lines_.push_back(bytes_.substr(start));
        break;
      }
      const std::string line = bytes_.substr(start, end - start);
      if (line.find_first_of("\r\n") != std::string::npos) ADD_FAILURE() << "bare CR or LF in line " << size() + 1;
      lines_.push_back(line);
      start = end + 2;
    }
  }

  const std::string& bytes() const { return bytes_; }
  size_t size() const { return lines_.size(); }
  const std::vector<std::string>& lines() const { return lines_; }
  // Line n (from 1) as written, one byte a character.
  const std::string& line(size_t n) const { return lines_.at(n - 1); }
  // Line n in UTF-8, to compare with texts spelt in the test.
  std::string text(size_t n) const { return cp1252_to_utf8(line(n)); }

 private:
  std::string bytes_;
  std::vector<std::string> lines_;
};

struct ExpectedLine {
  size_t line;
  const char* text;  // UTF-8
};

inline void expect_lines(const TextPage& page, std::initializer_list<ExpectedLine> expected) {
  for (const ExpectedLine& e : expected) EXPECT_EQ(page.text(e.line), e.text) << "line " << e.line;
}

// Columns (from 1) at which `c` stands in `line`.
inline std::set<size_t> columns_of(std::string_view line, char c) {
  std::set<size_t> columns;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == c) columns.insert(i + 1);
  }
  return columns;
}

// Columns `first` to `last` of `line`, both included.
inline std::string columns(std::string_view line, size_t first, size_t last) {
  if (first < 1 || last < first || last > line.size()) return "<outside the line>";
  return std::string(line.substr(first - 1, last - first + 1));
}

}  // namespace scenario::testing

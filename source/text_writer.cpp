#include "source/text_writer.h"

#include <stdexcept>

#include "source/windows1252.h"

namespace scenario {

void LineBuffer::add(std::string_view utf8_line) {
  // The sentinel needs an entry of its own after the last line.
  if (count_ + 1 >= kLineBufferEntries) throw std::length_error("line buffer full");
  entries_[static_cast<size_t>(count_)] = cp1252(utf8_line);
  ++count_;
}

void LineBuffer::close() { entries_[static_cast<size_t>(count_)] = std::string(kEndOfFileSentinel); }

std::string render_text_file(const LineBuffer& lines) {
  std::string bytes;
  for (int i = 0; i < kLineBufferEntries; ++i) {
    const std::string& line = lines.entry(i);
    if (line == kEndOfFileSentinel) return bytes;
    bytes += line;
    bytes += "\r\n";
  }
  throw std::logic_error("line buffer without its end-of-file sentinel");
}

}  // namespace scenario

#include "source/text_writer.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(TextWriter, LinesEndWithCrLfAndAccentsAreSingleBytes) {
  LineBuffer lines;
  lines.add("Validità");
  lines.add("");
  lines.add(" Scheda n° 1/2 ");
  lines.add("è ì ò ù");
  lines.close();
  EXPECT_EQ(render_text_file(lines), "Validit\xE0\r\n\r\n Scheda n\xB0 1/2 \r\n\xE8 \xEC \xF2 \xF9\r\n");
}

TEST(TextWriter, SentinelEndsTheFileWhereverItStands) {
  LineBuffer lines;
  lines.add("first");
  lines.add("riferimento fine del file");  // an early sentinel cuts the file here
  lines.add("never written");
  lines.close();
  EXPECT_EQ(render_text_file(lines), "first\r\n");

  LineBuffer almost;
  almost.add("Riferimento fine del file");  // the comparison is exact
  almost.close();
  EXPECT_EQ(render_text_file(almost), "Riferimento fine del file\r\n");
}

TEST(TextWriter, BufferHoldsAThousandLinesAndTheSentinel) {
  LineBuffer lines;
  for (int i = 0; i < 1000; ++i) lines.add("x");
  EXPECT_THROW(lines.add("one too many"), std::length_error);
  lines.close();
  EXPECT_EQ(render_text_file(lines).size(), 3000u);
}

TEST(TextWriter, RefusesTextOutsideTheCodePage) {
  LineBuffer lines;
  EXPECT_THROW(lines.add("Ł"), std::invalid_argument);
  LineBuffer unclosed;
  EXPECT_THROW(render_text_file(unclosed), std::logic_error);
}

}  // namespace
}  // namespace scenario

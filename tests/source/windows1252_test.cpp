#include "source/windows1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace scenario {
namespace {

// A text typed in UTF-8 is either Windows-1252 text as well, valid UTF-8 that
// code page cannot hold, or not UTF-8 at all (as a Windows-1252 file with an
// accented letter usually is).
TEST(Windows1252, TellsUtf8FromOtherBytesAndConvertsWhatTheCodePageHolds) {
  struct Case {
    const char* what;
    std::string bytes;
    bool valid_utf8;
    std::optional<std::string> cp1252;
  };
  const Case cases[] = {
      {"plain ASCII", "Morlavesa", true, "Morlavesa"},
      {"an accented capital", "CITT\xC3\x80", true, "CITT\xC0"},
      {"the euro sign, from the 0x80 row", "\xE2\x82\xAC", true, "\x80"},
      {"letters the code page lacks", "\xC5\x81\xC3\xB3\x64\xC5\xBA", true, std::nullopt},
      {"a character beyond the basic plane", "\xF0\x9F\x9A\x82", true, std::nullopt},
      {"a Windows-1252 accented letter", "Citt\xE0", false, std::nullopt},
      {"a lone continuation byte", "\x80", false, std::nullopt},
      {"a sequence cut short at the end", "CITT\xC3", false, std::nullopt},
      {"an overlong slash", "\xC0\xAF", false, std::nullopt},
      {"a surrogate half", "\xED\xA0\x80", false, std::nullopt},
      {"past the last character", "\xF4\x90\x80\x80", false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(is_valid_utf8(c.bytes), c.valid_utf8);
    EXPECT_EQ(utf8_to_cp1252(c.bytes), c.cp1252);
  }
}

}  // namespace
}  // namespace scenario

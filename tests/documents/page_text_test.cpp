#include "documents/page_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace scenario {
namespace {

TEST(PageText, PlaceSpellings) {
  const struct {
    const char* name;
    const char* upper;
    const char* capitals;
    const char* short_form;
  } cases[] = {
      {"VALDORENA C.le", "VALDORENA C.LE", "Valdorena C.le", "VALDORENA C."},
      {"TORRESECCA", "TORRESECCA", "Torresecca", "TORRESECCA"},
      {"Fornace Rossa", "FORNACE ROSSA", "Fornace Rossa", "Fornace Rossa"},
      {"C.le VALDORENA", "C.LE VALDORENA", "C.le Valdorena", "C.le VALDORENA"},  // only a closing "C.le" shortens
  };
  for (const auto& c : cases) {
    EXPECT_EQ(upper_case(c.name), c.upper);
    EXPECT_EQ(initial_capitals(c.name), c.capitals);
    EXPECT_EQ(short_station_name(c.name), c.short_form);
  }
}

TEST(PageText, ClockTimesKeepTheirPointInOneColumn) {
  EXPECT_EQ(clock_text(13, 10), "13.10");
  EXPECT_EQ(clock_text(14, 6), "14.06");
  EXPECT_EQ(clock_text(9, 0), " 9.00");
  EXPECT_THROW(clock_text(24, 0), std::out_of_range);
  EXPECT_THROW(clock_text(13, 60), std::out_of_range);
  EXPECT_THROW(clock_text(-1, 59), std::out_of_range);
}

TEST(PageText, CellsAreFilledToTheirWidthAndNeverOverflow) {
  EXPECT_EQ(fit("MORLAVESA", 12, '.'), "MORLAVESA...");
  EXPECT_EQ(fit("", 3), "   ");
  EXPECT_EQ(fit("Validità", 10), "Validità  ");  // counted in characters, not bytes
  EXPECT_EQ(fit("ROCCAFIORENZA C.LE", 18), "ROCCAFIORENZA C.LE");
  EXPECT_THROW(fit("ROCCAFIORENZA C.LE", 17), std::length_error);
}

}  // namespace
}  // namespace scenario

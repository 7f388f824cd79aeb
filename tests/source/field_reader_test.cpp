#include "source/field_reader.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(FieldReader, BlanksAroundCommasCarryNoMeaning) {
  FieldReader r("ripetizione segnali 4 codici,    0    ,0\r\n[curve]\r\n");
  EXPECT_EQ(r.read_keyword(), "ripetizione segnali 4 codici");
  EXPECT_EQ(r.read_i32(), 0);
  EXPECT_EQ(r.read_i32(), 0);
  EXPECT_FALSE(r.at_end());
  EXPECT_EQ(r.read_keyword(), "[curve]");
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, BlankSeparatedNumbersAndTrailingBlank) {
  FieldReader r("orologio,    13              9             40 \r\n");
  EXPECT_EQ(r.read_keyword(), "orologio");
  EXPECT_EQ(r.read_i16(), 13);
  EXPECT_EQ(r.read_i16(), 9);
  EXPECT_EQ(r.read_i16(), 40);
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, EmptyNumericFieldsReadZero) {
  FieldReader r("indicatori_vmax,  900,  60,  80,  80,  0,  ,  ,  ,  0\r\n");
  EXPECT_EQ(r.read_keyword(), "indicatori_vmax");
  std::vector<int32_t> values;
  for (int i = 0; i < 9; ++i) values.push_back(r.read_i32());
  EXPECT_EQ(values, (std::vector<int32_t>{900, 60, 80, 80, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, TextKeepsInnerBlanksAndDropsOuterOnes) {
  FieldReader r("cartello_indicatore,  14250,   (Fine )(Ponte)  \r\n\tstazione,0, VALDORENA C.le\r\n");
  EXPECT_EQ(r.read_keyword(), "cartello_indicatore");
  EXPECT_EQ(r.read_i32(), 14250);
  EXPECT_EQ(r.read_text(), "(Fine )(Ponte)");
  EXPECT_EQ(r.read_keyword(), "stazione");  // a tab counts as a blank
  EXPECT_EQ(r.read_i32(), 0);
  EXPECT_EQ(r.read_text(), "VALDORENA C.le");
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, EndOfFileRule) {
  struct Case {
    const char* file;
    bool at_end_after_first_field;
  };
  const Case cases[] = {
      {"[fine]", true},      // nothing left
      {"[fine]\r\n", true},  // the final line end is consumed with the field
      {"[fine]\n", true},
      {"[fine],", true},         // the comma ends the field
      {"[fine]\r\n\r\n", true},  // its own line end is consumed; one more is the final line end
      {"[fine]\r\n\r\n\r\n", false},
      {"[fine]\r\nx", false},
  };
  for (const Case& c : cases) {
    FieldReader r(c.file);
    r.read_keyword();
    EXPECT_EQ(r.at_end(), c.at_end_after_first_field) << c.file;
  }

  // A keyword read that finds only blanks and line ends gives an empty field at the end.
  FieldReader trailing("[fine]\r\n \r\n\t\r\n");
  trailing.read_keyword();
  EXPECT_EQ(trailing.read_keyword(), "");
  EXPECT_TRUE(trailing.at_end());
}

TEST(FieldReader, ValueReadsPastTheEndAreReadFailures) {
  FieldReader numbers("pendenza,  450\r\n");
  numbers.read_keyword();
  EXPECT_EQ(numbers.read_i32(), 450);
  EXPECT_THROW(numbers.read_i32(), InputError);

  FieldReader text("cartello_indicatore,  350\r\n  \r\n");
  text.read_keyword();
  text.read_i32();
  EXPECT_THROW(text.read_text(), InputError);
}

TEST(FieldReader, NumbersMustBeWholeAndFitTheirWidth) {
  struct Case {
    const char* field;
    int width;  // 32, 16 or 8
    bool accepted;
    int64_t value;
  };
  const Case cases[] = {
      {"-25", 32, true, -25},
      {"2147483647", 32, true, 2147483647},
      {"2147483648", 32, false, 0},
      {"-2147483648", 32, true, INT32_MIN},
      {"99999999999999999999", 32, false, 0},
      {"32767", 16, true, 32767},
      {"32768", 16, false, 0},
      {"-32768", 16, true, -32768},
      {"255", 8, true, 255},
      {"256", 8, false, 0},
      {"-1", 8, false, 0},
      {"1.5", 32, false, 0},
      {"+5", 32, false, 0},
      {"12abc", 32, false, 0},
      {"-", 32, false, 0},
      {"1,000", 32, true, 1},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(c.field) + "\r\n";
    FieldReader r(text);
    int64_t value = 0;
    try {
      value = c.width == 32 ? r.read_i32() : c.width == 16 ? r.read_i16() : r.read_u8();
      EXPECT_TRUE(c.accepted) << c.field << " read as " << value;
      EXPECT_EQ(value, c.value) << c.field;
    } catch (const InputError&) {
      EXPECT_FALSE(c.accepted) << c.field << " refused";
    }
  }
}

TEST(FieldReader, RecordsFlowOverLineEnds) {
  // A station row one field short takes its last field from the next line.
  FieldReader r("velocita,\r\n   900,\r\n80\r\n");
  EXPECT_EQ(r.read_keyword(), "velocita");
  EXPECT_EQ(r.read_i32(), 900);
  EXPECT_EQ(r.read_i32(), 80);
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, ReportsWhereTheLastFieldBegan) {
  FieldReader r("[generale]\r\nlunghezza percorso,    43x00\r\n");
  r.read_keyword();
  r.read_keyword();
  try {
    r.read_i32();
    FAIL();
  } catch (const InputError& e) {
    ASSERT_TRUE(e.place().has_value());
    EXPECT_EQ(e.place()->line, 2);
    EXPECT_EQ(e.place()->column, 24);
  }
}

TEST(Keywords, ContainedTextWithOrWithoutCase) {
  EXPECT_TRUE(contains_any_case("LUNGHEZZA Percorso", "percorso"));
  EXPECT_TRUE(contains("progressiva chilometrica uno", "uno"));
  EXPECT_FALSE(contains("Progressiva chilometrica uno", "progressiva"));
  EXPECT_TRUE(contains_any_case("curvaS5", "curva"));
  EXPECT_FALSE(contains_any_case("cur", "curva"));
  EXPECT_TRUE(is_comment("-------"));
  EXPECT_FALSE(is_comment("pendenza"));
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(FieldReader, TextLongerThanATableRecordHoldsIsAReadFailure) {
  const std::string longest = std::string(65535, 'a') + "\r\n";
  FieldReader fits(longest);
  EXPECT_EQ(fits.read_text().size(), 65535u);
  const std::string one_more = std::string(65536, 'a') + "\r\n";
  FieldReader too_long(one_more);
  EXPECT_THROW(too_long.read_text(), InputError);
}

}  // namespace
}  // namespace scenario

#include "document/section_text.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(SectionWriter, FieldsLinesAndExchangeText) {
  SectionWriter w;
  w.line().integer(1);
  w.line().integer(1).integer(0).real(12.5).integer(0).integer(0).integer(0).integer(2);
  w.line().real(1.5e15).real(-0.25);
  w.textLine("y=sin(x)");
  EXPECT_EQ(w.finish(), "1\n1|0|12.5|0|0|0|2\n1.5E+015|-0.25\ny=sin(x)\n");
  EXPECT_EQ(SectionWriter().finish(), "");
}

TEST(SectionReader, LenientFields) {
  SectionReader r("3|abc|7x\n 1 |0\n1.5E+015|nan|\nshort");
  SectionLine a = r.nextFields();
  EXPECT_EQ(a.integer(0), 3);
  EXPECT_EQ(a.integer(1), 0);
  EXPECT_EQ(a.integer(2), 7);
  EXPECT_EQ(a.integer(9), 0) << "a missing field reads as 0";
  SectionLine b = r.nextFields();
  EXPECT_TRUE(b.flag(0));
  EXPECT_FALSE(b.flag(1));
  SectionLine c = r.nextFields();
  EXPECT_DOUBLE_EQ(c.real(0), 1.5e15);
  EXPECT_EQ(c.real(1), 0.0);
  EXPECT_EQ(c.text(2), "");
  EXPECT_EQ(r.nextLine(), "short");
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(r.nextLine(), "") << "past the end every line is empty";
}

TEST(ReadIntegerPrefix, ClampsHugeCounts) {
  EXPECT_EQ(readIntegerPrefix("99999999999999999999"), 2147483647);
  EXPECT_EQ(readIntegerPrefix("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(readIntegerPrefix("-12"), -12);
  EXPECT_EQ(readIntegerPrefix(""), 0);
}

}  // namespace
}  // namespace qz

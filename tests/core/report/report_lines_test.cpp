#include "report/report_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace qz {
namespace {

TEST(ReportLines, StoresTheInternalFormOfEachText) {
  ReportLines lines;
  ASSERT_TRUE(lines.addReportLine("\\Bn =\\B 3"));
  ASSERT_TRUE(lines.addReportLine(""));
  ASSERT_TRUE(lines.addReportLine("C:\xA4Notes"));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "\x85n =\x85 3");
  EXPECT_EQ(lines[1], "") << "an empty text is an empty line";
  EXPECT_EQ(lines[2], "C:\\Notes") << "the sign stands for a literal backslash";
}

TEST(ReportLines, CutsLongTextsTo255Characters) {
  ReportLines lines;
  ASSERT_TRUE(lines.addReportLine(std::string(300, 'a')));
  EXPECT_EQ(lines[0], std::string(255, 'a'));
  // The cut counts converted bytes: 200 codes of two characters become 200 bytes.
  std::string codes;
  for (int i = 0; i < 200; ++i) codes += "\\b";
  ASSERT_TRUE(lines.addReportLine(codes + std::string(100, 'z')));
  EXPECT_EQ(lines[1], std::string(200, '\x86') + std::string(55, 'z'));
}

TEST(ReportLines, RefusesTheLineAfterTheLast) {
  ReportLines lines;
  for (int i = 0; i < ReportLines::kCapacity; ++i) ASSERT_TRUE(lines.addReportLine("x")) << i;
  EXPECT_FALSE(lines.addReportLine("<END>"));
  EXPECT_EQ(lines.size(), 242);
  lines.clear();
  EXPECT_TRUE(lines.empty());
  EXPECT_TRUE(lines.addReportLine("x"));
}

}  // namespace
}  // namespace qz

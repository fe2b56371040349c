#include <cmath>

#include "common/TextTest.h"
#include "text/Numeric.h"

namespace orv {
namespace {

TEST(NumericValue, ReadsTheLongestLeadingNumberAfterBlanksAreRemoved) {
  struct Row {
    const char* text;
    double value;
  };
  const Row rows[] = {
      {"5", 5},       {"2x", 2},     {" 7", 7},       {"1 2", 12},    {"", 0},       {"abc", 0},
      {"-3", -3},     {"9.5", 9.5},  {"2.5.1", 2.5},  {"1e1", 10},    {"1D2", 100},  {"3e", 3},
      {"05", 5},      {"&H10", 16},  {"&hff", 255},   {"&O17", 15},   {"&HFFFF", -1}, {"&", 0},
      {"\t4\n", 4},   {".5", 0.5},   {"+8", 8},       {"-", 0},       {"１", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_DOUBLE_EQ(numericValue(T(row.text)), row.value);
  }
}

TEST(NumericValue, LongHexAndOctalNumbersKeepTheirSizeInsteadOfWrappingRound) {
  // 2^64 + 1 once read as 1: a field count box would have kept it as a count of one.
  EXPECT_DOUBLE_EQ(numericValue(u"&H10000000000000001"), 18446744073709551617.0);
  EXPECT_DOUBLE_EQ(numericValue(u"&O2000000000000000000001"), 18446744073709551617.0);
  // Leading zeros count for nothing, however many there are.
  EXPECT_DOUBLE_EQ(numericValue(u"&H" + Text(40, u'0') + u"7"), 7);
  // Up to 32 bits the two's complement reading stays.
  EXPECT_DOUBLE_EQ(numericValue(u"&HFFFFFFFF"), -1);
  EXPECT_DOUBLE_EQ(numericValue(u"&H100000000"), 4294967296.0);
  EXPECT_TRUE(std::isinf(numericValue(u"&H1" + Text(300, u'0'))));
}

TEST(WholeNumberRounding, SendsHalvesToTheEvenNeighbourAndRefusesOutOfRange) {
  EXPECT_EQ(roundToInt16(2.5), 2);
  EXPECT_EQ(roundToInt16(3.5), 4);
  EXPECT_EQ(roundToInt16(-2.5), -2);
  EXPECT_EQ(roundToInt16(2.4999), 2);
  EXPECT_EQ(roundToInt16(32767.4), 32767);
  EXPECT_FALSE(roundToInt16(32767.5).has_value());
  EXPECT_EQ(roundToInt16(-32768.0), -32768);
  EXPECT_FALSE(roundToInt16(-32769.0).has_value());
}

}  // namespace
}  // namespace orv

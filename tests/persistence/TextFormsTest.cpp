// The number forms and text helpers every record is built from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/Numbers.h"
#include "persistence/Text.h"

namespace {

using persistence::FloatToText;
using persistence::ReadFloat;
using persistence::ReadInteger;

TEST(FloatToText, KeepsTwoSignificantDigitsInFixedOrExponentForm) {
  EXPECT_EQ(FloatToText(0.75f, 2), "0.75");
  EXPECT_EQ(FloatToText(0.5f, 2), "0.5");
  EXPECT_EQ(FloatToText(1.0f, 2), "1");
  EXPECT_EQ(FloatToText(0.0f, 2), "0");
  EXPECT_EQ(FloatToText(0.333f, 2), "0.33");
  EXPECT_EQ(FloatToText(0.005f, 2), "0.005");
  EXPECT_EQ(FloatToText(123.0f, 2), "1.2e+02");
  EXPECT_EQ(FloatToText(-0.756f, 2), "-0.76");
  EXPECT_EQ(FloatToText(99.4f, 2), "99");
  // Rounding up to 100 crosses into the exponent form; below 0.0001 is exponent form too.
  EXPECT_EQ(FloatToText(99.6f, 2), "1e+02");
  EXPECT_EQ(FloatToText(0.0001f, 2), "0.0001");
  EXPECT_EQ(FloatToText(0.00005f, 2), "5e-05");
}

TEST(ReadInteger, SkipsBlanksTakesASignStopsAtTheFirstOtherCharacterAndKeepsTheLowBits) {
  EXPECT_EQ(ReadInteger("42"), 42u);
  EXPECT_EQ(ReadInteger("  \t+42abc"), 42u);
  EXPECT_EQ(static_cast<int8_t>(ReadInteger("-12")), -12);
  EXPECT_EQ(ReadInteger(""), 0u);
  EXPECT_EQ(ReadInteger("x12"), 0u);
  EXPECT_EQ(ReadInteger("- 5"), 0u);
  EXPECT_EQ(ReadInteger("3.9"), 3u);
  // Cut to the receiving width, however many digits there are.
  EXPECT_EQ(static_cast<uint8_t>(ReadInteger("300")), 44);
  EXPECT_EQ(static_cast<uint8_t>(ReadInteger("-1")), 255);
  EXPECT_EQ(static_cast<int8_t>(ReadInteger("200")), -56);
  EXPECT_EQ(static_cast<uint8_t>(ReadInteger("100000000000000000000000000000036")), 36);
}

TEST(ReadFloat, ReadsTheLongestFiniteNumberAndGivesZeroForNone) {
  EXPECT_FLOAT_EQ(ReadFloat("0.75"), 0.75f);
  EXPECT_FLOAT_EQ(ReadFloat("  -0.5;"), -0.5f);
  EXPECT_FLOAT_EQ(ReadFloat("+.25"), 0.25f);
  EXPECT_FLOAT_EQ(ReadFloat("1.2e+02"), 120.0f);
  EXPECT_FLOAT_EQ(ReadFloat("1.2E2"), 120.0f);
  EXPECT_FLOAT_EQ(ReadFloat("5e-05"), 0.00005f);
  EXPECT_FLOAT_EQ(ReadFloat("3.5e"), 3.5f);
  EXPECT_FLOAT_EQ(ReadFloat("7.x"), 7.0f);
  EXPECT_FLOAT_EQ(ReadFloat("0x10"), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat("0,75"), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat(""), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat("."), 0.0f);
  // Never infinity or not-a-number.
  EXPECT_FLOAT_EQ(ReadFloat("inf"), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat("-infinity"), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat("nan"), 0.0f);
  EXPECT_FLOAT_EQ(ReadFloat("1e999"), 0.0f);
}

TEST(SplitText, KeepsEmptyPiecesCutsTheLastAtItsLineFeedAndStopsAtTheLimit) {
  using Pieces = std::vector<std::string_view>;
  EXPECT_EQ(persistence::SplitText("a;;b;", ';', 10), (Pieces{"a", "", "b", ""}));
  EXPECT_EQ(persistence::SplitText("", ';', 10), (Pieces{""}));
  EXPECT_EQ(persistence::SplitText("a;b\nc;d", ';', 10), (Pieces{"a", "b\nc", "d"}));
  EXPECT_EQ(persistence::SplitText("a;bc\nd", ';', 10), (Pieces{"a", "bc"}));
  EXPECT_EQ(persistence::SplitText("a;b;c;d", ';', 2), (Pieces{"a", "b"}));
}

TEST(ReplaceAll, ReplacesEveryOccurrenceAndResumesAfterTheInsertion) {
  std::string text = "aXbXc";
  persistence::ReplaceAll(text, "X", "XX");
  EXPECT_EQ(text, "aXXbXXc");
  text = "aaaa";
  persistence::ReplaceAll(text, "aa", "a");
  EXPECT_EQ(text, "aa");
  text = "Case case";
  persistence::ReplaceAll(text, "case", "x");
  EXPECT_EQ(text, "Case x");
  persistence::ReplaceAll(text, "", "y");
  EXPECT_EQ(text, "Case x");
}

}  // namespace

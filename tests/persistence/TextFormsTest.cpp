// The number forms and text helpers every record is built from, and program and bank files in
// chunk form, as hosts and our tools write them.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "persistence/Numbers.h"
#include "persistence/ProgramFile.h"
#include "persistence/Text.h"

namespace {

using persistence::FloatToText;
using persistence::ReadFloat;
using persistence::ReadInteger;

TEST(FloatToText, KeepsTwoSignificantDigitsInFixedOrExponentForm) {
  // Rounding up to 100 crosses into the exponent form; below 0.0001 is exponent form too.
  const std::vector<std::pair<float, std::string>> cases{{0.75f, "0.75"},     {0.5f, "0.5"},       {1.0f, "1"},
                                                         {0.0f, "0"},         {0.333f, "0.33"},    {0.005f, "0.005"},
                                                         {123.0f, "1.2e+02"}, {-0.756f, "-0.76"},  {99.4f, "99"},
                                                         {99.6f, "1e+02"},    {0.0001f, "0.0001"}, {0.00005f, "5e-05"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FloatToText(value, 2), text) << value;
}

TEST(ReadInteger, SkipsBlanksTakesASignStopsAtTheFirstOtherCharacterAndKeepsTheLowBits) {
  // A sign wraps around, so the receiving field's width cuts the number (300 is 44 in a byte).
  const std::vector<std::pair<std::string, uint64_t>> cases{{"42", 42}, {"  \t+42abc", 42}, {"-12", uint64_t{0} - 12},
                                                            {"", 0},    {"x12", 0},         {"- 5", 0},
                                                            {"3.9", 3}, {"300", 300},       {"-1", ~uint64_t{0}}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadInteger(text), value) << text;
  // Far more digits than any integer holds: still exactly the low bits.
  EXPECT_EQ(static_cast<uint8_t>(ReadInteger("100000000000000000000000000000036")), 36);
}

TEST(ReadFloat, ReadsTheLongestFiniteNumberAndGivesZeroForNone) {
  // Never infinity or not-a-number: a number beyond a float's range is its largest value.
  constexpr float kLargest = std::numeric_limits<float>::max();
  const std::vector<std::pair<std::string, float>> cases{
      {"0.75", 0.75f},     {"  -0.5;", -0.5f},    {"+.25", 0.25f}, {"1.2e+02", 120.0f}, {"1.2E2", 120.0f},
      {"5e-05", 0.00005f}, {"3.5e", 3.5f},        {"7.x", 7.0f},   {"0x10", 0.0f},      {"0,75", 0.0f},
      {"", 0.0f},          {".", 0.0f},           {"inf", 0.0f},   {"-infinity", 0.0f}, {"nan", 0.0f},
      {"1e308", kLargest}, {"-1e999", -kLargest}, {"1e-999", 0.0f}};
  for (const auto& [text, value] : cases) EXPECT_FLOAT_EQ(ReadFloat(text), value) << text;
  EXPECT_FLOAT_EQ(ReadFloat("0." + std::string(400, '0') + "1"), 0.0f);
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
  const std::vector<std::vector<std::string>> cases{{"aXbXc", "X", "XX", "aXXbXXc"},
                                                    {"aaaa", "aa", "a", "aa"},
                                                    {"Case case", "case", "x", "Case x"},
                                                    {"ab", "", "y", "ab"}};
  for (std::vector<std::string> each : cases) {
    persistence::ReplaceAll(each[0], each[1], each[2]);
    EXPECT_EQ(each[0], each[3]);
  }
}

constexpr int32_t kId = ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w';

persistence::ProgramFile Program(bool isBank) {
  persistence::ProgramFile file;
  file.isBank = isBank;
  file.fxId = kId;
  file.fxVersion = 1;
  file.programName = isBank ? "" : "Demo";
  file.chunk = std::string("chunk\0with NUL", 14);
  return file;
}

TEST(ProgramFile, ProgramsAndBanksReadBackAsWritten_AProgramIsBigEndianWithItsChunkAtByte60) {
  // Big-endian: the magic, the size after these 8 bytes (66), the form, format version 1, the
  // effect's ID and version, one program, the name in 28 bytes, the chunk's size (14), the chunk.
  EXPECT_EQ(persistence::WriteProgramFile(Program(false)),
            std::string("CcnK\0\0\0\102FPCh\0\0\0\1kshw\0\0\0\1\0\0\0\1Demo", 32) + std::string(24, '\0') +
                std::string("\0\0\0\016chunk\0with NUL", 18));
  for (bool isBank : {false, true}) {
    const persistence::ProgramFile written = Program(isBank);
    std::string error;
    const auto read = persistence::ParseProgramFile(persistence::WriteProgramFile(written), &error);
    ASSERT_TRUE(read.has_value()) << error;
    EXPECT_EQ(read->isBank, isBank);
    EXPECT_EQ(read->fxId, kId);
    EXPECT_EQ(read->fxVersion, 1);
    EXPECT_EQ(read->programName, written.programName);
    EXPECT_EQ(read->chunk, written.chunk);
  }
  // A name longer than its 28-byte field keeps 27 characters and the NUL.
  persistence::ProgramFile longName = Program(false);
  longName.programName = std::string(40, 'n');
  EXPECT_EQ(persistence::ParseProgramFile(persistence::WriteProgramFile(longName), nullptr)->programName,
            std::string(27, 'n'));
}

TEST(ProgramFile, DamagedOrForeignFilesAreRefusedWithAReason) {
  const std::string good = persistence::WriteProgramFile(Program(false));
  const auto changed = [&](size_t at, std::string_view bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  // Empty, cut short, another magic, the parameter form, a chunk larger than the file, a negative
  // chunk size, an empty chunk.
  for (const std::string& bytes :
       {std::string(), std::string("CcnK"), changed(0, "RIFF"), changed(8, "FxCk"), good.substr(0, 50),
        changed(59, "\x7f"), changed(56, "\xff"), changed(59, std::string_view("\0", 1))}) {
    std::string error;
    EXPECT_FALSE(persistence::ParseProgramFile(bytes, &error).has_value());
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace

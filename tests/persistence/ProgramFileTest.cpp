// Program and bank files in chunk form, as hosts and our tools write them.
#include <gtest/gtest.h>

#include "persistence/ProgramFile.h"

namespace {

using persistence::ParseProgramFile;
using persistence::ProgramFile;
using persistence::WriteProgramFile;

constexpr int32_t kId = ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w';

ProgramFile Program(bool isBank) {
  ProgramFile file;
  file.isBank = isBank;
  file.fxId = kId;
  file.fxVersion = 1;
  file.programName = isBank ? "" : "Demo";
  file.chunk = std::string("chunk\0with NUL", 14);
  return file;
}

TEST(ProgramFile, ProgramLayoutIsBigEndianWithTheChunkAtByte60) {
  const std::string bytes = WriteProgramFile(Program(false));
  ASSERT_EQ(bytes.size(), 60u + 14);
  EXPECT_EQ(bytes.substr(0, 4), "CcnK");
  EXPECT_EQ(bytes.substr(4, 4), std::string("\0\0\0\x42", 4));  // file size minus 8
  EXPECT_EQ(bytes.substr(8, 4), "FPCh");
  EXPECT_EQ(bytes.substr(12, 4), std::string("\0\0\0\1", 4));
  EXPECT_EQ(bytes.substr(16, 4), "kshw");
  EXPECT_EQ(bytes.substr(28, 5), std::string("Demo\0", 5));
  EXPECT_EQ(bytes.substr(56, 4), std::string("\0\0\0\x0e", 4));
  EXPECT_EQ(bytes.substr(60), std::string("chunk\0with NUL", 14));
}

TEST(ProgramFile, ProgramsAndBanksReadBackAsWritten) {
  for (bool isBank : {false, true}) {
    const ProgramFile written = Program(isBank);
    const std::string bytes = WriteProgramFile(written);
    EXPECT_EQ(bytes.size(), (isBank ? 160u : 60u) + written.chunk.size());
    std::string error;
    const auto read = ParseProgramFile(bytes, &error);
    ASSERT_TRUE(read.has_value()) << error;
    EXPECT_EQ(read->isBank, isBank);
    EXPECT_EQ(read->fxId, kId);
    EXPECT_EQ(read->fxVersion, 1);
    EXPECT_EQ(read->programName, written.programName);
    EXPECT_EQ(read->chunk, written.chunk);
  }
  // A name longer than its 28-byte field keeps 27 characters and the NUL.
  ProgramFile longName = Program(false);
  longName.programName = std::string(40, 'n');
  EXPECT_EQ(ParseProgramFile(WriteProgramFile(longName), nullptr)->programName, std::string(27, 'n'));
}

TEST(ProgramFile, DamagedOrForeignFilesAreRefusedWithAReason) {
  const std::string good = WriteProgramFile(Program(false));
  std::string parameterForm = good;
  parameterForm.replace(8, 4, "FxCk");
  std::string chunkTooLarge = good;
  chunkTooLarge[59] = '\x7f';
  std::string negativeChunk = good;
  negativeChunk[56] = '\xff';
  std::string emptyChunk = good;
  emptyChunk[59] = '\0';
  for (const std::string& bytes : {std::string(), std::string("CcnK"), std::string("RIFF") + good.substr(4),
                                   parameterForm, good.substr(0, 50), chunkTooLarge, negativeChunk, emptyChunk}) {
    std::string error;
    EXPECT_FALSE(ParseProgramFile(bytes, &error).has_value());
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace

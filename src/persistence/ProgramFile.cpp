#include "persistence/ProgramFile.h"

#include "vst/VstInterface.h"

namespace persistence {
namespace {

using vst::FourCharCode;

constexpr int32_t kChunkMagic = FourCharCode('C', 'c', 'n', 'K');
constexpr int32_t kProgramChunkMagic = FourCharCode('F', 'P', 'C', 'h');
constexpr int32_t kBankChunkMagic = FourCharCode('F', 'B', 'C', 'h');
constexpr int32_t kProgramParamsMagic = FourCharCode('F', 'x', 'C', 'k');
constexpr int32_t kBankProgramsMagic = FourCharCode('F', 'x', 'B', 'k');
constexpr int32_t kFormatVersion = 1;
// The effect has one program. A program file's field counts parameters, which a file in chunk
// form does not list (the chunk holds the state): it keeps the 1 that its files have always held.
constexpr int32_t kProgramCount = 1;
constexpr size_t kProgramNameSize = 28;
constexpr size_t kBankReservedSize = 128;
// Where the chunk size stands: after seven integers and the name or reserved bytes.
constexpr size_t kProgramChunkSizeOffset = 7 * 4 + kProgramNameSize;
constexpr size_t kBankChunkSizeOffset = 7 * 4 + kBankReservedSize;

class BigEndianReader {
 public:
  explicit BigEndianReader(std::string_view bytes) : bytes_(bytes) {}
  bool has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  int32_t integer(size_t offset) const {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes_[offset + i]);
    return static_cast<int32_t>(value);
  }

 private:
  std::string_view bytes_;
};

void AppendInteger(std::string& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

}  // namespace

std::optional<ProgramFile> ParseProgramFile(std::string_view bytes, std::string* error) {
  const auto fail = [error](const char* why) -> std::optional<ProgramFile> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  const BigEndianReader reader(bytes);
  if (!reader.has(0, 12) || reader.integer(0) != kChunkMagic) return fail("not a VST program or bank file");
  const int32_t fxMagic = reader.integer(8);
  if (fxMagic == kProgramParamsMagic || fxMagic == kBankProgramsMagic) {
    return fail("the file holds parameter values, not a chunk");
  }
  if (fxMagic != kProgramChunkMagic && fxMagic != kBankChunkMagic) return fail("not a VST program or bank file");
  ProgramFile file;
  file.isBank = fxMagic == kBankChunkMagic;
  const size_t chunkSizeOffset = file.isBank ? kBankChunkSizeOffset : kProgramChunkSizeOffset;
  if (!reader.has(0, chunkSizeOffset + 4)) return fail("the file is shorter than its header");
  file.fxId = reader.integer(16);
  file.fxVersion = reader.integer(20);
  if (!file.isBank) {
    const std::string_view name = bytes.substr(28, kProgramNameSize - 1);
    file.programName.assign(name.substr(0, name.find('\0')));
  }
  const int32_t chunkSize = reader.integer(chunkSizeOffset);
  const size_t chunkOffset = chunkSizeOffset + 4;
  if (chunkSize < 0 || !reader.has(chunkOffset, static_cast<size_t>(chunkSize))) {
    return fail("the chunk is larger than the file");
  }
  // An empty chunk holds no state: loading it would quietly leave the plug-in as it was.
  if (chunkSize == 0) return fail("the chunk is empty");
  file.chunk.assign(bytes.substr(chunkOffset, static_cast<size_t>(chunkSize)));
  return file;
}

std::string WriteProgramFile(const ProgramFile& file) {
  const size_t chunkSizeOffset = file.isBank ? kBankChunkSizeOffset : kProgramChunkSizeOffset;
  std::string out;
  out.reserve(chunkSizeOffset + 4 + file.chunk.size());
  AppendInteger(out, kChunkMagic);
  AppendInteger(out, static_cast<int32_t>(chunkSizeOffset + 4 + file.chunk.size() - 8));
  AppendInteger(out, file.isBank ? kBankChunkMagic : kProgramChunkMagic);
  AppendInteger(out, kFormatVersion);
  AppendInteger(out, file.fxId);
  AppendInteger(out, file.fxVersion);
  AppendInteger(out, kProgramCount);
  if (file.isBank) {
    out.append(kBankReservedSize, '\0');
  } else {
    const std::string_view name = std::string_view(file.programName).substr(0, kProgramNameSize - 1);
    out += name;
    out.append(kProgramNameSize - name.size(), '\0');
  }
  AppendInteger(out, static_cast<int32_t>(file.chunk.size()));
  out += file.chunk;
  return out;
}

}  // namespace persistence

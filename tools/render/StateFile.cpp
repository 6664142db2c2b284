#include "StateFile.h"

#include "Failure.h"
#include "InputFile.h"
#include "PendingFile.h"
#include "ProjectText.h"
#include "persistence/ProgramFile.h"

namespace render {
namespace {

constexpr std::string_view kProgramFileMagic = "CcnK";

[[noreturn]] void unreadable(const std::string& message) { throw Failure(ExitCode::InputUnreadable, message); }

std::string fourCharacters(int32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
  return text;
}

// Editors on some systems end lines with CR LF; the plug-in reads line feeds only.
std::string withLineFeeds(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

// A project text that is not whole is refused: loaded, it would lose its end without a word.
void requireWhole(const std::string& path, std::string_view chunk) {
  if (const std::string damage = ProjectTextDamage(chunk); !damage.empty()) {
    unreadable("The state file " + path + " is damaged: " + damage);
  }
}

}  // namespace

std::string ReadStateChunk(const std::string& path, int32_t pluginId) {
  const std::string bytes = ReadInputFile(path, "state file");
  if (bytes.empty()) unreadable("The state file " + path + " is empty");
  if (bytes.starts_with(kProgramFileMagic)) {
    std::string error;
    const auto file = persistence::ParseProgramFile(bytes, &error);
    if (!file) unreadable("The state file " + path + " is not a valid program or bank file: " + error);
    if (file->fxId != pluginId) {
      unreadable("The state file " + path + " belongs to another plug-in (ID '" + fourCharacters(file->fxId) +
                 "', expected '" + fourCharacters(pluginId) + "')");
    }
    // Another plug-in's chunk is opaque; a project text must be whole.
    if (LooksLikeProjectText(TextOfChunk(file->chunk))) requireWhole(path, file->chunk);
    return file->chunk;
  }
  const std::string text = withLineFeeds(TextOfChunk(bytes));
  if (!LooksLikeProjectText(text)) {
    unreadable("The state file " + path + " is neither a program or bank file (.fxp, .fxb) nor a project text");
  }
  requireWhole(path, bytes);
  return ChunkOfText(text);
}

void SaveProgram(const std::string& path, const std::string& chunk, int32_t pluginId, int32_t pluginVersion,
                 const std::string& programName) {
  persistence::ProgramFile file;
  file.fxId = pluginId;
  file.fxVersion = pluginVersion;
  file.programName = programName;
  file.chunk = chunk;
  WriteWholeFile(path, persistence::WriteProgramFile(file));
}

}  // namespace render

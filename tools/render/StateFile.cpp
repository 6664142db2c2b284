#include "StateFile.h"

#include "Failure.h"
#include "InputFile.h"
#include "PendingFile.h"
#include "ProjectText.h"
#include "persistence/ProgramFile.h"

namespace render {
namespace {

constexpr std::string_view kProgramFileMagic = "CcnK";

[[noreturn]] void Unreadable(const std::string& message) { throw Failure(ExitCode::InputUnreadable, message); }

std::string FourCharacters(int32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
  return text;
}

// Editors on some systems end lines with CR LF; the plug-in reads line feeds only.
std::string WithLineFeeds(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

// A project text that is not whole is refused: loaded, it would lose its end without a word.
void RequireWhole(const std::string& path, std::string_view chunk) {
  if (const std::string damage = ProjectTextDamage(chunk); !damage.empty()) {
    Unreadable("The state file " + path + " is damaged: " + damage);
  }
}

}  // namespace

std::string ReadStateChunk(const std::string& path, int32_t pluginId) {
  const std::string bytes = ReadInputFile(path, "state file");
  if (bytes.empty()) Unreadable("The state file " + path + " is empty");
  if (bytes.starts_with(kProgramFileMagic)) {
    std::string error;
    const auto file = persistence::ParseProgramFile(bytes, &error);
    if (!file) Unreadable("The state file " + path + " is not a valid program or bank file: " + error);
    if (file->fxId != pluginId) {
      Unreadable("The state file " + path + " belongs to another plug-in (ID '" + FourCharacters(file->fxId) +
                 "', expected '" + FourCharacters(pluginId) + "')");
    }
    // Another plug-in's chunk is opaque; a project text must be whole.
    if (LooksLikeProjectText(TextOfChunk(file->chunk))) RequireWhole(path, file->chunk);
    return file->chunk;
  }
  const std::string text = WithLineFeeds(TextOfChunk(bytes));
  if (!LooksLikeProjectText(text)) {
    Unreadable("The state file " + path + " is neither a program or bank file (.fxp, .fxb) nor a project text");
  }
  RequireWhole(path, bytes);
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

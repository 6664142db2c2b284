#include "ProjectText.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "persistence/ChunkLoad.h"

namespace render {
namespace {

constexpr std::string_view kVersionPrefix = "Kestrelhollow Data Version";
constexpr std::string_view kEndLine = "\nKestrelhollow Data ends here";
constexpr char kFieldSeparator = ';';
// A missing record is added right after the version line; the plug-in reads records in any
// order and the header lines around them are not records.
constexpr size_t kVersionLineIndex = 1;

// The pieces between the separators; n separators give n + 1 pieces, empty ones included.
std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    pieces.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

std::string join(const std::vector<std::string>& pieces, char separator) {
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text += separator;
    text += pieces[i];
  }
  return text;
}

// Sets one field in every record with the keyword (the last one read wins, so all are set);
// adds the default record, with the field set, when the text has none.
std::string withRecordField(std::string_view text, const std::string& keyword, size_t field, const std::string& value,
                            std::vector<std::string> defaultRecord) {
  std::vector<std::string> lines = split(text, '\n');
  bool found = false;
  for (std::string& line : lines) {
    std::vector<std::string> fields = split(line, kFieldSeparator);
    if (fields.front() != keyword) continue;
    found = true;
    // A short record is padded so that the field and the closing separator exist.
    if (fields.size() < field + 2) fields.resize(field + 2);
    fields[field] = value;
    line = join(fields, kFieldSeparator);
  }
  if (!found) {
    defaultRecord[field] = value;
    const size_t position = std::min(kVersionLineIndex + 1, lines.size());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), join(defaultRecord, kFieldSeparator));
  }
  return join(lines, '\n');
}

}  // namespace

bool LooksLikeProjectText(std::string_view text) {
  const std::vector<std::string> lines = split(text.substr(0, 256), '\n');
  return lines.size() > kVersionLineIndex && lines[kVersionLineIndex].starts_with(kVersionPrefix);
}

std::string ProjectTextDamage(std::string_view chunk) {
  if (std::string damage = persistence::ChunkDamage(chunk); !damage.empty()) return damage;
  if (TextOfChunk(chunk).find(kEndLine) == std::string::npos) {
    return "it has no end line \"" + std::string(kEndLine.substr(1)) + "\", so it is cut short";
  }
  return {};
}

std::string TextOfChunk(std::string_view chunk) { return std::string(chunk.substr(0, chunk.find('\0'))); }

std::string ChunkOfText(std::string_view text) {
  std::string chunk(text);
  chunk += '\0';
  return chunk;
}

std::string WithSyncMode(std::string_view text, SyncMode mode) {
  return withRecordField(text, "vst1", 1, SyncModeKeyword(mode), {"vst1", "", ""});
}

std::string WithCurrentPattern(std::string_view text, int pattern) {
  return withRecordField(text, "seq2", 3, std::to_string(pattern), {"seq2", "0.5", "0", "", ""});
}

}  // namespace render

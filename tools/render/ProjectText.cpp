#include "ProjectText.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "Failure.h"
#include "persistence/ChunkFormat.h"
#include "persistence/ChunkLoad.h"
#include "persistence/MidiExport.h"

namespace render {
namespace {

namespace format = persistence::format;

// A missing record is added right after the version line; the plug-in reads records in any
// order and the header lines around them are not records.
constexpr size_t kVersionLineIndex = 1;

// The pieces between the separators; n separators give n + 1 pieces, empty ones included.
std::vector<std::string> Split(std::string_view text, char separator) {
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

std::string Join(const std::vector<std::string_view>& pieces, char separator) {
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text += separator;
    text += pieces[i];
  }
  return text;
}

// Calls visit with each line (without its line feed), in order.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (true) {
    const size_t end = text.find(format::kLineEnd, start);
    visit(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

bool IsRecord(std::string_view line, std::string_view keyword) {
  return line.substr(0, line.find(format::kFieldSeparator)) == keyword;
}

// The record with one field set; a short record is padded with empty fields so that the field
// and the separator after it exist. The other fields are copied as they stand, however many.
std::string WithField(std::string_view record, size_t field, std::string_view value) {
  size_t fieldStart = 0;
  for (size_t index = 0; index < field; ++index) {
    const size_t separator = record.find(format::kFieldSeparator, fieldStart);
    if (separator == std::string_view::npos) {
      std::string padded(record);
      padded.append(field - index, format::kFieldSeparator);
      return padded.append(value) + format::kFieldSeparator;
    }
    fieldStart = separator + 1;
  }
  std::string edited(record.substr(0, fieldStart));
  edited += value;
  const size_t fieldEnd = record.find(format::kFieldSeparator, fieldStart);
  if (fieldEnd == std::string_view::npos) return edited + format::kFieldSeparator;
  return edited.append(record.substr(fieldEnd));
}

// Sets one field in every record with the keyword (the last one read wins, so all are set);
// adds the default record, with the field set, when the text has none. Line by line, without
// splitting the text or a record into pieces: a hostile text may hold millions of them.
std::string WithRecordField(std::string_view text, std::string_view keyword, size_t field, const std::string& value,
                            std::vector<std::string_view> defaultRecord) {
  bool found = false;
  ForEachLine(text, [&](std::string_view line) { found = found || IsRecord(line, keyword); });
  defaultRecord[field] = value;
  const std::string added = found ? std::string() : Join(defaultRecord, format::kFieldSeparator);
  std::string edited;
  edited.reserve(text.size() + added.size() + 1);
  size_t index = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (index > 0) edited += format::kLineEnd;
    if (!found && index == kVersionLineIndex + 1) edited.append(added) += format::kLineEnd;
    edited += IsRecord(line, keyword) ? WithField(line, field, value) : std::string(line);
    ++index;
  });
  // A text of fewer lines gets the record at its end.
  if (!found && index <= kVersionLineIndex + 1) edited.append(1, format::kLineEnd).append(added);
  return edited;
}

}  // namespace

bool LooksLikeProjectText(std::string_view text) {
  const std::vector<std::string> lines = Split(text.substr(0, 256), format::kLineEnd);
  return lines.size() > kVersionLineIndex && lines[kVersionLineIndex].starts_with(format::kVersionMarker);
}

std::string ProjectTextDamage(std::string_view chunk) {
  if (std::string damage = persistence::ChunkDamage(chunk); !damage.empty()) return damage;
  const std::string endLine = format::kLineEnd + std::string(format::kEndMarkerLine);
  if (TextOfChunk(chunk).find(endLine) == std::string::npos) {
    return "it has no end line \"" + std::string(format::kEndMarkerLine) + "\", so it is cut short";
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
  static_assert(static_cast<size_t>(SyncMode::Midi) + 1 == std::size(format::kSyncModeWords));
  const std::string word(format::kSyncModeWords[static_cast<size_t>(mode)]);
  return WithRecordField(text, format::kTransportRecord, 1, word, {format::kTransportRecord, "", ""});
}

std::string WithSoundMode(std::string_view text, SoundMode mode) {
  static_assert(static_cast<size_t>(SoundMode::Tuned) + 1 == std::size(format::kSoundModeWords));
  const std::string word(format::kSoundModeWords[static_cast<size_t>(mode)]);
  return WithRecordField(text, format::kSoundRecord, 1, word, {format::kSoundRecord, "", ""});
}

std::string WithCurrentPattern(std::string_view text, int pattern) {
  return WithRecordField(text, format::kSequencerRecord, 3, std::to_string(pattern),
                         {format::kSequencerRecord, "0.5", "0", "", ""});
}

std::string PatternsAsMidi(std::string_view text, std::optional<int> pattern, double tempo) {
  // The text read into a model of its own as the plug-in reads it; the samples are not needed.
  const auto engine = std::make_unique<engine::DrumEngine>();
  const std::string chunk = ChunkOfText(text);
  const auto skipSample = [](engine::Kit&, uint8_t, const std::string&) { return true; };
  if (!persistence::LoadChunk(
          chunk.data(), static_cast<int32_t>(chunk.size()), "", *engine, [&engine] { engine->resetAll(); },
          skipSample)) {
    throw Failure(ExitCode::PluginUnusable, "The plug-in's state could not be read for --export-midi");
  }
  return persistence::PatternsAsMidiFile(engine->patterns(), engine->kit(), pattern, tempo);
}

}  // namespace render

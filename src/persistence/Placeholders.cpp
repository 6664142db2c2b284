#include "persistence/Placeholders.h"

#include <algorithm>

#include "persistence/ChunkFormat.h"
#include "persistence/Text.h"
#include "platform/Paths.h"

namespace persistence {
namespace {

constexpr std::string_view kSamplesFolderName = "samples";

// From the end of each occurrence of marker to the end of its field (or the next marker),
// every from separator becomes to.
void ConvertSeparatorsAfter(std::string& text, std::string_view marker, char from, char to) {
  if (from == to) return;
  size_t found = text.find(marker);
  while (found != std::string::npos) {
    const size_t tailStart = found + marker.size();
    const size_t next = text.find(marker, tailStart);
    // The field's end is looked for only up to the next marker, so that each part of the text
    // is scanned once however many markers it holds.
    const auto tailBegin = text.begin() + static_cast<ptrdiff_t>(tailStart);
    const auto limit = next == std::string::npos ? text.end() : text.begin() + static_cast<ptrdiff_t>(next);
    const auto tailEnd = std::find_if(tailBegin, limit, [](char c) { return c == '\n' || c == ';'; });
    std::replace(tailBegin, tailEnd, from, to);
    found = next;
  }
}

}  // namespace

std::string SamplesFolder(std::string_view pluginDirectory) {
  std::string folder(pluginDirectory);
  folder += kSamplesFolderName;
  folder += platform::kPathSeparator;
  return folder;
}

void InsertSamplePlaceholder(std::string& text, std::string_view samplesFolder) {
  ReplaceAll(text, samplesFolder, format::kSampleDirPlaceholder);
  ConvertSeparatorsAfter(text, format::kSampleDirPlaceholder, platform::kPathSeparator, format::kSavedPathSeparator);
}

void ExpandSamplePlaceholder(std::string& text, std::string_view samplesFolder) {
  ConvertSeparatorsAfter(text, format::kSampleDirPlaceholder, format::kSavedPathSeparator, platform::kPathSeparator);
  ReplaceAll(text, format::kSampleDirPlaceholder, samplesFolder);
}

}  // namespace persistence

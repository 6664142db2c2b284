#include "persistence/DefaultPreset.h"

#include "persistence/ChunkFormat.h"
#include "platform/Paths.h"

namespace persistence {
namespace {
constexpr std::string_view kPresetsFolderName = "presets";
constexpr std::string_view kDefaultPresetFileName = "kestrelhollowpreset1.fxp";
}  // namespace

std::string DefaultPresetPath(std::string_view pluginDirectory) {
  std::string path(pluginDirectory);
  path += kPresetsFolderName;
  path += platform::kPathSeparator;
  path += kDefaultPresetFileName;
  return path;
}

std::optional<std::string> ExtractPresetText(std::string_view content) {
  const size_t start = content.find(format::kVersionMarker);
  if (start == std::string_view::npos) return std::nullopt;
  size_t end = content.find(format::kEndMarkerLine);
  if (end == std::string_view::npos || end < start) end = content.size();
  std::string text(1, format::kLineEnd);
  text += content.substr(start, end - start);
  text += format::kLineEnd;
  return text;
}

}  // namespace persistence

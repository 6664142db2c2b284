#include "persistence/Configuration.h"

#include "persistence/ChunkFormat.h"
#include "persistence/Numbers.h"
#include "persistence/Text.h"
#include "platform/Files.h"

namespace persistence {
namespace {
constexpr float kSmallestScaleExcluded = 0.25f;
}

float ReadEditorScale(const std::string& configurationFile) {
  const std::string content = platform::ReadTextFile(configurationFile);
  if (content.empty()) return kDefaultEditorScale;
  const float scale = ReadFloat(SplitText(content, format::kLineEnd, 1).front());
  return scale > kSmallestScaleExcluded && scale <= 1.0f ? scale : kDefaultEditorScale;
}

bool WriteEditorScale(const std::string& configurationFile, float scale) {
  return platform::WriteTextFile(configurationFile, FloatToText(scale, format::kFloatDigits));
}

}  // namespace persistence

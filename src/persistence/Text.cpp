#include "persistence/Text.h"

namespace persistence {

std::vector<std::string_view> SplitText(std::string_view text, char separator, size_t maxPieces) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (pieces.size() < maxPieces) {
    const size_t found = text.find(separator, start);
    if (found == std::string_view::npos) {
      const std::string_view last = text.substr(start);
      pieces.push_back(last.substr(0, last.find('\n')));
      break;
    }
    pieces.push_back(text.substr(start, found - start));
    start = found + 1;
  }
  return pieces;
}

void Lines::Iterator::advance() {
  if (last_) {
    atEnd_ = true;
    rest_ = {};
    return;
  }
  const size_t lineEnd = rest_.find('\n');
  line_ = rest_.substr(0, lineEnd);
  last_ = lineEnd == std::string_view::npos;
  rest_.remove_prefix(last_ ? rest_.size() : lineEnd + 1);
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  size_t found = text.find(from);
  if (found == std::string::npos) return;
  // Built afresh: replacing in place would move the rest of the text at every occurrence.
  std::string result;
  result.reserve(text.size());
  size_t copied = 0;
  for (; found != std::string::npos; found = text.find(from, copied)) {
    result.append(text, copied, found - copied);
    result += to;
    copied = found + from.size();
  }
  result.append(text, copied);
  text = std::move(result);
}

}  // namespace persistence

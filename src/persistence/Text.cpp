#include "persistence/Text.h"

namespace persistence {

std::vector<std::string_view> SplitText(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t found = text.find(separator); found != std::string_view::npos; found = text.find(separator, start)) {
    pieces.push_back(text.substr(start, found - start));
    start = found + 1;
  }
  std::string_view last = text.substr(start);
  pieces.push_back(last.substr(0, last.find('\n')));
  return pieces;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  for (size_t found = text.find(from); found != std::string::npos; found = text.find(from, found + to.size())) {
    text.replace(found, from.size(), to);
  }
}

}  // namespace persistence

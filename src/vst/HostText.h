// Copies texts into the fixed-size buffers that either side of the interface hands out.
#pragma once

#include <cstddef>
#include <string_view>

namespace vst {

// Copies text into a buffer of the given capacity (NUL included), cutting what does not fit.
inline void CopyToHost(char* destination, std::string_view text, size_t capacity) {
  if (destination == nullptr || capacity == 0) return;
  const size_t count = text.size() < capacity - 1 ? text.size() : capacity - 1;
  text.copy(destination, count);
  destination[count] = '\0';
}

}  // namespace vst

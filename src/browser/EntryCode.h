// Entry codes of a browser listing: a three-character type prefix followed by a name, such as
// "dr|/" (a drive root), "di|Loops" (a sub-directory) or "fi|kick.wav" (a file).
#pragma once

#include <string>
#include <string_view>

namespace browser {

constexpr std::string_view kDrivePrefix = "dr|";
constexpr std::string_view kDirectoryPrefix = "di|";
constexpr std::string_view kFilePrefix = "fi|";
constexpr size_t kPrefixLength = 3;

inline std::string MakeEntryCode(std::string_view prefix, std::string_view name) {
  std::string code;
  code.reserve(prefix.size() + name.size());
  code.append(prefix).append(name);
  return code;
}

inline bool IsFileEntry(std::string_view code) { return code.starts_with(kFilePrefix); }

// The name part of a code, without its prefix.
inline std::string_view EntryName(std::string_view code) {
  return code.size() > kPrefixLength ? code.substr(kPrefixLength) : std::string_view{};
}

}  // namespace browser

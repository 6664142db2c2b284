// Where the characters of a drawn text start. Texts are the system's bytes: UTF-8 on Linux, the
// ANSI code page on Windows, and a name read from the disk need not be valid in either. A text
// is cut only between characters, and the bytes of an invalid one are shown as such.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace toolkit {

// The bytes of the UTF-8 character that starts the text; 0 when the text is empty or starts
// with no valid character (a stray or overlong sequence, a surrogate, beyond U+10FFFF).
size_t Utf8CharacterLength(std::string_view text);
// The text with each byte that starts no valid UTF-8 character replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
// The bytes of the character that starts a text of a code page in which a lead byte begins a
// character of two bytes; 0 for an empty text, 1 for a lead byte that ends the text.
size_t CodePageCharacterLength(std::string_view text, bool (*isLeadByte)(unsigned char));

}  // namespace toolkit

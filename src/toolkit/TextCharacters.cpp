#include "toolkit/TextCharacters.h"

namespace toolkit {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t Utf8CharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return 1;
  // The length a lead byte announces, and the range its second byte must lie in so that the
  // character is neither overlong, nor a surrogate, nor beyond U+10FFFF.
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  const auto second = static_cast<unsigned char>(text[1]);
  if (second < low || second > high) return 0;
  for (size_t index = 2; index < length; ++index) {
    if (!IsContinuation(static_cast<unsigned char>(text[index]))) return 0;
  }
  return length;
}

std::string ValidUtf8(std::string_view text) {
  std::string valid;
  valid.reserve(text.size());
  while (!text.empty()) {
    const size_t length = Utf8CharacterLength(text);
    if (length == 0) {
      valid += kReplacementCharacter;
      text.remove_prefix(1);
    } else {
      valid += text.substr(0, length);
      text.remove_prefix(length);
    }
  }
  return valid;
}

size_t CodePageCharacterLength(std::string_view text, bool (*isLeadByte)(unsigned char)) {
  if (text.empty()) return 0;
  return text.size() >= 2 && isLeadByte(static_cast<unsigned char>(text[0])) ? 2 : 1;
}

}  // namespace toolkit

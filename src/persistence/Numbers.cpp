#include "persistence/Numbers.h"

#include <charconv>
#include <limits>

namespace persistence {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading blanks and takes an optional sign; true for a minus.
bool TakeSign(std::string_view& text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  if (text.empty() || (text.front() != '-' && text.front() != '+')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

// A number the float form cannot hold: too large reads as the largest float, so that it is
// kept inside a control's range like any other large value; too close to zero reads as 0.
float BeyondFloatRange(std::string_view number) {
  const size_t exponent = number.find_first_of("eE");
  const bool tiny = exponent == std::string_view::npos
                        ? number.substr(0, number.find('.')).find_first_not_of('0') == std::string_view::npos
                        : number.substr(exponent + 1).starts_with('-');
  return tiny ? 0.0f : std::numeric_limits<float>::max();
}

}  // namespace

std::string FloatToText(double value, int digits) {
  // Shortest-form general notation with a precision is exactly the %.<digits>g form.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  return std::string(buffer, result.ptr);
}

std::string UIntToText(uint64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string IntToText(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

uint64_t ReadInteger(std::string_view text) {
  const bool negative = TakeSign(text);
  uint64_t value = 0;
  // Unsigned arithmetic wraps, which keeps exactly the low bits of any long number.
  for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i)
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
  return negative ? 0 - value : value;
}

float ReadFloat(std::string_view text) {
  const bool negative = TakeSign(text);
  // A number starts with a digit or with '.' and a digit; words such as "inf" or "nan" are no number.
  const bool startsNumber =
      !text.empty() && (IsDigit(text.front()) || (text.front() == '.' && text.size() > 1 && IsDigit(text[1])));
  if (!startsNumber) return 0.0f;
  float value = 0.0f;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = BeyondFloatRange(text.substr(0, static_cast<size_t>(result.ptr - text.data())));
  }
  if (result.ec != std::errc{} && result.ec != std::errc::result_out_of_range) return 0.0f;
  return negative ? -value : value;
}

}  // namespace persistence

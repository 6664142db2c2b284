// Numbers as the project text spells them, independent of the locale: '.' as the decimal
// separator everywhere, no digit grouping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace persistence {

// The value rounded to the given significant digits, in fixed notation while the rounded
// value v lies in 0.0001 <= |v| < 10^digits and in exponent notation otherwise, without
// trailing zeros or a bare decimal point: 0.75, 0.005, 1, 1.2e+02.
std::string FloatToText(double value, int digits);
std::string UIntToText(uint64_t value);
std::string IntToText(int64_t value);

// Reads a decimal integer: leading blanks skipped, an optional sign, then digits up to the
// first other character; no digits give 0. The result carries the value's low 64 bits, so
// casting it to the receiving field's type cuts the value to that width.
uint64_t ReadInteger(std::string_view text);

// Reads a float: leading blanks skipped, an optional sign, digits with an optional '.' and
// fraction and an optional exponent, up to the first character that cannot continue the
// number. No number gives 0; a number too large for a float gives the largest float of its
// sign, one too close to zero gives 0.
float ReadFloat(std::string_view text);

}  // namespace persistence

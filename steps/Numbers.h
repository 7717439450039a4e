// Reading numbers from text and writing them, the same way everywhere: step file fields, editor
// inputs and port parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "A" to "Z" as "a" to "z"; any other character as it is.
char LowerAscii(char c);

// Skips leading blanks and tabs, takes an optional "+" or "-", then "$" hexadecimal, "%" binary
// or decimal digits up to the first other character. No digits give 0. 64-bit result, wrapping.
int64_t ReadInteger64(std::string_view text);
// The same, held in 32 bits (wrapping).
int32_t ReadInteger(std::string_view text);
// Strict readers for values that must be exactly a number: false for any other text.
// Decimal digits only, at most 9 of them so that the value fits ("007" is 7).
bool ReadCount(std::string_view text, int32_t& value);
// ReadCount with a "-" in front when negative: a screen point left of or above the main monitor.
bool ReadCoordinate(std::string_view text, int32_t& value);
// A decimal number with "." as the decimal point whatever the locale: optional sign, digits,
// fraction, exponent; "+Infinity", "-Infinity", "Infinity" and "NaN" in any letter case give
// those values. Reading stops at the first character that does not fit; no number gives 0.
double ReadDecimal(std::string_view text);
// ReadDecimal as a 32-bit float.
float ReadFloat(std::string_view text);

// Plain decimal with a leading "-" when negative.
std::string IntegerText(int64_t value);
// Exactly one digit after a "." decimal point, rounded ("0.5", "2.0").
std::string OneDecimalText(float value);

// The login name, "  -  " and the local date and time as "dd.mm.yyyy hh:mm".
std::string UserDateLine();
// The text after the last "\" or "/".
std::string FileNamePart(std::string_view path);

#pragma once
// Number reading and writing as the project files and lists use them.
#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantor::text {

// Lenient decimal reader of the project files: leading blanks skipped, an
// optional sign, then digits up to the first other character. A missing,
// empty or non-numeric text gives 0. Values beyond 32 bits wrap as the
// stored 32-bit integers do.
int32_t readDecimal(std::string_view s);

// Value 0..15 of one hexadecimal digit (either case); -1 for anything else.
int hexDigitValue(char c);

// "%d".
std::string writeDecimal(long long v);

// Zero-fill: the decimal text of v, prefixed with "0" until it has `width`
// characters; longer texts stay as they are.
std::string zeroFill(long long v, int width);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// The same over an argument list.
std::string formatList(const char* fmt, va_list args);

} // namespace vantor::text

// Number <-> text conversions with the exact semantics the file formats and pages need.
// Never printf/strtod/iostreams: those follow the C locale and differ in exponent form.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// General form, 15 significant digits, '.' separator, shortest text that keeps them:
// 1 -> "1", 0.5 -> "0.5", 1e-5 -> "1E-5", 1.5e20 -> "1.5E20", -0.0 -> "0".
// Plain notation is used while the decimal exponent is within -4 .. 14 (0.0001 up to below
// 1E15), as the classic general format does.
std::string formatGeneral(double value);
// The same, plain down to 0.00001 (then 1E-6): the form of numbers in the web map page and in
// the elevation requests.
std::string formatGeneralPlainTo1E5(double value);

// Fixed notation with `decimals` digits after '.'; decimal halves round away from zero
// (123.25 with 1 decimal gives "123.3"), judged on the shortest decimal text of the value.
std::string formatFixed(double value, int decimals);

// Integer as decimal text.
std::string formatInt(int64_t value);
// Integer as decimal text, zero-padded on the left to at least `width` digits (5, 2 -> "05";
// -5, 2 -> "-05").
std::string formatIntPadded(int64_t value, int width);
// The same, appended to `out`: the writers call it for every field of every point.
void appendIntPadded(std::string& out, int64_t value, int width);

// Strict parse: surrounding characters <= ' ' are trimmed, then the whole text must be an
// optional sign, digits with an optional '.' fraction, and an optional exponent (e/E, sign,
// digits). No inf, nan, hex, group separators or empty text. Returns false and leaves
// `out` alone on failure.
bool parseFloatStrict(std::string_view text, double& out);
bool parseIntStrict(std::string_view text, int64_t& out);
bool parseIntStrict(std::string_view text, int& out);
// The strict parse, or `fallback` for a text that is no number (an int out of range included).
double parseFloatOr(std::string_view text, double fallback);
int parseIntOr(std::string_view text, int fallback);

// Float parse with another decimal separator (the locale's) in place of '.'.
bool parseFloatWithSeparator(std::string_view text, char separator, double& out);

// A byte that the trims remove: any character <= ' ' (control characters and the blank).
inline bool isBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }
// Removes every character <= ' ' at both ends (bytes, so UTF-8 is safe).
std::string trim(std::string_view text);
// The same without a copy: a view into `text`.
std::string_view trimView(std::string_view text);
std::string trimLeft(std::string_view text);
std::string trimRight(std::string_view text);

// Rounding to a whole number, halves to even (2.5 -> 2, 3.5 -> 4).
int64_t roundHalfEven(double value);
// Cut toward zero.
int64_t truncToInt(double value);

// The value of one hexadecimal digit (either case), -1 for any other character.
int hexDigitValue(char c);

// ASCII case helpers for names compared without regard to case.
inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

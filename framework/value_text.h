// The conversions between property values and their texts, shared by the
// three property kinds. They follow the C library's rules: strtol/strtod
// parsing (unparsable text gives 0), "%ld" integers, "%.4f" fixed floats cut
// at 59 characters, "%.2g" for a double stored in a text property, and the
// 4-decimal grid with rounding half away from zero.
// All functions are pure and thread-safe.
#pragma once

#include <string>

namespace MM {
namespace value_text {

// Magnitude from which a double has no fractional part; grid snapping and
// rounding leave such values unchanged.
inline constexpr double kIntegralLimit = 4503599627370496.0;  // 2^52

// Base-10 integer in the manner of strtol: leading space and sign accepted,
// stops at the first non-digit, no digits gives 0, out-of-range saturates.
// A null text gives 0.
long ParseLong(const char* text);
// In the manner of strtod; unparsable or null text gives 0.0.
double ParseDouble(const char* text);

// Truncates toward zero. Values beyond the range of long saturate and NaN
// gives 0, where a plain conversion would be undefined.
long TruncateToLong(double value);

// Rounds value to the grid of 1/scale, half away from zero; left unchanged
// when value * scale has a magnitude of 2^52 or more.
double RoundToGrid(double value, double scale);
// Moves a lower bound up (ceil) and an upper bound down (floor) onto the
// grid of 1/scale, each only while the product's magnitude is below 2^52.
double SnapLowerBound(double lower, double scale);
double SnapUpperBound(double upper, double scale);

std::string FormatLong(long value);                        // "%ld"
std::string FormatFixed(double value, int decimalPlaces);  // "%.<n>f", cut at 59 characters
std::string FormatTwoDigits(double value);                 // "%.2g"
// A default-state std::ostringstream: general notation, 6 significant digits.
std::string FormatDefaultStream(double value);

}  // namespace value_text
}  // namespace MM

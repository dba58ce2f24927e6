#include "framework/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace MM {
namespace value_text {

long ParseLong(const char* text) { return text == nullptr ? 0 : std::strtol(text, nullptr, 10); }

double ParseDouble(const char* text) { return text == nullptr ? 0.0 : std::strtod(text, nullptr); }

long TruncateToLong(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; anything at or above it does not fit.
  constexpr double limit = 9223372036854775808.0;
  if (value >= limit) return std::numeric_limits<long>::max();
  if (value < -limit) return std::numeric_limits<long>::min();
  return static_cast<long>(value);
}

double RoundToGrid(double value, double scale) {
  double t = value * scale;
  if (!(std::fabs(t) < kIntegralLimit)) return t / scale;
  t = value >= 0 ? std::floor(t + 0.5) : std::ceil(t - 0.5);
  return t / scale;
}

double SnapLowerBound(double lower, double scale) {
  double t = lower * scale;
  return std::fabs(t) < kIntegralLimit ? std::ceil(t) / scale : lower;
}

double SnapUpperBound(double upper, double scale) {
  double t = upper * scale;
  return std::fabs(t) < kIntegralLimit ? std::floor(t) / scale : upper;
}

std::string FormatLong(long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%ld", value);
  return buffer;
}

std::string FormatFixed(double value, int decimalPlaces) {
  char format[20];
  std::snprintf(format, sizeof format, "%%.%df", decimalPlaces);
  char buffer[60];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string FormatTwoDigits(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2g", value);
  return buffer;
}

std::string FormatDefaultStream(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

}  // namespace value_text
}  // namespace MM

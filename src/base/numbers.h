#pragma once
// The number and text conversions the whole program shares. No handler writes
// its own parsing: a text that is not a number gives an empty optional, never
// an exception.

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace rbx14 {

// A decimal number typed or stored with the user's separator `sep`
// (surrounding blanks allowed, optional sign, digits with at most one
// separator). "12", "-1,5", ",5" and "3," are numbers; "", "-", "1e3" are not.
std::optional<double> ParseDecimal(QStringView text, QChar sep);

// The leading number of a text, the way a lenient "value of" reads it: blanks
// skipped, an optional sign, digits and one "." as separator, the rest
// ignored. "12abc" gives 12, "" and "abc" give 0.
double LeadingValue(QStringView text);

// The shortest decimal text of a value with the given separator: whole values
// without decimals (21 -> "21"), others with the digits they need
// (21.5 -> "21,5"), never an exponent.
QString FormatDecimal(double value, QChar sep);

// A value as the system's standard number-to-text writes it: at most 15
// significant digits, no trailing zeros, never an exponent. Sums of tenths
// come out as the user expects (19.9 + 0.1 -> "20", 0.2 + 0.1 -> "0,3").
QString FormatDecimal15(double value, QChar sep);

// The value as an int when it is a whole number within the int range.
std::optional<int> AsWholeNumber(double value);

// Rounds to the nearest whole number, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t RoundHalfEven(double value);

// 16-bit two's complement in both directions.
constexpr std::uint16_t ToWord(std::int64_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu);
}
constexpr std::int16_t AsSigned16(std::uint16_t word) {
  return static_cast<std::int16_t>(word);
}

// Limits a value to the 16-bit signed range: where the device's numbers
// would overflow a 16-bit sum we take the largest interval instead.
constexpr std::int32_t ClampToInt16(std::int64_t value) {
  if (value > 32767) return 32767;
  if (value < -32768) return -32768;
  return static_cast<std::int32_t>(value);
}

// A whole number as text with a blank in front of non-negative values
// (" 8002"), the way error numbers are appended to messages.
QString NumberWithSignSpace(std::int64_t value);

}  // namespace rbx14

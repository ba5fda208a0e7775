#pragma once
// The requests as hex-pair strings, and the encodings of field values into
// register data. Pure functions over texts and numbers: the jobs that send
// them live in jobs.h.

#include <QString>

#include <optional>
#include <string>

namespace rbx14 {

// The slave address from the address field as (at least) two hex digits:
// 5 -> "05", 17 -> "11".
std::string AddressPrefix(const QString& addressText);

// A 16-bit field as four upper-case hex digits, zero-filled; negative values
// as 16-bit two's complement.
std::string Hex16(long long value);

// Function 03 / 01 request: address, function, start, quantity.
std::string ReadRequest(const QString& address, int function, int start, int quantity);

// Register encodings of a field's text (sep: the decimal separator). A text
// that is no number gives nothing.
std::optional<std::string> EncodeRaw(const QString& text, QChar sep);
std::optional<std::string> EncodeTenths(const QString& text, QChar sep);

// A display text as the 20 data bytes of its block: the character codes,
// then zero bytes.
std::string EncodeTextBlock(const QString& text);

// One unit as the 4 data bytes of its two registers: up to four character
// codes, then zero bytes.
std::string EncodeUnit(const QString& unit);

// Check boxes as bytes, 8 per byte, box 8n + j in bit j of byte n; values[i]
// is 1 for a ticked box.
std::string EncodeBits(const int* values, int count);

}  // namespace rbx14

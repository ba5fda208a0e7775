#pragma once
// Values out of an answer in hex-pair form: address (digits 1-2), function
// (3-4), byte count (5-6), data from digit 7 on. A register or byte that is
// missing or not hex throws RuntimeError: the answer is malformed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace rbx14 {

// Data register k (0-based) as its 16-bit pattern.
std::uint16_t AnswerRegister(const std::string& answer, int k);
// Data byte i (0-based).
std::uint8_t AnswerDataByte(const std::string& answer, int i);

inline int AsSigned(std::uint16_t word) { return static_cast<std::int16_t>(word); }
inline double AsSignedTenths(std::uint16_t word) { return AsSigned(word) / 10.0; }

// The function code digits ("03").
std::string AnswerFunction(const std::string& answer);

// Whether a checked answer (hex pairs, `checkDigits` digits of CRC or LRC at
// the end) answers `request` (hex pairs, as sent): the same address and
// function, and the byte count a read asks for or the start and quantity a
// write echoes. Any other frame, an exception answer included, is no answer
// to it.
bool AnswerFitsRequest(const std::string& answer, const std::string& request,
                       std::size_t checkDigits);

}  // namespace rbx14

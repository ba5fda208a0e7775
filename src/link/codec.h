#pragma once
// Frame codec: the request as hex digit pairs, the ASCII frame with its LRC
// and the RTU frame with its CRC-16, plus the small hex/byte converters that
// the transmit path and the response handler share. Pure functions: no port,
// no timer, no window.
//
// Byte strings are std::string with one char per byte (codes 0..255), which
// is how the RTU frame is handed to the port.

#include <cstdint>
#include <string>
#include <string_view>

namespace rbx14 {

// Upper-case hex of vlLong without leading zeros (a negative value gives its
// 8-digit two's complement form), left-padded with "0" to 2 * vlBytes digits
// when that is longer. Never cut.
std::string LongToHexStr(std::int32_t vlLong, std::int32_t vlBytes = 0);

// LRC of a request string of hex pairs: two's complement of the byte sum,
// as two upper-case hex digits.
std::string CalculateLRC(std::string_view sMessage);

// Modbus CRC-16 (init 0xFFFF, reflected polynomial 0xA001, no final XOR) of
// a byte string, as four upper-case hex digits, high byte first.
std::string CalculateCRC(std::string_view data);

// Folds one byte into the CRC register. The register is a 16-bit signed
// value whose bit pattern is the CRC (0xFFFF is held as -1).
void UpdateCRC(std::int16_t& crc, std::uint8_t b);

// Logical shift right by one of the low 16 bits of a (possibly
// sign-extended) 16-bit pattern; a zero enters at bit 15.
std::int16_t ShiftRightWord(std::int32_t x);

// The byte that the first two characters of s stand for. Only "0".."9" and
// upper-case "A".."F" are digits; any other character counts as 0. A single
// character is one digit; an empty string gives 0.
std::uint8_t HexStrToByte(std::string_view s);

// Exactly two upper-case hex digits, high digit first.
std::string ByteToHexStr(std::uint8_t b);

// ":" + body + LRC + CR LF.
std::string BuildAsciiFrame(std::string_view sModbusFrame);

// The bytes the hex pairs stand for, then the CRC low byte, then high byte.
std::string BuildRtuFrame(std::string_view sModbusFrame);

// The 16-bit CRC value of a byte string, for callers that want the number.
std::uint16_t Crc16(std::string_view data);

}  // namespace rbx14

#pragma once
// What the device answers to one request: functions 01 (read coils), 03
// (read holding registers), 0F (write coils) and 10 (write registers), and an
// exception answer for everything else. Works on the protocol data unit
// (function code and data), without slave address and check; framing and
// addressing are the line's business.

#include "sim/device_image.h"

#include <QByteArray>

#include <cstdint>

namespace rbx14::sim {

namespace function_code {
inline constexpr std::uint8_t kReadCoils = 0x01;
inline constexpr std::uint8_t kReadHoldingRegisters = 0x03;
inline constexpr std::uint8_t kWriteCoils = 0x0F;
inline constexpr std::uint8_t kWriteRegisters = 0x10;
inline constexpr std::uint8_t kExceptionFlag = 0x80;
}  // namespace function_code

namespace exception_code {
inline constexpr std::uint8_t kIllegalFunction = 0x01;
inline constexpr std::uint8_t kIllegalDataAddress = 0x02;
inline constexpr std::uint8_t kIllegalDataValue = 0x03;
}  // namespace exception_code

// The answer PDU to a request PDU. nowMs is the device's clock, which drives
// the output registers. An empty request gives an empty answer.
QByteArray AnswerRequest(DeviceImage& image, const QByteArray& request, std::int64_t nowMs);

}  // namespace rbx14::sim
